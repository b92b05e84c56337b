#include "AccessibleNames.h"
#include "CheckList.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>

#include <vector>

// Qt reads a check list's entries as plain list items: a screen reader hears
// a checked one as checked and an unchecked one as nothing at all. Here each
// entry is a check box, whose mark is read either way.

namespace {

class CheckListEntryAccessible : public QAccessibleInterface {
public:
    CheckListEntryAccessible(CheckList* list, int index) : list_(list), index_(index) {}

    bool isValid() const override { return list_ && index_ < list_->EntryCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent()->window(); }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(list_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::CheckBox; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text kind) const override
    {
        return isValid() && kind == QAccessible::Name ? list_->EntryText(index_) : QString();
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const QListWidgetItem& entry = *list_->item(index_);
        state.checkable = true;
        state.checked = list_->IsEntryChecked(index_);
        state.focusable = true;
        state.selectable = true;
        state.selected = entry.isSelected();
        state.focused = list_->hasFocus() && list_->currentRow() == index_;
        state.invisible = !list_->isVisible()
                          || !list_->viewport()->rect().intersects(list_->visualItemRect(&entry));
        state.disabled = !list_->isEnabled();
        return state;
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect entry = list_->visualItemRect(list_->item(index_));
        return QRect(list_->viewport()->mapToGlobal(entry.topLeft()), entry.size());
    }

private:
    QPointer<CheckList> list_;
    int index_;
};

class CheckListAccessible : public QAccessibleWidget {
public:
    explicit CheckListAccessible(CheckList* list) : QAccessibleWidget(list, QAccessible::List) {}

    ~CheckListAccessible() override
    {
        for (QAccessibleInterface* entry : entries_)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(entry));
    }

    int childCount() const override { return list().EntryCount(); }

    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        while (static_cast<int>(entries_.size()) <= index) {
            auto* entry = new CheckListEntryAccessible(&list(), static_cast<int>(entries_.size()));
            QAccessible::registerAccessibleInterface(entry);
            entries_.push_back(entry);
        }
        return entries_[index];
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (std::size_t index = 0; index < entries_.size(); ++index)
            if (entries_[index] == child)
                return static_cast<int>(index);
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QListWidgetItem* entry = list().itemAt(list().viewport()->mapFromGlobal(QPoint(x, y)));
        return entry == nullptr ? nullptr : child(list().row(entry));
    }

private:
    CheckList& list() const { return *static_cast<CheckList*>(widget()); }

    mutable std::vector<QAccessibleInterface*> entries_;
};

QAccessibleInterface* AccessibleCheckList(const QString& className, QObject* object)
{
    if (className != QLatin1String(CheckList::staticMetaObject.className()))
        return nullptr;
    return new CheckListAccessible(static_cast<CheckList*>(object));
}

} // namespace

void InstallAccessibleCheckLists()
{
    QAccessible::installFactory(AccessibleCheckList);
}
