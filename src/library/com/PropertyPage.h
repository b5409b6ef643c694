// The library's property pages (pPageLabel, pPageStatusBar, ...), as hosts' designers use them:
// IPropertyPage over the member tables. Each page edits controls of one class. SetObjects takes
// the selected controls (the library's own objects of that class); the page lists the writable
// plain-valued properties of their member table (text, numbers, Booleans, dates: what a line of
// text can hold) with each one's value as text. Activate opens the page's window inside the
// host's frame, one labelled edit field per property; editing a field makes the page dirty and
// tells the page site. Apply writes every changed value to every selected object through
// IDispatch (a property put by dispatch identifier, the text converted to the property's type),
// then reads the values back as the objects keep them.
#pragma once

#include <string_view>

#include "library/TypeLibrary.h"
#include "zorvaxp/zorvaxp_com.h"

namespace zxp::library::com {

// The control class a page edits, empty for a row that is not a page.
std::string_view pageControl(const TypeLibraryEntry& page);
// The page that edits a control class, nullptr when it has none.
const TypeLibraryEntry* pageFor(std::string_view controlClass);

// A new page object (AddRef'd once) for a page row; nullptr for any other row or without memory.
IPropertyPage* createPropertyPage(const TypeLibraryEntry& page);

}  // namespace zxp::library::com
