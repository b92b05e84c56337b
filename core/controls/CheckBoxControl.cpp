#include "CheckBoxControl.h"

#include "ControlEventRaising.h"
#include "UserEdits.h"

#include <QEvent>
#include <QFontMetrics>
#include <QRegion>
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
    NoteUserEdit(*this);
    RaiseUserEvent(OnClick);
}

namespace {

constexpr int CaptionAlignment = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;

// A caption a little wider than its place is narrowed rather than run into
// the box, so that it stays readable whole.
QFont FittedFont(QFont font, const QString& caption, int availableWidth)
{
    const int captionWidth = QFontMetrics(font).horizontalAdvance(caption);
    if (captionWidth <= availableWidth || captionWidth == 0)
        return font;
    font.setStretch(std::max(75, availableWidth * 100 / captionWidth));
    return font;
}

QRect StyleRect(const QCheckBox& box, QStyle::SubElement part)
{
    QStyleOptionButton option;
    option.initFrom(&box);
    option.text = box.text();
    return box.style()->subElementRect(part, &option, &box);
}

} // namespace

QFont CheckBoxControl::CaptionFont() const
{
    return FittedFont(font(), text(), StyleRect(*this, QStyle::SE_CheckBoxContents).width());
}

// The box stands at the right edge and the caption starts at the left edge,
// reading left to right: a right-to-left painter would move a closing "?" or
// ")" to the caption's start.
QRect CheckBoxControl::CaptionRect(const QFont& font) const
{
    const QRect contents = StyleRect(*this, QStyle::SE_CheckBoxContents);
    return QFontMetrics(font).boundingRect(contents, CaptionAlignment, text());
}

// The box and the caption with the frame the focus draws around it.
QRegion CheckBoxControl::DrawnArea() const
{
    QRegion area(StyleRect(*this, QStyle::SE_CheckBoxIndicator));
    if (!text().isEmpty())
        area += CaptionRect(CaptionFont()).adjusted(-1, 0, 1, 0).intersected(rect());
    return area;
}

bool CheckBoxControl::hitButton(const QPoint& position) const
{
    return DrawnArea().contains(position);
}

// The mask hands pointer events outside the drawn parts to the page. It is
// made when the box shows: measuring a caption loads its font, which for the
// boxes of the pages not shown at start-up can wait.
void CheckBoxControl::UpdateMask()
{
    if (isVisible())
        setMask(DrawnArea());
}

void CheckBoxControl::showEvent(QShowEvent* event)
{
    QCheckBox::showEvent(event);
    setMask(DrawnArea());
}

void CheckBoxControl::resizeEvent(QResizeEvent* event)
{
    QCheckBox::resizeEvent(event);
    UpdateMask();
}

void CheckBoxControl::changeEvent(QEvent* event)
{
    QCheckBox::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        UpdateMask();
}

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

    const QRect contents = StyleRect(*this, QStyle::SE_CheckBoxContents);
    painter.setLayoutDirection(Qt::LeftToRight);
    painter.setFont(CaptionFont());
    painter.drawItemText(contents, CaptionAlignment, palette(), isEnabled(), caption,
                         QPalette::WindowText);
    if (focused) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = CaptionRect(painter.font()).adjusted(-1, 0, 1, 0).intersected(rect());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}
