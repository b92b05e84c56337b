#include "PageFuzzing.h"

#include "Exceptions.h"
#include "FuzzCheck.h"
#include "MessageSeam.h"
#include "ScratchFolder.h"

#include <QApplication>

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

// The first refusal raises a failure, the later ones return quietly.
void CheckSaveRefused(const PageFileOperations& page, const QByteArray& input)
{
    bool failed = false;
    try {
        page.save();
    } catch (const Exception&) {
        failed = true;
    }
    Require(failed, "the first save after a partial load is refused with a failure");
    page.save();
    Require(FileBytes(page.path) == input, "a partly read file is never written over",
            Shown(input));
}

// A file whose every line end before its Ctrl-Z is an LF alone is saved with
// LF alone; any other one with CR LF.
bool KeepsItsLineEnds(const QByteArray& input, const QByteArray& saved)
{
    const qsizetype endMark = input.indexOf('\x1a');
    const QByteArray read = endMark < 0 ? input : input.first(endMark);
    const bool linuxLines = read.contains('\n') && !read.contains('\r');
    if (linuxLines)
        return !saved.contains('\r');
    return saved.count('\n') == saved.count("\r\n");
}

} // namespace

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

void CheckLoadAndSave(const PageFileOperations& page, const QByteArray& input)
{
    PutFile(page.path, input);
    try {
        page.load();
    } catch (const Exception&) {
        // Any load that stops part-way, whatever the cause, leaves the file protected.
        CheckSaveRefused(page, input);
        return;
    }
    const QString shownAfterLoad = page.shown();
    page.save();
    const QByteArray saved = FileBytes(page.path);
    Require(KeepsItsLineEnds(input, saved), "a save keeps the line ends the file was read with",
            Shown(input) + QStringLiteral("\nsaved: ") + Shown(saved));
    page.load();
    Require(page.shown() == shownAfterLoad, "a saved page loads back to the same controls",
            Shown(input) + QStringLiteral("\nshown: ") + shownAfterLoad
                + QStringLiteral("\nafter saving and loading: ") + page.shown());
    page.save();
    Require(FileBytes(page.path) == saved, "a loaded file saves to the same bytes every time",
            Shown(input) + QStringLiteral("\nfirst: ") + Shown(saved)
                + QStringLiteral("\nsecond: ") + Shown(FileBytes(page.path)));
}
