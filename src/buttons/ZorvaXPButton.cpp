#include "buttons/ZorvaXPButton.h"

#include <optional>
#include <type_traits>

#include "foundation/FaceCache.h"
#include "foundation/PenLines.h"
#include "foundation/modGeneral.h"
#include "foundation/modGradient.h"
#include "foundation/modRegion.h"
#include "platform/base/Scratch.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/ui/User.h"

namespace zxp::buttons {

using foundation::drawLines;
using foundation::Redraw;

namespace {

// The caption's text flags: wrapped at word boundaries, a word too long for the width ends in
// an ellipsis, "&" marks the access key.
constexpr UINT kCaptionFlags = DT_WORDBREAK | DT_WORD_ELLIPSIS;
// Captions up to this many bytes are part of a kept look's key (FaceCache::looks()).
constexpr size_t kLookCaptionLimit = 4096;

}  // namespace

ZorvaXPButton::ZorvaXPButton() : ControlBase("tmr1") {
  // The hover look stays while the button has the focus: the timer leaves it alone then.
  setHoverStaysWhileFocused(true);
}

// ---- Properties -------------------------------------------------------------------------------

void ZorvaXPButton::setButtonStyle(ButtonStyleDType v) { letProperty(m_ButtonStyle, v, "ButtonStyle", Redraw::Resting); }
void ZorvaXPButton::setGradientColorXP1(OLE_COLOR v) {
  letProperty(m_GradientColorXP1, v, "GradientColorXP1", Redraw::Resting);
}
void ZorvaXPButton::setGradientColorVistaXP2(OLE_COLOR v) {
  letProperty(m_GradientColorVistaXP2, v, "GradientColorVistaXP2", Redraw::Resting);
}
void ZorvaXPButton::setHiglightMouseOver(bool v) {
  letProperty(m_HiglightMouseOver, v, "HiglightMouseOver", Redraw::None);
}
void ZorvaXPButton::setClickButtonStyle(ClickButtonStyleDType v) {
  letProperty(m_ClickButtonStyle, v, "ClickButtonStyle", Redraw::None);
}
void ZorvaXPButton::setGradientColorHighlight(OLE_COLOR v) {
  letProperty(m_GradientColorHighlight, v, "GradientColorHighlight", Redraw::None);
}
void ZorvaXPButton::setCaption(std::string v) { letProperty(m_Caption, std::move(v), "Caption", Redraw::Resting); }
void ZorvaXPButton::setForeColorNormal(OLE_COLOR v) {
  letProperty(m_ForeColorNormal, v, "ForeColorNormal", Redraw::Resting);
}
void ZorvaXPButton::setForeColorHighlight(OLE_COLOR v) {
  letProperty(m_ForeColorHighlight, v, "ForeColorHighlight", Redraw::None);
}
void ZorvaXPButton::setForeColorClick(OLE_COLOR v) { letProperty(m_ForeColorClick, v, "ForeColorClick", Redraw::None); }
const ZorvaXPButton::Rare& ZorvaXPButton::rare() const {
  static const Rare none;
  return rare_ ? *rare_ : none;
}

ZorvaXPButton::Rare& ZorvaXPButton::rareForWriting() {
  if (!rare_) rare_ = std::make_unique<Rare>();
  return *rare_;
}

void ZorvaXPButton::setPicture(host::PictureRef v) {
  letProperty(rareForWriting().picture, std::move(v), "Picture", Redraw::Resting);
}
void ZorvaXPButton::setPictureSize(PicSizeDtype v) { letProperty(m_PictureSize, v, "PictureSize", Redraw::Resting); }
void ZorvaXPButton::setPicturePosition(PicturePositionDType v) {
  letProperty(m_PicturePosition, v, "PicturePosition", Redraw::Resting);
}
void ZorvaXPButton::setPictureHighlight(host::PictureRef v) {
  letProperty(rareForWriting().pictureHighlight, std::move(v), "PictureHighlight", Redraw::None);
}
void ZorvaXPButton::setPictureSizeHighlight(PicSizeDtype v) {
  letProperty(m_PictureSizeHighlight, v, "PictureSizeHighlight", Redraw::None);
}
void ZorvaXPButton::setNormalColor(OLE_COLOR v) { letProperty(m_NormalColor, v, "NormalColor", Redraw::Resting); }
void ZorvaXPButton::setNormalColorHighlight(OLE_COLOR v) {
  letProperty(m_NormalColorHighlight, v, "NormalColorHighlight", Redraw::None);
}
void ZorvaXPButton::setGradientColor(bool v) {
  m_GradientColor = v;
  if (v) m_NormalColor = kNormalColor;
  DrawNormalButton();
  PropertyChanged("GradientColor");
}
void ZorvaXPButton::setSoundOnOver(const std::string& v) { letSoundPath(rareForWriting().soundOnOver, v, "SoundOnOver"); }
void ZorvaXPButton::setSoundOnClicked(const std::string& v) { letSoundPath(rareForWriting().soundOnClicked, v, "SoundOnClicked"); }
void ZorvaXPButton::setBorderColorClick(OLE_COLOR v) {
  letProperty(m_BorderColorClick, v, "BorderColorClick", Redraw::None);
}
void ZorvaXPButton::setBorderColorNormal(OLE_COLOR v) {
  letProperty(m_BorderColorNormal, v, "BorderColorNormal", Redraw::Resting);
}
void ZorvaXPButton::setBorderColorHighlight(OLE_COLOR v) {
  letProperty(m_BorderColorHighlight, v, "BorderColorHighlight", Redraw::None);
}

// ---- Persistence ------------------------------------------------------------------------------

// "ZorvaXp" and the display name from its eighth character on: ZorvaXPButton1 -> ZorvaXpButton1.
std::string ZorvaXPButton::defaultCaption() const {
  return captionFromDisplayName(Ambient().DisplayName, "ZorvaXp", 7);
}

void ZorvaXPButton::UserControl_InitProperties() {
  m_ButtonStyle = ButtonStyleDType::Vista;
  m_GradientColorXP1 = kGradientColorXP1;
  m_GradientColorVistaXP2 = kGradientColorVistaXP2;
  m_HiglightMouseOver = true;
  m_ClickButtonStyle = ClickButtonStyleDType::Embossed;
  m_GradientColorHighlight = kGradientColorHighlight;
  m_Caption = defaultCaption();
  UserControl.setFont(Ambient().Font);
  m_ForeColorNormal = kForeColorNormal;
  m_ForeColorHighlight = kForeColorHighlight;
  m_ForeColorClick = kForeColorClick;
  rare_.reset();  // no pictures, no sounds
  m_PictureSize = PicSizeDtype::IMG_16X16;
  m_PicturePosition = PicturePositionDType::Left;
  m_PictureSizeHighlight = PicSizeDtype::IMG_16X16;
  m_NormalColor = kNormalColor;
  m_NormalColorHighlight = kNormalColorHighlight;
  m_GradientColor = true;
  m_BorderColorClick = kBorderColorClick;
  m_BorderColorNormal = kBorderColorNormal;
  m_BorderColorHighlight = kBorderColorHighlight;
}

void ZorvaXPButton::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  m_ButtonStyle = PropBag.read<ButtonStyleDType>("ButtonStyle", ButtonStyleDType::Vista);
  m_GradientColorXP1 = PropBag.read<OLE_COLOR>("GradientColorXP1", kGradientColorXP1);
  m_GradientColorVistaXP2 = PropBag.read<OLE_COLOR>("GradientColorVistaXP2", kGradientColorVistaXP2);
  m_HiglightMouseOver = PropBag.read<bool>("HiglightMouseOver", true);
  m_ClickButtonStyle = PropBag.read<ClickButtonStyleDType>("ClickButtonStyle", ClickButtonStyleDType::Embossed);
  m_GradientColorHighlight = PropBag.read<OLE_COLOR>("GradientColorHighlight", kGradientColorHighlight);
  m_Caption = PropBag.readText("Caption", defaultCaption());
  UserControl.setFont(PropBag.read<host::FontRef>("Font", Ambient().Font));
  m_ForeColorNormal = PropBag.read<OLE_COLOR>("ForeColorNormal", kForeColorNormal);
  m_ForeColorHighlight = PropBag.read<OLE_COLOR>("ForeColorHighlight", kForeColorHighlight);
  m_ForeColorClick = PropBag.read<OLE_COLOR>("ForeColorClick", kForeColorClick);
  storeRare(&Rare::picture, PropBag.read<host::PictureRef>("Picture", host::PictureRef()));
  m_PictureSize = PropBag.read<PicSizeDtype>("PictureSize", PicSizeDtype::IMG_16X16);
  m_PicturePosition = PropBag.read<PicturePositionDType>("PicturePosition", PicturePositionDType::Left);
  storeRare(&Rare::pictureHighlight, PropBag.read<host::PictureRef>("PictureHighlight", host::PictureRef()));
  m_PictureSizeHighlight = PropBag.read<PicSizeDtype>("PictureSizeHighlight", PicSizeDtype::IMG_16X16);
  m_NormalColor = PropBag.read<OLE_COLOR>("NormalColor", kNormalColor);
  m_NormalColorHighlight = PropBag.read<OLE_COLOR>("NormalColorHighlight", kNormalColorHighlight);
  m_GradientColor = PropBag.read<bool>("GradientColor", true);
  UserControl.setEnabled(PropBag.read<bool>("Enabled", true));
  UserControl.setMousePointer(PropBag.read<int16_t>("MousePointer", 0));
  UserControl.setMouseIcon(PropBag.read<host::PictureRef>("MouseIcon", host::PictureRef()));
  storeRare(&Rare::soundOnOver, PropBag.read<std::string>("SoundOnOver", ""));
  storeRare(&Rare::soundOnClicked, PropBag.read<std::string>("SoundOnClicked", ""));
  m_BorderColorClick = PropBag.read<OLE_COLOR>("BorderColorClick", kBorderColorClick);
  m_BorderColorNormal = PropBag.read<OLE_COLOR>("BorderColorNormal", kBorderColorNormal);
  m_BorderColorHighlight = PropBag.read<OLE_COLOR>("BorderColorHighlight", kBorderColorHighlight);
  restingChanged();
}

