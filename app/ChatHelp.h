#pragma once

#include "HelpWindow.h"

class TChatHelpForm : public THelpWindow {
    Q_OBJECT

public:
    explicit TChatHelpForm(QWidget* parent = nullptr);
};

extern TChatHelpForm* ChatHelpForm;
