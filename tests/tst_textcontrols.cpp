#include "AccessibleNames.h"
#include "Exceptions.h"
#include "RecordingMessageSeam.h"
#include "TextArea.h"
#include "TextField.h"

#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QTextBlock>
#include <QtTest>

namespace {

enum class Control { Field, Area };

// Types each character as a key press and release; Qt's key code of a
// Latin-1 character is its upper-case code.
void TypeText(QWidget& widget, const QString& text)
{
    for (const QChar character : text) {
        const auto key = Qt::Key(character.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Press, &widget, key, QString(character), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, &widget, key, QString(character), Qt::NoModifier);
    }
}

void SendKey(QWidget& widget, QEvent::Type type, int key, bool autoRepeat = false)
{
    QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(&widget, &event);
}

// Every character from U+0000 to U+00FF, but for CR and LF when
// `withLineEnds` is false.
QString LatinOne(bool withLineEnds)
{
    QString text;
    for (char16_t code = 0; code <= 0xFF; ++code) {
        if (withLineEnds || (code != u'\r' && code != u'\n'))
            text += QChar(code);
    }
    return text;
}

// Either text control in a window with a field after it; changes and key
// releases are logged.
struct TextControl {
    explicit TextControl(Control kind)
    {
        auto* layout = new QHBoxLayout(&window);
        if (kind == Control::Field)
            layout->addWidget(field = new TextField(&window));
        else
            layout->addWidget(area = new TextArea(&window));
        layout->addWidget(next = new TextField(&window));
        OnChange() = [this] { changes << Text(); };
        OnKeyUp() = [this] { ++keyUps; };
    }

    QWidget& Widget() const { return field ? static_cast<QWidget&>(*field) : *area; }
    QString Text() const { return field ? field->Text() : area->Text(); }
    void SetText(const QString& text) { field ? field->SetText(text) : area->SetText(text); }
    ControlEvent& OnChange() { return field ? field->OnChange : area->OnChange; }
    ControlEvent& OnKeyUp() { return field ? field->OnKeyUp : area->OnKeyUp; }

    bool Activate()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }

    QWidget window;
    TextField* field = nullptr;
    TextArea* area = nullptr;
    TextField* next = nullptr;
    QStringList changes;
    int keyUps = 0;
};

// A data row named after the control, with the control filled in.
QTestData& NewRow(Control control, const char* name)
{
    const QByteArray rowName = QByteArray(control == Control::Field ? "field, " : "area, ").append(name);
    return QTest::newRow(rowName.constData()) << control;
}

void AddControlRows(const char* name)
{
    for (const Control control : {Control::Field, Control::Area})
        NewRow(control, name);
}

} // namespace

class TextControlsTest : public QObject {
    Q_OBJECT

private slots:
    void setTextReportsOnlyRealChanges_data()
    {
        QTest::addColumn<Control>("control");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("text");

        for (const Control control : {Control::Field, Control::Area}) {
            NewRow(control, "same text") << "Bot" << "Bot";
            NewRow(control, "case of one letter") << "Bot" << "bot";
            NewRow(control, "trailing blank") << "Bot" << "Bot ";
            NewRow(control, "emptied") << "Bot" << "";
            NewRow(control, "empty stays empty") << "" << "";
            NewRow(control, "Latin-1") << "" << LatinOne(control == Control::Field);
            NewRow(control, "40000 characters") << "" << QString(40000, QLatin1Char('a'));
        }
        QTest::newRow("area, same lines") << Control::Area << "a\r\nb" << "a\r\nb";
    }

    // The handler sees the new text: it runs after the control shows it.
    void setTextReportsOnlyRealChanges()
    {
        QFETCH(Control, control);
        QFETCH(QString, shown);
        QFETCH(QString, text);
        TextControl textControl(control);
        textControl.SetText(shown);
        textControl.changes.clear();

        textControl.SetText(text);

        QCOMPARE(textControl.Text(), text);
        QCOMPARE(textControl.changes, text == shown ? QStringList{} : QStringList{text});
    }

