#include "formskin/ZorvaForm.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "foundation/PenLines.h"
#include "foundation/modGradient.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/Form.h"
#include "platform/host/HostError.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/services/MessageBox.h"
#include "platform/services/Shell.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Screen.h"
#include "platform/ui/User.h"
#include "platform/ui/WindowClass.h"

namespace zxp::formskin {

using foundation::Redraw;

namespace {

// The colours every theme gives the same value.
constexpr std::pair<Colour, OLE_COLOR> kThemeCommon[] = {
    {Colour::CloseButtonGradientTop1, 0xA7B6EB},
    {Colour::CloseButtonGradientBottom1, 0x2C49CF},
    {Colour::CloseButtonGradientBottom2, 0x6D81C6},
    {Colour::CloseButtonOuterBorder, 0x414559},
    {Colour::CloseButtonInnerBorder, 0xCCD3F4},
    {Colour::CloseSignOuterBorder, 0x665653},
    {Colour::CloseSignInnerBorder, 0xFFFFFF},
    {Colour::ButtonsSignOuterBorder, 0x665653},
    {Colour::ButtonsSignInnerBorder, 0xFFFFFF},
    {Colour::EnhanceColor, 0x887D67},
    {Colour::ShadowColor, 0x000000},
    {Colour::HoverCloseButtonGTop1, 0x8D9AEB},
    {Colour::HoverCloseButtonGBottom1, 0x0E26A9},
    {Colour::HoverCloseButtonGBottom2, 0x0000FF},
    {Colour::CloseButtonShadowColor, 0x7590FA},
    {Colour::MDownButtonsGBottom2, 0xBCD517},
    {Colour::MDownCloseButtonGTop1, 0x95ABD3},
    {Colour::MDownCloseButtonGTop2, 0x405687},
    {Colour::MDownCloseButtonGBottom1, 0x0B174C},
    {Colour::MDownCloseButtonGBottom2, 0x0040C0},
    {Colour::ForeColor, 0x000000},
    {Colour::FShadowColor, 0xFFFFC0},
    {Colour::MenuOffsetGradient1, 0xFCFADC},
    {Colour::MenuShadowColor, 0x000000},
    {Colour::MenuCheckBoxBorder, 0xC47C24},
    {Colour::MenuCBoxNormalColor, 0xF9D6AA},
    {Colour::MenuCBoxSelectedColor, 0xFCF9D8},
    {Colour::MenuArrowColor, 0xAC5A11},
    {Colour::MenuCheckArrowColor, 0xAC5A11},
    {Colour::MenuForeColor, 0x000000},
    {Colour::ToolTipTextGradient1, 0xCFC5B0},
};
// The colours that differ by theme: one row per colour, one column per theme (1..17).
struct ThemeRow {
  Colour colour;
  std::array<OLE_COLOR, 17> values;
};
constexpr ThemeRow kThemeRows[] = {
    {Colour::GradientColor1, {0xCFC5B0, 0xCFC5B0, 0xFFBC86, 0xCFC5B0, 0xCFC5B0, 0xCFC5B0, 0xCFC5B0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xCFC5B0, 0xFFFFFF, 0xCFC5B0, 0xFFFF00, 0xFFFF80, 0xFFFF80, 0xC0FFFF}},
    {Colour::GradientColor2, {0xE99227, 0x000000, 0xBD7113, 0x00FF00, 0xFF80FF, 0x6B6FF8, 0x00FFFF, 0xE0E0E0, 0x000000, 0x0080FF, 0xFF6CB6, 0x5C5CA7, 0xFFFF00, 0x00FF00, 0x404040, 0xD09200, 0xFF80FF}},
    {Colour::ButtonsGradientTop1, {0xDAC9B4, 0xDAC9B4, 0xDAC9B4, 0xC0FFC0, 0xFFC0FF, 0xC0C0FF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xC0E0FF, 0xFFAAD5, 0xC7C7E2, 0xFFFF00, 0xFFFF00, 0xFFFF00, 0xFFFF00, 0xC0FFFF}},
    {Colour::ButtonsGradientBottom1, {0x966A3B, 0x000000, 0xBD7113, 0x008000, 0x800080, 0x0000C0, 0x00C0C0, 0x404040, 0x000000, 0x0040C0, 0xF00078, 0x343469, 0x9D9D00, 0x00C000, 0x404040, 0x956800, 0xFF80FF}},
    {Colour::ButtonsGradientBottom2, {0x996733, 0xB9AA95, 0xFBB613, 0x00FF00, 0xFF00FF, 0x8080FF, 0xFFFFFF, 0xE0E0E0, 0xFFFFFF, 0x80C0FF, 0xFF97CB, 0xA7A7D3, 0xFFFF0D, 0xFFFF00, 0xFFFF00, 0xFFFF00, 0x80FFFF}},
    {Colour::ButtonsOuterBorder, {0x86582F, 0x000000, 0xC00000, 0x008000, 0x800080, 0x000080, 0x008080, 0x000000, 0x000000, 0x0040C0, 0xD9006C, 0x6262AA, 0x797900, 0x808000, 0x404040, 0x86582F, 0xFF00FF}},
    {Colour::ButtonsInnerBorder, {0xCFA277, 0xCFA277, 0xCFA277, 0x00C000, 0xFFC0FF, 0x0080FF, 0x80FFFF, 0xFFFFFF, 0xFFFFFF, 0xC0E0FF, 0xFFCEE7, 0xD6D6E9, 0xFFFF80, 0xFFFF00, 0xFFFF00, 0xFFD87B, 0x80FFFF}},
    {Colour::ButtonsGradientTop2, {0xCBA177, 0x808080, 0xB46B12, 0x80FF80, 0xFF80FF, 0xC0C0FF, 0x80FFFF, 0x808080, 0xE0E0E0, 0x0080FF, 0xFF97CB, 0x9C9CCB, 0xD9D900, 0x00FF00, 0xC0C0C0, 0xFDB100, 0xFFC0FF}},
    {Colour::CloseButtonGradientTop2, {0x929FE4, 0x929FE4, 0x0000C0, 0x929FE4, 0x929FE4, 0x929FE4, 0x929FE4, 0x929FE4, 0x929FE4, 0x929FE4, 0x929FE4, 0x929FE4, 0x929FE4, 0x929FE4, 0x929FE4, 0x929FE4, 0x929FE4}},
    {Colour::BorderColor, {0x000000, 0x000000, 0xC00000, 0x008000, 0x800080, 0x0000C0, 0x004040, 0x000000, 0x000000, 0x0D5891, 0x860043, 0x26264D, 0x4F4F00, 0x004000, 0x000000, 0x000000, 0x800080}},
    {Colour::HoverButtonsGradientTop1, {0xCFAC7A, 0xCFAC7A, 0xDE8416, 0x00FF00, 0xCFAC7A, 0xC0C0FF, 0x00FFFF, 0xFFFFFF, 0xFFFFFF, 0x80C0FF, 0xFF80BF, 0x6363A9, 0xFFFF80, 0xC0FFC0, 0xC0C0C0, 0xFFB404, 0xC0FFFF}},
    {Colour::HoverButtonsGradientTop2, {0xEBD4AD, 0xEBD4AD, 0xF0B56C, 0xC0FFC0, 0xFFC0FF, 0x0040C0, 0x80FFFF, 0xE0E0E0, 0xFFFFFF, 0xC0E0FF, 0xFFB9DC, 0x9898C7, 0xFFFFC0, 0xFFFFC0, 0xE0E0E0, 0xFFCF60, 0xFFC0FF}},
    {Colour::HoverButtonsGradientBottom1, {0xA56D1E, 0xA56D1E, 0xF0B56C, 0x008000, 0x800080, 0x0E26A9, 0x00C0C0, 0xC0C0C0, 0x404040, 0x0F68AA, 0xF00078, 0x43437A, 0x8E8E00, 0x00C000, 0x404040, 0xB07B00, 0xFF80FF}},
    {Colour::HoverButtonsGradientBottom2, {0xFBFD14, 0xFBFD14, 0xF0B56C, 0xEAEA0B, 0xFBFD14, 0x0000FF, 0xFBFD14, 0xFBFD14, 0xFBFD14, 0xFBFD14, 0xFBFD14, 0xFBFD14, 0xFBFD14, 0xFBFD14, 0xFBFD14, 0xFBFD14, 0xFBFD14}},
    {Colour::HoverCloseButtonGTop2, {0x536AE5, 0x536AE5, 0x0000C0, 0x0000C0, 0x0000C0, 0x536AE5, 0x536AE5, 0x536AE5, 0x536AE5, 0x536AE5, 0x536AE5, 0x536AE5, 0x536AE5, 0x0000C0, 0x536AE5, 0x536AE5, 0x536AE5}},
    {Colour::ButtonsShadowColor, {0xF7F744, 0xF7F744, 0xF7F744, 0xEAEA0B, 0xF7F744, 0x80C0FF, 0xF7F744, 0xFFFFC0, 0xFFFF80, 0x0080FF, 0xF7F744, 0xF7F744, 0xF7F744, 0xF7F744, 0xFFFF80, 0xF7F744, 0xF7F744}},
    {Colour::MDownButtonsGradientTop1, {0xECD7B0, 0xECD7B0, 0xECD7B0, 0xC0FFC0, 0xFF00FF, 0x0000C0, 0x80FFFF, 0xFFFFFF, 0xFFFFFF, 0x80C0FF, 0xFF9DCE, 0x9A9AC9, 0xFFFF00, 0xBCD517, 0xFFFF80, 0xFFFFC0, 0x80FFFF}},
    {Colour::MDownButtonsGradientTop2, {0x91724F, 0x91724F, 0x91724F, 0x008000, 0xC000C0, 0x0000C0, 0x008080, 0xC0C0C0, 0xFFFFFF, 0x0080FF, 0xFF208F, 0x5858A5, 0xB0B000, 0xB0B000, 0x808080, 0xFFBA1A, 0xFF80FF}},
    {Colour::MDownButtonsGBottom1, {0x731C20, 0x731C20, 0x731C20, 0x008000, 0x800080, 0x070B96, 0x008080, 0x808080, 0x000000, 0x106FB4, 0xD9006C, 0x42427B, 0x808000, 0x159337, 0x404040, 0x865E00, 0x800080}},
    {Colour::MenuBorderColor, {0xA56E3A, 0xA56E3A, 0xA56E3A, 0x008000, 0x800080, 0x0A13CF, 0x008080, 0x808080, 0x000000, 0x0040C0, 0xAA0059, 0x54549C, 0xB0B000, 0xB0B000, 0x000000, 0xA56E3A, 0xFF00FF}},
    {Colour::MenuOffsetGradient2, {0xFFBC86, 0x404040, 0xFFBC86, 0x2EE92E, 0xFF00FF, 0x0000FF, 0x00FFFF, 0xC0C0C0, 0x404040, 0x0080FF, 0xFF7BBD, 0x7373B5, 0xFFFF00, 0x80FF80, 0x808080, 0xE19D00, 0xFF80FF}},
    {Colour::MenuSelectedGradient1, {0xFFFFFF, 0xFEFDD6, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFC0, 0xFFFFC0, 0xFFFFC0, 0xC0FFFF}},
    {Colour::MenuSelectedGradient2, {0xFBB613, 0x808080, 0xFBB613, 0x2EE92E, 0xFF80FF, 0xC0C0FF, 0x80FFFF, 0xE0E0E0, 0xC0C0C0, 0x0080FF, 0xFF7BBD, 0x8585BE, 0xFFFF80, 0x80FF80, 0x808080, 0xFBB613, 0xFF80FF}},
    {Colour::MenuSelectedBorderColor, {0xC47C24, 0xC47C24, 0xC47C24, 0x12A712, 0xC000C0, 0x0C17F1, 0x00C0C0, 0xC0C0C0, 0x000000, 0x0080FF, 0xE10076, 0x6A6AAE, 0xD5D500, 0xD5D500, 0x404040, 0xFBB613, 0xFF80FF}},
    {Colour::MenuBackColor, {0xFFFAF4, 0xE9E3DC, 0xFFFFFF, 0xF1FEF1, 0xFEF0FF, 0xE9EAFE, 0xF1FEFE, 0xFFFAF4, 0xFFFFFF, 0xF1F9FE, 0xFFF0F8, 0xF1F1F8, 0xFFFFEA, 0xFFFFEA, 0xFAFCE4, 0xFEFDDE, 0xF1FEFE}},
    {Colour::FormGradientColor1, {0xFFFFFF, 0xDAD2C5, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFC0, 0xFFFFC0, 0xFFFFC0, 0xC0FFFF}},
    {Colour::FormGradientColor2, {0xFFBC86, 0x808080, 0xE0B08F, 0x00FF00, 0xFF00FF, 0x6B6FF8, 0x80FFFF, 0xC0C0C0, 0x000000, 0x0080FF, 0xFF8EC7, 0x7979B7, 0xFFFF40, 0x00FF00, 0x808080, 0xFFB811, 0xFFC0FF}},
    {Colour::ToolTipTextGradient2, {0xE99227, 0x808080, 0xEDA650, 0x2EE92E, 0xFF00FF, 0x8689F9, 0xE99227, 0x808080, 0x000000, 0x0080FF, 0xFF59AC, 0x7676B6, 0xFFFF57, 0xFFFF00, 0x808080, 0xFFBA1A, 0xFF80FF}},
};

constexpr OLE_COLOR kDefaults[] = {
#define ZXP_X(name, def) def,
    ZXP_FORMSKIN_COLOURS(ZXP_X)
#undef ZXP_X
};
constexpr const char* kNames[] = {
#define ZXP_X(name, def) #name,
    ZXP_FORMSKIN_COLOURS(ZXP_X)
#undef ZXP_X
};
static_assert(std::size(kDefaults) == 60, "60 colour properties");
static_assert(std::size(kThemeCommon) + std::size(kThemeRows) == 59, "59 themed colours");

constexpr COLORREF kHighlight = 0xFEEAD1;
constexpr const char* kCheckTitle = "Hai Developer ! , Make your attention about below.";
constexpr const char* kLayerClass = "ZorvaFormLayer";
constexpr int kMinTitle = 24;
constexpr int kMaxTitle = 45;
constexpr DWORD kLayerExStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT;

// A colour as the drawing uses it (system colours translated), shifted by `by` on each of R, G
// and B, each clamped to 0..255.
COLORREF shiftColour(OLE_COLOR c, int by) {
  const COLORREF rgb = translateColor(c);
  auto ch = [&](int shift) { return std::clamp(static_cast<int>((rgb >> shift) & 0xFF) + by, 0, 255) << shift; };
  return static_cast<COLORREF>(ch(0) | ch(8) | ch(16));
}

// The channel of a colour at position i of n along a run from a to b.
COLORREF blend(COLORREF a, COLORREF b, int i, int n) {
  if (n <= 1) return a;
  auto ch = [&](int shift) {
    const int ca = static_cast<int>((a >> shift) & 0xFF), cb = static_cast<int>((b >> shift) & 0xFF);
    return (ca + (cb - ca) * i / (n - 1)) << shift;
  };
  return static_cast<COLORREF>(ch(0) | ch(8) | ch(16));
}

void fill(HDC dc, COLORREF c, int l, int t, int r, int b) { foundation::fillSolid(dc, c, RECT{l, t, r, b}); }

// A two-colour gradient by the platform's gradient fill, vertical (top to bottom) or horizontal.
void gradientRect(HDC dc, const RECT& r, OLE_COLOR c1, OLE_COLOR c2, eGraidentDirection d) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  const COLORREF a = translateColor(c1), b = translateColor(c2);
  TRIVERTEX v[2];
  v[0].x = r.left;
  v[0].y = r.top;
  v[0].Red = static_cast<COLOR16>((a & 0xFF) << 8);
  v[0].Green = static_cast<COLOR16>(((a >> 8) & 0xFF) << 8);
  v[0].Blue = static_cast<COLOR16>(((a >> 16) & 0xFF) << 8);
  v[1].x = r.right;
  v[1].y = r.bottom;
  v[1].Red = static_cast<COLOR16>((b & 0xFF) << 8);
  v[1].Green = static_cast<COLOR16>(((b >> 8) & 0xFF) << 8);
  v[1].Blue = static_cast<COLOR16>(((b >> 16) & 0xFF) << 8);
  GRADIENT_RECT gr{0, 1};
  GradientFill(dc, v, 2, &gr, 1, d == eGraidentDirection::eGDHorizantal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
}

LRESULT layerProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCHITTEST) return HTTRANSPARENT;
  return DefWindowProcA(h, msg, wParam, lParam);
}

