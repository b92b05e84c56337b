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
    const QRect room(0, 0, width(), QWIDGETSIZE_MAX);
    return QFontMetrics(font).boundingRect(room, Qt::TextWordWrap, text()).height() <= height();
}

void WrappedLabel::NarrowUntilTextFits()
{
    QFont narrowed = font();
    for (int stretch = 100; !TextFits(narrowed) && stretch > NarrowestStretch; --stretch)
        narrowed.setStretch(stretch - 1);
    setFont(narrowed);
}
