#include "CheckList.h"

#include "CheckState.h"
#include "ControlEventRaising.h"
#include "Exceptions.h"
#include "UserEdits.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {

// Besides the mark itself, a click this close to its right edge still hits.
constexpr int checkMarkSlack = 2;

// Draws entries as usual at a height of its own.
class FixedHeightDelegate : public QStyledItemDelegate {
public:
    FixedHeightDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), height_(height) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), height_};
    }

private:
    int height_;
};

} // namespace

CheckList::CheckList(QWidget* parent) : QListWidget(parent)
{
    setFrameShadow(QFrame::Plain);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
}

void CheckList::ClearEntries()
{
    clear();
}

// The entries are not user-checkable for Qt: this list toggles the marks
// itself, so that it alone decides what counts as the user's toggle.
int CheckList::AddEntry(const QString& text)
{
    auto* entry = new QListWidgetItem(text);
    entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    entry->setCheckState(Qt::Unchecked);
    addItem(entry);
    return count() - 1;
}

void CheckList::ShowEntries(const QStringList& texts)
{
    while (count() > texts.size())
        delete takeItem(count() - 1);
    for (int index = 0; index < count(); ++index) {
        QListWidgetItem& entry = *item(index);
        if (entry.text() != texts[index])
            entry.setText(texts[index]);
        if (entry.checkState() != Qt::Unchecked)
            entry.setCheckState(Qt::Unchecked);
    }
    for (qsizetype index = count(); index < texts.size(); ++index)
        AddEntry(texts[index]);
    selectionModel()->clear();
    horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
    verticalScrollBar()->setValue(verticalScrollBar()->minimum());
}

void CheckList::SetEntryHeight(int pixels)
{
    QAbstractItemDelegate* previous = itemDelegate();
    setItemDelegate(new FixedHeightDelegate(pixels, this));
    if (previous->parent() == this)
        delete previous;
    setUniformItemSizes(true);
}

QString CheckList::EntryText(int index) const
{
    return Entry(index).text();
}

bool CheckList::IsEntryChecked(int index) const
{
    // The state is kept as an int; checkState() converts it to the enum
    // through Qt's type system, a cost that a save of a thousand entries feels.
    return Entry(index).data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

void CheckList::SetEntryChecked(int index, bool checked)
{
    Entry(index).setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

QRect CheckList::CheckMarkRect(int index) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualItemRect(&Entry(index));
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
}

void CheckList::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    if (HitsCheckMark(*event))
        ToggleByUser(row(itemAt(event->position().toPoint())));
}

// Each click of a quick double click toggles the mark.
void CheckList::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (HitsCheckMark(*event))
        ToggleByUser(row(itemAt(event->position().toPoint())));
    else
        QListWidget::mouseDoubleClickEvent(event);
}

void CheckList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space) {
        QListWidget::keyPressEvent(event);
        return;
    }
    const int highlighted = HighlightedIndex();
    if (highlighted >= 0)
        ToggleByUser(highlighted);
}

QListWidgetItem& CheckList::Entry(int index) const
{
    if (index < 0 || index >= count())
        throw EListError(index);
    return *item(index);
}

int CheckList::HighlightedIndex() const
{
    const QList<QListWidgetItem*> highlighted = selectedItems();
    return highlighted.isEmpty() ? -1 : row(highlighted.first());
}

bool CheckList::HitsCheckMark(const QMouseEvent& event) const
{
    const QPoint position = event.position().toPoint();
    const QListWidgetItem* entry = itemAt(position);
    if (event.button() != Qt::LeftButton || entry == nullptr)
        return false;
    return position.x() <= CheckMarkRect(row(entry)).right() + checkMarkSlack;
}

void CheckList::ToggleByUser(int index)
{
    QListWidgetItem& entry = Entry(index);
    const CheckState toggled = StateAfterUserToggle(FromQtCheckState(entry.checkState()));
    entry.setCheckState(ToQtCheckState(toggled));
    NoteUserEdit(*this);
    RaiseUserEvent(OnClickCheck);
}
