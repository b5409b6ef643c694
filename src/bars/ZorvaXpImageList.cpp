#include "bars/ZorvaXpImageList.h"

#include <algorithm>

#include "foundation/clsFileSystemObj.h"
#include "platform/base/HostError.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/Text.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/host/runtime/Text.h"
#include "platform/ui/User.h"

namespace zxp::bars {

using foundation::Redraw;

namespace {

std::string trimmed(const std::string& key) { return std::string(host::Trim(key)); }

bool isBitmap(HGDIOBJ h) { return h != 0 && GetObjectType(h) == OBJ_BITMAP; }

bool isDC(HDC dc) {
  const DWORD t = dc ? GetObjectType(dc) : 0;
  return t == OBJ_DC || t == OBJ_MEMDC;
}

// An icon file: the name ends in ".ico" or ".cur" (case ignored).
bool iconFileName(const std::string& path) {
  if (path.size() < 4) return false;
  const std::string ext = host::LCase(path.substr(path.size() - 4));
  return ext == ".ico" || ext == ".cur";
}

}  // namespace

ZorvaXpImageList::ZorvaXpImageList() : ControlBase("tmrHover") {}

void ZorvaXpImageList::UserControl_Initialize() {
  picTemp.create(hWnd(), Rect{0, 0, size(), size()});
  picTemp.setVisible(false);
}

void ZorvaXpImageList::UserControl_Terminate() { picTemp.destroy(); }

// ---- Properties ---------------------------------------------------------------------------------

void ZorvaXpImageList::setIconSize(bars::IconSize v) {
  letProperty(m_IconSize, v, "IconSize", Redraw::None);
  // Our choice: the stored pictures follow the new size at once, as a reload would make them,
  // so that a saved list loads back as it was.
  for (host::PictureRef& p : pictures_) p = normalised(std::move(p));
}

host::PictureRef ZorvaXpImageList::normalised(host::PictureRef p) {
  if (p.empty() || (p.Type() == vbPicTypeBitmap && p.width() == size() && p.height() == size())) return p;
  prepareTemp();
  return drawPicture(p) ? takeTemp() : host::PictureRef();
}
void ZorvaXpImageList::setUseMaskColor(bool v) { letProperty(m_UseMaskColor, v, "UseMaskColor", Redraw::None); }
void ZorvaXpImageList::setMaskColor(OLE_COLOR v) { letProperty(m_MaskColor, v, "MaskColor", Redraw::None); }

host::PictureRef ZorvaXpImageList::ListImage(int32_t Index) const {
  if (Index < 1 || Index > ImageCount()) throw HostError(errSubscriptOutOfRange);
  return pictures_[static_cast<size_t>(Index - 1)];
}

void ZorvaXpImageList::setListImage(int32_t Index, host::PictureRef v) {
  if (Index < 1 || Index > ImageCount()) throw HostError(errSubscriptOutOfRange);
  prepareTemp();
  if (!drawPicture(v)) throw HostError(errInvalidPropertyValue);
  pictures_[static_cast<size_t>(Index - 1)] = takeTemp();
  PropertyChanged("ListImage");
}

std::string ZorvaXpImageList::Key(int32_t Index) const {
  if (Index < 1 || Index > ImageCount()) throw HostError(errSubscriptOutOfRange);
  return keys_[static_cast<size_t>(Index - 1)];
}

void ZorvaXpImageList::setKey(int32_t Index, const std::string& v) {
  if (Index < 1 || Index > ImageCount()) throw HostError(errSubscriptOutOfRange);
  const std::string k = trimmed(v);
  if (!keyAllowed(k, Index)) throw HostError(457, "This key is already associated with an element of this collection");
  keys_[static_cast<size_t>(Index - 1)] = k;
  PropertyChanged("Key");
}

// ---- Normalising through picTemp ----------------------------------------------------------------

HDC ZorvaXpImageList::prepareTemp() {
  picTemp.Move(0, 0, size(), size());
  picTemp.setBackColor(m_MaskColor);  // clears
  return picTemp.hDC();
}

host::PictureRef ZorvaXpImageList::takeTemp() const {
  const HDC dc = picTemp.hDC();
  MemoryDC mem(dc);
  GdiObject bitmap(CreateCompatibleBitmap(dc, size(), size()));
  if (!mem || !bitmap) return {};
  {
    Selection s(mem.get(), bitmap.get());
    if (!s.ok() || !BitBlt(mem.get(), 0, 0, size(), size(), dc, 0, 0, SRCCOPY)) return {};
  }
  return gfx::Picture::fromBitmap(static_cast<HBITMAP>(bitmap.release()));
}

bool ZorvaXpImageList::drawPicture(const host::PictureRef& picture) {
  const HDC dc = picTemp.hDC();
  const int32_t n = size();
  if (picture.Type() == vbPicTypeIcon)
    return DrawIconEx(dc, 0, 0, static_cast<HICON>(picture.Handle()), n, n, 0, 0, DI_NORMAL) != FALSE;
  if (picture.Type() != vbPicTypeBitmap) return false;
  MemoryDC mem(dc);
  Selection s(mem.get(), picture.Handle());
  if (!s.ok()) return false;
  if (picture.hasAlpha()) {
    BLENDFUNCTION bf;
    bf.AlphaFormat = AC_SRC_ALPHA;
    return AlphaBlend(dc, 0, 0, n, n, mem.get(), 0, 0, picture.width(), picture.height(), bf) != FALSE;
  }
  const int old = SetStretchBltMode(dc, COLORONCOLOR);
  const bool ok = StretchBlt(dc, 0, 0, n, n, mem.get(), 0, 0, picture.width(), picture.height(), SRCCOPY) != FALSE;
  SetStretchBltMode(dc, old);
  return ok;
}

bool ZorvaXpImageList::keyAllowed(const std::string& k, int32_t except) const {
  if (k.empty()) return true;
  for (size_t i = 0; i < keys_.size(); ++i)
    if (static_cast<int32_t>(i) + 1 != except && keys_[i] == k) return false;
  return true;
}

bool ZorvaXpImageList::append(host::PictureRef picture, const std::string& key) {
  const std::string k = trimmed(key);
  if (picture.empty() || !picture.Handle() || !keyAllowed(k)) return false;
  pictures_.push_back(std::move(picture));
  keys_.push_back(k);
  RedrawMe();
  return true;
}

// ---- Adding -------------------------------------------------------------------------------------

bool ZorvaXpImageList::AddNewIconFromHandel(int32_t hIcon, const std::string& strKey) {
  if (!keyAllowed(trimmed(strKey))) return false;
  const HDC dc = prepareTemp();
  const int32_t n = size();
  if (!DrawIconEx(dc, 0, 0, static_cast<HICON>(hIcon), n, n, 0, 0, DI_NORMAL)) return false;
  return append(takeTemp(), strKey);
}

bool ZorvaXpImageList::AddImageFromHandel(int32_t hImage, const std::string& strKey) {
  const HBITMAP bitmap = static_cast<HBITMAP>(hImage);
  if (!isBitmap(bitmap) || !keyAllowed(trimmed(strKey))) return false;
  BITMAP info{};
  if (!GetObject(bitmap, sizeof(info), &info)) return false;
  const HDC dc = prepareTemp();
  MemoryDC mem(dc);
  Selection s(mem.get(), bitmap);
  if (!s.ok()) return false;
  const int old = SetStretchBltMode(dc, COLORONCOLOR);
  const BOOL ok = StretchBlt(dc, 0, 0, size(), size(), mem.get(), 0, 0, info.bmWidth, std::abs(info.bmHeight), SRCCOPY);
  SetStretchBltMode(dc, old);
  return ok && append(takeTemp(), strKey);
}

bool ZorvaXpImageList::AddImageFromDC(int32_t hdc, int32_t srcWidth, int32_t srcHeight, const std::string& strKey) {
  const HDC src = static_cast<HDC>(hdc);
  if (!isDC(src) || srcWidth <= 0 || srcHeight <= 0 || !keyAllowed(trimmed(strKey))) return false;
  const HDC dc = prepareTemp();
  const int old = SetStretchBltMode(dc, COLORONCOLOR);
  const BOOL ok = StretchBlt(dc, 0, 0, size(), size(), src, 0, 0, srcWidth, srcHeight, SRCCOPY);
  SetStretchBltMode(dc, old);
  return ok && append(takeTemp(), strKey);
}

bool ZorvaXpImageList::AddIconFromEXEorDLL(const std::string& strEXEorDLLPath, int32_t hIconIndex,
                                           const std::string& strKey) {
  if (hIconIndex < 0) return false;
  const HICON icon = ExtractIconA(0, strEXEorDLLPath.c_str(), static_cast<UINT>(hIconIndex));
  if (!icon) return false;
  const bool added = AddNewIconFromHandel(static_cast<int32_t>(icon), strKey);
  DestroyIcon(icon);
  return added;
}

bool ZorvaXpImageList::AddAllIconsFromEXEorDLL(const std::string& strEXEorDLLPath) {
  const int32_t count = getIconCountOfEXEorDLL(strEXEorDLLPath);
  bool any = false;
  for (int32_t i = 0; i < count; ++i) any = AddIconFromEXEorDLL(strEXEorDLLPath, i, "") || any;
  return any;
}

bool ZorvaXpImageList::addFile(const std::string& path, const std::string& key) {
  if (!keyAllowed(trimmed(key))) return false;
  const int32_t n = size();
  if (iconFileName(path) || isIconFile(path)) {
    // The platform extracts the icon; ExtractIcon answers 1 for a file without icons.
    const HICON icon = ExtractIconA(0, path.c_str(), 0);
    if (icon > 1) {
      const bool added = AddNewIconFromHandel(static_cast<int32_t>(icon), key);
      DestroyIcon(icon);
      return added;
    }
  }
  // Any other picture file, loaded by the platform's checked loaders; a damaged one adds nothing.
  gfx::PictureLoad load = gfx::loadPictureFile(path, Size{n, n});
  if (!load.ok() || load.picture.empty()) return false;
  prepareTemp();
  if (!drawPicture(load.picture)) return false;
  return append(takeTemp(), key);
}

bool ZorvaXpImageList::AddImageFromFile(const std::string& lpstrFilePath, const std::string& strKey) {
  if (lpstrFilePath.empty()) return false;
  bool any = false;
  size_t start = 0;
  while (start <= lpstrFilePath.size()) {
    const size_t bar = lpstrFilePath.find('|', start);
    const std::string one = lpstrFilePath.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
    if (!one.empty()) any = addFile(one, strKey) || any;
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return any;
}

bool ZorvaXpImageList::AddIconsFromFolder(const std::string& lpStrFolderPath) {
  const clsFileSystemObj fso;
  const std::string names = fso.FindFiles(lpStrFolderPath, "*.ico");
  if (names.empty()) return false;
  std::string folder = lpStrFolderPath;
  if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
  bool any = false;
  size_t start = 0;
  while (start <= names.size()) {
    const size_t bar = names.find('|', start);
    const std::string name = names.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
    if (!name.empty() && name != "." && name != "..") any = addFile(folder + name, "") || any;
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return any;
}

// ---- Queries and removal ------------------------------------------------------------------------

int32_t ZorvaXpImageList::getIconCountOfEXEorDLL(const std::string& strEXEorDLLPath) const {
  return static_cast<int32_t>(ExtractIconA(0, strEXEorDLLPath.c_str(), 0xFFFFFFFFu));
}

bool ZorvaXpImageList::isIconFile(const std::string& lpstrFilePath) const {
  const HICON icon = ExtractIconA(0, lpstrFilePath.c_str(), 0);
  if (icon <= 1) return false;
  DestroyIcon(icon);
  return true;
}

int32_t ZorvaXpImageList::getPictureIndex(const std::string& strKey) const {
  const std::string k = trimmed(strKey);
  for (size_t i = 0; i < keys_.size(); ++i)
    if (keys_[i] == k) return static_cast<int32_t>(i) + 1;
  return 0;
}

host::PictureRef ZorvaXpImageList::getPictureByKey(const std::string& strKey) const {
  const int32_t i = getPictureIndex(strKey);
  return i > 0 ? pictures_[static_cast<size_t>(i - 1)] : host::PictureRef();
}

bool ZorvaXpImageList::RemoveItem(int32_t Index) {
  if (Index < 1 || Index > ImageCount()) return false;
  if (ImageCount() == 1) {
    ClearAll();
    return false;
  }
  pictures_.erase(pictures_.begin() + (Index - 1));
  keys_.erase(keys_.begin() + (Index - 1));
  RedrawMe();
  return false;
}

void ZorvaXpImageList::ClearAll() {
  pictures_.clear();
  keys_.clear();
  RedrawMe();
}

// ---- Drawing ------------------------------------------------------------------------------------

bool ZorvaXpImageList::blit(const host::PictureRef& picture, HDC dc, int32_t x, int32_t y, bool masked) const {
  if (!isDC(dc) || !isBitmap(picture.Handle())) return false;
  MemoryDC mem(dc);
  Selection s(mem.get(), picture.Handle());
  if (!s.ok()) return false;
  const int32_t n = size();
  if (masked)
    return TransparentBlt(dc, x, y, n, n, mem.get(), 0, 0, n, n, static_cast<UINT>(m_MaskColor & 0xFFFFFF)) != FALSE;
  return BitBlt(dc, x, y, n, n, mem.get(), 0, 0, SRCCOPY) != FALSE;
}

bool ZorvaXpImageList::DrawImageByIndex(int32_t Index, int32_t hdc, int32_t XOrg, int32_t YOrg) const {
  if (Index < 1 || Index > ImageCount()) return false;
  return blit(pictures_[static_cast<size_t>(Index - 1)], static_cast<HDC>(hdc), XOrg, YOrg, false);
}

bool ZorvaXpImageList::DrawImageByKey(const std::string& strKey, int32_t hdc, int32_t XOrg, int32_t YOrg) const {
  return DrawImageByIndex(getPictureIndex(strKey), hdc, XOrg, YOrg);
}

bool ZorvaXpImageList::MaskIcon(int32_t hdc, int32_t hIcon, int32_t XOrg, int32_t YOrg) const {
  const HBITMAP bitmap = static_cast<HBITMAP>(hIcon);
  if (!isBitmap(bitmap) || !isDC(static_cast<HDC>(hdc))) return false;
  const HDC dc = static_cast<HDC>(hdc);
  MemoryDC mem(dc);
  Selection s(mem.get(), bitmap);
  if (!s.ok()) return false;
  const int32_t n = size();
  return TransparentBlt(dc, XOrg, YOrg, n, n, mem.get(), 0, 0, n, n, static_cast<UINT>(m_MaskColor & 0xFFFFFF)) !=
         FALSE;
}

bool ZorvaXpImageList::DrawIconWithMask(int32_t Index, int32_t hdc, int32_t XOrg, int32_t YOrg) const {
  if (Index < 1 || Index > ImageCount() || !m_UseMaskColor) return false;
  return MaskIcon(hdc, static_cast<int32_t>(pictures_[static_cast<size_t>(Index - 1)].Handle()), XOrg, YOrg);
}

namespace {
template <class T>
T orDefault(const host::Variant& v, T fallback) {
  return v.isEmpty() ? fallback : host::variantAs<T>(v);
}
}  // namespace

bool ZorvaXpImageList::AddImageFromDCByName(const host::Variant& hdc, const host::Variant& srcWidth,
                                            const host::Variant& srcHeight, const host::Variant& strKey) {
  return AddImageFromDC(orDefault(hdc, int32_t{65535}), orDefault(srcWidth, int32_t{16}),
                        orDefault(srcHeight, int32_t{16}), orDefault(strKey, std::string()));
}

bool ZorvaXpImageList::DrawImageByIndexByName(const host::Variant& Index, const host::Variant& hdc,
                                              const host::Variant& XOrg, const host::Variant& YOrg) const {
  return DrawImageByIndex(orDefault(Index, int32_t{1}), orDefault(hdc, int32_t{65535}), orDefault(XOrg, int32_t{0}),
                          orDefault(YOrg, int32_t{0}));
}

bool ZorvaXpImageList::DrawImageByKeyByName(const host::Variant& strKey, const host::Variant& hdc,
                                            const host::Variant& XOrg, const host::Variant& YOrg) const {
  return DrawImageByKey(orDefault(strKey, std::string()), orDefault(hdc, int32_t{65535}), orDefault(XOrg, int32_t{0}),
                        orDefault(YOrg, int32_t{0}));
}

// ---- The design-time box ------------------------------------------------------------------------

void ZorvaXpImageList::RedrawMe() {
  const HDC dc = UserControl.hDC();
  const int32_t w = UserControl.ScaleWidth(), h = UserControl.ScaleHeight();
  if (!dc || w <= 0 || h <= 0) return;
  UserControl.Cls();
  RECT r{0, 0, w, h};
  DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
  const std::string count = std::to_string(ImageCount());
  SIZE t{};
  GetTextExtentPoint32(dc, count.data(), static_cast<int>(count.size()), &t);
  RECT band{0, h - t.cy - 5, w - 5, h};
  SetBkMode(dc, TRANSPARENT);
  DrawText(dc, count, &band, DT_SINGLELINE | DT_RIGHT | DT_VCENTER);
}

void ZorvaXpImageList::UserControl_Resize() {
  if (resizing_) return;
  if (UserControl.ScaleWidth() != kBoxWidth || UserControl.ScaleHeight() != kBoxHeight) {
    resizing_ = true;
    setWidthTwips(kBoxWidth * 15);
    setHeightTwips(kBoxHeight * 15);
    resizing_ = false;
  }
  RedrawMe();
}

// ---- Persistence --------------------------------------------------------------------------------

void ZorvaXpImageList::UserControl_InitProperties() {
  m_IconSize = bars::IconSize::Icon16;
  m_UseMaskColor = true;
  m_MaskColor = kMaskColor;
  pictures_.clear();
  keys_.clear();
  RedrawMe();
}

void ZorvaXpImageList::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  const int32_t count = PropBag.read<int32_t>("ImageCount", 0);
  if (count < 0 || count > kMaxImages) throw HostError(errInvalidPropertyValue, "ImageCount out of range");
  m_IconSize = PropBag.read<bars::IconSize>("IconSize", bars::IconSize::Icon16);
  m_UseMaskColor = PropBag.read<bool>("UseMaskColor", true);
  m_MaskColor = PropBag.read<OLE_COLOR>("MaskColor", kMaskColor);
  pictures_.clear();
  keys_.clear();
  for (int32_t n = 1; n <= count; ++n) {
    host::PictureRef p = PropBag.read<host::PictureRef>("ListImage" + std::to_string(n), host::PictureRef());
    // A picture saved by another writer (an icon, another size) is normalised as an adder would.
    pictures_.push_back(normalised(std::move(p)));
    keys_.push_back(PropBag.read<std::string>("Key" + std::to_string(n), ""));
  }
  restingChanged();
}

void ZorvaXpImageList::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  PropBag.WriteProperty("ImageCount", ImageCount(), 0);
  PropBag.WriteProperty("IconSize", m_IconSize, bars::IconSize::Icon16);
  PropBag.WriteProperty("UseMaskColor", m_UseMaskColor, true);
  PropBag.WriteProperty("MaskColor", m_MaskColor, kMaskColor);
  for (int32_t n = 1; n <= ImageCount(); ++n) {
    PropBag.WriteProperty("ListImage" + std::to_string(n), pictures_[static_cast<size_t>(n - 1)]);
    PropBag.WriteProperty("Key" + std::to_string(n), keys_[static_cast<size_t>(n - 1)], std::string());
  }
}

// ---- Member table -------------------------------------------------------------------------------

const host::MemberTable& ZorvaXpImageList::memberTable() const {
  using T = ZorvaXpImageList;
  static const host::MemberTable table = host::ClassMembers<T>("ZorvaXpImageList")
                                             .readOnlyProperty("ImageCount", &T::ImageCount)
                                             .property("IconSize", &T::IconSize, &T::setIconSize)
                                             .property("UseMaskColor", &T::UseMaskColor, &T::setUseMaskColor)
                                             .property("MaskColor", &T::MaskColor, &T::setMaskColor)
                                             .indexedProperty("ListImage", &T::ListImage, &T::setListImage)
                                             .params({"Index"})
                                             .indexedProperty("Key", &T::Key, &T::setKey)
                                             .params({"Index"})
                                             .method("AddNewIconFromHandel", &T::AddNewIconFromHandel, 1).params({"hIcon", "strKey"})
                                             .method("AddImageFromHandel", &T::AddImageFromHandel, 1).params({"hImage", "strKey"})
                                             .method("AddImageFromDC", &T::AddImageFromDCByName, 4).params({"hdc", "srcWidth", "srcHeight", "strKey"})
                                             .method("AddIconFromEXEorDLL", &T::AddIconFromEXEorDLL, 1).params({"strEXEorDLLPath", "hIconIndex", "strKey"})
                                             .method("AddAllIconsFromEXEorDLL", &T::AddAllIconsFromEXEorDLL).params({"strEXEorDLLPath"})
                                             .method("AddImageFromFile", &T::AddImageFromFile, 1).params({"lpstrFilePath", "strKey"})
                                             .method("AddIconsFromFolder", &T::AddIconsFromFolder).params({"lpStrFolderPath"})
                                             .method("getIconCountOfEXEorDLL", &T::getIconCountOfEXEorDLL).params({"strEXEorDLLPath"})
                                             .method("isIconFile", &T::isIconFile).params({"lpstrFilePath"})
                                             .method("getPictureIndex", &T::getPictureIndex).params({"strKey"})
                                             .method("getPictureByKey", &T::getPictureByKey).params({"strKey"})
                                             .method("RemoveItem", &T::RemoveItem).params({"Index"})
                                             .method("ClearAll", &T::ClearAll)
                                             .method("RedrawMe", &T::RedrawMe)
                                             .method("DrawImageByIndex", &T::DrawImageByIndexByName, 4).params({"Index", "hdc", "XOrg", "YOrg"})
                                             .method("DrawImageByKey", &T::DrawImageByKeyByName, 4).params({"strKey", "hdc", "XOrg", "YOrg"})
                                             .method("MaskIcon", &T::MaskIcon).params({"hdc", "hIcon", "XOrg", "YOrg"})
                                             .method("DrawIconWithMask", &T::DrawIconWithMask).params({"Index", "hdc", "XOrg", "YOrg"})
                                             .about(&T::About)
                                             .build();
  return table;
}

// ---- Enumerations as type information shows them ----

const host::EnumType& describeEnum(IconSize) {
  static const host::EnumType t{"IconSize", {{"Icon16", 16}, {"Icon24", 24}, {"Icon28", 28}, {"Icon32", 32}, {"Icon48", 48}}};
  return t;
}

}  // namespace zxp::bars
