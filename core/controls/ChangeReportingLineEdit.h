#pragma once

#include "ControlEvents.h"

#include <QLineEdit>

class SingleByteValidator;

// A single-line field that raises OnChange for every change of its text:
// inside the set call when the program changes it, through the failure guard
// when the user does. A change that leaves the text as it was raises nothing.
// Only characters with a single-byte form can be typed or pasted.
class ChangeReportingLineEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit ChangeReportingLineEdit(QWidget* parent = nullptr);

    ControlEvent OnChange;

protected:
    // The program's way to change the text.
    void ShowText(const QString& text);

private:
    void ReportTextChange(const QString& text);

    // The text OnChange last reported, so that a user's edit that ends where
    // it started reports nothing and the program's own sets are not reported
    // a second time.
    QString reportedText_;
    SingleByteValidator* validator_;
};
