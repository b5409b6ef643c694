#include "PropertyModel.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "formskin/ZorvaForm.h"
#include "platform/base/HostError.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Picture.h"
#include "platform/host/NoCase.h"

namespace zxp::appkit {

namespace {

bool containsNoCase(std::string_view text, std::string_view part) {
  if (part.size() > text.size()) return false;
  for (size_t i = 0; i + part.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < part.size() && std::tolower(static_cast<unsigned char>(text[i + k])) ==
                                  std::tolower(static_cast<unsigned char>(part[k])))
      ++k;
    if (k == part.size()) return true;
  }
  return false;
}

// A property's editor; an indexed property's items (one row per index) take the editor of the
// item's type.
ValueKind kindOf(const host::Member& m, bool item = false) {
  using K = host::Variant::Kind;
  if (m.indexed() && (!item || m.argCount != 1)) return ValueKind::Other;
  if (m.enumType) return ValueKind::Enum;
  switch (m.type) {
    case K::Boolean: return ValueKind::Boolean;
    case K::Long: return isColourProperty(m.name) ? ValueKind::Colour : ValueKind::Number;
    case K::Integer:
    case K::Single:
    case K::Double: return ValueKind::Number;
    case K::String:
    case K::Date: return ValueKind::Text;
    case K::Font: return ValueKind::Font;
    case K::Picture: return ValueKind::Picture;
    default: return ValueKind::Other;
  }
}

bool hasEditor(ValueKind k) {
  return k == ValueKind::Number || k == ValueKind::Text || k == ValueKind::Colour || k == ValueKind::Boolean ||
         k == ValueKind::Enum || k == ValueKind::Font || k == ValueKind::Picture;
}

std::string errorText(const std::exception& e) {
  if (const auto* h = dynamic_cast<const HostError*>(&e)) {
    std::string d = h->description().empty() ? hostErrorText(h->number()) : h->description();
    return "Error " + std::to_string(h->number()) + ": " + d;
  }
  return e.what();
}

std::string trimmed(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return std::string(s);
}

}  // namespace

bool isColourProperty(std::string_view name) {
  if (containsNoCase(name, "Color") || containsNoCase(name, "Colour")) return true;
  // The numbered ends of a gradient (HeaderGradient1, StatusGradient2) are colours too.
  if (containsNoCase(name, "Gradient") && !name.empty() && std::isdigit(static_cast<unsigned char>(name.back())))
    return true;
  // The form skin names its colour properties after the part they paint.
  for (size_t i = 0; i < formskin::kColourCount; ++i)
    if (host::equalsNoCase(name, formskin::ZorvaForm::colourName(static_cast<formskin::Colour>(i)))) return true;
  return false;
}

void PropertyModel::select(host::Dispatchable* object, std::string title, host::Dispatchable* site) {
  object_ = object;
  title_ = std::move(title);
  rows_.clear();
  members_.clear();
  owners_.clear();
  error_.clear();
  if (!object_) return;
  auto add = [this](host::Dispatchable* owner, const host::Member& m) {
    // An indexed property with one index: a row per item that answers, from index 0 or 1 on.
    if (m.indexed() && m.argCount == 1 && hasEditor(kindOf(m, true))) {
      const ValueKind kind = kindOf(m, true);
      auto answers = [&](int32_t i) {
        try {
          m.getAt(*owner, {host::Variant(i)});
          return true;
        } catch (const std::exception&) {
          return false;
        }
      };
      const int32_t first = answers(0) ? 0 : 1;
      for (int32_t i = first; i < first + kMaxItemRows && answers(i); ++i) {
        PropertyRow row;
        row.name = m.name + "(" + std::to_string(i) + ")";
        row.kind = kind;
        row.index = i;
        row.editable = static_cast<bool>(m.letAt) && hasEditor(kind);
        rows_.push_back(std::move(row));
        members_.push_back(&m);
        owners_.push_back(owner);
      }
      if (answers(first)) return;
    }
    PropertyRow row;
    row.name = m.name;
    row.kind = kindOf(m);
    row.editable = !m.readOnly() && hasEditor(row.kind) && !m.indexed();
    rows_.push_back(std::move(row));
    members_.push_back(&m);
    owners_.push_back(owner);
  };
  for (const host::Member& m : object_->memberTable().members())
    if (m.kind == host::MemberKind::Property) add(object_, m);
  if (site) {
    PropertyRow heading;
    heading.name = "Placed on the form";
    heading.kind = ValueKind::Heading;
    rows_.push_back(std::move(heading));
    members_.push_back(nullptr);
    owners_.push_back(nullptr);
    for (const host::Member& m : site->memberTable().members())
      if (m.kind == host::MemberKind::Property && !object_->memberTable().find(m.name)) add(site, m);
  }
  refresh();
}

