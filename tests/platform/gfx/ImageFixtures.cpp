#include "ImageFixtures.h"

#include <cmath>
#include <fstream>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace zxp::testing {

namespace {

void put16(ByteVec& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
void put32(ByteVec& v, uint32_t x) {
  put16(v, x & 0xFFFF);
  put16(v, x >> 16);
}
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
      uint32_t p = s.at(x, y);
      out.push_back(static_cast<uint8_t>(p >> 16));
      out.push_back(static_cast<uint8_t>(p >> 8));
      out.push_back(static_cast<uint8_t>(p));
      out.push_back(static_cast<uint8_t>(p >> 24));
    }
  return out;
}

}  // namespace

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
  put16(g, static_cast<uint32_t>(w));
  put16(g, static_cast<uint32_t>(h));
  g.push_back(0x91);  // global colour table of 4 entries
  g.push_back(0);
  g.push_back(0);
  for (int i = 0; i < 4; ++i) {
    g.push_back(static_cast<uint8_t>(palette[i] >> 16));
    g.push_back(static_cast<uint8_t>(palette[i] >> 8));
    g.push_back(static_cast<uint8_t>(palette[i]));
  }
  for (const auto& frame : frames) {
    g.insert(g.end(), {0x21, 0xF9, 0x04, static_cast<uint8_t>(transparent >= 0 ? 0x09 : 0x08), 10, 0,
                       static_cast<uint8_t>(transparent >= 0 ? transparent : 0), 0});
    g.push_back(0x2C);
    put16(g, 0);
    put16(g, 0);
    put16(g, static_cast<uint32_t>(w));
    put16(g, static_cast<uint32_t>(h));
    g.push_back(0);
    g.push_back(2);  // LZW minimum code size: 3-bit codes, clear = 4, end = 5
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
  put32(b, 40);
  put32(b, static_cast<uint32_t>(w));
  put32(b, static_cast<uint32_t>(2 * h));
  put16(b, 1);
  put16(b, static_cast<uint32_t>(bpp));
  put32(b, 0);
  put32(b, 0);
  put32(b, 0);
  put32(b, 0);
  put32(b, static_cast<uint32_t>(palette.size()));
  put32(b, 0);
  for (uint32_t c : palette) put32(b, c & 0xFFFFFF);  // B, G, R, 0 from 0x00RRGGBB
  const int stride = ((w * bpp + 31) / 32) * 4;
  for (int y = h - 1; y >= 0; --y) {
    ByteVec row(static_cast<size_t>(stride), 0);
    for (int x = 0; x < w; ++x) {
      uint8_t i = indices[static_cast<size_t>(y * w + x)];
      int bit = x * bpp;
      row[static_cast<size_t>(bit / 8)] |= static_cast<uint8_t>(i << (8 - bpp - bit % 8));
    }
    b.insert(b.end(), row.begin(), row.end());
  }
  const int mstride = ((w + 31) / 32) * 4;
  for (int y = h - 1; y >= 0; --y) {
    ByteVec row(static_cast<size_t>(mstride), 0);
    for (int x = 0; x < w; ++x)
      if (mask[static_cast<size_t>(y * w + x)]) row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
    b.insert(b.end(), row.begin(), row.end());
  }
  return b;
}

ByteVec icoFile(const std::vector<ByteVec>& entries, const std::vector<std::pair<int, int>>& sizes, bool cursor,
                std::pair<int, int> hotspot) {
  ByteVec f;
  put16(f, 0);
  put16(f, cursor ? 2 : 1);
  put16(f, static_cast<uint32_t>(entries.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    f.push_back(static_cast<uint8_t>(sizes[i].first & 0xFF));
    f.push_back(static_cast<uint8_t>(sizes[i].second & 0xFF));
    f.push_back(0);
    f.push_back(0);
    put16(f, cursor ? static_cast<uint32_t>(hotspot.first) : 1);
    put16(f, cursor ? static_cast<uint32_t>(hotspot.second) : 32);
    put32(f, static_cast<uint32_t>(entries[i].size()));
    put32(f, offset);
    offset += static_cast<uint32_t>(entries[i].size());
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
    put16(dir, 0);
    put16(dir, 1);
    put16(dir, static_cast<uint32_t>(set.images.size()));
    // Each image as the body of a one-image .ico file (its DIB).
    ByteVec ico = gfx::encodeIco(set);
    for (size_t i = 0; i < set.images.size(); ++i) {
      const size_t e = 6 + i * 16;
      uint32_t size = uint32_t{ico[e + 8]} | (uint32_t{ico[e + 9]} << 8) | (uint32_t{ico[e + 10]} << 16);
      uint32_t off = uint32_t{ico[e + 12]} | (uint32_t{ico[e + 13]} << 8) | (uint32_t{ico[e + 14]} << 16);
      icons.push_back(Res{nextIcon, ByteVec(ico.begin() + off, ico.begin() + off + size)});
      dir.insert(dir.end(), ico.begin() + static_cast<ptrdiff_t>(e), ico.begin() + static_cast<ptrdiff_t>(e + 8));
      put32(dir, size);
      put16(dir, nextIcon++);
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

  ByteVec f(0x200, 0);
  f[0] = 'M';
  f[1] = 'Z';
  set32(f, 0x3C, 0x40);
  set32(f, 0x40, 0x00004550);  // "PE\0\0"
  const size_t coff = 0x44;
  f[coff] = 0x4C;
  f[coff + 1] = 0x01;  // i386
  f[coff + 2] = 1;     // one section
  f[coff + 16] = 224;  // optional header size
  const size_t opt = coff + 20;
  f[opt] = 0x0B;
  f[opt + 1] = 0x01;  // PE32
  set32(f, opt + 92, 16);
  set32(f, opt + 96 + 2 * 8, rva);
  set32(f, opt + 96 + 2 * 8 + 4, static_cast<uint32_t>(r.size()));
  const size_t sec = opt + 224;
  const char name[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
  for (int i = 0; i < 8; ++i) f[sec + static_cast<size_t>(i)] = static_cast<uint8_t>(name[i]);
  set32(f, sec + 8, static_cast<uint32_t>(r.size()));
  set32(f, sec + 12, rva);
  set32(f, sec + 16, static_cast<uint32_t>(r.size()));
  set32(f, sec + 20, 0x200);
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
