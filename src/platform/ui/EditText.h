// The characters of an edit field. While every character is at most U+00FF they are kept one
// byte each (their code points: Latin-1), from the first character past it on four bytes each.
// Most texts never leave the narrow form, and a text of megabytes then takes a quarter of the
// memory and is read from UTF-8 ASCII with one copy. The form only grows: a field that once held
// a wide character stays wide until it is given a new text.
//
// EditTextView reads either form (or a std::u32string_view) by index, for the line layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zxp::ui {

class EditTextView {
 public:
  EditTextView() = default;
  EditTextView(std::u32string_view wide) : wide_(wide.data()), size_(wide.size()) {}
  EditTextView(const std::u32string& wide) : EditTextView(std::u32string_view(wide)) {}
  EditTextView(std::string_view latin1) : narrow_(latin1.data()), size_(latin1.size()) {}
  size_t size() const { return size_; }
  char32_t operator[](size_t i) const {
    return wide_ ? wide_[i] : static_cast<char32_t>(static_cast<unsigned char>(narrow_[i]));
  }
  // The characters themselves, for loops over many of them: exactly one is non-null (or both
  // null for an empty view).
  const char32_t* wide() const { return wide_; }
  const unsigned char* narrow() const { return reinterpret_cast<const unsigned char*>(narrow_); }

 private:
  const char32_t* wide_ = nullptr;
  const char* narrow_ = nullptr;
  size_t size_ = 0;
};

class EditText {
 public:
  EditText() = default;
  explicit EditText(std::u32string_view s) { assign(s); }

  size_t size() const { return wide_ ? w_.size() : n_.size(); }
  bool empty() const { return size() == 0; }
  bool wide() const { return wide_; }
  char32_t operator[](size_t i) const {
    return wide_ ? w_[i] : static_cast<char32_t>(static_cast<unsigned char>(n_[i]));
  }
  operator EditTextView() const { return wide_ ? EditTextView(std::u32string_view(w_)) : EditTextView(std::string_view(n_)); }

  // The text decoded from UTF-8 (a malformed subsequence becomes U+FFFD, as everywhere).
  void assignUtf8(std::string_view utf8);
  void assign(std::u32string_view s);
  void replace(size_t pos, size_t count, std::u32string_view s);
  std::u32string substr(size_t pos, size_t count) const;
  // [pos, pos + count) as UTF-8.
  std::string utf8(size_t pos, size_t count) const;
  // The length of the whole text in UTF-8 bytes.
  size_t utf8Size() const;
  // Encodes whole characters from the start into buf while they fit in `room` bytes; returns
  // the bytes written.
  size_t copyUtf8(char* buf, size_t room) const;
  bool operator==(const EditText& o) const;

 private:
  void widen();

  bool wide_ = false;
  std::string n_;     // narrow: code points 0..255, one byte each
  std::u32string w_;  // wide
};

}  // namespace zxp::ui
