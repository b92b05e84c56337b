#include "BoundedIntegerField.h"
#include "ChatHelp.h"
#include "CheckBoxControl.h"
#include "DropDownSelector.h"
#include "FirstReadings.h"
#include "LineFile.h"
#include "TextArea.h"
#include "TextField.h"
#include "GameFolder.h"
#include "PersonalityHelp.h"
#include "ProgramStart.h"
#include "ProgramSession.h"
#include "UserPicks.h"
#include "main.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTabWidget>
#include <QtTest>

#include <memory>

// The main window and the help windows as the program start creates them,
// started in a copy of the sample game folder so that no file of the
// repository is touched.
class MainFormTest : public QObject, ProgramSession {
    Q_OBJECT

    TChatHelpForm* chatHelp = nullptr;
    TPersonalityHelpForm* personalityHelp = nullptr;

    // The file of Counter-Strike that each page shows after start-up.
    const QMap<QString, QString> PageFiles{{"personality", "cstrike/bot1/personality.txt"},
                                           {"screen reader", "cstrike/bot1/personality.txt"},
                                           {"chat", "cstrike/chat/newround.txt"},
                                           {"bot.cfg", "cstrike/bot.cfg"}};

    // An edit that no trigger saves, made as the user makes it: a typed
    // name, a skill set by a screen reader, a chat key pressed and not yet
    // released, a box toggled with Space.
    void EditAsTheUser(const QString& page)
    {
        if (page == "personality")
            QTest::keyClicks(form->Name, "x");
        else if (page == "screen reader")
            QAccessible::queryAccessibleInterface(form->Skill)->valueInterface()->setCurrentValue(4);
        else if (page == "chat")
            for (Qt::Key key : {Qt::Key_X, Qt::Key_Return})
                QTest::keyPress(form->ChatEditMemo, key);
        else
            QTest::keyClick(form->DiscoModeCheckBox, Qt::Key_Space);
    }

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
        if (page == "chat")
            return bytes.startsWith("x\r\nAlright");
        return bytes.contains("\r\ndisco 1\r\n");
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

    QByteArray ChangedByHand(const QString& page, QByteArray bytes)
    {
        bytes.replace("Kestrel", "Kestrow").replace("max_bots 10", "max_bots 12");
        return bytes.append(page == "chat" ? "Added by hand\r\n" : "");
    }

