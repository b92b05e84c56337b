#include "ChangeReportingLineEdit.h"

#include "ControlEventRaising.h"
#include "SingleByteValidator.h"
#include "UserEdits.h"

#include <QScopeGuard>

ChangeReportingLineEdit::ChangeReportingLineEdit(QWidget* parent) : QLineEdit(parent)
{
    validator_ = new SingleByteValidator(*this);
    setValidator(validator_);
    connect(this, &QLineEdit::textChanged, this, &ChangeReportingLineEdit::ReportTextChange);
}

void ChangeReportingLineEdit::ShowText(const QString& text)
{
    if (text == QLineEdit::text())
        return;
    TakeAsReported(text);
    validator_->ExpectText(text);
    setText(text);
    RaiseReport(false);
}

void ChangeReportingLineEdit::ShowUsersText(const QString& text)
{
    const bool before = usersChange_;
    usersChange_ = true;
    const auto restore = qScopeGuard([this, before] { usersChange_ = before; });
    ShowText(text);
}

void ChangeReportingLineEdit::PutBackPreviousText()
{
    reportedText_ = previousText_;
    validator_->ExpectText(previousText_);
    setText(previousText_);
}

void ChangeReportingLineEdit::ReportTextChange(const QString& text)
{
    if (text == reportedText_)
        return;
    NoteUserEdit(*this);
    if (typingWhenDone_)
        return;
    TakeAsReported(text);
    RunHandler([this] { RaiseReport(true); });
}

void ChangeReportingLineEdit::ReportTyping()
{
    if (text() == reportedText_)
        return;
    TakeAsReported(text());
    RaiseReport(true);
}

void ChangeReportingLineEdit::TakeAsReported(const QString& text)
{
    previousText_ = reportedText_;
    reportedText_ = text;
}

// A failure in OnChange leaves through this call.
void ChangeReportingLineEdit::RaiseReport(bool byUser)
{
    const bool before = usersChange_;
    usersChange_ = before || byUser;
    const auto restore = qScopeGuard([this, before] { usersChange_ = before; });
    RaiseEvent(OnChange);
}
