#include "PersonalityHelp.h"

TPersonalityHelpForm* PersonalityHelpForm = nullptr;

TPersonalityHelpForm::TPersonalityHelpForm(QWidget* parent)
    : THelpWindow(QStringLiteral("Personality Help"), QSize(545, 456), parent)
{
    setObjectName(QStringLiteral("PersonalityHelpForm"));
}
