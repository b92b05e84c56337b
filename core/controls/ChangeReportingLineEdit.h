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

    // From now on typing is reported once the user is done with it
    // (ReportTyping), not at every key; other changes still report at once.
    void ReportTypingWhenDone() { typingWhenDone_ = true; }
    // Whether the change OnChange is reporting comes from the user.
    bool ReportsUsersChange() const { return usersChange_; }
    // Shows the text shown before the change OnChange last reported, and
    // reports nothing: the change is taken back.
    void PutBackPreviousText();

protected:
    // The program's way to change the text.
    void ShowText(const QString& text);
    // Shows a text the user chose as a whole (an arrow, a screen reader).
    void ShowUsersText(const QString& text);
    // Reports what was typed since the last report, unless it is that text.
    void ReportTyping();
    // The text OnChange last reported: what typing still to be reported
    // leaves in force.
    const QString& ReportedText() const { return reportedText_; }

private:
    void ReportTextChange(const QString& text);
    void TakeAsReported(const QString& text);
    void RaiseReport(bool byUser);

    // The text OnChange last reported, so that a user's edit that ends where
    // it started reports nothing and the program's own sets are not reported
    // a second time.
    QString reportedText_;
    QString previousText_;
    bool typingWhenDone_ = false;
    bool usersChange_ = false;
    SingleByteValidator* validator_;
};
