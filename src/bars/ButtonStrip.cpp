#include "bars/ButtonStrip.h"

#include <algorithm>

#include "foundation/DrawnRange.h"
#include "foundation/PenLines.h"
#include "foundation/modGeneral.h"
#include "foundation/modPicEffects.h"
#include "platform/base/HostError.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/PropertyBag.h"
#include "platform/host/runtime/Date.h"
#include "platform/host/runtime/Format.h"
#include "platform/ui/User.h"

namespace zxp::bars {

namespace {
constexpr int kMinWidth = 25;
constexpr int32_t kMinDraggedWidth = 25;  // a dragged width below this becomes 26
constexpr int32_t kDraggedFallback = 26;
constexpr int32_t kMaxButtons = 65535;  // a count read from a file is capped here

// A 16 x 16 picture: a bitmap with magenta left out, or an icon. A bitmap's source is its top
// left 20 x 20 pixels, shrunk to 16 x 16; a smaller bitmap is its own source, so a 16 x 16
// picture shows pixel for pixel instead of shrunk with empty rows and columns beside it.
void drawPicture16(HDC dc, const host::PictureRef& pic, int x, int y) {
  if (pic.empty()) return;
  if (pic.Type() == vbPicTypeIcon) {
    DrawIconEx(dc, x, y, static_cast<HICON>(pic.Handle()), 16, 16, 0, 0, DI_NORMAL);
    return;
  }
  constexpr int kSource = 20;
  DrawPictureTransparent(dc, static_cast<HBITMAP>(pic.Handle()), x, y, 16, 16, x, y, std::min(pic.width(), kSource),
                         std::min(pic.height(), kSource), 0xFF00FF);
}

int textWidth(HDC dc, const std::string& text) {
  SIZE s{};
  GetTextExtentPoint32(dc, text.c_str(), static_cast<int>(text.size()), &s);
  return s.cx;
}
}  // namespace

ButtonStrip::ButtonStrip(Scheme scheme) : scheme_(std::move(scheme)) {
  tmrKeyCheque.Timer.connect([this] { tmrKeyCheque_Timer(); });
  tmrTime.Timer.connect([this] { tmrTime_Timer(); });
}

// ---- Buttons --------------------------------------------------------------------------------------

const StripButton& ButtonStrip::button(int32_t Index) const {
  if (Index < 1 || Index > HeadersCount()) throw HostError(errSubscriptOutOfRange);
  return buttons_[static_cast<size_t>(Index - 1)];
}

void ButtonStrip::addButton(StripButton b) {
  buttons_.push_back(std::move(b));
  RedrawMe(true);
}

void ButtonStrip::changeButton(int32_t Index, StripButton b) {
  if (Index < 1 || Index > HeadersCount()) throw HostError(errSubscriptOutOfRange);
  buttons_[static_cast<size_t>(Index - 1)] = std::move(b);
  RedrawMe(true);
}

void ButtonStrip::removeButton(int32_t Index) {
  if (Index < 1 || Index > HeadersCount()) return;
  if (HeadersCount() == 1) {
    ClearAll();
    return;
  }
  buttons_.erase(buttons_.begin() + (Index - 1));
  rects_.clear();
  RedrawMe(true);
}

void ButtonStrip::ClearAll() {
  buttons_.clear();
  rects_.clear();
  hovered_ = 0;
  resizing_ = 0;
  RedrawMe(true);
}

// ---- Persistence ----------------------------------------------------------------------------------

void ButtonStrip::readButtons(host::PropertyBag& PropBag, int32_t count) {
  count = std::clamp(count, 0, kMaxButtons);
  const StripButton& d = scheme_.readDefaults;
  std::vector<StripButton> list(static_cast<size_t>(count));
  for (int32_t i = 1; i <= count; ++i) {
    const std::string n = std::to_string(i);
    StripButton& b = list[static_cast<size_t>(i - 1)];
    b.HeaderCaption = PropBag.read<std::string>("HeaderCaption" + n, d.HeaderCaption);
    b.HeaderAlignment = PropBag.read<int32_t>("HeaderAlignment" + n, d.HeaderAlignment);
    b.HeaderWidth = PropBag.read<int32_t>("HeaderWidth" + n, d.HeaderWidth);
    b.PanelIcon = PropBag.read<host::PictureRef>("PanelIcon" + n, host::PictureRef());
    b.PicAlignment = PropBag.read<int32_t>("PicAlign" + n, d.PicAlignment);
    b.Visible = PropBag.read<bool>("Visible" + n, d.Visible);
    b.Enabled = PropBag.read<bool>("Enabled" + n, d.Enabled);
    b.Style = PropBag.read<int32_t>("Style" + n, d.Style);
    if (scheme_.persistedFields < 14) continue;
    b.MainStyle = PropBag.read<int32_t>("MainStyle" + n, d.MainStyle);
    b.Tag = PropBag.read<std::string>("Tag" + n, d.Tag);
    b.ButtonSeparator = PropBag.read<bool>("ButtonSeparator" + n, d.ButtonSeparator);
    b.ButtonChecked = PropBag.read<bool>("ButtonChecked" + n, d.ButtonChecked);
    b.ButtonValue = PropBag.read<int32_t>("ButtonValue" + n, d.ButtonValue);
    b.ToolTip = PropBag.read<std::string>("ToolTip" + n, d.ToolTip);
  }
  buttons_ = std::move(list);
  rects_.clear();
}

void ButtonStrip::writeButtons(host::PropertyBag& PropBag) const {
  const StripButton& d = scheme_.readDefaults;
  for (size_t k = 0; k < buttons_.size(); ++k) {
    const std::string n = std::to_string(k + 1);
    const StripButton& b = buttons_[k];
    PropBag.WriteProperty("HeaderCaption" + n, b.HeaderCaption, d.HeaderCaption);
    PropBag.WriteProperty("HeaderAlignment" + n, b.HeaderAlignment, d.HeaderAlignment);
    PropBag.WriteProperty("HeaderWidth" + n, b.HeaderWidth, d.HeaderWidth);
    PropBag.WriteProperty("PanelIcon" + n, b.PanelIcon);
    PropBag.WriteProperty("PicAlign" + n, b.PicAlignment, d.PicAlignment);
    PropBag.WriteProperty("Visible" + n, b.Visible, d.Visible);
    PropBag.WriteProperty("Enabled" + n, b.Enabled, d.Enabled);
    PropBag.WriteProperty("Style" + n, b.Style, d.Style);
    if (scheme_.persistedFields < 14) continue;
    PropBag.WriteProperty("MainStyle" + n, b.MainStyle, d.MainStyle);
    PropBag.WriteProperty("Tag" + n, b.Tag, d.Tag);
    PropBag.WriteProperty("ButtonSeparator" + n, b.ButtonSeparator, d.ButtonSeparator);
    PropBag.WriteProperty("ButtonChecked" + n, b.ButtonChecked, d.ButtonChecked);
    PropBag.WriteProperty("ButtonValue" + n, b.ButtonValue, d.ButtonValue);
    PropBag.WriteProperty("ToolTip" + n, b.ToolTip, d.ToolTip);
  }
}

// ---- Painting -------------------------------------------------------------------------------------

void ButtonStrip::RedrawMe(bool blnGradient) { paintPass(blnGradient); }

int ButtonStrip::keyOfStyle(int32_t style) {
  switch (style) {
    case kStyleCaps: return VK_CAPITAL;
    case kStyleNum: return VK_NUMLOCK;
    case kStyleIns: return VK_INSERT;
    case kStyleScrl: return VK_SCROLL;
    default: return 0;
  }
}

std::string ButtonStrip::liveText(size_t i) const {
  const StripButton& b = buttons_[i];
  if (b.Style == kStyleTime) return host::Format(host::Now(), m_FormatTime);
  if (b.Style == kStyleDate) return host::Format(host::Now(), m_FormatDate);
  return b.HeaderCaption;
}

void ButtonStrip::paintPass(bool gradient) {
  if (!UserControl.exists()) return;
  ++paints_;
  const HDC dc = UserControl.hDC();
  const int W = ScaleWidth(), H = ScaleHeight();
  UserControl.Cls();
  if (gradient) paintBackground(dc, W, H);
  foundation::drawOutline(dc, translateColor(m_BorderColor), 0, 0, W, H);
  if (!buttons_.empty()) {
    // Geometry first: every button's span, so separators and held faces know where they go.
    rects_.resize(buttons_.size());
    clockTexts_.resize(buttons_.size());
    // HeaderWidth keeps any Long: the edges are laid out within 2^20 pixels, so that widths
    // and sums of a few of them stay inside 32 bits.
    int32_t left = 0;
    for (size_t i = 0; i < buttons_.size(); ++i) {
      const int32_t right = foundation::drawnLength(int64_t{left} + buttons_[i].HeaderWidth);
      if (buttons_[i].Visible) rects_[i] = ButtonRect{left, 0, right, H, static_cast<int32_t>(i + 1), {}, false, false};
      left = right;
    }
    paintSeparators(dc, H);
    if (scheme_.toggles) {
      for (size_t i = 0; i < buttons_.size(); ++i) {
        const StripButton& b = buttons_[i];
        if (b.Visible && b.ButtonChecked && b.ButtonValue == 1) paintFace(dc, i, true);
      }
    }
    paintContents(dc, H, 0);
  }
  if (grippersOn()) paintGrippers(dc, W, H);
}

void ButtonStrip::paintContents(HDC dc, int H, int32_t highlight) {
  for (size_t i = 0; i < buttons_.size(); ++i) {
    // Over a face only the faced button's content is drawn again: the other captions are
    // untouched, and anti-aliased text drawn twice would come out darker.
    if (highlight != 0 && highlight != static_cast<int32_t>(i + 1)) continue;
    StripButton& b = buttons_[i];
    if (const int vk = keyOfStyle(b.Style)) {
      tmrKeyCheque.setEnabled(true);
      const bool on = GetKeyState(vk) != 0;
      keyCache_[b.Style - kStyleCaps] = on;
      b.Enabled = on;  // a lock panel shows enabled while its lock is on
    }
    if (b.Style == kStyleTime || b.Style == kStyleDate) tmrTime.setEnabled(true);
    if (!b.Visible) continue;
    const std::string text = liveText(i);
    if (b.Style == kStyleTime || b.Style == kStyleDate) clockTexts_[i] = text;
    rects_[i].Caption = text;
    OLE_COLOR color = b.Enabled ? m_ForeColor : m_ForeColorDisabled;
    if (highlight == static_cast<int32_t>(i + 1)) color = m_ForeColorHover;
    SetTextColor(dc, translateColor(color));
    paintCaption(dc, i, H, text);
  }
  if (scheme_.dropDowns) {
    for (size_t i = 0; i < buttons_.size(); ++i)
      if (buttons_[i].Visible && buttons_[i].MainStyle == 1 && (highlight == 0 || highlight == static_cast<int32_t>(i + 1)))
        paintDropDownArrow(dc, rects_[i]);
  }
}

void ButtonStrip::paintCaption(HDC dc, size_t i, int H, const std::string& text) {
  const StripButton& b = buttons_[i];
  const ButtonRect& r = rects_[i];
  const bool dropDown = scheme_.dropDowns && b.MainStyle == 1;
  const UINT line = DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS | DT_NOPREFIX;
  const int tw = textWidth(dc, text);
  const bool picture = !b.PanelIcon.empty();
  auto draw = [&](int left, int right, int top, UINT align) {
    RECT rc{left, top, right, H};
    DrawText(dc, text, &rc, line | align);
  };
  if (picture && captionsBelowPictures()) {
    drawPicture16(dc, b.PanelIcon, r.Left + (r.Right - r.Left) / 2 - 8, (H - 16) / 4);
    draw(r.Left + 3, r.Right - (dropDown ? 13 : 3), H / 2 + 1, DT_CENTER);
    return;
  }
  const int D = dropDown ? 13 : 3;
  const UINT align = b.HeaderAlignment == 1 ? DT_CENTER : b.HeaderAlignment == 2 ? DT_RIGHT : DT_LEFT;
  if (!picture) {
    draw(r.Left + 3, r.Right - D, 0, align);
    return;
  }
  const int py = (H - 16) / 2;
  const int width = r.Right - r.Left;
  const bool picRight = b.PicAlignment == 2;
  if (b.HeaderAlignment == 1) {
    // Text and picture centred together: the pair is the text plus a 16-pixel picture and gap.
    const int pair = tw + 19;
    const int x0 = r.Left + (width - (dropDown ? 13 : 0) - pair) / 2;
    if (picRight) {
      draw(x0, x0 + tw + 1, 0, DT_LEFT);
      drawPicture16(dc, b.PanelIcon, x0 + tw + 3, py);
    } else {
      drawPicture16(dc, b.PanelIcon, x0, py);
      draw(x0 + 19, x0 + 19 + tw + 1, 0, DT_LEFT);
    }
    return;
  }
  if (b.HeaderAlignment == 2) {
    // Right-aligned text ending at Right - D, the picture on its left or right.
    if (picRight) {
      draw(r.Left + 3, r.Right - D - 19, 0, DT_RIGHT);
      drawPicture16(dc, b.PanelIcon, r.Right - D - 16, py);
    } else {
      draw(r.Left + 3, r.Right - D, 0, DT_RIGHT);
      drawPicture16(dc, b.PanelIcon, r.Right - D - std::min(tw, width - D - 3) - 19, py);
    }
    return;
  }
  switch (b.PicAlignment) {
    case 0:
      drawPicture16(dc, b.PanelIcon, r.Left + 3, py);
      draw(r.Left + 22, r.Right - D, 0, DT_LEFT);
      break;
    case 2:
      draw(r.Left + 3, r.Right - (dropDown ? 34 : 21), 0, DT_LEFT);
      if (width >= tw + 21) drawPicture16(dc, b.PanelIcon, r.Left + 3 + tw + 2, py);
      break;
    default: {
      const int px = width > tw + 3 ? r.Left + 3 + (tw - 16) / 2 : r.Left + (width - 16) / 2;
      drawPicture16(dc, b.PanelIcon, px, py);
      draw(r.Left + 3, r.Right - D, 0, DT_LEFT);
      break;
    }
  }
}

void ButtonStrip::paintDropDownArrow(HDC dc, const ButtonRect& r) {
  const int y0 = (r.Bottom - r.Top) / 2;
  foundation::drawLines(dc, translateColor(m_BorderColor),
                        {{{r.Right - 7, y0}, {r.Right - 2, y0}},
                         {{r.Right - 6, y0 + 1}, {r.Right - 3, y0 + 1}},
                         {{r.Right - 5, y0 + 2}, {r.Right - 4, y0 + 2}}});
}

void ButtonStrip::paintWithFace(int32_t highlight, bool pressed) {
  paintPass(true);
  if (highlight < 1 || highlight > HeadersCount() || !UserControl.exists()) return;
  const HDC dc = UserControl.hDC();
  const size_t i = static_cast<size_t>(highlight - 1);
  paintFace(dc, i, pressed);
  if (scheme_.dropDowns && buttons_[i].MainStyle == 1) {
    const ButtonRect& r = rects_[i];
    foundation::drawLines(dc, translateColor(m_BorderColor), {{{r.Right - 10, 3}, {r.Right - 10, r.Bottom - 3}}});
  }
  paintContents(dc, ScaleHeight(), highlight);
  foundation::drawOutline(dc, translateColor(m_BorderColor), 0, 0, ScaleWidth(), ScaleHeight());
}

void ButtonStrip::gripDot(HDC dc, int x, int y) {
  constexpr COLORREF dark = 10906949, white = 0xFFFFFF;
  for (const Point p : {Point{x, y}, Point{x + 1, y}, Point{x, y + 1}, Point{x + 1, y + 1}}) SetPixelV(dc, p.x, p.y, dark);
  for (const Point p : {Point{x + 2, y + 1}, Point{x + 1, y + 2}, Point{x + 2, y + 2}}) SetPixelV(dc, p.x, p.y, white);
}

void ButtonStrip::etch(HDC dc, int x, int H) {
  foundation::drawLines(dc, RGB(80, 127, 176), {{{x, 3}, {x, H - 3}}});
  foundation::drawLines(dc, 0xFFFFFF, {{{x + 1, 3}, {x + 1, H - 3}}});
}

// ---- Hit testing ----------------------------------------------------------------------------------

ButtonRect ButtonStrip::HitTest(int32_t x, int32_t y) const {
  for (size_t i = 0; i < rects_.size() && i < buttons_.size(); ++i) {
    const StripButton& b = buttons_[i];
    const ButtonRect& r = rects_[i];
    if (!b.Enabled || !b.Visible || r.Index == 0) continue;
    if (r.Left < x && x < r.Right + scheme_.hitSlack && r.Top < y && y < r.Bottom) {
      ButtonRect hit = r;
      hit.Hit = true;
      hit.InDropDown = scheme_.dropDowns && b.MainStyle == 1 && r.Right - 10 < x && x < r.Right;
      return hit;
    }
  }
  return ButtonRect{};
}

bool ButtonStrip::OnResizeEdge(int32_t x, int32_t y) const {
  (void)y;
  if (!m_OnPanelWidthChanging) return false;
  for (size_t i = 0; i < rects_.size() && i < buttons_.size(); ++i) {
    const ButtonRect& r = rects_[i];
    if (buttons_[i].Enabled && buttons_[i].Visible && r.Index != 0 && r.Right < x && x < r.Right + 8) return true;
  }
  return false;
}

// ---- Input ----------------------------------------------------------------------------------------

void ButtonStrip::UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  (void)Shift;
  const int32_t x = static_cast<int32_t>(X), y = static_cast<int32_t>(Y);
  if (Button == 0) {
    pressMark_ = false;
    const ButtonRect hit = HitTest(x, y);
    hovered_ = hit.Hit ? hit.Index : 0;
    const StripButton* b = hit.Hit ? &buttons_[static_cast<size_t>(hit.Index - 1)] : nullptr;
    const bool heldDown = b && scheme_.toggles && b->ButtonChecked && b->ButtonValue != 0;
    if (m_HoverColor && b && !heldDown)
      paintWithFace(hit.Index, false);
    else
      RedrawMe(true);
    tmrHover.setEnabled(true);
    if (b && hit.Index >= 2 && !b->ToolTip.empty())
      showToolTip(static_cast<size_t>(hit.Index - 1));
    else
      hideToolTip();
    if (m_OnPanelWidthChanging) {
      const bool edge = OnResizeEdge(x, y);
      if (edge || sizingCursor_) SetCursor(LoadCursorA(0, edge ? IDC_SIZEWE : IDC_ARROW));
      sizingCursor_ = edge;
    }
  } else if ((Button & 1) && m_OnPanelWidthChanging) {
    const ButtonRect hit = HitTest(x, y);
    if (hit.Hit) {
      int32_t index = hit.Index;
      HeaderSizing.raise(index, X, Y);
    }
  }
}

