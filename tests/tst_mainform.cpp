#include "BoundedIntegerField.h"
#include "ChatHelp.h"
#include "DropDownSelector.h"
#include "TextField.h"
#include "GameFolder.h"
#include "PersonalityHelp.h"
#include "ProgramStart.h"
#include "ProgramSession.h"
#include "UserPicks.h"
#include "main.h"

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
};

QTEST_MAIN(MainFormTest)
#include "tst_mainform.moc"
