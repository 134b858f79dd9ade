// Pane extents and splitter moves.
#include "search/PaneLayout.h"

#include <charconv>
#include <cmath>

namespace qel {
namespace {

// Numbers separated by commas; nothing when any of them is not a whole number.
std::vector<long> numbersOf(std::string_view text) {
  std::vector<long> numbers;
  while (!text.empty()) {
    const size_t comma = text.find(',');
    const std::string_view field = text.substr(0, comma);
    long value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size()) return {};
    numbers.push_back(value);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return numbers;
}

}  // namespace

std::vector<int> paneExtents(int count, int area, std::string_view stored) {
  std::vector<int> extents;
  if (count <= 0) return extents;
  const std::vector<long> numbers = numbersOf(stored);
  const bool usable = static_cast<int>(numbers.size()) == count + 1 && numbers[0] > 0;
  int used = 0;
  for (int i = 0; i < count; ++i) {
    int extent;
    if (usable) {
      extent = static_cast<int>(std::floor(
          static_cast<double>(numbers[i + 1]) * area / static_cast<double>(numbers[0]) + 0.5));
    } else {
      extent = static_cast<int>(std::floor((i + 1) * static_cast<double>(area) / count + 0.5)) -
               static_cast<int>(std::floor(i * static_cast<double>(area) / count + 0.5));
    }
    // The last pane takes what is left, so that rounding never leaves a strip or overflows.
    if (i == count - 1) extent = area - used;
    extent = std::max(extent, 0);
    extents.push_back(extent);
    used += extent;
  }
  return extents;
}

std::string paneExtentsText(int area, const std::vector<int>& extents) {
  std::string text = std::to_string(area);
  for (int extent : extents) text += "," + std::to_string(extent);
  return text;
}

std::vector<int> edgesOf(const std::vector<int>& extents) {
  std::vector<int> edges;
  int at = 0;
  for (int extent : extents) {
    edges.push_back(at);
    at += extent;
  }
  return edges;
}

std::vector<int> extentsOf(const std::vector<int>& edges, int area) {
  std::vector<int> extents;
  for (size_t i = 0; i < edges.size(); ++i)
    extents.push_back((i + 1 < edges.size() ? edges[i + 1] : area) - edges[i]);
  return extents;
}

std::vector<int> moveSplitter(const std::vector<int>& edges, int area, int gap, int pane,
                              int edge) {
  if (pane <= 0 || pane >= static_cast<int>(edges.size())) return edges;
  const int previous = edges[pane - 1];
  const int next = pane + 1 < static_cast<int>(edges.size()) ? edges[pane + 1] : area;
  const int keep = 10 * gap;
  const bool towardsStart = edge < edges[pane] && edge >= previous + keep;
  const bool towardsEnd = edge > edges[pane] && edge <= next - keep;
  if (!towardsStart && !towardsEnd) return edges;
  std::vector<int> moved = edges;
  moved[pane] = edge;
  return moved;
}

}  // namespace qel
