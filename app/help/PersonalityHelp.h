#pragma once

#include "HelpWindow.h"

// Explains every field of a personality, in the order of the page.
class TPersonalityHelpForm : public THelpWindow {
    Q_OBJECT

public:
    explicit TPersonalityHelpForm(QWidget* parent = nullptr);

    QPlainTextEdit* PersonalityFileHelpMemo;
};

extern TPersonalityHelpForm* PersonalityHelpForm;

// The personality help's text, lines joined by LF.
QString PersonalityHelpText();
