#include "buttons/ZorvaTextButton.h"

#include "buttons/ZorvaXPButton.h"
#include "foundation/GradientMath.h"
#include "foundation/PenLines.h"
#include "foundation/modGradient.h"
#include "foundation/modRegion.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"

namespace zxp::buttons {

using foundation::drawLines;
using foundation::Redraw;

ZorvaTextButton::ZorvaTextButton() : ControlBase("tmrCheck") {}

// ---- Properties -------------------------------------------------------------------------------

void ZorvaTextButton::setAlignment(int32_t v) { letProperty(m_Alignment, v, "Alignment", Redraw::Resting); }
void ZorvaTextButton::setGradientColor1(OLE_COLOR v) { letProperty(m_GradientColor1, v, "GradientColor1", Redraw::Resting); }
void ZorvaTextButton::setGradientColor2(OLE_COLOR v) { letProperty(m_GradientColor2, v, "GradientColor2", Redraw::Resting); }
void ZorvaTextButton::setCaption(const std::string& v) { letProperty(m_Caption, v, "Caption", Redraw::Resting); }
void ZorvaTextButton::setButtonPicture(host::PictureRef v) {
  letProperty(m_ButtonPicture, std::move(v), "ButtonPicture", Redraw::Resting);
}
void ZorvaTextButton::setButtonWidth(int32_t v) { letProperty(m_ButtonWidth, v, "ButtonWidth", Redraw::Resting); }
void ZorvaTextButton::setButtonPictureOver(host::PictureRef v) {
  letProperty(m_ButtonPictureOver, std::move(v), "ButtonPictureOver", Redraw::Resting);
}
void ZorvaTextButton::setForeColor(OLE_COLOR v) { letProperty(m_ForeColor, v, "ForeColor", Redraw::Resting); }
void ZorvaTextButton::setFont(host::FontRef f) {
  UserControl.setFont(std::move(f));
  restingChanged();
  PropertyChanged("Font");
}
void ZorvaTextButton::setEnabled(bool v) {
  UserControl.setEnabled(v);
  restingChanged();
  PropertyChanged("Enabled");
}

// ---- Persistence ------------------------------------------------------------------------------

void ZorvaTextButton::UserControl_InitProperties() {
  setGradientColor1(kGradientColor1);
  setGradientColor2(kGradientColor2);
  setCaption("Zorv");
  setAlignment(0);
  setButtonWidth(kButtonWidth);
  setButtonPicture(host::PictureRef());
  setButtonPictureOver(host::PictureRef());
  setFont(Ambient().Font);
  setForeColor(0);
  setEnabled(true);
}

void ZorvaTextButton::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  m_Alignment = PropBag.read<int32_t>("Alignment", 0);
  m_GradientColor1 = PropBag.read<OLE_COLOR>("GradientColor1", kGradientColor1);
  m_GradientColor2 = PropBag.read<OLE_COLOR>("GradientColor2", kGradientColor2);
  m_Caption = PropBag.readText("Caption", "Zorv");
  m_ButtonPicture = PropBag.read<host::PictureRef>("ButtonPicture", host::PictureRef());
  m_ButtonWidth = PropBag.read<int32_t>("ButtonWidth", kButtonWidth);
  m_ButtonPictureOver = PropBag.read<host::PictureRef>("ButtonPictureOver", host::PictureRef());
  UserControl.setFont(PropBag.read<host::FontRef>("Font", Ambient().Font));
  m_ForeColor = PropBag.read<OLE_COLOR>("ForeColor", 0);
  UserControl.setEnabled(PropBag.read<bool>("Enabled", true));
  restingChanged();
}

void ZorvaTextButton::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  PropBag.WriteProperty("Alignment", m_Alignment, int32_t{0});
  PropBag.WriteProperty("GradientColor1", m_GradientColor1, kGradientColor1);
  PropBag.WriteProperty("GradientColor2", m_GradientColor2, kGradientColor2);
  PropBag.WriteProperty("Caption", m_Caption, "Zorv");
  PropBag.WriteProperty("ButtonPicture", m_ButtonPicture);
  PropBag.WriteProperty("ButtonWidth", m_ButtonWidth, kButtonWidth);
  PropBag.WriteProperty("ButtonPictureOver", m_ButtonPictureOver);
  PropBag.WriteProperty("Font", Font());
  PropBag.WriteProperty("ForeColor", m_ForeColor, OLE_COLOR{0});
  PropBag.WriteProperty("Enabled", Enabled(), true);
}

