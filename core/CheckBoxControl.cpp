#include "CheckBoxControl.h"

#include "ControlEventRaising.h"

#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <algorithm>

CheckBoxControl::CheckBoxControl(const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent)
{
    setLayoutDirection(Qt::RightToLeft);
    connect(this, &QCheckBox::stateChanged, this, &CheckBoxControl::ReportStateChange);
}

void CheckBoxControl::SetState(CheckState state)
{
    if (state == State())
        return;
    reportedState_ = state;
    setCheckState(ToQtCheckState(state));
    RaiseEvent(OnClick);
}

void CheckBoxControl::SetChecked(bool checked)
{
    SetState(checked ? CheckState::cbChecked : CheckState::cbUnchecked);
}

// Setting a grayed state makes Qt's check box cycle through three states;
// the user's click follows the two-state rule instead.
void CheckBoxControl::nextCheckState()
{
    setCheckState(ToQtCheckState(StateAfterUserToggle(State())));
}

void CheckBoxControl::ReportStateChange()
{
    if (State() == reportedState_)
        return;
    reportedState_ = State();
    RaiseUserEvent(OnClick);
}

// The box stands at the right edge and the caption starts at the left edge,
// reading left to right: a right-to-left painter would move a closing "?" or
// ")" to the caption's start.
namespace {

// A caption a little wider than its place is narrowed rather than run into
// the box, so that it stays readable whole.
void FitCaptionFont(QPainter& painter, const QString& caption, int availableWidth)
{
    const int captionWidth = painter.fontMetrics().horizontalAdvance(caption);
    if (captionWidth <= availableWidth || captionWidth == 0)
        return;
    QFont narrowed = painter.font();
    narrowed.setStretch(std::max(75, availableWidth * 100 / captionWidth));
    painter.setFont(narrowed);
}

} // namespace

void CheckBoxControl::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    const bool focused = option.state.testFlag(QStyle::State_HasFocus);
    option.text.clear();
    option.state.setFlag(QStyle::State_HasFocus, false);
    painter.drawControl(QStyle::CE_CheckBox, option);

    option.text = caption;
    const QRect contents = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
    painter.setLayoutDirection(Qt::LeftToRight);
    FitCaptionFont(painter, caption, contents.width());
    const int alignment = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
    const QRect captionRect = painter.fontMetrics().boundingRect(contents, alignment, caption);
    painter.drawItemText(contents, alignment, palette(), isEnabled(), caption, QPalette::WindowText);
    if (focused) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = captionRect.adjusted(-1, 0, 1, 0).intersected(rect());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}
