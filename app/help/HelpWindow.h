#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

// The frame both help windows share: a fixed size, a title bar with the
// caption only, centred when first shown and where the user left it after
// that. It stands beside the main window, never modal. Its button hides it,
// and so do Escape and a close from the window system: the window lives on
// with its text, scroll position and caret until the program ends.
class THelpWindow : public QWidget {
    Q_OBJECT

public:
    QPushButton* ExitButton;

    void ExitButtonClick();

protected:
    THelpWindow(const QString& caption, QSize clientSize, const QRect& exitButtonPlace,
                QWidget* parent);

    // A text area for the help text: folded at its width, Tab moving on to
    // the next control rather than typing a tab.
    QPlainTextEdit* MakeHelpTextArea(const QString& text, const QRect& place);

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool placed_ = false;
};