void ButtonStrip::UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  (void)Button;
  (void)Shift;
  const int32_t x = static_cast<int32_t>(X), y = static_cast<int32_t>(Y);
  hideToolTip();
  RedrawMe(true);
  const ButtonRect hit = HitTest(x, y);
  pressMark_ = false;
  if (m_MouseDownColor && hit.Hit) {
    StripButton& b = buttons_[static_cast<size_t>(hit.Index - 1)];
    if (scheme_.toggles) b.ButtonValue = b.ButtonValue == 1 ? 0 : 1;
    paintWithFace(hit.Index, true);
    hovered_ = hit.Index;
    pressMark_ = true;
  }
  if (hit.InDropDown) {
    tmrHover.setEnabled(false);
    int32_t index = hit.Index;
    std::string caption = hit.Caption;
    float px = static_cast<float>(hit.Left), py = static_cast<float>(hit.Bottom);
    raisePopUp(index, caption, px, py);
  }
  tmrHover.setEnabled(true);
  if (m_OnPanelWidthChanging && hit.Hit && OnResizeEdge(x, y)) resizing_ = hit.Index;
  MouseDown.raise();
}

void ButtonStrip::UserControl_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  (void)Button;
  (void)Shift;
  const int32_t x = static_cast<int32_t>(X), y = static_cast<int32_t>(Y);
  const bool inside = x >= 0 && y >= 0 && x < ScaleWidth() && y < ScaleHeight();
  if (resizing_ != 0 && inside && resizing_ <= HeadersCount()) {
    StripButton& b = buttons_[static_cast<size_t>(resizing_ - 1)];
    const int32_t w = x - rects_[static_cast<size_t>(resizing_ - 1)].Left;
    b.HeaderWidth = w < kMinDraggedWidth ? kDraggedFallback : w;
    RedrawMe(true);
  }
  resizing_ = 0;
  const ButtonRect hit = HitTest(x, y);
  if (hit.Hit) {
    int32_t index = hit.Index;
    Click.raise(index);
  }
  pressMark_ = false;
}

