#include "ApplicationTitle.h"
#include "Failures.h"
#include "NoticeDialog.h"
#include "LinedMessageBox.h"
#include "PointerCapture.h"
#include "RecordingMessageSeam.h"
#include "WindowPlacement.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>

#include <stdexcept>

namespace {

class HeldButton : public PointerCaptureOwner {
public:
    void CancelPointerCapture() override { ++cancelled; }
    int cancelled = 0;
};

// Runs once the next modal box is open, then lets the test answer it.
void WhenModalOpens(std::function<void(QWidget*)> answer)
{
    QTimer::singleShot(0, [answer] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal != nullptr);
        answer(modal);
    });
}

// The least a title bar needs: the application title in bold beside the
// window menu, minimise, maximise and close, each as wide as the font is high.
int CaptionAndButtonsWidth()
{
    QFont font = QApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(ApplicationTitle()) + 4 * metrics.height();
}

// The text shown is the text given but for blanks turned into line breaks:
// no character added, none left out.
bool SameUpToLineBreaks(const QString& shown, const QString& given)
{
    if (shown.size() != given.size())
        return false;
    for (qsizetype at = 0; at < shown.size(); ++at) {
        if (shown[at] != given[at] && !(shown[at] == u'\n' && given[at] == u' '))
            return false;
    }
    return true;
}

// Where each line of a selectable label starts in its text, as the label
// lays it out on screen; none where the label has no text document.
QList<qsizetype> LineStarts(QLabel& label)
{
    label.grab();
    const auto* document = label.findChild<QTextDocument*>();
    if (!document)
        return {};
    QList<qsizetype> starts;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (int line = 0; line < block.layout()->lineCount(); ++line)
            starts << block.position() + block.layout()->lineAt(line).textStart();
    }
    return starts;
}

} // namespace

