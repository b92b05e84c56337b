#include "TextArea.h"
#include "TextField.h"

#include <QProcess>
#include <QVBoxLayout>
#include <QtTest>

// Holds a real key down through the X server. The server repeats it, and
// under X11 every repetition arrives as a release followed by a press.
static void HoldKey(const QString& key, int milliseconds)
{
    QProcess xdotool;
    xdotool.start("xdotool", {"keydown", key, "sleep", QString::number(milliseconds / 1000.0),
                              "keyup", key});
    QVERIFY2(xdotool.waitForFinished(10000), "xdotool did not finish");
    QCOMPARE(xdotool.exitCode(), 0);
}

class KeyReleaseTest : public QObject {
    Q_OBJECT

private slots:
    void heldKeyIsReleasedOnce_data()
    {
        QTest::addColumn<bool>("area");
        QTest::newRow("text field") << false;
        QTest::newRow("text area") << true;
    }

    void heldKeyIsReleasedOnce()
    {
        QFETCH(bool, area);
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* field = new TextField;
        auto* memo = new TextArea;
        layout->addWidget(field);
        layout->addWidget(memo);
        int releases = 0;
        field->OnKeyUp = [&] { ++releases; };
        memo->OnKeyUp = [&] { ++releases; };
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        QWidget* target = area ? static_cast<QWidget*>(memo) : field;
        target->setFocus();
        QTRY_VERIFY(target->hasFocus());

        HoldKey("a", 1200);
        QTest::qWait(200);
        const QString typed = area ? memo->Text() : field->Text();
        // The server's auto-repeat typed the key many times...
        QVERIFY2(typed.size() > 3, qPrintable("typed: " + typed));
        QCOMPARE(typed, QString(typed.size(), u'a'));
        // ...but the key was released once.
        QCOMPARE(releases, 1);
    }
};

QTEST_MAIN(KeyReleaseTest)
#include "xtst_keyrelease.moc"
