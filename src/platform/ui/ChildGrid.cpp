// The grid over the children of a window with many of them (ChildGrid.h).
#include "platform/ui/ChildGrid.h"

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

namespace zxp::ui {

namespace {

struct ChildGrid {
  Rect bounds;             // the union of the children's rectangles (empty ones as points)
  int64_t cellW = 1, cellH = 1;
  int cols = 0, rows = 0;
  std::vector<uint32_t> start;  // cell i's entries: items[start[i] .. start[i + 1])
  std::vector<uint32_t> items;  // places in the z-order, ascending within a cell
};

constexpr int kMaxGridSide = 32;

// The grid cells a rectangle reaches into (inclusive), with empty rectangles taking the cell of
// their top-left corner: such a window is still listed where the plain walk would meet it.
struct CellSpan {
  int x0, y0, x1, y1;
};
CellSpan cellsOf(const ChildGrid& g, int64_t left, int64_t top, int64_t right, int64_t bottom) {
  auto col = [&](int64_t x) { return static_cast<int>(std::clamp<int64_t>((x - g.bounds.left) / g.cellW, 0, g.cols - 1)); };
  auto row = [&](int64_t y) { return static_cast<int>(std::clamp<int64_t>((y - g.bounds.top) / g.cellH, 0, g.rows - 1)); };
  const int x0 = col(left), y0 = row(top);
  return CellSpan{x0, y0, std::max(x0, col(right - 1)), std::max(y0, row(bottom - 1))};
}

void buildGrid(ChildGrid& g, const std::vector<Window*>& windows) {
  int64_t l = INT64_MAX, t = INT64_MAX, r = INT64_MIN, b = INT64_MIN, sumW = 0, sumH = 0;
  for (const Window* c : windows) {
    l = std::min<int64_t>(l, c->rect.left);
    t = std::min<int64_t>(t, c->rect.top);
    r = std::max<int64_t>(r, std::max(c->rect.right, c->rect.left + 1));
    b = std::max<int64_t>(b, std::max(c->rect.bottom, c->rect.top + 1));
    sumW += std::max(1, c->rect.width());
    sumH += std::max(1, c->rect.height());
  }
  g.bounds = Rect{static_cast<int32_t>(l), static_cast<int32_t>(t), static_cast<int32_t>(r), static_cast<int32_t>(b)};
  const int64_t n = static_cast<int64_t>(windows.size());
  // Cells about the size of an average child, at most kMaxGridSide a side.
  g.cellW = std::max<int64_t>({1, sumW / n, (r - l + kMaxGridSide - 1) / kMaxGridSide});
  g.cellH = std::max<int64_t>({1, sumH / n, (b - t + kMaxGridSide - 1) / kMaxGridSide});
  g.cols = static_cast<int>((r - l + g.cellW - 1) / g.cellW);
  g.rows = static_cast<int>((b - t + g.cellH - 1) / g.cellH);
  const size_t cells = static_cast<size_t>(g.cols) * static_cast<size_t>(g.rows);
  g.start.assign(cells + 1, 0);
  auto forCells = [&](const Window* c, auto&& fn) {
    const CellSpan s = cellsOf(g, c->rect.left, c->rect.top, c->rect.right, c->rect.bottom);
    for (int y = s.y0; y <= s.y1; ++y)
      for (int x = s.x0; x <= s.x1; ++x) fn(static_cast<size_t>(y) * static_cast<size_t>(g.cols) + static_cast<size_t>(x));
  };
  for (const Window* c : windows) forCells(c, [&](size_t cell) { ++g.start[cell + 1]; });
  for (size_t i = 0; i < cells; ++i) g.start[i + 1] += g.start[i];
  g.items.resize(g.start[cells]);
  std::vector<uint32_t> fill(g.start.begin(), g.start.end() - 1);
  for (size_t i = 0; i < windows.size(); ++i)
    forCells(windows[i], [&](size_t cell) { g.items[fill[cell]++] = static_cast<uint32_t>(i); });
}

struct GridCache {
  uint64_t treeVersion = 0, screenVersion = 0;
  std::vector<std::pair<const Window*, ChildGrid>> grids;  // few: windows with many children
  std::vector<uint32_t> scratch;  // the entries of a box over several cells
};

GridCache& gridCache() {
  static GridCache c;
  return c;
}


const ChildGrid& gridOf(const Window& parent) {
  GridCache& cache = gridCache();
  if (cache.treeVersion != treeVersion() || cache.screenVersion != screenVersion()) {
    cache.grids.clear();
    cache.treeVersion = treeVersion();
    cache.screenVersion = screenVersion();
  }
  for (auto& [w, g] : cache.grids)
    if (w == &parent) return g;
  cache.grids.emplace_back(&parent, ChildGrid{});
  buildGrid(cache.grids.back().second, parent.children);
  return cache.grids.back().second;
}

}  // namespace

uint64_t& screenVersion() {
  static uint64_t v = 0;
  return v;
}

std::optional<std::span<const uint32_t>> childrenNear(const Window& parent, int64_t left, int64_t top, int64_t right,
                                                      int64_t bottom) {
  if (parent.children.size() < kGridFrom) return std::nullopt;
  const ChildGrid& g = gridOf(parent);
  if (left >= g.bounds.right || top >= g.bounds.bottom || right <= g.bounds.left || bottom <= g.bounds.top)
    return std::span<const uint32_t>{};
  const CellSpan s = cellsOf(g, left, top, right, bottom);
  const auto cell = [&](int x, int y) { return static_cast<size_t>(y) * static_cast<size_t>(g.cols) + static_cast<size_t>(x); };
  if (s.x0 == s.x1 && s.y0 == s.y1) {
    const size_t c = cell(s.x0, s.y0);
    return std::span<const uint32_t>(g.items.data() + g.start[c], g.start[c + 1] - g.start[c]);
  }
  // Several cells: their entries in z-order, once each.
  std::vector<uint32_t>& scratch = gridCache().scratch;
  scratch.clear();
  for (int y = s.y0; y <= s.y1; ++y)
    for (int x = s.x0; x <= s.x1; ++x)
      scratch.insert(scratch.end(), g.items.begin() + g.start[cell(x, y)], g.items.begin() + g.start[cell(x, y) + 1]);
  std::sort(scratch.begin(), scratch.end());
  scratch.erase(std::unique(scratch.begin(), scratch.end()), scratch.end());
  return std::span<const uint32_t>(scratch);
}

}  // namespace zxp::ui
