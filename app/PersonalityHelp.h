#pragma once

#include "HelpWindow.h"

class TPersonalityHelpForm : public THelpWindow {
    Q_OBJECT

public:
    explicit TPersonalityHelpForm(QWidget* parent = nullptr);
};

extern TPersonalityHelpForm* PersonalityHelpForm;