void registerLayerClass() { ui::registerClassOnce(kLayerClass, layerProc); }

HWND createLayer(HWND owner) {
  registerLayerClass();
  return CreateWindowExA(kLayerExStyle, kLayerClass, "", WS_POPUP, 0, 0, 1, 1, owner, 0, 0, nullptr);
}

bool isButton(Area a) { return a == Area::Minimize || a == Area::Maximize || a == Area::Close; }

}  // namespace

// ---- Colours and themes -------------------------------------------------------------------------

OLE_COLOR ZorvaForm::defaultColour(Colour c) { return kDefaults[static_cast<size_t>(c)]; }
const char* ZorvaForm::colourName(Colour c) { return kNames[static_cast<size_t>(c)]; }

bool ZorvaForm::themed(Colour c) {
  for (const auto& [slot, v] : kThemeCommon)
    if (slot == c) return true;
  for (const auto& row : kThemeRows)
    if (row.colour == c) return true;
  return false;
}

OLE_COLOR ZorvaForm::themeColour(int theme, Colour c) {
  for (const auto& [slot, v] : kThemeCommon)
    if (slot == c) return v;
  for (const auto& row : kThemeRows)
    if (row.colour == c && theme >= 1 && theme <= 17) return row.values[static_cast<size_t>(theme - 1)];
  return defaultColour(c);
}

ZorvaForm::ZorvaForm() : tmrToolTip("tmrToolTip", kToolTipInterval) {
  for (size_t i = 0; i < kColourCount; ++i) colours_[i] = kDefaults[i];
  tmrToolTip.Timer.connect([this] { tmrToolTip_Timer(); });
}

ZorvaForm::~ZorvaForm() { shutDown(); }

void ZorvaForm::letColour(Colour c, OLE_COLOR v, const char* name) {
  colours_[static_cast<size_t>(c)] = v;
  RedrawMe();
  PropertyChanged(name);
}

void ZorvaForm::setThemes(eThemes New_Themes) {
  m_Themes = New_Themes;
  const int t = static_cast<int>(New_Themes);
  if (t >= 1 && t <= 17) {
    for (const auto& [slot, v] : kThemeCommon) colours_[static_cast<size_t>(slot)] = v;
    for (const auto& row : kThemeRows) colours_[static_cast<size_t>(row.colour)] = row.values[static_cast<size_t>(t - 1)];
  }
  RedrawMe();
  paintPieces();
  PropertyChanged("Themes");
}

// ---- Other properties ---------------------------------------------------------------------------

