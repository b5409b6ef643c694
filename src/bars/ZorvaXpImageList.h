// ZorvaXpImageList: a non-visual control holding square pictures, indexed 1..ImageCount and
// optionally keyed, all normalised to IconSize x IconSize when they are added. Every adder draws
// its source onto the hidden picture surface picTemp (cleared to MaskColor, so an icon's
// transparent pixels become the mask colour) and stores a bitmap copy of it. Sources: icon
// handles, bitmaps, device contexts, icons inside executables and libraries, icon and picture
// files (BMP, PNG, JPEG, GIF through the platform's loaders) and folders of icons (listed by
// clsFileSystemObj). The drawing calls copy a stored picture into any device context, plainly
// or with MaskColor left out (TransparentBlt). Other controls of the form find the list by name
// (foundation's controlOnForm) and draw from it.
//
// Its class is invisible at run time; in a designer it shows a 45 x 55 raised box with the
// image count at its lower right, and undoes any resize.
//
// Choices: RemoveItem answers False in every case (callers must not rely on it); several files
// handed to AddImageFromFile in one string are separated by "|", as clsFileSystemObj's listing
// joins them; a bitmap is shrunk or enlarged with the nearest pixel (COLORONCOLOR), and one with
// an alpha channel is blended over MaskColor; an adder whose source cannot be drawn (a stale
// handle, a device context that does not exist, a damaged file) adds nothing and answers False;
// the indexed ListImage and Key are reachable by name as methods taking the index; setting a Key
// that another picture carries raises error 457.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/ControlBase.h"

namespace zxp::bars {

enum class IconSize : int32_t { Icon16 = 16, Icon24 = 24, Icon28 = 28, Icon32 = 32, Icon48 = 48 };

// Type information for the enumerations above (the interface's names and values).
const host::EnumType& describeEnum(IconSize);

class ZorvaXpImageList final : public foundation::ControlBase {
 public:
  static constexpr OLE_COLOR kMaskColor = 16711935;  // magenta
  static constexpr int32_t kBoxWidth = 45;            // the design-time box, pixels
  static constexpr int32_t kBoxHeight = 55;
  static constexpr int32_t kMaxImages = 100000;  // what a property bag may ask for

  ZorvaXpImageList();

  // ---- Properties ----
  int32_t ImageCount() const { return static_cast<int32_t>(pictures_.size()); }
  bars::IconSize IconSize() const { return m_IconSize; }
  void setIconSize(bars::IconSize New_IconSize);
  bool UseMaskColor() const { return m_UseMaskColor; }
  void setUseMaskColor(bool New_UseMaskColor);
  OLE_COLOR MaskColor() const { return m_MaskColor; }
  void setMaskColor(OLE_COLOR New_MaskColor);
  // 1-based; error 9 outside 1..ImageCount. Setting a picture normalises it as an adder does.
  host::PictureRef ListImage(int32_t Index) const;
  void setListImage(int32_t Index, host::PictureRef New_ListImage);
  std::string Key(int32_t Index) const;
  void setKey(int32_t Index, const std::string& New_Key);

  // ---- Adding ----
  bool AddNewIconFromHandel(int32_t hIcon, const std::string& strKey = "");
  bool AddImageFromHandel(int32_t hImage, const std::string& strKey = "");
  bool AddImageFromDC(int32_t hdc = 65535, int32_t srcWidth = 16, int32_t srcHeight = 16,
                      const std::string& strKey = "");
  bool AddIconFromEXEorDLL(const std::string& strEXEorDLLPath, int32_t hIconIndex, const std::string& strKey = "");
  bool AddAllIconsFromEXEorDLL(const std::string& strEXEorDLLPath);
  bool AddImageFromFile(const std::string& lpstrFilePath, const std::string& strKey = "");
  bool AddIconsFromFolder(const std::string& lpStrFolderPath);

  // ---- Queries and removal ----
  int32_t getIconCountOfEXEorDLL(const std::string& strEXEorDLLPath) const;
  bool isIconFile(const std::string& lpstrFilePath) const;
  int32_t getPictureIndex(const std::string& strKey) const;
  host::PictureRef getPictureByKey(const std::string& strKey) const;
  bool RemoveItem(int32_t Index);
  void ClearAll();
  void RedrawMe();

  // ---- Drawing ----
  bool DrawImageByIndex(int32_t Index = 1, int32_t hdc = 65535, int32_t XOrg = 0, int32_t YOrg = 0) const;
  bool DrawImageByKey(const std::string& strKey = "", int32_t hdc = 65535, int32_t XOrg = 0, int32_t YOrg = 0) const;
  bool MaskIcon(int32_t hdc, int32_t hIcon, int32_t XOrg, int32_t YOrg) const;
  bool DrawIconWithMask(int32_t Index, int32_t hdc, int32_t XOrg, int32_t YOrg) const;

  const foundation::SurfaceWindow& tempSurface() const { return picTemp; }
  const host::MemberTable& memberTable() const override;

 protected:
  void UserControl_Initialize() override;
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
  void UserControl_Resize() override;
  void UserControl_Terminate() override;
  void redrawResting() override { RedrawMe(); }
  bool resizeRedrawsResting() const override { return true; }

 private:
  int32_t size() const { return static_cast<int32_t>(m_IconSize); }
  // The picture as stored at IconSize: a bitmap of that size as it is, anything else drawn
  // through picTemp (none when it cannot be drawn at this size).
  host::PictureRef normalised(host::PictureRef p);
  // picTemp sized to IconSize and cleared to MaskColor, ready for one picture.
  HDC prepareTemp();
  // The stored picture: a bitmap copy of picTemp (empty when it cannot be made).
  host::PictureRef takeTemp() const;
  // Draws a picture onto the prepared picTemp; false when nothing could be drawn.
  bool drawPicture(const host::PictureRef& picture);
  bool keyAllowed(const std::string& trimmedKey, int32_t except = 0) const;
  // Appends when the picture is not empty and the key is allowed.
  bool append(host::PictureRef picture, const std::string& key);
  bool addFile(const std::string& path, const std::string& key);
  bool blit(const host::PictureRef& picture, HDC dc, int32_t x, int32_t y, bool masked) const;
  // The calls by name: arguments left out take the declared defaults (hdc 65535, sizes 16, index 1).
  bool AddImageFromDCByName(const host::Variant& hdc, const host::Variant& srcWidth, const host::Variant& srcHeight,
                            const host::Variant& strKey);
  bool DrawImageByIndexByName(const host::Variant& Index, const host::Variant& hdc, const host::Variant& XOrg,
                              const host::Variant& YOrg) const;
  bool DrawImageByKeyByName(const host::Variant& strKey, const host::Variant& hdc, const host::Variant& XOrg,
                            const host::Variant& YOrg) const;

  bars::IconSize m_IconSize = bars::IconSize::Icon16;
  bool m_UseMaskColor = true;
  OLE_COLOR m_MaskColor = kMaskColor;
  std::vector<host::PictureRef> pictures_;
  std::vector<std::string> keys_;
  bool resizing_ = false;

  foundation::SurfaceWindow picTemp;
};

}  // namespace zxp::bars
