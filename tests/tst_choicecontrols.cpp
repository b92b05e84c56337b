#include "CheckBoxControl.h"
#include "CheckList.h"
#include "DropDownSelector.h"
#include "Exceptions.h"
#include "Failures.h"
#include "RecordingMessageSeam.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QStyleOptionButton>
#include <QtTest>

namespace {

enum class Input { KeyUp, KeyDown, WheelUp, WheelDown, WheelUnfocused, ListPick };

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

void Turn(QWidget& widget, int angle)
{
    const QPointF centre = widget.rect().center();
    QWheelEvent wheel(centre, widget.mapToGlobal(centre), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &wheel);
}

// The wheel acts only on the selector the user is working with.
void TurnWithFocus(QWidget& widget, int angle)
{
    widget.show();
    widget.activateWindow();
    widget.setFocus();
    QTRY_VERIFY(widget.hasFocus());
    Turn(widget, angle);
}

void PickFromList(QComboBox& selector, int index)
{
    selector.show();
    selector.showPopup();
    QAbstractItemView& list = *selector.view();
    QTRY_VERIFY(list.isVisible());
    // Qt ignores a release that follows the opening of the list too closely.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(list.model()->index(index, 0)).center());
}

QRect CheckBoxPart(const CheckBoxControl& box, QStyle::SubElement part)
{
    QStyleOptionButton option;
    option.initFrom(&box);
    option.text = box.text();
    return box.style()->subElementRect(part, &option, &box);
}

const QStringList mods{"Counter-Strike", "Half-Life: Death Match", "Team Fortress"};

// The three entries, entry `selected` (-1 for none) selected and, unless
// `typed` is empty, that text typed over it. OnChange logs what it sees.
struct Selector {
    Selector(int selected, const QString& typed)
    {
        selector.addItems(mods);
        selector.SetSelectedIndex(selected);
        if (!typed.isEmpty()) {
            selector.lineEdit()->selectAll();
            TypeText(selector, typed);
        }
        selector.OnChange = [this] {
            texts << selector.Text();
            indexes << selector.SelectedIndex();
        };
    }

    DropDownSelector selector;
    QStringList texts;
    QList<int> indexes;
};

// Three entries, shown, with their toggles counted.
struct Roster {
    Roster()
    {
        for (const char* name : {"Aimbot", "Camper", "Rusher"})
            list.AddEntry(QLatin1String(name));
        list.resize(200, 120);
        list.OnClickCheck = [this] { ++toggles; };
    }

    void Click(int x, int entry) { QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(x, Row(entry))); }
    int Row(int entry) const { return list.CheckMarkRect(entry).center().y(); }
    int Highlighted() const { return list.selectedItems().isEmpty() ? -1 : list.row(list.selectedItems().first()); }

    CheckList list;
    int toggles = 0;
};

} // namespace

class ChoiceControlsTest : public QObject {
    Q_OBJECT

private slots:
    void checkBoxSetStateReportsOnlyChanges_data()
    {
        QTest::addColumn<CheckState>("from");
        QTest::addColumn<CheckState>("to");
        QTest::addColumn<bool>("expectedChecked");

        const auto unchecked = CheckState::cbUnchecked;
        const auto checked = CheckState::cbChecked;
        const auto grayed = CheckState::cbGrayed;
        QTest::newRow("unchecked to unchecked") << unchecked << unchecked << false;
        QTest::newRow("checked to checked") << checked << checked << true;
        QTest::newRow("grayed to grayed") << grayed << grayed << false;
        QTest::newRow("unchecked to checked") << unchecked << checked << true;
        QTest::newRow("checked to unchecked") << checked << unchecked << false;
        QTest::newRow("checked to grayed") << checked << grayed << false;
        QTest::newRow("grayed to unchecked") << grayed << unchecked << false;
    }

    // The handler sees the new state: it runs after the box shows it.
    void checkBoxSetStateReportsOnlyChanges()
    {
        QFETCH(CheckState, from);
        QFETCH(CheckState, to);
        QFETCH(bool, expectedChecked);
        CheckBoxControl box(QStringLiteral("Bot Can Hear"));
        box.SetState(from);
        QList<CheckState> seen;
        box.OnClick = [&] { seen << box.State(); };

        box.SetState(to);

        QCOMPARE(box.Checked(), expectedChecked);
        QCOMPARE(seen, from == to ? QList<CheckState>{} : QList<CheckState>{to});
        box.SetChecked(!expectedChecked);
        QCOMPARE(box.State(), expectedChecked ? CheckState::cbUnchecked : CheckState::cbChecked);
    }

