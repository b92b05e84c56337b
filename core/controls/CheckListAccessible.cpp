#include "AccessibleFactory.h"
#include "AccessibleItems.h"
#include "AccessibleNames.h"
#include "CheckList.h"

#include <QAccessibleWidget>

// Qt reads a check list's entries as plain list items: a screen reader hears
// a checked one as checked and an unchecked one as nothing at all. Here each
// entry is a check box, whose mark is read either way.

namespace {

class CheckListEntryAccessible : public AccessibleItem {
public:
    CheckListEntryAccessible(CheckList* list, int index) : AccessibleItem(list, index) {}

    bool isValid() const override { return owner_ && index_ < list().EntryCount(); }
    QAccessible::Role role() const override { return QAccessible::CheckBox; }

    QString text(QAccessible::Text kind) const override
    {
        return isValid() && kind == QAccessible::Name ? list().EntryText(index_) : QString();
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const QListWidgetItem& entry = *list().item(index_);
        state.checkable = true;
        state.checked = list().IsEntryChecked(index_);
        state.focusable = true;
        state.selectable = true;
        state.selected = entry.isSelected();
        state.focused = list().hasFocus() && list().currentRow() == index_;
        state.invisible = !list().isVisible()
                          || !list().viewport()->rect().intersects(list().visualItemRect(&entry));
        state.disabled = !list().isEnabled();
        return state;
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect entry = list().visualItemRect(list().item(index_));
        return QRect(list().viewport()->mapToGlobal(entry.topLeft()), entry.size());
    }

private:
    CheckList& list() const { return *static_cast<CheckList*>(owner_.data()); }
};

class CheckListAccessible : public QAccessibleWidget {
public:
    explicit CheckListAccessible(CheckList* list) : QAccessibleWidget(list, QAccessible::List) {}

    int childCount() const override { return list().EntryCount(); }

    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        return entries_.At(index, [this](int at) { return new CheckListEntryAccessible(&list(), at); });
    }

    int indexOfChild(const QAccessibleInterface* child) const override { return entries_.IndexOf(child); }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QListWidgetItem* entry = list().itemAt(list().viewport()->mapFromGlobal(QPoint(x, y)));
        return entry == nullptr ? nullptr : child(list().row(entry));
    }

private:
    CheckList& list() const { return *static_cast<CheckList*>(widget()); }

    mutable AccessibleItems entries_;
};

} // namespace

void InstallAccessibleCheckLists()
{
    QAccessible::installFactory(AccessibleInterfaceFor<CheckList, CheckListAccessible>);
}
