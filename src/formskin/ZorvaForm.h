// ZorvaForm: the form skin. Dropped on a borderless form, it docks to the form's top edge as a
// painted title strip (TitleBarHeight, clamped to 24..45 pixels): an angled gradient outlined in
// BorderColor with an EnhanceColor line and a light highlight, the icon, the caption (the form's
// caption, optionally shadowed) and the three caption buttons (minimise, maximise/restore,
// close), each a two-part vertical gradient in a double frame with its sign. The whole strip is
// composed off-screen and copied to the control in one step. One of seventeen themes fills the 59
// colour properties at once.
//
// It drives its form through the message interceptor (the form and its own window) and a thread
// hook (the menu windows): caption drag, minimise/maximise/restore/close on the real form,
// maximising to the work area at (0, 2), the system menu with an "About" item (337), owner-drawn
// menus, the button glow and 1500 ms tool tips as real layered and pop-up windows, semi-transparent
// frame pieces and a soft shadow as layered windows owned by the form that follow it.
//
// Our choices:
//   - Button faces: the outer frame leaves its four corner pixels out; the inner frame lies one
//     pixel inside. Signs are white shapes outlined in the sign's outer colour: a 2-pixel cross,
//     a box with a 2-pixel top bar (two such boxes offset for restore), a bar for minimise.
//   - The highlight is a 0xFEEAD1 line under the EnhanceColor line, its end pixels shifted by -25
//     and the pixels below them by -45.
//   - Frame pieces: 4-pixel strips to the left, right and below the form; the shadow: four strips
//     ShadowDepth thick around those, fading linearly outward from ShadowTransparency.
//   - The close button unloads the form after the current message is dispatched (the form's
//     requestUnload), so no window procedure of the form or the skin is on the stack meanwhile.
//   - The glow is the button's rectangle; the tool tip is the text's size plus 6 by 4 pixels.
//   - "About" in the system menu opens https://zorvaxp.example.org/.
//   - A caption button that is not drawn does not react: with FBSSingle only close, with FBSNone
//     (or any other value) no button takes hover, press or click; the strip there is title strip.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/ControlBase.h"
#include "foundation/ControlTimer.h"
#include "foundation/MessageInterceptor.h"
#include "foundation/clsHookingThunk.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Messages.h"

