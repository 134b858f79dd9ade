// Where the windows shown at start (the Quick Reference, the Startup Tips) go when they have no
// place of their own yet: beside the main window, one below the other, on a side of the screen
// with room for them; where neither side has room, cascaded down from the main window's corner.
// They never cover each other.
#pragma once

#include <vector>

#include "app/SettingsFormat.h"

namespace qel {

struct WindowSize {
  int32_t width = 0;
  int32_t height = 0;
};

// Frame rectangles (left, top, width, height) for windows of the given frame sizes, in order.
std::vector<Position> startWindowPlaces(const Position& mainFrame, const ScreenArea& screen,
                                        const std::vector<WindowSize>& frames, int32_t gap = 8);

// A place for a window of `wanted`'s size that covers none of `taken` and lies on the screen, as
// near to `wanted` as such a place is: `wanted` itself when it covers none, else beside, above or
// below them. `wanted` when the screen has no such place.
Position placeClearOf(const Position& wanted, const std::vector<Position>& taken,
                      const ScreenArea& screen, int32_t gap = 8);

}  // namespace qel
