#pragma once

// A control that repeats while the pointer holds it down (the arrow buttons of
// a bounded integer field) registers here, so that the error box can stop the
// repetition: otherwise a failing step would fail again at every repeat.
class PointerCaptureOwner {
public:
    virtual void CancelPointerCapture() = 0;

protected:
    ~PointerCaptureOwner() = default;
};

void BeginPointerCapture(PointerCaptureOwner& owner);
void EndPointerCapture(PointerCaptureOwner& owner);

// Ends whatever capture is held; does nothing when none is.
void CancelPointerCapture();