namespace zxp::formskin {

enum class eThemes : int32_t {
  eTQuorin = 1, eTVista = 2, eTModernXP = 3, eTGreen = 4, eTPink = 5, eTRed = 6, eTYellow = 7, eTGray = 8,
  eTBlackNWhite = 9, eTOrange = 10, eTPurple = 11, eTBrown = 12, eTLuminance = 13, eTGreenNLuminance = 14,
  eTBlackNLuminance = 15, eTBlueNLuminance = 16, eTPinkNYellow = 17
};
enum class FBorderStyles : int32_t { FBSSizable = 0, FBSSingle = 1, FBSNone = 2 };
enum class eCaptionAlign : int32_t { eCALeft = 0, eCACenter = 1, eCARight = 2 };
enum class eIconSize : int32_t { eIS16x16 = 16, eIS24x24 = 24, eIS32x32 = 32 };
enum class eGraidentDirection : int32_t { eGDVertical = 0, eGDHorizantal = 1 };

// Type information for the enumerations above (the interface's names and values).
const host::EnumType& describeEnum(eThemes);
const host::EnumType& describeEnum(FBorderStyles);
const host::EnumType& describeEnum(eCaptionAlign);
const host::EnumType& describeEnum(eIconSize);
const host::EnumType& describeEnum(eGraidentDirection);

// The colour properties, in the interface's order, with their defaults (theme 1).
#define ZXP_FORMSKIN_COLOURS(X)                                                                       \
  X(GradientColor1, 0xCFC5B0) X(GradientColor2, 0xE99227) X(CloseButtonGradientTop1, 0xA7B6EB)        \
  X(CloseButtonGradientBottom1, 0x2C49CF) X(CloseButtonGradientBottom2, 0x6D81C6)                     \
  X(CloseButtonOuterBorder, 0x414559) X(CloseButtonInnerBorder, 0xCCD3F4)                             \
  X(CloseSignOuterBorder, 0x665653) X(CloseSignInnerBorder, 0xFFFFFF) X(ButtonsGradientTop1, 0xDAC9B4) \
  X(ButtonsGradientBottom1, 0x966A3B) X(ButtonsGradientBottom2, 0x996733) X(ButtonsOuterBorder, 0x86582F) \
  X(ButtonsInnerBorder, 0xCFA277) X(ButtonsSignOuterBorder, 0x665653) X(ButtonsSignInnerBorder, 0xFFFFFF) \
  X(ButtonsGradientTop2, 0xCBA177) X(CloseButtonGradientTop2, 0x929FE4) X(BorderColor, 0x000000)      \
  X(EnhanceColor, 0x887D67) X(ShadowColor, 0x000000) X(HoverButtonsGradientTop1, 0xCFAC7A)            \
  X(HoverButtonsGradientTop2, 0xEBD4AD) X(HoverButtonsGradientBottom1, 0xA56D1E)                      \
  X(HoverButtonsGradientBottom2, 0xFBFD14) X(HoverCloseButtonGTop1, 0x8D9AEB)                         \
  X(HoverCloseButtonGTop2, 0x536AE5) X(HoverCloseButtonGBottom1, 0x0E26A9)                            \
  X(HoverCloseButtonGBottom2, 0x0000FF) X(ButtonsShadowColor, 0xF7F744) X(CloseButtonShadowColor, 0x7590FA) \
  X(MDownButtonsGradientTop1, 0xECD7B0) X(MDownButtonsGradientTop2, 0x91724F)                         \
  X(MDownButtonsGBottom1, 0x731C20) X(MDownButtonsGBottom2, 0xBCD517) X(MDownCloseButtonGTop1, 0x95ABD3) \
  X(MDownCloseButtonGTop2, 0x405687) X(MDownCloseButtonGBottom1, 0x0B174C)                            \
  X(MDownCloseButtonGBottom2, 0x0040C0) X(ForeColor, 0x000000) X(FShadowColor, 0xFFFFC0)              \
  X(MenuBorderColor, 0xA56E3A) X(MenuOffsetGradient1, 0xFCFADC) X(MenuOffsetGradient2, 0xFFBC86)      \
  X(MenuShadowColor, 0x000000) X(MenuSelectedGradient1, 0xFFFFFF) X(MenuSelectedGradient2, 0xFBB613)  \
  X(MenuSelectedBorderColor, 0xC47C24) X(MenuBackColor, 0xFFFAF4) X(MenuCheckBoxBorder, 0xC47C24)     \
  X(MenuCBoxNormalColor, 0xF9D6AA) X(MenuCBoxSelectedColor, 0xFCF9D8) X(MenuArrowColor, 0xAC5A11)     \
  X(MenuCheckArrowColor, 0xAC5A11) X(MenuForeColor, 0x000000) X(FormGradientColor1, 0xFFFFFF)         \
  X(FormGradientColor2, 0xFFBC86) X(ToolTipTextGradient1, 0xCFC5B0) X(ToolTipTextGradient2, 0xE99227) \
  X(ToolTipTextForeColor, 0xFFFFC0)

enum class Colour : uint8_t {
#define ZXP_X(name, def) name,
  ZXP_FORMSKIN_COLOURS(ZXP_X)
#undef ZXP_X
  Count
};
constexpr size_t kColourCount = static_cast<size_t>(Colour::Count);

// The areas of the strip: what the pointer is over or pressed on.
enum class Area : int32_t { None = -1, TitleBar = 0, Minimize = 1, Maximize = 2, Close = 3, Icon = 4 };
inline bool isButton(Area a) { return a == Area::Minimize || a == Area::Maximize || a == Area::Close; }

class ZorvaForm final : public foundation::ControlBase, public iSubclass {
 public:
  static constexpr UINT kAboutCommand = 337;
  static constexpr UINT kToolTipInterval = 1500;
  static constexpr const char* kAboutAddress = "https://zorvaxp.example.org/";
  static constexpr int kFramePiece = 4;  // thickness of the frame pieces

