#include "CheckList.h"

#include "CheckState.h"
#include "ControlEventRaising.h"
#include "Exceptions.h"
#include "UserEdits.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// Besides the mark itself, a click this close to its right edge still hits.
constexpr int checkMarkSlack = 2;

// The entry's place as drawn: where the style's check box is taller than the
// entry (Fusion's 14 pixels in entries 13 high), as tall as the box from the
// entry's top, so that the box is not centred a pixel above the entry, out
// of sight on the first one. Each box's lower edge is then the next one's
// upper edge, as before.
QStyleOptionViewItem WithWholeCheckMark(const QStyleOptionViewItem& entry, const QWidget* view)
{
    const QRect box =
        view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &entry, view);
    QStyleOptionViewItem placed(entry);
    placed.rect.setHeight(std::max(entry.rect.height(), box.height()));
    return placed;
}

// Draws entries at a height of its own (0: the style's) and outlines each
// check mark's box in the text colour: the styles draw the box in a shade of
// the window colour, faint against a light list and lost in a dark one. The
// list toggles the marks itself, so the delegate does not.
class EntryDelegate : public QStyledItemDelegate {
public:
    explicit EntryDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

    void SetHeight(int height) { height_ = height; }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        return height_ > 0 ? QSize(size.width(), height_) : size;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem entry(option);
        initStyleOption(&entry, index);
        const QWidget* view = option.widget;
        entry = WithWholeCheckMark(entry, view);
        QStyleOptionViewItem placed(option);
        placed.rect = entry.rect;
        QStyledItemDelegate::paint(painter, placed, index);
        const QRect box =
            view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &entry, view);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Text));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(box.adjusted(0, 0, -1, -1));
        painter->restore();
    }

protected:
    bool editorEvent(QEvent*, QAbstractItemModel*, const QStyleOptionViewItem&,
                     const QModelIndex&) override
    {
        return false;
    }

private:
    int height_ = 0;
};

} // namespace

CheckList::CheckList(QWidget* parent) : QListWidget(parent)
{
    setFrameShadow(QFrame::Plain);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setItemDelegate(new EntryDelegate(this));
    FollowMarks();
}

void CheckList::FollowMarks()
{
    const QAbstractItemModel& entries = *model();
    connect(&entries, &QAbstractItemModel::rowsInserted, &marksFollower_,
            [this](const QModelIndex&, int first, int last) {
                marks_.insert(marks_.begin() + first, std::size_t(last - first + 1), Qt::Unchecked);
                ReadMarks(first, last);
            });
    connect(&entries, &QAbstractItemModel::rowsRemoved, &marksFollower_,
            [this](const QModelIndex&, int first, int last) {
                marks_.erase(marks_.begin() + first, marks_.begin() + last + 1);
            });
    connect(&entries, &QAbstractItemModel::dataChanged, &marksFollower_,
            [this](const QModelIndex& from, const QModelIndex& to, const QList<int>& roles) {
                if (roles.isEmpty() || roles.contains(Qt::CheckStateRole))
                    ReadMarks(from.row(), to.row());
            });
    const auto readAll = [this] {
        marks_.assign(std::size_t(count()), Qt::Unchecked);
        ReadMarks(0, count() - 1);
    };
    connect(&entries, &QAbstractItemModel::modelReset, &marksFollower_, readAll);
    connect(&entries, &QAbstractItemModel::layoutChanged, &marksFollower_, readAll);
    connect(&entries, &QAbstractItemModel::rowsMoved, &marksFollower_, readAll);
}

void CheckList::ReadMarks(int first, int last)
{
    for (int index = std::max(first, 0); index <= std::min(last, count() - 1); ++index)
        marks_[std::size_t(index)] = Qt::CheckState(item(index)->data(Qt::CheckStateRole).toInt());
}

void CheckList::ClearEntries()
{
    clear();
}

// The entries are checkable for screen readers, which then read each mark;
// the list toggles the marks itself, so that it alone decides what counts as
// the user's toggle.
int CheckList::AddEntry(const QString& text)
{
    auto* entry = new QListWidgetItem(text);
    entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
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
        SetMark(index, Qt::Unchecked);
    }
    for (qsizetype index = count(); index < texts.size(); ++index)
        AddEntry(texts[index]);
    selectionModel()->clear();
    horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
    verticalScrollBar()->setValue(verticalScrollBar()->minimum());
}

void CheckList::SetEntryHeight(int pixels)
{
    static_cast<EntryDelegate*>(itemDelegate())->SetHeight(pixels);
    scheduleDelayedItemsLayout();
    setUniformItemSizes(true);
}

QString CheckList::EntryText(int index) const
{
    return Entry(index).text();
}

bool CheckList::IsEntryChecked(int index) const
{
    return marks_[MarkIndex(index)] == Qt::Checked;
}

QList<int> CheckList::CheckedEntries() const
{
    QList<int> checked;
    for (std::size_t index = 0; index < marks_.size(); ++index) {
        if (marks_[index] == Qt::Checked)
            checked << int(index);
    }
    return checked;
}

void CheckList::SetEntryChecked(int index, bool checked)
{
    SetMark(index, checked ? Qt::Checked : Qt::Unchecked);
}

// The mark is kept before the model tells of it, so that whatever its signal
// reaches first (a view, a screen reader) reads the new one. A mark that
// stays as it is costs nothing.
void CheckList::SetMark(int index, Qt::CheckState state)
{
    Qt::CheckState& mark = marks_[MarkIndex(index)];
    if (mark == state)
        return;
    mark = state;
    item(index)->setCheckState(state);
}

std::size_t CheckList::MarkIndex(int index) const
{
    if (index < 0 || std::size_t(index) >= marks_.size())
        throw EListError(index);
    return std::size_t(index);
}

QRect CheckList::CheckMarkRect(int index) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualItemRect(&Entry(index));
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    option = WithWholeCheckMark(option, this);
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
    // The entry with the focus frame takes Space even when nothing is
    // highlighted yet, as after a load, or with one entry, which no arrow
    // key highlights; it becomes the highlighted one.
    const int highlighted = HighlightedIndex() >= 0 ? HighlightedIndex() : currentRow();
    if (highlighted < 0)
        return;
    setCurrentRow(highlighted);
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
    const CheckState toggled = StateAfterUserToggle(FromQtCheckState(marks_[MarkIndex(index)]));
    SetMark(index, ToQtCheckState(toggled));
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        event.setChild(index);
        QAccessible::updateAccessibility(&event);
    }
    NoteUserEdit(*this);
    RaiseUserEvent(OnClickCheck);
}
