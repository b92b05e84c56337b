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

QString BoxText(const Exception& failure)
{
    const QString text = FailureText(failure.Message());
    if (failure.File().isEmpty() || failure.Message().contains(failure.File()))
        return text;
    return text + QLatin1Char('\n') + failure.File();
}

void ReportFailure(const Exception& failure)
{
    CancelPointerCapture();
    ActiveMessageSeam().ErrorBox(ApplicationTitle(), BoxText(failure));
}

void ShowNotice(const QString& text)
{
    ActiveMessageSeam().NoticeBox(ApplicationTitle(), text);
}