  ZorvaForm();
  ~ZorvaForm() override;

  // ---- Colour properties (typed) ----
#define ZXP_X(name, def)                                                     \
  OLE_COLOR name() const { return colours_[static_cast<size_t>(Colour::name)]; } \
  void set##name(OLE_COLOR New_##name) { letColour(Colour::name, New_##name, #name); }
  ZXP_FORMSKIN_COLOURS(ZXP_X)
#undef ZXP_X
  static OLE_COLOR defaultColour(Colour c);
  static const char* colourName(Colour c);
  OLE_COLOR colour(Colour c) const { return colours_[static_cast<size_t>(c)]; }

  // ---- Other properties ----
  float GradientAngle() const { return m_GradientAngle; }
  void setGradientAngle(float New_GradientAngle);
  int32_t TitleBarHeight() const { return m_TitleBarHeight; }
  void setTitleBarHeight(int32_t New_TitleBarHeight);
  bool EnabledClose() const { return m_EnabledClose; }
  void setEnabledClose(bool New_EnabledClose);
  bool EnabledMaximize() const { return m_EnabledMaximize; }
  void setEnabledMaximize(bool New_EnabledMaximize);
  bool EnabledMinimize() const { return m_EnabledMinimize; }
  void setEnabledMinimize(bool New_EnabledMinimize);
  FBorderStyles BorderStyle() const { return m_BorderStyle; }
  void setBorderStyle(FBorderStyles New_BorderStyle);
  int16_t TitleBarOpacity() const { return m_TitleBarOpacity; }
  void setTitleBarOpacity(int16_t New_TitleBarOpacity);
  int32_t ShadowDepth() const { return m_ShadowDepth; }
  void setShadowDepth(int32_t New_ShadowDepth);
  int32_t ShadowTransparency() const { return m_ShadowTransparency; }
  void setShadowTransparency(int32_t New_ShadowTransparency);
  int32_t ShadowOpacity4Buttons() const { return m_ShadowOpacity4Buttons; }
  void setShadowOpacity4Buttons(int32_t New_ShadowOpacity4Buttons);
  eCaptionAlign CaptionAlignment() const { return m_CaptionAlignment; }
  void setCaptionAlignment(eCaptionAlign New_CaptionAlignment);
  host::PictureRef Icon() const { return m_Icon; }
  void setIcon(host::PictureRef New_Icon);
  const std::string& Caption() const { return m_Caption; }
  void setCaption(const std::string& New_Caption);
  void setFont(host::FontRef New_Font);
  bool Shadow4Text() const { return m_Shadow4Text; }
  void setShadow4Text(bool New_Shadow4Text);
  eIconSize IconSize() const { return m_IconSize; }
  void setIconSize(eIconSize New_IconSize);
  eGraidentDirection MenuOffsetGradientDirection() const { return m_MenuOffsetGradientDirection; }
  void setMenuOffsetGradientDirection(eGraidentDirection v);
  eGraidentDirection MenuSelectedGradientDirection() const { return m_MenuSelectedGradientDirection; }
  void setMenuSelectedGradientDirection(eGraidentDirection v);
  bool MenuDisableSelecting() const { return m_MenuDisableSelecting; }
  void setMenuDisableSelecting(bool v);
  eGraidentDirection FormGradientDirection() const { return m_FormGradientDirection; }
  void setFormGradientDirection(eGraidentDirection v);
  bool FormGradient() const { return m_FormGradient; }
  void setFormGradient(bool v);
  bool UseSystemToolTipText() const { return m_UseSystemToolTipText; }
  void setUseSystemToolTipText(bool v);
  eGraidentDirection ToolTipTextGradientDirection() const { return m_ToolTipTextGradientDirection; }
  void setToolTipTextGradientDirection(eGraidentDirection v);
  const std::string& ToolTipTextForClose() const { return m_ToolTipTextForClose; }
  void setToolTipTextForClose(const std::string& v);
  const std::string& ToolTipTextForMinimize() const { return m_ToolTipTextForMinimize; }
  void setToolTipTextForMinimize(const std::string& v);
  const std::string& ToolTipTextForRestore() const { return m_ToolTipTextForRestore; }
  void setToolTipTextForRestore(const std::string& v);
  const std::string& ToolTipTextForMaxmize() const { return m_ToolTipTextForMaxmize; }
  void setToolTipTextForMaxmize(const std::string& v);
  host::FontRef ToolTipTextFont() const { return m_ToolTipTextFont; }
  void setToolTipTextFont(host::FontRef v);
  eThemes Themes() const { return m_Themes; }
  void setThemes(eThemes New_Themes);