// ---- Timers ---------------------------------------------------------------------------------------

void ButtonStrip::tmrHover_Timer() {
  if (CursorOutsideWindow(hWnd())) {
    RedrawMe(true);
    tmrHover.setEnabled(false);
    hovered_ = 0;
    if (sizingCursor_) SetCursor(LoadCursorA(0, IDC_ARROW));
    sizingCursor_ = false;
    hideToolTip();
  }
  MouseOverTimer.raise();
}

void ButtonStrip::tmrKeyCheque_Timer() {
  if (!UserMode()) {
    tmrKeyCheque.setEnabled(false);
    return;
  }
  for (const StripButton& b : buttons_) {
    const int vk = keyOfStyle(b.Style);
    if (vk && (GetKeyState(vk) != 0) != keyCache_[b.Style - kStyleCaps]) {
      RedrawMe(true);
      return;
    }
  }
}

bool ButtonStrip::clockTextsChanged() const {
  for (size_t i = 0; i < buttons_.size() && i < clockTexts_.size(); ++i) {
    const StripButton& b = buttons_[i];
    if (b.Visible && (b.Style == kStyleTime || b.Style == kStyleDate) && liveText(i) != clockTexts_[i]) return true;
  }
  return false;
}

void ButtonStrip::tmrTime_Timer() {
  if (!UserMode()) {
    tmrTime.setEnabled(false);
    return;
  }
  if (clockTextsChanged()) {
    if (tmrHover.Enabled() && hovered_ != 0)
      paintWithFace(hovered_, pressMark_);
    else
      RedrawMe(true);
  }
  Timer.raise();
}

// ---- Lifecycle ------------------------------------------------------------------------------------

void ButtonStrip::UserControl_Resize() {
  if (ScaleHeight() < minHeight()) setHeightTwips(pixelsToTwips(minHeight()));
  if (ScaleWidth() < kMinWidth) setWidthTwips(pixelsToTwips(kMinWidth));
  RedrawMe(true);
}

void ButtonStrip::UserControl_Terminate() {
  tmrKeyCheque.setEnabled(false);
  tmrTime.setEnabled(false);
  hideToolTip();
}

}  // namespace zxp::bars
