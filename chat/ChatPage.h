#pragma once

#include "SaveGuard.h"

class DropDownSelector;
class QLabel;
class QPushButton;
class QWidget;
class TextArea;

// The controls of the chat page. The text area holds the chat list being
// edited; there is no other copy of it. The main window carries them as
// members under these names.
struct ChatPage {
    QLabel* ChatTypeLabel = nullptr;
    DropDownSelector* ChatTypeComboBox = nullptr;
    QPushButton* ChatHelpButton = nullptr;
    TextArea* ChatEditMemo = nullptr;

    // Refuses saves over a file the text area does not hold completely.
    SaveGuard ChatSaveGuard;
};

// Places the page's controls on the page with their start values and focus
// order; no chat kind is selected yet.
void BuildChatPage(ChatPage& page, QWidget& tab);
