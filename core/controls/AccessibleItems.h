#pragma once

#include <QAccessible>
#include <QPointer>
#include <QWidget>

#include <vector>

// The screen reader's view of a part of a widget that is no object of its own
// (a tab, a list entry): it has no children and lives in its widget's window.
class AccessibleItem : public QAccessibleInterface {
public:
    AccessibleItem(QWidget* owner, int index) : owner_(owner), index_(index) {}

    QObject* object() const override { return nullptr; }
    QWindow* window() const override
    {
        QAccessibleInterface* owner = parent();
        return owner != nullptr ? owner->window() : nullptr;
    }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(owner_);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

protected:
    QPointer<QWidget> owner_;
    int index_;
};

// The items of one widget, made when first asked for and registered with Qt,
// which hands them out by their ids; they go with the widget's interface.
class AccessibleItems {
public:
    AccessibleItems() = default;
    AccessibleItems(const AccessibleItems&) = delete;
    AccessibleItems& operator=(const AccessibleItems&) = delete;
    ~AccessibleItems()
    {
        for (QAccessibleInterface* item : items_)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(item));
    }

    // make(index) makes the item at index.
    template <typename Make>
    QAccessibleInterface* At(int index, Make&& make)
    {
        while (static_cast<int>(items_.size()) <= index) {
            QAccessibleInterface* item = make(static_cast<int>(items_.size()));
            QAccessible::registerAccessibleInterface(item);
            items_.push_back(item);
        }
        return items_[index];
    }

    int IndexOf(const QAccessibleInterface* item) const
    {
        for (std::size_t index = 0; index < items_.size(); ++index)
            if (items_[index] == item)
                return static_cast<int>(index);
        return -1;
    }

private:
    std::vector<QAccessibleInterface*> items_;
};
