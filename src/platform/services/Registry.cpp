#include "platform/services/Registry.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "platform/host/FormFile.h"
#include "platform/host/NoCase.h"
#include "platform/services/FileIo.h"

namespace zxp::services {

namespace {

constexpr std::string_view kHeader = "ZorvaXP Registry 1";
constexpr uint64_t kMaxFileBytes = 64u << 20;

std::string quote(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    if (c == '\n') {
      out += "\\n";
      continue;
    }
    out += c;
  }
  return out + "\"";
}

// Reads a quoted string at s[i]; false when unterminated.
bool unquote(std::string_view s, size_t& i, std::string& out) {
  if (i >= s.size() || s[i] != '"') return false;
  out.clear();
  for (++i; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      ++i;
      return true;
    }
    if (c == '\\') {
      if (++i >= s.size()) return false;
      c = s[i] == 'n' ? '\n' : s[i];
    }
    out += c;
  }
  return false;
}

// Hexadecimal digits and nothing else (no sign, no "0x", no spaces), at most eight.
std::optional<uint32_t> hexDigits(std::string_view s) {
  if (s.empty() || s.size() > 8) return std::nullopt;
  uint32_t n = 0;
  for (char c : s) {
    uint32_t d;
    if (c >= '0' && c <= '9') d = static_cast<uint32_t>(c - '0');
    else if (c >= 'a' && c <= 'f') d = static_cast<uint32_t>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F') d = static_cast<uint32_t>(c - 'A' + 10);
    else return std::nullopt;
    n = n << 4 | d;
  }
  return n;
}

// A number as the file writes it: exactly eight hexadecimal digits, so that every number in the
// file reads one way only.
std::optional<uint32_t> dwordDigits(std::string_view s) {
  if (s.size() != 8) return std::nullopt;
  return hexDigits(s);
}

}  // namespace

#ifndef _WIN32
// Linux has no platform registry: a store is always a file (system_ is only ever set on Windows),
// so these are never reached.
namespace systemregistry {
namespace {
[[noreturn]] void none() { throw std::logic_error("this system has no platform registry"); }
}  // namespace
bool apply(const Registry::Change&, std::string*) { none(); }
bool read(std::string_view, std::string_view, RegistryValue&) { none(); }
bool hasKey(std::string_view) { none(); }
std::vector<std::string> subkeys(std::string_view) { none(); }
std::vector<std::string> valueNames(std::string_view) { none(); }
}  // namespace systemregistry
#endif

Registry::Registry(std::string path) : path_(std::move(path)) {
#ifdef _WIN32
  system_ = path_ == kSystemRegistry;
#endif
}

std::string Registry::defaultPath() {
  if (const char* p = std::getenv("ZORVAXP_REGISTRY"); p && *p) return p;
#ifdef _WIN32
  return std::string(kSystemRegistry);
#endif
  std::string base;
  if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) base = x;
  else if (const char* h = std::getenv("HOME"); h && *h) base = std::string(h) + "/.config";
  else base = ".";
  return base + "/zorvaxp/registry.reg";
}

std::string Registry::normalise(std::string_view key) {
  while (!key.empty() && key.front() == '\\') key.remove_prefix(1);
  while (!key.empty() && key.back() == '\\') key.remove_suffix(1);
  return host::lowerKey(key);
}

Registry::Key& Registry::ensure(std::string_view key) {
  while (!key.empty() && key.front() == '\\') key.remove_prefix(1);
  while (!key.empty() && key.back() == '\\') key.remove_suffix(1);
  // Every key above exists too.
  for (size_t at = key.find('\\'); at != std::string_view::npos; at = key.find('\\', at + 1)) {
    const std::string lower = normalise(key.substr(0, at));
    if (!keys_.count(lower)) keys_[lower].path = std::string(key.substr(0, at));
  }
  Key& k = keys_[normalise(key)];
  if (k.path.empty()) k.path = std::string(key);
  return k;
}

