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
}

// Measuring loads fonts, the slowest part of the program's start; a label of
// a page not shown at start-up is measured when it first shows.
void WrappedLabel::showEvent(QShowEvent* event)
{
    if (!fitted_) {
        NarrowUntilTextFits();
        fitted_ = true;
    }
    QLabel::showEvent(event);
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

QFont WrappedLabel::Stretched(int stretch) const
{
    QFont narrowed = font();
    narrowed.setStretch(stretch);
    return narrowed;
}

// Every stretch tried loads a font of its own. Text in a font narrowed to a
// stretch wraps about as in the full font in a place that much wider, which
// is measured with the font at hand; from the stretch found that way, the
// fonts on either side are tried until the widest that fits is known.
void WrappedLabel::NarrowUntilTextFits()
{
    if (TextFits(font()))
        return;
    int stretch = 99;
    while (stretch > NarrowestStretch && !TextFitsWidth(font(), width() * 100 / stretch))
        --stretch;
    if (TextFits(Stretched(stretch))) {
        while (stretch < 99 && TextFits(Stretched(stretch + 1)))
            ++stretch;
    } else {
        while (stretch > NarrowestStretch && !TextFits(Stretched(stretch)))
            --stretch;
    }
    setFont(Stretched(stretch));
}
