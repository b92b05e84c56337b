#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The program's own notice box: the application title as caption, no icon,
// the text as given and one centred "OK" that Enter, Escape and the close box
// all answer. It stands in the middle of the screen, or centred over its
// parent where it has one.
class NoticeDialog : public QDialog {
    Q_OBJECT

public:
    NoticeDialog(const QString& caption, const QString& text, QWidget* parent = nullptr);

    QLabel* TextLabel() const { return text_; }
    QPushButton* OkButton() const { return ok_; }

private:
    void LayOut(const QString& text);

    QLabel* text_;
    QPushButton* ok_;
};
