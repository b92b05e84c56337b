#pragma once

#include "BotConfigPage.h"
#include "ChatPage.h"
#include "FirstReadings.h"
#include "PersonalityPage.h"

#include <QString>
#include <QWidget>

#include <optional>

class DropDownSelector;
class PageBackground;
class PageLoads;
class QLabel;
class QTabWidget;

// The main window: the mod selector above the three pages. Its controls are
// its members by name, those of each page by way of the page's control set;
// the pages save by themselves on the triggers that WireEvents connects.
class TMainForm : public QWidget,
                  public PersonalityPage,
                  public ChatPage,
                  public BotConfigPage {
    Q_OBJECT

public:
    explicit TMainForm(QWidget* parent = nullptr);

    // The current mod's folder: empty until start-up, then one of the mods.
    QString ModFolder;

    QLabel* Label2;
    QLabel* ModToEditLabel;
    DropDownSelector* ModToEditComboBox;
    QTabWidget* PageControl;
    QWidget* PersonalityTab;
    QWidget* ChatTab;
    QWidget* BotConfigEditor;

    void UpdateBotCheckList();
    void LoadBotConfig();
    void SaveBotConfig();
    void LoadPersonality();
    void SavePersonality();
    void LoadChat();
    void SaveChat();
    void ModToEditButtonClick();
    void FormCreate();
    void ChatHelpButtonClick();
    void PersonalityHelpButtonClick();
    void CurrentPersonalityNumberChange();
    void ChatTypeComboBoxChange();
    void ChatEditMemoKeyUp();
    void MinBotsKeyUp();
    void MaxBotsKeyUp();
    void BotConfigEditorMouseMove();
    void PersonalityTabMouseMove();
    void ReloadShownPage();
    // Puts the shown page's file back as this run first read it, once the
    // user agrees, and loads the page from it.
    void PutBackShownPage();

protected:
    void showEvent(QShowEvent* event) override;
    // The window closes once the user's edits are saved, or the user has
    // chosen to close without one that could not be saved.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildFrame();
    void BuildPages();
    void WireEvents();
    void WireRefusalSigns();
    void WireReloadKey();
    void WirePutBackKey();
    // The file the shown page's load reads; none when no chat kind may be.
    std::optional<QString> ShownPageFile() const;
    SaveGuard& ShownPageGuard();
    void PutBack(const QString& path);
    bool TellWhyNothingIsPutBack(const QString& path, const std::optional<FirstReading>& first,
                                 bool asFirstRead);
    void ShowPageAfterPutBack(const QString& path, bool removed);
    void ShowRefusalOnTab(QWidget* page, const QString& caption, const QString& refusal);
    void WatchUserEdits();
    void RefreshRosterAndBotConfig();
    // The loads that end the start-up and a mod change, each page on its
    // own: the personality shown, when asked, then the roster and bot.cfg,
    // then the chat list.
    void LoadEachPage(PageLoads& loads, bool personalityToLoad);
    // Saves every page's edit that the user made and no trigger has saved
    // yet, each as its own trigger would and under the failure guard,
    // before a load replaces the pages' controls.
    void SavePendingEdits();
    // Each saves its page's pending edit under the failure guard into the
    // file the page holds; false when an edit is left unsaved.
    bool SavePendingPersonality();
    bool SavePendingChat();
    bool SavePendingBotConfig();
    bool MayClose();

    PageBackground* personalityBackground_;
    PageBackground* botConfigBackground_;
    bool placed_ = false;
};

extern TMainForm* MainForm;
