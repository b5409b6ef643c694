#include "ImageFixtures.h"

#include <cmath>
#include <fstream>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace zxp::testing {

namespace {

void set32(ByteVec& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + static_cast<size_t>(i)] = static_cast<uint8_t>(x >> (8 * i));
}

void appendTo(void* ctx, void* data, int size) {
  auto* v = static_cast<ByteVec*>(ctx);
  auto* p = static_cast<uint8_t*>(data);
  v->insert(v->end(), p, p + size);
}

std::vector<uint8_t> rgba(const gfx::Surface& s) {
  std::vector<uint8_t> out;
  for (int32_t y = 0; y < s.height(); ++y)
    for (int32_t x = 0; x < s.width(); ++x) {
      const uint32_t p = s.at(x, y);
      put(out, {{p >> 16, 1}, {p >> 8, 1}, {p, 1}, {p >> 24, 1}});
    }
  return out;
}

}  // namespace

void put(ByteVec& v, std::initializer_list<std::pair<uint32_t, int>> fields) {
  for (auto [x, n] : fields)
    for (int i = 0; i < n; ++i) v.push_back(i < 4 ? static_cast<uint8_t>(x >> (8 * i)) : 0);
}

std::shared_ptr<gfx::Surface> discImage(int size, uint32_t color) {
  auto s = gfx::Surface::create(size, size);
  const double c = size / 2.0, r = size / 2.0 - 1;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      double d = std::hypot(x + 0.5 - c, y + 0.5 - c);
      double a = std::clamp(r - d + 0.5, 0.0, 1.0);
      s->at(x, y) = (static_cast<uint32_t>(std::lround(a * 255)) << 24) | (a > 0 ? color : 0);
    }
  return s;
}

gfx::IconSet discIcons(const std::vector<int>& sizes, const std::vector<uint32_t>& colors) {
  gfx::IconSet set;
  for (size_t i = 0; i < sizes.size(); ++i) {
    gfx::IconImage im;
    im.alpha = true;
    im.color = discImage(sizes[i], colors[i]);
    im.mask.resize(im.color->pixelCount());
    for (size_t k = 0; k < im.mask.size(); ++k) im.mask[k] = (im.color->bits()[k] >> 24) == 0;
    set.images.push_back(std::move(im));
  }
  return set;
}

ByteVec pngBytes(const gfx::Surface& argb) {
  ByteVec out;
  auto px = rgba(argb);
  stbi_write_png_to_func(appendTo, &out, argb.width(), argb.height(), 4, px.data(), argb.width() * 4);
  return out;
}

ByteVec jpegBytes(const gfx::Surface& argb, int quality) {
  ByteVec out;
  auto px = rgba(argb);
  stbi_write_jpg_to_func(appendTo, &out, argb.width(), argb.height(), 4, px.data(), quality);
  return out;
}

ByteVec gifBytes(int w, int h, const uint32_t palette[4], const std::vector<std::vector<uint8_t>>& frames,
                 int transparent) {
  ByteVec g = {'G', 'I', 'F', '8', '9', 'a'};
  const uint32_t w16 = static_cast<uint32_t>(w), h16 = static_cast<uint32_t>(h);
  put(g, {{w16, 2}, {h16, 2}, {0x91, 1}, {0, 2}});  // a global colour table of 4 entries
  for (int i = 0; i < 4; ++i) put(g, {{palette[i] >> 16, 1}, {palette[i] >> 8, 1}, {palette[i], 1}});
  for (const auto& frame : frames) {
    g.insert(g.end(), {0x21, 0xF9, 0x04, static_cast<uint8_t>(transparent >= 0 ? 0x09 : 0x08), 10, 0,
                       static_cast<uint8_t>(transparent >= 0 ? transparent : 0), 0});
    // The image at (0, 0), then the LZW minimum code size: 3-bit codes, clear = 4, end = 5.
    put(g, {{0x2C, 1}, {0, 4}, {w16, 2}, {h16, 2}, {0, 1}, {2, 1}});
    // A clear code before every pixel keeps the code width at 3 bits.
    ByteVec data;
    uint32_t acc = 0;
    int bits = 0;
    auto emit = [&](uint32_t code) {
      acc |= code << bits;
      bits += 3;
      while (bits >= 8) {
        data.push_back(static_cast<uint8_t>(acc));
        acc >>= 8;
        bits -= 8;
      }
    };
    for (uint8_t idx : frame) {
      emit(4);
      emit(idx);
    }
    emit(5);
    if (bits) data.push_back(static_cast<uint8_t>(acc));
    for (size_t i = 0; i < data.size(); i += 255) {
      size_t n = std::min<size_t>(255, data.size() - i);
      g.push_back(static_cast<uint8_t>(n));
      g.insert(g.end(), data.begin() + static_cast<ptrdiff_t>(i), data.begin() + static_cast<ptrdiff_t>(i + n));
    }
    g.push_back(0);
  }
  g.push_back(0x3B);
  return g;
}

