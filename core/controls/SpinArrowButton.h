#pragma once

#include "ControlEvents.h"
#include "PointerCapture.h"

#include <QTimer>
#include <QWidget>

enum class ArrowDirection { Up, Down };

// One of the two arrow buttons inside a bounded integer field. A short click
// steps once, on release over the button. Held down, it steps 400 ms after the
// press and then every 100 ms while the pointer is over it, and once more on
// release over it. Steps are user events: OnStep runs under the failure guard.
class SpinArrowButton : public QWidget, public PointerCaptureOwner {
    Q_OBJECT

public:
    static constexpr int firstRepeatDelay = 400;
    static constexpr int repeatInterval = 100;

    // The button is a child of the field it steps and hands the focus to it.
    SpinArrowButton(ArrowDirection direction, QWidget& field);
    ~SpinArrowButton() override;

    ControlEvent OnStep;

    // Ends the holding without a further step; the error box calls it.
    void CancelPointerCapture() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Repeat();
    void StopHolding();
    bool HoldingIsInterrupted() const;
    bool IsOver(const QMouseEvent& event) const;

    ArrowDirection direction_;
    QWidget& field_;
    QTimer repeatTimer_;
    bool held_ = false;
    bool pointerOver_ = false;
};
