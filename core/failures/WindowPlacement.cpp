#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace {
QPointer<QWidget> boxOwner;
}

void CentreOnScreen(QWidget& window)
{
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

void OwnBoxesBy(QWidget& mainWindow)
{
    boxOwner = &mainWindow;
}

QWidget* BoxOwner()
{
    return boxOwner && boxOwner->isVisible() ? boxOwner.data() : nullptr;
}
