#include "ChangeReportingLineEdit.h"

#include "ControlEventRaising.h"
#include "SingleByteValidator.h"

ChangeReportingLineEdit::ChangeReportingLineEdit(QWidget* parent) : QLineEdit(parent)
{
    setValidator(new SingleByteValidator(this));
    connect(this, &QLineEdit::textChanged, this, &ChangeReportingLineEdit::ReportTextChange);
}

void ChangeReportingLineEdit::ShowText(const QString& text)
{
    if (text == QLineEdit::text())
        return;
    reportedText_ = text;
    setText(text);
    RaiseEvent(OnChange);
}

void ChangeReportingLineEdit::ReportTextChange(const QString& text)
{
    if (text == reportedText_)
        return;
    reportedText_ = text;
    RaiseUserEvent(OnChange);
}