void ZorvaXPButton::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  PropBag.WriteProperty("ButtonStyle", m_ButtonStyle, ButtonStyleDType::Vista);
  PropBag.WriteProperty("GradientColorXP1", m_GradientColorXP1, kGradientColorXP1);
  PropBag.WriteProperty("GradientColorVistaXP2", m_GradientColorVistaXP2, kGradientColorVistaXP2);
  PropBag.WriteProperty("HiglightMouseOver", m_HiglightMouseOver, true);
  PropBag.WriteProperty("ClickButtonStyle", m_ClickButtonStyle, ClickButtonStyleDType::Embossed);
  PropBag.WriteProperty("GradientColorHighlight", m_GradientColorHighlight, kGradientColorHighlight);
  PropBag.WriteProperty("Caption", m_Caption, defaultCaption());
  PropBag.WriteProperty("Font", Font());
  PropBag.WriteProperty("ForeColorNormal", m_ForeColorNormal, kForeColorNormal);
  PropBag.WriteProperty("ForeColorHighlight", m_ForeColorHighlight, kForeColorHighlight);
  PropBag.WriteProperty("ForeColorClick", m_ForeColorClick, kForeColorClick);
  // Pictures, like the font, are written with no default: an empty one is stored as none.
  PropBag.WriteProperty("Picture", rare().picture);
  PropBag.WriteProperty("PictureSize", m_PictureSize, PicSizeDtype::IMG_16X16);
  PropBag.WriteProperty("PicturePosition", m_PicturePosition, PicturePositionDType::Left);
  PropBag.WriteProperty("PictureHighlight", rare().pictureHighlight);
  PropBag.WriteProperty("PictureSizeHighlight", m_PictureSizeHighlight, PicSizeDtype::IMG_16X16);
  PropBag.WriteProperty("NormalColor", m_NormalColor, kNormalColor);
  PropBag.WriteProperty("NormalColorHighlight", m_NormalColorHighlight, kNormalColorHighlight);
  PropBag.WriteProperty("GradientColor", m_GradientColor, true);
  PropBag.WriteProperty("Enabled", Enabled(), true);
  PropBag.WriteProperty("MousePointer", MousePointer(), int16_t{0});
  PropBag.WriteProperty("MouseIcon", MouseIcon());
  PropBag.WriteProperty("SoundOnOver", rare().soundOnOver, "");
  PropBag.WriteProperty("SoundOnClicked", rare().soundOnClicked, "");
  PropBag.WriteProperty("BorderColorClick", m_BorderColorClick, kBorderColorClick);
  PropBag.WriteProperty("BorderColorNormal", m_BorderColorNormal, kBorderColorNormal);
  PropBag.WriteProperty("BorderColorHighlight", m_BorderColorHighlight, kBorderColorHighlight);
}

