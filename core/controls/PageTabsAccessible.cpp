#include "AccessibleNames.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QTabBar>

#include <vector>

// Qt reports the shown page's tab as focused, whether or not the tabs have
// the focus, and no tab as selected: a screen reader then hears two focused
// controls and never which page is shown. These interfaces read the tabs as
// they are: the shown one selected, and focused only with the focus.

namespace {

class PageTabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    PageTabAccessible(QTabBar* tabs, int index) : tabs_(tabs), index_(index) {}

    bool isValid() const override { return tabs_ && index_ < tabs_->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent()->window(); }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(tabs_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text kind) const override
    {
        if (!isValid())
            return {};
        if (kind == QAccessible::Name)
            return tabs_->tabText(index_);
        if (kind == QAccessible::Description)
            return tabs_->tabToolTip(index_);
        return {};
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const bool shown = tabs_->currentIndex() == index_;
        state.selectable = true;
        state.selected = shown;
        state.focusable = tabs_->focusPolicy() != Qt::NoFocus;
        state.focused = shown && tabs_->hasFocus();
        state.invisible = !tabs_->isVisible();
        state.disabled = !tabs_->isTabEnabled(index_);
        return state;
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect tab = tabs_->tabRect(index_);
        return QRect(tabs_->mapToGlobal(tab.topLeft()), tab.size());
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    void doAction(const QString& action) override
    {
        if (isValid() && (action == pressAction() || action == setFocusAction()))
            tabs_->setCurrentIndex(index_);
    }

private:
    QPointer<QTabBar> tabs_;
    int index_;
};

class PageTabsAccessible : public QAccessibleWidget {
public:
    explicit PageTabsAccessible(QTabBar* tabs) : QAccessibleWidget(tabs, QAccessible::PageTabList) {}

    ~PageTabsAccessible() override
    {
        for (QAccessibleInterface* tab : tabs_)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(tab));
    }

    // Named like the page control the tabs belong to.
    QString text(QAccessible::Text kind) const override
    {
        QWidget* owner = widget()->parentWidget();
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty() && owner != nullptr)
            return owner->accessibleName();
        return QAccessibleWidget::text(kind);
    }

    int childCount() const override { return tabBar().count(); }

    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        while (static_cast<int>(tabs_.size()) <= index) {
            auto* tab = new PageTabAccessible(&tabBar(), static_cast<int>(tabs_.size()));
            QAccessible::registerAccessibleInterface(tab);
            tabs_.push_back(tab);
        }
        return tabs_[index];
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (std::size_t index = 0; index < tabs_.size(); ++index)
            if (tabs_[index] == child)
                return static_cast<int>(index);
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        const int index = tabBar().tabAt(tabBar().mapFromGlobal(QPoint(x, y)));
        return child(index);
    }

private:
    QTabBar& tabBar() const { return *static_cast<QTabBar*>(widget()); }

    mutable std::vector<QAccessibleInterface*> tabs_;
};

QAccessibleInterface* AccessiblePageTabs(const QString& className, QObject* object)
{
    if (className != QLatin1String(QTabBar::staticMetaObject.className()))
        return nullptr;
    return new PageTabsAccessible(static_cast<QTabBar*>(object));
}

} // namespace

void InstallAccessiblePageTabs()
{
    QAccessible::installFactory(AccessiblePageTabs);
}
