#include "ChatPage.h"

#include "AccessibleNames.h"
#include "ChatTypes.h"
#include "ControlNames.h"
#include "DropDownSelector.h"
#include "FocusOrder.h"
#include "Fonts.h"
#include "TextArea.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr int LargeFont = 13;

} // namespace

void BuildChatPage(ChatPage& page, QWidget& tab)
{
    page.ChatTypeLabel = Named(new QLabel(QStringLiteral("Chat Type"), &tab), "ChatTypeLabel");
    page.ChatTypeLabel->setFont(SansSerifFont(LargeFont));
    page.ChatTypeLabel->setGeometry(1, 5, 62, 16);

    page.ChatTypeComboBox = Named(new DropDownSelector(&tab), "ChatTypeComboBox");
    page.ChatTypeComboBox->setGeometry(65, 0, 208, 21);
    for (const ChatType& type : ChatTypes)
        page.ChatTypeComboBox->addItem(QString::fromLatin1(type.Caption));
    page.ChatTypeComboBox->SetSelectedIndex(-1);
    LabelControl(*page.ChatTypeLabel, *page.ChatTypeComboBox);

    page.ChatHelpButton =
        Named(new QPushButton(QStringLiteral("Chat Help"), &tab), "ChatHelpButton");
    page.ChatHelpButton->setFont(SansSerifFont(LargeFont, true));
    page.ChatHelpButton->setGeometry(278, 0, 108, 21);

    page.ChatEditMemo = Named(new TextArea(&tab), "ChatEditMemo");
    page.ChatEditMemo->setFont(SansSerifFont(LargeFont));
    page.ChatEditMemo->setGeometry(1, 23, 593, 362);
    // Long lines fold at the area's width, so only the vertical bar is needed.
    page.ChatEditMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    page.ChatEditMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // No label names the text; screen readers need a name all the same.
    page.ChatEditMemo->setAccessibleName(QStringLiteral("Chat Lines"));

    // The text area comes first, then the kind and the help button.
    ChainFocusOrder({page.ChatEditMemo, page.ChatTypeComboBox, page.ChatHelpButton});
    // The list is the text itself: a key that changes no character is no edit.
    page.ChatSaveGuard.PageForm = [&page] { return page.ChatEditMemo->Text().toUtf8(); };
}
