// The library's property pages (pPageLabel, pPageStatusBar, ...), as hosts' designers use them:
// IPropertyPage over the member tables. Each page edits controls of one class. SetObjects takes
// the selected controls (the library's own objects of that class); the page lists the writable
// plain-valued properties of their member table (text, numbers, Booleans, dates: what a line of
// text can hold) with each one's value as text. Activate opens the page's window inside the
// host's frame, one labelled edit field per property; editing a field makes the page dirty and
// tells the page site. Apply writes every changed value to every selected object through
// IDispatch (a property put by dispatch identifier, the text converted to the property's type),
// then reads the values back as the objects keep them.
//
// Pages whose class holds a collection (images, panels, tabs, buttons, columns) list it below
// the plain fields: one row of fields per item (the values its indexed properties hold), a Remove
// link per item and an add field with its Add link. Adding and removing change the page's list;
// Apply makes the same changes through the control's own members (its remove method, last index
// first, then its add method with the new item's first text, then the indexed puts), so the page
// does nothing a program could not do. The page's window scrolls (wheel, Page Up and Down, a click
// in the track at its right edge) when its fields are taller than it.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "platform/gfx/Types.h"

#include "library/TypeLibrary.h"
#include "zorvaxp/zorvaxp_com.h"

namespace zxp::library::com {

// The control class a page edits, empty for a row that is not a page.
std::string_view pageControl(const TypeLibraryEntry& page);
// The page that edits a control class, nullptr when it has none.
const TypeLibraryEntry* pageFor(std::string_view controlClass);

// A new page object (AddRef'd once) for a page row; nullptr for any other row or without memory.
IPropertyPage* createPropertyPage(const TypeLibraryEntry& page);

// A place on an active page's window, for hosts that drive it as a user would: a plain
// property's field (collection -1, item: its row), or in a collection (0, 1, ... in the page's
// order) an item's field (item, column) or the add field (item == the number of items).
struct PageSpot {
  int collection = -1;
  size_t item = 0;
  size_t column = 0;
};
// The edit field at a place (0 when there is none or the window is no page's).
HWND pageField(HWND pageWindow, const PageSpot& spot);
// The field of a plain property by its name (0 when the page shows none).
HWND pagePropertyField(HWND pageWindow, std::string_view property);
// Where a collection's link is, in the window's client pixels: an item's Remove, or the Add
// link (item == the number of items).
std::optional<Point> pageLink(HWND pageWindow, const PageSpot& spot);
// How far the page is scrolled down, in pixels; and how many items a collection lists now.
int pageScroll(HWND pageWindow);
size_t pageItems(HWND pageWindow, int collection);

}  // namespace zxp::library::com
