// The image list: keys (unique when not blank, trimmed), removal shifting the later pictures,
// every adder normalising to IconSize, damaged and missing files adding nothing, the drawing
// calls with and without the mask colour, persistence, the design-time box and its class flag,
// and the lookup by name that other controls use.

#include "bars/TabsFixture.h"
#include "foundation/FormLookup.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/Png.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/TestCanvas.h"
#include "support/PixelTable.h"
#include "support/TempWave.h"

namespace zxp::testing {
namespace {

using bars::IconSize;

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The file bytes of an icon picture (savePicture's "lt\0\0" + length + the ICO file).
std::vector<uint8_t> icoBytes(const host::PictureRef& icon) {
  std::vector<uint8_t> b = gfx::savePicture(icon);
  return std::vector<uint8_t>(b.begin() + 8, b.end());
}

class ImageList : public TabsTest {
 protected:
  // A target of 40 x 40 pixels in dark green, and its device context as the list's methods take it.
  struct Target : TestCanvas {
    Target() : TestCanvas(40, 40, false, oleToPixel(RGB(0, 128, 0))) {}
    int32_t handle() const { return static_cast<int32_t>(dc()); }
  };
  static int32_t sizeOf(const host::PictureRef& p) { return p.width() * 1000 + p.height(); }
  // A pixel of a stored picture.
  static COLORREF pixelOf(const host::PictureRef& p, int x, int y) {
    MemoryDC dc(0);
    Selection s(dc.get(), p.Handle());
    return GetPixel(dc.get(), x, y);
  }
};

TEST_F(ImageList, KeysAreTrimmedUniqueWhenNotBlankAndFoundByIndex) {
  ZorvaXpImageList& il = images();
  const host::PictureRef red = solidIcon(0xFF0000);
  EXPECT_TRUE(il.AddNewIconFromHandel(static_cast<int32_t>(red.Handle()), " save "));
  EXPECT_FALSE(il.AddNewIconFromHandel(static_cast<int32_t>(red.Handle()), "save"));
  EXPECT_TRUE(il.AddNewIconFromHandel(static_cast<int32_t>(red.Handle())));
  EXPECT_TRUE(il.AddNewIconFromHandel(static_cast<int32_t>(red.Handle()), "   "));
  EXPECT_EQ(std::tuple(il.ImageCount(), il.Key(1), il.getPictureIndex("save "), il.getPictureIndex("open")),
            std::tuple(3, "save", 1, 0));
  EXPECT_TRUE(il.getPictureByKey("open").empty());
  EXPECT_EQ(il.getPictureByKey("save"), il.ListImage(1));
  EXPECT_THROW(il.setKey(2, "save"), HostError);
  il.setKey(2, "other");
  EXPECT_EQ(il.getPictureIndex("other"), 2);
  EXPECT_THROW(il.ListImage(4), HostError);
  // A stale handle adds nothing.
  EXPECT_FALSE(il.AddNewIconFromHandel(0x7FFF1234));
  EXPECT_EQ(il.ImageCount(), 3);
}

TEST_F(ImageList, RemovingShiftsLaterPicturesAndTheLastOneClearsAll) {
  ZorvaXpImageList& il = images();
  for (const char* k : {"a", "b", "c"})
    il.AddNewIconFromHandel(static_cast<int32_t>(solidIcon(0x00FF00).Handle()), k);
  const host::PictureRef third = il.ListImage(3);
  EXPECT_FALSE(il.RemoveItem(2));  // False in every case
  EXPECT_EQ(std::tuple(il.ImageCount(), il.ListImage(2), il.Key(2), il.getPictureIndex("b")),
            std::tuple(2, third, "c", 0));
  il.RemoveItem(0);
  il.RemoveItem(3);
  EXPECT_EQ(il.ImageCount(), 2);
  il.RemoveItem(1);
  il.RemoveItem(1);
  EXPECT_EQ(il.ImageCount(), 0);
  il.AddNewIconFromHandel(static_cast<int32_t>(solidIcon(0x00FF00).Handle()), "x");
  il.ClearAll();
  EXPECT_EQ(il.ImageCount(), 0);
}

TEST_F(ImageList, EveryAdderNormalisesToIconSize) {
  TempDir tmp;
  ZorvaXpImageList& il = images();
  il.setIconSize(IconSize::Icon48);
  // A 16-pixel icon grows to 48.
  EXPECT_TRUE(il.AddNewIconFromHandel(static_cast<int32_t>(solidIcon(0x0000FF, 16).Handle())));
  EXPECT_EQ(sizeOf(il.ListImage(1)), 48048);
  // A 300-pixel PNG shrinks to 48.
  auto big = gfx::Surface::create(300, 300);
  big->fill(0x00FFCC00);
  ASSERT_TRUE(gfx::writePng(*big, tmp.file("big.png")));
  EXPECT_TRUE(il.AddImageFromFile(tmp.file("big.png"), "big"));
  EXPECT_EQ(std::pair(sizeOf(il.ListImage(2)), pixelOf(il.ListImage(2), 24, 24)), std::pair(48048, RGB(255, 204, 0)));
  // A 100 x 50 bitmap at 16 is stretched, not cropped: its right half shows at the right.
  il.setIconSize(IconSize::Icon16);
  auto two = gfx::Surface::create(100, 50);
  two->fill(0x00FF0000);
  two->fillRect(Rect{50, 0, 100, 50}, 0x000000FF);
  host::PictureRef halves = gfx::Picture::fromBitmap(gfx::CreateBitmapForSurface(two));
  EXPECT_TRUE(il.AddImageFromHandel(static_cast<int32_t>(halves.Handle())));
  EXPECT_EQ(std::tuple(sizeOf(il.ListImage(3)), pixelOf(il.ListImage(3), 2, 8), pixelOf(il.ListImage(3), 13, 8)),
            std::tuple(16016, RGB(255, 0, 0), RGB(0, 0, 255)));
  // From a device context: its (0, 0, w, h) area.
  Target src;
  EXPECT_TRUE(il.AddImageFromDC(src.handle(), 40, 40, "dc"));
  EXPECT_FALSE(il.AddImageFromDC());  // the default 65535 is no device context here
  EXPECT_EQ(sizeOf(il.ListImage(4)), 16016);
}

TEST_F(ImageList, IconFilesFoldersAndDamagedFiles) {
  TempDir tmp;
  ZorvaXpImageList& il = images();
  il.setIconSize(IconSize::Icon32);
  writeBytes(tmp.file("a.ico"), icoBytes(solidIcon(0xFF0000, 32)));
  writeBytes(tmp.file("b.ICO"), icoBytes(solidIcon(0x00FF00, 16)));
  writeBytes(tmp.file("notes.txt"), {'h', 'i'});
  writeBytes(tmp.file("broken.png"), {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0xFF});
  writeBytes(tmp.file("broken.ico"), {0, 0, 1, 0, 200, 0});
  EXPECT_TRUE(il.isIconFile(tmp.file("a.ico")));
  EXPECT_FALSE(il.isIconFile(tmp.file("notes.txt")));
  EXPECT_EQ(il.getIconCountOfEXEorDLL(tmp.file("missing.dll")), 0);
  EXPECT_FALSE(il.AddImageFromFile(tmp.file("broken.png")));
  EXPECT_FALSE(il.AddImageFromFile(tmp.file("broken.ico")));
  EXPECT_FALSE(il.AddImageFromFile(tmp.file("missing.bmp")));
  EXPECT_FALSE(il.AddImageFromFile(tmp.file("notes.txt")));
  EXPECT_FALSE(il.AddImageFromFile(""));
  EXPECT_EQ(il.ImageCount(), 0);
  // Several files in one string, separated by "|".
  EXPECT_TRUE(il.AddImageFromFile(tmp.file("a.ico") + "|" + tmp.file("broken.png")));
  EXPECT_EQ(il.ImageCount(), 1);
  il.ClearAll();
  EXPECT_TRUE(il.AddIconsFromFolder(tmp.path().string()));
  EXPECT_EQ(il.ImageCount(), 2);  // a.ico and b.ICO, not the damaged one
  EXPECT_EQ(sizeOf(il.ListImage(2)), 32032);
  EXPECT_FALSE(il.AddIconsFromFolder(tmp.file("nowhere")));
}

TEST_F(ImageList, DrawIconWithMaskLeavesTheMaskColourPixelsOfTheTargetAlone) {
  ZorvaXpImageList& il = images();
  // An icon whose left half is transparent: stored with magenta there.
  il.AddNewIconFromHandel(static_cast<int32_t>(solidIcon(0x0000FF, 16, true).Handle()), "half");
  EXPECT_EQ(std::pair(pixelOf(il.ListImage(1), 2, 2), pixelOf(il.ListImage(1), 12, 2)),
            std::pair(RGB(255, 0, 255), RGB(0, 0, 255)));
  Target masked;
  EXPECT_TRUE(il.DrawIconWithMask(1, masked.handle(), 10, 10));
  expectPixels(masked.dc(), {{12, 12, RGB(0, 128, 0)}, {22, 12, RGB(0, 0, 255)}, {30, 12, RGB(0, 128, 0)}});
  // The plain copy brings the magenta along.
  Target plain;
  EXPECT_TRUE(il.DrawImageByKey("half", plain.handle(), 10, 10));
  EXPECT_EQ(GetPixel(plain.dc(), 12, 12), RGB(255, 0, 255));
  EXPECT_FALSE(il.DrawImageByIndex(2, plain.handle()) || il.DrawImageByIndex(1, 65535));
  // By name, the index left out is 1.
  Target late;
  EXPECT_TRUE(host::callMethod(il, "DrawImageByIndex", {host::Variant(), host::Variant(late.handle())}).toBool());
  EXPECT_EQ(GetPixel(late.dc(), 12, 2), RGB(0, 0, 255));
  // ListImage and Key are properties: read and written by index.
  host::letIndexedProperty(il, "Key", host::Variant(int32_t{1}), "renamed");
  host::letIndexedProperty(il, "ListImage", host::Variant(int32_t{1}), solidIcon(0x00FF00, 16));
  EXPECT_EQ(std::tuple(il.Key(1), host::getIndexedProperty(il, "Key", int32_t{1}).toString(),
                       pixelOf(host::getIndexedProperty(il, "ListImage", int32_t{1}).toPicture(), 2, 2)),
            std::tuple("renamed", "renamed", RGB(0, 255, 0)));
  // Without UseMaskColor nothing is drawn.
  il.setUseMaskColor(false);
  Target off;
  EXPECT_FALSE(il.DrawIconWithMask(1, off.handle(), 10, 10) || il.DrawIconWithMask(0, off.handle(), 0, 0));
  EXPECT_EQ(GetPixel(off.dc(), 22, 12), RGB(0, 128, 0));
}

TEST_F(ImageList, PicturesAndKeysRoundTripThroughAFormFile) {
  ZorvaXpImageList& il = images("ilMain");
  il.setIconSize(IconSize::Icon24);
  il.setMaskColor(0x00FF00);
  il.AddNewIconFromHandel(static_cast<int32_t>(solidIcon(0x112233).Handle()), "one");
  il.AddNewIconFromHandel(static_cast<int32_t>(solidIcon(0x445566).Handle()));
  const std::string saved = form->save();
  EXPECT_NE(saved.find("ImageCount = Long 2"), std::string::npos);
  EXPECT_LT(saved.find("MaskColor"), saved.find("ListImage1"));
  EXPECT_LT(saved.find("ListImage1"), saved.find("Key1"));
  EXPECT_LT(saved.find("Key1"), saved.find("ListImage2"));
  form.reset();
  form = host::Form::load(saved, library::classes());
  EXPECT_EQ(form->save(), saved);
  auto& back = form->control("ilMain")->as<ZorvaXpImageList>();
  EXPECT_EQ(std::tuple(back.ImageCount(), back.IconSize(), back.getPictureIndex("one"), sizeOf(back.ListImage(2))),
            std::tuple(2, IconSize::Icon24, 1, 24024));
  EXPECT_EQ(pixelOf(back.ListImage(1), 5, 5), RGB(0x11, 0x22, 0x33));
}

TEST_F(ImageList, InvisibleWhileRunningAndAFixedBoxWithTheCountInADesigner) {
  images("il");
  EXPECT_FALSE(IsWindowVisible(form->control("il")->object().hWnd()));
  form.reset();
  makeTabsForm(false);
  host::ExtenderRecord r = at(5, 5, 200, 100);
  auto& il = form->add(library::classes(), "ZorvaXpImageList", "il", r).as<ZorvaXpImageList>();
  EXPECT_TRUE(IsWindowVisible(il.hWnd()));
  EXPECT_EQ(std::tuple(ext("il").Width(), ext("il").Height()), std::tuple(pixelsToTwips(45), pixelsToTwips(55)));
  const HDC dc = il.surface().hDC();
  EXPECT_EQ(GetPixel(dc, 0, 0), GetSysColor(COLOR_3DLIGHT));  // the raised edge's outer light line
  // The count "0" ends 5 pixels from the right edge, in the lower band.
  auto inkColumns = [&](int from, int to) {
    int last = -1;
    for (int x = from; x < to; ++x)
      for (int y = 30; y < 53; ++y)
        if (GetPixel(dc, x, y) != GetPixel(dc, 20, 40)) last = x;
    return last;
  };
  const int last = inkColumns(10, 43);
  EXPECT_GE(last, 35);
  EXPECT_LE(last, 39);
}

TEST_F(ImageList, OtherControlsFindTheListByName) {
  ZorvaXpImageList& il = images("ilShared");
  ZorvaXPHookTab& t = tabs();
  EXPECT_EQ(foundation::controlOnFormAs<ZorvaXpImageList>(t, "ilShared"), &il);
  EXPECT_EQ(foundation::controlOnFormAs<ZorvaXpImageList>(t, "ILSHARED"), &il);
  EXPECT_EQ(foundation::controlOnFormAs<ZorvaXpImageList>(t, "tab"), nullptr);  // another class
  EXPECT_EQ(foundation::controlOnForm(t, "nothing"), nullptr);
}

TEST_F(ImageList, LeavesNothingBehind) {
  form.reset();
  const size_t before = handles().liveCount();
  makeTabsForm(true);
  ZorvaXpImageList& il = images();
  il.AddNewIconFromHandel(static_cast<int32_t>(solidIcon(0x0000FF).Handle()), "k");
  il.setIconSize(IconSize::Icon48);
  il.AddImageFromHandel(static_cast<int32_t>(solidBitmap(0x00FF00, 30, 30).Handle()));
  form.reset();
  EXPECT_EQ(handles().liveCount(), before);
}

}  // namespace
}  // namespace zxp::testing
