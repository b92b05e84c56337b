#include "BoundedIntegerField.h"
#include "GameFolder.h"
#include "ProgramStart.h"
#include "RealPointer.h"
#include "ProgramSession.h"
#include "UserEdits.h"
#include "main.h"

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
        if (where == "background")
            return form->PersonalityTab->mapToGlobal(QPoint(290, 300));
        if (where == "tab header") {
            QTabBar* tabs = form->PageControl->tabBar();
            return tabs->mapToGlobal(tabs->tabRect(0).center());
        }
        auto* part = form->findChild<QWidget*>(where);
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
        QTest::newRow("disabled field") << "TeamplayValue" << true;
        QTest::newRow("disabled label") << "TeamplayValueLabel" << true;
        QTest::newRow("disabled check box") << "AutoAdjustSkill" << true;
        QTest::newRow("enabled field") << "Obedience" << false;
        QTest::newRow("enabled field's label") << "ObedienceLabel" << false;
        QTest::newRow("text field") << "MinBuyTime" << false;
        QTest::newRow("check box") << "BotCanHear" << false;
        QTest::newRow("selector") << "PreferredTeamComboBox" << false;
        QTest::newRow("help button") << "PersonalityHelpButton" << false;
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
        NoteUserEdit(*form->Courage);

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
