#include "BoundedIntegerField.h"
#include "ChatHelp.h"
#include "CheckBoxControl.h"
#include "CheckList.h"
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
            QTest::keyPress(form->ChatEditMemo, 'x');
        else
            QTest::keyClick(form->DiscoModeCheckBox, Qt::Key_Space);
    }

    bool FileHoldsTheEdit(const QString& page)
    {
        const QByteArray bytes = ReadBytes(PageFiles.value(page));
        if (page == "personality")
            return bytes.startsWith("Kestrelx\r\n");
        if (page == "screen reader")
            return bytes.startsWith("Kestrel\r\n4\r\n");
        if (page == "chat")
            return bytes.startsWith("xAlright");
        return bytes.contains("\r\ndisco 1\r\n");
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

    void startUpSelectsCounterStrikeAndNewRound()
    {
        QCOMPARE(form->ModFolder, QString("cstrike"));
        QCOMPARE(form->ModToEditComboBox->SelectedIndex(), 0);
        QCOMPARE(form->ModToEditComboBox->Text(), QString("Counter-Strike"));
        QCOMPARE(form->ChatTypeComboBox->SelectedIndex(), 0);
        QCOMPARE(form->ChatTypeComboBox->Text(), QString("New Round"));
        // The second load replaced "Any" with the team of the file.
        QCOMPARE(form->PreferredTeamComboBox->SelectedIndex(), 0);
        QCOMPARE(form->Name->Text(), QString("Kestrel"));
        QCOMPARE(form->CurrentPersonalityNumber->text(), QString("1"));
        QVERIFY(seam->boxes.isEmpty());
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

    // The page keys turn the pages from every kind of control, the mod
    // selector and the chat text included, and type nothing.
    void pageKeysWorkFromEveryControl_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("page");
        const int ctrl = Qt::ControlModifier;
        QTest::newRow("mod selector, Ctrl+Tab") << "mod" << int(Qt::Key_Tab) << ctrl << 1;
        QTest::newRow("mod selector, Ctrl+Shift+Tab")
            << "mod" << int(Qt::Key_Backtab) << int(ctrl | Qt::ShiftModifier) << 2;
        QTest::newRow("number field, Ctrl+PgDn") << "number" << int(Qt::Key_PageDown) << ctrl << 1;
        QTest::newRow("number field, Ctrl+PgUp") << "number" << int(Qt::Key_PageUp) << ctrl << 2;
        QTest::newRow("chat text, Ctrl+PgUp") << "chat" << int(Qt::Key_PageUp) << ctrl << 0;
        QTest::newRow("roster, Ctrl+PgDn") << "roster" << int(Qt::Key_PageDown) << ctrl << 0;
    }

    void pageKeysWorkFromEveryControl()
    {
        QFETCH(QString, control);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, page);
        const QMap<QString, QWidget*> controls{{"mod", form->ModToEditComboBox},
                                              {"number", form->CurrentPersonalityNumber},
                                              {"chat", form->ChatEditMemo},
                                              {"roster", form->BotCheckList}};
        QWidget* focused = controls.value(control);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form));
        if (control == "chat" || control == "roster")
            form->PageControl->setCurrentWidget(focused->parentWidget());
        focused->setFocus();
        QWidget* receiver = QApplication::focusWidget();
        const QString chat = form->ChatEditMemo->Text();
        QTest::keyClick(receiver, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(form->PageControl->currentIndex(), page);
        QCOMPARE(form->ChatEditMemo->Text(), chat);
    }

    // Each moment that replaces a page's controls, or ends them, comes after
    // the page's edit is saved into the file the page held.
    void pendingEditIsSavedFirst_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("moment");
        QTest::newRow("personality, number") << "personality" << "number";
        QTest::newRow("bot.cfg, number") << "bot.cfg" << "number";
        QTest::newRow("personality, mod") << "personality" << "mod";
        QTest::newRow("chat, mod") << "chat" << "mod";
        QTest::newRow("bot.cfg, mod") << "bot.cfg" << "mod";
        QTest::newRow("chat, chat kind") << "chat" << "chat kind";
        QTest::newRow("bot.cfg, personality save") << "bot.cfg" << "personality save";
        QTest::newRow("personality, close") << "personality" << "close";
        QTest::newRow("chat, close") << "chat" << "close";
        QTest::newRow("bot.cfg, close") << "bot.cfg" << "close";
        QTest::newRow("personality by a screen reader, close") << "screen reader" << "close";
    }

    void pendingEditIsSavedFirst()
    {
        QFETCH(QString, page);
        QFETCH(QString, moment);
        EditAsTheUser(page);
        // The tab marks the edit until it is saved.
        const int tab = page == "chat" ? 1 : page == "bot.cfg" ? 2 : 0;
        QVERIFY(form->PageControl->tabText(tab).endsWith(" *"));
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
        QVERIFY(FileHoldsTheEdit(page));
        QCOMPARE(seam->boxes, QStringList());
        QVERIFY(!form->PageControl->tabText(tab).contains('*'));
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
        QCOMPARE(seam->boxes, QStringList("error: I/O error 40."));
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