// ---- Drawing ----------------------------------------------------------------------------------

// DrawNormalButton clears the surface before it paints, so the redraw does not clear it first.
void ZorvaXPButton::RedrawMe() {
  if (ScaleWidth() < 8) setWidthTwips(120);
  if (ScaleHeight() < 8) setHeightTwips(120);
  CutWindowShape();
  DrawNormalButton();
}

// The window keeps the rectangle without its four corner pixels; the window owns the region.
void ZorvaXPButton::CutWindowShape() {
  const int sw = ScaleWidth(), sh = ScaleHeight();
  CutCornerPixels(hWnd(), sw, sh);
}

// The border lines leave the corners open; the pixels diagonally inside them (in `corner`)
// close the curve.
void ZorvaXPButton::DrawBorder(HDC dc, COLORREF color, COLORREF corner) const {
  const int sw = ScaleWidth(), sh = ScaleHeight();
  drawLines(dc, color,
            {{{1, 0}, {sw - 1, 0}}, {{1, sh - 1}, {sw - 1, sh - 1}}, {{0, 1}, {0, sh - 1}}, {{sw - 1, 1}, {sw - 1, sh - 1}}});
  SetPixelV(dc, 1, 1, corner);
  SetPixelV(dc, sw - 2, 1, corner);
  SetPixelV(dc, 1, sh - 2, corner);
  SetPixelV(dc, sw - 2, sh - 2, corner);
}

