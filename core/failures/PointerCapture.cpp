#include "PointerCapture.h"

#include <QWidget>

namespace {
PointerCaptureOwner* capturingOwner = nullptr;
}

void BeginPointerCapture(PointerCaptureOwner& owner)
{
    capturingOwner = &owner;
}

void EndPointerCapture(PointerCaptureOwner& owner)
{
    if (capturingOwner == &owner)
        capturingOwner = nullptr;
}

void CancelPointerCapture()
{
    if (PointerCaptureOwner* owner = capturingOwner) {
        capturingOwner = nullptr;
        owner->CancelPointerCapture();
    }
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
}
