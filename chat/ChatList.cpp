#include "ChatList.h"

#include "ChatFileChoice.h"
#include "ChatPage.h"
#include "Exceptions.h"
#include "KeptCopyNotice.h"
#include "LineFile.h"
#include "LineLayout.h"
#include "LineMerge.h"
#include "TextArea.h"

namespace {

// The file layer's code for a missing file in a folder that exists.
constexpr int FileNotFound = 2;

// The text area joins its lines with CR LF; the file gets them with its own
// line ends, and its last line with none, as it stands.
void WriteChatText(LineFile& file, const QString& text)
{
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (qsizetype line = 0; line + 1 < lines.size(); ++line)
        WriteTextLine(file, lines.at(line));
    WritePlainText(file, lines.last());
}

// A list that cannot be read (missing, a pipe, a folder) shows no other
// list's lines under its kind: the next key release would write them into
// it. A missing list is held as missing, so that only what the user types
// creates it, and an edit undone creates nothing.
LineFile OpenList(ChatPage& page, const QString& path)
{
    try {
        return OpenForReading(path);
    } catch (const EInOutError& failure) {
        page.ChatEditMemo->ClearText();
        if (failure.ErrorCode() == FileNotFound)
            page.ChatSaveGuard.Holds(path, std::nullopt);
        throw;
    }
}

// The text area's lines: the text cut at each CR LF, the empty text after
// the last one being no line.
QStringList LinesOfText(const QString& text)
{
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// What a save writes: the text as shown, unless another program changed
// the list after the page read it and the user kept the edit; then the
// lines the user changed are changed in the list as that program left it.
QString TextToWrite(const ChatPage& page, const QString& path)
{
    const QString text = page.ChatEditMemo->Text();
    const std::optional<QByteArray> held = page.ChatSaveGuard.HeldContentOf(path);
    const std::optional<QByteArray>& form = page.ChatSaveGuard.FormWhenHeld();
    if (!page.ChatSaveGuard.KeepsEditOverChange() || !held || !form)
        return text;
    const QStringList read = LinesOfText(QString::fromUtf8(*form));
    const QStringList now = LineLayout(*held).Texts();
    if (now == read)
        return text;
    const QStringList merged = MergeLines(read, LinesOfText(text), now);
    if (merged.isEmpty())
        return QString();
    return merged.join(QStringLiteral("\r\n"))
           + (text.endsWith(QStringLiteral("\r\n")) ? QStringLiteral("\r\n") : QString());
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
        ReadThroughGuard(page.ChatSaveGuard, *path, [&] {
            LineFile file = OpenList(page, *path);
            // Collected first and shown at once: setting the area line by
            // line would lay out the whole text again for every line.
            QString text;
            while (!AtEndOfFile(file))
                text += ReadTextLine(file) + QStringLiteral("\r\n");
            const QByteArray content = ContentOf(file);
            CloseLineFile(file);
            page.ChatEditMemo->SetText(text);
            return std::optional<QByteArray>(content);
        });
    });
}

void ShowRemovedChatList(ChatPage& page, const QString& path)
{
    page.ChatSaveGuard.LoadBegins(path);
    page.ChatEditMemo->ClearText();
    page.ChatSaveGuard.Holds(path, std::nullopt);
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
        WriteChatText(file, TextToWrite(page, path));
        FlushText(file);
    });
}
