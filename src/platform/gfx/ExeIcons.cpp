// Icons inside PE executables and libraries: the resource tree's icon groups (RT_GROUP_ICON)
// and the icon images they list (RT_ICON). Every offset is checked against the file.
#include <algorithm>
#include <vector>

#include "platform/gfx/ImageFiles.h"

namespace zxp::gfx {

namespace {

constexpr uint32_t kRtIcon = 3;
constexpr uint32_t kRtGroupIcon = 14;

struct Section {
  uint32_t va = 0;
  uint32_t size = 0;
  uint32_t raw = 0;
  uint32_t rawSize = 0;
};

class PeFile {
 public:
  explicit PeFile(Bytes d) : d_(d) {}

  bool parse(std::string& error) {
    if (!has(0, 0x40) || d_[0] != 'M' || d_[1] != 'Z') return error = "not an executable", false;
    const uint32_t pe = u32(0x3C);
    if (!has(pe, 24) || u32(pe) != 0x00004550) return error = "not a PE executable", false;
    const uint16_t sections = u16(pe + 6);
    const uint16_t optSize = u16(pe + 20);
    const size_t opt = size_t{pe} + 24;
    if (!has(opt, optSize) || optSize < 2) return error = "PE optional header truncated", false;
    const uint16_t magic = u16(opt);
    size_t countOff, dirsOff;
    if (magic == 0x10B) {
      countOff = 92;
      dirsOff = 96;
    } else if (magic == 0x20B) {
      countOff = 108;
      dirsOff = 112;
    } else {
      return error = "unknown PE optional header", false;
    }
    if (optSize < dirsOff + 3 * 8) return error = "executable without resources", false;
    if (u32(opt + countOff) < 3) return error = "executable without resources", false;
    const uint32_t rsrcRva = u32(opt + dirsOff + 2 * 8);
    if (rsrcRva == 0) return error = "executable without resources", false;
    const size_t table = opt + optSize;
    if (!has(table, size_t{sections} * 40)) return error = "PE section table truncated", false;
    for (size_t i = 0; i < sections; ++i) {
      const size_t s = table + i * 40;
      sections_.push_back(Section{u32(s + 12), u32(s + 8), u32(s + 20), u32(s + 16)});
    }
    auto off = rvaToOffset(rsrcRva, 16);
    if (!off) return error = "resource directory outside the file", false;
    rsrc_ = *off;
    return true;
  }

  // File offset of `size` bytes at a relative virtual address, if they lie inside one section
  // and inside the file.
  std::optional<size_t> rvaToOffset(uint32_t rva, uint32_t size) const {
    for (const auto& s : sections_) {
      const uint64_t extent = std::max(s.size, s.rawSize);
      if (rva >= s.va && uint64_t{rva} - s.va + size <= extent) {
        const uint64_t off = uint64_t{s.raw} + (rva - s.va);
        if (uint64_t{rva} - s.va + size > s.rawSize) return std::nullopt;  // not backed by file data
        if (has(off, size)) return static_cast<size_t>(off);
        return std::nullopt;
      }
    }
    return std::nullopt;
  }

  struct Entry {
    uint32_t id = 0;
    bool named = false;
    uint32_t target = 0;  // offset from the resource section's start
    bool dir = false;
  };

  // The entries of the directory at `dirOff` (relative to the resource section).
  bool entries(uint32_t dirOff, std::vector<Entry>& out) const {
    const uint64_t at = uint64_t{rsrc_} + dirOff;
    if (!has(at, 16)) return false;
    const size_t n = size_t{u16(static_cast<size_t>(at) + 12)} + u16(static_cast<size_t>(at) + 14);
    if (!has(at + 16, n * 8)) return false;
    out.clear();
    for (size_t i = 0; i < n; ++i) {
      const size_t e = static_cast<size_t>(at) + 16 + i * 8;
      const uint32_t name = u32(e), data = u32(e + 4);
      out.push_back(Entry{name & 0x7FFFFFFF, (name & 0x80000000u) != 0, data & 0x7FFFFFFF, (data & 0x80000000u) != 0});
    }
    return true;
  }

