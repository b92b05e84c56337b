#include "AccessibleNames.h"
#include "BoundedIntegerField.h"
#include "Failures.h"
#include "UserEdits.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>

namespace {

// Qt reads the field as a plain line edit, without value or range; this
// presents it as a spin field whose text can still be read and selected.
class BoundedIntegerFieldAccessible : public QAccessibleWidget,
                                      public QAccessibleValueInterface,
                                      public QAccessibleTextInterface {
public:
    explicit BoundedIntegerFieldAccessible(BoundedIntegerField* field)
        : QAccessibleWidget(field, QAccessible::SpinBox)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return field().text();
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !field().isReadOnly();
        return state;
    }

    QVariant currentValue() const override { return field().Value(); }
    QVariant maximumValue() const override { return field().MaxValue(); }
    QVariant minimumValue() const override { return field().MinValue(); }
    QVariant minimumStepSize() const override { return 1; }

    // A screen reader's change is the user's: the page counts it as an edit
    // to save, and the load it sets off runs under the guard.
    void setCurrentValue(const QVariant& value) override
    {
        RunHandler([this, &value] { field().SetValueAsUser(value.toInt()); });
        NoteUserEdit(field());
    }

    void selection(int index, int* start, int* end) const override
    {
        *start = *end = 0;
        if (index == 0 && field().hasSelectedText()) {
            *start = field().selectionStart();
            *end = *start + field().selectionLength();
        }
    }
    int selectionCount() const override { return field().hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { field().setSelection(start, end - start); }
    void removeSelection(int) override { field().deselect(); }
    void setSelection(int, int start, int end) override { addSelection(start, end); }
    int cursorPosition() const override { return field().cursorPosition(); }
    void setCursorPosition(int position) override { field().setCursorPosition(position); }
    QString text(int start, int end) const override
    {
        return field().text().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(field().text().size()); }
    void scrollToSubstring(int start, int) override { field().setCursorPosition(start); }

    // Measured from the caret, which the line edit places itself.
    QRect characterRect(int offset) const override
    {
        const QString shown = field().displayText();
        if (offset < 0 || offset >= shown.size())
            return {};
        const QFontMetrics metrics(field().font());
        const QRect caret = field().inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int caretAt = field().cursorPosition();
        const int left = caret.x() + metrics.horizontalAdvance(shown.left(offset))
            - metrics.horizontalAdvance(shown.left(caretAt));
        const QRect character(left, caret.y(), metrics.horizontalAdvance(shown.at(offset)),
                              caret.height());
        return QRect(field().mapToGlobal(character.topLeft()), character.size());
    }

    int offsetAtPoint(const QPoint& point) const override
    {
        return field().cursorPositionAt(field().mapFromGlobal(point));
    }

    QString attributes(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    BoundedIntegerField& field() const { return *static_cast<BoundedIntegerField*>(widget()); }
};

QAccessibleInterface* AccessibleValueField(const QString& className, QObject* object)
{
    if (className != QLatin1String(BoundedIntegerField::staticMetaObject.className()))
        return nullptr;
    auto* field = static_cast<BoundedIntegerField*>(object);
    // Screen readers announce the new value as it changes.
    QObject::connect(field, &QLineEdit::textChanged, field, [field] {
        if (!QAccessible::isActive())
            return;
        QAccessibleValueChangeEvent event(field, field->Value());
        QAccessible::updateAccessibility(&event);
    });
    return new BoundedIntegerFieldAccessible(field);
}

} // namespace

void InstallAccessibleValueFields()
{
    QAccessible::installFactory(AccessibleValueField);
}
