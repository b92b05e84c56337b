#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>

#include <functional>

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

// One page's view of its file: the page's load and save, and what its
// controls show, as text.
struct PageFileOperations {
    QString path;
    std::function<void()> load;
    std::function<void()> save;
    std::function<QString()> shown;
};

// Puts the input in the page's file and loads it. A load that stops at a line
// that is no number leaves the page refusing to save: the first attempt with
// a failure, later ones silently, and the file keeps its bytes. A complete
// load saves bytes that load back to the same controls and save again to
// the same bytes, with the line ends the input was read with.
void CheckLoadAndSave(const PageFileOperations& page, const QByteArray& input);
