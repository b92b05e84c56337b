#include "PageBackground.h"

#include "Failures.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

PageBackground::PageBackground(QWidget& page) : QObject(&page), page_(&page)
{
    qApp->installEventFilter(this);
}

PageBackground::~PageBackground()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

bool PageBackground::IsBackgroundOf(const QWidget& page, const QWidget& receiver)
{
    if (&receiver == &page)
        return true;
    return !receiver.isEnabled() && page.isAncestorOf(&receiver);
}

bool PageBackground::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseMove || !page_ || !OnMouseMove || !watched->isWidgetType())
        return false;
    const auto* receiver = static_cast<QWidget*>(watched);
    // A movement that a disabled widget refuses travels on to its parents as a
    // copy; only its delivery to the widget under the pointer counts.
    const auto* movement = static_cast<QMouseEvent*>(event);
    const QPoint pointer = movement->globalPosition().toPoint();
    if (page_->isVisible() && IsBackgroundOf(*page_, *receiver)
        && QApplication::widgetAt(pointer) == receiver) {
        RunHandler(OnMouseMove);
    }
    return false;
}
