#include "DropDownSelector.h"

#include "ControlEventRaising.h"
#include "SingleByteValidator.h"
#include "UserEdits.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

namespace {

constexpr int visibleEntries = 8;

// -1 for a key that moves to the entry above, 1 below, 0 for any other key.
// With Alt the arrow keys drop the list down instead.
int SelectionStepOfKey(const QKeyEvent& event)
{
    if (event.modifiers() & Qt::AltModifier)
        return 0;
    switch (event.key()) {
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        return -1;
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        return 1;
    default:
        return 0;
    }
}

} // namespace

DropDownSelector::DropDownSelector(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMaxVisibleItems(visibleEntries);
    validator_ = new SingleByteValidator(*lineEdit());
    setValidator(validator_);
    // Qt selects the entry matching a typed text on Enter or when the focus
    // leaves; here typed text leaves no entry selected.
    disconnect(lineEdit(), &QLineEdit::returnPressed, this, nullptr);
    disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    connect(lineEdit(), &QLineEdit::textEdited, this, &DropDownSelector::ReportEdit);
    connect(this, &QComboBox::activated, this, &DropDownSelector::ReportPick);
    KeepSelectionStateOnInsert();
}

int DropDownSelector::SelectedIndex() const
{
    return edited_ ? -1 : currentIndex();
}

void DropDownSelector::SetSelectedIndex(int index)
{
    if (index == SelectedIndex())
        return;
    if (index >= 0 && index < count())
        SelectEntry(index);
    else
        ClearSelection();
}

QString DropDownSelector::Text() const
{
    return lineEdit()->text();
}

void DropDownSelector::SelectEntry(int index)
{
    edited_ = false;
    validator_->ExpectText(itemText(index));
    setCurrentIndex(index);
}

void DropDownSelector::ClearSelection()
{
    edited_ = false;
    validator_->ExpectText(QString());
    setCurrentIndex(-1);
}

void DropDownSelector::keyPressEvent(QKeyEvent* event)
{
    const int step = SelectionStepOfKey(*event);
    if (step == 0)
        QComboBox::keyPressEvent(event);
    else
        MoveSelectionByUser(step);
}

// Qt's wheel moves from its own current index, which typing leaves behind.
// A wheel turned over a selector that the user is not working with goes on
// to the window: picking a mod or a chat kind in passing would reload a page.
void DropDownSelector::wheelEvent(QWheelEvent* event)
{
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    const int delta = event->angleDelta().y();
    if (view()->isVisible() || delta == 0) {
        QComboBox::wheelEvent(event);
        return;
    }
    MoveSelectionByUser(delta > 0 ? -1 : 1);
}

// From no selection, the entry below is the first one.
void DropDownSelector::MoveSelectionByUser(int step)
{
    const int target = SelectedIndex() + step;
    if (target < 0 || target >= count())
        return;
    SelectEntry(target);
    NoteUserEdit(*this);
    RaiseUserEvent(OnChange);
}

void DropDownSelector::showPopup()
{
    selectedBeforePopup_ = SelectedIndex();
    QComboBox::showPopup();
}

// A pick from the dropped-down list: Qt has already put the entry's text
// into the text part. Picking the entry that was selected changes nothing,
// so it does not reload a page and lose edits not saved yet.
void DropDownSelector::ReportPick(int index)
{
    edited_ = false;
    if (index != selectedBeforePopup_) {
        NoteUserEdit(*this);
        RaiseUserEvent(OnChange);
    }
}

void DropDownSelector::ReportEdit()
{
    edited_ = true;
    NoteUserEdit(*this);
    RaiseUserEvent(OnChange);
}

// Qt selects the first entry when entries arrive while none is selected;
// here a selector stays without a selection until one is made.
void DropDownSelector::KeepSelectionStateOnInsert()
{
    connect(model(), &QAbstractItemModel::rowsAboutToBeInserted, this, [this] {
        noneSelectedBeforeInsert_ = currentIndex() < 0;
        textBeforeInsert_ = lineEdit()->text();
    });
    connect(model(), &QAbstractItemModel::rowsInserted, this, [this] {
        if (!noneSelectedBeforeInsert_ || currentIndex() < 0)
            return;
        setCurrentIndex(-1);
        lineEdit()->setText(textBeforeInsert_);
    });
}
