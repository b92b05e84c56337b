#pragma once

#include <QMessageBox>

class QLabel;

// A message box of plain text whose lines break only at blanks (see
// BoxLines.h). Qt sizes a message box itself: it would wrap the text again
// at its usual width, and cut a box off at a width of its own, well short
// of a wide screen's edge; this box keeps its text's label as wide as its
// widest line.
class LinedMessageBox : public QMessageBox {
    Q_OBJECT

public:
    LinedMessageBox(Icon icon, const QString& caption, const QString& text,
                    StandardButtons buttons, QWidget* owner);

    // Breaks the text for a box whose text may take up to room across, and
    // up to half of it where no word needs more.
    void BreakLines(int room);

protected:
    bool event(QEvent* event) override;

private:
    int TextIndent();

    QLabel* label_;
    QString text_;
};
