// The property panel's model: the properties of one object, read and written through its member
// table only (late-bound get and set by name), so that an edit does exactly what the same
// assignment in code does, redraw included. The panel window (PropertyPanel.h) shows it.
//
// Each property is one row: its name, the kind of editor it takes and its current value as text.
// Kinds come from the member's value type; Long properties that hold colours (names with "Color"
// or "Colour", numbered gradient ends such as "HeaderGradient1", and the form skin's colour
// properties) are colours. A property of an enumeration shows its member's interface name (its
// number when no member has the value) and is set from the list of members, by a name typed, or
// by a number (stored as it is, as the setter does). A set that the object refuses
// (a wrong type, a value out of range) leaves the object as it was and keeps the error's text
// for the panel; nothing is thrown out of the model.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/gfx/Font.h"
#include "platform/host/MemberTable.h"

namespace zxp::appkit {

enum class ValueKind : uint8_t {
  Number,       // Integer, Long, Single, Double: edited as text, read as the host reads numbers
  Text,         // String and Date: edited as text
  Colour,       // an OLE colour: &H00BBGGRR& or #RRGGBB
  Boolean,      // toggled
  Enum,         // a member of an enumeration: chosen from its names
  Font,         // "Name, size pt[, bold][, italic][, underline][, strikethrough]"
  Picture,      // loaded from an image file by its path (the files the library reads); empty clears
  Other,        // objects, and indexed properties with no item to show: shown, not edited
  Heading,      // not a property: the title of the site's group of rows
  Custom,       // not a property: "(Custom)", which opens the class's property page
};

struct PropertyRow {
  std::string name;
  ValueKind kind = ValueKind::Other;
  bool editable = false;  // read-only members and kinds without an editor are not
  std::string value;      // the current value as text
  host::Variant raw;      // the current value as read (Empty when reading failed)
  // An item of an indexed property ("TabCaption(2)"): its index, read and set through the
  // property's indexed get and let.
  std::optional<int32_t> index;
};

class PropertyModel {
 public:
  static constexpr const char* kCustom = "(Custom)";
  // An indexed property with one index shows a row per item, from index 0 (when the property
  // answers it) or 1 up to the first index it refuses, at most this many; one that answers no
  // index shows one row "(by index)".
  static constexpr int32_t kMaxItemRows = 16;

  // Shows the properties of `object` under the caption `title` (for example "cmdOk
  // (ZorvaXPButton)"), then, under a heading row, those of its site (a control's extender: Left,
  // Top, Width, ...) that the object does not have itself; nullptr shows nothing. Both must
  // outlive the selection.
  void select(host::Dispatchable* object, std::string title = {}, host::Dispatchable* site = nullptr);
  host::Dispatchable* object() const { return object_; }
  const std::string& title() const { return title_; }

  const std::vector<PropertyRow>& rows() const { return rows_; }
  // The row of a property (by name, any case), or -1.
  int find(std::string_view name) const;
  // Puts the "(Custom)" row first (a host with a property page for the object's class opens it
  // from there); editing it as text is refused.
  void addCustomRow();
  // Reads every value again (after an edit, or when the object changed by itself).
  void refresh();

  // Sets a property from what the user typed: numbers as the host reads them, colours as
  // &H00BBGGRR& (any host number) or #RRGGBB, Booleans as True/False, fonts as the panel writes
  // them, pictures as the path of an image file (nothing typed, or "(None)", clears the picture;
  // a file that cannot be read is refused with its reason). False, with error() set,
  // when the object refuses the value or the row is not editable; true clears error().
  bool edit(size_t row, const std::string& text);
  // Sets a property to a value as it is; toggle flips a Boolean.
  bool set(size_t row, const host::Variant& value);
  bool toggle(size_t row);
  // An enumeration row's members (name and value, in declaration order; empty for other rows),
  // and setting the row to one of them.
  std::vector<std::pair<std::string, int32_t>> choices(size_t row) const;
  bool choose(size_t row, size_t choice);

  const std::string& error() const { return error_; }
  void clearError() { error_.clear(); }

  // How the panel writes a value: colours as &H00BBGGRR&, Booleans True/False, fonts as
  // "Name, size pt[, bold][, italic]", an enumeration's value as its member's name.
  static std::string format(const host::Variant& v, ValueKind kind, const host::EnumType* names = nullptr);
  // Reads a font as format() writes it ("Tahoma, 12 pt, bold"; the size alone may stand without
  // "pt"); nullopt when the name is empty or the size is not a positive number.
  static std::optional<gfx::FontDesc> parseFont(std::string_view text);
  // Reads #RRGGBB as an OLE colour; nullopt for anything else.
  static std::optional<uint32_t> parseHtmlColour(std::string_view text);

 private:
  const host::Member* member(size_t row) const;
  bool fail(const std::string& why);

  host::Dispatchable* object_ = nullptr;
  std::string title_;
  std::vector<PropertyRow> rows_;
  // Beside rows_: each row's member and the object it belongs to (null for the heading).
  std::vector<const host::Member*> members_;
  std::vector<host::Dispatchable*> owners_;
  std::string error_;
};

// Whether a Long property of this name holds a colour.
bool isColourProperty(std::string_view name);

}  // namespace zxp::appkit
