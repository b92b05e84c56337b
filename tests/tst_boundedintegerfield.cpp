#include "BoundedIntegerField.h"
#include "Exceptions.h"
#include "PointerCapture.h"
#include "RecordingMessageSeam.h"
#include "SpinArrowButton.h"
#include "TextField.h"

#include <QClipboard>
#include <QDialog>
#include <QHBoxLayout>
#include <QtTest>

namespace {

enum class Step { Up, Down };

// Types each character as a key press and release; Qt's key code of a
// Latin-1 character is its upper-case code.
void TypeText(QWidget& widget, const QString& text)
{
    for (const QChar character : text) {
        const auto key = character == u'\b'   ? Qt::Key_Backspace
                         : character == u'\r' ? Qt::Key_Return
                                              : Qt::Key(character.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Press, &widget, key, QString(character), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, &widget, key, QString(character), Qt::NoModifier);
    }
}

void SendFocusOut(QWidget& widget, Qt::FocusReason reason)
{
    QFocusEvent focusOut(QEvent::FocusOut, reason);
    QApplication::sendEvent(&widget, &focusOut);
}

// A shown window with the field (range 0 to 100) and a second field to move
// the focus to. Every change of the field's text is logged.
struct FieldWindow {
    FieldWindow(int minValue = 0, int maxValue = 100, const QString& text = QStringLiteral("0"))
    {
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(field = new BoundedIntegerField(&window));
        layout->addWidget(other = new TextField(&window));
        field->SetMinValue(minValue);
        field->SetMaxValue(maxValue);
        field->setText(text);
        field->OnChange = [this] { changes << field->text(); };
        window.show();
    }

    bool Activate()
    {
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }

    SpinArrowButton& Arrow(Step step) const
    {
        return *field->findChild<SpinArrowButton*>(step == Step::Up ? "StepUpButton" : "StepDownButton");
    }

    void Press(Step step) { QTest::mousePress(&Arrow(step), Qt::LeftButton, {}, Arrow(step).rect().center()); }
    void Release(Step step, bool over = true)
    {
        SpinArrowButton& arrow = Arrow(step);
        QTest::mouseRelease(&arrow, Qt::LeftButton, {}, over ? arrow.rect().center() : Away(arrow));
    }
    void Move(Step step, bool over)
    {
        SpinArrowButton& arrow = Arrow(step);
        QTest::mouseMove(&arrow, over ? arrow.rect().center() : Away(arrow));
    }
    static QPoint Away(const QWidget& arrow) { return QPoint(arrow.width() + 30, arrow.height() + 30); }

    QWidget window;
    BoundedIntegerField* field;
    TextField* other;
    QStringList changes;
};

// Holding tests allow one step either way for timer delays on a busy machine.
void CompareWithinOneStep(qsizetype actual, int expected)
{
    const QString message = QStringLiteral("%1 steps, expected %2").arg(actual).arg(expected);
    QVERIFY2(qAbs(actual - expected) <= 1, qPrintable(message));
}

} // namespace

class BoundedIntegerFieldTest : public QObject {
    Q_OBJECT

private slots:
    void setValueClampsAndReportsChangedText_data()
    {
        QTest::addColumn<int>("minValue");
        QTest::addColumn<int>("maxValue");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("value");
        QTest::addColumn<QStringList>("expectedChanges");

        QTest::newRow("same value") << 1 << 100 << "1" << 1 << QStringList{};
        QTest::newRow("below range at minimum") << 1 << 100 << "1" << 0 << QStringList{};
        QTest::newRow("above range") << 1 << 100 << "7" << 250 << QStringList{"100"};
        QTest::newRow("inside range") << 1 << 100 << "7" << 42 << QStringList{"42"};
        QTest::newRow("same value, other text") << 1 << 100 << "007" << 7 << QStringList{"7"};
        QTest::newRow("word to minimum") << 1 << 100 << "abc" << -3 << QStringList{"1"};
        QTest::newRow("negative range") << -10 << -1 << "-5" << 3 << QStringList{"-1"};
        QTest::newRow("equal bounds below") << 0 << 0 << "0" << -5 << QStringList{"-5"};
        QTest::newRow("equal bounds above") << 0 << 0 << "0" << 250 << QStringList{"250"};
    }

    // The handler sees the new text: it runs after the field shows it.
    void setValueClampsAndReportsChangedText()
    {
        QFETCH(int, minValue);
        QFETCH(int, maxValue);
        QFETCH(QString, shown);
        QFETCH(int, value);
        QFETCH(QStringList, expectedChanges);
        FieldWindow fieldWindow(minValue, maxValue, shown);

        fieldWindow.field->SetValue(value);

        QCOMPARE(fieldWindow.changes, expectedChanges);
        QCOMPARE(fieldWindow.field->text(), expectedChanges.isEmpty() ? shown : expectedChanges.last());
    }

