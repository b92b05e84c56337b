#pragma once

#include <QAccessibleInterface>
#include <QString>

// A factory for QAccessible::installFactory: Qt asks it for every object, and
// it answers with an Interface for those of exactly the class Widget.
template <typename Widget, typename Interface>
QAccessibleInterface* AccessibleInterfaceFor(const QString& className, QObject* object)
{
    if (className != QLatin1String(Widget::staticMetaObject.className()))
        return nullptr;
    return new Interface(static_cast<Widget*>(object));
}