    void userEditsReportEachChange_data()
    {
        QTest::addColumn<Control>("control");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("expectedChanges");

        const QString eAcute(QChar(0xE9));
        for (const Control control : {Control::Field, Control::Area}) {
            NewRow(control, "typed Latin-1") << "a" + eAcute << QStringList{"a", "a" + eAcute};
            NewRow(control, "typed euro sign refused") << "\u20AC" << QStringList{};
            NewRow(control, "pasted euro sign refused") << "paste \u20AC" << QStringList{};
            // Ctrl-Z ends a file: the rest would be lost at the next load.
            NewRow(control, "Ctrl-Z from an input method refused") << "commit Ev\x1a" "e" << QStringList{};
            NewRow(control, "pasted Ctrl-Z refused") << "paste Ev\x1a" "e" << QStringList{};
        }
        QTest::newRow("area, pasted line breaks") << Control::Area << "paste one\r\ntwo\nthree"
                                                  << QStringList{"one\r\ntwo\r\nthree"};
        // A line break in a field would split the file line it is written to.
        QTest::newRow("field, pasted lines") << Control::Field << "paste one\r\ntwo\nthree"
                                             << QStringList{"one"};
        QTest::newRow("field, pasted line with its end") << Control::Field << "paste Kestrel\n"
                                                         << QStringList{"Kestrel"};
        QTest::newRow("field, pasted CR first") << Control::Field << "paste \rtwo"
                                                << QStringList{};
    }

    void userEditsReportEachChange()
    {
        QFETCH(Control, control);
        QFETCH(QString, input);
        QFETCH(QStringList, expectedChanges);
        TextControl textControl(control);

        if (input.startsWith("paste ")) {
            QGuiApplication::clipboard()->setText(input.mid(6));
            if (textControl.area)
                QCOMPARE(textControl.area->canPaste(), !expectedChanges.isEmpty());
            QTest::keyClick(&textControl.Widget(), Qt::Key_V, Qt::ControlModifier);
        } else if (input.startsWith("commit ")) {
            QInputMethodEvent commit;
            commit.setCommitString(input.mid(7));
            QApplication::sendEvent(&textControl.Widget(), &commit);
        } else {
            TypeText(textControl.Widget(), input);
        }

        QCOMPARE(textControl.changes, expectedChanges);
        QCOMPARE(textControl.Text(), expectedChanges.isEmpty() ? QString() : expectedChanges.last());
    }

