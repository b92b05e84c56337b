#include "Failures.h"
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

    // A key-release handler that opens a box, closed by a key: the release
    // of that key must not run the handler again and reopen the box.
    void keyClosingABoxIsNotReleasedInTheControl_data()
    {
        QTest::addColumn<QString>("closingKey");
        QTest::addColumn<bool>("notice");
        QTest::newRow("notice, Return") << "Return" << true;
        QTest::newRow("notice, Escape") << "Escape" << true;
        QTest::newRow("error, Return") << "Return" << false;
        QTest::newRow("error, Escape") << "Escape" << false;
    }

    void keyClosingABoxIsNotReleasedInTheControl()
    {
        QFETCH(QString, closingKey);
        QFETCH(bool, notice);
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* memo = new TextArea;
        layout->addWidget(memo);
        int saves = 0;
        memo->OnKeyUp = [&] {
            ++saves;
            // Answers the box, holding the key until the window has the focus
            // back. Should the box come back, the timer ends it, so that the
            // test cannot hang.
            QProcess::startDetached("xdotool", {"sleep", "0.4", "keydown", closingKey, "sleep",
                                                "0.4", "keyup", closingKey});
            QTimer::singleShot(1500, [] {
                if (QWidget* box = QApplication::activeModalWidget())
                    box->close();
            });
            if (notice)
                ShowNotice(QStringLiteral("Saved nothing"));
            else
                ReportFailure(Exception(QStringLiteral("Saved nothing")));
            // Without a window manager, nothing gives the focus back.
            window.activateWindow();
        };
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        memo->setFocus();
        QTRY_VERIFY(memo->hasFocus());

        QProcess xdotool;
        xdotool.start("xdotool", {"key", "x"});
        QVERIFY(xdotool.waitForFinished(5000));
        QTest::qWait(2000);
        QVERIFY(memo->hasFocus());
        QCOMPARE(saves, 1);
        QCOMPARE(memo->Text(), QString("x"));

        // The key is the control's own again at its next press.
        QProcess again;
        again.start("xdotool", {"key", closingKey});
        QVERIFY(again.waitForFinished(5000));
        QTest::qWait(2000);
        QCOMPARE(saves, 2);
    }
};

QTEST_MAIN(KeyReleaseTest)
#include "xtst_keyrelease.moc"
