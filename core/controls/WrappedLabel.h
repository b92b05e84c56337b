#pragma once

#include <QLabel>

// A label whose text wraps at word boundaries inside its fixed place. Where
// the font's glyphs are wider than the ones the page was laid out with, the
// font is narrowed just enough for the whole text to fit, rather than losing
// its last line, when the label first shows.
class WrappedLabel : public QLabel {
    Q_OBJECT

public:
    WrappedLabel(const QString& text, const QFont& font, const QRect& geometry, QWidget* parent);

    // Whether the whole text fits the label's place in the given font.
    bool TextFits(const QFont& font) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool TextFitsWidth(const QFont& font, int width) const;
    QFont Stretched(int stretch) const;
    void NarrowUntilTextFits();

    bool fitted_ = false;
};
