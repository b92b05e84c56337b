#pragma once

#include "HelpWindow.h"

// Explains how the chat lists are written: one chat item per line, the %n
// code and how replies are addressed.
class TChatHelpForm : public THelpWindow {
    Q_OBJECT

public:
    explicit TChatHelpForm(QWidget* parent = nullptr);

    QPlainTextEdit* ChatFileHelpMemo;
};

extern TChatHelpForm* ChatHelpForm;

// The chat help's text, lines joined by LF.
QString ChatHelpText();
