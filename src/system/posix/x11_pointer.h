// The mouse pointer's position on the X display, for front ends that run inside a desktop
// application (the office) rather than in a terminal.
#pragma once

#include <optional>
#include <string>

#include "host/system.h"

namespace tezlo {

// The pointer's position in screen pixels on `display` (the DISPLAY variable when empty).
// Nothing when there is no X display to ask: no DISPLAY, no X library, or the display refuses.
std::optional<PointerPosition> X11PointerPosition(const std::string& display = "");

}  // namespace tezlo
