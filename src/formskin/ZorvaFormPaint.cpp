// The form skin's drawing: the caption buttons' geometry and hit test, the strip composed
// off-screen (gradient, highlight, icon, caption, buttons), the form's gradient, the form region,
// the layered frame pieces, shadow and glow, the tool tip's face and the owner-drawn menus.
#include "formskin/ZorvaForm.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "foundation/DrawnRange.h"
#include "foundation/PenLines.h"
#include "foundation/modGradient.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/Form.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Screen.h"
#include "platform/ui/User.h"
#include "platform/ui/WindowClass.h"

namespace zxp::formskin {

namespace {

constexpr COLORREF kHighlight = 0xFEEAD1;
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

}  // namespace

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
      const int size = foundation::drawnLength(static_cast<int>(m_IconSize));
      const int top = static_cast<int>(std::nearbyint((ScaleHeight() - size) / 2.0));
      return RECT{10, top, 10 + size, top + size};
    }
    default: return RECT{0, 0, w, ScaleHeight()};
  }
}

bool ZorvaForm::buttonShown(Area a) const {
  if (m_BorderStyle == FBorderStyles::FBSSizable) return true;
  return m_BorderStyle == FBorderStyles::FBSSingle && a == Area::Close;
}

Area ZorvaForm::hitTest(int x, int y) const {
  auto in = [&](Area a) {
    const RECT r = buttonRect(a);
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
  };
  for (Area a : {Area::Minimize, Area::Maximize, Area::Close})
    if (buttonShown(a) && in(a)) return a;
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
    // After the icon as it is drawn: an IconSize of any Long is drawn at most 2^20 pixels wide.
    case eCaptionAlign::eCALeft: start = icon ? buttonRect(Area::Icon).right + 5 : 5; break;
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
  for (Area a : {Area::Close, Area::Maximize, Area::Minimize})
    if (buttonShown(a)) drawButton(dc, a, 0);
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
  // Positions and sizes are any 32-bit value and ShadowDepth any Long (drawn within 2^20
  // pixels): the edges are worked out in 64 bits and saturate.
  const int64_t x = lastPos_.x, y = lastPos_.y, cx = lastPos_.cx, cy = lastPos_.cy;
  const int64_t f = kFramePiece, d = std::max<int32_t>(0, foundation::drawnLength(m_ShadowDepth));
  const auto rect = [](int64_t l, int64_t t, int64_t r, int64_t b) {
    return RECT{clampToInt32(l), clampToInt32(t), clampToInt32(r), clampToInt32(b)};
  };
  const RECT pieces[3] = {rect(x - f, y, x, y + cy + f), rect(x + cx, y, x + cx + f, y + cy + f),
                          rect(x, y + cy, x + cx, y + cy + f)};
  const int64_t ol = x - f, ot = y, orr = x + cx + f, ob = y + cy + f;
  const RECT shadows[4] = {rect(ol - d, ot, ol, ob), rect(ol - d, ot - d, orr + d, ot), rect(orr, ot, orr + d, ob),
                           rect(ol - d, ob, orr + d, ob + d)};
  const UINT flags = SWP_NOACTIVATE | SWP_NOZORDER | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
  bool resized = false;
  auto place = [&](HWND h, const RECT& r) {
    RECT now;
    GetWindowRect(h, &now);
    resized |= now.width() != r.width() || now.height() != r.height();
    SetWindowPos(h, 0, r.left, r.top, r.width(), r.height(), flags);
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
  const int d = std::max<int32_t>(1, foundation::drawnLength(m_ShadowDepth));
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

// ---- Tool tip face --------------------------------------------------------------------------------

void ZorvaForm::paintToolTip(HDC dc, int w, int h, const std::string& text) const {
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

}  // namespace zxp::formskin
