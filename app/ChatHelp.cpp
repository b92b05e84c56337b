#include "ChatHelp.h"

TChatHelpForm* ChatHelpForm = nullptr;

TChatHelpForm::TChatHelpForm(QWidget* parent)
    : THelpWindow(QStringLiteral("Chat File Help"), QSize(458, 326), parent)
{
    setObjectName(QStringLiteral("ChatHelpForm"));
}