void Registry::createKey(std::string_view key) {
  ensure(key);
  if (system_) changes_.push_back({Change::Kind::CreateKey, std::string(key), {}, {}});
}

void Registry::setString(std::string_view key, std::string_view name, std::string_view value) {
  RegistryValue v;
  v.type = kRegSz;
  v.text = std::string(value);
  if (system_) changes_.push_back({Change::Kind::SetValue, std::string(key), std::string(name), v});
  ensure(key).values[host::lowerKey(name)] = {std::string(name), std::move(v)};
}

void Registry::setDword(std::string_view key, std::string_view name, uint32_t value) {
  RegistryValue v;
  v.type = kRegDword;
  v.number = value;
  if (system_) changes_.push_back({Change::Kind::SetValue, std::string(key), std::string(name), v});
  ensure(key).values[host::lowerKey(name)] = {std::string(name), std::move(v)};
}

bool Registry::deleteTree(std::string_view key) {
  const std::string k = normalise(key);
  if (k.empty()) return false;
  bool existed = false;
  if (system_) {
    existed = systemregistry::hasKey(key);
    changes_.push_back({Change::Kind::DeleteTree, std::string(key), {}, {}});
  }
  auto it = keys_.find(k);
  if (it == keys_.end()) return existed;
  const std::string below = k + "\\";
  it = keys_.erase(it);
  while (it != keys_.end() && it->first.compare(0, below.size(), below) == 0) it = keys_.erase(it);
  return true;
}

bool Registry::hasKey(std::string_view key) const {
  return keys_.count(normalise(key)) != 0 || (system_ && systemregistry::hasKey(key));
}

const RegistryValue* Registry::value(std::string_view key, std::string_view name) const {
  if (auto it = keys_.find(normalise(key)); it != keys_.end()) {
    auto v = it->second.values.find(host::lowerKey(name));
    if (v != it->second.values.end()) return &v->second.second;
  }
  if (!system_) return nullptr;
  // Read through to the platform's registry, kept in this object once read.
  RegistryValue v;
  if (!systemregistry::read(key, name, v)) return nullptr;
  auto& slot = const_cast<Registry&>(*this).ensure(key).values[host::lowerKey(name)];
  slot = {std::string(name), std::move(v)};
  return &slot.second;
}

std::vector<std::string> Registry::valueNames(std::string_view key) const {
  if (system_) return systemregistry::valueNames(key);
  std::vector<std::string> out;
  auto it = keys_.find(normalise(key));
  if (it == keys_.end()) return out;
  for (const auto& [lower, v] : it->second.values) out.push_back(v.first);  // "" sorts first
  return out;
}

std::vector<std::string> Registry::subkeys(std::string_view key) const {
  if (system_) return systemregistry::subkeys(key);
  const std::string k = normalise(key);
  const std::string prefix = k.empty() ? "" : k + "\\";
  std::vector<std::string> out;
  for (auto it = keys_.lower_bound(prefix); it != keys_.end(); ++it) {
    if (it->first.compare(0, prefix.size(), prefix) != 0) break;
    const std::string_view rest = std::string_view(it->first).substr(prefix.size());
    if (rest.empty() || rest.find('\\') != std::string_view::npos) continue;
    out.push_back(it->second.path.substr(it->second.path.size() - rest.size()));
  }
  return out;
}

std::vector<std::string> Registry::keys() const {
  std::vector<std::string> out;
  for (const auto& [lower, k] : keys_) out.push_back(k.path);
  return out;
}

std::string Registry::text(std::string_view below) const {
  std::string out = std::string(kHeader) + "\n";
  const std::string top = normalise(below);
  for (const auto& [lower, k] : keys_) {
    if (!top.empty() && lower != top && lower.compare(0, top.size() + 1, top + "\\") != 0) continue;
    out += "\n[" + k.path + "]\n";
    for (const auto& [lowerName, nv] : k.values) {
      out += nv.first.empty() ? "@" : quote(nv.first);
      out += '=';
      if (nv.second.type == kRegDword) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", nv.second.number);
        out += buf;
      } else {
        out += quote(nv.second.text);
      }
      out += '\n';
    }
  }
  return out;
}

