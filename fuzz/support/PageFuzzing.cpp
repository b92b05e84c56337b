#include "PageFuzzing.h"

#include "Exceptions.h"
#include "FuzzCheck.h"
#include "MessageSeam.h"
#include "SaveGuard.h"
#include "ScratchFolder.h"

#include <QApplication>
#include <QSet>

#include <cstdint>

namespace {

class NoBoxExpected : public MessageSeam {
public:
    void ErrorBox(const QString&, const QString& text) override
    {
        PropertyBroken("a page's load and save show no error box", text);
    }
    void NoticeBox(const QString&, const QString& text) override
    {
        PropertyBroken("a page's load and save show no notice", text);
    }
    bool QuestionBox(const QString&, const QString& text, const QString&, const QString&) override
    {
        PropertyBroken("a page's load and save ask nothing", text);
    }
    int ChoiceBox(const QString&, const QString& text, const QString&, const QString&,
                  const QString&) override
    {
        PropertyBroken("a page's load and save ask nothing", text);
    }
};

// A save that must not write, whatever the page holds: it neither fails nor
// changes a byte of the file.
void CheckWritesNothing(const PageFileOperations& page, const QByteArray& bytes,
                        const char* property)
{
    try {
        page.save();
    } catch (const Exception& failure) {
        PropertyBroken(property, Shown(bytes) + QStringLiteral("\nfailure: ") + failure.Message());
    }
    Require(FileBytes(page.path) == bytes, property,
            Shown(bytes) + QStringLiteral("\nafter the save: ") + Shown(FileBytes(page.path)));
}

// The first refusal raises a failure, the later ones return quietly.
void CheckSaveRefused(const PageFileOperations& page, const QByteArray& input)
{
    bool failed = false;
    try {
        page.save();
    } catch (const Exception&) {
        failed = true;
    }
    Require(failed, "the first save of an edit after a partial load is refused with a failure",
            Shown(input));
    page.save();
    Require(FileBytes(page.path) == input, "a partly read file is never written over",
            Shown(input));
}

void CheckPartLoaded(const PageFileOperations& page, const QByteArray& input)
{
    CheckWritesNothing(page, input, "without an edit, a partly read file is left alone quietly");
    page.edit();
    CheckSaveRefused(page, input);
}

// A line end the save wrote anew is in the file's style; every other one is
// a line end the input has. An input without a line end leaves the style
// open, but one style throughout.
bool EndsFollowTheInput(const FileLines& input, const FileLines& saved)
{
    QSet<QByteArray> inputEnds;
    for (const FileLine& line : input.lines)
        inputEnds.insert(line.end);
    std::optional<QByteArray> newEnd = NewLineEnd(input);
    for (const FileLine& line : saved.lines) {
        if (line.end.isEmpty() || inputEnds.contains(line.end))
            continue;
        if (!newEnd)
            newEnd = line.end;
        if (line.end != *newEnd)
            return false;
    }
    return true;
}

void CheckEditSaved(const PageFileOperations& page, const QByteArray& input)
{
    page.edit();
    const QString edited = page.shown();
    page.save();
    const QByteArray saved = FileBytes(page.path);
    const QString bytes = Shown(input) + QStringLiteral("\nsaved: ") + Shown(saved);
    Require(saved != input, "an edit of the user's is written", bytes);
    const FileLines inputLines = LinesByTheRules(input);
    const FileLines savedLines = LinesByTheRules(saved);
    Require(EndsFollowTheInput(inputLines, savedLines),
            "a save writes its lines in the line ends the file was read with", bytes);
    page.checkKept(inputLines, savedLines);
    CheckWritesNothing(page, saved, "a save after a saved edit writes nothing");
    page.load();
    Require(page.shown() == edited, "a saved edit loads back to what the page showed",
            bytes + QStringLiteral("\nshown: ") + edited
                + QStringLiteral("\nafter loading: ") + page.shown());
}

} // namespace

int EditChosenBy(const QByteArray& input, int count)
{
    std::uint32_t hash = 2166136261u;
    for (const char byte : input)
        hash = (hash ^ std::uint8_t(byte)) * 16777619u;
    return int(hash % std::uint32_t(count));
}

std::optional<QByteArray> NewLineEnd(const FileLines& input)
{
    bool anyEnd = false;
    for (const FileLine& line : input.lines) {
        if (line.end == "\r\n" || line.end == "\r")
            return QByteArray("\r\n");
        anyEnd = anyEnd || !line.end.isEmpty();
    }
    return anyEnd ? std::optional<QByteArray>("\n") : std::nullopt;
}

bool WrittenWholeInTheInputsStyle(const FileLines& input, const FileLines& saved)
{
    if (saved.lines.isEmpty())
        return saved.afterEnd.isEmpty();
    const QByteArray end = NewLineEnd(input).value_or(saved.lines.first().end);
    for (const FileLine& line : saved.lines) {
        if (line.end != end)
            return false;
    }
    return saved.afterEnd.isEmpty();
}

void StartPageFuzzing(int& argumentCount, char**& arguments)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt would take its own options out of libFuzzer's command line.
    static int qtArgumentCount = 1;
    static char* qtArguments[] = {arguments[0], nullptr};
    static QApplication application(qtArgumentCount, qtArguments);
    static NoBoxExpected seam;
    static ScopedMessageSeam seamInPlace(seam);
    EnterScratchFolder(argumentCount, arguments);
}

// An edit left on the page by the last input would be saved at this one's
// first save; the main window gives it up the same way before a load.
void CheckLoadAndSave(const PageFileOperations& page, const QByteArray& input)
{
    PutFile(page.path, input);
    page.guard->DropEdit();
    try {
        page.load();
    } catch (const Exception&) {
        // Any load that stops part-way, whatever the cause, leaves the file protected.
        CheckPartLoaded(page, input);
        return;
    }
    CheckWritesNothing(page, input, "a save without an edit writes nothing");
    CheckEditSaved(page, input);
}
