#include "main.h"

#include "ApplicationTitle.h"
#include "BoundedIntegerField.h"
#include "ChatFileChoice.h"
#include "ChatList.h"
#include "Failures.h"
#include "FirstReadings.h"
#include "LineFile.h"
#include "MessageSeam.h"
#include "ModFolders.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTabWidget>

// Ctrl+Shift+R takes back what this editor saved into the shown page's file:
// the file gets the bytes it held when this run first read it, or goes away
// when this run created it. A change another program made is never put back,
// and the page's own edit is not saved first: it is what the user takes back.

namespace {

QString TimeOf(const FirstReading& first)
{
    return first.readAt.toString(QStringLiteral("HH:mm"));
}

bool AskToPutBack(const QString& path, const FirstReading& first)
{
    return ActiveMessageSeam().ConfirmBox(
        ApplicationTitle(),
        QStringLiteral("Put ") + path + QStringLiteral(" back as it was at ") + TimeOf(first)
            + QStringLiteral("?"),
        QStringLiteral("Put Back"), QStringLiteral("Cancel"));
}

} // namespace

std::optional<QString> TMainForm::ShownPageFile() const
{
    QWidget* shown = PageControl->currentWidget();
    if (shown == PersonalityTab)
        return PersonalityFilePath(ModFolder, CurrentPersonalityNumber->AppliedValue());
    if (shown == ChatTab)
        return ChooseChatFile(*this, ModFolder);
    return BotConfigPath(ModFolder);
}

// A notice says why the key has nothing to put back; false when it has.
bool TMainForm::TellWhyNothingIsPutBack(const QString& path, const std::optional<FirstReading>& first,
                                        bool asFirstRead)
{
    if (asFirstRead && !GuardOf(PageControl->currentWidget()).HasUserEdits()) {
        ShowNotice(path + QStringLiteral(" is as it was at ") + TimeOf(*first)
                   + QStringLiteral("; there is nothing to put back."));
        return true;
    }
    if (!asFirstRead && !(first && first->lastWritten)) {
        ShowNotice(QStringLiteral("This editor has not changed ") + path
                   + QStringLiteral("; what other programs change is not put back."));
        return true;
    }
    // The page loads the personality of the number it shows, so it would
    // create the first one again at once.
    if (!asFirstRead && !first->content && PageControl->currentWidget() == PersonalityTab
        && CurrentPersonalityNumber->AppliedValue() == 1) {
        ShowNotice(path + QStringLiteral(" did not exist at ") + TimeOf(*first)
                   + QStringLiteral(", but the page needs a first personality to show, so it "
                                    "stays."));
        return true;
    }
    return false;
}

// The number the page showed before the personality at path was created,
// when that one is still there, else the highest number below it with a
// file; none when there is none, since showing it would create it.
std::optional<int> TMainForm::NumberAfterRemoving(const QString& path, int removed) const
{
    const int before = numberBeforeCreating_.value(path, 0);
    if (before > 0 && before < removed && FileIsPresent(PersonalityFilePath(ModFolder, before)))
        return before;
    for (int number = removed - 1; number >= 1; --number) {
        if (FileIsPresent(PersonalityFilePath(ModFolder, number)))
            return number;
    }
    return std::nullopt;
}

// A removed personality leaves the page on the number it showed before; a
// removed chat list leaves the page as a missing list does, without the
// load's box.
void TMainForm::ShowPageAfterPutBack(const QString& path, bool removed)
{
    if (!removed) {
        ReloadShownPage();
    } else if (PageControl->currentWidget() == PersonalityTab) {
        // Given up before the number changes, so that no save of it is tried.
        PersonalitySaveGuard.LoadBegins(path);
        const std::optional<int> number =
            NumberAfterRemoving(path, CurrentPersonalityNumber->AppliedValue());
        if (number)
            CurrentPersonalityNumber->SetValue(*number);
    } else if (PageControl->currentWidget() == ChatTab) {
        ShowRemovedChatList(*this, path);
    } else {
        ReloadShownPage();
    }
}

void TMainForm::PutBackShownPage()
{
    const std::optional<QString> path = ShownPageFile();
    if (path)
        ForFile(*path, [&] { PutBack(*path); });
}

void TMainForm::PutBack(const QString& path)
{
    const std::optional<FirstReading> first = FirstReadingOf(path);
    const bool asFirstRead = first && ContentOnDisk(path) == first->content;
    if (TellWhyNothingIsPutBack(path, first, asFirstRead) || !AskToPutBack(path, *first))
        return;
    GuardOf(PageControl->currentWidget()).DropEdit();
    // Only the user's edit differs from the file: dropping it is all there is.
    if (asFirstRead) {
        ReloadShownPage();
        return;
    }
    if (!PutBackFirstReading(path)) {
        ReloadShownPage();
        throw Exception(path
                        + QStringLiteral(" was not put back: another program changed it after "
                                         "this editor saved it. The page shows it as it now is"));
    }
    ShowPageAfterPutBack(path, !first->content);
}

void TMainForm::WirePutBackKey()
{
    auto* putBack = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R), this);
    connect(putBack, &QShortcut::activated, this,
            [this] { RunHandler([this] { PutBackShownPage(); }); });
}