ByteVec paletteIconEntry(int w, int h, int bpp, const std::vector<uint32_t>& palette,
                         const std::vector<uint8_t>& indices, const std::vector<uint8_t>& mask) {
  ByteVec b;
  const auto u = [](auto x) { return static_cast<uint32_t>(x); };
  put(b, {{40, 4}, {u(w), 4}, {u(2 * h), 4}, {1, 2}, {u(bpp), 2}, {0, 16}, {u(palette.size()), 4}, {0, 4}});
  for (uint32_t c : palette) put(b, {{c & 0xFFFFFF, 4}});  // B, G, R, 0 from 0x00RRGGBB
  // The colour rows, then the mask rows, bottom row first, each padded to 4 bytes.
  auto rows = [&](int bits, const std::vector<uint8_t>& values) {
    for (int y = h - 1; y >= 0; --y) {
      ByteVec row(static_cast<size_t>(((w * bits + 31) / 32) * 4), 0);
      for (int x = 0; x < w; ++x)
        row[static_cast<size_t>(x * bits / 8)] |=
            static_cast<uint8_t>(values[static_cast<size_t>(y * w + x)] << (8 - bits - x * bits % 8));
      b.insert(b.end(), row.begin(), row.end());
    }
  };
  rows(bpp, indices);
  rows(1, mask);
  return b;
}

ByteVec icoFile(const std::vector<ByteVec>& entries, const std::vector<std::pair<int, int>>& sizes, bool cursor,
                std::pair<int, int> hotspot) {
  ByteVec f;
  put(f, {{0, 2}, {cursor ? 2u : 1u, 2}, {static_cast<uint32_t>(entries.size()), 2}});
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    const uint32_t size = static_cast<uint32_t>(entries[i].size());
    put(f, {{static_cast<uint32_t>(sizes[i].first & 0xFF), 1}, {static_cast<uint32_t>(sizes[i].second & 0xFF), 1},
            {0, 2}, {cursor ? static_cast<uint32_t>(hotspot.first) : 1, 2},
            {cursor ? static_cast<uint32_t>(hotspot.second) : 32, 2}, {size, 4}, {offset, 4}});
    offset += size;
  }
  for (const auto& e : entries) f.insert(f.end(), e.begin(), e.end());
  return f;
}

