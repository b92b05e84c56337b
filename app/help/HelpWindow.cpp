#include "HelpWindow.h"

#include "ControlNames.h"

#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

THelpWindow::THelpWindow(const QString& caption, QSize clientSize, const QRect& exitButtonPlace,
                         QWidget* parent)
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

    ExitButton = Named(
        new QPushButton(QStringLiteral("Okay I got it, close this stupid help window!"), this),
        "ExitButton");
    ExitButton->setGeometry(exitButtonPlace);
}

void THelpWindow::ExitButtonClick()
{
    hide();
}

QPlainTextEdit* THelpWindow::MakeHelpTextArea(const QString& text, const QRect& place)
{
    auto* area = new QPlainTextEdit(this);
    area->setGeometry(place);
    area->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setTabChangesFocus(true);
    area->setPlainText(text);
    // The text has no label; the window's caption says what it is.
    area->setAccessibleName(windowTitle());
    return area;
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

// Neither control takes Escape for itself, so it reaches the window.
void THelpWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        ExitButtonClick();
    else
        QWidget::keyPressEvent(event);
}
