// Where the results panes go: each pane's extent along the pane area, from the stored proportions
// or in equal shares, and which splitter moves are allowed. Plain arithmetic, so that it can be
// tested without a window.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qel {

// Extents of `count` panes in an area of `area` pixels: from `stored` ("total,e1,...,eN", the
// area's extent when stored, then each pane's extent) scaled to the area, or equal shares when the
// text is missing or does not describe `count` panes. The extents add up to the area.
std::vector<int> paneExtents(int count, int area, std::string_view stored);

// The text that stores `extents` for an area of `area` pixels.
std::string paneExtentsText(int area, const std::vector<int>& extents);

// A splitter before pane `pane` (1..N-1) dragged so that the pane would start at `edge`: the new
// edges (each pane's start) when the move keeps 10 x gap from the previous pane's start and from
// the next pane's start (or the area's end), else the edges unchanged.
std::vector<int> moveSplitter(const std::vector<int>& edges, int area, int gap, int pane, int edge);

// Pane starts from extents and back.
std::vector<int> edgesOf(const std::vector<int>& extents);
std::vector<int> extentsOf(const std::vector<int>& edges, int area);

}  // namespace qel
