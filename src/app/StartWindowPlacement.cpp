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

bool overlap(const Position& a, const Position& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

}  // namespace

Position placeClearOf(const Position& wanted, const std::vector<Position>& taken,
                      const ScreenArea& screen, int32_t gap) {
  // The edges of the windows taken give the places worth trying, singly and together.
  std::vector<int32_t> lefts = {wanted.left}, tops = {wanted.top};
  for (const Position& t : taken) {
    lefts.push_back(t.left + t.width + gap);
    lefts.push_back(t.left - gap - wanted.width);
    tops.push_back(t.top + t.height + gap);
    tops.push_back(t.top - gap - wanted.height);
  }
  const auto onScreen = [&screen](const Position& p) {
    return p.left >= screen.left && p.top >= screen.top &&
           p.left + p.width <= screen.left + screen.width &&
           p.top + p.height <= screen.top + screen.height;
  };
  bool found = false;
  Position best = wanted;
  int64_t bestDistance = 0;
  for (const int32_t left : lefts) {
    for (const int32_t top : tops) {
      const Position p{left, top, wanted.width, wanted.height};
      if (!onScreen(p) || std::any_of(taken.begin(), taken.end(),
                                      [&p](const Position& t) { return overlap(p, t); }))
        continue;
      const int64_t dx = left - wanted.left, dy = top - wanted.top;
      if (!found || dx * dx + dy * dy < bestDistance) {
        found = true;
        best = p;
        bestDistance = dx * dx + dy * dy;
      }
    }
  }
  return best;
}

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
    const int32_t left =
        std::max(screen.left, std::min(mainFrame.left + step, screenRight - frames[i].width));
    const int32_t top =
        std::max(screen.top, std::min(mainFrame.top + step, screenBottom - frames[i].height));
    places.push_back({left, top, frames[i].width, frames[i].height});
  }
  return places;
}

}  // namespace qel
