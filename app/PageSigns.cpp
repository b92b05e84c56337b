#include "main.h"

#include "Failures.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTabWidget>

// A tab's caption carries the page's signs after the page's own caption: " *"
// while the page holds an edit of the user's not saved yet, and " (not
// saved)" while the page refuses to save, for as long as it refuses: the box
// appears only once, and the controls would otherwise look as if every change
// were kept. The tab's tool tip gives the refusal. The page itself is named
// by the whole caption, so that a screen reader hears the signs too.

void TMainForm::ShowPageSigns(QWidget* page, const QString& caption, const SaveGuard& guard)
{
    const int index = PageControl->indexOf(page);
    QString shown = caption;
    if (guard.HasUserEdits())
        shown += QStringLiteral(" *");
    if (!PageControl->tabToolTip(index).isEmpty())
        shown += QStringLiteral(" (not saved)");
    PageControl->setTabText(index, shown);
    page->setAccessibleName(shown);
}

void TMainForm::WirePageSigns()
{
    const auto wire = [this](QWidget* page, SaveGuard& guard) {
        const QString caption = PageControl->tabText(PageControl->indexOf(page));
        guard.OnRefusalChange = [this, page, caption, &guard](const QString& refusal) {
            PageControl->setTabToolTip(PageControl->indexOf(page), refusal);
            ShowPageSigns(page, caption, guard);
        };
        guard.OnUserEditsChange = [this, page, caption, &guard] {
            ShowPageSigns(page, caption, guard);
        };
        ShowPageSigns(page, caption, guard);
    };
    wire(PersonalityTab, PersonalitySaveGuard);
    wire(ChatTab, ChatSaveGuard);
    wire(BotConfigEditor, BotConfigSaveGuard);
}

// F5 reads the shown page's file again through the page's own load, so a
// file that was put right outside the editor becomes editable again. It
// saves no edit of that page first: the user asks for the file as it is on
// disk.
void TMainForm::ReloadShownPage()
{
    QWidget* shown = PageControl->currentWidget();
    GuardOf(shown).DropEdit();
    LoadPage(shown);
}

void TMainForm::WireReloadKey()
{
    auto* reload = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(reload, &QShortcut::activated, this, [this] { RunHandler([this] { ReloadShownPage(); }); });
}
