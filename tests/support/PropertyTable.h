// A table of property values set by name, as late-bound code sets them, and the order of keys a
// control writes for them: one table states both what is set and the order it is saved in.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/host/Form.h"
#include "platform/host/Variant.h"

namespace zxp::testing {

// A property name and the value to give it.
using PropertyRow = std::pair<std::string, host::Variant>;

// Lets every row on the form's control, in the table's order.
inline void letAll(host::Form& form, const std::string& control, const std::vector<PropertyRow>& rows) {
  for (const auto& [key, value] : rows) form.let(control, key, value);
}

// The table's keys in order, with keys the table does not set (the font, pictures) put in before
// the key they precede: `also` pairs a key with the table key it comes before ("" for the end).
inline std::vector<std::string> keysOf(const std::vector<PropertyRow>& rows,
                                       const std::vector<std::pair<std::string, std::string>>& also = {}) {
  std::vector<std::string> keys;
  auto insertBefore = [&](const std::string& key) {
    for (const auto& [extra, before] : also)
      if (before == key) keys.push_back(extra);
  };
  for (const auto& row : rows) {
    insertBefore(row.first);
    keys.push_back(row.first);
  }
  insertBefore("");
  return keys;
}

}  // namespace zxp::testing
