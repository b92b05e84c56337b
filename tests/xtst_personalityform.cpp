#include "BoundedIntegerField.h"
#include "CheckBoxControl.h"
#include "DropDownSelector.h"
#include "GameFolder.h"
#include "ProgramStart.h"
#include "RealPointer.h"
#include "ProgramSession.h"
#include "TextField.h"
#include "main.h"

#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <memory>

// Which real pointer movements over the personality page save it: only
// those over the page's own background and over its disabled parts.
class PersonalityPointerTest : public QObject, ProgramSession {
    Q_OBJECT

    int marker = 0;

    QPoint TargetOf(const QString& where) const
    {
        const QMap<QString, QWidget*> parts{
            {"enabled field", form->Obedience},
            {"enabled field's label", form->ObedienceLabel},
            {"text field", form->MinBuyTime},
            {"check box", form->BotCanHear},
            {"selector", form->PreferredTeamComboBox},
            {"help button", form->PersonalityHelpButton},
            {"disabled field", form->TeamplayValue},
            {"disabled label", form->TeamplayValueLabel},
            {"disabled check box", form->AutoAdjustSkill}};
        if (where == "background")
            return form->PersonalityTab->mapToGlobal(QPoint(290, 300));
        if (where == "tab header") {
            QTabBar* tabs = form->PageControl->tabBar();
            return tabs->mapToGlobal(tabs->tabRect(0).center());
        }
        QWidget* part = parts.value(where);
        return part->mapToGlobal(part->rect().center());
    }

    static QByteArray CourageLine()
    {
        return ReadBytes("cstrike/bot1/personality.txt").split('\n').value(10);
    }

private slots:
    void initTestCase()
    {
        PrepareApplication();
        StartInSampleGame();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }

    void cleanupTestCase() { Stop(); }

    void movementSavesOnlyOverTheBackground_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("saves");
        QTest::newRow("background") << "background" << true;
        QTest::newRow("disabled field") << "disabled field" << true;
        QTest::newRow("disabled label") << "disabled label" << true;
        QTest::newRow("disabled check box") << "disabled check box" << true;
        QTest::newRow("enabled field") << "enabled field" << false;
        QTest::newRow("enabled field's label") << "enabled field's label" << false;
        QTest::newRow("text field") << "text field" << false;
        QTest::newRow("check box") << "check box" << false;
        QTest::newRow("selector") << "selector" << false;
        QTest::newRow("help button") << "help button" << false;
        QTest::newRow("tab header") << "tab header" << false;
    }

    void movementSavesOnlyOverTheBackground()
    {
        QFETCH(QString, where);
        QFETCH(bool, saves);
        QVERIFY(MovePointerTo(QPoint(5, 5)));
        QTest::qWait(50);
        const QByteArray before = CourageLine();
        marker = marker % 90 + 1;
        form->Courage->SetValue(marker);

        const QPoint target = TargetOf(where);
        QVERIFY(MovePointerTo(target));
        QTest::qWait(100);
        QVERIFY(MovePointerTo(target + QPoint(1, 1)));
        QTest::qWait(100);
        QCOMPARE(CourageLine(), saves ? QByteArray::number(marker) + '\r' : before);
        QVERIFY(seam->boxes.isEmpty());
    }
};

QTEST_MAIN(PersonalityPointerTest)
#include "xtst_personalityform.moc"