    // The page's file as this run leaves it before the put-back key; returns
    // its path. A created file was missing when the run began, or, for a
    // personality, is the next number's (the first one's, created first).
    QString MakeHistory(const QString& page, const QString& history)
    {
        QString path = PageFiles.value(page);
        if (history == "created" && page == "personality") {
            form->CurrentPersonalityNumber->SetValue(6);
            path = "cstrike/bot6/personality.txt";
        } else if (history.startsWith("created")) {
            Stop();
            game = ScratchGameFolder::WithSampleMods();
            QFile::remove(path);
            Start();
        }
        seam->boxes.clear();
        const int saves = history == "saved several times"               ? 3
                          : history == "saved" || history.startsWith("created")
                                  || history == "changed elsewhere" ? 1
                                                                     : 0;
        for (int save = 0; save < saves; ++save) {
            EditAsTheUser(page);
            RunTrigger(page);
        }
        if (history.startsWith("changed elsewhere"))
            WriteBytes(path, ChangedByHand(page, ReadBytes(path)));
        // An edit the key takes back with the rest.
        if (history != "unchanged")
            EditAsTheUser(page);
        return path;
    }

private slots:
    void initTestCase() { PrepareApplication(); }

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
        const QMap<QString, QWidget*> controls{{"Label2", form->Label2},
                                              {"ModToEditLabel", form->ModToEditLabel},
                                              {"ModToEditComboBox", form->ModToEditComboBox},
                                              {"PageControl", form->PageControl}};
        QWidget* control = controls.value(name);
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
        QTest::newRow("bot.cfg") << "bot.cfg" << QStringList("error: 'many' is not a valid integer "
                                                             "value.\ncstrike/bot.cfg");
        QTest::newRow("chat list") << "chat" << QStringList("error: File access denied.\n"
                                                            "cstrike/chat/newround.txt");
    }

    void startUpSelectsCounterStrikeAndNewRound()
    {
        QFETCH(QString, failing);
        QFETCH(QStringList, boxes);
        program.reset();
        if (failing == "personality") {
            WriteBytes("cstrike/bot1/personality.txt", "Kestrel\r\nfast\r\n");
        } else if (failing == "personality loop") {
            QVERIFY(QFile::remove("cstrike/bot1/personality.txt"));
            QVERIFY(QFile::link("personality.txt", "cstrike/bot1/personality.txt"));
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
        QCOMPARE(form->MaxBots->Text(), QString(failing == "personality loop" || failing == "bot.cfg" ? "1" : "10"));
        QCOMPARE(form->ChatEditMemo->Text().startsWith("Alright"), failing != "chat");
    }

    void modChangeResetsNumberAndChatKind_data()
    {
        QTest::addColumn<int>("mod");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("firstName");
        QTest::newRow("valve") << 1 << "valve" << "Tripmine";
        QTest::newRow("opfor") << 2 << "opfor" << "Gruntling";
        QTest::newRow("tfc") << 3 << "tfc" << "Wrench";
        QTest::newRow("flf") << 4 << "flf" << "Foxhole";
    }

    void modChangeResetsNumberAndChatKind()
    {
        QFETCH(int, mod);
        QFETCH(QString, folder);
        QFETCH(QString, firstName);
        form->CurrentPersonalityNumber->SetValue(3);
        form->ChatTypeComboBox->SetSelectedIndex(9);
        form->PreferredTeamComboBox->SetSelectedIndex(0);
        PickWithKeyboard(*form->ModToEditComboBox, mod);
        QCOMPARE(form->ModFolder, folder);
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

    // Each moment that replaces a page's controls, or ends them, comes after
    // the page's edit is saved into the file the page held.
    // A file with LF line ends keeps them with the edit.
    void pendingEditIsSavedFirst_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("moment");
        QTest::addColumn<QByteArray>("lineEnd");
        const auto row = [](const char* page, const char* moment, const QByteArray& lineEnd = "\r\n") {
            QTest::addRow("%s, %s%s", page, moment, lineEnd == "\n" ? ", LF lines" : "")
                << page << moment << lineEnd;
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
        row("personality", "number", "\n");
        row("chat", "chat kind", "\n");
        row("bot.cfg", "close", "\n");
    }

    void pendingEditIsSavedFirst()
    {
        QFETCH(QString, page);
        QFETCH(QString, moment);
        QFETCH(QByteArray, lineEnd);
        if (lineEnd == "\n")
            RestartWithLinuxLines();
        EditAsTheUser(page);
        if (moment == "number")
            QTest::keyClick(form->CurrentPersonalityNumber, Qt::Key_Up);
        else if (moment == "mod")
            PickWithKeyboard(*form->ModToEditComboBox, 1);
        else if (moment == "chat kind")
            PickWithKeyboard(*form->ChatTypeComboBox, 1);
        else if (moment == "personality save")
            RunTrigger("personality");
        else
            QVERIFY(form->close());
        QVERIFY(FileHoldsTheEdit(page, lineEnd));
        QCOMPARE(seam->boxes, QStringList());
    }

    void closeAsksOnlyWhenAnEditCannotBeSaved_data()
    {
        QTest::addColumn<bool>("pending");
        QTest::addColumn<bool>("closeAnyway");
        QTest::addColumn<bool>("emptyFolder");
        QTest::newRow("nothing pending") << false << false << false;
        // The pages hold no file; what they show is no edit of the user's.
        QTest::newRow("started in an empty folder") << false << false << true;
        QTest::newRow("go back") << true << false << false;
        QTest::newRow("close anyway") << true << true << false;
    }

    void closeAsksOnlyWhenAnEditCannotBeSaved()
    {
        QFETCH(bool, pending);
        QFETCH(bool, closeAnyway);
        QFETCH(bool, emptyFolder);
        if (emptyFolder) {
            Stop();
            game = std::make_unique<ScratchGameFolder>();
            Start();
            seam->boxes.clear();
        }
        if (pending)
            EditAsTheUser("bot.cfg");
        WriteBytes("cstrike/bot.cfg", "max_bots 12\r\n");
        seam->firstAnswerGiven = closeAnyway;
        QCOMPARE(form->close(), !pending || closeAnyway);
        QStringList boxes;
        if (pending) {
            boxes << "error: cstrike/bot.cfg was not saved: it was changed on disk after the page "
                     "read it. Press F5 to load it from disk; saves go ahead once it has loaded "
                     "completely."
                  << "question: The changes on the page \"Bot.cfg Editor\" could not be saved. "
                     "Close anyway and lose them, or go back to the window? [Close Anyway|Go Back]";
        }
        QCOMPARE(seam->boxes, boxes);
        QCOMPARE(ReadBytes("cstrike/bot.cfg"), QByteArray("max_bots 12\r\n"));
        QCOMPARE(form->DiscoModeCheckBox->Checked(), pending);
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
        const QString question = "question: Put %1 back as it was at %2? [Put Back|Cancel]";
        const QString refusal = "error: %1 was not put back: another program changed it after "
                                "the page read it. The page shows it as it now is.";
        for (const char* page : {"personality", "chat", "bot.cfg"}) {
            const auto row = [page](const char* history, bool putBack, const char* result,
                                    const QStringList& boxes) {
                QTest::addRow("%s, %s%s", page, history, putBack ? "" : ", cancel")
                    << page << history << putBack << result << boxes;
            };
            row("saved", true, "first", {question});
            row("saved", false, "as before", {question});
            row("saved several times", true, "first", {question});
            row("created", true, "none", {question});
            row("edit pending", true, "first", {question});
            row("changed elsewhere", true, "as before", {question, refusal});
        }
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
            box.replace("%1", path).replace("%2", readAt.toString("HH:mm"));
        QCOMPARE(seam->boxes, boxes);
        const QByteArray expected = result == "first" ? first : before;
        QCOMPARE(QFile::exists(path), result != "none");
        if (result != "none")
            QCOMPARE(ReadBytes(path), expected);
        QCOMPARE(QFileInfo::exists("cstrike/bot6"), path.contains("bot6") && result != "none");
        const SaveGuard& guard = page == "personality" ? form->PersonalitySaveGuard
                                 : page == "chat"      ? form->ChatSaveGuard
                                                       : form->BotConfigSaveGuard;
        // An edit stays where the key takes nothing back.
        QCOMPARE(guard.HasUserEdits(),
                 history != "unchanged" && (!putBack || boxes.first().startsWith("notice")));
        // The page loaded the file: its trigger writes nothing new.
        if (putBack && result != "none" && boxes.first().startsWith("question")) {
            RunTrigger(page);
            QCOMPARE(ReadBytes(path), expected);
        }
    }

    // Another program changes the page's file: by hand, or a second copy of
    // the editor saving the way this one does. A trigger then shows the
    // file, or refuses while the user's edit is on the page; F5 shows it.
    void anotherProgramsChangeSurvives_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("pending");
        QTest::addColumn<bool>("secondCopy");
        for (const char* page : {"personality", "chat", "bot.cfg"}) {
            QTest::addRow("%s", page) << page << false << false;
            QTest::addRow("%s, pending edit", page) << page << true << false;
        }
        QTest::newRow("bot.cfg, second copy") << "bot.cfg" << false << true;
        QTest::newRow("personality, second copy, pending edit") << "personality" << true << true;
    }

    void anotherProgramsChangeSurvives()
    {
        QFETCH(QString, page);
        QFETCH(bool, pending);
        QFETCH(bool, secondCopy);
        const QString path = PageFiles.value(page);
        const QByteArray other = ChangedByHand(page, ReadBytes(path));
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
        RunTrigger(page);
        QCOMPARE(ReadBytes(path), other);
        QWidget* tab = page == "personality" ? form->PersonalityTab
                       : page == "chat"      ? form->ChatTab
                                             : form->BotConfigEditor;
        if (pending) {
            QCOMPARE(seam->boxes, QStringList{"error: " + path + " was not saved: it was changed on disk after the page read it. Press F5 to load it from disk; saves go ahead once it has loaded completely."});
            QVERIFY(form->PageControl->tabText(form->PageControl->indexOf(tab)).endsWith(" (not saved)"));
            QVERIFY(!FileHoldsTheEdit(page));
            form->PageControl->setCurrentWidget(tab);
            Guarded([this] { form->ReloadShownPage(); });
        } else {
            QCOMPARE(seam->boxes, QStringList());
        }
        QCOMPARE(form->Name->Text(), page == "personality" ? "Kestrow" : "Kestrel");
        QVERIFY(form->ChatEditMemo->Text().endsWith(page == "chat" ? "by hand\r\n" : "there\r\n"));
        QCOMPARE(form->MaxBots->Text(), page == "bot.cfg" ? "12" : "10");
    }
};

QTEST_MAIN(MainFormTest)
#include "tst_mainform.moc"
