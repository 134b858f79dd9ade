// The windows shown at start stand beside the main window where a side has room, else cascade;
// in every case none covers another and none leaves the screen.
#include <gtest/gtest.h>

#include <tuple>

#include "app/StartWindowPlacement.h"

namespace qel {
namespace {

bool overlap(const Position& a, const Position& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

TEST(StartWindowPlacement, BesideTheMainWindowElseCascaded) {
  const ScreenArea screen{0, 0, 1920, 1080};
  const std::vector<WindowSize> two = {{600, 420}, {460, 300}};
  struct Case {
    const char* what;
    Position main;
    ScreenArea screen;
    int32_t expectedLeft;  // of the first window
    bool column;           // one below the other at the same left
  };
  const Case cases[] = {
      {"default main window: the right", {0, 0, 640, 1012}, screen, 648, true},
      {"main window on the right: the left", {1200, 0, 700, 1000}, screen, 592, true},
      {"main window filling the screen: cascaded", {0, 0, 1920, 1080}, screen, 48, false},
      {"a screen too low for both: cascaded", {0, 0, 640, 600}, {0, 0, 1920, 600}, 48, false},
  };
  for (const Case& c : cases) {
    const std::vector<Position> places = startWindowPlaces(c.main, c.screen, two);
    ASSERT_EQ(places.size(), 2u) << c.what;
    EXPECT_EQ(places[0].left, c.expectedLeft) << c.what;
    EXPECT_EQ(places[0].left == places[1].left, c.column) << c.what;
    EXPECT_FALSE(overlap(places[0], places[1]) && places[0].left == places[1].left &&
                 places[0].top == places[1].top)
        << c.what;
    if (c.column) {
      EXPECT_FALSE(overlap(places[0], places[1])) << c.what;
      EXPECT_FALSE(overlap(places[0], c.main)) << c.what;
    }
    for (const Position& p : places) {
      EXPECT_GE(p.left, c.screen.left) << c.what;
      EXPECT_GE(p.top, c.screen.top) << c.what;
      EXPECT_LE(p.left + p.width, c.screen.left + c.screen.width) << c.what;
      EXPECT_LE(p.top + p.height, c.screen.top + c.screen.height) << c.what;
    }
  }
}

// A window placed clear of others keeps its place where it covers none, moves to the nearest
// place beside, above or below them where it would, and stays put where the screen has no room.
TEST(StartWindowPlacement, ClearOfTheWindowsThereWhenThereIsRoom) {
  const ScreenArea screen{0, 0, 1600, 900};
  const Position reference{600, 0, 300, 400};
  const struct {
    Position wanted;
    std::vector<Position> taken;
    Position expected;
  } cases[] = {
      {{0, 500, 500, 300}, {reference}, {0, 500, 500, 300}},    // clear already
      {{533, 0, 800, 421}, {reference}, {533, 408, 800, 421}},  // beside it is off the screen
      {{533, 0, 600, 421}, {reference}, {908, 0, 600, 421}},    // beside it
      {{533, 0, 600, 421}, {reference, {900, 0, 700, 900}}, {292, 408, 600, 421}},  // below, left
      {{0, 0, 1600, 900}, {reference}, {0, 0, 1600, 900}},  // no room anywhere
  };
  for (const auto& c : cases) {
    const Position got = placeClearOf(c.wanted, c.taken, screen);
    EXPECT_EQ(std::tie(got.left, got.top, got.width, got.height),
              std::tie(c.expected.left, c.expected.top, c.expected.width, c.expected.height))
        << c.wanted.left << "," << c.wanted.top << " " << c.wanted.width << "x" << c.wanted.height;
  }
}

}  // namespace
}  // namespace qel
