#include "CheckBoxControl.h"
#include "CheckList.h"
#include "Failures.h"
#include "GameFolder.h"
#include "HistoryForm.h"
#include "ProgramStart.h"
#include "RealPointer.h"
#include "ProgramSession.h"
#include "TextField.h"
#include "UserEdits.h"
#include "main.h"

#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <memory>
#include <tuple>
#include <utility>

#include <sys/stat.h>

static QByteArray BotConfig()
{
    return ReadBytes("cstrike/bot.cfg");
}

static QByteArrayList BotConfigLines()
{
    QByteArrayList lines = BotConfig().split('\n');
    for (QByteArray& line : lines)
        line.replace('\r', "");
    return lines;
}

// The bot.cfg page saves at every real pointer movement over its own
// background and at every key released in one of its two number fields;
// nothing else on it writes the file.
class BotConfigPageTest : public QObject, ProgramSession {
    Q_OBJECT

    int marker = 10;
    // The file as the start read it, and the history that keeps it.
    QByteArray firstRead;
    QTemporaryDir state;

    QWidget* ControlNamed(const QString& where) const
    {
        const QString caption = QString(where).remove(QRegularExpression("^(caption|gap) of "));
        if (caption != where)
            return CheckBoxCaptioned(caption);
        return form->findChild<QWidget*>(where);
    }

    CheckBoxControl* CheckBoxCaptioned(const QString& caption) const
    {
        for (CheckBoxControl* box : form->BotConfigEditor->findChildren<CheckBoxControl*>()) {
            if (box->text() == caption)
                return box;
        }
        return nullptr;
    }

    QPoint TargetOf(const QString& where) const
    {
        QWidget* page = form->BotConfigEditor;
        if (where == "between the columns")
            return page->mapToGlobal(QPoint(405, 100));
        if (where == "below the help")
            return page->mapToGlobal(QPoint(300, 330));
        if (where == "tab header") {
            QTabBar* tabs = form->PageControl->tabBar();
            return tabs->mapToGlobal(tabs->tabRect(2).center());
        }
        if (where == "roster check mark") {
            QWidget* viewport = form->BotCheckList->viewport();
            return viewport->mapToGlobal(form->BotCheckList->CheckMarkRect(2).center());
        }
        // A check box shows its caption from its left edge and its box at its
        // right edge, with blank page between them.
        QWidget* control = ControlNamed(where);
        const int middle = control->height() / 2;
        if (where.startsWith("caption of "))
            return control->mapToGlobal(QPoint(3, middle));
        if (where.startsWith("gap of "))
            return control->mapToGlobal(QPoint(control->width() - 30, middle));
        if (where.endsWith("CheckBox"))
            return control->mapToGlobal(QPoint(control->width() - 7, middle));
        return control->mapToGlobal(control->rect().center());
    }

    // Lets the page write what it shows, then leaves the pointer where its
    // movements save nothing.
    bool SaveByBackgroundMovement()
    {
        if (!MovePointerTo(TargetOf("below the help")))
            return false;
        QTest::qWait(100);
        if (!MovePointerTo(TargetOf("MinBotsLabel")))
            return false;
        QTest::qWait(100);
        return true;
    }

private slots:
    void initTestCase()
    {
        PrepareApplication();
        qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
        StartInSampleGame();
        firstRead = BotConfig();
        program->windows.OpenHistory();
        form->PageControl->setCurrentWidget(form->BotConfigEditor);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->activateWindow();
        QTRY_VERIFY(form->isActiveWindow());
        QCOMPARE(form->BotCheckList->EntryCount(), 5);
    }

    void cleanup() { QCOMPARE(std::exchange(seam->boxes, {}), QStringList()); }

    void cleanupTestCase() { Stop(); }

