#include "app/StartWindowPlacement.h"

#include <algorithm>

namespace qel {
namespace {

// One below the other from `top`, all at `left`.
std::vector<Position> column(int32_t left, int32_t top, const std::vector<WindowSize>& frames,
                             int32_t gap) {
  std::vector<Position> places;
  for (const WindowSize& f : frames) {
    places.push_back({left, top, f.width, f.height});
    top += f.height + gap;
  }
  return places;
}

}  // namespace

std::vector<Position> startWindowPlaces(const Position& mainFrame, const ScreenArea& screen,
                                        const std::vector<WindowSize>& frames, int32_t gap) {
  if (frames.empty()) return {};
  int32_t widest = 0;
  int32_t stacked = -gap;
  for (const WindowSize& f : frames) {
    widest = std::max(widest, f.width);
    stacked += f.height + gap;
  }
  const int32_t screenRight = screen.left + screen.width;
  const int32_t screenBottom = screen.top + screen.height;
  if (stacked <= screen.height) {
    // Level with the main window's top where the column fits below it, else pushed up.
    const int32_t top = std::max(screen.top, std::min(mainFrame.top, screenBottom - stacked));
    const int32_t right = mainFrame.left + mainFrame.width + gap;
    if (right + widest <= screenRight) return column(right, top, frames, gap);
    const int32_t left = mainFrame.left - gap - widest;
    if (left >= screen.left) return column(left, top, frames, gap);
  }
  // No side has room: each one a step further down and right than the one before, inside the
  // screen as far as it goes.
  constexpr int32_t kStep = 48;
  std::vector<Position> places;
  for (size_t i = 0; i < frames.size(); ++i) {
    const int32_t step = kStep * static_cast<int32_t>(i + 1);
    const int32_t left = std::max(
        screen.left, std::min(mainFrame.left + step, screenRight - frames[i].width));
    const int32_t top = std::max(
        screen.top, std::min(mainFrame.top + step, screenBottom - frames[i].height));
    places.push_back({left, top, frames[i].width, frames[i].height});
  }
  return places;
}

}  // namespace qel