// ---- Drawing ----------------------------------------------------------------------------------

void ZorvaTextButton::RedrawMe() {
  if (!UserControl.exists()) return;
  if (m_ButtonWidth == 0) setButtonWidth(kButtonWidth);  // the setter redraws again, harmlessly
  // The width in pixels, kept within what a window can be.
  const int32_t width = std::clamp<int32_t>(m_ButtonWidth, 1, 1 << 15);
  if (ScaleWidth() != width) setWidthTwips(pixelsToTwips(width));
  imgIcon.picture = m_ButtonPicture;
  placeIcon();
  CutCornerPixels(hWnd(), ScaleWidth(), ScaleHeight());
  if (Enabled())
    DrawRestingLook();
  else
    DrawDisabledLook();
}

// The icon's box: beside a caption at the left (Alignment 0) or 3 pixels from the right edge,
// centred without a caption; always centred vertically.
void ZorvaTextButton::placeIcon() {
  const int sw = ScaleWidth(), sh = ScaleHeight();
  int left = 0;
  if (!m_Caption.empty())
    left = m_Alignment == 0 ? 2 : sw - kIconSize - 3;
  else
    left = (sw - kIconSize) / 2;
  const int top = (sh - kIconSize) / 2;
  imgIcon.box = RECT{left, top, left + kIconSize, top + kIconSize};
}

void ZorvaTextButton::DrawBorder() {
  const HDC dc = UserControl.hDC();
  const int sw = ScaleWidth(), sh = ScaleHeight();
  const bool on = Enabled();
  const COLORREF line = on ? kBorder : kDisabledBorder;
  const COLORREF corner = on ? kCorner : kDisabledBorder;
  drawLines(dc, line,
            {{{1, 0}, {sw - 1, 0}}, {{1, sh - 1}, {sw - 1, sh - 1}}, {{0, 1}, {0, sh - 1}}, {{sw - 1, 1}, {sw - 1, sh - 1}}});
  SetPixelV(dc, 1, 1, corner);
  SetPixelV(dc, sw - 2, 1, corner);
  SetPixelV(dc, 1, sh - 2, corner);
  SetPixelV(dc, sw - 2, sh - 2, corner);
}

void ZorvaTextButton::DrawRestingLook() {
  const HDC dc = UserControl.hDC();
  if (!dc) return;
  UserControl.Cls();
  GradientFillVertical(dc, ScaleWidth(), ScaleHeight(), m_GradientColor2, m_GradientColor1);
  DrawBorder();
  DrawIcon();
  DrawCaption();
}

void ZorvaTextButton::DrawHoverLook() {
  const HDC dc = UserControl.hDC();
  if (!dc || !Enabled()) return;
  if (!m_ButtonPictureOver.empty()) imgIcon.picture = m_ButtonPictureOver;
  UserControl.Cls();
  GradientFillVertical(dc, ScaleWidth(), ScaleHeight(), m_GradientColor2, m_GradientColor1);
  DrawBorder();
  ZorvaXPButton::DrawHoverFrame(dc, ScaleWidth(), ScaleHeight());
  DrawIcon();
  DrawCaption();
}

void ZorvaTextButton::DrawPressedLook() {
  const HDC dc = UserControl.hDC();
  if (!dc || !Enabled()) return;
  UserControl.Cls();
  GradientFillVertical(dc, ScaleWidth(), ScaleHeight(), m_GradientColor1, m_GradientColor2);
  DrawBorder();
  DrawIcon();
  DrawCaption();
}

void ZorvaTextButton::DrawDisabledLook() {
  const HDC dc = UserControl.hDC();
  if (!dc) return;
  UserControl.Cls();
  foundation::fillSolid(dc, kDisabledFace, RECT{0, 0, ScaleWidth(), ScaleHeight()});
  DrawIcon();
  if (!imgIcon.picture.empty()) {
    // The icon's box read back pixel by pixel and written as grey, (r + g + b + 1) / 3.
    const RECT& b = imgIcon.box;
    for (int y = b.top; y < b.bottom; ++y)
      for (int x = b.left; x < b.right; ++x) {
        const COLORREF c = GetPixel(dc, x, y);
        if (c == CLR_INVALID) continue;
        const auto g = static_cast<BYTE>(gradient::greyByte(GetRValue(c), GetGValue(c), GetBValue(c)));
        SetPixelV(dc, x, y, RGB(g, g, g));
      }
  }
  DrawBorder();
  DrawCaption();
}

