#include "NoticeDialog.h"

#include "BoxLines.h"
#include "TitleBarWidth.h"
#include "WindowPlacement.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

// Dialog units of the message font: a quarter of the average character width
// across, an eighth of the font height down.
struct DialogUnits {
    explicit DialogUnits(const QFontMetrics& metrics)
        : x(metrics.averageCharWidth() / 4.0), y(metrics.height() / 8.0) {}
    int Across(int units) const { return qRound(units * x); }
    int Down(int units) const { return qRound(units * y); }
    double x;
    double y;
};

QString ExpandTabs(const QString& text)
{
    constexpr int tabWidth = 8;
    QString expanded;
    int column = 0;
    for (QChar character : text) {
        if (character == u'\t') {
            const int blanks = tabWidth - column % tabWidth;
            expanded += QString(blanks, u' ');
            column += blanks;
        } else {
            expanded += character;
            column = (character == u'\n' || character == u'\r') ? 0 : column + 1;
        }
    }
    return expanded;
}

} // namespace

NoticeDialog::NoticeDialog(const QString& caption, const QString& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint),
      text_(new QLabel(this)),
      ok_(new QPushButton(QStringLiteral("OK"), this))
{
    setWindowTitle(caption);
    setWindowModality(Qt::ApplicationModal);
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    LayOut(text);
    // A child stands centred over its parent when it shows.
    if (parent == nullptr)
        CentreOnScreen(*this);
}

void NoticeDialog::LayOut(const QString& text)
{
    const QFontMetrics metrics(font());
    const DialogUnits units(metrics);
    const int margin = units.Across(8);
    const int screenWidth = screen() ? screen()->availableGeometry().width() : 1024;
    const int usual = qMax(1, screenWidth / 2 - 2 * margin);
    const int room = qMax(usual, screenWidth - 2 * margin);

    // Plain text only: a notice is shown exactly as the program wrote it,
    // its lines broken at blanks only (see BoxLines.h) and none wrapped again.
    const QString expanded = ExpandTabs(text);
    const QFontMetricsF exact(font());
    text_->setTextFormat(Qt::PlainText);
    text_->setText(BrokenAtBlanks(expanded, exact, BreakingWidth(expanded, exact, usual, room)));
    const int textWidth = WidestLine(text_->text(), exact);
    const int textHeight = text_->sizeHint().height();

    const int buttonWidth = qMax(units.Across(50), ok_->sizeHint().width());
    const int buttonHeight = qMax(units.Down(14), ok_->sizeHint().height());
    const int clientWidth = qMax(qMax(textWidth, buttonWidth) + 2 * units.Across(8),
                                 TitleBarWidthFor(windowTitle()));

    text_->setGeometry(units.Across(8), units.Down(8), textWidth, textHeight);
    const int buttonTop = units.Down(8) + textHeight + units.Down(10);
    ok_->setGeometry((clientWidth - buttonWidth) / 2, buttonTop, buttonWidth, buttonHeight);
    setFixedSize(clientWidth, buttonTop + buttonHeight + units.Down(8));
}