class FailuresTest : public QObject {
    Q_OBJECT

private slots:
    void periodRule_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "File not found" << "File not found.";
        QTest::newRow("digit") << "I/O error 183" << "I/O error 183.";
        QTest::newRow("closing parenthesis") << "List index out of bounds (3)"
                                             << "List index out of bounds (3)";
        QTest::newRow("period") << "Done." << "Done.";
        QTest::newRow("quote") << "'x' is not a valid integer value"
                               << "'x' is not a valid integer value.";
        QTest::newRow("ends in a quote") << "bad 'x'" << "bad 'x'";
        QTest::newRow("slash, code 47") << "a/" << "a/.";
        QTest::newRow("hyphen, code 45") << "a-" << "a-";
        QTest::newRow("blank") << "gap " << "gap ";
        QTest::newRow("exclamation mark") << "Stop!" << "Stop!";
        QTest::newRow("control character") << "tab\t" << "tab\t";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("byte above 127") << QString::fromLatin1("caf\xe9")
                                        << QString::fromLatin1("caf\xe9.");
    }

    void periodRule()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(FailureText(message), shown);
    }

    void failureMessages_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("expected");
        QTest::newRow("file not found") << EInOutError(2).Message() << "File not found";
        QTest::newRow("path not found") << EInOutError(3).Message() << "Invalid filename";
        QTest::newRow("open files") << EInOutError(4).Message() << "Too many open files";
        QTest::newRow("access") << EInOutError(5).Message() << "File access denied";
        QTest::newRow("100") << EInOutError(100).Message() << "Read beyond end of file";
        QTest::newRow("101") << EInOutError(101).Message() << "Disk full";
        QTest::newRow("106") << EInOutError(106).Message() << "Invalid numeric input";
        QTest::newRow("already exists") << EInOutError(183).Message() << "I/O error 183";
        QTest::newRow("disk full") << EInOutError(112).Message() << "I/O error 112";
        QTest::newRow("conversion") << EConvertError("  1.5").Message()
                                    << "'  1.5' is not a valid integer value";
        QTest::newRow("empty conversion") << EConvertError("").Message()
                                          << "'' is not a valid integer value";
        QTest::newRow("list index") << EListError(-1).Message()
                                    << "List index out of bounds (-1)";
    }

    void failureMessages()
    {
        QFETCH(QString, message);
        QFETCH(QString, expected);
        QCOMPARE(message, expected);
    }

    void reportedFailureShowsTheErrorBoxWithTheTitle()
    {
        RecordingMessageSeam seam;
        ReportFailure(EInOutError(2));
        QCOMPARE(seam.boxes, QStringList{"error: File not found."});
        QCOMPARE(seam.captions, QStringList{"Tavrik Control Centre"});
    }

    void reportingStopsAHeldArrowButton()
    {
        RecordingMessageSeam seam;
        HeldButton button;
        BeginPointerCapture(button);
        ReportFailure(Exception("stop"));
        QCOMPARE(button.cancelled, 1);
        ReportFailure(Exception("again"));
        QCOMPARE(button.cancelled, 1);
    }

    void guardReportsEachFailureOnceAndReturns()
    {
        RecordingMessageSeam seam;
        int stepsRun = 0;
        RunHandler([&] {
            ++stepsRun;
            throw EListError(3);
        });
        RunHandler([&] {
            ++stepsRun;
            throw std::runtime_error("out of memory");
        });
        RunHandler([&] { ++stepsRun; });
        // The file named below the message is the innermost operation's.
        RunHandler([] {
            ForFile("cstrike/bot.cfg", [] {
                ForFile("cstrike/bot2/personality.txt", [] { throw EInOutError(40); });
            });
        });
        QCOMPARE(stepsRun, 3);
        QCOMPARE(seam.boxes,
                 (QStringList{"error: List index out of bounds (3)", "error: out of memory.",
                              "error: I/O error 40.\ncstrike/bot2/personality.txt"}));
    }

    void noticeKeepsItsTextAndShowsNoErrorBox()
    {
        RecordingMessageSeam seam;
        ShowNotice("No personality number 7 - creating a default personality");
        QCOMPARE(seam.boxes,
                 QStringList{"notice: No personality number 7 - creating a default personality"});
        QCOMPARE(seam.captions, QStringList{ApplicationTitle()});
    }

    void noticeDialogCloses_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Enter") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("OK clicked") << 2;
        QTest::newRow("close box") << 3;
        QTest::newRow("Space on OK") << 4;
    }

    void noticeDialogCloses()
    {
        QFETCH(int, how);
        NoticeDialog notice(ApplicationTitle(), "Some notice");
        notice.show();
        QVERIFY(QTest::qWaitForWindowExposed(&notice));
        switch (how) {
        case 0: QTest::keyClick(&notice, Qt::Key_Return); break;
        case 1: QTest::keyClick(&notice, Qt::Key_Escape); break;
        case 2: QTest::mouseClick(notice.OkButton(), Qt::LeftButton); break;
        case 3: notice.close(); break;
        case 4: QTest::keyClick(notice.OkButton(), Qt::Key_Space); break;
        }
        QTRY_VERIFY(!notice.isVisible());
    }

    void noticeDialogLayout()
    {
        NoticeDialog notice(ApplicationTitle(), "Col1\tCol2 ends without a period");
        QCOMPARE(notice.windowTitle(), ApplicationTitle());
        QCOMPARE(notice.TextLabel()->text(), QString("Col1    Col2 ends without a period"));
        QCOMPARE(notice.OkButton()->text(), QString("OK"));
        QVERIFY(notice.OkButton()->isDefault());
        const QRect button = notice.OkButton()->geometry();
        QVERIFY(qAbs(button.center().x() - notice.width() / 2) <= 1);
        QVERIFY(button.top() > notice.TextLabel()->geometry().bottom());
        QVERIFY(notice.TextLabel()->geometry().left() > 0);
        QCOMPARE(notice.windowModality(), Qt::ApplicationModal);
    }

    void longNoticeWrapsWithinHalfTheScreen()
    {
        const QString text = QString("word ").repeated(200).trimmed();
        NoticeDialog notice(ApplicationTitle(), text);
        const int halfScreen = notice.screen()->availableGeometry().width() / 2;
        QVERIFY(notice.TextLabel()->text().contains(u'\n'));
        QVERIFY(notice.TextLabel()->width() <= halfScreen);
        QVERIFY(notice.TextLabel()->height() > notice.TextLabel()->fontMetrics().height() * 2);
    }

    // At any room a box may have, a line breaks only at a blank of the text
    // given, never in a path (as Qt's own wrap did, after its first slash or
    // at a hyphen), and no line is cut off; the text a user copies from the
    // box is the text given with some blanks turned into line breaks.
    void boxLinesBreakOnlyAtBlanks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("folder from the root")
            << "cannot open the game folder /tmp/tavrik-game/Half-Life: No such file or directory";
        QTest::newRow("copy beside a file")
            << "A copy is kept in cstrike/.bot.cfg.tavrik-copy-Ab3dE6g8; it stays there.";
        QTest::newRow("path first, folder only")
            << "cstrike/bot6/personality.txt and its folder cstrike/bot6 go.";
        // Wider than Qt lets a message box be on this screen.
        QTest::newRow("path wider than the screen")
            << "cannot open /home/" + QString("steam-library-folder/").repeated(8) + "cstrike now";
    }

    void boxLinesBreakOnlyAtBlanks()
    {
        QFETCH(QString, text);
        for (int room = 10; room <= 500; room += 3) {
            LinedMessageBox box(QMessageBox::Critical, ApplicationTitle(), text, QMessageBox::Ok,
                                nullptr);
            box.BreakLines(room);
            box.show();
            QCoreApplication::sendPostedEvents();
            const QString where = QString("%1 px: ").arg(room);
            QVERIFY2(SameUpToLineBreaks(box.text(), text), qPrintable(where + box.text()));
            auto* label = box.findChild<QLabel*>("qt_msgbox_label");
            const QList<qsizetype> starts = LineStarts(*label);
            QVERIFY(!starts.isEmpty());
            for (qsizetype start : starts)
                QVERIFY2(start == 0 || text[start - 1] == u' ',
                         qPrintable(where + text.left(start) + " | " + text.mid(start)));
            QCOMPARE_LE(label->geometry().right(), box.rect().right());
        }
        NoticeDialog notice(ApplicationTitle(), text);
        QLabel* label = notice.TextLabel();
        QVERIFY2(SameUpToLineBreaks(label->text(), text), qPrintable(label->text()));
        QVERIFY(!label->wordWrap());
        QCOMPARE_LE(label->sizeHint().width(), label->width());
    }

    void realNoticeBoxReturnsWhenAnswered()
    {
        bool answered = false;
        int width = 0;
        WhenModalOpens([&](QWidget* modal) {
            QVERIFY(qobject_cast<NoticeDialog*>(modal) != nullptr);
            QCOMPARE(modal->windowTitle(), ApplicationTitle());
            answered = true;
            width = modal->width();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        ShowNotice("Plain notice");
        QVERIFY(answered);
        QCOMPARE_GE(width, CaptionAndButtonsWidth());
    }

    // Short messages still leave room for the whole caption in the title bar.
    void realErrorBoxHasAStopIconAndOneButton_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("mainWindowShown");
        QTest::newRow("path not found") << 3 << "Invalid filename." << false;
        QTest::newRow("access denied") << 5 << "File access denied." << false;
        // A child of its own main window, centred over it.
        QTest::newRow("over the main window") << 5 << "File access denied." << true;
    }

    void realErrorBoxHasAStopIconAndOneButton()
    {
        QFETCH(int, code);
        QFETCH(QString, text);
        QFETCH(bool, mainWindowShown);
        QWidget mainWindow;
        mainWindow.setGeometry(40, 30, 600, 450);
        OwnBoxesBy(mainWindow);
        if (mainWindowShown) {
            mainWindow.show();
            QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        }
        QWidget* const owner = mainWindowShown ? &mainWindow : nullptr;
        bool answered = false;
        WhenModalOpens([&](QWidget* modal) {
            // Closed whatever the checks find, so that a failed one cannot
            // leave the test waiting in the box.
            const auto closeBox = qScopeGuard([modal] { modal->close(); });
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            QCOMPARE(box->windowTitle(), ApplicationTitle());
            QCOMPARE(box->text(), text);
            QCOMPARE(box->icon(), QMessageBox::Critical);
            QCOMPARE(box->buttons().size(), 1);
            QCOMPARE_GE(box->width(), CaptionAndButtonsWidth());
            QCOMPARE(box->parentWidget(), owner);
            if (owner)
                QVERIFY((box->geometry().center() - owner->geometry().center()).manhattanLength() < 4);
            answered = true;
        });
        ReportFailure(EInOutError(code));
        QVERIFY(answered);
    }
};

QTEST_MAIN(FailuresTest)
#include "tst_failures.moc"
