#include "Failures.h"

#include "ApplicationTitle.h"
#include "MessageSeam.h"
#include "PointerCapture.h"

QString FailureText(const QString& message)
{
    constexpr char16_t period = u'.';
    if (!message.isEmpty() && message.back().unicode() > period)
        return message + QChar(period);
    return message;
}

void ReportFailure(const Exception& failure)
{
    CancelPointerCapture();
    ActiveMessageSeam().ErrorBox(ApplicationTitle(), FailureText(failure.Message()));
}

void ShowNotice(const QString& text)
{
    ActiveMessageSeam().NoticeBox(ApplicationTitle(), text);
}
