#include "PersonalityHelp.h"

#include "ControlNames.h"

#include <QPlainTextEdit>
#include <QPushButton>

TPersonalityHelpForm* PersonalityHelpForm = nullptr;

TPersonalityHelpForm::TPersonalityHelpForm(QWidget* parent)
    : THelpWindow(QStringLiteral("Personality Help"), QSize(545, 456), QRect(161, 431, 221, 25),
                  parent)
{
    setObjectName(QStringLiteral("PersonalityHelpForm"));
    // Notes may be typed into the text; they stay while the program runs and
    // are written nowhere.
    PersonalityFileHelpMemo = Named(MakeHelpTextArea(PersonalityHelpText(), QRect(3, 1, 539, 428)),
                                    "PersonalityFileHelpMemo");
    PersonalityFileHelpMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    setTabOrder(PersonalityFileHelpMemo, ExitButton);
    PersonalityFileHelpMemo->setFocus();
}
