#pragma once

#include "ChangeReportingLineEdit.h"

class SpinArrowButton;

// An integer field with arrow buttons. Values the program sets are clamped to
// MinValue..MaxValue (unless the two are equal); what the user types is not
// clamped until Enter or the focus leaves the field. OnChange runs whenever
// the shown text changes, or, once ReportTypingWhenDone is called, for typing
// only at Enter or when the focus leaves. The arrows, the Page keys and the
// wheel step at once. The range is set with SetMinValue and SetMaxValue;
// changing it leaves the shown text alone.
class BoundedIntegerField : public ChangeReportingLineEdit {
    Q_OBJECT

public:
    explicit BoundedIntegerField(QWidget* parent = nullptr);

    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }
    void SetMinValue(int value) { minValue_ = value; }
    void SetMaxValue(int value) { maxValue_ = value; }

    // The shown text as an integer, not clamped; MaxValue for decimal digits
    // too large for an integer (MinValue with a minus sign), MinValue for any
    // other text that is not an integer.
    int Value() const;
    // The value of the text OnChange last reported, read as Value reads;
    // differs from Value while typing is not reported yet.
    int AppliedValue() const;
    // Shows the clamped value; OnChange runs inside this call when the text
    // changes, and a failure in it leaves through this call.
    void SetValue(int value);
    // As SetValue, for a value the user chose as a whole (a screen reader).
    void SetValueAsUser(int value);
    void StepUp() { StepBy(1); }
    void StepDown() { StepBy(-1); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void StepBy(int increment);
    void ApplyTyping();
    void ClampOutOfRangeValue();
    int ClampedValue(int value) const;
    int ArrowButtonWidth() const;

    int minValue_ = 0;
    int maxValue_ = 0;
    SpinArrowButton* upButton_;
    SpinArrowButton* downButton_;
};
