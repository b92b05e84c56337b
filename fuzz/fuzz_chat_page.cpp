// Loads any bytes as the "New Round" chat list of Counter-Strike into the
// chat page's text area and saves it again (see CheckLoadAndSave).

#include "ChatList.h"
#include "ChatPage.h"
#include "ChatTypes.h"
#include "DropDownSelector.h"
#include "PageFuzzing.h"
#include "TextArea.h"

#include <cstddef>
#include <cstdint>

namespace {

const QString ModFolder = QStringLiteral("cstrike");
constexpr int NewRoundIndex = 0;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argumentCount, char*** arguments)
{
    StartPageFuzzing(*argumentCount, *arguments);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto& page = BuiltPage<ChatPage, BuildChatPage>();
    page.ChatTypeComboBox->SetSelectedIndex(NewRoundIndex);
    page.ChatEditMemo->ClearText();
    CheckLoadAndSave({ChatListPath(ModFolder, NewRoundIndex),
                      [&] { LoadChatList(page, ModFolder); },
                      [&] { SaveChatList(page, ModFolder); },
                      [&] { return page.ChatEditMemo->Text(); }},
                     QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