void ZorvaForm::setGradientAngle(float v) { letProperty(m_GradientAngle, v, "GradientAngle", Redraw::Resting); }
void ZorvaForm::setTitleBarHeight(int32_t v) { letProperty(m_TitleBarHeight, v, "TitleBarHeight", Redraw::Resting); }
void ZorvaForm::setEnabledClose(bool v) { letProperty(m_EnabledClose, v, "EnabledClose", Redraw::Resting); }
void ZorvaForm::setEnabledMaximize(bool v) { letProperty(m_EnabledMaximize, v, "EnabledMaximize", Redraw::Resting); }
void ZorvaForm::setEnabledMinimize(bool v) { letProperty(m_EnabledMinimize, v, "EnabledMinimize", Redraw::Resting); }
void ZorvaForm::setBorderStyle(FBorderStyles v) { letProperty(m_BorderStyle, v, "BorderStyle", Redraw::Resting); }
void ZorvaForm::setTitleBarOpacity(int16_t v) {
  m_TitleBarOpacity = v;
  RedrawMe();
  paintPieces();
  PropertyChanged("TitleBarOpacity");
}
void ZorvaForm::setShadowDepth(int32_t v) {
  m_ShadowDepth = v;
  RedrawMe();
  placeLayeredWindows();
  PropertyChanged("ShadowDepth");
}
void ZorvaForm::setShadowTransparency(int32_t v) {
  m_ShadowTransparency = v;
  RedrawMe();
  paintPieces();
  PropertyChanged("ShadowTransparency");
}
void ZorvaForm::setShadowOpacity4Buttons(int32_t v) {
  letProperty(m_ShadowOpacity4Buttons, v, "ShadowOpacity4Buttons", Redraw::Resting);
}
void ZorvaForm::setCaptionAlignment(eCaptionAlign v) {
  letProperty(m_CaptionAlignment, v, "CaptionAlignment", Redraw::Resting);
}
void ZorvaForm::setIcon(host::PictureRef v) { letProperty(m_Icon, std::move(v), "Icon", Redraw::Resting); }
void ZorvaForm::setCaption(const std::string& v) { letProperty(m_Caption, v, "Caption", Redraw::Resting); }
void ZorvaForm::setFont(host::FontRef v) {
  UserControl.setFont(std::move(v));
  RedrawMe();
  PropertyChanged("Font");
}
void ZorvaForm::setShadow4Text(bool v) { letProperty(m_Shadow4Text, v, "Shadow4Text", Redraw::Resting); }
void ZorvaForm::setIconSize(eIconSize v) { letProperty(m_IconSize, v, "IconSize", Redraw::Resting); }
void ZorvaForm::setMenuOffsetGradientDirection(eGraidentDirection v) {
  letProperty(m_MenuOffsetGradientDirection, v, "MenuOffsetGradientDirection", Redraw::Resting);
}
void ZorvaForm::setMenuSelectedGradientDirection(eGraidentDirection v) {
  letProperty(m_MenuSelectedGradientDirection, v, "MenuSelectedGradientDirection", Redraw::Resting);
}
void ZorvaForm::setMenuDisableSelecting(bool v) {
  letProperty(m_MenuDisableSelecting, v, "MenuDisableSelecting", Redraw::Resting);
}
void ZorvaForm::setFormGradientDirection(eGraidentDirection v) {
  letProperty(m_FormGradientDirection, v, "FormGradientDirection", Redraw::Resting);
}
void ZorvaForm::setFormGradient(bool v) {
  m_FormGradient = v;
  RedrawMe();
  // Without the gradient the form paints its own background again.
  if (!v && onForm() && !loading_) InvalidateRect(formWindow(), nullptr, TRUE);
  PropertyChanged("FormGradient");
}
void ZorvaForm::setUseSystemToolTipText(bool v) {
  letProperty(m_UseSystemToolTipText, v, "UseSystemToolTipText", Redraw::Resting);
}
void ZorvaForm::setToolTipTextGradientDirection(eGraidentDirection v) {
  letProperty(m_ToolTipTextGradientDirection, v, "ToolTipTextGradientDirection", Redraw::Resting);
}
void ZorvaForm::setToolTipTextForClose(const std::string& v) {
  letProperty(m_ToolTipTextForClose, v, "ToolTipTextForClose", Redraw::Resting);
}
void ZorvaForm::setToolTipTextForMinimize(const std::string& v) {
  letProperty(m_ToolTipTextForMinimize, v, "ToolTipTextForMinimize", Redraw::Resting);
}
void ZorvaForm::setToolTipTextForRestore(const std::string& v) {
  letProperty(m_ToolTipTextForRestore, v, "ToolTipTextForRestore", Redraw::Resting);
}
void ZorvaForm::setToolTipTextForMaxmize(const std::string& v) {
  letProperty(m_ToolTipTextForMaxmize, v, "ToolTipTextForMaxmize", Redraw::Resting);
}
void ZorvaForm::setToolTipTextFont(host::FontRef v) {
  letProperty(m_ToolTipTextFont, std::move(v), "ToolTipTextFont", Redraw::Resting);
}

// ---- Persistence --------------------------------------------------------------------------------
// Every property persists under its own name, in the member table's (published) order. The
// defaults are those of a new control; the fonts default to the container's ambient font.

namespace {
const std::vector<host::Variant>& propertyDefaults() {
  static const std::vector<host::Variant> d = [] {
    std::vector<host::Variant> out;
    ZorvaForm fresh;
    for (const host::Member& m : fresh.memberTable().members())
      if (m.kind == host::MemberKind::Property) out.push_back(m.get(fresh));
    return out;
  }();
  return d;
}
}  // namespace

void ZorvaForm::UserControl_InitProperties() {
  loading_ = true;
  for (size_t i = 0; i < kColourCount; ++i) colours_[i] = kDefaults[i];
  UserControl.setFont(Ambient().Font);
  m_ToolTipTextFont = Ambient().Font;
  loading_ = false;
  startUp();
  checksOnPlacing();
}

void ZorvaForm::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  loading_ = true;
  const auto& defaults = propertyDefaults();
  size_t i = 0;
  for (const host::Member& m : memberTable().members()) {
    if (m.kind != host::MemberKind::Property) continue;
    const host::Variant& def = defaults[i++];
    if (m.name == "Font") {
      UserControl.setFont(PropBag.read<host::FontRef>("Font", Ambient().Font));
    } else if (m.name == "ToolTipTextFont") {
      m_ToolTipTextFont = PropBag.read<host::FontRef>("ToolTipTextFont", Ambient().Font);
    } else if (m.name == "Themes") {
      // The persisted colours win: reading the theme does not apply it again.
      m_Themes = static_cast<eThemes>(PropBag.read<int32_t>("Themes", 1));
    } else {
      m.let(*this, PropBag.ReadProperty(m.name, def));
    }
  }
  loading_ = false;
  startUp();
}

void ZorvaForm::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  const auto& defaults = propertyDefaults();
  size_t i = 0;
  for (const host::Member& m : memberTable().members()) {
    if (m.kind != host::MemberKind::Property) continue;
    const host::Variant& def = defaults[i++];
    if (m.name == "Font" || m.name == "ToolTipTextFont")
      PropBag.WriteProperty(m.name, m.get(*this));
    else
      PropBag.WriteProperty(m.name, m.get(*this), def);
  }
}

// ---- Lifecycle ----------------------------------------------------------------------------------

void ZorvaForm::UserControl_Initialize() { UserControl.setBackColor(GradientColor1()); }

HWND ZorvaForm::formWindow() const {
  const host::Extender* e = extender();
  return e && e->Parent() ? e->Parent()->hWnd() : 0;
}

bool ZorvaForm::onForm() const { return formWindow() != 0; }

bool ZorvaForm::formMaximized() const { return onForm() && IsZoomed(formWindow()); }

void ZorvaForm::pvInitMe() {
  host::Extender* e = extender();
  if (!e) return;
  const HWND form = formWindow();
  try {
    e->setAlign(form && GetMenu(form) ? host::Align::vbAlignNone : host::Align::vbAlignTop);
  } catch (const HostError&) {
    // A container that does not let the control align keeps it where it is.
  }
}

void ZorvaForm::startUp() {
  if (started_) return;
  started_ = true;
  // 1. Layered windows need version 5 or later and at least 16 bits per pixel.
  layered_ = (GetVersion() & 0xFF) >= 5 && GetDeviceCaps(UserControl.hDC(), BITSPIXEL) >= 16;
  pvInitMe();
  const HWND form = formWindow();
  if (form) {
    // 2. The system menu gets "About".
    sysMenu_ = GetSystemMenu(form, FALSE);
    if (sysMenu_) AppendMenuA(sysMenu_, MF_STRING, kAboutCommand, "About");
    // 3. The form and the control's own window are intercepted.
    subclass_.SubclassWindow(form);
    subclass_.SubclassWindow(UserControl.hWnd());
    if (UserMode()) {
      // 4. What the skin watches.
      subclass_.AddMessage(form, WM_WINDOWPOSCHANGED, MSG_BEFORE_AND_AFTER);
      for (UINT m : {WM_SIZE, WM_GETMINMAXINFO, WM_SYSCOMMAND}) subclass_.AddMessage(form, static_cast<int32_t>(m), MSG_BEFORE);
      for (UINT m : {WM_MOUSELEAVE, WM_MOUSEMOVE}) subclass_.AddMessage(UserControl.hWnd(), static_cast<int32_t>(m), MSG_BEFORE);
      for (UINT m : {WM_PAINT, WM_INITMENUPOPUP, WM_MEASUREITEM, WM_DRAWITEM, WM_ENTERMENULOOP, WM_EXITMENULOOP})
        subclass_.AddMessage(form, static_cast<int32_t>(m), MSG_BEFORE);
      // 5. Frame pieces, shadow and the hook for the menu windows.
      createLayeredWindows();
      menuHook_ = std::make_unique<clsHookingThunk>();
      menuHook_->zProcessHooking.connect([this](eHookType& t, int16_t& code, WPARAM& w, LPARAM& l) {
        hookMenus(t, code, w, l);
      });
      const host::Extender* e = extender();
      menuHook_->pvAttachHook(eHookType::WH_CALLWNDPROC, e->Parent()->Caption(), e->Parent()->Name());
      // The form is where it is: the pieces take their places now.
      RECT wr;
      GetWindowRect(form, &wr);
      lastPos_.hwnd = form;
      lastPos_.x = wr.left;
      lastPos_.y = wr.top;
      lastPos_.cx = wr.right - wr.left;
      lastPos_.cy = wr.bottom - wr.top;
      applyFormRegion();
      placeLayeredWindows();
    }
  }
  RedrawMe();
}

void ZorvaForm::checksOnPlacing() {
  const host::Extender* e = extender();
  if (e && e->Parent()) {
    int skins = 0;
    for (const host::Extender* c : e->Parent()->Controls()) skins += dynamic_cast<const ZorvaForm*>(&c->object()) != nullptr;
    if (skins > 1)
      MsgBox("Do not use two at one time ZorvaForms for best performance.\nUsing two forms at one time may cause to "
             "crash your whole application.",
             vbExclamation, kCheckTitle);
  }
  if (!layered_) MsgBox("Your windows flatform do not support for best performance of the ZorvaForm", vbOKOnly, kCheckTitle);
}

