#pragma once

#include "ControlEvents.h"

#include <QPlainTextEdit>
#include <QStringList>

// A multi-line text area whose text is its lines joined by CR LF; in a text
// given to it, CR LF, a CR alone and an LF alone each end a line. Enter
// starts a new line, Tab moves the focus, and wrapping at the area's width
// adds nothing to the text. Only characters with a single-byte form, but
// for Ctrl-Z, can be typed or pasted. The undo history starts again at a key release once it
// holds more than MaxUndoSteps steps.
class TextArea : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TextArea(QWidget* parent = nullptr);

    QString Text() const;
    // A text equal to the current one changes nothing; otherwise OnChange
    // runs once, inside this call.
    void SetText(const QString& text);
    // Empties the area without OnChange.
    void ClearText();

    // Where the user is in the text: both ends of the selection (the same
    // where nothing is selected), how far the text is scrolled, and the
    // lines they are in.
    struct Place {
        int anchor = 0;
        int position = 0;
        int scrolled = 0;
        QStringList lines;
    };
    Place CurrentPlace() const;
    // Goes back to a place taken before the text changed: each end to its
    // column in its line, which lines added or taken away before it move;
    // an end beyond a shorter text or line stays at its end.
    void ReturnTo(const Place& place);

    ControlEvent OnChange;
    // Every key released while the area has the focus.
    ControlEvent OnKeyUp;

    // While undo is possible the document keeps every text ever inserted, and
    // the chat text is edited and saved key by key for as long as the program
    // runs: without a bound it would keep all of it.
    static constexpr int MaxUndoSteps = 100;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void ReplaceDocumentText(const QString& documentText);
    void StartNewLine();
    void ReportTextChange();
    void LimitUndoHistory();

    QString reportedText_;
    bool replacingText_ = false;
};
