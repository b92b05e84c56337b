#include "ChatHelp.h"

#include "ControlNames.h"

#include <QPlainTextEdit>
#include <QPushButton>

TChatHelpForm* ChatHelpForm = nullptr;

TChatHelpForm::TChatHelpForm(QWidget* parent)
    : THelpWindow(QStringLiteral("Chat File Help"), QSize(458, 326), QRect(121, 300, 221, 25),
                  parent)
{
    setObjectName(QStringLiteral("ChatHelpForm"));
    ChatFileHelpMemo =
        Named(MakeHelpTextArea(ChatHelpText(), QRect(1, 1, 455, 295)), "ChatFileHelpMemo");
    // The text is short enough to be seen whole. It can be read, selected
    // and copied, but not changed; the caret still moves with the keys.
    ChatFileHelpMemo->setReadOnly(true);
    ChatFileHelpMemo->setTextInteractionFlags(Qt::TextSelectableByMouse
                                              | Qt::TextSelectableByKeyboard);
    ChatFileHelpMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    // The button comes first, so that Space closes the help straight away.
    setTabOrder(ExitButton, ChatFileHelpMemo);
    ExitButton->setFocus();
}
