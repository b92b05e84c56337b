#include "BoundedIntegerField.h"
#include "ChatHelp.h"
#include "CheckBoxControl.h"
#include "CheckList.h"
#include "DropDownSelector.h"
#include "EditAsTheUser.h"
#include "FirstReadings.h"
#include "LineFile.h"
#include "TextArea.h"
#include "TextField.h"
#include "FolderOfLastTime.h"
#include "GameFolder.h"
#include "GameFolderChoice.h"
#include "HistoryForm.h"
#include "HistoryRecorder.h"
#include "VersionRows.h"
#include "OrdinaryUser.h"
#include "RawFiles.h"
#include "PersonalityHelp.h"
#include "ProgramStart.h"
#include "ProgramSession.h"
#include "SteamLibraries.h"
#include "UserPicks.h"
#include "main.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QScrollBar>
#include <QScreen>
#include <QTabWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <sstream>
#include <utility>

// The main window and the help windows as the program start creates them,
// started in a copy of the sample game folder so that no file of the
// repository is touched.
class MainFormTest : public QObject, ProgramSession {
    Q_OBJECT

    // The answers to a change made elsewhere under the user's edit.
    enum { KeepMyEdit, LoadTheFile, DecideLater };

    TChatHelpForm* chatHelp = nullptr;
    TPersonalityHelpForm* personalityHelp = nullptr;

    // The file of Counter-Strike that each page shows after start-up.
    const QMap<QString, QString> PageFiles{{"personality", "cstrike/bot1/personality.txt"},
                                           {"screen reader", "cstrike/bot1/personality.txt"},
                                           {"arrow key", "cstrike/bot1/personality.txt"},
                                           {"chat", "cstrike/chat/newround.txt"},
                                           {"bot.cfg", "cstrike/bot.cfg"}};

    void EditAsTheUser(const QString& page) { ::EditAsTheUser(*form, page); }

    // With LF line ends, the whole file keeps them.
    bool FileHoldsTheEdit(const QString& page, const QByteArray& lineEnd = "\r\n")
    {
        QByteArray bytes = ReadBytes(PageFiles.value(page));
        if (lineEnd == "\n" && bytes.contains('\r'))
            return false;
        bytes.replace(lineEnd, "\r\n");
        if (page == "personality")
            return bytes.startsWith("Kestrelx\r\n");
        if (page == "screen reader")
            return bytes.startsWith("Kestrel\r\n4\r\n");
        if (page == "arrow key")
            return bytes.split('\n').value(10) == "61\r";
        if (page == "chat")
            return bytes.startsWith("x\r\nAlright");
        return bytes.contains("\r\ndisco 1\r\n");
    }

    static QString ConflictText(const QString& path)
    {
        return path
               + " was changed by another program after the page read it, and your edit on the "
                 "page is not saved. Keep your edit and write your changes into the file as it now "
                 "is, load the file and drop your edit, or decide later?";
    }

    static QString ConflictQuestion(const QString& path)
    {
        return "choice: " + ConflictText(path) + " [Keep My Edit|Load the File|Decide Later]";
    }

    const SaveGuard& GuardOf(const QString& page) const
    {
        return page == "bot.cfg" ? form->BotConfigSaveGuard
               : page == "chat"  ? form->ChatSaveGuard
                                 : form->PersonalitySaveGuard;
    }

    // The pages' files as a Linux text editor writes them, read by a new start.
    void RestartWithLinuxLines()
    {
        program.reset();
        for (const QString& path : PageFiles)
            WriteBytes(path, ReadBytes(path).replace("\r\n", "\n"));
        Start();
    }

    void RunTrigger(const QString& page)
    {
        if (page == "personality")
            Guarded([this] { form->PersonalityTabMouseMove(); });
        else if (page == "chat")
            QTest::keyRelease(form->ChatEditMemo, Qt::Key_Shift);
        else
            QTest::keyRelease(form->MaxBots, Qt::Key_Shift);
    }

    // More lines than the chat text shows at once.
    static QByteArray LongChatList()
    {
        QByteArray lines;
        for (int line = 1; line <= 80; ++line)
            lines += "Line " + QByteArray::number(line) + "\r\n";
        return lines;
    }

    // The editor in a process of its own with the page's edit pending, ended
    // by the signal: it dies of that signal, having said nothing of its own.
    void EndAnotherCopyWithAnEditBy(const QString& page, const QString& signalName)
    {
        const QMap<QString, int> signals_{{"SIGTERM", SIGTERM}, {"SIGHUP", SIGHUP},
                                          {"SIGINT", SIGINT}};
        QProcess editor;
        editor.start(TAVRIK_PROBE_DIR "/pending_edit_probe", {page});
        QVERIFY(editor.waitForReadyRead(20000));
        QCOMPARE(::kill(editor.processId(), signals_.value(signalName)), 0);
        QVERIFY(editor.waitForFinished(20000));
        QCOMPARE(editor.exitStatus(), QProcess::CrashExit);
        QCOMPARE(editor.exitCode(), signals_.value(signalName));
        QVERIFY(!editor.readAllStandardError().contains("tavrik-control-centre:"));
    }

    QByteArray ChangedByHand(const QString& page, QByteArray bytes)
    {
        bytes.replace("Kestrel", "Kestrow").replace("max_bots 10", "max_bots 12");
        if (page == "bot.cfg")
            return bytes.append("# added by my script\r\nsv_maxspeed 320\r\n");
        return bytes.append(page == "chat" ? "Added by hand\r\n" : "");
    }

    // The page's file as this run leaves it before the put-back key; returns
    // its path. A created file was missing when the run began, or, for a
    // personality, is the next number's (the first one's, created first).
    QString MakeHistory(const QString& page, const QString& history)
    {
        QString path = PageFiles.value(page);
        if (history.startsWith("created") && history != "created first" && page == "personality") {
            const int number = history.endsWith("gap") ? 9 : 6;
            if (history.endsWith("own folder"))
                QDir().mkdir("cstrike/bot6");
            form->CurrentPersonalityNumber->SetValue(number);
            path = QString("cstrike/bot%1/personality.txt").arg(number);
        } else if (history.startsWith("created")) {
            Stop();
            game = ScratchGameFolder::WithSampleMods();
            QFile::remove(path);
            Start();
        }
        seam->boxes.clear();
        const int saves = history == "saved several times"                        ? 3
                          : history == "unchanged" || history == "edit pending"
                                  || history == "changed elsewhere only" ? 0
                                                                           : 1;
        for (int save = 0; save < saves; ++save) {
            EditAsTheUser(page);
            RunTrigger(page);
        }
        if (history.startsWith("changed elsewhere"))
            WriteBytes(path, ChangedByHand(page, ReadBytes(path)));
        if (history.endsWith("replaced"))
            WriteBytes(path, ReadBytes(PageFiles.value(page)));
        // A save as this editor makes it: a new file renamed over the old.
        if (history == "second copy") {
            WriteBytes(path + ".new", ChangedByHand(page, ReadBytes(path)));
            std::rename(qPrintable(path + ".new"), qPrintable(path));
        }
        // With no edit pending, the trigger shows the change.
        if (history.endsWith("shown") || history.endsWith("replaced") || history == "second copy")
            RunTrigger(page);
        // An edit the key takes back with the rest.
        if (history != "unchanged")
            EditAsTheUser(page);
        return path;
    }

    // The history the window's start opens, each test's own.
    std::unique_ptr<QTemporaryDir> state;

    void OpenHistory()
    {
        state = std::make_unique<QTemporaryDir>();
        qputenv("XDG_STATE_HOME", QFile::encodeName(state->path()));
        program->windows.OpenHistory();
    }

    HistoryRecorder& History() { return program->windows.History(); }

    std::vector<StoredVersion> VersionsOf(const QString& path)
    {
        return History().Store()->Versions(QDir::currentPath(), path);
    }