void ZorvaForm::shutDown() {
  tmrToolTip.setEnabled(false);
  hideToolTip();
  hideGlow();
  if (menuHook_) {
    menuHook_->pvDeattachHook(eHookType::WH_CALLWNDPROC);
    menuHook_.reset();
  }
  subclass_.UnsubclassAll();
  destroyLayeredWindows();
  if (sysMenu_ && IsMenu(sysMenu_)) {
    const HWND form = formWindow();
    if (form && IsWindow(form)) GetSystemMenu(form, TRUE);
  }
  sysMenu_ = 0;
  menuWindows_.clear();
}

void ZorvaForm::UserControl_Terminate() { shutDown(); }

void ZorvaForm::UserControl_Resize() { RedrawMe(); }

// ---- Painting -----------------------------------------------------------------------------------

RECT ZorvaForm::buttonRect(Area a) const {
  const int w = ScaleWidth();
  const RECT close{w - 50, 1, w - 8, 16};
  const RECT max{close.left - 27, 1, close.left + 2, 16};
  const RECT min{max.left - 27, 1, max.left + 2, 16};
  switch (a) {
    case Area::Close: return close;
    case Area::Maximize: return max;
    case Area::Minimize: return min;
    case Area::Icon: {
      const int size = static_cast<int>(m_IconSize);
      const int top = static_cast<int>(std::nearbyint((ScaleHeight() - size) / 2.0));
      return RECT{10, top, 10 + size, top + size};
    }
    default: return RECT{0, 0, w, ScaleHeight()};
  }
}

Area ZorvaForm::hitTest(int x, int y) const {
  auto in = [&](Area a) {
    const RECT r = buttonRect(a);
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
  };
  if (m_BorderStyle == FBorderStyles::FBSSizable && in(Area::Minimize)) return Area::Minimize;
  if (in(Area::Maximize)) return Area::Maximize;
  if (in(Area::Close)) return Area::Close;
  if (!m_Icon.empty() && onForm() && in(Area::Icon)) return Area::Icon;
  return Area::TitleBar;
}

std::string ZorvaForm::captionText() const {
  const host::Extender* e = extender();
  return e && e->Parent() ? e->Parent()->Caption() : m_Caption;
}

RECT ZorvaForm::captionRect() const {
  const int w = ScaleWidth(), h = ScaleHeight();
  int limit = w;
  if (m_BorderStyle == FBorderStyles::FBSSizable) limit = buttonRect(Area::Minimize).left;
  else if (m_BorderStyle == FBorderStyles::FBSSingle) limit = buttonRect(Area::Close).left;
  const std::string text = captionText();
  SIZE size{0, 0};
  {
    HDC dc = UserControl.hDC();
    GetTextExtentPoint32(dc, text.data(), static_cast<int>(text.size()), &size);
  }
  const bool icon = !m_Icon.empty() && onForm();
  int start;
  int right = limit;
  switch (m_CaptionAlignment) {
    case eCaptionAlign::eCALeft: start = icon ? static_cast<int>(m_IconSize) + 10 + 5 : 5; break;
    case eCaptionAlign::eCARight:
      start = limit - 5 - size.cx;
      right = limit - 5;
      break;
    default: start = static_cast<int>(std::nearbyint((limit - size.cx) / 2.0)); break;
  }
  if (start < 10) start = 10;
  return RECT{start, 0, std::max(start, right), h};
}

void ZorvaForm::paintStrip(HDC dc) const {
  const int w = ScaleWidth(), h = ScaleHeight();
  GradientFillAngle(dc, w, h, GradientColor1(), GradientColor2(), m_GradientAngle);
  const COLORREF border = translateColor(BorderColor()), enhance = translateColor(EnhanceColor());
  // The outline, its top corners cut by one pixel; the enhance line inside it.
  fill(dc, border, 1, 0, w - 1, 1);
  fill(dc, border, 0, 1, 1, h);
  fill(dc, border, w - 1, 1, w, h);
  fill(dc, border, 0, h - 1, w, h);
  fill(dc, enhance, 2, 1, w - 2, 2);
  fill(dc, enhance, 1, 2, 2, h - 1);
  fill(dc, enhance, w - 2, 2, w - 1, h - 1);
  // The highlight under the enhance line, darker at its ends.
  fill(dc, kHighlight, 3, 2, w - 3, 3);
  SetPixelV(dc, 2, 2, shiftColour(kHighlight, -25));
  SetPixelV(dc, w - 3, 2, shiftColour(kHighlight, -25));
  SetPixelV(dc, 2, 3, shiftColour(kHighlight, -45));
  SetPixelV(dc, w - 3, 3, shiftColour(kHighlight, -45));
  // Icon and caption.
  if (!m_Icon.empty() && onForm()) {
    const RECT r = buttonRect(Area::Icon);
    DrawIconEx(dc, r.left, r.top, static_cast<HICON>(m_Icon.Handle()), r.right - r.left, r.bottom - r.top, 0, 0,
               DI_NORMAL);
  }
  const std::string text = captionText();
  const RECT cr = captionRect();
  SetBkMode(dc, TRANSPARENT);
  constexpr UINT kFlags = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX;
  if (m_Shadow4Text) {
    RECT s{cr.left + 1, cr.top + 1, cr.right + 1, cr.bottom + 1};
    SetTextColor(dc, translateColor(FShadowColor()));
    DrawText(dc, text, &s, kFlags);
  }
  RECT t = cr;
  SetTextColor(dc, translateColor(ForeColor()));
  DrawText(dc, text, &t, kFlags);
  // The caption buttons.
  if (m_BorderStyle == FBorderStyles::FBSSizable) {
    drawButton(dc, Area::Close, 0);
    drawButton(dc, Area::Maximize, 0);
    drawButton(dc, Area::Minimize, 0);
  } else if (m_BorderStyle == FBorderStyles::FBSSingle) {
    drawButton(dc, Area::Close, 0);
  }
}

void ZorvaForm::drawButton(HDC dc, Area a, int state) const {
  const bool close = a == Area::Close;
  Colour t1, t2, b1, b2;
  if (close) {
    t1 = state == 1 ? Colour::HoverCloseButtonGTop1 : state == 2 ? Colour::MDownCloseButtonGTop1 : Colour::CloseButtonGradientTop1;
    t2 = state == 1 ? Colour::HoverCloseButtonGTop2 : state == 2 ? Colour::MDownCloseButtonGTop2 : Colour::CloseButtonGradientTop2;
    b1 = state == 1 ? Colour::HoverCloseButtonGBottom1
                    : state == 2 ? Colour::MDownCloseButtonGBottom1 : Colour::CloseButtonGradientBottom1;
    b2 = state == 1 ? Colour::HoverCloseButtonGBottom2
                    : state == 2 ? Colour::MDownCloseButtonGBottom2 : Colour::CloseButtonGradientBottom2;
  } else {
    t1 = state == 1 ? Colour::HoverButtonsGradientTop1 : state == 2 ? Colour::MDownButtonsGradientTop1 : Colour::ButtonsGradientTop1;
    t2 = state == 1 ? Colour::HoverButtonsGradientTop2 : state == 2 ? Colour::MDownButtonsGradientTop2 : Colour::ButtonsGradientTop2;
    b1 = state == 1 ? Colour::HoverButtonsGradientBottom1 : state == 2 ? Colour::MDownButtonsGBottom1 : Colour::ButtonsGradientBottom1;
    b2 = state == 1 ? Colour::HoverButtonsGradientBottom2 : state == 2 ? Colour::MDownButtonsGBottom2 : Colour::ButtonsGradientBottom2;
  }
  const COLORREF outer = translateColor(colour(close ? Colour::CloseButtonOuterBorder : Colour::ButtonsOuterBorder));
  const COLORREF inner = translateColor(colour(close ? Colour::CloseButtonInnerBorder : Colour::ButtonsInnerBorder));
  const COLORREF signOut = translateColor(colour(close ? Colour::CloseSignOuterBorder : Colour::ButtonsSignOuterBorder));
  const COLORREF signIn = translateColor(colour(close ? Colour::CloseSignInnerBorder : Colour::ButtonsSignInnerBorder));
  const RECT r = buttonRect(a);
  const int l = r.left, tp = r.top, rt = r.right, bt = r.bottom;
  // Face: one line per row, the top half from t1 to t2, the bottom half from b1 to b2.
  const int rows = bt - tp - 2, half = rows / 2;
  for (int i = 0; i < rows; ++i) {
    const COLORREF c = i < half ? blend(translateColor(colour(t1)), translateColor(colour(t2)), i, half)
                                : blend(translateColor(colour(b1)), translateColor(colour(b2)), i - half, rows - half);
    fill(dc, c, l + 1, tp + 1 + i, rt - 1, tp + 2 + i);
  }
  // Outer frame without its corner pixels, inner frame one pixel inside.
  fill(dc, outer, l + 1, tp, rt - 1, tp + 1);
  fill(dc, outer, l + 1, bt - 1, rt - 1, bt);
  fill(dc, outer, l, tp + 1, l + 1, bt - 1);
  fill(dc, outer, rt - 1, tp + 1, rt, bt - 1);
  foundation::drawOutline(dc, inner, l + 1, tp + 1, rt - 1, bt - 1);
  // The sign, centred.
  const int cx = (l + rt) / 2, cy = (tp + bt) / 2;
  auto box = [&](int x0, int y0, int x1, int y1) {
    foundation::drawOutline(dc, signOut, x0 - 1, y0 - 1, x1 + 1, y1 + 1);
    fill(dc, signIn, x0, y0, x1, y0 + 2);
    fill(dc, signIn, x0, y0, x0 + 1, y1);
    fill(dc, signIn, x1 - 1, y0, x1, y1);
    fill(dc, signIn, x0, y1 - 1, x1, y1);
    foundation::drawOutline(dc, signOut, x0 + 1, y0 + 2, x1 - 1, y1 - 1);
  };
  if (a == Area::Close) {
    for (int k = 0; k < 7; ++k) {
      for (int x : {cx - 4 + k, cx + 2 - k}) fill(dc, signOut, x - 1, cy - 4 + k, x + 3, cy - 2 + k);
    }
    for (int k = 0; k < 7; ++k) {
      for (int x : {cx - 4 + k, cx + 2 - k}) fill(dc, signIn, x, cy - 3 + k, x + 2, cy - 2 + k);
    }
  } else if (a == Area::Maximize) {
    if (formMaximized()) {
      box(cx - 2, cy - 5, cx + 5, cy + 1);
      box(cx - 5, cy - 2, cx + 2, cy + 4);
    } else {
      box(cx - 5, cy - 4, cx + 5, cy + 4);
    }
  } else if (a == Area::Minimize) {
    fill(dc, signOut, cx - 5, cy + 1, cx + 5, cy + 5);
    fill(dc, signIn, cx - 4, cy + 2, cx + 4, cy + 4);
  }
}