// imgIcon's picture stretched into its 16 x 16 box: an icon through DrawIconEx, a bitmap blitted.
void ZorvaTextButton::DrawIcon() {
  const host::PictureRef& p = imgIcon.picture;
  if (p.empty()) return;
  const HDC dc = UserControl.hDC();
  const RECT& b = imgIcon.box;
  if (p.Type() == vbPicTypeIcon) {
    DrawIconEx(dc, b.left, b.top, static_cast<HICON>(p.Handle()), kIconSize, kIconSize, 0, 0, DI_NORMAL);
    return;
  }
  MemoryDC mem(dc);
  if (!mem) return;
  Selection selected(mem.get(), p.Handle());
  if (!selected.ok()) return;
  BITMAP bm{};
  GetObject(p.Handle(), sizeof bm, &bm);
  StretchBlt(dc, b.left, b.top, kIconSize, kIconSize, mem.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
}

void ZorvaTextButton::DrawCaption() {
  const HDC dc = UserControl.hDC();
  const int sw = ScaleWidth(), sh = ScaleHeight();
  SetBkMode(dc, TRANSPARENT);
  UserControl.setForeColor(m_ForeColor);
  RECT measure{0, 0, 0, 0};
  DrawText(dc, m_Caption, &measure, DT_SINGLELINE | DT_CALCRECT);
  const int tw = measure.right - measure.left, th = measure.bottom - measure.top;
  const int top = nearest((sh - th) / 2.0);
  RECT r{0, top, sw, top + th};
  UINT align = DT_LEFT;
  if (m_ButtonPicture.empty()) {
    r.left = nearest((sw - tw) / 2.0) + 1;
    r.right = sw;
  } else {
    align = DT_CENTER;
    if (m_Alignment == 0) {
      r.left = imgIcon.box.right + 2;
      r.right = sw - 2;
    } else if (m_Alignment == 1) {
      r.left = 1;
      r.right = imgIcon.box.left - 1;
    } else {
      r.left = 0;
      r.right = sw - 2;
    }
  }
  captionRect_ = r;
  DrawText(dc, m_Caption, &r, DT_SINGLELINE | DT_WORD_ELLIPSIS | align);
  setAccessKeyFromCaption(m_Caption);
}

// ---- Input ------------------------------------------------------------------------------------

void ZorvaTextButton::UserControl_MouseDown(int16_t&, int16_t&, float&, float&) {
  setPressed(true);
  DrawPressedLook();
}

void ZorvaTextButton::UserControl_DblClick() {
  setPressed(true);
  DrawPressedLook();
}

void ZorvaTextButton::UserControl_MouseUp(int16_t&, int16_t&, float&, float&) {
  setPressed(false);
  Click.raise();
  RedrawMe();
}

// Every movement shows the hover look (with the hover icon) and keeps the polling timer on.
void ZorvaTextButton::UserControl_MouseMove(int16_t&, int16_t&, float&, float&) {
  if (pressed()) return;
  DrawHoverLook();
  tmrHover.setEnabled(true);
}

// ---- Class ------------------------------------------------------------------------------------

const host::MemberTable& ZorvaTextButton::memberTable() const {
  using B = ZorvaTextButton;
  static const host::MemberTable table = host::ClassMembers<B>("ZorvaTextButton")
      .property("Alignment", &B::Alignment, &B::setAlignment)
      .property("GradientColor1", &B::GradientColor1, &B::setGradientColor1)
      .property("GradientColor2", &B::GradientColor2, &B::setGradientColor2)
      .property("Caption", &B::Caption, &B::setCaption)
      .property("ButtonPicture", &B::ButtonPicture, &B::setButtonPicture)
      .property("ButtonWidth", &B::ButtonWidth, &B::setButtonWidth)
      .property("ButtonPictureOver", &B::ButtonPictureOver, &B::setButtonPictureOver)
      .property("Font", &B::Font, &B::setFont)
      .property("ForeColor", &B::ForeColor, &B::setForeColor)
      .property("Enabled", &B::Enabled, &B::setEnabled)
      .method("RedrawMe", &B::RedrawMe)
      .event("Click", &B::Click)
      .build();
  return table;
}

}  // namespace zxp::buttons