    void failingProgramChangeLeavesThroughSetValue()
    {
        RecordingMessageSeam seam;
        BoundedIntegerField field;
        field.OnChange = [] { throw Exception(QStringLiteral("Handler failed")); };

        QVERIFY_THROWS_EXCEPTION(Exception, field.SetValue(6));

        QCOMPARE(field.text(), QStringLiteral("6"));
        QVERIFY(seam.boxes.isEmpty());
    }

    void valueReadsShownTextUnclamped_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("expectedValue");

        // The range is 5 to 10, so that reading MinValue is told apart from 0.
        QTest::newRow("above range") << "150" << 150;
        QTest::newRow("below range") << "-4" << -4;
        QTest::newRow("leading blank") << " 42" << 42;
        QTest::newRow("hexadecimal") << "$1A" << 26;
        QTest::newRow("empty") << "" << 5;
        QTest::newRow("lone minus") << "-" << 5;
        QTest::newRow("decimal separator") << "1.5" << 5;
        QTest::newRow("pasted words") << "twelve" << 5;
        QTest::newRow("trailing blank") << "7 " << 5;
        // Digits too many for an integer: the end of the range their sign
        // points to.
        QTest::newRow("beyond 32 bits") << "2147483648" << 10;
        QTest::newRow("beyond 32 bits, negative") << "-99999999999" << 5;
    }

    void valueReadsShownTextUnclamped()
    {
        QFETCH(QString, shown);
        QFETCH(int, expectedValue);
        FieldWindow fieldWindow(5, 10, shown);

        QCOMPARE(fieldWindow.field->Value(), expectedValue);
    }

    void stepsFollowTheSetRule_data()
    {
        QTest::addColumn<int>("minValue");
        QTest::addColumn<int>("maxValue");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<Step>("step");
        QTest::addColumn<QStringList>("expectedChanges");

        QTest::newRow("up inside range") << 0 << 100 << "50" << Step::Up << QStringList{"51"};
        QTest::newRow("down inside range") << 0 << 100 << "50" << Step::Down << QStringList{"49"};
        QTest::newRow("up at maximum") << 0 << 100 << "100" << Step::Up << QStringList{};
        QTest::newRow("down at minimum") << 0 << 100 << "0" << Step::Down << QStringList{};
        QTest::newRow("up above range") << 0 << 100 << "150" << Step::Up << QStringList{"100"};
        QTest::newRow("down above range") << 0 << 100 << "150" << Step::Down << QStringList{"100"};
        QTest::newRow("up on a word") << 3 << 100 << "abc" << Step::Up << QStringList{"4"};
        QTest::newRow("down on a word") << 3 << 100 << "abc" << Step::Down << QStringList{"3"};
        // Saturated, not wrapped around to the other end.
        QTest::newRow("up at highest integer") << 0 << 0 << "2147483647" << Step::Up << QStringList{};
        QTest::newRow("down at lowest integer") << 0 << 0 << "-2147483648" << Step::Down << QStringList{};
    }

    void stepsFollowTheSetRule()
    {
        QFETCH(int, minValue);
        QFETCH(int, maxValue);
        QFETCH(QString, shown);
        QFETCH(Step, step);
        QFETCH(QStringList, expectedChanges);
        FieldWindow fieldWindow(minValue, maxValue, shown);

        step == Step::Up ? fieldWindow.field->StepUp() : fieldWindow.field->StepDown();

        QCOMPARE(fieldWindow.changes, expectedChanges);
        QCOMPARE(fieldWindow.field->text(), expectedChanges.isEmpty() ? shown : expectedChanges.last());
    }

    void userInputReportsEachText_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("expectedChanges");

        const QString separator = QLocale().decimalPoint();
        QTest::newRow("digits") << "" << "12" << QStringList{"1", "12"};
        QTest::newRow("signs anywhere") << "" << "4-+" << QStringList{"4", "4-", "4-+"};
        QTest::newRow("decimal separator dropped") << "" << "4" + separator + "5" << QStringList{"4", "45"};
        QTest::newRow("letter dropped") << "" << "1a2" << QStringList{"1", "12"};
        QTest::newRow("blank and marks dropped") << "" << " $x*/" << QStringList{};
        QTest::newRow("Latin-1 letter dropped") << "" << QString(QChar(0xE9)) << QStringList{};
        QTest::newRow("backspace to empty") << "12" << "\b\b" << QStringList{"1", ""};
        QTest::newRow("paste of any text") << "" << "paste" << QStringList{"about 1.5 kg"};
        QTest::newRow("up key") << "50" << "up" << QStringList{"51"};
        QTest::newRow("down key") << "50" << "down" << QStringList{"49"};
        QTest::newRow("key repetition") << "50" << "up, repeated" << QStringList{"51", "52", "53"};
        QTest::newRow("page up key") << "50" << "page up" << QStringList{"60"};
        QTest::newRow("page down key") << "5" << "page down" << QStringList{"0"};
        QTest::newRow("wheel") << "50" << "wheel" << QStringList{"52"};
        // Typing reported when done: at Enter, clamped; at once for an arrow.
        QTest::newRow("when done, enter") << "" << "when done: 12\r" << QStringList{"12"};
        QTest::newRow("when done, clamped") << "" << "when done: 150\r" << QStringList{"100"};
        QTest::newRow("when done, up") << "" << "when done: 12up" << QStringList{"13"};
    }

    void userInputReportsEachText()
    {
        QFETCH(QString, shown);
        QFETCH(QString, input);
        QFETCH(QStringList, expectedChanges);
        FieldWindow fieldWindow(0, 100, shown);
        BoundedIntegerField& field = *fieldWindow.field;

        if (input.startsWith("when done: ")) {
            field.ReportTypingWhenDone();
            input = input.mid(11);
        }
        if (input == "page up" || input == "page down") {
            QTest::keyClick(&field, input == "page up" ? Qt::Key_PageUp : Qt::Key_PageDown);
        } else if (input == "wheel") {
            QVERIFY(fieldWindow.Activate());
            field.setFocus();
            const QPointF centre = QRectF(field.rect()).center();
            QWheelEvent wheel(centre, field.mapToGlobal(centre), {}, {0, 240}, Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&field, &wheel);
        } else if (input.endsWith("up") && input.size() > 2) {
            TypeText(field, input.chopped(2));
            QTest::keyClick(&field, Qt::Key_Up);
        } else if (input == "paste") {
            QGuiApplication::clipboard()->setText(QStringLiteral("about 1.5 kg"));
            QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
        } else if (input.startsWith("up") || input == "down") {
            const int key = input == "down" ? Qt::Key_Down : Qt::Key_Up;
            for (const bool repeated : input.endsWith("repeated") ? QList{false, true, true} : QList{false}) {
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), repeated);
                QApplication::sendEvent(&field, &press);
            }
        } else {
            TypeText(field, input);
        }

        QCOMPARE(fieldWindow.changes, expectedChanges);
        QCOMPARE(field.text(), expectedChanges.isEmpty() ? shown : expectedChanges.last());
    }

    // Refused like a letter and, unlike in a plain line edit, not passed on.
    void enterIsDroppedNotPassedOn_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("return") << int(Qt::Key_Return);
        QTest::newRow("keypad enter") << int(Qt::Key_Enter);
    }

    void enterIsDroppedNotPassedOn()
    {
        QFETCH(int, key);
        FieldWindow fieldWindow(0, 100, "12");
        QKeyEvent enter(QEvent::KeyPress, key, Qt::NoModifier, QStringLiteral("\r"));

        QApplication::sendEvent(fieldWindow.field, &enter);

        QVERIFY(enter.isAccepted());
        QCOMPARE(fieldWindow.field->text(), QStringLiteral("12"));
        QVERIFY(fieldWindow.changes.isEmpty());
    }

    void leavingClampsOutOfRangeValue_data()
    {
        QTest::addColumn<Qt::FocusReason>("reason");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("expectedChanges");

        QTest::newRow("tab above range") << Qt::TabFocusReason << "150" << QStringList{"100"};
        QTest::newRow("backtab below range") << Qt::BacktabFocusReason << "-4" << QStringList{"0"};
        QTest::newRow("click elsewhere") << Qt::MouseFocusReason << "150" << QStringList{"100"};
        QTest::newRow("shortcut") << Qt::ShortcutFocusReason << "150" << QStringList{"100"};
        QTest::newRow("other") << Qt::OtherFocusReason << "150" << QStringList{"100"};
        QTest::newRow("inside range") << Qt::TabFocusReason << "050" << QStringList{};
        QTest::newRow("empty") << Qt::TabFocusReason << "" << QStringList{};
        QTest::newRow("not an integer") << Qt::TabFocusReason << "1.5" << QStringList{};
        QTest::newRow("beyond 32 bits") << Qt::TabFocusReason << "99999999999" << QStringList{"100"};
        QTest::newRow("window deactivated") << Qt::ActiveWindowFocusReason << "150" << QStringList{};
        QTest::newRow("popup opened") << Qt::PopupFocusReason << "150" << QStringList{};
    }

    void leavingClampsOutOfRangeValue()
    {
        QFETCH(Qt::FocusReason, reason);
        QFETCH(QString, shown);
        QFETCH(QStringList, expectedChanges);
        FieldWindow fieldWindow(0, 100, shown);

        SendFocusOut(*fieldWindow.field, reason);

        QCOMPARE(fieldWindow.changes, expectedChanges);
        QCOMPARE(fieldWindow.field->text(), expectedChanges.isEmpty() ? shown : expectedChanges.last());
    }

    void tabbingAwayClampsButDeactivatingDoesNot()
    {
        FieldWindow fieldWindow(0, 100, "150");
        QVERIFY(fieldWindow.Activate());
        fieldWindow.field->setFocus(Qt::OtherFocusReason);

        QWidget otherWindow;
        otherWindow.show();
        otherWindow.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&otherWindow));
        QVERIFY(fieldWindow.changes.isEmpty());
        QVERIFY(fieldWindow.Activate());
        QTRY_VERIFY(fieldWindow.field->hasFocus());
        QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Tab);

        QVERIFY(fieldWindow.other->hasFocus());
        QCOMPARE(fieldWindow.changes, QStringList{"100"});
    }

    void enteringByKeyboardSelectsAllByClickPlacesCaret()
    {
        FieldWindow fieldWindow(0, 100, "42");
        QVERIFY(fieldWindow.Activate());
        fieldWindow.other->setFocus(Qt::OtherFocusReason);

        QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(fieldWindow.field->selectedText(), QStringLiteral("42"));
        fieldWindow.other->setFocus(Qt::OtherFocusReason);
        QTest::mouseClick(fieldWindow.field, Qt::LeftButton, {}, QPoint(4, fieldWindow.field->height() / 2));

        QVERIFY(fieldWindow.field->hasFocus());
        QVERIFY(!fieldWindow.field->hasSelectedText());
    }

    void arrowButtonsSitInsideRightEdgeBesideText()
    {
        FieldWindow fieldWindow;
        const QRect up = fieldWindow.Arrow(Step::Up).geometry();
        const QRect down = fieldWindow.Arrow(Step::Down).geometry();

        QVERIFY(fieldWindow.field->rect().contains(up.united(down)));
        QVERIFY(up.bottom() < down.top());
        QVERIFY(up.right() >= fieldWindow.field->width() - 4);
        QVERIFY(fieldWindow.field->textMargins().right() >= up.width());
    }

    void shortClickFocusesFieldAndStepsOnRelease_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<QString>("expectedText");
        QTest::newRow("upper button") << Step::Up << "51";
        QTest::newRow("lower button") << Step::Down << "49";
    }

    void shortClickFocusesFieldAndStepsOnRelease()
    {
        QFETCH(Step, step);
        QFETCH(QString, expectedText);
        FieldWindow fieldWindow(0, 100, "50");
        QVERIFY(fieldWindow.Activate());
        fieldWindow.other->setFocus(Qt::OtherFocusReason);

        fieldWindow.Press(step);
        QVERIFY(fieldWindow.field->hasFocus());
        QVERIFY(fieldWindow.changes.isEmpty());
        fieldWindow.Release(step);

        QCOMPARE(fieldWindow.changes, QStringList{expectedText});
    }

    void holdingStepsAfterDelayThenEveryInterval()
    {
        FieldWindow fieldWindow;
        QElapsedTimer sincePress;
        QList<qint64> stepTimes;
        fieldWindow.field->OnChange = [&] { stepTimes << sincePress.elapsed(); };

        fieldWindow.Press(Step::Up);
        sincePress.start();
        QTest::qWait(1050);
        fieldWindow.Release(Step::Up);

        // Steps at 400, 500, ..., 1000 ms and one on release.
        CompareWithinOneStep(stepTimes.size(), 8);
        QCOMPARE(fieldWindow.field->Value(), stepTimes.size());
        QVERIFY2(stepTimes.first() >= 390 && stepTimes.first() < 480, qPrintable(QString::number(stepTimes.first())));
        const qsizetype repeats = stepTimes.size() - 2;
        const qint64 averageInterval = (stepTimes.at(repeats) - stepTimes.first()) / repeats;
        QVERIFY2(averageInterval >= 90 && averageInterval < 125, qPrintable(QString::number(averageInterval)));
    }

    void noStepsWhileAwayFromButton()
    {
        FieldWindow fieldWindow;

        fieldWindow.Press(Step::Up);
        fieldWindow.Move(Step::Up, false);
        QTest::qWait(650);
        const qsizetype stepsWhileAway = fieldWindow.changes.size();
        fieldWindow.Move(Step::Up, true);
        QTest::qWait(350);
        const qsizetype stepsAfterReturn = fieldWindow.changes.size();
        fieldWindow.Move(Step::Up, false);
        fieldWindow.Release(Step::Up, false);

        QCOMPARE(stepsWhileAway, 0);
        CompareWithinOneStep(stepsAfterReturn, 3);
        QCOMPARE(fieldWindow.changes.size(), stepsAfterReturn);
    }

    void repetitionStops_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QStringList>("expectedBoxes");

        QTest::newRow("capture cancelled") << "cancel" << QStringList{};
        QTest::newRow("modal window opened") << "modal" << QStringList{};
        QTest::newRow("step failed") << "failure" << QStringList{"error: 'x' is not a valid integer value."};
    }

    // The first step brings the cause; nothing steps after it, not even the
    // release over the button.
    void repetitionStops()
    {
        QFETCH(QString, cause);
        QFETCH(QStringList, expectedBoxes);
        RecordingMessageSeam seam;
        FieldWindow fieldWindow;
        QDialog notice;
        notice.setWindowModality(Qt::ApplicationModal);
        int steps = 0;
        fieldWindow.field->OnChange = [&] {
            ++steps;
            if (cause == "modal")
                notice.show();
            if (cause == "failure")
                throw EConvertError(QStringLiteral("x"));
        };

        fieldWindow.Press(Step::Up);
        QTRY_COMPARE_WITH_TIMEOUT(steps, 1, 1000);
        if (cause == "cancel")
            CancelPointerCapture();
        QTest::qWait(350);
        notice.hide();
        QTest::qWait(250);
        fieldWindow.Release(Step::Up);

        QCOMPARE(steps, 1);
        QCOMPARE(fieldWindow.field->text(), QStringLiteral("1"));
        QCOMPARE(seam.boxes, expectedBoxes);
    }

    // Pressing an arrow takes the focus from another field, which clamps and
    // fails; the user lets go while the error box is open, so the arrow never
    // sees the release and must not go on stepping.
    void pressThatClampsAFailingFieldDoesNotRepeat()
    {
        RecordingMessageSeam seam;
        FieldWindow fieldWindow;
        QVERIFY(fieldWindow.Activate());
        auto* clamped = new BoundedIntegerField(&fieldWindow.window);
        clamped->SetMinValue(0);
        clamped->SetMaxValue(100);
        clamped->setText(QStringLiteral("150"));
        clamped->OnChange = [] { throw Exception(QStringLiteral("Load failed")); };
        // The release reaches the box, not the arrow.
        seam.whileOpen = [&] { QTest::mouseRelease(&fieldWindow.window, Qt::LeftButton, {}, QPoint(1, 1)); };
        clamped->show();
        clamped->setFocus();
        QTRY_VERIFY(clamped->hasFocus());

        fieldWindow.Press(Step::Up);
        QTest::qWait(700);

        QCOMPARE(seam.boxes, QStringList{"error: Load failed."});
        QCOMPARE(clamped->text(), QStringLiteral("100"));
        QVERIFY(fieldWindow.changes.isEmpty());
    }

    void failingUserChangeIsReportedNotThrown_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expectedText");

        QTest::newRow("typing") << "typing" << "507";
        QTest::newRow("up key") << "up key" << "51";
        QTest::newRow("leaving") << "leaving" << "100";
        QTest::newRow("arrow click") << "arrow click" << "51";
    }

    void failingUserChangeIsReportedNotThrown()
    {
        QFETCH(QString, input);
        QFETCH(QString, expectedText);
        RecordingMessageSeam seam;
        FieldWindow fieldWindow(0, 100, input == "leaving" ? "150" : "50");
        BoundedIntegerField& field = *fieldWindow.field;
        field.OnChange = [] { throw Exception(QStringLiteral("Handler failed")); };

        if (input == "typing") {
            QTest::keyClick(&field, Qt::Key_7);
        } else if (input == "up key") {
            QTest::keyClick(&field, Qt::Key_Up);
        } else if (input == "leaving") {
            SendFocusOut(field, Qt::TabFocusReason);
        } else {
            fieldWindow.Press(Step::Up);
            fieldWindow.Release(Step::Up);
        }

        QCOMPARE(seam.boxes, QStringList{"error: Handler failed."});
        QCOMPARE(field.text(), expectedText);
    }
};

QTEST_MAIN(BoundedIntegerFieldTest)
#include "tst_boundedintegerfield.moc"
