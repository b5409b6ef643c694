#include "platform/ui/EditText.h"

#include <algorithm>
#include <cstring>

#include "platform/base/CodePage.h"

namespace zxp::ui {

void EditText::widen() {
  if (wide_) return;
  w_.assign(n_.size(), U'\0');
  std::transform(n_.begin(), n_.end(), w_.begin(), [](char c) { return static_cast<char32_t>(static_cast<unsigned char>(c)); });
  std::string().swap(n_);
  wide_ = true;
}

void EditText::assignUtf8(std::string_view s) {
  wide_ = false;
  std::u32string().swap(w_);
  // The ASCII start is copied as it stands: for most texts that is the whole text.
  const auto ascii = std::find_if(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  n_.assign(s.begin(), ascii);
  s.remove_prefix(static_cast<size_t>(ascii - s.begin()));
  while (!s.empty()) {
    size_t len = 1;
    const auto b = static_cast<unsigned char>(s.front());
    const char32_t c = b < 0x80 ? b : zxp::decodeUtf8(s, len);
    s.remove_prefix(len);
    if (!wide_ && c > 0xFF) {
      widen();
      w_.reserve(w_.size() + s.size() + 1);
    }
    if (wide_) w_.push_back(c);
    else n_.push_back(static_cast<char>(c));
  }
}

void EditText::assign(std::u32string_view s) {
  if (std::all_of(s.begin(), s.end(), [](char32_t c) { return c <= 0xFF; })) {
    wide_ = false;
    std::u32string().swap(w_);
    n_.resize(s.size());
    std::transform(s.begin(), s.end(), n_.begin(), [](char32_t c) { return static_cast<char>(c); });
  } else {
    wide_ = true;
    std::string().swap(n_);
    w_.assign(s);
  }
}

void EditText::replace(size_t pos, size_t count, std::u32string_view s) {
  if (!wide_ && std::any_of(s.begin(), s.end(), [](char32_t c) { return c > 0xFF; })) widen();
  if (wide_) {
    w_.replace(pos, count, s);
    return;
  }
  std::string bytes(s.size(), '\0');
  std::transform(s.begin(), s.end(), bytes.begin(), [](char32_t c) { return static_cast<char>(c); });
  n_.replace(pos, count, bytes);
}

std::u32string EditText::substr(size_t pos, size_t count) const {
  if (wide_) return w_.substr(pos, count);
  const std::string_view part = std::string_view(n_).substr(pos, count);
  std::u32string out(part.size(), U'\0');
  std::transform(part.begin(), part.end(), out.begin(), [](char c) { return static_cast<char32_t>(static_cast<unsigned char>(c)); });
  return out;
}

std::string EditText::utf8(size_t pos, size_t count) const {
  pos = std::min(pos, size());
  count = std::min(count, size() - pos);
  std::string out;
  out.reserve(count);
  char bytes[4];
  for (size_t i = pos; i < pos + count; ++i) {
    const char32_t c = (*this)[i];
    if (c < 0x80) out.push_back(static_cast<char>(c));
    else out.append(bytes, encodeUtf8(c, bytes));
  }
  return out;
}

size_t EditText::utf8Size() const {
  if (wide_) {
    size_t n = 0;
    for (char32_t c : w_) n += zxp::utf8Size(c);
    return n;
  }
  return n_.size() + static_cast<size_t>(std::count_if(n_.begin(), n_.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
}

size_t EditText::copyUtf8(char* buf, size_t room) const {
  size_t n = 0;
  const size_t count = size();
  for (size_t i = 0; i < count; ++i) {
    const char32_t c = (*this)[i];
    if (c < 0x80 && n < room) {
      buf[n++] = static_cast<char>(c);
      continue;
    }
    char bytes[4];
    const size_t len = encodeUtf8(c, bytes);
    if (n + len > room) break;
    std::memcpy(buf + n, bytes, len);
    n += len;
  }
  return n;
}

bool EditText::operator==(const EditText& o) const {
  if (wide_ == o.wide_) return wide_ ? w_ == o.w_ : n_ == o.n_;
  if (size() != o.size()) return false;
  for (size_t i = 0; i < size(); ++i)
    if ((*this)[i] != o[i]) return false;
  return true;
}

}  // namespace zxp::ui
