#pragma once

#include <functional>

// An event property of a control, as the program wires it: empty means no
// handler.
using ControlEvent = std::function<void()>;