// The gradient face of the resting and hover looks. XP: a vertical gradient from `color` on the
// bottom line to `xpTop` on the top line. Vista (any style but XP): the glass, an upper band from
// `color` at its lower right to `vistaLight` at its upper left, and a lower band from the middle,
// `color` at its top to `vistaLight` at the bottom.
void ZorvaXPButton::DrawGradientFace(HDC dc, OLE_COLOR color, OLE_COLOR xpTop, OLE_COLOR vistaLight) const {
  const int sw = ScaleWidth(), sh = ScaleHeight();
  if (m_ButtonStyle == ButtonStyleDType::XP) {
    GradientFillVertical(dc, sw, sh, color, xpTop);
    return;
  }
  const int32_t band = nearest(sh / 2.0 + 1);
  GradientFillHalf(dc, sw, band, color, vistaLight, 130, false, true);
  GradientFillHalf(dc, sw, band, vistaLight, color, 90, false, false);
}

namespace {

// Each look starts by clearing the whole surface to its BackColor, as Cls does.
void clearFace(HDC dc, int sw, int sh, COLORREF color) {
  const SolidRect area{RECT{0, 0, sw, sh}, color};
  if (!FillSolidRects(dc, &area, 1)) foundation::fillSolid(dc, color, area.rect);
}

// Tell the button's faces and whole looks apart from other controls' in the shared caches.
constexpr char kFaceOwner = 0;
constexpr char kLookOwner = 0;

}  // namespace

// What the looks paint before the caption, in their order: a clear to BackColor (a flat look
// first makes its colour the BackColor); the gradient, or the bevel of the flat resting look;
// the shadow of an embossed press; the border; the hover frame. A later clear covers all that
// came before it, so the disabled look (drawn over the resting one) is its clear and its border,
// and the flat press (drawn over the embossed one) its clear and its vertical gradient.
void ZorvaXPButton::PaintFace(HDC dc, Face face, COLORREF clear) const {
  const int sw = ScaleWidth(), sh = ScaleHeight();
  const bool xp = m_ButtonStyle == ButtonStyleDType::XP;
  switch (face) {
    case Face::Resting:
      if (m_GradientColor) {
        clearFace(dc, sw, sh, clear);
        DrawGradientFace(dc, m_GradientColorVistaXP2, m_GradientColorXP1, kWhite);
      } else {
        const COLORREF normal = translateColor(m_NormalColor);
        clearFace(dc, sw, sh, normal);
        drawLines(dc, kBevelLight, {{{1, 1}, {sw - 1, 1}}});
        drawLines(dc, kBevelLighter, {{{1, 2}, {sw - 1, 2}}});
        drawLines(dc, normal, {{{2, sh - 2}, {sw - 2, sh - 2}}});
        drawLines(dc, kBevelShadow, {{{1, sh - 3}, {sw - 1, sh - 3}}});
        drawLines(dc, kBevelLight, {{{1, 1}, {1, sh - 1}}});
        drawLines(dc, kBevelLighter, {{{2, 2}, {2, sh - 2}}});
        drawLines(dc, normal, {{{sw - 2, 1}, {sw - 2, sh - 1}}});
        drawLines(dc, kBevelShadow, {{{sw - 3, 2}, {sw - 3, sh - 2}}});
      }
      DrawBorder(dc, translateColor(m_BorderColorNormal));
      break;
    case Face::Disabled:
      clearFace(dc, sw, sh, translateColor(kDisabledFace));
      DrawBorder(dc, kDisabledBorder, kDisabledBorder);
      break;
    case Face::Hover:
      clearFace(dc, sw, sh, clear);
      if (m_GradientColor) DrawGradientFace(dc, m_GradientColorHighlight, kLightFace, kLightFace);
      DrawBorder(dc, translateColor(m_BorderColorHighlight));
      DrawHoverFrame(dc, sw, sh);
      break;
    case Face::Pressed:
      clearFace(dc, sw, sh, clear);
      if (m_GradientColor) {
        if (xp) {
          GradientFillVertical(dc, sw, sh, kLightFace, m_GradientColorHighlight);
          drawLines(dc, kPressShadow, {{{2, sh - 2}, {sw - 2, sh - 2}}});
          drawLines(dc, kPressShadow2, {{{1, sh - 3}, {sw - 1, sh - 3}}});
        } else {
          GradientFillHalf(dc, sw, sh, kLightFace, m_GradientColorHighlight, 130, false, true);
          drawLines(dc, kPressShadow, {{{sw - 2, 1}, {sw - 2, sh - 2}}});
          drawLines(dc, kPressShadow2, {{{sw - 3, 1}, {sw - 3, sh - 1}}});
        }
      }
      DrawBorder(dc, translateColor(m_BorderColorClick));
      break;
    case Face::PressedFlat:
      clearFace(dc, sw, sh, clear);
      if (m_GradientColor) GradientFillVertical(dc, sw, sh, kLightFace, m_GradientColorHighlight);
      break;
  }
}

