#include "WrappedLabel.h"

#include <QFontMetrics>

namespace {

// Narrower than this, the text would be harder to read than a lost line.
constexpr int NarrowestStretch = 75;

} // namespace

WrappedLabel::WrappedLabel(const QString& text, const QFont& font, const QRect& geometry,
                           QWidget* parent)
    : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setGeometry(geometry);
    setFont(font);
    NarrowUntilTextFits();
}

bool WrappedLabel::TextFits(const QFont& font) const
{
    return TextFitsWidth(font, width());
}

bool WrappedLabel::TextFitsWidth(const QFont& font, int width) const
{
    const QRect room(0, 0, width, QWIDGETSIZE_MAX);
    return QFontMetrics(font).boundingRect(room, Qt::TextWordWrap, text()).height() <= height();
}

// Every stretch tried loads a font of its own, the slowest part of the
// program's start. Text in a font narrowed to a stretch wraps about as in the
// full font in a place that much wider, which is measured with the font at
// hand; the font of the stretch found that way is then tried, and narrowed
// further where rounding makes it miss.
void WrappedLabel::NarrowUntilTextFits()
{
    if (TextFits(font()))
        return;
    int stretch = 99;
    while (stretch > NarrowestStretch && !TextFitsWidth(font(), width() * 100 / stretch))
        --stretch;
    QFont narrowed = font();
    narrowed.setStretch(stretch);
    while (stretch > NarrowestStretch && !TextFits(narrowed))
        narrowed.setStretch(--stretch);
    setFont(narrowed);
}
