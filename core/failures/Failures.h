#pragma once

#include "Exceptions.h"

#include <QString>
#include <exception>

// The message as the error box shows it: a period is added when the last
// character's code is above that of the period itself.
QString FailureText(const QString& message);

// The error box's text: the message as FailureText shows it, and below it,
// on a line of its own, the file the failure is about, unless the message
// already names it.
QString BoxText(const Exception& failure);

// The error box: stops any pointer capture, then shows the box's text with a
// stop icon and one OK button.
void ReportFailure(const Exception& failure);

// The plain notice box; returns when the user has closed it.
void ShowNotice(const QString& text);

// Runs a handler on behalf of the event loop. A failure ends the handler and
// is reported here, so that no exception ever crosses Qt's event loop.
template <typename Handler>
void RunHandler(Handler&& handler) noexcept
{
    try {
        handler();
    } catch (const Exception& failure) {
        ReportFailure(failure);
    } catch (const std::exception& failure) {
        ReportFailure(Exception(QString::fromLocal8Bit(failure.what())));
    }
}