foundation::FaceKey ZorvaXPButton::PrepareFace(Face face, COLORREF& clear) {
  const int sw = ScaleWidth(), sh = ScaleHeight();
  // The flat looks and the disabled look make their colour the BackColor (which clears the
  // surface, as the face's own clear does again); the gradient looks keep the BackColor they
  // find and clear to it.
  std::optional<OLE_COLOR> back;
  if (face == Face::Disabled)
    back = kDisabledFace;
  else if (!m_GradientColor)
    back = face == Face::Resting ? m_NormalColor : m_NormalColorHighlight;
  clear = translateColor(back.value_or(UserControl.BackColor()));
  if (back && UserControl.BackColor() != *back) UserControl.setBackColor(*back);

  // Everything the face's pixels depend on, and nothing more, so that equal faces are shared.
  foundation::FaceKey key{&kFaceOwner, sw, sh, {}, {}};
  auto& v = key.values;
  v[0] = static_cast<uint32_t>(face) | (m_ButtonStyle == ButtonStyleDType::XP ? 0x100u : 0u) |
         (m_GradientColor ? 0x200u : 0u);
  switch (face) {
    case Face::Resting:
      v[1] = clear;
      v[2] = m_GradientColor ? m_GradientColorVistaXP2 : 0;
      v[3] = m_GradientColor ? m_GradientColorXP1 : 0;
      v[4] = translateColor(m_BorderColorNormal);
      break;
    case Face::Disabled:
      v[0] = static_cast<uint32_t>(face);  // neither style nor gradient shows
      break;
    case Face::Hover:
      v[1] = clear;
      v[2] = m_GradientColor ? m_GradientColorHighlight : 0;
      v[4] = translateColor(m_BorderColorHighlight);
      break;
    case Face::Pressed:
      v[1] = clear;
      v[2] = m_GradientColor ? m_GradientColorHighlight : 0;
      v[4] = translateColor(m_BorderColorClick);
      break;
    case Face::PressedFlat:
      v[0] &= ~0x100u;  // the flat press is the same vertical gradient in both styles
      v[1] = clear;
      v[2] = m_GradientColor ? m_GradientColorHighlight : 0;
      break;
  }
  return key;
}

// The last line of the face leaves the DC's current position at its end, as drawing it here
// would have; the flat press draws no line and leaves it where it was.
void ZorvaXPButton::FinishFace(Face face, int sw, int sh) {
  const HDC dc = UserControl.hDC();
  if (face == Face::Hover)
    MoveToEx(dc, sw - 2, sh - 2, nullptr);
  else if (face != Face::PressedFlat)
    MoveToEx(dc, sw - 1, sh - 1, nullptr);
}

