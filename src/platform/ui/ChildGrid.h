// Where the children of a window with many of them lie: a grid over their rectangles (parent
// client coordinates), each cell listing the children that reach into it by their place in the
// z-order. A damaged button on a form of hundreds, or the point under the cursor, then looks at
// the few children in its cells instead of every one. Built on first use and dropped whenever
// the tree changes (links, unlinks, destruction) or the screen is marked changed (what moves,
// shows, hides or restyles windows), so the rectangles it was built from are the current ones;
// the windows it names are still tested one by one, as without it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/ui/Window.h"

namespace zxp::ui {

// Children from this many on are found through a grid.
constexpr size_t kGridFrom = 24;

// Counts screenChanged() calls (Screen.cpp), which drop the grids.
uint64_t& screenVersion();

// The places in parent.children (ascending, so top of the z-order first) of the children whose
// rectangles may reach into [left, right) x [top, bottom) of the parent's client area: a superset
// of those that do, each once. nullopt for a parent with fewer than kGridFrom children: walk
// them all. The span lasts until the next call.
std::optional<std::span<const uint32_t>> childrenNear(const Window& parent, int64_t left, int64_t top, int64_t right,
                                                      int64_t bottom);

// Calls fn(child) for the children of `parent` that may reach into the box (all of them when it
// has few), top of the z-order first, until fn returns true; true when it did.
template <class Fn>
bool anyChildNear(const Window& parent, int64_t left, int64_t top, int64_t right, int64_t bottom, const Fn& fn) {
  if (const auto near = childrenNear(parent, left, top, right, bottom)) {
    for (const uint32_t i : *near)
      if (fn(parent.children[i])) return true;
    return false;
  }
  for (Window* c : parent.children)
    if (fn(c)) return true;
  return false;
}

}  // namespace zxp::ui