    void checkBoxUserToggles_data()
    {
        QTest::addColumn<CheckState>("from");
        QTest::addColumn<QString>("input");
        QTest::addColumn<CheckState>("expected");

        const QList<QPair<CheckState, CheckState>> toggles{
            {CheckState::cbUnchecked, CheckState::cbChecked},
            {CheckState::cbChecked, CheckState::cbUnchecked},
            {CheckState::cbGrayed, CheckState::cbChecked},
        };
        const QStringList names{"unchecked", "checked", "grayed"};
        for (const auto& [from, expected] : toggles) {
            for (const char* input : {"box", "caption", "space"}) {
                const QString row = names.at(int(from)) + ", " + input;
                QTest::newRow(row.toLatin1().constData()) << from << QString(input) << expected;
            }
        }
    }

    void checkBoxUserToggles()
    {
        QFETCH(CheckState, from);
        QFETCH(QString, input);
        QFETCH(CheckState, expected);
        CheckBoxControl box(QStringLiteral("Bots Can Chat"));
        box.resize(box.sizeHint());
        // Once grayed, Qt's own check box would cycle through three states.
        box.SetState(CheckState::cbGrayed);
        box.SetState(from);
        QList<CheckState> seen;
        box.OnClick = [&] { seen << box.State(); };

        if (input == "space") {
            QTest::keyClick(&box, Qt::Key_Space);
        } else {
            const auto part = input == "box" ? QStyle::SE_CheckBoxIndicator : QStyle::SE_CheckBoxContents;
            QTest::mouseClick(&box, Qt::LeftButton, {}, CheckBoxPart(box, part).center());
        }

        QCOMPARE(seen, QList<CheckState>{expected});
    }

    void checkBoxCaptionIsLeftOfBox()
    {
        CheckBoxControl box(QStringLiteral("Online Mode"));
        box.resize(box.sizeHint());

        const QRect caption = CheckBoxPart(box, QStyle::SE_CheckBoxContents);
        QVERIFY(caption.right() <= CheckBoxPart(box, QStyle::SE_CheckBoxIndicator).left());
    }

    // The program's set lets the failure through; the user's click reports it.
    void checkBoxFailuresFollowTheirCause()
    {
        RecordingMessageSeam seam;
        CheckBoxControl box(QStringLiteral("Online Mode"));
        box.OnClick = [] { throw Exception(QStringLiteral("Click failed")); };

        QVERIFY_THROWS_EXCEPTION(Exception, box.SetChecked(true));
        QVERIFY(seam.boxes.isEmpty());
        QTest::keyClick(&box, Qt::Key_Space);

        QCOMPARE(seam.boxes, QStringList{"error: Click failed."});
        QCOMPARE(box.State(), CheckState::cbUnchecked);
    }

    // Qt selects the first entry when entries arrive while none is selected.
    void selectorStartsWithoutSelectionAndKeepsIt()
    {
        DropDownSelector selector;

        selector.addItems(mods);
        QCOMPARE(selector.SelectedIndex(), -1);
        QCOMPARE(selector.Text(), QString());
        selector.SetSelectedIndex(1);
        selector.addItem(QStringLiteral("Front Line Force"));

        QCOMPARE(selector.SelectedIndex(), 1);
        QCOMPARE(selector.Text(), mods.at(1));
    }

    void selectorSetSelectedIndexRaisesNothing_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("expectedIndex");
        QTest::addColumn<QString>("expectedText");