// A look: its face, then the caption and picture in the look's text colour (`fore`; nullptr
// keeps the colour set). Without pictures the whole look, caption included, is the same for as
// long as the face, the caption, the font and the text colour are, so the last few looks drawn
// are kept whole (FaceCache::looks()): a pointer moving onto the button and off it again
// copies them back.
void ZorvaXPButton::DrawLook(Face face, const OLE_COLOR* fore, bool pictureMode) {
  const HDC dc = UserControl.hDC();
  if (!dc) return;
  COLORREF clear = 0;
  const foundation::FaceKey faceKey = PrepareFace(face, clear);
  auto paintFace = [&](HDC target) {
    foundation::FaceCache::shared().draw(target, faceKey, [&](HDC t) { PaintFace(t, face, clear); });
  };
  // A look with a picture, or in a font that cannot be described, is painted as it stands; so is
  // one with a caption longer than any a button shows, which would cost a copy of the caption
  // into the key on every draw.
  const Rare& pictures = rare();
  const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
  LOGFONT lf;
  static_assert(std::has_unique_object_representations_v<LOGFONT>, "a font's description is compared byte for byte");
  if (!pictures.picture.empty() || !pictures.pictureHighlight.empty() || m_Caption.size() > kLookCaptionLimit ||
      GetObject(font, sizeof lf, &lf) != sizeof lf) {
    paintFace(dc);
    FinishFace(face, faceKey.width, faceKey.height);
    if (fore) UserControl.setForeColor(*fore);
    m_PictureMode = pictureMode;
    DrawCaptionAndPicture(dc);
    setAccessKeyFromCaption(m_Caption);
    return;
  }
  if (fore) UserControl.setForeColor(*fore);
  m_PictureMode = pictureMode;
  SetBkMode(dc, TRANSPARENT);
  // The look's key: the face's, with the caption, the font's description and the text colour.
  // Built in one reused key, so that its text (the font's description and the caption) is not
  // allocated again on every draw; the cache copies a key it keeps.
  ZXP_SCRATCH foundation::FaceKey lookKey;
  lookKey.owner = &kLookOwner;
  lookKey.width = faceKey.width;
  lookKey.height = faceKey.height;
  lookKey.values = faceKey.values;
  const COLORREF text = GetTextColor(dc);
  lookKey.values[5] = text;
  lookKey.text.assign(reinterpret_cast<const char*>(&lf), sizeof lf);
  lookKey.text += m_Caption;
  foundation::FaceCache::looks().draw(dc, lookKey, [&](HDC target) {
    paintFace(target);
    if (target != dc) {
      SelectObject(target, font);
      SetTextColor(target, text);
      SetBkMode(target, TRANSPARENT);
    }
    DrawCaptionAndPicture(target);
  });
  FinishFace(face, faceKey.width, faceKey.height);
  setAccessKeyFromCaption(m_Caption);
}

void ZorvaXPButton::DrawNormalButton() {
  const bool enabled = Enabled();
  DrawLook(enabled ? Face::Resting : Face::Disabled, enabled ? &m_ForeColorNormal : nullptr, false);
}

void ZorvaXPButton::DrawHoverButton() { DrawLook(Face::Hover, &m_ForeColorHighlight, true); }

void ZorvaXPButton::DrawHoverFrame(HDC dc, int sw, int sh) {
  drawLines(dc, kFrameTop, {{{2, 1}, {sw - 2, 1}}});
  drawLines(dc, kFrameTop2, {{{1, 2}, {sw - 1, 2}}});
  drawLines(dc, kFrameSide, {{{1, 3}, {1, sh - 2}}});
  drawLines(dc, kFrameSide2, {{{2, 3}, {2, sh - 2}}});
  drawLines(dc, kFrameSide, {{{sw - 2, 3}, {sw - 2, sh - 2}}});
  drawLines(dc, kFrameSide2, {{{sw - 3, 3}, {sw - 3, sh - 2}}});
  drawLines(dc, kFrameSide, {{{2, sh - 3}, {sw - 2, sh - 3}}});
  drawLines(dc, kFrameBottom2, {{{2, sh - 2}, {sw - 2, sh - 2}}});
}

void ZorvaXPButton::DrawClickButton() {
  DrawLook(m_ClickButtonStyle != ClickButtonStyleDType::Embossed ? Face::PressedFlat : Face::Pressed,
           &m_ForeColorClick, true);
}