  // The data of a resource: the first language of the entry's subdirectory.
  std::optional<Bytes> data(const Entry& nameEntry) const {
    if (!nameEntry.dir) return std::nullopt;
    std::vector<Entry> langs;
    if (!entries(nameEntry.target, langs) || langs.empty() || langs[0].dir) return std::nullopt;
    const uint64_t at = uint64_t{rsrc_} + langs[0].target;
    if (!has(at, 16)) return std::nullopt;
    const uint32_t rva = u32(static_cast<size_t>(at)), size = u32(static_cast<size_t>(at) + 4);
    auto off = rvaToOffset(rva, size);
    if (!off || size == 0) return std::nullopt;
    return d_.subspan(*off, size);
  }

  // The name entries of one resource type.
  bool typeEntries(uint32_t type, std::vector<Entry>& out) const {
    std::vector<Entry> types;
    if (!entries(0, types)) return false;
    for (const auto& t : types)
      if (!t.named && t.id == type && t.dir) return entries(t.target, out);
    out.clear();
    return true;
  }

 private:
  bool has(uint64_t off, uint64_t n) const { return off <= d_.size() && n <= d_.size() - off; }
  uint16_t u16(size_t o) const { return static_cast<uint16_t>(d_[o] | (d_[o + 1] << 8)); }
  uint32_t u32(size_t o) const {
    return uint32_t{d_[o]} | (uint32_t{d_[o + 1]} << 8) | (uint32_t{d_[o + 2]} << 16) | (uint32_t{d_[o + 3]} << 24);
  }

  Bytes d_;
  std::vector<Section> sections_;
  size_t rsrc_ = 0;
};

}  // namespace

std::optional<size_t> countExeIcons(Bytes file, std::string& error) {
  PeFile pe(file);
  if (!pe.parse(error)) return std::nullopt;
  std::vector<PeFile::Entry> groups;
  if (!pe.typeEntries(kRtGroupIcon, groups)) return error = "resource directory truncated", std::nullopt;
  return groups.size();
}

std::optional<IconSet> decodeExeIcon(Bytes file, int64_t index, std::string& error) {
  PeFile pe(file);
  if (!pe.parse(error)) return std::nullopt;
  std::vector<PeFile::Entry> groups, icons;
  if (!pe.typeEntries(kRtGroupIcon, groups) || !pe.typeEntries(kRtIcon, icons))
    return error = "resource directory truncated", std::nullopt;
  const PeFile::Entry* group = nullptr;
  if (index >= 0) {
    if (static_cast<uint64_t>(index) < groups.size()) group = &groups[static_cast<size_t>(index)];
  } else {
    for (const auto& g : groups)
      if (!g.named && g.id == static_cast<uint64_t>(-index)) group = &g;
  }
  if (!group) return error = "no such icon", std::nullopt;
  auto dir = pe.data(*group);
  if (!dir || dir->size() < 6) return error = "icon group truncated", std::nullopt;
  const Bytes g = *dir;
  const size_t count = size_t{g[4]} | (size_t{g[5]} << 8);
  if (count == 0 || g.size() < 6 + count * 14) return error = "icon group truncated", std::nullopt;
  IconSet set;
  int64_t budget = kMaxPicturePixels;
  for (size_t i = 0; i < count && i < 64; ++i) {
    const size_t e = 6 + i * 14;
    const uint32_t id = uint32_t{g[e + 12]} | (uint32_t{g[e + 13]} << 8);
    const PeFile::Entry* icon = nullptr;
    for (const auto& ic : icons)
      if (!ic.named && ic.id == id) icon = &ic;
    if (!icon) return error = "icon group names a missing icon", std::nullopt;
    auto bytes = pe.data(*icon);
    if (!bytes) return error = "icon data outside the file", std::nullopt;
    auto img = decodeIconImage(*bytes, error);
    if (!img) return std::nullopt;
    budget -= int64_t{img->width()} * img->height();
    if (budget < 0) return error = "icon group too large", std::nullopt;
    set.images.push_back(std::move(*img));
  }
  return set;
}

}  // namespace zxp::gfx
