// Loads any bytes as the "New Round" chat list of Counter-Strike into the
// chat page's text area, saves it without an edit and with one edit chosen
// by the input: a line added, the last line taken away, or a line's first
// character changed (see CheckLoadAndSave). The text is the list, so an
// edit's save writes it whole, every line in the file's line ends.

#include "ChatList.h"
#include "ChatPage.h"
#include "ChatTypes.h"
#include "DropDownSelector.h"
#include "FuzzCheck.h"
#include "PageFuzzing.h"
#include "TextArea.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

const QString ModFolder = QStringLiteral("cstrike");
constexpr int NewRoundIndex = 0;
const QString LineEnd = QStringLiteral("\r\n");

enum ChatEdit { AddLine, TakeLastLine, ChangeFirstCharacter, ChatEditCount };

// The text area shows every line followed by CR LF, the last one too; an
// edit keeps that form, so that the saved list loads back to the same text.
QString Edited(const QString& text, int edit, int chosenLine)
{
    QStringList lines = text.split(LineEnd);
    lines.removeLast();
    if (lines.isEmpty() || edit == AddLine) {
        lines << QStringLiteral("x");
    } else if (edit == TakeLastLine) {
        lines.removeLast();
    } else {
        QString& line = lines[chosenLine % lines.size()];
        const QChar first = line.startsWith(QLatin1Char('x')) ? QLatin1Char('y') : QLatin1Char('x');
        line = first + line.mid(1);
    }
    return lines.isEmpty() ? QString() : lines.join(LineEnd) + LineEnd;
}

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
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const int edit = EditChosenBy(input, ChatEditCount);
    TextArea& text = *page.ChatEditMemo;
    CheckLoadAndSave({ChatListPath(ModFolder, NewRoundIndex),
                      &page.ChatSaveGuard,
                      [&] { LoadChatList(page, ModFolder); },
                      [&] { SaveChatList(page, ModFolder); },
                      [&] { return text.Text(); },
                      [&] {
                          text.SetText(Edited(text.Text(), edit, int(input.size())));
                          page.ChatSaveGuard.UserEdited();
                      },
                      [&](const FileLines& before, const FileLines& saved) {
                          Require(WrittenWholeInTheInputsStyle(before, saved),
                                  "an edited list is written whole in the line ends it had");
                      }},
                     input);
    return 0;
}
