#pragma once

#include "ChangeReportingLineEdit.h"

// A single-line text field without a length limit. Whatever the user types is
// kept exactly as typed.
class TextField : public ChangeReportingLineEdit {
    Q_OBJECT

public:
    explicit TextField(QWidget* parent = nullptr);

    QString Text() const { return text(); }
    // A text equal to the shown one, case included, changes nothing.
    void SetText(const QString& text) { ShowText(text); }

    // Every key released while the field has the focus.
    ControlEvent OnKeyUp;

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
};