int PropertyModel::find(std::string_view name) const {
  for (size_t i = 0; i < rows_.size(); ++i)
    if (host::equalsNoCase(rows_[i].name, name)) return static_cast<int>(i);
  return -1;
}

void PropertyModel::addCustomRow() {
  if (!object_ || (!rows_.empty() && rows_.front().kind == ValueKind::Custom)) return;
  PropertyRow row;
  row.name = kCustom;
  row.kind = ValueKind::Custom;
  row.editable = true;
  row.value = "...";
  rows_.insert(rows_.begin(), std::move(row));
  members_.insert(members_.begin(), nullptr);
  owners_.insert(owners_.begin(), nullptr);
}

const host::Member* PropertyModel::member(size_t row) const {
  return row < members_.size() ? members_[row] : nullptr;
}

void PropertyModel::refresh() {
  for (size_t i = 0; i < rows_.size(); ++i) {
    PropertyRow& row = rows_[i];
    if (!members_[i]) continue;  // the heading
    const host::Member& m = *members_[i];
    if (row.index) {
      try {
        row.raw = m.getAt(*owners_[i], {host::Variant(*row.index)});
        row.value = format(row.raw, row.kind, m.enumType);
      } catch (const std::exception& e) {
        row.raw = host::Variant();
        row.value = "(" + errorText(e) + ")";
      }
      continue;
    }
    if (m.indexed()) {
      row.raw = host::Variant();
      row.value = "(by index)";
      continue;
    }
    if (!m.get) {
      row.raw = host::Variant();
      row.value = "(write-only)";
      continue;
    }
    try {
      row.raw = m.get(*owners_[i]);
      row.value = format(row.raw, row.kind, m.enumType);
    } catch (const std::exception& e) {
      // A property that cannot be read here says why, in place of its value.
      row.raw = host::Variant();
      row.value = "(" + errorText(e) + ")";
    }
  }
}

bool PropertyModel::fail(const std::string& why) {
  error_ = why;
  return false;
}

bool PropertyModel::set(size_t row, const host::Variant& value) {
  const host::Member* m = member(row);
  if (!m || !object_) return fail(row < rows_.size() ? rows_[row].name + " is not a property" : "No such property");
  if (!rows_[row].editable) return fail(rows_[row].name + " cannot be changed here");
  try {
    if (rows_[row].index) host::letIndexedProperty(*owners_[row], m->name, host::Variant(*rows_[row].index), value);
    else host::letProperty(*owners_[row], m->name, value);
  } catch (const std::exception& e) {
    refresh();
    return fail(rows_[row].name + ": " + errorText(e));
  }
  error_.clear();
  refresh();
  return true;
}

std::vector<std::pair<std::string, int32_t>> PropertyModel::choices(size_t row) const {
  const host::Member* m = member(row);
  if (!m || !m->enumType || row >= rows_.size() || rows_[row].kind != ValueKind::Enum) return {};
  return m->enumType->members;
}

bool PropertyModel::choose(size_t row, size_t choice) {
  const auto all = choices(row);
  if (choice >= all.size()) return fail("No such choice");
  return set(row, host::Variant(all[choice].second));
}

bool PropertyModel::toggle(size_t row) {
  if (row >= rows_.size() || rows_[row].kind != ValueKind::Boolean) return fail("Not a Boolean");
  return set(row, host::Variant(!rows_[row].raw.toBool()));
}

