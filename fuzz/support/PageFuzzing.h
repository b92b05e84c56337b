#pragma once

#include "FileLines.h"

#include <QByteArray>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class SaveGuard;

// Starts the one QApplication of a page target on the offscreen platform, in
// a scratch folder that serves as the game folder. A page's load and save
// show no box of their own; any box they try to show is a broken property.
void StartPageFuzzing(int& argumentCount, char**& arguments);

// A target's one page, built on a tab of its own at the first call.
template <class Page, void (*Build)(Page&, QWidget&)>
Page& BuiltPage()
{
    static QWidget tab;
    static Page page;
    static const bool built = (Build(page, tab), true);
    Q_UNUSED(built);
    return page;
}

// Which of count edits an input gets: the same for the same bytes in every
// run, so that a finding replays, and spread over the edits as inputs vary.
int EditChosenBy(const QByteArray& input, int count);

// One page's view of its file: the page's load and save, what its controls
// show, as text, and one edit of the user's.
struct PageFileOperations {
    QString path;
    SaveGuard* guard;
    std::function<void()> load;
    std::function<void()> save;
    std::function<QString()> shown;
    // Changes one value as the user would (the control, then the guard's
    // UserEdited), so that the page shows something other than before.
    std::function<void()> edit;
    // Breaks a property unless the lines of the input that the edit does
    // not concern are still in the saved file, byte for byte.
    std::function<void(const FileLines& input, const FileLines& saved)> checkKept;
};

// Puts the input in the page's file and loads it. Without an edit of the
// user's no save writes anything. After a load that stops part-way, an edit
// is not saved: the first attempt fails, later ones are silent, and the file
// keeps its bytes. After a complete load an edit is saved: with line ends as
// the file had them, keeping what checkKept asks for, and loading back to
// what the page showed.
void CheckLoadAndSave(const PageFileOperations& page, const QByteArray& input);

// The line end a save gives a line it writes anew: LF alone for a file whose
// line ends are all LF alone, CR LF for one with any other; none for a file
// without a line end, whose page keeps the style of the last file it read.
std::optional<QByteArray> NewLineEnd(const FileLines& input);

// Whether a file the page wrote whole ends every line in the input's style
// (NewLineEnd; one style throughout for an input without a line end) and
// holds nothing after its last line.
bool WrittenWholeInTheInputsStyle(const FileLines& input, const FileLines& saved);
