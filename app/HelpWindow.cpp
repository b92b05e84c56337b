#include "HelpWindow.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>

THelpWindow::THelpWindow(const QString& caption, QSize clientSize, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(caption);
    setFixedSize(clientSize);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    setFont(font);
    // Only the main window's closing ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
}

void THelpWindow::showEvent(QShowEvent* event)
{
    if (!placed_) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
        placed_ = true;
    }
    QWidget::showEvent(event);
}
