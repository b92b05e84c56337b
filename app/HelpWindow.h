#pragma once

#include <QWidget>

// The frame both help windows share: a fixed size, a title bar with the
// caption only, centred when first shown and where the user left it after
// that. It stands beside the main window, never modal, and closing it only
// hides it.
class THelpWindow : public QWidget {
    Q_OBJECT

public:
    THelpWindow(const QString& caption, QSize clientSize, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool placed_ = false;
};
