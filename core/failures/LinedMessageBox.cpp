#include "LinedMessageBox.h"

#include "BoxLines.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QLayout>
#include <QScreen>

LinedMessageBox::LinedMessageBox(Icon icon, const QString& caption, const QString& text,
                                 StandardButtons buttons, QWidget* owner)
    : QMessageBox(icon, caption, QString(), buttons, owner),
      label_(findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))),
      text_(text)
{
    setTextFormat(Qt::PlainText);
    ensurePolished();
    BreakLines(screen()->availableGeometry().width() - TextIndent());
}

void LinedMessageBox::BreakLines(int room)
{
    const QFontMetricsF metrics(label_->font());
    const qreal width = BreakingWidth(text_, metrics, room / 2.0, room);
    setText(BrokenAtBlanks(text_, metrics, width));
    // Qt turns the label's word wrap on for a long text; as wide as the
    // widest line, the label has nothing left to wrap.
    label_->setMinimumWidth(WidestLine(text(), metrics));
}

// The room beside the text: the box's margins and its icon.
int LinedMessageBox::TextIndent()
{
    layout()->activate();
    return width() - label_->width();
}

// Qt sizes the box as it shows and again at each layout request, never wider
// than its own limit; past that limit the box is widened to hold its lines.
bool LinedMessageBox::event(QEvent* event)
{
    const bool handled = QMessageBox::event(event);
    if (event->type() == QEvent::Show || event->type() == QEvent::LayoutRequest) {
        const int least = layout()->totalMinimumSize().width();
        if (width() < least)
            setFixedWidth(least);
    }
    return handled;
}
