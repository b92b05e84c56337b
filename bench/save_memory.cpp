// Measures the memory that saving each page keeps: starts the editor's
// windows in a copy of the sample game folder, and for each page alternates
// one value between two states, an edit of the user's, and saves, as the
// user's triggers do, a given number of times (100000 unless an argument says
// otherwise). Prints, per page, the heap in use before and after (mallinfo2)
// and the bytes kept per save; exits with 1 when a page keeps more than 16
// bytes per save or a measured save wrote nothing.
//
//   build/bench/save_memory [saves]

#include "CheckBoxControl.h"
#include "BoundedIntegerField.h"
#include "GameFolder.h"
#include "RunningProgram.h"
#include "TextArea.h"

#include <QApplication>
#include <QTest>
#include <QTextCursor>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <malloc.h>
#include <sys/resource.h>

namespace {

// Heap bytes in use, after giving freed memory back.
size_t HeapInUse()
{
    ::malloc_trim(0);
    const struct mallinfo2 heap = ::mallinfo2();
    return heap.uordblks + heap.hblkhd;
}

long PeakResidentKiB()
{
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Two chat lists of some 700 bytes each.
QString ChatList(int variant)
{
    QString text;
    for (int line = 0; line < 20; ++line)
        text += QStringLiteral("Chat line %1 of list %2, some words\r\n").arg(line).arg(variant);
    return text;
}

// Replaces the whole chat text as a paste over a selection of all does.
void PasteOverAll(TextArea& area, int variant)
{
    QTextCursor cursor = area.textCursor();
    cursor.select(QTextCursor::Document);
    cursor.insertText(ChatList(variant));
    area.setTextCursor(cursor);
}

// Types one character at the end of the chat text or takes it away again,
// the way a key press changes the text area.
void TypeOrErase(TextArea& area, bool type)
{
    QTextCursor cursor = area.textCursor();
    cursor.movePosition(QTextCursor::End);
    if (type)
        cursor.insertText(QStringLiteral("x"));
    else
        cursor.deletePreviousChar();
    area.setTextCursor(cursor);
}

struct Page {
    const char* name;
    std::function<void(TMainForm&, int)> change;
    std::function<void(TMainForm&)> save;
    SaveGuard TMainForm::*guard;
};

// One change and its save. Whether the change was an edit of the user's and
// the save wrote it: a save without one writes nothing, and would measure
// nothing.
bool SaveWrote(TMainForm& form, const Page& page, int save)
{
    const SaveGuard& guard = form.*page.guard;
    page.change(form, save);
    const bool edited = guard.HasUserEdits();
    page.save(form);
    return edited && !guard.HasUserEdits();
}

// Bytes kept per save over saves saves of the page, after a warm-up; none
// when a measured save wrote nothing.
std::optional<double> Measure(TMainForm& form, const Page& page, int saves)
{
    for (int save = 0; save < 1000; ++save) {
        page.change(form, save);
        page.save(form);
    }
    QCoreApplication::processEvents();
    const size_t before = HeapInUse();
    int unwritten = 0;
    for (int save = 0; save < saves; ++save) {
        unwritten += SaveWrote(form, page, save) ? 0 : 1;
        QCoreApplication::processEvents();  // as the event loop would between keys
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const size_t after = HeapInUse();
    const double perSave = (double(after) - double(before)) / saves;
    std::printf("%-12s %7d saves: heap %8zu -> %8zu bytes, %6.1f bytes per save, peak RSS %ld KiB\n",
                page.name, saves, before, after, perSave, PeakResidentKiB());
    if (unwritten > 0)
        std::printf("%-12s %7d saves wrote nothing\n", page.name, unwritten);
    std::fflush(stdout);
    return unwritten > 0 ? std::nullopt : std::optional<double>(perSave);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int saves = argc > 1 ? std::atoi(argv[1]) : 100000;
    if (saves <= 0) {
        std::fputs("usage: save_memory [saves]\n", stderr);
        return 2;
    }
    const auto game = ScratchGameFolder::WithSampleMods();
    RunningProgram running;
    TMainForm& form = running.form;
    form.show();
    form.show();
    QCoreApplication::processEvents();

    TextArea& chat = *form.ChatEditMemo;
    const auto releaseKey = [&chat](TMainForm&) { QTest::keyRelease(&chat, Qt::Key_Control); };
    // The program's set of a value is no edit of the user's: those changes
    // tell the page's guard, as the control's report of a user's change does.
    const Page pages[] = {
        {"personality",
         [](TMainForm& main, int save) {
             main.CampChance->SetValue(save % 2 == 0 ? 80 : 50);
             main.PersonalitySaveGuard.UserEdited();
         },
         [](TMainForm& main) { main.PersonalityTabMouseMove(); }, &TMainForm::PersonalitySaveGuard},
        {"chat typed", [&chat](TMainForm&, int save) { TypeOrErase(chat, save % 2 == 0); },
         releaseKey, &TMainForm::ChatSaveGuard},
        {"chat pasted", [&chat](TMainForm&, int save) { PasteOverAll(chat, save % 2); },
         releaseKey, &TMainForm::ChatSaveGuard},
        {"bot.cfg",
         [](TMainForm& main, int save) {
             main.OnlineModeCheckBox->SetChecked(save % 2 == 0);
             main.BotConfigSaveGuard.UserEdited();
         },
         [](TMainForm& main) { main.BotConfigEditorMouseMove(); }, &TMainForm::BotConfigSaveGuard},
    };
    bool flat = true;
    for (const Page& page : pages) {
        const std::optional<double> perSave = Measure(form, page, saves);
        flat = perSave && *perSave <= 16.0 && flat;
    }
    if (!running.seam.boxes.isEmpty()) {
        std::printf("boxes shown: %s\n", qPrintable(running.seam.boxes.join(QLatin1String(" | "))));
        return 1;
    }
    return flat ? 0 : 1;
}
