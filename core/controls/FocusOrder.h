#pragma once

#include <QWidget>

#include <initializer_list>

// Tab moves through the widgets in this order, Shift+Tab back.
inline void ChainFocusOrder(std::initializer_list<QWidget*> order)
{
    QWidget* previous = nullptr;
    for (QWidget* widget : order) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}