void ZorvaForm::RedrawMe() {
  if (loading_ || !UserControl.exists()) return;
  // The strip's height follows TitleBarHeight within 24..45 pixels; the strip stays in front.
  const int h = std::clamp<int32_t>(m_TitleBarHeight, kMinTitle, kMaxTitle);
  if (ScaleHeight() != h) {
    setHeightTwips(pixelsToTwips(h));
    if (ScaleHeight() != h) return;
  }
  SetWindowPos(UserControl.hWnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const int w = ScaleWidth();
  if (w <= 0) return;
  // Composed off-screen, copied in one step.
  const HDC target = UserControl.hDC();
  GdiObject bitmap(CreateCompatibleBitmap(target, w, h));
  const HDC mem = CreateCompatibleDC(target);
  {
    Selection sb(mem, bitmap.get());
    Selection sf(mem, GetCurrentObject(target, OBJ_FONT));
    paintStrip(mem);
    BitBlt(target, 0, 0, w, h, mem, 0, 0, SRCCOPY);
  }
  DeleteDC(mem);
  if (hovered_ != Area::None && isButton(hovered_) && inside_) drawButton(target, hovered_, pressed_ == hovered_ ? 2 : 1);
  if (m_FormGradient && onForm()) paintFormGradientNow();
}

void ZorvaForm::paintFormGradient(HDC dc, const RECT& r) const {
  gradientRect(dc, r, FormGradientColor1(), FormGradientColor2(), m_FormGradientDirection);
}

void ZorvaForm::paintFormGradientNow() {
  const HWND form = formWindow();
  RECT r;
  GetClientRect(form, &r);
  HDC dc = GetDC(form);
  paintFormGradient(dc, r);
  ReleaseDC(form, dc);
}

// ---- Form region, frame pieces, shadow and glow --------------------------------------------------

void ZorvaForm::applyFormRegion() {
  const HWND form = formWindow();
  if (!form) return;
  RECT wr;
  GetWindowRect(form, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (w <= 0 || h <= 0) return;
  // The form's top corners are cut by one pixel, like the strip's outline.
  HRGN rgn = CreateRectRgn(0, 0, w, h);
  GdiObject corner(CreateRectRgn(0, 0, 1, 1));
  CombineRgn(rgn, rgn, static_cast<HRGN>(corner.get()), RGN_DIFF);
  GdiObject corner2(CreateRectRgn(w - 1, 0, w, 1));
  CombineRgn(rgn, rgn, static_cast<HRGN>(corner2.get()), RGN_DIFF);
  SetWindowRgn(form, rgn, TRUE);
}

void ZorvaForm::createLayeredWindows() {
  if (!layered_ || !onForm()) return;
  const HWND form = formWindow();
  for (HWND& p : pieces_) p = createLayer(form);
  for (HWND& s : shadows_) s = createLayer(form);
}

void ZorvaForm::destroyLayeredWindows() {
  for (HWND& p : pieces_) {
    if (p && IsWindow(p)) DestroyWindow(p);
    p = 0;
  }
  for (HWND& s : shadows_) {
    if (s && IsWindow(s)) DestroyWindow(s);
    s = 0;
  }
}

void ZorvaForm::placeLayeredWindows() {
  if (!pieces_[0] || !onForm()) return;
  const HWND form = formWindow();
  const bool shown = IsWindowVisible(form) && !IsIconic(form) && !IsZoomed(form);
  const int x = lastPos_.x, y = lastPos_.y, cx = lastPos_.cx, cy = lastPos_.cy;
  const int f = kFramePiece, d = std::max<int32_t>(0, m_ShadowDepth);
  const RECT pieces[3] = {{x - f, y, x, y + cy + f}, {x + cx, y, x + cx + f, y + cy + f}, {x, y + cy, x + cx, y + cy + f}};
  const RECT o{x - f, y, x + cx + f, y + cy + f};
  const RECT shadows[4] = {{o.left - d, o.top, o.left, o.bottom},
                           {o.left - d, o.top - d, o.right + d, o.top},
                           {o.right, o.top, o.right + d, o.bottom},
                           {o.left - d, o.bottom, o.right + d, o.bottom + d}};
  const UINT flags = SWP_NOACTIVATE | SWP_NOZORDER | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
  bool resized = false;
  auto place = [&](HWND h, const RECT& r) {
    RECT now;
    GetWindowRect(h, &now);
    resized |= now.right - now.left != r.right - r.left || now.bottom - now.top != r.bottom - r.top;
    SetWindowPos(h, 0, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
  };
  for (size_t i = 0; i < 3; ++i) place(pieces_[i], pieces[i]);
  for (size_t i = 0; i < 4; ++i) place(shadows_[i], shadows[i]);
  // Only a new size needs new pixels; a move keeps them.
  if (resized && shown) paintPieces();
}

void ZorvaForm::paintPieces() {
  if (!pieces_[0] || loading_) return;
  const COLORREF border = translateColor(BorderColor()), enhance = translateColor(EnhanceColor());
  for (size_t i = 0; i < 3; ++i) {
    const HWND p = pieces_[i];
    RECT r;
    GetClientRect(p, &r);
    HDC dc = GetDC(p);
    fill(dc, enhance, 0, 0, r.right, r.bottom);
    // The outer edge in BorderColor, an EnhanceColor line beside it, the form's edge in BorderColor.
    if (i == 0) { fill(dc, border, 0, 0, 1, r.bottom); fill(dc, border, r.right - 1, 0, r.right, r.bottom - kFramePiece); }
    if (i == 1) { fill(dc, border, r.right - 1, 0, r.right, r.bottom); fill(dc, border, 0, 0, 1, r.bottom - kFramePiece); }
    if (i == 2) { fill(dc, border, 0, r.bottom - 1, r.right, r.bottom); fill(dc, border, 0, 0, r.right, 1); }
    if (i != 2) fill(dc, border, 0, r.bottom - 1, r.right, r.bottom);
    ReleaseDC(p, dc);
    SetLayeredWindowAttributes(p, 0, static_cast<BYTE>(std::clamp<int>(m_TitleBarOpacity, 0, 255)), LWA_ALPHA);
  }
  // The shadow: ShadowColor with per-pixel alpha, ShadowTransparency next to the frame and
  // fading to nothing at ShadowDepth.
  const int d = std::max<int32_t>(1, m_ShadowDepth);
  const COLORREF sc = translateColor(ShadowColor());
  const int alpha0 = std::clamp<int32_t>(m_ShadowTransparency, 0, 255);
  for (size_t i = 0; i < 4; ++i) {
    const HWND s = shadows_[i];
    RECT wr;
    GetWindowRect(s, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    if (w <= 0 || h <= 0) continue;
    BITMAPINFO bi{};
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    GdiObject dib(CreateDIBSection(0, &bi, DIB_RGB_COLORS, &bits, 0, 0));
    if (!bits) continue;
    auto* px = static_cast<uint32_t*>(bits);
    for (int yy = 0; yy < h; ++yy) {
      for (int xx = 0; xx < w; ++xx) {
        // Distance from the frame's edge, 1 next to it.
        int dist;
        switch (i) {
          case 0: dist = w - xx; break;
          case 2: dist = xx + 1; break;
          case 1: dist = h - yy; break;
          default: dist = yy + 1; break;
        }
        if (i == 1 || i == 3) {  // the top and bottom strips reach around the corners
          const int side = xx < d ? d - xx : xx >= w - d ? xx - (w - d) + 1 : 0;
          dist = std::max(dist, side);
        }
        const int a = dist > d ? 0 : alpha0 * (d - dist + 1) / (d + 1);
        const uint32_t r = (sc & 0xFF) * a / 255, g = ((sc >> 8) & 0xFF) * a / 255, b = ((sc >> 16) & 0xFF) * a / 255;
        px[static_cast<size_t>(yy) * w + xx] = (static_cast<uint32_t>(a) << 24) | (r << 16) | (g << 8) | b;
      }
    }
    HDC mem = CreateCompatibleDC(0);
    {
      Selection sel(mem, dib.get());
      POINT src{0, 0};
      SIZE size{w, h};
      BLENDFUNCTION bf;
      bf.AlphaFormat = AC_SRC_ALPHA;
      UpdateLayeredWindow(s, 0, nullptr, &size, mem, &src, 0, &bf, ULW_ALPHA);
    }
    DeleteDC(mem);
  }
}

void ZorvaForm::showGlow(Area a) {
  if (!layered_) return;
  if (!glow_) glow_ = createLayer(onForm() ? formWindow() : UserControl.hWnd());
  if (!glow_) return;
  const RECT r = buttonRect(a);
  POINT p{r.left, r.top};
  ClientToScreen(UserControl.hWnd(), &p);
  SetWindowPos(glow_, HWND_TOP, p.x, p.y, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  HDC dc = GetDC(glow_);
  fill(dc, translateColor(a == Area::Close ? CloseButtonShadowColor() : ButtonsShadowColor()), 0, 0, r.right - r.left,
       r.bottom - r.top);
  ReleaseDC(glow_, dc);
  SetLayeredWindowAttributes(glow_, 0, static_cast<BYTE>(std::clamp<int32_t>(m_ShadowOpacity4Buttons, 0, 255)), LWA_ALPHA);
  glowFor_ = a;
}

void ZorvaForm::hideGlow() {
  if (glow_ && IsWindow(glow_)) DestroyWindow(glow_);
  glow_ = 0;
  glowFor_ = Area::None;
}

// ---- Tool tips ----------------------------------------------------------------------------------

void ZorvaForm::hideToolTip() {
  if (tip_.exists()) tip_.destroy();
}

void ZorvaForm::tmrToolTip_Timer() {
  POINT pt;
  GetCursorPos(&pt);
  POINT c = pt;
  ScreenToClient(UserControl.hWnd(), &c);
  const bool over = c.x >= 0 && c.y >= 0 && c.x < ScaleWidth() && c.y < ScaleHeight();
  const Area a = over ? hitTest(c.x, c.y) : Area::None;
  if (!isButton(a)) {
    hideToolTip();
    return;
  }
  std::string text = a == Area::Close      ? m_ToolTipTextForClose
                     : a == Area::Minimize ? m_ToolTipTextForMinimize
                     : formMaximized()     ? m_ToolTipTextForRestore
                                           : m_ToolTipTextForMaxmize;
  if (!tip_.exists() && !tip_.createPopup(0, Rect{pt.x, pt.y, pt.x + 1, pt.y + 1})) return;
  tip_.setFont(m_ToolTipTextFont ? m_ToolTipTextFont : UserControl.Font());
  HDC dc = tip_.hDC();
  SIZE ts{0, 0};
  GetTextExtentPoint32(dc, text.data(), static_cast<int>(text.size()), &ts);
  const int w = ts.cx + 6, h = ts.cy + 4;
  // Below and to the right of the cursor, kept inside the work area.
  const Rect wa = ui::workArea();
  int x = pt.x + 4, y = pt.y + 18;
  if (x + w > wa.right) x = wa.right - w;
  if (y + h > wa.bottom) y = pt.y - h - 4;
  x = std::max(x, wa.left);
  y = std::max(y, wa.top);
  tip_.Move(x, y, w, h);
  const RECT r{0, 0, w, h};
  if (m_UseSystemToolTipText) {
    fill(dc, GetSysColor(COLOR_INFOBK), 0, 0, w, h);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  } else {
    gradientRect(dc, r, ToolTipTextGradient1(), ToolTipTextGradient2(), m_ToolTipTextGradientDirection);
    SetTextColor(dc, translateColor(ToolTipTextForeColor()));
  }
  foundation::drawOutline(dc, translateColor(BorderColor()), 0, 0, w, h);
  SetBkMode(dc, TRANSPARENT);
  RECT tr = r;
  DrawText(dc, text, &tr, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  tip_.setVisible(true);
}

// ---- Mouse --------------------------------------------------------------------------------------

void ZorvaForm::mouseMoveAt(int x, int y) {
  const Area a = hitTest(x, y);
  const Area before = hovered_;
  if (a != before && isButton(before)) drawButton(UserControl.hDC(), before, 0);
  hovered_ = a;
  if (!isButton(a)) {
    hideGlow();
    hideToolTip();
    tmrToolTip.setEnabled(false);
    if (isButton(before)) RedrawMe();
    return;
  }
  if (a != before) {
    hideToolTip();
    drawButton(UserControl.hDC(), a, 1);
    showGlow(a);
    tmrToolTip.setEnabled(true);
  }
}

void ZorvaForm::UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  if (Button == 0) mouseMoveAt(static_cast<int>(X), static_cast<int>(Y));
  MouseMove.raise(Button, Shift, X, Y);
}

void ZorvaForm::UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  hideToolTip();
  const Area a = hitTest(static_cast<int>(X), static_cast<int>(Y));
  const HWND form = formWindow();
  if (a == Area::TitleBar) {
    if (form && UserMode()) {
      // The system moves the form while the button is held, as a drag on a real caption does.
      POINT p{static_cast<int>(X), static_cast<int>(Y)};
      ClientToScreen(UserControl.hWnd(), &p);
      ReleaseCapture();
      SendMessageA(form, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(p.x, p.y));
    }
  } else if (a == Area::Icon) {
    // The icon shows the system menu below it; the command chosen goes to the form.
    if (form && sysMenu_ && UserMode()) {
      ReleaseCapture();
      const RECT r = buttonRect(Area::Icon);
      POINT p{r.left + 6, r.bottom};
      ClientToScreen(UserControl.hWnd(), &p);
      const UINT cmd = static_cast<UINT>(TrackPopupMenu(sysMenu_, TPM_RETURNCMD, p.x, p.y, 0, form, nullptr));
      if (cmd) PostMessageA(form, WM_SYSCOMMAND, cmd, 0);
    }
  } else if (Button == 1) {
    const bool enabled = a == Area::Close ? m_EnabledClose : a == Area::Maximize ? m_EnabledMaximize : m_EnabledMinimize;
    if (enabled) {
      drawButton(UserControl.hDC(), a, 2);
      pressed_ = a;
      // The press activated the form, which came up over the glow: the glow goes on top again.
      if (glow_ && glowFor_ == a) SetWindowPos(glow_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  MouseDown.raise(Button, Shift, X, Y);
}

void ZorvaForm::UserControl_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  const Area a = pressed_;
  pressed_ = Area::None;
  const bool inside = hitTest(static_cast<int>(X), static_cast<int>(Y)) == a;
  const HWND form = formWindow();
  if (Button == 1 && isButton(a) && inside) {
    if (a == Area::Minimize && m_EnabledMinimize) {
      hideGlow();
      RedrawMe();
      if (form) ShowWindow(form, SW_MINIMIZE);
      MinimizeButtonClick.raise();
    } else if (a == Area::Maximize && m_EnabledMaximize) {
      hideGlow();
      RedrawMe();
      const bool normal = form && !IsZoomed(form) && !IsIconic(form);
      if (form) ShowWindow(form, normal ? SW_MAXIMIZE : SW_RESTORE);
      RedrawMe();
      if (normal) MaximizeButtonClick.raise();
      else RestoreButtonClick.raise();
    } else if (a == Area::Close && m_EnabledClose) {
      hideGlow();
      RedrawMe();
      closeForm();
    }
  } else if (isButton(a)) {
    RedrawMe();
  }
  MouseUp.raise(Button, Shift, X, Y);
}

void ZorvaForm::closeForm() {
  CloseButtonClick.raise();
  if (menuHook_) {
    menuHook_->pvDeattachHook(eHookType::WH_CALLWNDPROC);
    menuHook_.reset();
  }
  // The form goes once this message is done: its window procedure and this control's
  // interceptor are still on the stack now.
  host::Extender* e = extender();
  if (e && e->Parent()) e->Parent()->requestUnload();
}

// ---- Intercepted messages -----------------------------------------------------------------------

void ZorvaForm::zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& lng_hWnd, UINT& uMsg,
                               WPARAM& wParam, LPARAM& lParam) {
  const HWND form = formWindow();
  if (lng_hWnd == UserControl.hWnd()) {
    if (uMsg == WM_MOUSEMOVE && !inside_) {
      inside_ = true;
      TRACKMOUSEEVENT tme;
      tme.dwFlags = TME_LEAVE;
      tme.hwndTrack = UserControl.hWnd();
      TrackMouseEvent(&tme);
    } else if (uMsg == WM_MOUSELEAVE) {
      inside_ = false;
      hovered_ = Area::None;
      tmrToolTip.setEnabled(false);
      hideToolTip();
      hideGlow();
      RedrawMe();
    }
    return;
  }
  if (lng_hWnd != form) {
    menuWindowMessage(bHandled, lReturn, lng_hWnd, uMsg, wParam, lParam);
    return;
  }
  switch (uMsg) {
    case WM_WINDOWPOSCHANGED: {
      if (const auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam)) {
        RECT wr;
        GetWindowRect(form, &wr);
        lastPos_ = *wp;
        lastPos_.x = wr.left;
        lastPos_.y = wr.top;
        lastPos_.cx = wr.right - wr.left;
        lastPos_.cy = wr.bottom - wr.top;
      }
      placeLayeredWindows();
      if (bBefore && firstPosition_) {
        firstPosition_ = false;
        applyFormRegion();
      }
      break;
    }
    case WM_SIZE:
      if (LOWORD(lParam) > 0 && HIWORD(lParam) > 0) applyFormRegion();
      break;
    case WM_PAINT:
      if (m_FormGradient) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(form, &ps);
        RECT r;
        GetClientRect(form, &r);
        paintFormGradient(dc, r);
        EndPaint(form, &ps);
        bHandled = true;
        lReturn = 0;
      }
      break;
    case WM_GETMINMAXINFO: {
      auto* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
      RECT wa;
      SystemParametersInfoA(SPI_GETWORKAREA, 0, &wa, 0);
      mmi->ptMaxSize = Point{wa.right, wa.bottom};
      mmi->ptMaxPosition = Point{0, 2};
      bHandled = true;
      lReturn = 0;
      break;
    }
    case WM_SYSCOMMAND:
      if (wParam == kAboutCommand) {
        ShellExecuteA(form, "Open", kAboutAddress, nullptr, nullptr, SW_SHOWNORMAL);
        bHandled = true;
        lReturn = 0;
      }
      break;
    case WM_INITMENUPOPUP:
      initMenuPopup(static_cast<HMENU>(wParam));
      bHandled = true;
      lReturn = 0;
      break;
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (wParam == 0 && mis && mis->CtlType == ODT_MENU) {
        measureItem(*mis);
        bHandled = true;
        lReturn = 1;
      }
      break;
    }
    case WM_DRAWITEM: {
      const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (dis && dis->CtlType == ODT_MENU) {
        drawItem(*dis);
        bHandled = true;
        lReturn = 1;
      }
      break;
    }
    case WM_ENTERMENULOOP: inMenuLoop_ = true; break;
    case WM_EXITMENULOOP:
      inMenuLoop_ = false;
      for (HWND m : menuWindows_) subclass_.UnsubclassWindow(m);
      menuWindows_.clear();
      break;
    default: break;
  }
}

void ZorvaForm::zSubclass_ProcByName(bool bBefore, bool bHandled, int32_t lReturn, int32_t lng_hWnd, int32_t uMsg,
                                     int32_t wParam, int32_t lParam) {
  // A number cannot stand for the structures these messages point to.
  for (UINT pointerMsg : {WM_WINDOWPOSCHANGED, WM_GETMINMAXINFO, WM_MEASUREITEM, WM_DRAWITEM, WM_WINDOWPOSCHANGING})
    if (static_cast<UINT>(uMsg) == pointerMsg && lParam != 0)
      throw HostError(errInvalidProcedureCall, "zSubclass_Proc: this message's lParam is a pointer");
  LRESULT r = lReturn;
  HWND h = static_cast<HWND>(lng_hWnd);
  UINT m = static_cast<UINT>(uMsg);
  WPARAM w = static_cast<WPARAM>(static_cast<uint32_t>(wParam));
  LPARAM l = lParam;
  zSubclass_Proc(bBefore, bHandled, r, h, m, w, l);
}

// ---- Menus --------------------------------------------------------------------------------------

void ZorvaForm::initMenuPopup(HMENU menu) {
  const int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    MENUITEMINFOA mii;
    char buf[256] = {};
    mii.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_DATA;
    mii.dwTypeData = buf;
    mii.cch = sizeof buf;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &mii)) continue;
    if (mii.fType & MFT_OWNERDRAW) continue;
    itemTexts_.emplace_back(buf);
    MENUITEMINFOA set;
    set.fMask = MIIM_FTYPE | MIIM_DATA;
    set.fType = (mii.fType & (MFT_SEPARATOR | MFT_RIGHTJUSTIFY)) | MFT_OWNERDRAW;
    set.dwItemData = itemTexts_.size();
    SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &set);
  }
}