  // ---- Methods ----
  void RedrawMe();
  void pvInitMe();
  void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& lng_hWnd, UINT& uMsg, WPARAM& wParam,
                      LPARAM& lParam) override;
  // The same callback by name (the member table's zSubclass_Proc): the arguments arrive by
  // value, so what the callback sets in bHandled and lReturn stays with the call.
  void zSubclass_ProcByName(bool bBefore, bool bHandled, int32_t lReturn, int32_t lng_hWnd, int32_t uMsg,
                            int32_t wParam, int32_t lParam);

  // ---- Events ----
  host::Event<> CloseButtonClick;
  host::Event<> MaximizeButtonClick;
  host::Event<> MinimizeButtonClick;
  host::Event<> RestoreButtonClick;

  // ---- State a host or a test may look at ----
  RECT buttonRect(Area a) const;
  Area hitTest(int x, int y) const;
  // Whether the caption button is drawn (and so hit-testable) with the current BorderStyle.
  bool buttonShown(Area a) const;
  Area hoveredArea() const { return hovered_; }
  Area pressedArea() const { return pressed_; }
  bool layeredWindowsUsable() const { return layered_; }
  HWND glowWindow() const { return glow_; }
  HWND toolTipWindow() const { return tip_.exists() ? tip_.hWnd() : 0; }
  HMENU systemMenu() const { return sysMenu_; }
  // The frame pieces (left, right, bottom) and shadow strips (left, top, right, bottom); 0 when
  // layered windows are not usable.
  const std::array<HWND, 3>& framePieces() const { return pieces_; }
  const std::array<HWND, 4>& shadowStrips() const { return shadows_; }
  const foundation::ControlTimer& toolTipTimer() const { return tmrToolTip; }
  const MessageInterceptor& interceptor() const { return subclass_; }
  const clsHookingThunk* menuHook() const { return menuHook_.get(); }
  // The caption as painted: the form's caption on a form, else Caption.
  std::string captionText() const;
  // Where the caption starts and the rectangle it is drawn in (after the rules above).
  RECT captionRect() const;
  // The per-theme colours (index 0 = theme 1), in Colour order; absent slots are not themed.
  static bool themed(Colour c);
  static OLE_COLOR themeColour(int theme, Colour c);

  const host::MemberTable& memberTable() const override;

 protected:
  void UserControl_Initialize() override;
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
  void UserControl_Resize() override;
  void UserControl_Terminate() override;
  void UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_LostFocus() override {}
  void redrawResting() override { RedrawMe(); }
  bool resizeRedrawsResting() const override { return true; }

