#include "main.h"

#include "Failures.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTabWidget>

// A page that refuses to save says so on its tab for as long as it refuses:
// the box appears only once, and the controls would otherwise look as if
// every change were kept.

void TMainForm::ShowRefusalOnTab(QWidget* page, const QString& caption, const QString& refusal)
{
    const int index = PageControl->indexOf(page);
    PageControl->setTabText(index, refusal.isEmpty() ? caption
                                                     : caption + QStringLiteral(" (not saved)"));
    PageControl->setTabToolTip(index, refusal);
}

void TMainForm::WireRefusalSigns()
{
    const auto sign = [this](QWidget* page) {
        const QString caption = PageControl->tabText(PageControl->indexOf(page));
        return [this, page, caption](const QString& refusal) {
            ShowRefusalOnTab(page, caption, refusal);
        };
    };
    PersonalitySaveGuard.OnRefusalChange = sign(PersonalityTab);
    ChatSaveGuard.OnRefusalChange = sign(ChatTab);
    BotConfigSaveGuard.OnRefusalChange = sign(BotConfigEditor);
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