    void movementSavesOnlyOverTheBackground_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("saves");
        QTest::newRow("between the columns") << "between the columns" << true;
        QTest::newRow("below the help") << "below the help" << true;
        QTest::newRow("between caption and box") << "gap of Bots Can Chat" << true;
        QTest::newRow("roster") << "BotCheckList" << false;
        QTest::newRow("left check box") << "BotsCanChatCheckBox" << false;
        QTest::newRow("right check box") << "DiscoModeCheckBox" << false;
        QTest::newRow("MinBots") << "MinBots" << false;
        QTest::newRow("MinBotsLabel") << "MinBotsLabel" << false;
        QTest::newRow("HelpLabel1") << "HelpLabel1" << false;
        QTest::newRow("WhichBotsLabel") << "WhichBotsLabel" << false;
        QTest::newRow("tab header") << "tab header" << false;
    }

    void movementSavesOnlyOverTheBackground()
    {
        QFETCH(QString, where);
        QFETCH(bool, saves);
        QVERIFY(MovePointerTo(QPoint(5, 5)));
        QTest::qWait(50);
        const QByteArray before = BotConfig();
        ++marker;
        RunHandler([this] {
            form->MinBots->SetText(QString::number(marker));
            NoteUserEdit(*form->MinBots);
        });

        const QPoint target = TargetOf(where);
        QWidget* const under = QApplication::widgetAt(target);
        QWidget* const meant = saves                   ? form->BotConfigEditor
                               : where == "tab header" ? form->PageControl->tabBar()
                                                       : ControlNamed(where);
        QVERIFY(under == meant || meant->isAncestorOf(under));
        QVERIFY(MovePointerTo(target));
        QTest::qWait(100);
        QVERIFY(MovePointerTo(target + QPoint(1, 1)));
        if (saves) {
            QTRY_VERIFY(BotConfigLines().contains("min_bots " + QByteArray::number(marker)));
        } else {
            QTest::qWait(200);
            QCOMPARE(BotConfig(), before);
        }
    }

    // A user's click changes the page only; the file follows at the next
    // movement over the background.
    void clickIsWrittenAtTheNextBackgroundMovement_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("present");
        QTest::newRow("left check box") << "BotsCanChatCheckBox" << QByteArray("botchat 0") << true;
        QTest::newRow("right check box") << "DiscoModeCheckBox" << QByteArray("disco 1") << true;
        QTest::newRow("roster check mark") << "roster check mark" << QByteArray("loadbot 3")
                                           << false;
        // The first letters of each caption; the two rows above left
        // "Bots Can Chat" unchecked and "Enable Disco Mode" checked.
        const QList<std::tuple<const char*, const char*, bool>> captions{
            {"Bots Can't Shoot", "botdontshoot 1", true},
            {"Enable Observer Mode", "observer 1", true},
            {"Bots Can Chat", "botchat 0", false},
            {"Enable Disco Mode", "disco 1", false},
            {"Enable KnifeMode", "knifemode 1", true},
            {"Enable Pistol Mode", "pistolmode 1", true},
            {"Bots Can Use Grenades", "usegrenades 0", true},
            {"Auto Team Balance", "mp_autoteambalance 0", true},
            {"Online Mode", "onlinemode 0", true}};
        for (const auto& [caption, line, present] : captions) {
            const QString where = QString("caption of ") + caption;
            QTest::newRow(qPrintable(where)) << where << QByteArray(line) << present;
        }
    }

    void clickIsWrittenAtTheNextBackgroundMovement()
    {
        QFETCH(QString, where);
        QFETCH(QByteArray, line);
        QFETCH(bool, present);
        QVERIFY(SaveByBackgroundMovement());
        const QByteArray before = BotConfig();
        QCOMPARE(BotConfigLines().contains(line), !present);
        const auto checked = [&] {
            return where == "roster check mark"
                       ? form->BotCheckList->IsEntryChecked(2)
                       : static_cast<CheckBoxControl*>(ControlNamed(where))->Checked();
        };
        const bool wasChecked = checked();

        QVERIFY(MovePointerTo(TargetOf(where)));
        QTest::qWait(100);
        QVERIFY(RunXdoTool({"click", "1"}));
        QTRY_COMPARE(checked(), !wasChecked);
        QTest::qWait(200);
        QCOMPARE(BotConfig(), before);

        QVERIFY(MovePointerTo(TargetOf("between the columns")));
        QTRY_COMPARE(BotConfigLines().contains(line), present);
    }

    // Each key released in a number field saves what the field shows then.
    void typingSavesAtEveryKeyRelease()
    {
        QVERIFY(MovePointerTo(TargetOf("MinBotsLabel")));
        form->MinBots->setFocus();
        QTRY_VERIFY(form->MinBots->hasFocus());
        QVERIFY(RunXdoTool({"key", "ctrl+a"}));
        const QList<std::pair<QString, QByteArray>> steps{
            {"BackSpace", "min_bots "},
            {"1", "min_bots 1"},
            {"2", "min_bots 12"}};
        for (const auto& [key, line] : steps) {
            QVERIFY(RunXdoTool({"key", key}));
            QTRY_VERIFY2(BotConfigLines().contains(line), qPrintable(key));
        }
        QCOMPARE(form->MinBots->Text(), QString("12"));
    }

    // The release saves the page's edit whether or not the key changed the
    // text; only the release inside a number field counts, and without an
    // edit it leaves the file as it is, the same file.
    void keyReleaseSavesOnlyInTheNumberFields_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("edited");
        QTest::addColumn<bool>("saves");
        QTest::newRow("Left in MinBots") << "MinBots" << "Left" << true << true;
        QTest::newRow("Left in MaxBots") << "MaxBots" << "Left" << true << true;
        QTest::newRow("Tab into MinBots") << "OnlineModeCheckBox" << "Tab" << true << true;
        QTest::newRow("Shift+Tab out of MinBots") << "MinBots" << "shift+Tab" << true << false;
        QTest::newRow("Down in the roster") << "BotCheckList" << "Down" << true << false;
        QTest::newRow("End in MaxBots, nothing changed") << "MaxBots" << "End" << false << false;
    }

    void keyReleaseSavesOnlyInTheNumberFields()
    {
        QFETCH(QString, focus);
        QFETCH(QString, key);
        QFETCH(bool, edited);
        QFETCH(bool, saves);
        QVERIFY(SaveByBackgroundMovement());
        QTRY_COMPARE(BotConfigLines().contains("knifemode 1"), form->KnifeModeCheckBox->Checked());
        const QByteArray before = BotConfig();
        struct stat file {};
        QCOMPARE(::stat("cstrike/bot.cfg", &file), 0);
        const QString minBots = form->MinBots->Text();
        const bool knife = form->KnifeModeCheckBox->Checked() != edited;
        RunHandler([&] {
            form->KnifeModeCheckBox->SetChecked(knife);
            NoteUserEdit(*form->KnifeModeCheckBox);
        });

        QWidget* start = ControlNamed(focus);
        start->setFocus();
        QTRY_VERIFY(start->hasFocus());
        QVERIFY(RunXdoTool({"key", key}));
        if (saves) {
            QTRY_COMPARE(BotConfigLines().contains("knifemode 1"), knife);
        } else {
            QTest::qWait(200);
            QCOMPARE(BotConfig(), before);
            struct stat now {};
            QCOMPARE(::stat("cstrike/bot.cfg", &now), 0);
            QCOMPARE(now.st_ino, file.st_ino);
        }
        QCOMPARE(form->MinBots->Text(), minBots);
    }

    // With the keyboard alone: Ctrl+H, the oldest version, Return; the file
    // is as the start read it, and Escape closes the window.
    void historyRestoresTheOldestVersionByKeys()
    {
        QVERIFY(BotConfig() != firstRead);
        form->activateWindow();
        QTRY_VERIFY(form->isActiveWindow());
        QVERIFY(RunXdoTool({"key", "ctrl+h"}));
        THistoryForm* history = nullptr;
        QTRY_VERIFY((history = form->findChild<THistoryForm*>()) && history->isActiveWindow());
        QCOMPARE(history->windowTitle(), "History of cstrike/bot.cfg");
        QTRY_VERIFY(history->VersionList->hasFocus());
        QVERIFY(RunXdoTool({"key", "End"}));
        QTRY_COMPARE(history->SelectedVersion()->content, firstRead);
        const QString restored = QString("restored version %1 of ").arg(history->SelectedVersion()->number);
        QVERIFY(RunXdoTool({"key", "Return"}));
        QTRY_COMPARE(BotConfig(), firstRead);
        QTRY_COMPARE(history->VersionList->topLevelItem(0)->text(2).section(" of ", 0, 0) + " of ", restored);
        QVERIFY(RunXdoTool({"key", "Escape"}));
        QTRY_VERIFY(!history->isVisible());
    }
};

QTEST_MAIN(BotConfigPageTest)
#include "xtst_botconfigpage.moc"