bool PropertyModel::edit(size_t row, const std::string& typed) {
  if (row >= rows_.size()) return fail("No such property");
  if (rows_[row].kind == ValueKind::Custom) return fail("(Custom) opens the control's property page");
  const std::string text = trimmed(typed);
  switch (rows_[row].kind) {
    case ValueKind::Colour:
      if (auto c = parseHtmlColour(text)) return set(row, host::Variant(static_cast<int32_t>(*c)));
      return set(row, host::Variant(text));
    case ValueKind::Text:
      return set(row, host::Variant(typed));  // text keeps its spaces
    case ValueKind::Font: {
      const std::optional<gfx::FontDesc> f = parseFont(text);
      if (!f) return fail("A font is written as: name, size pt[, bold][, italic]");
      return set(row, host::Variant(std::make_shared<const gfx::FontDesc>(*f)));
    }
    case ValueKind::Picture: {
      if (text == "(Picture)") return true;  // the field left as it showed
      if (text.empty() || text == "(None)") return set(row, host::Variant(gfx::Picture()));
      gfx::PictureLoad load = gfx::loadPictureFile(text);
      if (!load.ok()) return fail("Cannot load " + text + ": " + load.error);
      return set(row, host::Variant(load.picture));
    }
    case ValueKind::Enum: {
      // A member's name (any case) stands for its value; anything else goes as typed.
      const auto all = choices(row);
      for (size_t i = 0; i < all.size(); ++i)
        if (host::equalsNoCase(all[i].first, text)) return choose(row, i);
      return set(row, host::Variant(text));
    }
    default:
      // Numbers and Booleans go as text: the host's own coercion reads them (and refuses what
      // is not one with its error).
      return set(row, host::Variant(text));
  }
}

std::string PropertyModel::format(const host::Variant& v, ValueKind kind, const host::EnumType* names) {
  try {
    switch (kind) {
      case ValueKind::Enum: {
        const std::string_view name = names ? names->nameOf(v.toLong()) : std::string_view();
        return name.empty() ? v.toString() : std::string(name);
      }
      case ValueKind::Boolean: return v.toBool() ? "True" : "False";
      case ValueKind::Colour: {
        char buf[16];
        std::snprintf(buf, sizeof buf, "&H%08X&", static_cast<uint32_t>(v.toLong()));
        return buf;
      }
      case ValueKind::Font: {
        host::FontRef f = v.toFont();
        if (!f) return "(None)";
        char size[32];
        std::snprintf(size, sizeof size, "%g", f->size);
        return f->name + ", " + size + " pt" + (f->bold() ? ", bold" : "") + (f->italic ? ", italic" : "") +
               (f->underline ? ", underline" : "") + (f->strikethrough ? ", strikethrough" : "");
      }
      case ValueKind::Picture: return v.isNothing() ? "(None)" : "(Picture)";
      default:
        if (v.kind() == host::Variant::Kind::Object) return v.isNothing() ? "(Nothing)" : "(Object)";
        return v.toString();
    }
  } catch (const std::exception&) {
    return "(" + v.typeName() + ")";
  }
}

std::optional<gfx::FontDesc> PropertyModel::parseFont(std::string_view text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    parts.push_back(trimmed(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (parts.size() < 2 || parts[0].empty()) return std::nullopt;
  gfx::FontDesc f;
  f.name = parts[0];
  std::string size = parts[1];
  if (size.size() > 2 && host::equalsNoCase(std::string_view(size).substr(size.size() - 2), "pt")) size = trimmed(size.substr(0, size.size() - 2));
  char* end = nullptr;
  const double points = std::strtod(size.c_str(), &end);
  if (size.empty() || !end || *end || !(points > 0) || points > 2048) return std::nullopt;
  f.size = points;
  for (size_t i = 2; i < parts.size(); ++i) {
    const std::string& a = parts[i];
    if (host::equalsNoCase(a, "bold")) f.setBold(true);
    else if (host::equalsNoCase(a, "italic")) f.italic = true;
    else if (host::equalsNoCase(a, "underline")) f.underline = true;
    else if (host::equalsNoCase(a, "strikethrough")) f.strikethrough = true;
    else return std::nullopt;
  }
  return f;
}

std::optional<uint32_t> PropertyModel::parseHtmlColour(std::string_view text) {
  if (text.size() != 7 || text[0] != '#') return std::nullopt;
  uint32_t rgb = 0;
  for (char c : text.substr(1)) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    rgb = rgb << 4 | static_cast<uint32_t>(std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                                                                                       : std::tolower(c) - 'a' + 10);
  }
  // #RRGGBB is red first; an OLE colour keeps blue in its high byte.
  return (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
}

}  // namespace zxp::appkit
