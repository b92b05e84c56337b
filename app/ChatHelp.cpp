#include "ChatHelp.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>

TChatHelpForm* ChatHelpForm = nullptr;

TChatHelpForm::TChatHelpForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("ChatHelpForm"));
    setWindowTitle(QStringLiteral("Chat File Help"));
    setFixedSize(458, 326);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    setFont(font);
    // Only the main window's closing ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
}

void TChatHelpForm::showEvent(QShowEvent* event)
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