bool Registry::parse(std::string_view text, std::string* error) {
  keys_.clear();
  auto fail = [&](int line, const std::string& why) {
    keys_.clear();
    if (error) *error = "line " + std::to_string(line) + ": " + why;
    return false;
  };
  int lineNo = 0;
  std::string current;
  bool haveKey = false;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (lineNo == 1) {
      if (line != kHeader) return fail(1, "not a registry file (expected \"" + std::string(kHeader) + "\")");
      continue;
    }
    if (line.empty() || line.front() == ';') {
      if (end == text.size()) break;
      continue;
    }
    if (line.front() == '[') {
      if (line.size() < 3 || line.back() != ']') return fail(lineNo, "a key line must be [path]");
      current = std::string(line.substr(1, line.size() - 2));
      ensure(current);
      haveKey = true;
    } else {
      if (!haveKey) return fail(lineNo, "a value before any key");
      std::string name;
      size_t i = 0;
      if (line.front() == '@') {
        i = 1;
      } else if (!unquote(line, i, name)) {
        return fail(lineNo, "a value name must be @ or quoted");
      }
      if (i >= line.size() || line[i] != '=') return fail(lineNo, "expected = after the value name");
      ++i;
      const std::string_view rest = line.substr(i);
      if (rest.substr(0, 6) == "dword:") {
        const std::optional<uint32_t> n = dwordDigits(rest.substr(6));
        if (!n)
          return fail(lineNo, "bad dword value '" + host::excerpt(rest.substr(6)) +
                                  "' (expected dword: and eight hexadecimal digits, as 0000002a)");
        setDword(current, name, *n);
      } else {
        std::string value;
        if (!unquote(line, i, value) || i != line.size()) return fail(lineNo, "bad string value");
        setString(current, name, value);
      }
    }
    if (end == text.size()) break;
  }
  if (lineNo == 0) return fail(1, "empty file");
  return true;
}

bool Registry::load(std::string* error) {
  if (system_) {  // nothing to read ahead: values are read when asked for
    keys_.clear();
    changes_.clear();
    return true;
  }
  std::error_code ec;
  if (!std::filesystem::exists(path_, ec)) {
    keys_.clear();
    return true;
  }
  std::vector<uint8_t> bytes;
  const FileOutcome r = readRegularFile(path_, kMaxFileBytes, bytes);
  if (!r) {
    if (error) *error = path_ + ": " + r.reason;
    return false;
  }
  std::string why;
  if (!parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), &why)) {
    if (error) *error = path_ + ": " + why;
    return false;
  }
  return true;
}

bool Registry::save(std::string* error) const {
  if (system_) {
    auto& self = const_cast<Registry&>(*this);
    for (const Change& c : changes_)
      if (!systemregistry::apply(c, error)) return false;
    self.changes_.clear();
    return true;
  }
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  const FileOutcome r = writeFileAtomically(path_, text());
  if (!r) {
    if (error) *error = path_ + ": " + r.reason;
    return false;
  }
  return true;
}

bool parseClassId(std::string_view t, uint32_t& data1, uint16_t& data2, uint16_t& data3, uint8_t* data4) {
  if (t.size() == 38 && t.front() == '{' && t.back() == '}') t = t.substr(1, 36);
  if (t.size() != 36) return false;
  uint8_t bytes[16];
  size_t n = 0;
  for (size_t i = 0; i < t.size();) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (t[i++] != '-') return false;
      continue;
    }
    const std::optional<uint32_t> byte = hexDigits(t.substr(i, 2));
    if (!byte) return false;
    bytes[n++] = static_cast<uint8_t>(*byte);
    i += 2;
  }
  data1 = uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
  data2 = static_cast<uint16_t>(bytes[4] << 8 | bytes[5]);
  data3 = static_cast<uint16_t>(bytes[6] << 8 | bytes[7]);
  std::memcpy(data4, bytes + 8, 8);
  return true;
}

}  // namespace zxp::services
