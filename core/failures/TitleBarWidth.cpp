#include "TitleBarWidth.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>

int TitleBarWidthFor(const QString& caption)
{
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int barHeight = metrics.height() + 8;
    constexpr int squares = 5;
    return metrics.horizontalAdvance(caption) + squares * barHeight;
}
