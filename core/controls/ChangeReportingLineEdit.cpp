#include "ChangeReportingLineEdit.h"

#include "ControlEventRaising.h"
#include "SingleByteValidator.h"
#include "UserEdits.h"

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
    reportedText_ = text;
    validator_->ExpectText(text);
    setText(text);
    RaiseEvent(OnChange);
}

void ChangeReportingLineEdit::ReportTextChange(const QString& text)
{
    if (text == reportedText_)
        return;
    reportedText_ = text;
    NoteUserEdit(*this);
    RaiseUserEvent(OnChange);
}