// The caption (wrapped, word ellipsis, transparent) and the icon in its place. In the hover and
// pressed looks the highlight icon is used when there is one.
void ZorvaXPButton::DrawCaptionAndPicture(HDC dc) const {
  const int sw = ScaleWidth(), sh = ScaleHeight();
  SetBkMode(dc, TRANSPARENT);
  const std::string& text = m_Caption;

  // The caption's wrapped size at a width: {Wt, Ht}.
  auto measure = [&](int width, UINT align) {
    RECT r{0, 0, width, sh};
    DrawText(dc, text, &r, kCaptionFlags | align | DT_CALCRECT);
    return Size{r.right - r.left, r.bottom - r.top};
  };
  auto draw = [&](RECT r, UINT align) { DrawText(dc, text, &r, kCaptionFlags | align); };

  const Rare& pictures = rare();
  if (pictures.picture.empty() && pictures.pictureHighlight.empty()) {
    const Size t = measure(sw, DT_CENTER);
    draw(RECT{0, nearest((sh - t.cy) / 2.0), sw, sh}, DT_CENTER);
    return;
  }

  const bool highlight = m_PictureMode && !pictures.pictureHighlight.empty();
  const host::PictureRef& picture = highlight ? pictures.pictureHighlight : pictures.picture;
  // The size is stored as set (any 32-bit value); the layout adds gaps to it, so it is first
  // brought within +-2^20 pixels, which already covers any surface the control can have.
  constexpr int kLayoutLimit = 1 << 20;
  const int size = std::clamp(static_cast<int>(highlight ? m_PictureSizeHighlight : m_PictureSize), -kLayoutLimit,
                              kLayoutLimit);
  auto drawIcon = [&](int x, int y) {
    DrawIconEx(dc, x, y, static_cast<HICON>(picture.Handle()), size, size, 0, 0, DI_NORMAL);
  };

  switch (m_PicturePosition) {
    case PicturePositionDType::Left: {
      const Size t = measure(sw - (size + 4), DT_LEFT);
      // Icon, gap and text centred as a group, but the icon keeps 3 pixels from the left edge.
      const int left = std::max(nearest((sw - (t.cx - size - 4)) / 2.0), size + 7);
      const int top = nearest((sh - t.cy) / 2.0);
      draw(RECT{left, top, left + t.cx, sh}, DT_LEFT);
      drawIcon(left - size - 4, nearest((sh - size) / 2.0));
      break;
    }
    case PicturePositionDType::Right: {
      const Size t = measure(sw - (size + 4), DT_LEFT);
      const int left = nearest((sw - (t.cx + size + 4)) / 2.0);
      const int top = nearest((sh - t.cy) / 2.0);
      draw(RECT{left, top, left + t.cx, sh}, DT_LEFT);
      drawIcon(left + t.cx + 4, nearest((sh - size) / 2.0));
      break;
    }
    case PicturePositionDType::Top: {
      const Size t = measure(sw, DT_CENTER);
      const int top = nearest((sh - t.cy + size) / 2.0);
      draw(RECT{0, top, sw, sh}, DT_CENTER);
      drawIcon(nearest((sw - size) / 2.0), top - size - 4);
      break;
    }
    case PicturePositionDType::Bottom: {
      const Size t = measure(sw, DT_CENTER);
      const int top = nearest((sh - t.cy - size) / 2.0);
      draw(RECT{0, top, sw, sh}, DT_CENTER);
      drawIcon(nearest((sw - size) / 2.0), top + t.cy + 4);
      break;
    }
    case PicturePositionDType::Center: {
      const Size t = measure(sw, DT_CENTER);
      drawIcon(nearest((sw - size) / 2.0), nearest((sh - size) / 2.0));
      draw(RECT{0, nearest((sh - t.cy) / 2.0), sw, sh}, DT_CENTER);
      break;
    }
    default:
      // A position outside 0...4 draws neither caption nor icon.
      break;
  }
}

// ---- Input ------------------------------------------------------------------------------------

void ZorvaXPButton::UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  PlaySoundFile(rare().soundOnClicked);
  setPressed(true);
  DrawClickButton();
  MouseDown.raise(Button, Shift, X, Y);
}

void ZorvaXPButton::UserControl_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  DrawHoverButton();
  MouseUp.raise(Button, Shift, X, Y);
}

void ZorvaXPButton::UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  PlayHoverSound(rare().soundOnOver);
  if (m_HiglightMouseOver) trackHover();
  MouseMove.raise(Button, Shift, X, Y);
}

void ZorvaXPButton::UserControl_DblClick() {
  setPressed(true);
  DrawClickButton();
  DblClick.raise();
}

void ZorvaXPButton::UserControl_KeyPress(int16_t& KeyAscii) {
  switch (KeyAscii) {
    case 32:  // Space: the pressed look, no Click
      setPressed(true);
      DrawClickButton();
      break;
    case 13:
      OnEnter.raise();
      break;
    case 27:
      OnKeyEsc.raise();
      break;
    default:
      break;
  }
  KeyPress.raise(KeyAscii);
}

void ZorvaXPButton::UserControl_KeyUp(int16_t& KeyCode, int16_t& Shift) {
  if (KeyCode == VK_SPACE) DrawHoverButton();
  KeyUp.raise(KeyCode, Shift);
}

void ZorvaXPButton::UserControl_GotFocus() {
  if (!pressed()) DrawHoverButton();
}

// ---- Class ------------------------------------------------------------------------------------