    // Text read from a file keeps its line feeds; only what the user inserts
    // is cut at a line break.
    void fieldCutsInsertedTextAtItsFirstLineBreak_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("expected");
        QTest::newRow("into the middle") << "ab" << 1 << "X\nY" << "aXb";
        QTest::newRow("at the end") << "ab" << 2 << "X\r\n" << "abX";
        QTest::newRow("same text as follows") << "ab" << 1 << "b\nb" << "abb";
        QTest::newRow("field holding a line feed") << "one\ntwo" << 3 << "X" << "oneX\ntwo";
        QTest::newRow("line feed pasted into one") << "one\ntwo" << 8 << "!\n?" << "one\ntwo!";
    }

    void fieldCutsInsertedTextAtItsFirstLineBreak()
    {
        QFETCH(QString, shown);
        QFETCH(int, cursor);
        QFETCH(QString, pasted);
        QFETCH(QString, expected);
        TextField field;
        field.SetText(shown);
        field.setCursorPosition(cursor);
        QGuiApplication::clipboard()->setText(pasted);

        QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);

        QCOMPARE(field.Text(), expected);
    }

    void keyUpReportsEveryReleasedKeyOnce_data()
    {
        QTest::addColumn<Control>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("repeats");

        for (const Control control : {Control::Field, Control::Area}) {
            NewRow(control, "letter") << int(Qt::Key_A) << 0;
            NewRow(control, "shift") << int(Qt::Key_Shift) << 0;
            NewRow(control, "control") << int(Qt::Key_Control) << 0;
            NewRow(control, "function key") << int(Qt::Key_F5) << 0;
            NewRow(control, "held arrow") << int(Qt::Key_Right) << 3;
        }
    }

    // A held key repeats its press and release; only the last release counts.
    void keyUpReportsEveryReleasedKeyOnce()
    {
        QFETCH(Control, control);
        QFETCH(int, key);
        QFETCH(int, repeats);
        TextControl textControl(control);
        QWidget& widget = textControl.Widget();

        SendKey(widget, QEvent::KeyPress, key);
        for (int repeat = 0; repeat < repeats; ++repeat) {
            SendKey(widget, QEvent::KeyRelease, key, true);
            SendKey(widget, QEvent::KeyPress, key, true);
        }
        QCOMPARE(textControl.keyUps, 0);
        SendKey(widget, QEvent::KeyRelease, key);

        QCOMPARE(textControl.keyUps, 1);
    }

    void tabMovesFocusAndIsReleasedInNextControl_data()
    {
        QTest::addColumn<Control>("control");
        AddControlRows("tab");
    }

    void tabMovesFocusAndIsReleasedInNextControl()
    {
        QFETCH(Control, control);
        TextControl textControl(control);
        QVERIFY(textControl.Activate());
        textControl.Widget().setFocus(Qt::OtherFocusReason);
        int keyUpsInNext = 0;
        textControl.next->OnKeyUp = [&] { ++keyUpsInNext; };

        QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Tab);

        QVERIFY(textControl.next->hasFocus());
        QCOMPARE(textControl.Text(), QString());
        QCOMPARE(textControl.keyUps, 0);
        QCOMPARE(keyUpsInNext, 1);
    }

    void failuresFollowTheirCause_data()
    {
        QTest::addColumn<Control>("control");
        AddControlRows("failing handlers");
    }

    // The program's set lets the failure through; the user's key reports it.
    void failuresFollowTheirCause()
    {
        QFETCH(Control, control);
        RecordingMessageSeam seam;
        TextControl textControl(control);
        textControl.OnChange() = [] { throw Exception(QStringLiteral("Change failed")); };
        textControl.OnKeyUp() = [] { throw Exception(QStringLiteral("Save failed")); };

        QTest::keyClick(&textControl.Widget(), Qt::Key_X);
        QCOMPARE(seam.boxes, (QStringList{"error: Change failed.", "error: Save failed."}));
        QVERIFY_THROWS_EXCEPTION(Exception, textControl.SetText(QStringLiteral("Bot")));

        QCOMPARE(seam.boxes.size(), 2);
        QCOMPARE(textControl.Text(), QStringLiteral("Bot"));
    }

    void areaShowsLinesAndReadsThemBack_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expectedLines");
        QTest::addColumn<QString>("expectedText");

        QTest::newRow("two line ends") << "first\r\nsecond\r\nthird" << QStringList{"first", "second", "third"}
                                       << "first\r\nsecond\r\nthird";
        QTest::newRow("final line end") << "only\r\n" << QStringList{"only", ""} << "only\r\n";
        QTest::newRow("lone line feed") << "one\ntwo" << QStringList{"one", "two"} << "one\r\ntwo";
        QTest::newRow("line feed, line end") << "a\n\r\nb" << QStringList{"a", "", "b"} << "a\r\n\r\nb";
        QTest::newRow("line feed, carriage return") << "a\n\rb" << QStringList{"a", "", "b"} << "a\r\n\r\nb";
        QTest::newRow("every other Latin-1") << LatinOne(false) << QStringList{LatinOne(false)} << LatinOne(false);
        QTest::newRow("lone carriage return") << "one\rtwo" << QStringList{"one", "two"} << "one\r\ntwo";
    }

    void areaShowsLinesAndReadsThemBack()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expectedLines);
        QFETCH(QString, expectedText);
        TextArea area;

        area.SetText(text);

        QStringList lines;
        for (QTextBlock block = area.document()->begin(); block.isValid(); block = block.next())
            lines << block.text();
        QCOMPARE(lines, expectedLines);
        QCOMPARE(area.Text(), expectedText);
    }

    void areaEnterStartsNewLine_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");

        QTest::newRow("return") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
        QTest::newRow("shift return") << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ShiftModifier);
    }

    void areaEnterStartsNewLine()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        TextControl textControl(Control::Area);

        TypeText(*textControl.area, QStringLiteral("ab"));
        QTest::keyClick(textControl.area, Qt::Key(key), modifiers);
        TypeText(*textControl.area, QStringLiteral("c"));

        QCOMPARE(textControl.changes, (QStringList{"a", "ab", "ab\r\n", "ab\r\nc"}));
    }

    void areaWrappingAddsNothingToText()
    {
        TextArea area;
        area.resize(80, 200);
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        const QString longLine = QStringLiteral("a long chat line that cannot fit into a narrow area");

        area.SetText(longLine);

        QTRY_VERIFY(area.document()->firstBlock().layout()->lineCount() > 1);
        QCOMPARE(area.Text(), longLine);
    }

    void areaClearTextRaisesNothing()
    {
        TextControl textControl(Control::Area);
        textControl.SetText(QStringLiteral("one\r\ntwo"));
        textControl.changes.clear();

        textControl.area->ClearText();

        QCOMPARE(textControl.Text(), QString());
        QVERIFY(textControl.changes.isEmpty());
    }

    // While it can undo, the document keeps every text inserted into it. Past
    // MaxUndoSteps steps a key release starts the history again and so gives
    // that text back; the text, the selection and the reported changes stay.
    void areaUndoHistoryStartsAgainWhenFull()
    {
        TextControl textControl(Control::Area);
        TextArea& area = *textControl.area;
        for (int list = 1; area.document()->availableUndoSteps() <= TextArea::MaxUndoSteps; ++list) {
            area.selectAll();
            area.insertPlainText(QStringLiteral("list %1\nline").arg(list));
        }
        const qsizetype changes = textControl.changes.size();
        QTextCursor selection = area.textCursor();
        selection.setPosition(9);
        selection.setPosition(2, QTextCursor::KeepAnchor);
        area.setTextCursor(selection);
        const QString text = area.Text();

        QTest::keyRelease(&area, Qt::Key_Control);

        QCOMPARE(area.document()->availableUndoSteps(), 0);
        QCOMPARE(area.Text(), text);
        QCOMPARE(area.textCursor().anchor(), 9);
        QCOMPARE(area.textCursor().position(), 2);
        QCOMPARE(textControl.changes.size(), changes);
        QCOMPARE(textControl.keyUps, 1);
        area.insertPlainText(QStringLiteral("x"));
        area.undo();
        QCOMPARE(area.Text(), text);
    }

    void readOnlyAreaRefusesChangesButCopies()
    {
        TextControl textControl(Control::Area);
        textControl.SetText(QStringLiteral("help\r\ntext"));
        textControl.changes.clear();
        textControl.area->setReadOnly(true);
        QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));

        TypeText(*textControl.area, QStringLiteral("x"));
        QTest::keyClick(textControl.area, Qt::Key_Return);
        QTest::keyClick(textControl.area, Qt::Key_V, Qt::ControlModifier);
        textControl.area->selectAll();
        QTest::keyClick(textControl.area, Qt::Key_C, Qt::ControlModifier);

        QCOMPARE(textControl.Text(), QStringLiteral("help\r\ntext"));
        QVERIFY(textControl.changes.isEmpty());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("help\ntext"));
    }

    // A screen reader names the field after its label, read as spoken.
    void labelNamesItsField_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "Camp Chance" << "Camp Chance";
        QTest::newRow("closing colon") << "Name:" << "Name";
        QTest::newRow("colon after a blank") << "Name :" << "Name";
        QTest::newRow("colon inside") << "Time: (seconds)" << "Time: (seconds)";
        QTest::newRow("runs of blanks") << "Minimum Buy Time         (seconds)"
                                        << "Minimum Buy Time (seconds)";
    }

    void labelNamesItsField()
    {
        QFETCH(QString, caption);
        QFETCH(QString, name);
        QWidget page;
        auto* label = new QLabel(caption, &page);
        auto* field = new TextField(&page);
        LabelControl(*label, *field);
        QCOMPARE(field->accessibleName(), name);
        QCOMPARE(label->buddy(), field);
    }
};

QTEST_MAIN(TextControlsTest)
#include "tst_textcontrols.moc"
