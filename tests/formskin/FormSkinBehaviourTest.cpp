// The skin's window behaviour: hit testing, hover, the caption buttons acting on the real form,
// caption drag, maximising to the work area, the system menu, owner-drawn menus, tool tips, the
// checks on placing and the teardown.

#include <algorithm>

#include "formskin/FormSkinFixture.h"
#include "foundation/MessageInterceptor.h"
#include "platform/gfx/Handles.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/TestCanvas.h"
#include "platform/ui/Hooks.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Screen.h"
#include "support/Checks.h"

namespace zxp::testing {
namespace {

using FormSkinBehaviour = FormSkinTest;
using formskin::Area;
using formskin::FBorderStyles;

TEST_F(FormSkinBehaviour, HitTestOrder) {
  auto& s = makeSkinned();
  const Point min = centre(Area::Minimize), max = centre(Area::Maximize), close = centre(Area::Close);
  EXPECT_EQ(std::tuple(s.hitTest(min.x, min.y), s.hitTest(max.x, max.y), s.hitTest(close.x, close.y)),
            std::tuple(Area::Minimize, Area::Maximize, Area::Close));
  // The 2-pixel overlap belongs to the earlier button in the order.
  const RECT mr = s.buttonRect(Area::Maximize);
  EXPECT_EQ(std::tuple(s.hitTest(mr.left, 5), s.hitTest(mr.right - 1, 5), s.hitTest(200, 30)),
            std::tuple(Area::Minimize, Area::Maximize, Area::TitleBar));
  // Without an icon the icon's place is the title strip.
  EXPECT_EQ(s.hitTest(20, 20), Area::TitleBar);
  // A button that is not drawn is title strip: single draws close alone, none draws nothing.
  s.setBorderStyle(FBorderStyles::FBSSingle);
  EXPECT_EQ(std::tuple(s.hitTest(min.x, min.y), s.hitTest(max.x, max.y), s.hitTest(close.x, close.y)),
            std::tuple(Area::TitleBar, Area::TitleBar, Area::Close));
  s.setBorderStyle(FBorderStyles::FBSNone);
  EXPECT_EQ(std::tuple(s.hitTest(min.x, min.y), s.hitTest(max.x, max.y), s.hitTest(close.x, close.y)),
            std::tuple(Area::TitleBar, Area::TitleBar, Area::TitleBar));
}

TEST_F(FormSkinBehaviour, AButtonThatIsNotDrawnTakesNoHoverPressOrClick) {
  auto& s = makeSkinned();
  s.setBorderStyle(FBorderStyles::FBSNone);
  logEvents();
  const RECT close = s.buttonRect(Area::Close);
  const COLORREF bare = px(close.left + 5, 3);
  input.moveTo(strip(), centre(Area::Close)).pump();
  EXPECT_EQ(std::tuple(s.hoveredArea(), s.glowWindow(), px(close.left + 5, 3)), std::tuple(Area::TitleBar, 0u, bare));
  input.click();
  input.advance(20);
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(form->unloaded());
  s.setBorderStyle(FBorderStyles::FBSSingle);
  input.moveTo(strip(), centre(Area::Maximize)).click();
  input.advance(20);
  EXPECT_EQ(std::tuple(log.empty(), IsZoomed(form->hWnd())), std::tuple(true, false));
}

TEST_F(FormSkinBehaviour, HoverDrawsTheButtonShowsTheGlowAndLeavingClearsIt) {
  auto& s = makeSkinned();
  const RECT close = s.buttonRect(Area::Close);
  const COLORREF normal = px(close.left + 5, 3);
  input.moveTo(strip(), centre(Area::Close)).pump();
  EXPECT_EQ(s.hoveredArea(), Area::Close);
  EXPECT_NE(px(close.left + 5, 3), normal);
  ASSERT_NE(s.glowWindow(), 0u);
  const RECT g = windowRect(s.glowWindow());
  POINT p{close.left, close.top};
  ClientToScreen(strip(), &p);
  EXPECT_EQ(std::tuple(g.left, g.top, g.right - g.left), std::tuple(p.x, p.y, 42));
  // Leaving the control removes the glow and the tool tip at once.
  input.advance(1500);
  EXPECT_NE(s.toolTipWindow(), 0u);
  input.moveTo(Point{700, 700}).pump();
  EXPECT_EQ(std::tuple(s.glowWindow(), s.toolTipWindow(), s.hoveredArea(), px(close.left + 5, 3)),
            std::tuple(0u, 0u, Area::None, normal));
}

TEST_F(FormSkinBehaviour, ToolTipAfter1500msNearTheCursorWithTheButtonsText) {
  auto& s = makeSkinned();
  input.moveTo(strip(), centre(Area::Maximize)).pump();
  input.advance(1490);
  EXPECT_EQ(s.toolTipWindow(), 0u);
  input.advance(10);
  const HWND tip = s.toolTipWindow();
  ASSERT_NE(tip, 0u);
  EXPECT_TRUE(IsWindowVisible(tip));
  const RECT t = windowRect(tip);
  EXPECT_EQ(t.left, input.cursor().x + 4);
  EXPECT_EQ(t.top, input.cursor().y + 18);
  // Over the title strip the tool tip goes.
  input.moveTo(strip(), Point{150, 30}).pump();
  EXPECT_EQ(s.toolTipWindow(), 0u);
}

TEST_F(FormSkinBehaviour, CloseRaisesItsEventThenUnloadsTheFormLeavingNothingBehind) {
  form.reset();
  ui::resetWindowSystem();
  const Leftovers before;
  makeSkinned();
  logEvents();
  bool unloaded = false;
  bool closedBeforeUnload = false;
  form->Unloaded.connect([&] {
    unloaded = true;
    closedBeforeUnload = std::find(log.begin(), log.end(), "CloseButtonClick") != log.end();
  });
  EXPECT_GT(MessageInterceptor::entryPointsInUse(), 0);
  EXPECT_EQ(ui::hookCount(WH_CALLWNDPROC), 1u);
  input.moveTo(strip(), centre(Area::Close)).click();
  EXPECT_EQ(log, std::vector<std::string>{"CloseButtonClick"});
  input.advance(20);
  EXPECT_TRUE(unloaded && closedBeforeUnload && form->unloaded());
  EXPECT_EQ(MessageInterceptor::entryPointsInUse(), 0);
  EXPECT_EQ(ui::hookCount(WH_CALLWNDPROC), 0u);
  EXPECT_EQ(ui::eventLoop().timerCount(), before.timers);  // unloading alone stopped them
  form.reset();
  before.check();
}

TEST_F(FormSkinBehaviour, DisabledButtonsDoNothing) {
  auto& s = makeSkinned();
  logEvents();
  s.setEnabledClose(false);
  s.setEnabledMinimize(false);
  input.moveTo(strip(), centre(Area::Close)).click();
  input.moveTo(strip(), centre(Area::Minimize)).click();
  input.advance(20);
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(form->unloaded() || IsIconic(form->hWnd()));
}

TEST_F(FormSkinBehaviour, MaximiseToTheWorkAreaAtZeroTwoRestoreBackAndMinimise) {
  makeSkinned();
  logEvents();
  const RECT before = formRect();
  input.moveTo(strip(), centre(Area::Maximize)).click();
  EXPECT_TRUE(IsZoomed(form->hWnd()));
  RECT wa;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &wa, 0);
  const RECT max = formRect();
  EXPECT_EQ(std::tuple(max.left, max.top, max.right - max.left, max.bottom - max.top),
            std::tuple(0, 2, wa.right, wa.bottom));
  // The strip follows the form's width; its button moved with it.
  EXPECT_EQ(skin().surface().ScaleWidth(), wa.right);
  input.moveTo(strip(), centre(Area::Maximize)).click();
  EXPECT_FALSE(IsZoomed(form->hWnd()));
  const RECT after = formRect();
  EXPECT_EQ(std::tuple(after.left, after.top, after.right, after.bottom),
            std::tuple(before.left, before.top, before.right, before.bottom));
  input.moveTo(strip(), centre(Area::Minimize)).click();
  EXPECT_TRUE(IsIconic(form->hWnd()));
  EXPECT_EQ(log, (std::vector<std::string>{"MaximizeButtonClick", "RestoreButtonClick", "MinimizeButtonClick"}));
}

TEST_F(FormSkinBehaviour, DraggingTheTitleMovesTheFormWithItsFramePiecesAndShadow) {
  auto& s = makeSkinned();
  ASSERT_TRUE(s.layeredWindowsUsable());
  const RECT f0 = formRect();
  std::vector<RECT> before;
  for (HWND h : s.framePieces()) before.push_back(windowRect(h));
  for (HWND h : s.shadowStrips()) before.push_back(windowRect(h));
  for (HWND h : s.framePieces()) EXPECT_TRUE(IsWindowVisible(h));
  // The left piece hugs the form's left edge.
  EXPECT_EQ(std::tuple(before[0].right, before[0].top), std::tuple(f0.left, f0.top));
  input.moveTo(strip(), Point{150, 30}).press().moveBy(30, 20).moveBy(10, 5).release();
  const RECT f1 = formRect();
  EXPECT_EQ(std::tuple(f1.left - f0.left, f1.top - f0.top), std::tuple(40, 25));
  size_t i = 0;
  for (HWND h : s.framePieces()) {
    const RECT r = windowRect(h);
    EXPECT_EQ(std::tuple(r.left - before[i].left, r.top - before[i].top), std::tuple(40, 25));
    ++i;
  }
  for (HWND h : s.shadowStrips()) {
    const RECT r = windowRect(h);
    EXPECT_EQ(std::tuple(r.left - before[i].left, r.top - before[i].top), std::tuple(40, 25));
    ++i;
  }
}

TEST_F(FormSkinBehaviour, FramePiecesAndShadowAreComposedAroundTheForm) {
  auto& s = makeSkinned();
  s.setShadowColor(0x000000);
  input.pump();
  auto screen = ui::composeScreen();
  const RECT f = formRect();
  // Just below the form: the bottom frame piece, then the shadow fading out.
  const uint32_t desktop = screen->at(f.left + 50, f.bottom + 4 + 7 + 5);
  const uint32_t nearShadow = screen->at(f.left + 50, f.bottom + 4);
  const uint32_t farShadow = screen->at(f.left + 50, f.bottom + 4 + 6);
  EXPECT_NE(nearShadow, desktop);
  EXPECT_LE(nearShadow & 0xFF, farShadow & 0xFF);
  EXPECT_NE(screen->at(f.left + 50, f.bottom + 1), desktop);
}

TEST_F(FormSkinBehaviour, SystemMenuAboutOpensTheWebPage) {
  auto& s = makeSkinned();
  const HMENU menu = s.systemMenu();
  ASSERT_NE(menu, 0u);
  const int n = GetMenuItemCount(menu);
  EXPECT_EQ(GetMenuItemID(menu, n - 1), 337u);
  char text[32] = {};
  GetMenuStringA(menu, 337, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "About");
  SendMessageA(form->hWnd(), WM_SYSCOMMAND, 337, 0);
  ASSERT_EQ(services.shell->requests.size(), 1u);
  EXPECT_EQ(services.shell->requests[0].operation, "Open");
  EXPECT_EQ(services.shell->requests[0].file, formskin::ZorvaForm::kAboutAddress);
}

TEST_F(FormSkinBehaviour, OwnerDrawnMenusAreMeasuredAndDrawnByTheSkin) {
  auto& s = makeSkinned();
  const HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, 10, "Open");
  AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(popup, MF_STRING | MF_CHECKED, 11, "Checked item");
  SendMessageA(form->hWnd(), WM_INITMENUPOPUP, static_cast<WPARAM>(popup), 0);
  // Item `pos` as the skin left it, and its measure.
  auto item = [&](UINT pos) {
    MENUITEMINFOA mii;
    mii.fMask = MIIM_FTYPE | MIIM_DATA;
    EXPECT_TRUE(GetMenuItemInfoA(popup, pos, TRUE, &mii));
    return mii;
  };
  auto measure = [&](UINT id, const MENUITEMINFOA& mii) {
    MEASUREITEMSTRUCT mis;
    mis.CtlType = ODT_MENU;
    mis.itemID = id;
    mis.itemData = mii.dwItemData;
    EXPECT_EQ(SendMessageA(form->hWnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), 1);
    return std::pair(mis.itemHeight, mis.itemWidth);
  };
  const MENUITEMINFOA mii = item(0), sep = item(1);
  EXPECT_TRUE((mii.fType & MFT_OWNERDRAW) && (sep.fType & MFT_SEPARATOR));
  SIZE ts;
  GetTextExtentPoint32(s.surface().hDC(), "Open", 4, &ts);
  EXPECT_EQ(measure(10, mii), std::pair(23u, static_cast<UINT>(ts.cx + 68)));
  EXPECT_EQ(measure(0, sep).first, 2u);
  // Drawn selected: the selection frame in MenuSelectedBorderColor, the offset band at the left.
  TestCanvas canvas(200, 23);
  const HDC mem = canvas.dc();
  DRAWITEMSTRUCT dis;
  dis.CtlType = ODT_MENU;
  dis.itemID = 10;
  dis.itemAction = ODA_DRAWENTIRE;
  dis.itemState = ODS_SELECTED;
  dis.hDC = mem;
  dis.rcItem = RECT{0, 0, 200, 23};
  dis.itemData = mii.dwItemData;
  SendMessageA(form->hWnd(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  EXPECT_EQ(GetPixel(mem, 100, 1), translateColor(s.MenuSelectedBorderColor()));
  EXPECT_EQ(GetPixel(mem, 199, 0), translateColor(s.MenuBackColor()));
  EXPECT_EQ(GetPixel(mem, 0, 5), translateColor(s.MenuOffsetGradient1()));
  DestroyMenu(popup);
}

TEST_F(FormSkinBehaviour, WithoutLayeredWindowsItWarnsAndWorksWithoutPiecesAndShadow) {
  ui::setDisplayBitsPerPixel(8);
  auto& s = makeSkinned();
  EXPECT_FALSE(s.layeredWindowsUsable());
  ASSERT_EQ(services.messageBoxes->shown.size(), 1u);
  EXPECT_EQ(services.messageBoxes->shown[0].text,
            "Your windows flatform do not support for best performance of the ZorvaForm");
  EXPECT_EQ(std::tuple(services.messageBoxes->shown[0].caption, s.framePieces()[0], s.shadowStrips()[0]),
            std::tuple("Hai Developer ! , Make your attention about below.", 0u, 0u));
  input.moveTo(strip(), centre(Area::Maximize)).click();
  EXPECT_TRUE(IsZoomed(form->hWnd()));
}

TEST_F(FormSkinBehaviour, TwoSkinsOnOneFormWarn) {
  makeSkinned();
  host::ExtenderRecord r;
  r.width = pixelsToTwips(400);
  form->add(library::classes(), "ZorvaForm", "Skin2", r);
  ASSERT_EQ(services.messageBoxes->shown.size(), 1u);
  EXPECT_EQ(services.messageBoxes->shown[0].text,
            "Do not use two at one time ZorvaForms for best performance.\nUsing two forms at one time may cause to "
            "crash your whole application.");
  EXPECT_EQ(services.messageBoxes->shown[0].icon(), static_cast<UINT>(MB_ICONEXCLAMATION));
}

TEST_F(FormSkinBehaviour, APopupMenuOfTheFormIsOwnerDrawnInAFlatInterceptedMenuWindow) {
  auto& s = makeSkinned();
  const HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, 10, "Open");
  AppendMenuA(popup, MF_STRING, 11, "Close");
  size_t intercepted = 0;
  bool flat = false;
  input.whileModal([&](ui::TestInput& m) {
    const HWND menuWindow = ui::trackedMenuWindow();
    intercepted = s.interceptor().records().size();
    if (menuWindow) flat = (GetWindowLongA(menuWindow, GWL_STYLE) & static_cast<LONG>(WS_BORDER)) == 0;
    m.key(VK_ESCAPE);
  });
  TrackPopupMenu(popup, TPM_RETURNCMD, 300, 300, 0, form->hWnd(), nullptr);
  MENUITEMINFOA mii;
  mii.fMask = MIIM_FTYPE;
  GetMenuItemInfoA(popup, 0, TRUE, &mii);
  EXPECT_TRUE(mii.fType & MFT_OWNERDRAW);
  EXPECT_GE(intercepted, 3u);  // the form, the strip and the menu window
  EXPECT_TRUE(flat);
  DestroyMenu(popup);
}

TEST_F(FormSkinBehaviour, TheIconShowsTheSystemMenuAndPostsTheChosenCommand) {
  auto& s = makeSkinned();
  ICONINFO info;
  info.hbmColor = CreateCompatibleBitmap(s.surface().hDC(), 32, 32);
  info.hbmMask = CreateCompatibleBitmap(s.surface().hDC(), 32, 32);
  s.setIcon(gfx::Picture::fromIcon(CreateIconIndirect(&info)));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  const Point icon = centre(Area::Icon);
  EXPECT_EQ(s.hitTest(icon.x, icon.y), Area::Icon);
  input.whileModal([](ui::TestInput& m) { m.key(VK_UP).key(VK_RETURN); });  // the last item: About
  input.moveTo(strip(), icon).press().release();
  input.pump();
  ASSERT_EQ(services.shell->requests.size(), 1u);
  EXPECT_EQ(services.shell->requests[0].file, formskin::ZorvaForm::kAboutAddress);
}

TEST_F(FormSkinBehaviour, TheCallbackByNameRefusesPointerMessagesAndRunsOthers) {
  auto& s = makeSkinned();
  const auto hwnd = static_cast<int32_t>(form->hWnd());
  EXPECT_THROW(host::callMethod(s, "zSubclass_Proc",
                                {true, false, int32_t{0}, hwnd, int32_t{WM_GETMINMAXINFO}, int32_t{0}, int32_t{1234}}),
               HostError);
  host::callMethod(s, "zSubclass_Proc", {true, false, int32_t{0}, hwnd, int32_t{WM_SYSCOMMAND}, int32_t{337}, int32_t{0}});
  EXPECT_EQ(services.shell->requests.size(), 1u);
}

TEST_F(FormSkinBehaviour, TearingDownTheFormWhileHoveredLeavesNothingBehind) {
  const Leftovers before;
  makeSkinned();
  input.moveTo(strip(), centre(Area::Close)).advance(1500);
  ASSERT_NE(skin().toolTipWindow(), 0u);
  form.reset();
  before.check();
  EXPECT_EQ(MessageInterceptor::entryPointsInUse(), 0);
  EXPECT_EQ(ui::hookCount(WH_CALLWNDPROC), 0u);
}

TEST_F(FormSkinBehaviour, AWronglyTypedValueInAFormFileNamesItsLine) {
  const std::string text =
      "ZorvaXP Form 1\nBegin Form frmX\n  BorderStyle = Integer 0\n  Begin ZorvaForm Skin\n    @Width = 6000\n"
      "    @Height = 675\n    TitleBarHeight = String \"tall\"\n  End\nEnd\n";
  EXPECT_EQ(loadErrorLine(text, library::classes()), 7);
}

}  // namespace
}  // namespace zxp::testing