namespace {
// The text of an item converted by initMenuPopup: before the tab (the shortcut after it).
std::pair<std::string, std::string> splitShortcut(const std::string& s) {
  const size_t tab = s.find('\t');
  if (tab == std::string::npos) return {s, {}};
  return {s.substr(0, tab), s.substr(tab + 1)};
}
}  // namespace

void ZorvaForm::measureItem(MEASUREITEMSTRUCT& mis) {
  const size_t k = mis.itemData;
  const std::string text = k >= 1 && k <= itemTexts_.size() ? itemTexts_[k - 1] : std::string();
  if (k >= 1 && k <= itemTexts_.size() && text.empty()) {
    mis.itemHeight = 2;  // a separator
    mis.itemWidth = 68;
    return;
  }
  SIZE s{0, 0};
  HDC dc = UserControl.hDC();
  GetTextExtentPoint32(dc, text.data(), static_cast<int>(text.size()), &s);
  mis.itemHeight = 23;
  mis.itemWidth = static_cast<UINT>(s.cx + 68);
}

void ZorvaForm::drawItem(const DRAWITEMSTRUCT& dis) {
  const HDC dc = dis.hDC;
  const RECT r = dis.rcItem;
  const size_t k = dis.itemData;
  const std::string text = k >= 1 && k <= itemTexts_.size() ? itemTexts_[k - 1] : std::string();
  const bool selected = (dis.itemState & ODS_SELECTED) != 0;
  const bool grayed = (dis.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  constexpr int kBand = 24;
  fill(dc, translateColor(MenuBackColor()), r.left, r.top, r.right, r.bottom);
  gradientRect(dc, RECT{r.left, r.top, r.left + kBand, r.bottom}, MenuOffsetGradient1(), MenuOffsetGradient2(),
               m_MenuOffsetGradientDirection);
  if (text.empty()) {  // separator
    fill(dc, translateColor(MenuBorderColor()), r.left + kBand + 4, r.top + (r.bottom - r.top) / 2, r.right,
         r.top + (r.bottom - r.top) / 2 + 1);
    return;
  }
  if (selected && !(grayed && m_MenuDisableSelecting)) {
    const RECT s{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    gradientRect(dc, s, MenuSelectedGradient1(), MenuSelectedGradient2(), m_MenuSelectedGradientDirection);
    foundation::drawOutline(dc, translateColor(MenuSelectedBorderColor()), s.left, s.top, s.right, s.bottom);
  }
  if (dis.itemState & ODS_CHECKED) {
    const RECT b{r.left + 3, r.top + 3, r.left + kBand - 3, r.bottom - 3};
    fill(dc, translateColor(selected ? MenuCBoxSelectedColor() : MenuCBoxNormalColor()), b.left, b.top, b.right, b.bottom);
    foundation::drawOutline(dc, translateColor(MenuCheckBoxBorder()), b.left, b.top, b.right, b.bottom);
    const COLORREF tick = translateColor(MenuCheckArrowColor());
    const int cx = (b.left + b.right) / 2, cy = (b.top + b.bottom) / 2;
    for (int i = 0; i < 3; ++i) fill(dc, tick, cx - 4 + i, cy - 1 + i, cx - 3 + i, cy + 2 + i);
    for (int i = 0; i < 5; ++i) fill(dc, tick, cx - 1 + i, cy + 1 - i, cx + i, cy + 4 - i);
  }
  const auto [label, shortcut] = splitShortcut(text);
  const COLORREF fore = grayed && m_MenuDisableSelecting ? shiftColour(MenuForeColor(), 90) : translateColor(MenuForeColor());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, fore);
  RECT tr{r.left + kBand + 8, r.top, r.right - 8, r.bottom};
  DrawText(dc, label, &tr, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (!shortcut.empty()) DrawText(dc, shortcut, &tr, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
}

void ZorvaForm::hookMenus(eHookType, int16_t code, WPARAM, LPARAM lParam) {
  if (code < 0 || !lParam) return;
  const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (cwp->message != WM_CREATE && cwp->message != 0x01E2) return;
  if (!inMenuLoop_) return;
  char cls[16] = {};
  if (!GetClassNameA(cwp->hwnd, cls, sizeof cls) || std::string_view(cls) != "#32768") return;
  const HWND h = cwp->hwnd;
  if (std::find(menuWindows_.begin(), menuWindows_.end(), h) != menuWindows_.end()) return;
  SetWindowLongA(h, GWL_EXSTYLE, GetWindowLongA(h, GWL_EXSTYLE) & ~static_cast<LONG>(WS_EX_DLGMODALFRAME));
  SetWindowLongA(h, GWL_STYLE, GetWindowLongA(h, GWL_STYLE) & ~static_cast<LONG>(WS_BORDER));
  if (subclass_.SubclassWindow(h) < 0) return;
  for (UINT m : {WM_PRINT, WM_WINDOWPOSCHANGING, WM_ERASEBKGND, WM_NCCALCSIZE})
    subclass_.AddMessage(h, static_cast<int32_t>(m), MSG_BEFORE);
  menuWindows_.push_back(h);
}

void ZorvaForm::menuWindowMessage(bool& bHandled, LRESULT& lReturn, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM) {
  if (uMsg == WM_ERASEBKGND || uMsg == WM_PRINT) {
    // Flat: the menu's background with a MenuBorderColor frame and a MenuShadowColor line
    // along its right and bottom edges.
    const HDC dc = static_cast<HDC>(wParam);
    RECT r;
    GetClientRect(hWnd, &r);
    fill(dc, translateColor(MenuBackColor()), 0, 0, r.right, r.bottom);
    foundation::drawOutline(dc, translateColor(MenuBorderColor()), 0, 0, r.right, r.bottom);
    fill(dc, translateColor(MenuShadowColor()), r.right - 1, 1, r.right, r.bottom);
    fill(dc, translateColor(MenuShadowColor()), 1, r.bottom - 1, r.right, r.bottom);
    bHandled = true;
    lReturn = 1;
  }
}

// ---- Class --------------------------------------------------------------------------------------

const host::MemberTable& ZorvaForm::memberTable() const {
  using B = ZorvaForm;
  static const host::MemberTable table = host::ClassMembers<B>("ZorvaForm")
      .property("GradientColor1", &B::GradientColor1, &B::setGradientColor1)
      .property("GradientColor2", &B::GradientColor2, &B::setGradientColor2)
      .property("GradientAngle", &B::GradientAngle, &B::setGradientAngle)
      .property("CloseButtonGradientTop1", &B::CloseButtonGradientTop1, &B::setCloseButtonGradientTop1)
      .property("CloseButtonGradientBottom1", &B::CloseButtonGradientBottom1, &B::setCloseButtonGradientBottom1)
      .property("CloseButtonGradientBottom2", &B::CloseButtonGradientBottom2, &B::setCloseButtonGradientBottom2)
      .property("CloseButtonOuterBorder", &B::CloseButtonOuterBorder, &B::setCloseButtonOuterBorder)
      .property("CloseButtonInnerBorder", &B::CloseButtonInnerBorder, &B::setCloseButtonInnerBorder)
      .property("CloseSignOuterBorder", &B::CloseSignOuterBorder, &B::setCloseSignOuterBorder)
      .property("CloseSignInnerBorder", &B::CloseSignInnerBorder, &B::setCloseSignInnerBorder)
      .property("ButtonsGradientTop1", &B::ButtonsGradientTop1, &B::setButtonsGradientTop1)
      .property("ButtonsGradientBottom1", &B::ButtonsGradientBottom1, &B::setButtonsGradientBottom1)
      .property("ButtonsGradientBottom2", &B::ButtonsGradientBottom2, &B::setButtonsGradientBottom2)
      .property("ButtonsOuterBorder", &B::ButtonsOuterBorder, &B::setButtonsOuterBorder)
      .property("ButtonsInnerBorder", &B::ButtonsInnerBorder, &B::setButtonsInnerBorder)
      .property("ButtonsSignOuterBorder", &B::ButtonsSignOuterBorder, &B::setButtonsSignOuterBorder)
      .property("ButtonsSignInnerBorder", &B::ButtonsSignInnerBorder, &B::setButtonsSignInnerBorder)
      .property("TitleBarHeight", &B::TitleBarHeight, &B::setTitleBarHeight)
      .property("EnabledClose", &B::EnabledClose, &B::setEnabledClose)
      .property("EnabledMaximize", &B::EnabledMaximize, &B::setEnabledMaximize)
      .property("EnabledMinimize", &B::EnabledMinimize, &B::setEnabledMinimize)
      .property("BorderStyle", &B::BorderStyle, &B::setBorderStyle)
      .property("ButtonsGradientTop2", &B::ButtonsGradientTop2, &B::setButtonsGradientTop2)
      .property("CloseButtonGradientTop2", &B::CloseButtonGradientTop2, &B::setCloseButtonGradientTop2)
      .property("TitleBarOpacity", &B::TitleBarOpacity, &B::setTitleBarOpacity)
      .property("BorderColor", &B::BorderColor, &B::setBorderColor)
      .property("EnhanceColor", &B::EnhanceColor, &B::setEnhanceColor)
      .property("ShadowColor", &B::ShadowColor, &B::setShadowColor)
      .property("ShadowDepth", &B::ShadowDepth, &B::setShadowDepth)
      .property("ShadowTransparency", &B::ShadowTransparency, &B::setShadowTransparency)
      .property("HoverButtonsGradientTop1", &B::HoverButtonsGradientTop1, &B::setHoverButtonsGradientTop1)
      .property("HoverButtonsGradientTop2", &B::HoverButtonsGradientTop2, &B::setHoverButtonsGradientTop2)
      .property("HoverButtonsGradientBottom1", &B::HoverButtonsGradientBottom1, &B::setHoverButtonsGradientBottom1)
      .property("HoverButtonsGradientBottom2", &B::HoverButtonsGradientBottom2, &B::setHoverButtonsGradientBottom2)
      .property("HoverCloseButtonGTop1", &B::HoverCloseButtonGTop1, &B::setHoverCloseButtonGTop1)
      .property("HoverCloseButtonGTop2", &B::HoverCloseButtonGTop2, &B::setHoverCloseButtonGTop2)
      .property("HoverCloseButtonGBottom1", &B::HoverCloseButtonGBottom1, &B::setHoverCloseButtonGBottom1)
      .property("HoverCloseButtonGBottom2", &B::HoverCloseButtonGBottom2, &B::setHoverCloseButtonGBottom2)
      .property("ShadowOpacity4Buttons", &B::ShadowOpacity4Buttons, &B::setShadowOpacity4Buttons)
      .property("ButtonsShadowColor", &B::ButtonsShadowColor, &B::setButtonsShadowColor)
      .property("CloseButtonShadowColor", &B::CloseButtonShadowColor, &B::setCloseButtonShadowColor)
      .property("MDownButtonsGradientTop1", &B::MDownButtonsGradientTop1, &B::setMDownButtonsGradientTop1)
      .property("MDownButtonsGradientTop2", &B::MDownButtonsGradientTop2, &B::setMDownButtonsGradientTop2)
      .property("MDownButtonsGBottom1", &B::MDownButtonsGBottom1, &B::setMDownButtonsGBottom1)
      .property("MDownButtonsGBottom2", &B::MDownButtonsGBottom2, &B::setMDownButtonsGBottom2)
      .property("MDownCloseButtonGTop1", &B::MDownCloseButtonGTop1, &B::setMDownCloseButtonGTop1)
      .property("MDownCloseButtonGTop2", &B::MDownCloseButtonGTop2, &B::setMDownCloseButtonGTop2)
      .property("MDownCloseButtonGBottom1", &B::MDownCloseButtonGBottom1, &B::setMDownCloseButtonGBottom1)
      .property("MDownCloseButtonGBottom2", &B::MDownCloseButtonGBottom2, &B::setMDownCloseButtonGBottom2)
      .property("CaptionAlignment", &B::CaptionAlignment, &B::setCaptionAlignment)
      .property("Icon", &B::Icon, &B::setIcon)
      .property("Caption", &B::Caption, &B::setCaption)
      .property("Font", &B::Font, &B::setFont)
      .property("ForeColor", &B::ForeColor, &B::setForeColor)
      .property("FShadowColor", &B::FShadowColor, &B::setFShadowColor)
      .property("Shadow4Text", &B::Shadow4Text, &B::setShadow4Text)
      .property("IconSize", &B::IconSize, &B::setIconSize)
      .property("MenuBorderColor", &B::MenuBorderColor, &B::setMenuBorderColor)
      .property("MenuOffsetGradient1", &B::MenuOffsetGradient1, &B::setMenuOffsetGradient1)
      .property("MenuOffsetGradient2", &B::MenuOffsetGradient2, &B::setMenuOffsetGradient2)
      .property("MenuOffsetGradientDirection", &B::MenuOffsetGradientDirection, &B::setMenuOffsetGradientDirection)
      .property("MenuShadowColor", &B::MenuShadowColor, &B::setMenuShadowColor)
      .property("MenuSelectedGradient1", &B::MenuSelectedGradient1, &B::setMenuSelectedGradient1)
      .property("MenuSelectedGradient2", &B::MenuSelectedGradient2, &B::setMenuSelectedGradient2)
      .property("MenuSelectedGradientDirection", &B::MenuSelectedGradientDirection, &B::setMenuSelectedGradientDirection)
      .property("MenuSelectedBorderColor", &B::MenuSelectedBorderColor, &B::setMenuSelectedBorderColor)
      .property("MenuBackColor", &B::MenuBackColor, &B::setMenuBackColor)
      .property("MenuCheckBoxBorder", &B::MenuCheckBoxBorder, &B::setMenuCheckBoxBorder)
      .property("MenuCBoxNormalColor", &B::MenuCBoxNormalColor, &B::setMenuCBoxNormalColor)
      .property("MenuCBoxSelectedColor", &B::MenuCBoxSelectedColor, &B::setMenuCBoxSelectedColor)
      .property("MenuArrowColor", &B::MenuArrowColor, &B::setMenuArrowColor)
      .property("MenuCheckArrowColor", &B::MenuCheckArrowColor, &B::setMenuCheckArrowColor)
      .property("MenuForeColor", &B::MenuForeColor, &B::setMenuForeColor)
      .property("MenuDisableSelecting", &B::MenuDisableSelecting, &B::setMenuDisableSelecting)
      .property("FormGradientColor1", &B::FormGradientColor1, &B::setFormGradientColor1)
      .property("FormGradientColor2", &B::FormGradientColor2, &B::setFormGradientColor2)
      .property("FormGradientDirection", &B::FormGradientDirection, &B::setFormGradientDirection)
      .property("FormGradient", &B::FormGradient, &B::setFormGradient)
      .property("UseSystemToolTipText", &B::UseSystemToolTipText, &B::setUseSystemToolTipText)
      .property("ToolTipTextGradient1", &B::ToolTipTextGradient1, &B::setToolTipTextGradient1)
      .property("ToolTipTextGradient2", &B::ToolTipTextGradient2, &B::setToolTipTextGradient2)
      .property("ToolTipTextGradientDirection", &B::ToolTipTextGradientDirection, &B::setToolTipTextGradientDirection)
      .property("ToolTipTextForClose", &B::ToolTipTextForClose, &B::setToolTipTextForClose)
      .property("ToolTipTextForMinimize", &B::ToolTipTextForMinimize, &B::setToolTipTextForMinimize)
      .property("ToolTipTextForRestore", &B::ToolTipTextForRestore, &B::setToolTipTextForRestore)
      .property("ToolTipTextForMaxmize", &B::ToolTipTextForMaxmize, &B::setToolTipTextForMaxmize)
      .property("ToolTipTextFont", &B::ToolTipTextFont, &B::setToolTipTextFont)
      .property("ToolTipTextForeColor", &B::ToolTipTextForeColor, &B::setToolTipTextForeColor)
      .property("Themes", &B::Themes, &B::setThemes)
      .method("RedrawMe", &B::RedrawMe)
      .method("pvInitMe", &B::pvInitMe)
      .method("zSubclass_Proc", &B::zSubclass_ProcByName)
      .about(&B::About)
      .event("CloseButtonClick", &B::CloseButtonClick)
      .event("MaximizeButtonClick", &B::MaximizeButtonClick)
      .event("MinimizeButtonClick", &B::MinimizeButtonClick)
      .event("RestoreButtonClick", &B::RestoreButtonClick)
      .build();
  return table;
}

// ---- Enumerations as type information shows them ----

const host::EnumType& describeEnum(eThemes) {
  static const host::EnumType t{"eThemes", {{"eTQuorin", 1}, {"eTVista", 2}, {"eTModernXP", 3}, {"eTGreen", 4}, {"eTPink", 5}, {"eTRed", 6}, {"eTYellow", 7}, {"eTGray", 8}, {"eTBlackNWhite", 9}, {"eTOrange", 10}, {"eTPurple", 11}, {"eTBrown", 12}, {"eTLuminance", 13}, {"eTGreenNLuminance", 14}, {"eTBlackNLuminance", 15}, {"eTBlueNLuminance", 16}, {"eTPinkNYellow", 17}}};
  return t;
}

const host::EnumType& describeEnum(FBorderStyles) {
  static const host::EnumType t{"FBorderStyles", {{"FBSSizable", 0}, {"FBSSingle", 1}, {"FBSNone", 2}}};
  return t;
}

const host::EnumType& describeEnum(eCaptionAlign) {
  static const host::EnumType t{"eCaptionAlign", {{"eCALeft", 0}, {"eCACenter", 1}, {"eCARight", 2}}};
  return t;
}

const host::EnumType& describeEnum(eIconSize) {
  static const host::EnumType t{"eIconSize", {{"eIS16x16", 16}, {"eIS24x24", 24}, {"eIS32x32", 32}}};
  return t;
}

const host::EnumType& describeEnum(eGraidentDirection) {
  static const host::EnumType t{"eGraidentDirection", {{"eGDVertical", 0}, {"eGDHorizantal", 1}}};
  return t;
}

}  // namespace zxp::formskin
