#pragma once

#include "BoxKeys.h"
#include "ControlEvents.h"
#include "Failures.h"

#include <QKeyEvent>

// An event the program causes runs inside the call that caused it; a failure
// leaves through that call. The handler runs from a copy, so that it may
// replace itself without pulling the code out from under its own feet.
inline void RaiseEvent(const ControlEvent& event)
{
    if (event) {
        const ControlEvent handler = event;
        handler();
    }
}

// An event the user causes runs from Qt's event loop, which no failure may
// cross: it is reported here instead.
inline void RaiseUserEvent(const ControlEvent& event) noexcept
{
    RunHandler([&event] { RaiseEvent(event); });
}

// Key release events for OnKeyUp. A held key repeats its press and its
// release; only the final release counts, so a held key reports once. The
// release of a key that closed a message box belongs to that box.
inline void RaiseKeyUpEvent(const QKeyEvent& release, const ControlEvent& event) noexcept
{
    if (!release.isAutoRepeat() && !TakeReleaseOfBoxKey(release.key()))
        RaiseUserEvent(event);
}