const host::MemberTable& ZorvaXPButton::memberTable() const {
  using B = ZorvaXPButton;
  static const host::MemberTable table = host::ClassMembers<B>("ZorvaXPButton")
      .property("ButtonStyle", &B::ButtonStyle, &B::setButtonStyle)
      .property("GradientColorXP1", &B::GradientColorXP1, &B::setGradientColorXP1)
      .property("GradientColorVistaXP2", &B::GradientColorVistaXP2, &B::setGradientColorVistaXP2)
      .property("HiglightMouseOver", &B::HiglightMouseOver, &B::setHiglightMouseOver)
      .property("ClickButtonStyle", &B::ClickButtonStyle, &B::setClickButtonStyle)
      .property("GradientColorHighlight", &B::GradientColorHighlight, &B::setGradientColorHighlight)
      .property("Caption", &B::Caption, &B::setCaption)
      .property("Font", &B::Font, &B::setFont)
      .property("ForeColorNormal", &B::ForeColorNormal, &B::setForeColorNormal)
      .property("ForeColorHighlight", &B::ForeColorHighlight, &B::setForeColorHighlight)
      .property("ForeColorClick", &B::ForeColorClick, &B::setForeColorClick)
      .property("Picture", &B::Picture, &B::setPicture)
      .property("PictureSize", &B::PictureSize, &B::setPictureSize)
      .property("PicturePosition", &B::PicturePosition, &B::setPicturePosition)
      .property("PictureHighlight", &B::PictureHighlight, &B::setPictureHighlight)
      .property("PictureSizeHighlight", &B::PictureSizeHighlight, &B::setPictureSizeHighlight)
      .property("NormalColor", &B::NormalColor, &B::setNormalColor)
      .property("NormalColorHighlight", &B::NormalColorHighlight, &B::setNormalColorHighlight)
      .property("GradientColor", &B::GradientColor, &B::setGradientColor)
      .property("Enabled", &B::Enabled, &B::setEnabled)
      .property("MousePointer", &B::MousePointer, &B::setMousePointer)
      .property("MouseIcon", &B::MouseIcon, &B::setMouseIcon)
      .property("SoundOnOver", &B::SoundOnOver, &B::setSoundOnOver)
      .property("SoundOnClicked", &B::SoundOnClicked, &B::setSoundOnClicked)
      .property("BorderColorClick", &B::BorderColorClick, &B::setBorderColorClick)
      .property("BorderColorNormal", &B::BorderColorNormal, &B::setBorderColorNormal)
      .property("BorderColorHighlight", &B::BorderColorHighlight, &B::setBorderColorHighlight)
      .method("RedrawMe", &B::RedrawMe)
      .method("DrawNormalButton", &B::DrawNormalButton)
      .about(&B::About)
      .event("Click", &B::Click)
      .event("DblClick", &B::DblClick)
      .event("MouseUp", &B::MouseUp, {"Button", "Shift", "X", "Y"})
      .event("MouseDown", &B::MouseDown, {"Button", "Shift", "X", "Y"})
      .event("KeyPress", &B::KeyPress, {"KeyAscii"})
      .event("OnEnter", &B::OnEnter)
      .event("OnKeyEsc", &B::OnKeyEsc)
      .event("KeyUp", &B::KeyUp, {"KeyCode", "Shift"})
      .event("KeyDown", &B::KeyDown, {"KeyCode", "Shift"})
      .event("MouseMove", &B::MouseMove, {"Button", "Shift", "X", "Y"})
      .event("OLECompleteDrag", &B::OLECompleteDrag, {"Effect"})
      .event("OLEDragDrop", &B::OLEDragDrop, {"Data", "Effect", "Button", "Shift", "X", "Y"})
      .event("OLEDragOver", &B::OLEDragOver, {"Data", "Effect", "Button", "Shift", "X", "Y", "State"})
      .event("OLEGiveFeedback", &B::OLEGiveFeedback, {"Effect", "DefaultCursors"})
      .event("OLESetData", &B::OLESetData, {"Data", "DataFormat"})
      .event("OLEStartDrag", &B::OLEStartDrag, {"Data", "AllowedEffects"})
      .build();
  return table;
}

// ---- Enumerations as type information shows them ----

const host::EnumType& describeEnum(ButtonStyleDType) {
  static const host::EnumType t{"ButtonStyleDType", {{"Vista", 0}, {"XP", 1}}};
  return t;
}

const host::EnumType& describeEnum(ClickButtonStyleDType) {
  static const host::EnumType t{"ClickButtonStyleDType", {{"Embossed", 0}, {"Flat", 1}}};
  return t;
}

const host::EnumType& describeEnum(PicSizeDtype) {
  static const host::EnumType t{"PicSizeDtype", {{"IMG 16X16", 16}, {"IMG 24X24", 24}, {"IMG 28X28", 28}, {"IMG 32X32", 32}}};
  return t;
}

const host::EnumType& describeEnum(PicturePositionDType) {
  static const host::EnumType t{"PicturePositionDType", {{"Left", 0}, {"Right", 1}, {"Top", 2}, {"Bottom", 3}, {"Center", 4}}};
  return t;
}

}  // namespace zxp::buttons
