#include "SpinArrowButton.h"

#include "ControlEventRaising.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

SpinArrowButton::SpinArrowButton(ArrowDirection direction, QWidget& field)
    : QWidget(&field), direction_(direction), field_(field)
{
    setCursor(Qt::ArrowCursor);
    repeatTimer_.setTimerType(Qt::PreciseTimer);
    connect(&repeatTimer_, &QTimer::timeout, this, &SpinArrowButton::Repeat);
}

SpinArrowButton::~SpinArrowButton()
{
    EndPointerCapture(*this);
}

void SpinArrowButton::CancelPointerCapture()
{
    StopHolding();
}

void SpinArrowButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    option.state |= held_ && pointerOver_ ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);
    const auto arrow = direction_ == ArrowDirection::Up ? QStyle::PE_IndicatorArrowUp
                                                        : QStyle::PE_IndicatorArrowDown;
    style()->drawPrimitive(arrow, &option, &painter, this);
}

void SpinArrowButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || held_)
        return;
    held_ = true;
    pointerOver_ = true;
    BeginPointerCapture(*this);
    // Taking the focus may clamp the field that had it, and its handler may
    // report a failure or show a notice: the button may then be up already.
    field_.setFocus(Qt::MouseFocusReason);
    if (!held_ || HoldingIsInterrupted()) {
        StopHolding();
        return;
    }
    repeatTimer_.start(firstRepeatDelay);
    update();
}

void SpinArrowButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!held_)
        return;
    pointerOver_ = IsOver(*event);
    update();
}

void SpinArrowButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !held_)
        return;
    StopHolding();
    if (IsOver(*event))
        RaiseUserEvent(OnStep);
}

void SpinArrowButton::Repeat()
{
    if (HoldingIsInterrupted()) {
        StopHolding();
        return;
    }
    if (repeatTimer_.interval() != repeatInterval)
        repeatTimer_.start(repeatInterval);
    if (pointerOver_)
        RaiseUserEvent(OnStep);
}

void SpinArrowButton::StopHolding()
{
    held_ = false;
    repeatTimer_.stop();
    EndPointerCapture(*this);
    update();
}

// A modal window that a step's handler opened (a notice, say) takes the
// pointer away, and the release may have gone to it; repeating behind it
// would step on without end.
bool SpinArrowButton::HoldingIsInterrupted() const
{
    const QWidget* modal = QApplication::activeModalWidget();
    const bool modalElsewhere = modal != nullptr && modal != window();
    const bool buttonUp = !QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
    return modalElsewhere || buttonUp || !isEnabled() || !isVisible();
}

bool SpinArrowButton::IsOver(const QMouseEvent& event) const
{
    return rect().contains(event.position().toPoint());
}
