#include "ChatList.h"

#include "ChatFileChoice.h"
#include "ChatPage.h"
#include "Exceptions.h"
#include "KeptCopyNotice.h"
#include "LineFile.h"
#include "TextArea.h"

namespace {

// The text area joins its lines with CR LF; the file gets them with its own
// line ends, and its last line with none, as it stands.
void WriteChatText(LineFile& file, const QString& text)
{
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (qsizetype line = 0; line + 1 < lines.size(); ++line)
        WriteTextLine(file, lines.at(line));
    WritePlainText(file, lines.last());
}

} // namespace

void LoadChatList(ChatPage& page, const QString& modFolder)
{
    const std::optional<QString> path = ChooseChatFile(page, modFolder);
    if (!path)
        return;
    ForFile(*path, [&] {
        TellOfKeptCopies(*path);
        page.ChatSaveGuard.LoadBegins(*path);
        // The list shown so far is another file's: kept, the next key release
        // would create the missing one from it.
        if (!FileIsPresent(*path))
            page.ChatEditMemo->ClearText();
        LineFile file = OpenForReading(*path);
        // Collected first and shown at once: setting the area line by line
        // would lay out the whole text again for every line.
        QString text;
        while (!AtEndOfFile(file))
            text += ReadTextLine(file) + QStringLiteral("\r\n");
        const QByteArray content = ContentOf(file);
        CloseLineFile(file);
        page.ChatEditMemo->SetText(text);
        page.ChatSaveGuard.Holds(*path, content);
    });
}

void ShowRemovedChatList(ChatPage& page, const QString& path)
{
    page.ChatSaveGuard.LoadBegins(path);
    page.ChatEditMemo->ClearText();
}

SaveOutcome SaveChatList(ChatPage& page, const QString& modFolder)
{
    const std::optional<QString> path = ChooseChatFile(page, modFolder);
    if (!path)
        return SaveOutcome::Refused;
    return SaveChatListTo(page, *path, SaveWhen::Always);
}

SaveOutcome SaveChatListTo(ChatPage& page, const QString& path, SaveWhen when)
{
    return SaveThroughGuard(page.ChatSaveGuard, path, when, [&](LineFile& file) {
        WriteChatText(file, page.ChatEditMemo->Text());
        FlushText(file);
    });
}