        QTest::newRow("entry 2 from none") << -1 << "" << 2 << 2 << mods.at(2);
        QTest::newRow("same entry") << 1 << "" << 1 << 1 << mods.at(1);
        QTest::newRow("other entry") << 1 << "" << 0 << 0 << mods.at(0);
        QTest::newRow("none while selected") << 1 << "" << -1 << -1 << "";
        QTest::newRow("past the end") << 1 << "" << 5 << -1 << "";
        QTest::newRow("count") << 1 << "" << 3 << -1 << "";
        QTest::newRow("below none") << 1 << "" << -2 << -1 << "";
        QTest::newRow("none keeps typed text") << 1 << "Opposing" << -1 << -1 << "Opposing";
        QTest::newRow("past the end empties typed text") << 1 << "Opposing" << 5 << -1 << "";
        QTest::newRow("past the end empties text typed over none") << -1 << "Opp" << 5 << -1 << "";
        QTest::newRow("entry typed over") << 1 << "Opposing" << 1 << 1 << mods.at(1);
    }

    void selectorSetSelectedIndexRaisesNothing()
    {
        QFETCH(int, selected);
        QFETCH(QString, typed);
        QFETCH(int, index);
        QFETCH(int, expectedIndex);
        QFETCH(QString, expectedText);
        Selector fixture(selected, typed);

        fixture.selector.SetSelectedIndex(index);

        QCOMPARE(fixture.selector.SelectedIndex(), expectedIndex);
        QCOMPARE(fixture.selector.Text(), expectedText);
        QVERIFY(fixture.texts.isEmpty());
    }

    void selectorUserPicksEntries_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Input>("input");
        QTest::addColumn<int>("expectedIndex");

        QTest::newRow("down from none") << -1 << "" << Input::KeyDown << 0;
        QTest::newRow("up from none") << -1 << "" << Input::KeyUp << -1;
        QTest::newRow("down") << 0 << "" << Input::KeyDown << 1;
        QTest::newRow("up") << 2 << "" << Input::KeyUp << 1;
        QTest::newRow("down at last") << 2 << "" << Input::KeyDown << 2;
        QTest::newRow("up at first") << 0 << "" << Input::KeyUp << 0;
        QTest::newRow("down after typing") << 2 << "Opp" << Input::KeyDown << 0;
        QTest::newRow("wheel down") << 0 << "" << Input::WheelDown << 1;
        QTest::newRow("wheel up") << 1 << "" << Input::WheelUp << 0;
        QTest::newRow("wheel down after typing") << 2 << "Opp" << Input::WheelDown << 0;
        QTest::newRow("wheel without the focus") << 0 << "" << Input::WheelUnfocused << 0;
        QTest::newRow("from the list") << 0 << "" << Input::ListPick << 2;
        QTest::newRow("from the list after typing") << 0 << "Opp" << Input::ListPick << 2;
        QTest::newRow("selected entry from the list") << 2 << "" << Input::ListPick << 2;
        QTest::newRow("typed-over entry from the list") << 2 << "Opp" << Input::ListPick << 2;
    }

    // The handler runs once, with the entry's text already in the text part.
    void selectorUserPicksEntries()
    {
        QFETCH(int, selected);
        QFETCH(QString, typed);
        QFETCH(Input, input);
        QFETCH(int, expectedIndex);
        Selector fixture(selected, typed);
        DropDownSelector& selector = fixture.selector;
        const int indexBefore = selector.SelectedIndex();

        switch (input) {
        case Input::KeyUp: QTest::keyClick(&selector, Qt::Key_Up); break;
        case Input::KeyDown: QTest::keyClick(&selector, Qt::Key_Down); break;
        case Input::WheelUp: TurnWithFocus(selector, 120); break;
        case Input::WheelDown: TurnWithFocus(selector, -120); break;
        case Input::WheelUnfocused: Turn(selector, -120); break;
        case Input::ListPick: PickFromList(selector, expectedIndex); break;
        }

        QCOMPARE(selector.SelectedIndex(), expectedIndex);
        QCOMPARE(fixture.indexes, expectedIndex == indexBefore ? QList<int>{} : QList<int>{expectedIndex});
        if (expectedIndex != indexBefore)
            QCOMPARE(fixture.texts, QStringList{mods.at(expectedIndex)});
    }

    void selectorTypingLeavesNoEntrySelected()
    {
        Selector fixture(1, QString());
        fixture.selector.lineEdit()->selectAll();

        TypeText(fixture.selector, QStringLiteral("tf"));
        QTest::keyClick(&fixture.selector, Qt::Key_Backspace);

        QCOMPARE(fixture.texts, (QStringList{"t", "tf", "t"}));
        QCOMPARE(fixture.indexes, (QList<int>{-1, -1, -1}));
    }

    // Qt would select the entry whose text was typed once Enter is pressed
    // or the focus leaves.
    void selectorTypedEntryTextStaysUnselected()
    {
        Selector fixture(0, mods.at(2));

        QTest::keyClick(&fixture.selector, Qt::Key_Return);
        QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(fixture.selector.lineEdit(), &focusOut);

        QCOMPARE(fixture.selector.SelectedIndex(), -1);
        QCOMPARE(fixture.selector.Text(), mods.at(2));
        QCOMPARE(fixture.selector.count(), mods.size());
        QVERIFY(fixture.texts.isEmpty());
    }

    void selectorKeepsLatinOneAndRefusesOtherCharacters()
    {
        QString latinOne;
        for (char16_t code = 0; code <= 0xFF; ++code)
            latinOne += QChar(code);
        Selector fixture(-1, QString());
        fixture.selector.addItem(latinOne);
        fixture.selector.SetSelectedIndex(3);
        QCOMPARE(fixture.selector.Text(), latinOne);

        TypeText(fixture.selector, QStringLiteral("\u20AC"));

        QCOMPARE(fixture.selector.Text(), latinOne);
        QVERIFY(fixture.texts.isEmpty());
    }

    void selectorUserFailureIsReportedNotThrown()
    {
        RecordingMessageSeam seam;
        Selector fixture(0, QString());
        fixture.selector.OnChange = [] { throw Exception(QStringLiteral("Change failed")); };

        QTest::keyClick(&fixture.selector, Qt::Key_Down);

        QCOMPARE(seam.boxes, QStringList{"error: Change failed."});
        QCOMPARE(fixture.selector.SelectedIndex(), 1);
    }

    void checkListIndexOutsideRaisesListError_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("index");

        for (const char* operation : {"check", "read mark", "read text"}) {
            for (const int index : {3, -1, 100}) {
                const QString row = QStringLiteral("%1 %2").arg(QLatin1String(operation)).arg(index);
                QTest::newRow(row.toLatin1().constData()) << QString(operation) << index;
            }
        }
    }

    // The error box adds no period after the closing parenthesis.
    void checkListIndexOutsideRaisesListError()
    {
        QFETCH(QString, operation);
        QFETCH(int, index);
        RecordingMessageSeam seam;
        Roster roster;

        RunHandler([&] {
            if (operation == "check")
                roster.list.SetEntryChecked(index, true);
            else if (operation == "read mark")
                roster.list.IsEntryChecked(index);
            else
                roster.list.EntryText(index);
        });

        QCOMPARE(seam.boxes, QStringList{QStringLiteral("error: List index out of bounds (%1)").arg(index)});
    }

    void checkListAddsInOrderChecksSilentlyAndClears()
    {
        Roster roster;
        CheckList& list = roster.list;

        QCOMPARE(list.AddEntry(QStringLiteral("Aimbot")), 3);
        list.SetEntryChecked(1, true);
        list.SetEntryChecked(1, true);
        list.SetEntryChecked(2, false);

        QStringList texts;
        QList<bool> marks;
        for (int index = 0; index < list.EntryCount(); ++index) {
            texts << list.EntryText(index);
            marks << list.IsEntryChecked(index);
        }
        QCOMPARE(texts, (QStringList{"Aimbot", "Camper", "Rusher", "Aimbot"}));
        QCOMPARE(marks, (QList<bool>{false, true, false, false}));
        QCOMPARE(roster.toggles, 0);
        list.ClearEntries();
        QCOMPARE(list.EntryCount(), 0);
        QCOMPARE(list.AddEntry(QStringLiteral("Camper")), 0);
        QVERIFY(!list.IsEntryChecked(0));
    }

    // The marks read back follow changes made through the list's items and
    // rows as well as its own calls.
    void checkListMarksFollowItsItems_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QList<bool>>("expected");

        QTest::newRow("item checked") << "item checked" << QList<bool>{true, true, false};
        QTest::newRow("item partly checked") << "item partly" << QList<bool>{false, false, false};
        QTest::newRow("row inserted checked") << "insert" << QList<bool>{true, false, false, false};
        QTest::newRow("row taken") << "take" << QList<bool>{false, false};
        QTest::newRow("rows sorted") << "sort" << QList<bool>{false, false, true};
        QTest::newRow("entries shown again") << "show" << QList<bool>{false, false};
        QTest::newRow("cleared, one added") << "clear" << QList<bool>{false};
    }

    void checkListMarksFollowItsItems()
    {
        QFETCH(QString, change);
        QFETCH(QList<bool>, expected);
        Roster roster;
        CheckList& list = roster.list;
        list.SetEntryChecked(0, true);

        if (change == "item checked") {
            list.item(1)->setCheckState(Qt::Checked);
        } else if (change == "item partly") {
            list.item(0)->setCheckState(Qt::PartiallyChecked);
        } else if (change == "insert") {
            auto* entry = new QListWidgetItem(QStringLiteral("Sniper"));
            entry->setCheckState(Qt::Checked);
            list.insertItem(0, entry);
            list.item(1)->setCheckState(Qt::Unchecked);
        } else if (change == "take") {
            delete list.takeItem(0);
        } else if (change == "sort") {
            list.sortItems(Qt::DescendingOrder);
        } else if (change == "show") {
            list.ShowEntries({QStringLiteral("Aimbot"), QStringLiteral("Camper")});
        } else {
            list.ClearEntries();
            list.AddEntry(QStringLiteral("Camper"));
        }

        QList<bool> marks;
        QList<int> checked;
        for (int index = 0; index < list.EntryCount(); ++index) {
            marks << list.IsEntryChecked(index);
            if (expected.value(index))
                checked << index;
        }
        QCOMPARE(marks, expected);
        QCOMPARE(list.CheckedEntries(), checked);
    }

    void checkListUserToggles_data()
    {
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("expectedToggles");
        QTest::addColumn<int>("expectedHighlighted");

        QTest::newRow("click mark, unchecked") << false << "mark" << 1 << 1;
        QTest::newRow("click mark, checked") << true << "mark" << 1 << 1;
        QTest::newRow("click beside mark") << false << "beside mark" << 1 << 1;
        QTest::newRow("click text") << false << "text" << 0 << 1;
        QTest::newRow("double click on mark") << false << "double click" << 2 << 1;
        QTest::newRow("space, highlighted") << false << "space" << 1 << 1;
        QTest::newRow("space, checked") << true << "space" << 1 << 1;
        QTest::newRow("space, none highlighted nor framed") << false << "space, none" << 0 << -1;
        // After a load: the focus frame on an entry, none highlighted.
        QTest::newRow("space, focus frame only") << false << "space, frame" << 1 << 1;
    }

    void checkListUserToggles()
    {
        QFETCH(bool, checked);
        QFETCH(QString, input);
        QFETCH(int, expectedToggles);
        QFETCH(int, expectedHighlighted);
        Roster roster;
        roster.list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&roster.list));
        roster.list.SetEntryChecked(1, checked);
        if (input == "space")
            roster.list.item(1)->setSelected(true);
        if (input == "space, none")
            roster.list.setCurrentItem(nullptr);
        if (input == "space, frame")
            roster.list.selectionModel()->setCurrentIndex(roster.list.model()->index(1, 0),
                                                          QItemSelectionModel::NoUpdate);
        const QRect mark = roster.list.CheckMarkRect(1);

        if (input.startsWith("space")) {
            QTest::keyClick(&roster.list, Qt::Key_Space);
        } else if (input == "double click") {
            roster.Click(mark.center().x(), 1);
            QTest::mouseDClick(roster.list.viewport(), Qt::LeftButton, {}, mark.center());
        } else {
            const int offset = input == "mark" ? mark.width() / 2 : input == "beside mark" ? mark.width() + 1 : 40;
            roster.Click(mark.left() + offset, 1);
        }

        QCOMPARE(roster.toggles, expectedToggles);
        QCOMPARE(roster.list.IsEntryChecked(1), checked != (expectedToggles % 2 == 1));
        QCOMPARE(roster.Highlighted(), expectedHighlighted);
        QVERIFY(!roster.list.IsEntryChecked(0) && !roster.list.IsEntryChecked(2));
    }

    void checkListUserFailureIsReportedNotThrown()
    {
        RecordingMessageSeam seam;
        Roster roster;
        roster.list.item(0)->setSelected(true);
        roster.list.OnClickCheck = [] { throw Exception(QStringLiteral("Toggle failed")); };

        QTest::keyClick(&roster.list, Qt::Key_Space);

        QCOMPARE(seam.boxes, QStringList{"error: Toggle failed."});
        QVERIFY(roster.list.IsEntryChecked(0));
    }
};

QTEST_MAIN(ChoiceControlsTest)
#include "tst_choicecontrols.moc"
