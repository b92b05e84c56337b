#include "BoundedIntegerField.h"

#include "Conversions.h"
#include "Exceptions.h"
#include "Failures.h"
#include "IntegerFieldInput.h"
#include "KeyboardInput.h"
#include "SpinArrowButton.h"
#include "UserEdits.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>
#include <limits>

namespace {

// Leaving by a modal box's opening or a popup is no leaving of the field.
bool FocusLeavesField(Qt::FocusReason reason)
{
    switch (reason) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::MouseFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
        return true;
    default:
        return false;
    }
}

// Where a text of decimal digits, after the blanks and the sign that
// TextToInteger allows, lies when it is too large for an integer; Nowhere for
// any other text, an integer included.
enum class BeyondIntegers { Nowhere, Above, Below };

BeyondIntegers WhereBeyondIntegers(QStringView text)
{
    qsizetype at = 0;
    while (at < text.size() && text[at] == u' ')
        ++at;
    const bool negative = at < text.size() && text[at] == u'-';
    if (at < text.size() && (text[at] == u'+' || negative))
        ++at;
    QStringView digits = text.sliced(at);
    const auto isDigit = [](QChar character) { return character >= u'0' && character <= u'9'; };
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), isDigit))
        return BeyondIntegers::Nowhere;
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.sliced(1);
    // Of equally many digits, the greater number is the greater text.
    const QStringView largest = negative ? u"2147483648" : u"2147483647";
    if (digits.size() < largest.size() || (digits.size() == largest.size() && digits <= largest))
        return BeyondIntegers::Nowhere;
    return negative ? BeyondIntegers::Below : BeyondIntegers::Above;
}

// The value a text stands for; see Value.
int ValueOf(const QString& text, int minValue, int maxValue)
{
    try {
        return TextToInteger(text);
    } catch (const EConvertError&) {
        // Digits too many for an integer stand for a number beyond the end of
        // the range that their sign points to.
        return WhereBeyondIntegers(text) == BeyondIntegers::Above ? maxValue : minValue;
    }
}

// A Page key steps as far as ten arrow presses.
constexpr int PageStep = 10;

// With Ctrl, a Page key turns the window's pages instead.
int StepOfKey(const QKeyEvent& event)
{
    const bool plain = !(event.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier));
    switch (event.key()) {
    case Qt::Key_Up: return 1;
    case Qt::Key_Down: return -1;
    case Qt::Key_PageUp: return plain ? PageStep : 0;
    case Qt::Key_PageDown: return plain ? -PageStep : 0;
    default: return 0;
    }
}

} // namespace

BoundedIntegerField::BoundedIntegerField(QWidget* parent)
    : ChangeReportingLineEdit(parent),
      upButton_(new SpinArrowButton(ArrowDirection::Up, *this)),
      downButton_(new SpinArrowButton(ArrowDirection::Down, *this))
{
    upButton_->setObjectName(QStringLiteral("StepUpButton"));
    downButton_->setObjectName(QStringLiteral("StepDownButton"));
    upButton_->OnStep = [this] { StepUp(); };
    downButton_->OnStep = [this] { StepDown(); };
    setTextMargins(0, 0, ArrowButtonWidth(), 0);
    ShowText(IntegerToText(0));
}

int BoundedIntegerField::Value() const
{
    return ValueOf(text(), minValue_, maxValue_);
}

int BoundedIntegerField::AppliedValue() const
{
    return ValueOf(ReportedText(), minValue_, maxValue_);
}

void BoundedIntegerField::SetValue(int value)
{
    ShowText(IntegerToText(ClampedValue(value)));
}

void BoundedIntegerField::SetValueAsUser(int value)
{
    ShowUsersText(IntegerToText(ClampedValue(value)));
}

int BoundedIntegerField::ClampedValue(int value) const
{
    if (minValue_ == maxValue_)
        return value;
    if (value < minValue_)
        return minValue_;
    if (value > maxValue_)
        return maxValue_;
    return value;
}

// Saturates instead of wrapping around at the ends of the integer range.
void BoundedIntegerField::StepBy(int increment)
{
    constexpr qint64 lowest = std::numeric_limits<int>::min();
    constexpr qint64 highest = std::numeric_limits<int>::max();
    const qint64 stepped = qint64{Value()} + increment;
    SetValueAsUser(static_cast<int>(std::clamp(stepped, lowest, highest)));
    NoteUserEdit(*this);
}

void BoundedIntegerField::keyPressEvent(QKeyEvent* event)
{
    const int step = StepOfKey(*event);
    if (step != 0) {
        RunHandler([this, step] { StepBy(step); });
        return;
    }
    if (IsEnterKey(*event)) {
        RunHandler([this] { ApplyTyping(); });
        return;
    }
    if (!IsAcceptedIntegerFieldKey(*event)) {
        QApplication::beep();
        return;
    }
    ChangeReportingLineEdit::keyPressEvent(event);
}

void BoundedIntegerField::inputMethodEvent(QInputMethodEvent* event)
{
    if (IsAcceptedIntegerFieldTyping(event->commitString())) {
        ChangeReportingLineEdit::inputMethodEvent(event);
        return;
    }
    QApplication::beep();
    QInputMethodEvent withoutCommit;
    ChangeReportingLineEdit::inputMethodEvent(&withoutCommit);
}

// A wheel turned over a field the user is not working with scrolls the page.
void BoundedIntegerField::wheelEvent(QWheelEvent* event)
{
    const int notches = event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
    if (!hasFocus() || notches == 0) {
        event->ignore();
        return;
    }
    RunHandler([this, notches] { StepBy(notches); });
}

void BoundedIntegerField::focusOutEvent(QFocusEvent* event)
{
    ChangeReportingLineEdit::focusOutEvent(event);
    if (FocusLeavesField(event->reason()))
        RunHandler([this] { ApplyTyping(); });
}

void BoundedIntegerField::ApplyTyping()
{
    ClampOutOfRangeValue();
    ReportTyping();
}

// A text that is not an integer reads as MinValue, which is in range, and so
// stays as the user left it; digits too many for an integer lie out of range
// and show the end they read as.
void BoundedIntegerField::ClampOutOfRangeValue()
{
    const int value = Value();
    const bool beyondIntegers = minValue_ != maxValue_
                                && WhereBeyondIntegers(text()) != BeyondIntegers::Nowhere;
    if (ClampedValue(value) != value || beyondIntegers)
        SetValueAsUser(value);
}

void BoundedIntegerField::resizeEvent(QResizeEvent* event)
{
    ChangeReportingLineEdit::resizeEvent(event);
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const QRect inside = rect().adjusted(frame, frame, -frame, -frame);
    const int width = ArrowButtonWidth();
    const int upperHeight = inside.height() / 2;
    const int left = inside.right() + 1 - width;
    upButton_->setGeometry(left, inside.top(), width, upperHeight);
    downButton_->setGeometry(left, inside.top() + upperHeight, width, inside.height() - upperHeight);
}

int BoundedIntegerField::ArrowButtonWidth() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}