 private:
  friend struct FormSkinPainter;
  void letColour(Colour c, OLE_COLOR v, const char* name);
  void setAll(const std::vector<std::pair<std::string, host::Variant>>& values);
  HWND formWindow() const;
  bool onForm() const;
  bool formMaximized() const;
  void startUp();
  void shutDown();
  void checksOnPlacing();
  void paintStrip(HDC dc) const;
  void drawButton(HDC dc, Area a, int state) const;
  void paintFormGradient(HDC dc, const RECT& r) const;
  void paintFormGradientNow();
  void applyFormRegion();
  void createLayeredWindows();
  void destroyLayeredWindows();
  void placeLayeredWindows();
  void paintPieces();
  void showGlow(Area a);
  void hideGlow();
  void showToolTip();
  void hideToolTip();
  void mouseMoveAt(int x, int y);
  void closeForm();
  void tmrToolTip_Timer();
  // The tool tip's face: its background, frame and centred text, on the tip's own surface.
  void paintToolTip(HDC dc, int w, int h, const std::string& text) const;
  void hookMenus(eHookType type, int16_t code, WPARAM wParam, LPARAM lParam);
  void initMenuPopup(HMENU menu);
  void measureItem(MEASUREITEMSTRUCT& mis);
  void drawItem(const DRAWITEMSTRUCT& dis);
  void menuWindowMessage(bool& bHandled, LRESULT& lReturn, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

  std::array<OLE_COLOR, kColourCount> colours_{};
  float m_GradientAngle = 270;
  int32_t m_TitleBarHeight = 45;
  bool m_EnabledClose = true;
  bool m_EnabledMaximize = true;
  bool m_EnabledMinimize = true;
  FBorderStyles m_BorderStyle = FBorderStyles::FBSSizable;
  int16_t m_TitleBarOpacity = 215;
  int32_t m_ShadowDepth = 7;
  int32_t m_ShadowTransparency = 120;
  int32_t m_ShadowOpacity4Buttons = 160;
  eCaptionAlign m_CaptionAlignment = eCaptionAlign::eCACenter;
  host::PictureRef m_Icon;
  std::string m_Caption = "Zorva Form";
  bool m_Shadow4Text = true;
  eIconSize m_IconSize = eIconSize::eIS32x32;
  eGraidentDirection m_MenuOffsetGradientDirection = eGraidentDirection::eGDHorizantal;
  eGraidentDirection m_MenuSelectedGradientDirection = eGraidentDirection::eGDVertical;
  bool m_MenuDisableSelecting = true;
  eGraidentDirection m_FormGradientDirection = eGraidentDirection::eGDVertical;
  bool m_FormGradient = true;
  bool m_UseSystemToolTipText = false;
  eGraidentDirection m_ToolTipTextGradientDirection = eGraidentDirection::eGDHorizantal;
  std::string m_ToolTipTextForClose = "Close";
  std::string m_ToolTipTextForMinimize = "Minimize";
  std::string m_ToolTipTextForRestore = "Restore";
  std::string m_ToolTipTextForMaxmize = "Maximize";
  host::FontRef m_ToolTipTextFont;
  eThemes m_Themes = eThemes::eTQuorin;

  // Window behaviour.
  MessageInterceptor subclass_{*this};
  std::unique_ptr<clsHookingThunk> menuHook_;
  host::Connection hookConnection_;
  foundation::ControlTimer tmrToolTip;
  foundation::SurfaceWindow tip_;
  Area hovered_ = Area::None;
  Area pressed_ = Area::None;
  Area glowFor_ = Area::None;
  bool inside_ = false;
  bool inMenuLoop_ = false;
  bool layered_ = true;
  bool started_ = false;
  bool loading_ = false;  // reading or initialising properties: no painting yet
  bool firstPosition_ = true;
  WINDOWPOS lastPos_{};
  HMENU sysMenu_ = 0;
  HWND glow_ = 0;
  std::array<HWND, 3> pieces_{};
  std::array<HWND, 4> shadows_{};
  std::vector<HWND> menuWindows_;
  std::vector<std::pair<HMENU, UINT>> ownerDrawn_;  // converted items (menu, position)
  std::vector<std::string> itemTexts_;              // their texts, by item data - 1
};

}  // namespace zxp::formskin
