#include "AccessibleNames.h"
#include "AccessibleFactory.h"
#include "DropDownSelector.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>

// Qt reports an editable selector focused together with its text part,
// which holds the focus in its place: a screen reader hears two focused
// controls. Here only the text part is focused; otherwise the selector reads
// as Qt's own does: named by the entry it shows (its label comes through the
// labelled-by relation), with its list and text part, dropped down by its
// press action.

namespace {

class DropDownSelectorAccessible : public QAccessibleWidget {
public:
    explicit DropDownSelectorAccessible(DropDownSelector* selector)
        : QAccessibleWidget(selector, QAccessible::ComboBox)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name || kind == QAccessible::Value)
            return selector().Text();
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.focused = false;
        state.expandable = true;
        state.expanded = selector().view()->isVisible();
        return state;
    }

    int childCount() const override { return 2; }

    QAccessibleInterface* child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(selector().view());
        if (index == 1)
            return QAccessible::queryAccessibleInterface(selector().lineEdit());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (child->object() == selector().view())
            return 0;
        return child->object() == selector().lineEdit() ? 1 : -1;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    void doAction(const QString& action) override
    {
        if (action == showMenuAction() || action == pressAction())
            selector().showPopup();
    }

private:
    DropDownSelector& selector() const { return *static_cast<DropDownSelector*>(widget()); }
};

} // namespace

void InstallAccessibleDropDownSelectors()
{
    QAccessible::installFactory(
        AccessibleInterfaceFor<DropDownSelector, DropDownSelectorAccessible>);
}
