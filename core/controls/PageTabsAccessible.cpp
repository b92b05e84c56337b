#include "AccessibleFactory.h"
#include "AccessibleItems.h"
#include "AccessibleNames.h"

#include <QAccessibleWidget>
#include <QTabBar>

// Qt reports the shown page's tab as focused, whether or not the tabs have
// the focus, and no tab as selected: a screen reader then hears two focused
// controls and never which page is shown. These interfaces read the tabs as
// they are: the shown one selected, and focused only with the focus.

namespace {

class PageTabAccessible : public AccessibleItem, public QAccessibleActionInterface {
public:
    PageTabAccessible(QTabBar* tabs, int index) : AccessibleItem(tabs, index) {}

    bool isValid() const override { return owner_ && index_ < tabs().count(); }
    QAccessible::Role role() const override { return QAccessible::PageTab; }

    QString text(QAccessible::Text kind) const override
    {
        if (!isValid())
            return {};
        if (kind == QAccessible::Name)
            return tabs().tabText(index_);
        if (kind == QAccessible::Description)
            return tabs().tabToolTip(index_);
        return {};
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const bool shown = tabs().currentIndex() == index_;
        state.selectable = true;
        state.selected = shown;
        state.focusable = tabs().focusPolicy() != Qt::NoFocus;
        state.focused = shown && tabs().hasFocus();
        state.invisible = !tabs().isVisible();
        state.disabled = !tabs().isTabEnabled(index_);
        return state;
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect tab = tabs().tabRect(index_);
        return QRect(tabs().mapToGlobal(tab.topLeft()), tab.size());
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
            tabs().setCurrentIndex(index_);
    }

private:
    QTabBar& tabs() const { return *static_cast<QTabBar*>(owner_.data()); }
};

class PageTabsAccessible : public QAccessibleWidget {
public:
    explicit PageTabsAccessible(QTabBar* tabs) : QAccessibleWidget(tabs, QAccessible::PageTabList) {}

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
        return tabs_.At(index, [this](int at) { return new PageTabAccessible(&tabBar(), at); });
    }

    int indexOfChild(const QAccessibleInterface* child) const override { return tabs_.IndexOf(child); }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        const int index = tabBar().tabAt(tabBar().mapFromGlobal(QPoint(x, y)));
        return child(index);
    }

private:
    QTabBar& tabBar() const { return *static_cast<QTabBar*>(widget()); }

    mutable AccessibleItems tabs_;
};

} // namespace

void InstallAccessiblePageTabs()
{
    QAccessible::installFactory(AccessibleInterfaceFor<QTabBar, PageTabsAccessible>);
}