    QStringList MakersOf(const QString& path)
    {
        QStringList makers;
        for (const StoredVersion& version : VersionsOf(path))
            makers << DescriptionOf(version.maker);
        return makers;
    }

    void ShowPage(const QString& page)
    {
        form->PageControl->setCurrentWidget(
            page == "bot.cfg" ? form->BotConfigEditor
                              : page == "chat" ? form->ChatTab : form->PersonalityTab);
    }

    THistoryForm& HistoryWindowOf(const QString& page)
    {
        ShowPage(page);
        form->ShowFileHistory();
        return *form->findChild<THistoryForm*>();
    }

    // The folder of last time goes here, not into the user's configuration.
    QTemporaryDir configuration;

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configuration.path()));
        PrepareApplication();
    }

    void init()
    {
        StartInSampleGame();
        chatHelp = ChatHelpForm;
        personalityHelp = PersonalityHelpForm;
    }

    void cleanup() { Stop(); }

    void programStartNamesTheProgramAndCreatesItsWindows()
    {
        QCOMPARE(QApplication::applicationName(), QString("Tavrik Control Centre"));
        QCOMPARE(QGuiApplication::desktopFileName(), QString("org.tavrik.ControlCentre"));
        QVERIFY(!QApplication::windowIcon().isNull());
        QVERIFY(form != nullptr && chatHelp != nullptr && personalityHelp != nullptr);
        QVERIFY(!form->isVisible());
        QVERIFY(!chatHelp->isVisible());
        QVERIFY(!personalityHelp->isVisible());
        program.reset();
        QVERIFY(MainForm == nullptr && ChatHelpForm == nullptr && PersonalityHelpForm == nullptr);
    }

    void frameOfTheMainWindow()
    {
        QCOMPARE(form->windowTitle(), QString("Tavrik Control Centre v1.0"));
        QCOMPARE(form->minimumSize(), QSize(607, 448));
        QCOMPARE(form->maximumSize(), QSize(607, 448));
        const Qt::WindowFlags flags = form->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(form->font().pixelSize(), 11);
    }

    void iconComesInBothSizes()
    {
        const QList<QSize> sizes = ProgramIcon().availableSizes();
        QVERIFY(sizes.contains(QSize(16, 16)));
        QVERIFY(sizes.contains(QSize(32, 32)));
        QVERIFY(!ProgramIcon().pixmap(16, 16).isNull());
    }

    void controlsOfTheFrame_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<int>("pixelSize");
        QTest::newRow("banner") << "Label2" << QRect(6, 7, 281, 20) << 16;
        QTest::newRow("mod label") << "ModToEditLabel" << QRect(340, 9, 74, 16) << 13;
        QTest::newRow("mod selector") << "ModToEditComboBox" << QRect(425, 4, 176, 21) << 11;
        QTest::newRow("pages") << "PageControl" << QRect(3, 34, 604, 414) << 11;
    }

    void controlsOfTheFrame()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(int, pixelSize);
        auto* control = form->findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), geometry);
        QCOMPARE(control->font().pixelSize(), pixelSize);
        QCOMPARE(control->parentWidget(), form);
    }

    void captionsAndEntries()
    {
        QCOMPARE(form->Label2->text(), QString("Tavrik Control Centre"));
        QCOMPARE(form->ModToEditLabel->text(), QString("Which Mod?"));
        QStringList mods;
        for (int index = 0; index < form->ModToEditComboBox->count(); ++index)
            mods << form->ModToEditComboBox->itemText(index);
        QCOMPARE(mods, (QStringList{"Counter-Strike", "Half-Life: Death Match",
                                    "Half-Life: Opposing Force", "Team Fortress",
                                    "Front Line Force"}));
        QCOMPARE(form->PageControl->count(), 3);
        QCOMPARE(form->PageControl->tabText(0), QString("Personality Editor"));
        QCOMPARE(form->PageControl->tabText(1), QString("Chat Editor"));
        QCOMPARE(form->PageControl->tabText(2), QString("Bot.cfg Editor"));
        QCOMPARE(form->PageControl->widget(0), form->PersonalityTab);
        QCOMPARE(form->PageControl->widget(1), form->ChatTab);
        QCOMPARE(form->PageControl->widget(2), form->BotConfigEditor);
    }

    void firstShowingCentresThePersonalityPageWithTheModSelectorFocused()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QCOMPARE(form->PageControl->currentWidget(), form->PersonalityTab);
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused == form->ModToEditComboBox
                || focused == form->ModToEditComboBox->lineEdit());
        const QPoint screenCentre = form->screen()->availableGeometry().center();
        QVERIFY((form->frameGeometry().center() - screenCentre).manhattanLength() <= 2);

        // Moved by the user, it stays where it was put when shown again.
        form->move(10, 20);
        form->hide();
        form->show();
        QCOMPARE(form->pos(), QPoint(10, 20));
    }

    // Each page loads on its own: one whose file fails shows its box, and
    // the pages after it still load.
    void startUpSelectsCounterStrikeAndNewRound_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("every page loads") << "" << QStringList();
        QTest::newRow("personality, a value no number")
            << "personality" << QStringList("error: 'fast' is not a valid integer value.\n"
                                            "cstrike/bot1/personality.txt");
        // The roster meets it too, and the bot.cfg page does not load.
        QTest::newRow("personality that cannot be examined")
            << "personality loop" << QStringList("error: I/O error 40.\ncstrike/bot1/personality.txt");
        QTest::newRow("a personality of the roster that cannot be examined")
            << "roster loop" << QStringList("error: I/O error 40.\ncstrike/bot3/personality.txt");
        QTest::newRow("bot.cfg") << "bot.cfg" << QStringList("error: 'many' is not a valid integer "
                                                             "value.\ncstrike/bot.cfg, line 1: \"disco many\"");
        QTest::newRow("chat list") << "chat" << QStringList("error: cstrike/chat/newround.txt is a "
                                                            "folder, not a file the editor can read.");
    }

    void startUpSelectsCounterStrikeAndNewRound()
    {
        QFETCH(QString, failing);
        QFETCH(QStringList, boxes);
        program.reset();
        if (failing == "personality") {
            WriteBytes("cstrike/bot1/personality.txt", "Kestrel\r\nfast\r\n");
        } else if (failing.endsWith(" loop")) {
            const QString path = failing == "roster loop" ? "cstrike/bot3/personality.txt"
                                                          : "cstrike/bot1/personality.txt";
            QVERIFY(QFile::remove(path));
            QVERIFY(QFile::link("personality.txt", path));
        } else if (failing == "bot.cfg") {
            WriteBytes("cstrike/bot.cfg", "disco many\r\n" + ReadBytes("cstrike/bot.cfg"));
        } else if (failing == "chat") {
            QVERIFY(QFile::remove("cstrike/chat/newround.txt"));
            QVERIFY(QDir().mkdir("cstrike/chat/newround.txt"));
        }
        Start();
        QCOMPARE(seam->boxes, boxes);
        QCOMPARE(form->ModFolder, QString("cstrike"));
        QCOMPARE(form->ModToEditComboBox->SelectedIndex(), 0);
        QCOMPARE(form->ModToEditComboBox->Text(), QString("Counter-Strike"));
        QCOMPARE(form->ChatTypeComboBox->SelectedIndex(), 0);
        QCOMPARE(form->ChatTypeComboBox->Text(), QString("New Round"));
        // The second load replaced "Any" with the team of the file.
        QCOMPARE(form->PreferredTeamComboBox->SelectedIndex(), failing.startsWith("personality") ? 2 : 0);
        QCOMPARE(form->Name->Text(), QString(failing == "personality loop" ? "default" : "Kestrel"));
        QCOMPARE(form->CurrentPersonalityNumber->text(), QString("1"));
        QCOMPARE(form->MaxBots->Text(), QString(failing.endsWith(" loop") || failing == "bot.cfg" ? "1" : "10"));
        QCOMPARE(form->ChatEditMemo->Text().startsWith("Alright"), failing != "chat");
        // A page read in part is signed from the start on, and so is bot.cfg
        // when it was not read after its roster stopped.
        QCOMPARE(form->PageControl->tabText(0).endsWith(" (not saved)"), failing == "personality");
        QCOMPARE(form->PageControl->tabText(1).endsWith(" (not saved)"), failing == "chat");
        QCOMPARE(form->PageControl->tabText(2).endsWith(" (not saved)"),
                 failing == "bot.cfg" || failing.endsWith(" loop"));
        // The movements that read the roster and bot.cfg again say no more.
        Guarded([this] { form->PersonalityTabMouseMove(); });
        QCOMPARE(seam->boxes, boxes);
    }

    void modChangeResetsNumberAndChatKind_data()
    {
        QTest::addColumn<int>("mod");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("firstName");
        QTest::addColumn<bool>("typed");
        QTest::newRow("valve") << 1 << "valve" << "Tripmine" << false;
        QTest::newRow("opfor") << 2 << "opfor" << "Gruntling" << false;
        QTest::newRow("tfc") << 3 << "tfc" << "Wrench" << false;
        QTest::newRow("flf") << 4 << "flf" << "Foxhole" << false;
        QTest::newRow("tfc, its name typed") << 3 << "tfc" << "Wrench" << true;
    }

    void modChangeResetsNumberAndChatKind()
    {
        QFETCH(int, mod);
        QFETCH(QString, folder);
        QFETCH(QString, firstName);
        QFETCH(bool, typed);
        form->CurrentPersonalityNumber->SetValue(3);
        form->ChatTypeComboBox->SetSelectedIndex(9);
        form->PreferredTeamComboBox->SetSelectedIndex(0);
        if (typed) {
            form->ModToEditComboBox->lineEdit()->selectAll();
            QTest::keyClicks(form->ModToEditComboBox->lineEdit(),
                             form->ModToEditComboBox->itemText(mod));
        } else {
            PickWithKeyboard(*form->ModToEditComboBox, mod);
        }
        QCOMPARE(form->ModFolder, folder);
        QCOMPARE(form->ModToEditComboBox->SelectedIndex(), mod);
        QCOMPARE(form->CurrentPersonalityNumber->text(), QString("1"));
        QCOMPARE(form->ChatTypeComboBox->SelectedIndex(), 0);
        // The preferred team is left to the personality load: "5" is "Any".
        QCOMPARE(form->PreferredTeamComboBox->SelectedIndex(), 2);
        QCOMPARE(form->Name->Text(), firstName);
        QVERIFY(seam->boxes.isEmpty());
    }

    void typingIntoTheModSelectorKeepsTheMod()
    {
        PickWithKeyboard(*form->ModToEditComboBox, 3);
        form->CurrentPersonalityNumber->SetValue(5);
        QTest::keyClicks(form->ModToEditComboBox->lineEdit(), "x");
        QCOMPARE(form->ModToEditComboBox->SelectedIndex(), -1);
        QCOMPARE(form->ModFolder, QString("tfc"));
        QCOMPARE(form->CurrentPersonalityNumber->text(), QString("1"));
    }

    // The page keys turn the pages from every kind of control, the mod
    // selector and the chat text included, and type nothing.
    void pageKeysWorkFromEveryControl_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("page");
        const int ctrl = Qt::ControlModifier;
        QTest::newRow("mod selector, Ctrl+Tab")
            << "ModToEditComboBox" << int(Qt::Key_Tab) << ctrl << 1;
        QTest::newRow("mod selector, Ctrl+Shift+Tab")
            << "ModToEditComboBox" << int(Qt::Key_Backtab) << int(ctrl | Qt::ShiftModifier) << 2;
        QTest::newRow("number field, Ctrl+PgDn")
            << "CurrentPersonalityNumber" << int(Qt::Key_PageDown) << ctrl << 1;
        QTest::newRow("number field, Ctrl+PgUp")
            << "CurrentPersonalityNumber" << int(Qt::Key_PageUp) << ctrl << 2;
        QTest::newRow("chat text, Ctrl+PgUp") << "ChatEditMemo" << int(Qt::Key_PageUp) << ctrl << 0;
        QTest::newRow("roster, Ctrl+PgDn") << "BotCheckList" << int(Qt::Key_PageDown) << ctrl << 0;
    }

    void pageKeysWorkFromEveryControl()
    {
        QFETCH(QString, control);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, page);
        auto* focused = form->findChild<QWidget*>(control);
        QVERIFY(focused);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form));
        if (control == "ChatEditMemo" || control == "BotCheckList")
            form->PageControl->setCurrentWidget(focused->parentWidget());
        focused->setFocus();
        QWidget* receiver = QApplication::focusWidget();
        const QString chat = form->ChatEditMemo->Text();
        QTest::keyClick(receiver, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(form->PageControl->currentIndex(), page);
        QCOMPARE(form->ChatEditMemo->Text(), chat);
    }

    // Each moment that replaces a page's controls, or ends them, comes after
    // the page's edit is saved into the file the page held. When another
    // program changed that file, and the trigger's save asked and was told
    // to wait, the moment asks again; deciding later keeps the choice shown.
    // A file with LF line ends keeps them with the edit.
    void pendingEditIsSavedFirst_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("moment");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QByteArray>("lineEnd");
        const auto row = [](const char* page, const char* moment, int answer = -1,
                            const QByteArray& lineEnd = "\r\n") {
            QTest::addRow("%s, %s%s%s", page, moment,
                          answer == KeepMyEdit    ? ", changed elsewhere, keep my edit"
                          : answer == LoadTheFile ? ", changed elsewhere, load the file"
                          : answer == DecideLater ? ", changed elsewhere, decide later"
                                                  : "",
                          lineEnd == "\n" ? ", LF lines" : "")
                << page << moment << answer << lineEnd;
        };
        row("personality", "number");
        row("bot.cfg", "number");
        row("personality", "mod");
        row("chat", "mod");
        row("bot.cfg", "mod");
        row("chat", "chat kind");
        row("bot.cfg", "personality save");
        row("personality", "close");
        row("chat", "close");
        row("bot.cfg", "close");
        row("screen reader", "close");
        // One step right after the load.
        row("arrow key", "close");
        row("personality", "number", -1, "\n");
        row("chat", "chat kind", -1, "\n");
        row("bot.cfg", "close", -1, "\n");
        for (const auto& [page, moment] : {std::pair{"personality", "number"}, {"bot.cfg", "mod"},
                                           {"chat", "chat kind"}}) {
            for (int answer : {int(KeepMyEdit), int(LoadTheFile), int(DecideLater)})
                row(page, moment, answer);
        }
        // The editor in a process of its own, ended by the signal.
        row("personality", "SIGTERM");
        row("chat", "SIGTERM");
        row("bot.cfg", "SIGTERM");
        row("chat", "SIGHUP");
        row("screen reader", "SIGINT");
    }

    void pendingEditIsSavedFirst()
    {
        QFETCH(QString, page);
        QFETCH(QString, moment);
        QFETCH(int, answer);
        QFETCH(QByteArray, lineEnd);
        if (lineEnd == "\n")
            RestartWithLinuxLines();
        const int tab = page == "chat" ? 1 : page == "bot.cfg" ? 2 : 0;
        if (moment.startsWith("SIG")) {
            EndAnotherCopyWithAnEditBy(page, moment);
        } else {
            EditAsTheUser(page);
            // The tab marks the edit until it is saved.
            QVERIFY(form->PageControl->tabText(tab).endsWith(" *"));
        }
        const QString path = PageFiles.value(page);
        const QByteArray other = ChangedByHand(page, ReadBytes(path));
        if (answer >= 0) {
            WriteBytes(path, other);
            RunTrigger(page);
            seam->choiceGiven = answer;
        }
        if (moment == "number")
            QTest::keyClick(form->CurrentPersonalityNumber, Qt::Key_Up);
        else if (moment == "mod")
            PickWithKeyboard(*form->ModToEditComboBox, 1);
        else if (moment == "chat kind")
            PickWithKeyboard(*form->ChatTypeComboBox, 1);
        else if (moment == "personality save")
            RunTrigger("personality");
        else if (moment == "close")
            QVERIFY(form->close());
        QCOMPARE(FileHoldsTheEdit(page, lineEnd), answer < 0 || answer == KeepMyEdit);
        QCOMPARE(seam->boxes.size(), answer < 0 ? 0 : 2);
        QCOMPARE(form->PageControl->tabText(tab).contains(" *"), answer == DecideLater);
        if (answer < 0)
            return;
        QCOMPARE(seam->boxes.at(0), seam->boxes.at(1));
        QCOMPARE(ReadBytes(path) == other, answer != KeepMyEdit);
        const bool stays = answer == DecideLater;
        QCOMPARE(form->CurrentPersonalityNumber->Value(), moment == "number" && !stays ? 2 : 1);
        QCOMPARE(form->ModFolder, moment == "mod" && !stays ? "valve" : "cstrike");
        QCOMPARE(form->ModToEditComboBox->SelectedIndex(), moment == "mod" && !stays ? 1 : 0);
        QCOMPARE(form->ChatTypeComboBox->SelectedIndex(), moment == "chat kind" && !stays ? 1 : 0);
        QCOMPARE(GuardOf(page).HasUserEdits(), stays);
    }

    // Another program changed bot.cfg, or the mod's folder went away, before
    // the window closes. A question whose default would lose the edit is
    // asked with the careful answer as its default.
    void closeAsksOnlyWhenAnEditCannotBeSaved_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("situation");
        QTest::addColumn<bool>("closeAnyway");
        QTest::newRow("nothing pending") << "" << "changed" << false;
        // The pages hold no file; what they show is no edit of the user's.
        QTest::newRow("started in an empty folder") << "" << "empty folder" << false;
        QTest::newRow("an edit undone") << "bot.cfg" << "undone" << false;
        QTest::newRow("decide later") << "bot.cfg" << "changed" << false;
        for (const char* page : {"personality", "chat", "bot.cfg"})
            QTest::addRow("%s, go back", page) << page << "folder gone" << false;
        QTest::newRow("bot.cfg, close anyway") << "bot.cfg" << "folder gone" << true;
        // One question names every page whose edit closing would lose.
        QTest::newRow("two pages, close anyway") << "chat+personality" << "folder gone" << true;
        QTest::newRow("three pages, go back") << "bot.cfg+chat+personality" << "folder gone" << false;
        // Going back from the load keeps the edit for the close to ask about.
        QTest::newRow("personality, a number first") << "personality" << "number first" << false;
        // A page given up for the load keeps its edit when a later one goes back.
        QTest::newRow("bot.cfg given up, a number first") << "bot.cfg+personality" << "later goes back" << false;
        // Nobody answers: standard error says what was not saved.
        QTest::newRow("bot.cfg, session end") << "bot.cfg" << "session end" << false;
        // F5 drops the edit even when the file it asks for cannot be read.
        QTest::newRow("bot.cfg, F5 fails") << "bot.cfg" << "F5 fails" << false;
    }

    void closeAsksOnlyWhenAnEditCannotBeSaved()
    {
        QFETCH(QString, page);
        QFETCH(QString, situation);
        QFETCH(bool, closeAnyway);
        if (situation == "empty folder") {
            Stop();
            game = std::make_unique<ScratchGameFolder>();
            Start();
            seam->boxes.clear();
        }
        const QStringList pages = page.split('+', Qt::SkipEmptyParts);
        for (const QString& edited : pages)
            EditAsTheUser(edited);
        if (situation == "undone")
            EditAsTheUser(page);
        if (situation == "later goes back") {
            // bot.cfg, asked first, cannot be written: Load Anyway; another
            // program changed the personality: Decide Later, and nothing loads.
            QVERIFY(QFile::remove("cstrike/bot.cfg"));
            QVERIFY(QDir().mkdir("cstrike/bot.cfg"));
            const QString personality = PageFiles.value("personality");
            WriteBytes(personality, ChangedByHand("personality", ReadBytes(personality)));
            seam->firstAnswerGiven = true;
            QTest::keyClick(form->CurrentPersonalityNumber, Qt::Key_Up);
            QCOMPARE(form->CurrentPersonalityNumber->Value(), 1);
            QCOMPARE(seam->boxes.size(), 3);
            QVERIFY2(seam->boxes.at(1).startsWith("question: The changes on the page \"Bot.cfg Editor\""),
                     qPrintable(seam->boxes.at(1)));
            QCOMPARE(seam->boxes.at(2), ConflictQuestion(personality));
            QVERIFY(form->DiscoModeCheckBox->Checked());
            QVERIFY(GuardOf("bot.cfg").HasUserEdits());
            QCOMPARE(form->PageControl->tabText(2), QString("Bot.cfg Editor *"));
            return;
        }
        const bool gone = situation.endsWith("first") || situation == "folder gone";
        const bool reloadFails = situation == "F5 fails";
        const QByteArray otherBotConfig = reloadFails ? "disco lots\r\n" : "max_bots 12\r\n";
        if (!gone)
            WriteBytes("cstrike/bot.cfg", otherBotConfig);
        else if (situation == "number first")  // the number then chosen has its file
            QVERIFY(QDir().rename("cstrike/bot1", "cstrike/bot1-away"));
        else
            QVERIFY(QDir().rename("cstrike", "cstrike-away"));
        QStringList captions;
        for (const QString& edited : pages)
            captions << '"' + QString(edited == "personality" ? "Personality Editor"
                                      : edited == "chat"      ? "Chat Editor"
                                                              : "Bot.cfg Editor") + '"';
        const QString caption = captions.size() < 2 ? "page " + captions.value(0)
                                                    : "pages " + captions.mid(0, captions.size() - 1).join(", ")
                                                          + " and " + captions.last();
        const QString question("question: The changes on the %1 could not be saved. %2|Go Back]");
        QStringList boxes;
        if (reloadFails) {
            form->PageControl->setCurrentWidget(form->BotConfigEditor);
            Guarded([this] { form->ReloadShownPage(); });
            boxes << "error: 'lots' is not a valid integer value.\ncstrike/bot.cfg, line 1: \"disco lots\"";
            // No edit is left, and the page tells that it is not the file.
            QCOMPARE(form->PageControl->tabText(2), "Bot.cfg Editor (not saved)");
        }
        if (situation == "number first") {
            QTest::keyClick(form->CurrentPersonalityNumber, Qt::Key_Up);
            QCOMPARE(form->CurrentPersonalityNumber->Value(), 1);
            boxes << seam->boxes.first() << question.arg(caption, "Load anyway and lose them, or go back to them? [Load Anyway");
        }
        seam->firstAnswerGiven = closeAnyway;
        std::ostringstream said;
        if (situation == "session end") {
            std::streambuf* const standardError = std::cerr.rdbuf(said.rdbuf());
            form->SaveAtSessionEnd();
            std::cerr.rdbuf(standardError);
        } else {
            QCOMPARE(form->close(), page.isEmpty() || situation == "undone" || reloadFails || closeAnyway);
        }
        if (situation == "changed" && !page.isEmpty())
            boxes << ConflictQuestion("cstrike/bot.cfg");
        if (gone) {
            for (const QString& edited : pages)
                boxes << "error: Invalid filename.\n" + PageFiles.value(edited);
            boxes << question.arg(caption, "Close anyway and lose them, or go back to the window? [Close Anyway");
        }
        QCOMPARE(seam->boxes, boxes);
        QCOMPARE(QString::fromStdString(said.str()),
                 situation == "session end"
                     ? "tavrik-control-centre: cstrike/bot.cfg was changed by another program "
                       "after the page read it, and that change was kept: the changes on the page "
                       "\"Bot.cfg Editor\" were not saved into it\n"
                     : QString());
        if (!gone)
            QCOMPARE(ReadBytes("cstrike/bot.cfg"), otherBotConfig);
        for (const QString& edited : pages.isEmpty() ? QStringList{""} : pages)
            QCOMPARE(GuardOf(edited).HasUserEdits(),
                     !page.isEmpty() && situation != "undone" && !reloadFails);
    }

    // Ctrl+O leaves the folder as closing would, and the editor starts
    // anew in the game folder chosen, which holds no cstrike; a mod folder
    // chosen stands for the game folder above it. The banner names the game
    // folder, and Qt's file dialog keeps nothing of its own.
    void openKeyGoesOnInAnotherGameFolder_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("firstChoice");
        QTest::newRow("nothing pending") << "" << "";
        QTest::newRow("pending edit") << "saved" << "";
        QTest::newRow("pending edit that cannot be saved, go back") << "refused" << "";
        QTest::newRow("no game folder chosen first") << "" << "no game";
        QTest::newRow("its mod folder chosen") << "" << "mod folder";
    }

    void openKeyGoesOnInAnotherGameFolder()
    {
        QFETCH(QString, edit);
        QFETCH(QString, firstChoice);
        const bool wrongFolderFirst = firstChoice == "no game";
        // The handler the editor's window leaves for SIGTERM.
        struct sigaction caught {};
        QCOMPARE(::sigaction(SIGTERM, nullptr, &caught), 0);
        const QString first = QDir::currentPath();
        const auto other = ScratchGameFolder::WithSampleMods();
        for (const char* mod : {"cstrike", "opfor", "tfc", "flf"})
            QVERIFY(QDir(other->Path() + "/" + mod).removeRecursively());
        QTemporaryDir noGame;
        QVERIFY(QDir::setCurrent(first));
        if (!edit.isEmpty())
            EditAsTheUser(edit == "saved" ? "personality" : "bot.cfg");
        if (edit == "refused")
            WriteBytes("cstrike/bot.cfg", "max_bots 12\r\n");
        form->move(40, 50);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QStringList folders{other->Path() + (firstChoice == "mod folder" ? "/valve" : "")};
        if (wrongFolderFirst)
            folders.prepend(noGame.path());
        // Each chooser that shows is answered with the next folder; one more
        // is cancelled, and counted.
        qsizetype shown = 0;
        QStringList lines;
        QTimer chooserAnswers;
        connect(&chooserAnswers, &QTimer::timeout, this, [&folders, &shown, &lines] {
            auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!chooser || !chooser->isVisible())
                return;
            if (shown++ == folders.size()) {
                chooser->reject();
                return;
            }
            for (const QLabel* label : chooser->findChildren<QLabel*>())
                lines << label->text();
            chooser->setDirectory(folders.at(shown - 1));
            static_cast<QDialog*>(chooser)->accept();
        });
        chooserAnswers.start(20);
        QTest::keyClick(form->Name, Qt::Key_O, Qt::ControlModifier);

        const bool goesOn = edit != "refused";
        QCOMPARE(shown, goesOn ? folders.size() : 0);
        QCOMPARE(MainForm != form, goesOn);
        QCOMPARE(QDir::currentPath(), goesOn ? other->Path() : first);
        if (edit == "saved")
            QVERIFY(ReadBytes(first + "/cstrike/bot1/personality.txt").startsWith("Kestrelx\r\n"));
        if (wrongFolderFirst)
            QCOMPARE(seam->boxes, QStringList{"error: " + NotAGameFolder(noGame.path()) + "."});
        // The chooser says when Steam's libraries hold no Half-Life.
        const bool noneFound = SteamGameFolders(QDir::homePath()).isEmpty();
        QCOMPARE(lines.filter("No Half-Life folder was found in Steam's libraries.").size(),
                 noneFound ? shown : 0);
        QStringList settings =
            QDir(configuration.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        settings.removeOne("tavrik-control-centre");
        QCOMPARE(settings, QStringList{});
        if (!goesOn)
            return;
        QVERIFY(!form->isVisible());
        QCOMPARE(form->Label2->toolTip(), "Game folder: " + first);
        QCOMPARE(MainForm->Label2->toolTip(), "Game folder: " + other->Path());
        const auto* banner = QAccessible::queryAccessibleInterface(MainForm->Label2);
        QCOMPARE(banner->text(QAccessible::Description), "Game folder: " + other->Path());
        QCOMPARE(MainForm->pos(), QPoint(40, 50));
        QCOMPARE(MainForm->ModFolder, QString("valve"));
        QCOMPARE(MainForm->ModToEditComboBox->Text(), QString("Half-Life: Death Match"));
        QCOMPARE(MainForm->Name->Text(), QString("Tripmine"));
        QCOMPARE(FolderOfLastTime(), std::optional<QString>(other->Path()));
        // Going on again destroys the first window; the end of the session
        // still reaches the window of the moment.
        folders << first;
        QVERIFY(QTest::qWaitForWindowActive(MainForm));
        QTest::keyClick(MainForm->Name, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(QDir::currentPath(), first);
        struct sigaction terminate {};
        QCOMPARE(::sigaction(SIGTERM, nullptr, &terminate), 0);
        QVERIFY(terminate.sa_handler == caught.sa_handler);
    }

    // The roster read after a pending personality's save belongs to no save:
    // its failure is shown as it is, and the saved edit is not taken for one
    // that could not be saved.
    void aRosterFailureAfterAPendingSaveAsksNothing()
    {
        QFile::remove("cstrike/bot2/personality.txt");
        QVERIFY(QFile::link("personality.txt", "cstrike/bot2/personality.txt"));
        EditAsTheUser("personality");
        QVERIFY(form->close());
        QVERIFY(FileHoldsTheEdit("personality"));
        QCOMPARE(seam->boxes, QStringList("error: I/O error 40.\ncstrike/bot2/personality.txt"));
    }

    // Ctrl+Shift+R, pressed in one of the page's fields, puts the file back
    // as this run first read it (no file, where this run created it), and
    // the page shows it with no edit pending. Another program's change stays.
    void putBackKeyRestoresTheFirstReading_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("history");
        QTest::addColumn<bool>("putBack");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QStringList>("boxes");
        const QString question = "confirm: Put %1 back as it was at %2? [Put Back|Cancel]";
        // A file this run created goes, with the folder made for it.
        const QString removal = "confirm: Remove %1, which this editor created at %2? [Remove|Cancel]";
        const QString withFolder = "confirm: Remove %1 and its folder %3, which this editor created "
                                   "at %2? [Remove|Cancel]";
        const QString refusal = "error: %1 was not put back: another program changed it after "
                                "this editor saved it. The page shows it as it now is.";
        for (const char* page : {"personality", "chat", "bot.cfg"}) {
            const auto row = [page](const char* history, bool putBack, const char* result,
                                    const QStringList& boxes) {
                QTest::addRow("%s, %s%s", page, history, putBack ? "" : ", cancel")
                    << page << history << putBack << result << boxes;
            };
            row("saved", true, "first", {question});
            row("saved", false, "as before", {question});
            row("saved several times", true, "first", {question});
            row("created", true, "none", {QString(page) == "personality" ? withFolder : removal});
            row("edit pending", true, "first", {question});
            row("changed elsewhere", true, "as before", {question, refusal});
            row("changed elsewhere and shown", true, "as before", {question, refusal});
        }
        QTest::newRow("bot.cfg, second copy") << "bot.cfg" << "second copy" << true << "as before"
                                              << QStringList{question, refusal};
        QTest::newRow("personality, created, replaced")
            << "personality" << "created, replaced" << true << "as before" << QStringList{withFolder, refusal};
        QTest::newRow("personality, created above a gap")
            << "personality" << "created above a gap" << true << "none" << QStringList{withFolder};
        QTest::newRow("personality, created in the user's own folder")
            << "personality" << "created in the user's own folder" << true << "none" << QStringList{removal};
        QTest::newRow("chat, unchanged")
            << "chat" << "unchanged" << true << "first"
            << QStringList{"notice: %1 is as it was at %2; there is nothing to put back."};
        // Start-up created it; the page would create it again.
        QTest::newRow("personality, created first")
            << "personality" << "created first" << true << "as before"
            << QStringList{"notice: %1 did not exist at %2, but the page needs a first "
                           "personality to show, so it stays."};
        QTest::newRow("bot.cfg, changed elsewhere only")
            << "bot.cfg" << "changed elsewhere only" << true << "as before"
            << QStringList{"notice: This editor has not changed %1; what other programs change "
                           "is not put back."};
    }

    void putBackKeyRestoresTheFirstReading()
    {
        QFETCH(QString, page);
        QFETCH(QString, history);
        QFETCH(bool, putBack);
        QFETCH(QString, result);
        QFETCH(QStringList, boxes);
        const QByteArray first = ReadBytes(PageFiles.value(page));
        const QString path = MakeHistory(page, history);
        const QByteArray before = ReadBytes(path);
        seam->firstAnswerGiven = putBack;
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QWidget* field = page == "personality" ? form->Name
                         : page == "chat"      ? static_cast<QWidget*>(form->ChatEditMemo)
                                               : form->MinBots;
        form->PageControl->setCurrentWidget(field->parentWidget());
        QTest::keyPress(field, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);

        const QTime readAt = FirstReadingOf(path)->readAt;
        for (QString& box : boxes)
            box.replace("%1", path).replace("%2", readAt.toString("HH:mm")).replace("%3", QFileInfo(path).path());
        QCOMPARE(seam->boxes, boxes);
        const QByteArray expected = result == "first" ? first : before;
        QCOMPARE(QFile::exists(path), result != "none");
        if (result != "none")
            QCOMPARE(ReadBytes(path), expected);
        if (path.contains("bot6") || path.contains("bot9"))
            QCOMPARE(QFileInfo::exists(QFileInfo(path).path()), result != "none" || history.endsWith("own folder"));
        const SaveGuard& guard = GuardOf(page);
        // An edit stays where the key takes nothing back.
        QCOMPARE(guard.HasUserEdits(),
                 history != "unchanged" && (!putBack || boxes.first().startsWith("notice")));
        // The page loaded the file: its trigger writes nothing new.
        if (putBack && result != "none" && boxes.first().startsWith("confirm")) {
            RunTrigger(page);
            QCOMPARE(ReadBytes(path), expected);
        }
        // A line typed and deleted again does not create the list removed.
        if (result == "none" && page == "chat") {
            QTest::keyPress(form->ChatEditMemo, Qt::Key_X);
            QTest::keyPress(form->ChatEditMemo, Qt::Key_Backspace);
            RunTrigger(page);
            QVERIFY(!QFile::exists(path));
        }
        // The page shows the number shown before, and creates no other.
        if (result == "none" && page == "personality") {
            RunTrigger(page);
            QCOMPARE(form->CurrentPersonalityNumber->Value(), 1);
            QCOMPARE(form->Name->Text(), "Kestrel");
            QVERIFY(!QFile::exists(path));
            QCOMPARE(QDir("cstrike").entryList({"bot*"}, QDir::Dirs).size(), history.endsWith("own folder") ? 6 : 5);
        }
    }

    // Another program changes the page's file: by hand, or a second copy of
    // the editor saving the way this one does. A trigger then shows the
    // file, or, while the user's edit is on the page, asks once which of the
    // two stays: by default neither is lost and F5 shows the file.
    void anotherProgramsChangeSurvives_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("pending");
        QTest::addColumn<bool>("secondCopy");
        QTest::addColumn<int>("answer");
        for (const char* page : {"personality", "chat", "bot.cfg"}) {
            QTest::addRow("%s", page) << page << false << false << int(DecideLater);
            QTest::addRow("%s, pending edit", page) << page << true << false << int(DecideLater);
            QTest::addRow("%s, pending edit, keep my edit", page) << page << true << false << int(KeepMyEdit);
            QTest::addRow("%s, pending edit, load the file", page) << page << true << false << int(LoadTheFile);
        }
        QTest::newRow("bot.cfg, second copy") << "bot.cfg" << false << true << int(DecideLater);
        QTest::newRow("personality, second copy, pending edit") << "personality" << true << true << int(DecideLater);
        // Not in the page's own form, so its content differs from the page's.
        QTest::newRow("bot.cfg with a comment of its own")
            << "bot.cfg commented" << false << false << int(DecideLater);
        // Changed once more while the user answers: asked again, then written.
        QTest::newRow("chat, pending edit, keep my edit, changed again")
            << "chat changed again" << true << false << int(KeepMyEdit);
        // The other program wrote the list with LF alone: so is the kept edit.
        QTest::newRow("chat, pending edit, keep my edit, LF lines")
            << "chat LF lines" << true << false << int(KeepMyEdit);
        // The other copy made the change the user keeps: made once.
        QTest::newRow("bot.cfg, pending edit, keep my edit, the same change")
            << "bot.cfg same change" << true << true << int(KeepMyEdit);
    }

    void anotherProgramsChangeSurvives()
    {
        QFETCH(QString, page);
        QFETCH(bool, pending);
        QFETCH(bool, secondCopy);
        QFETCH(int, answer);
        const bool commented = page.endsWith(" commented");
        const bool changedAgain = page.endsWith(" changed again");
        const bool sameChange = page.endsWith(" same change");
        const bool linuxLines = page.endsWith(" LF lines");
        page.remove(" commented").remove(" changed again").remove(" same change").remove(" LF lines");
        const QString path = PageFiles.value(page);
        if (commented) {
            WriteBytes(path, "# kept by hand\r\n" + ReadBytes(path));
            Guarded([this] { form->LoadBotConfig(); });
        }
        QByteArray other = ChangedByHand(page, ReadBytes(path));
        if (sameChange)
            other.replace("loadbot 5\r\n", "loadbot 5\r\ndisco 1\r\n");
        if (linuxLines)
            other.replace("\r\n", "\n");
        // Courage, which the user leaves alone: the page shows the other
        // program's value only once it has loaded the file.
        if (page == "personality") {
            QList<QByteArray> lines = other.split('\n');
            lines[10] = "77\r";
            other = lines.join('\n');
        }
        if (secondCopy)
            RunTrigger(page);
        if (pending)
            EditAsTheUser(page);
        if (secondCopy) {
            LineFile file = CreateForWriting(path);
            WritePlainText(file, QString::fromLatin1(other));
            CloseLineFile(file);
        } else {
            WriteBytes(path, other);
        }
        seam->choiceGiven = answer;
        if (changedAgain)
            seam->whileOpen = [this, &path, &other] {
                if (seam->boxes.size() == 1)
                    WriteBytes(path, other + "Again\r\n");
            };
        RunTrigger(page);
        seam->whileOpen = nullptr;
        const bool later = pending && answer == DecideLater;
        // Asked once.
        if (later)
            RunTrigger(page);
        QCOMPARE(ReadBytes(path) == other, !pending || answer != KeepMyEdit || sameChange);
        QCOMPARE(FileHoldsTheEdit(page, linuxLines ? "\n" : "\r\n"), pending && answer == KeepMyEdit);
        QWidget* tab = page == "personality" ? form->PersonalityTab
                       : page == "chat"      ? form->ChatTab
                                             : form->BotConfigEditor;
        QCOMPARE(form->PageControl->tabText(form->PageControl->indexOf(tab)).endsWith(" (not saved)"), later);
        QCOMPARE(seam->boxes, pending ? QStringList(changedAgain ? 2 : 1, ConflictQuestion(path))
                                      : QStringList());
        if (later) {
            form->PageControl->setCurrentWidget(tab);
            Guarded([this] { form->ReloadShownPage(); });
        } else if (pending && answer == KeepMyEdit) {
            // The edit goes into the other program's file, which keeps the
            // lines of settings the user did not change.
            if (page == "bot.cfg" && !sameChange)
                QCOMPARE(ReadBytes(path),
                         QByteArray(other).replace("loadbot 5\r\n", "loadbot 5\r\ndisco 1\r\n"));
            // The page then shows that file, and the next change of a
            // setting the other program changed goes on from that program's
            // value.
            const QByteArray kept = ReadBytes(path);
            QVERIFY(!GuardOf(page).HasUserEdits());
            if (page == "personality") {
                QCOMPARE(form->Name->Text(), "Kestrelx");
                QTest::keyClick(form->Courage, Qt::Key_Up);
                RunTrigger(page);
                QCOMPARE(ReadBytes(path), QByteArray(kept).replace("\r\n77\r\n", "\r\n78\r\n"));
            } else if (page == "bot.cfg") {
                QVERIFY(form->DiscoModeCheckBox->Checked());
                QTest::keyClicks(form->MaxBots, "3");
                QCOMPARE(ReadBytes(path), QByteArray(kept).replace("max_bots 12", "max_bots 123"));
            } else {
                // The lines the other program added stay below the user's.
                QCOMPARE(kept, (linuxLines ? "x\n" : "x\r\n") + other + (changedAgain ? "Again\r\n" : ""));
                QCOMPARE(form->ChatEditMemo->Text().toLatin1(),
                         linuxLines ? QByteArray(kept).replace("\n", "\r\n") : kept);
            }
            return;
        }
        QCOMPARE(form->Name->Text(), page == "personality" ? "Kestrow" : "Kestrel");
        QVERIFY(form->ChatEditMemo->Text().endsWith(page == "chat" ? "by hand\r\n" : "there\r\n"));
        QCOMPARE(form->MaxBots->Text(), page == "bot.cfg" ? "12" : "10");
        // Shown without a box, the change is named in the title until the next edit.
        const QString title = "Tavrik Control Centre v1.0";
        QCOMPARE(form->windowTitle(),
                 pending ? title : path + " was changed elsewhere and loaded - " + title);
        // The next trigger finds nothing of the user's to write.
        RunTrigger(page);
        QCOMPARE(ReadBytes(path), other);
        EditAsTheUser(page);
        QCOMPARE(form->windowTitle(), title);
    }

    // The bot.cfg page's edit is kept into another program's change, and
    // the personality page's is left for later: nothing replaces the pages
    // after all, and the bot.cfg page shows the file its edit went into.
    void aKeptEditIsShownWhenTheLoadDoesNotRun_data()
    {
        QTest::addColumn<QString>("moment");
        for (const char* moment : {"number", "mod", "close"})
            QTest::newRow(moment) << moment;
    }

    void aKeptEditIsShownWhenTheLoadDoesNotRun()
    {
        QFETCH(QString, moment);
        for (const QString& page : {QString("bot.cfg"), QString("personality")}) {
            EditAsTheUser(page);
            WriteBytes(PageFiles.value(page), ChangedByHand(page, ReadBytes(PageFiles.value(page))));
        }
        seam->whileOpen = [this] { seam->choiceGiven = seam->boxes.size() == 1 ? KeepMyEdit : DecideLater; };
        if (moment == "number")
            QTest::keyClick(form->CurrentPersonalityNumber, Qt::Key_Up);
        else if (moment == "mod")
            PickWithKeyboard(*form->ModToEditComboBox, 1);
        else
            QVERIFY(!form->close());
        seam->whileOpen = nullptr;
        QCOMPARE(seam->boxes, (QStringList{ConflictQuestion(PageFiles.value("bot.cfg")),
                                           ConflictQuestion(PageFiles.value("personality"))}));
        QCOMPARE(form->MaxBots->Text(), "12");
        QVERIFY(form->DiscoModeCheckBox->Checked());
        QVERIFY(!GuardOf("bot.cfg").HasUserEdits());
        QCOMPARE(form->CurrentPersonalityNumber->Value(), 1);
        QCOMPARE(form->ModFolder, "cstrike");
        QCOMPARE(form->Name->Text(), "Kestrelx");
    }

    // A chat list another program changed, shown at the next key release,
    // keeps the user's place: the focus, the selection and the scroll
    // position, within the new text.
    void aReloadKeepsTheUsersPlace_data()
    {
        QTest::addColumn<QByteArray>("changed");
        QTest::addColumn<QList<int>>("placeAfter");
        QTest::newRow("lines added") << LongChatList() + "Added by hand\r\n" << QList{300, 280, 20};
        QTest::newRow("cut short") << QByteArray("One\r\n") << QList{4, 4, 0};
        // The place stays in its line, which text before it moves.
        QTest::newRow("a line before changed")
            << LongChatList().replace("Line 1\r\n", "Line 1 by hand\r\n") << QList{308, 288, 20};
        QTest::newRow("a line added before") << "Added\r\n" + LongChatList() << QList{306, 286, 20};
    }

    void aReloadKeepsTheUsersPlace()
    {
        QFETCH(QByteArray, changed);
        QFETCH(QList<int>, placeAfter);
        TextArea& chat = *form->ChatEditMemo;
        WriteBytes(PageFiles.value("chat"), LongChatList());
        Guarded([this] { form->LoadChat(); });
        form->PageControl->setCurrentWidget(form->ChatTab);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form));
        chat.setFocus();
        QTextCursor cursor(chat.document());
        cursor.setPosition(300);
        cursor.setPosition(280, QTextCursor::KeepAnchor);
        chat.setTextCursor(cursor);
        chat.verticalScrollBar()->setValue(20);
        WriteBytes(PageFiles.value("chat"), changed);
        RunTrigger("chat");
        QCOMPARE(chat.Text().toLatin1(), changed);
        QCOMPARE(QApplication::focusWidget(), &chat);
        const QList<int> place{chat.textCursor().anchor(), chat.textCursor().position(),
                               chat.verticalScrollBar()->value()};
        QCOMPARE(place, placeAfter);
    }

    // Every version of a page's file the history keeps, newest first, with
    // what made it; saves close together are one version.
    void historyKeepsEveryKindOfVersion_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("makers");
        const QString first = "first reading of a run", saved = "saved by this editor";
        for (const char* page : {"personality", "chat", "bot.cfg"}) {
            QTest::addRow("%s, read", page) << page << "" << QStringList{first};
            QTest::addRow("%s, a trigger without an edit", page) << page << "trigger" << QStringList{first};
            QTest::addRow("%s, saved twice", page) << page << "edit trigger edit trigger" << QStringList{saved, first};
            QTest::addRow("%s, changed elsewhere", page)
                << page << "elsewhere trigger" << QStringList{"changed by another program", first};
            QTest::addRow("%s, put back", page)
                << page << "edit trigger putback" << QStringList{"put back", saved, first};
        }
        QTest::newRow("personality, created and removed")
            << "personality" << "create putback" << QStringList{"removed by this editor", saved};
    }

    // The first paint waits for no database: the history opens once the
    // window has painted, and records what the start read until then.
    void historyOpensAfterTheFirstPaint()
    {
        state = std::make_unique<QTemporaryDir>();
        qputenv("XDG_STATE_HOME", QFile::encodeName(state->path()));
        program->windows.OpenHistoryAfterFirstPaint();
        QTest::qWait(50);
        QVERIFY(History().Store() == nullptr);

        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QTRY_VERIFY(History().Store() != nullptr);
        QCOMPARE(MakersOf(PageFiles.value("bot.cfg")), QStringList{DescriptionOf(VersionMaker::FirstReading)});
    }

    void historyKeepsEveryKindOfVersion()
    {
        QFETCH(QString, page);
        QFETCH(QString, steps);
        QFETCH(QStringList, makers);
        OpenHistory();
        QVERIFY(History().Unavailable().isEmpty());
        QString path = PageFiles.value(page);
        seam->firstAnswerGiven = true;
        ShowPage(page);
        for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
            if (step == "edit")
                EditAsTheUser(page);
            else if (step == "trigger")
                RunTrigger(page);
            else if (step == "elsewhere")
                WriteBytes(path, ChangedByHand(page, ReadBytes(path)));
            else if (step == "create")
                path = MakeHistory(page, "created");
            else
                form->PutBackShownPage();
        }
        QCOMPARE(MakersOf(path), makers);
        const std::optional<QByteArray> newest = VersionsOf(path).front().content;
        QCOMPARE(newest, QFile::exists(path) ? std::optional(ReadBytes(path)) : std::nullopt);
    }

    // Restore writes the version through the page's own save: the page's
    // edit is saved first, another program's change is asked about, a
    // refusal is said; the restore is itself a version.
    void restoreGoesThroughThePagesSave_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("situation");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("restored");
        QTest::addColumn<QString>("box");
        const QString question = "question: %1 was changed by another program after the page read "
                                 "it. Restore the version of %2 over that change? The change "
                                 "stays in the file's history. [Restore|Cancel]";
        for (const char* page : {"personality", "chat", "bot.cfg"}) {
            QTest::addRow("%s", page) << page << "" << true << true << "";
            // The bot.cfg page's edit toggles a box back: saved, it is the oldest version.
            if (QString(page) != "bot.cfg")
                QTest::addRow("%s, edit pending", page) << page << "edit" << true << true << "";
            QTest::addRow("%s, changed elsewhere, restore", page) << page << "elsewhere" << true << true << question;
            QTest::addRow("%s, changed elsewhere, cancel", page) << page << "elsewhere" << false << false << question;
        }
        QTest::newRow("bot.cfg, removed elsewhere") << "bot.cfg" << "removed" << true << true << question;
        QTest::newRow("personality, read-only folder")
            << "personality" << "read-only" << true << false
            << "error: %1 was not restored: it cannot be written, since the file is read-only.";
    }

    void restoreGoesThroughThePagesSave()
    {
        QFETCH(QString, page);
        QFETCH(QString, situation);
        QFETCH(bool, answer);
        QFETCH(bool, restored);
        QFETCH(QString, box);
        OpenHistory();
        const QString path = PageFiles.value(page);
        const QByteArray first = ReadBytes(path);
        EditAsTheUser(page);
        RunTrigger(page);
        if (situation == "edit")
            EditAsTheUser(page);
        if (situation == "elsewhere")
            WriteBytes(path, ChangedByHand(page, ReadBytes(path)));
        if (situation == "removed")
            QVERIFY(QFile::remove(path));
        const std::optional<QByteArray> before =
            QFile::exists(path) ? std::optional(ReadBytes(path)) : std::nullopt;
        THistoryForm& window = HistoryWindowOf(page);
        QCOMPARE(window.windowTitle(), "History of " + path);
        QTreeWidget& list = *window.VersionList;
        list.setCurrentItem(list.topLevelItem(list.topLevelItemCount() - 1));
        QCOMPARE(window.SelectedVersion()->content, first);
        seam->boxes.clear();
        seam->firstAnswerGiven = answer;
        if (situation == "read-only") {
            QVERIFY(SetMode(game->Path(), 0755) && SetMode("cstrike", 0755)
                    && SetMode("cstrike/bot1", 0555) && SetMode(path, 0444));
            QVERIFY(AsOrdinaryUser([&] { window.RestoreButton->click(); }));
        } else {
            window.RestoreButton->click();
        }
        const QString exact = VersionRows(path, VersionsOf(path)).back().madeAt.toLocalTime().toString("yyyy-MM-dd HH:mm:ss");
        QCOMPARE(seam->boxes, box.isEmpty() ? QStringList()
                                             : QStringList{QString(box).replace("%1", path).replace("%2", exact)});
        const std::optional<QByteArray> now =
            QFile::exists(path) ? std::optional(ReadBytes(path)) : std::nullopt;
        QCOMPARE(now, restored ? std::optional(first) : before);
        const QString oldest = QString::number(VersionsOf(path).back().number);
        QCOMPARE(VersionRows(path, VersionsOf(path)).front().madeBy == "restored version " + oldest + " of " + exact,
                 restored);
        // The page shows the file as it is: its trigger writes nothing.
        if (restored) {
            QVERIFY(!GuardOf(page).HasUserEdits());
            RunTrigger(page);
            QCOMPARE(ReadBytes(path), first);
        }
    }

    // The window shows the file of the page shown, and follows the page.
    void historyWindowFollowsThePage()
    {
        OpenHistory();
        THistoryForm& window = HistoryWindowOf("personality");
        QCOMPARE(window.windowTitle(), "History of cstrike/bot1/personality.txt");
        QCOMPARE(window.VersionList->topLevelItemCount(), 1);
        Guarded([this] { form->CurrentPersonalityNumber->SetValue(2); });
        QTRY_COMPARE(window.windowTitle(), "History of cstrike/bot2/personality.txt");
        // An empty line another program added is named, not an empty cell.
        WriteBytes("cstrike/chat/newround.txt", ReadBytes("cstrike/chat/newround.txt") + "\r\n\r\n");
        form->PageControl->setCurrentWidget(form->ChatTab);
        QTRY_COMPARE(window.windowTitle(), "History of cstrike/chat/newround.txt");
        window.VersionList->setCurrentItem(window.VersionList->topLevelItem(window.VersionList->topLevelItemCount() - 1));
        const QTreeWidgetItem* added = window.DifferenceList->topLevelItem(0);
        QVERIFY(added);
        QCOMPARE((QStringList{added->text(0), added->text(1), added->text(2)}),
                 (QStringList{"line", "(none)", "(empty line)"}));
        PickWithKeyboard(*form->ModToEditComboBox, 1);
        QTRY_COMPARE(window.windowTitle(), "History of valve/chat/newround.txt");
        const QString folder = "Game folder: " + QDir::currentPath();
        QCOMPARE(window.GameFolderLabel->text(), folder);
        QCOMPARE(window.accessibleDescription(), folder);
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }

    // A history that cannot be kept is said once; the saves go on.
    void historyThatCannotBeKeptIsSaidOnce()
    {
        QTemporaryDir home;
        const QString blocked = home.filePath("state");
        WriteBytes(blocked, "a file where the folder goes");
        qputenv("XDG_STATE_HOME", QFile::encodeName(blocked));
        program->windows.OpenHistory();
        QTRY_COMPARE(seam->boxes.size(), 1);
        const QString why = "the folder " + blocked + " cannot be made: File exists.";
        QVERIFY(seam->boxes.first().startsWith("notice: No history of your files is kept in this run: "));
        QVERIFY2(seam->boxes.first().endsWith(why), qPrintable(seam->boxes.first()));
        for (bool disco : {true, false}) {
            EditAsTheUser("bot.cfg");
            RunTrigger("bot.cfg");
            QCOMPARE(FileHoldsTheEdit("bot.cfg"), disco);
        }
        QTest::qWait(10);
        QCOMPARE(seam->boxes.size(), 1);
        QVERIFY(HistoryWindowOf("bot.cfg").StateLabel->text().startsWith("No history of your files"));
        QVERIFY(HistoryWindowOf("bot.cfg").StateLabel->text().endsWith(why));
    }
};

QTEST_MAIN(MainFormTest)
#include "tst_mainform.moc"