ByteVec peFile(const std::vector<std::pair<uint16_t, gfx::IconSet>>& groups) {
  // The resources: RT_ICON images numbered from 1, and one RT_GROUP_ICON per group.
  struct Res {
    uint32_t id;
    ByteVec data;
  };
  std::vector<Res> icons, groupRes;
  uint32_t nextIcon = 1;
  for (const auto& [gid, set] : groups) {
    ByteVec dir;
    put(dir, {{0, 2}, {1, 2}, {static_cast<uint32_t>(set.images.size()), 2}});
    // Each image as the body of a one-image .ico file (its DIB).
    ByteVec ico = gfx::encodeIco(set);
    for (size_t i = 0; i < set.images.size(); ++i) {
      const size_t e = 6 + i * 16;
      uint32_t size = uint32_t{ico[e + 8]} | (uint32_t{ico[e + 9]} << 8) | (uint32_t{ico[e + 10]} << 16);
      uint32_t off = uint32_t{ico[e + 12]} | (uint32_t{ico[e + 13]} << 8) | (uint32_t{ico[e + 14]} << 16);
      icons.push_back(Res{nextIcon, ByteVec(ico.begin() + off, ico.begin() + off + size)});
      dir.insert(dir.end(), ico.begin() + static_cast<ptrdiff_t>(e), ico.begin() + static_cast<ptrdiff_t>(e + 8));
      put(dir, {{size, 4}, {nextIcon++, 2}});
    }
    groupRes.push_back(Res{gid, dir});
  }
  // Resource section layout: root, two type directories, one language directory per resource,
  // the data entries, then the data.
  const uint32_t rva = 0x1000;
  const size_t nRes = icons.size() + groupRes.size();
  const uint32_t rootSize = 16 + 2 * 8;
  const uint32_t typeIcon = rootSize;
  const uint32_t typeGroup = typeIcon + 16 + 8 * static_cast<uint32_t>(icons.size());
  const uint32_t langs = typeGroup + 16 + 8 * static_cast<uint32_t>(groupRes.size());
  const uint32_t entries = langs + static_cast<uint32_t>(nRes) * (16 + 8);
  uint32_t dataAt = entries + static_cast<uint32_t>(nRes) * 16;
  ByteVec r(dataAt, 0);
  auto dirHeader = [&](uint32_t at, uint32_t ids) { r[at + 14] = static_cast<uint8_t>(ids); r[at + 15] = static_cast<uint8_t>(ids >> 8); };
  dirHeader(0, 2);
  set32(r, 16, 3);
  set32(r, 20, 0x80000000u | typeIcon);
  set32(r, 24, 14);
  set32(r, 28, 0x80000000u | typeGroup);
  size_t k = 0;
  auto place = [&](uint32_t typeDir, const std::vector<Res>& list) {
    dirHeader(typeDir, static_cast<uint32_t>(list.size()));
    for (size_t i = 0; i < list.size(); ++i, ++k) {
      const uint32_t lang = langs + static_cast<uint32_t>(k) * 24;
      const uint32_t entry = entries + static_cast<uint32_t>(k) * 16;
      set32(r, typeDir + 16 + 8 * i, list[i].id);
      set32(r, typeDir + 20 + 8 * i, 0x80000000u | lang);
      dirHeader(lang, 1);
      set32(r, lang + 16, 0x409);
      set32(r, lang + 20, entry);
      while (r.size() % 4) r.push_back(0);
      set32(r, entry, rva + static_cast<uint32_t>(r.size()));
      set32(r, entry + 4, static_cast<uint32_t>(list[i].data.size()));
      r.insert(r.end(), list[i].data.begin(), list[i].data.end());
    }
  };
  place(typeIcon, icons);
  place(typeGroup, groupRes);
  while (r.size() % 0x200) r.push_back(0);

  // The headers: "MZ" pointing to "PE\0\0", an i386 file of one section with a 224-byte PE32
  // optional header of 16 directories, the resource directory (the third) being that section,
  // ".rsrc", at file offset 0x200.
  ByteVec f(0x200, 0);
  const uint32_t size = static_cast<uint32_t>(r.size());
  const size_t coff = 0x44, opt = coff + 20, sec = opt + 224;
  for (auto [at, x] : {std::pair<size_t, uint32_t>{0, 'M' | 'Z' << 8}, {0x3C, 0x40}, {0x40, 0x00004550},
                       {coff, 0x0001014C}, {coff + 16, 224}, {opt, 0x010B}, {opt + 92, 16}, {opt + 96 + 2 * 8, rva},
                       {opt + 96 + 2 * 8 + 4, size}, {sec, 0x7273722E}, {sec + 4, 'c'}, {sec + 8, size},
                       {sec + 12, rva}, {sec + 16, size}, {sec + 20, 0x200}})
    set32(f, at, x);
  f.insert(f.end(), r.begin(), r.end());
  return f;
}

std::string writeTemp(const std::string& name, const ByteVec& bytes) {
  auto dir = std::filesystem::temp_directory_path() / "zxp-image-tests";
  std::filesystem::create_directories(dir);
  auto path = dir / name;
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

}  // namespace zxp::testing
