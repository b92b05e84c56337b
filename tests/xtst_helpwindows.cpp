#include "ChatHelp.h"
#include "PersonalityHelp.h"
#include "ProgramSession.h"
#include "ProgramStart.h"
#include "RealPointer.h"
#include "main.h"

#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {

QString RunForOutput(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(5000))
        return QString();
    return QString::fromLatin1(process.readAllStandardOutput()).trimmed();
}

// True while the X server maps the window on screen, as the window manager
// leaves it: a minimised window is unmapped.
bool IsViewable(const QWidget& window)
{
    const QString state = RunForOutput("xwininfo", {"-id", QString::number(window.winId())});
    return state.contains("Map State: IsViewable");
}

bool WindowManagerRuns()
{
    return RunForOutput("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id");
}

} // namespace

// The help windows under a real window manager, which offers minimise on
// every window whatever the program asks for.
class HelpWindowsUnderAWindowManagerTest : public QObject, ProgramSession {
    Q_OBJECT

    QProcess windowManager;

private slots:
    void initTestCase()
    {
        windowManager.start("openbox", {"--sm-disable"});
        QVERIFY2(windowManager.waitForStarted(5000), "openbox did not start");
        QTRY_VERIFY_WITH_TIMEOUT(WindowManagerRuns(), 10000);
        PrepareApplication();
        StartInSampleGame();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }

    void cleanupTestCase()
    {
        Stop();
        windowManager.terminate();
        windowManager.waitForFinished(5000);
    }

    void minimisedHelpComesBackAtItsButton_data()
    {
        QTest::addColumn<bool>("chat");
        QTest::newRow("Chat Help") << true;
        QTest::newRow("Personality Help") << false;
    }

    void minimisedHelpComesBackAtItsButton()
    {
        QFETCH(bool, chat);
        QWidget* help = chat ? static_cast<QWidget*>(ChatHelpForm) : PersonalityHelpForm;
        QPushButton* button = chat ? form->ChatHelpButton : form->PersonalityHelpButton;
        form->PageControl->setCurrentWidget(chat ? form->ChatTab : form->PersonalityTab);
        if (chat)
            form->ChatHelpButtonClick();
        else
            form->PersonalityHelpButtonClick();
        QTRY_VERIFY(IsViewable(*help));
        QTRY_VERIFY(help->isActiveWindow());
        const QPoint place = help->geometry().topLeft();

        QVERIFY(RunXdoTool({"windowminimize", QString::number(help->winId())}));
        QTRY_VERIFY(!IsViewable(*help));
        QVERIFY(MovePointerTo(button->mapToGlobal(button->rect().center())));
        QVERIFY(RunXdoTool({"click", "1"}));

        QTRY_VERIFY(IsViewable(*help));
        QTRY_VERIFY(help->isActiveWindow());
        QCOMPARE(help->geometry().topLeft(), place);
    }
};

QTEST_MAIN(HelpWindowsUnderAWindowManagerTest)
#include "xtst_helpwindows.moc"
