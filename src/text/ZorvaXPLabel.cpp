#include "text/ZorvaXPLabel.h"

#include <algorithm>
#include <vector>

#include "foundation/PenLines.h"
#include "foundation/modGeneral.h"
#include "foundation/modGradient.h"
#include "foundation/modRegion.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/Form.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/services/Shell.h"
#include "platform/services/Sound.h"
#include "platform/ui/User.h"

namespace zxp::text {

using foundation::drawOutline;
using foundation::Redraw;

namespace {

constexpr OLE_COLOR kSystemButtonFace = 0x8000000F;

// Half a difference of pixel positions, to the nearest pixel (halves to even).
int32_t half(int32_t n) { return nearest(n / 2.0); }

}  // namespace

ZorvaXPLabel::ZorvaXPLabel() : ControlBase("tmrChecker") {}

void ZorvaXPLabel::UserControl_Initialize() { UserControl.setTakesFocusOnClick(false); }

// ---- Properties -------------------------------------------------------------------------------

void ZorvaXPLabel::setBackStyle(text::BackStyle v) {
  m_BackStyle = v;
  if (v == text::BackStyle::HBkTransparent) {
    UserControl.setBackColor(translateColor(kSystemButtonFace));
    DrawLabelContents(m_ForeColor, false, false);
    ApplyLabelRegion();
  } else {
    UserControl.setBackColor(m_BackColor);
    ResetLabelRegion();
  }
  RedrawMe();
  PropertyChanged("BackStyle");
}

void ZorvaXPLabel::setAlignment(AlignmentConst v) {
  m_Alignment = v;
  ResizeStep();
  PropertyChanged("Alignment");
}

void ZorvaXPLabel::setCaption(std::string v) {
  m_Caption = std::move(v);
  ResizeStep();
  PropertyChanged("Caption");
}

void ZorvaXPLabel::setForeColor(OLE_COLOR v) { letProperty(m_ForeColor, v, "ForeColor", Redraw::Resting); }

void ZorvaXPLabel::setBackColor(OLE_COLOR v) {
  m_BackColor = v;
  if (opaque()) UserControl.setBackColor(v);
  RedrawMe();
  PropertyChanged("BackColor");
}

void ZorvaXPLabel::setAutoSize(bool v) { letProperty(m_AutoSize, v, "AutoSize", Redraw::Resting); }

void ZorvaXPLabel::setAutoChangeBackColor(bool v) {
  m_AutoChangeBackColor = v;
  if (v) TakeContainerBackColor();
  PropertyChanged("AutoChangeBackColor");
}

void ZorvaXPLabel::setAllowForeColorOver(bool v) {
  letProperty(m_AllowForeColorOver, v, "AllowForeColorOver", Redraw::None);
}
void ZorvaXPLabel::setAllowForeColorDown(bool v) {
  letProperty(m_AllowForeColorDown, v, "AllowForeColorDown", Redraw::None);
}
void ZorvaXPLabel::setForeColorOver(OLE_COLOR v) { letProperty(m_ForeColorOver, v, "ForeColorOver", Redraw::None); }
void ZorvaXPLabel::setForeColorDown(OLE_COLOR v) { letProperty(m_ForeColorDown, v, "ForeColorDown", Redraw::None); }

void ZorvaXPLabel::setLabelFont(host::FontRef v) {
  // The attribute properties follow the new font, so that Font and FontBold..FontUnderline,
  // saved side by side, load back as the same font.
  m_FontBold = v && v->bold();
  m_FontItalic = v && v->italic;
  m_FontStrikethru = v && v->strikethrough;
  m_FontUnderline = v && v->underline;
  UserControl.setFont(std::move(v));
  ResizeStep();
  PropertyChanged("Font");
}

template <class Fn>
void ZorvaXPLabel::changeSurfaceFont(Fn&& change) {
  gfx::FontDesc f = UserControl.Font() ? *UserControl.Font() : gfx::FontDesc();
  gfx::FontDesc before = f;
  change(f);
  // Without a font, a change that leaves the default description keeps it that way (Nothing).
  if (!(f == before)) UserControl.setFont(std::make_shared<const gfx::FontDesc>(f));
}

void ZorvaXPLabel::setFontFlag(bool& field, bool value, std::string_view name) {
  field = value;
  changeSurfaceFont([&](gfx::FontDesc& f) {
    if (&field == &m_FontBold) f.setBold(value);
    if (&field == &m_FontItalic) f.italic = value;
    if (&field == &m_FontStrikethru) f.strikethrough = value;
    if (&field == &m_FontUnderline) f.underline = value;
  });
  ResizeStep();
  PropertyChanged(name);
}

void ZorvaXPLabel::setFontBold(bool v) { setFontFlag(m_FontBold, v, "FontBold"); }
void ZorvaXPLabel::setFontItalic(bool v) { setFontFlag(m_FontItalic, v, "FontItalic"); }
void ZorvaXPLabel::setFontStrikethru(bool v) { setFontFlag(m_FontStrikethru, v, "FontStrikethru"); }
void ZorvaXPLabel::setFontUnderline(bool v) { setFontFlag(m_FontUnderline, v, "FontUnderline"); }

void ZorvaXPLabel::setGradientOnOver(bool v) { letProperty(m_GradientOnOver, v, "GradientOnOver", Redraw::Resting); }
void ZorvaXPLabel::setGradientColor1(OLE_COLOR v) { letProperty(m_GradientColor1, v, "GradientColor1", Redraw::Resting); }
void ZorvaXPLabel::setGradientColor2(OLE_COLOR v) { letProperty(m_GradientColor2, v, "GradientColor2", Redraw::Resting); }
void ZorvaXPLabel::setGradientColorOver1(OLE_COLOR v) {
  letProperty(m_GradientColorOver1, v, "GradientColorOver1", Redraw::Resting);
}
void ZorvaXPLabel::setGradientColorOver2(OLE_COLOR v) {
  letProperty(m_GradientColorOver2, v, "GradientColorOver2", Redraw::Resting);
}
void ZorvaXPLabel::setBorderColor(OLE_COLOR v) { letProperty(m_BorderColor, v, "BorderColor", Redraw::Resting); }
void ZorvaXPLabel::setPicture(host::PictureRef v) { letProperty(m_Picture, std::move(v), "Picture", Redraw::Resting); }
void ZorvaXPLabel::setPictureOnOver(host::PictureRef v) {
  letProperty(m_PictureOnOver, std::move(v), "PictureOnOver", Redraw::Resting);
}
void ZorvaXPLabel::setPictureSize(PicSize v) { letProperty(m_PictureSize, v, "PictureSize", Redraw::Resting); }
void ZorvaXPLabel::setPictureOnOverSize(PicSize v) {
  letProperty(m_PictureOnOverSize, v, "PictureOnOverSize", Redraw::Resting);
}
void ZorvaXPLabel::setUnderlineOnOver(bool v) { letProperty(m_UnderlineOnOver, v, "UnderlineOnOver", Redraw::None); }
void ZorvaXPLabel::setHyperlink(const std::string& v) { letProperty(m_Hyperlink, v, "Hyperlink", Redraw::None); }
void ZorvaXPLabel::setSoundOnOver(const std::string& v) { letSoundPath(m_SoundOnOver, v, "SoundOnOver"); }
void ZorvaXPLabel::setSoundOnClicked(const std::string& v) { letSoundPath(m_SoundOnClicked, v, "SoundOnClicked"); }

// ---- Persistence ------------------------------------------------------------------------------

// "ZorvaXPLabel" and what follows the class name in the display name: ZorvaXPLabel3 -> ZorvaXPLabel3.
std::string ZorvaXPLabel::defaultCaption() const {
  static constexpr std::string_view kClass = "ZorvaXPLabel";
  return captionFromDisplayName(Ambient().DisplayName, kClass, kClass.size());
}

void ZorvaXPLabel::UserControl_InitProperties() {
  setEnabled(true);
  setBackStyle(text::BackStyle::HBkOpaque);
  setAlignment(AlignmentConst::HAlignLeft);
  setCaption(defaultCaption());
  setForeColor(kForeColor);
  setBackColor(kBackColor);
  setAutoSize(false);
  setAutoChangeBackColor(true);
  setAllowForeColorOver(true);
  setForeColorDown(kForeColorDown);
  setForeColorOver(kForeColorOver);
  setAllowForeColorDown(true);
  setLabelFont(Ambient().Font);
  setFontUnderline(false);
  setGradientOnOver(true);
  setGradientColor1(kGradientColor1);
  setGradientColor2(kGradientColor2);
  setGradientColorOver1(kGradientColorOver1);
  setGradientColorOver2(kGradientColorOver2);
  setBorderColor(kBorderColor);
  setPictureSize(PicSize::IMG_16X16);
  setPictureOnOverSize(PicSize::IMG_16X16);
  setPicture(host::PictureRef());
  setPictureOnOver(host::PictureRef());
  setUnderlineOnOver(false);
  setHyperlink(kDefaultHyperlink);
  setSoundOnOver("");
  setSoundOnClicked("");
}

void ZorvaXPLabel::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  const std::string caption = defaultCaption();
  setEnabled(PropBag.read<bool>("Enabled", true));
  setBackColor(PropBag.read<OLE_COLOR>("BackColor", kBackColor));
  setAlignment(PropBag.read<AlignmentConst>("Alignment", AlignmentConst::HAlignLeft));
  setCaption(PropBag.readText("Caption", caption));
  setForeColor(PropBag.read<OLE_COLOR>("ForeColor", kForeColor));
  setAutoSize(PropBag.read<bool>("AutoSize", false));
  setAutoChangeBackColor(PropBag.read<bool>("AutoChangeBackColor", true));
  setAllowForeColorOver(PropBag.read<bool>("AllowForeColorOver", true));
  setAllowForeColorDown(PropBag.read<bool>("AllowForeColorDown", true));
  setForeColorDown(PropBag.read<OLE_COLOR>("ForeColorDown", kForeColorDown));
  setForeColorOver(PropBag.read<OLE_COLOR>("ForeColorOver", kForeColorOver));
  setLabelFont(PropBag.read<host::FontRef>("Font", Ambient().Font));
  setFontBold(PropBag.read<bool>("FontBold", false));
  setFontItalic(PropBag.read<bool>("FontItalic", false));
  setFontUnderline(PropBag.read<bool>("FontUnderline", false));
  setFontStrikethru(PropBag.read<bool>("FontStrikethru", false));
  setGradientOnOver(PropBag.read<bool>("GradientOnOver", true));
  setGradientColor1(PropBag.read<OLE_COLOR>("GradientColor1", kGradientColor1));
  setGradientColor2(PropBag.read<OLE_COLOR>("GradientColor2", kGradientColor2));
  setGradientColorOver1(PropBag.read<OLE_COLOR>("GradientColorOver1", kGradientColorOver1));
  setGradientColorOver2(PropBag.read<OLE_COLOR>("GradientColorOver2", kGradientColorOver2));
  setBorderColor(PropBag.read<OLE_COLOR>("BorderColor", kBorderColor));
  setPictureSize(PropBag.read<PicSize>("PictureSize", PicSize::IMG_16X16));
  setPictureOnOverSize(PropBag.read<PicSize>("PictureOnOverSize", PicSize::IMG_16X16));
  setPicture(PropBag.read<host::PictureRef>("Picture", host::PictureRef()));
  setPictureOnOver(PropBag.read<host::PictureRef>("PictureOnOver", host::PictureRef()));
  setUnderlineOnOver(PropBag.read<bool>("UnderlineOnOver", false));
  setMouseIcon(PropBag.read<host::PictureRef>("MouseIcon", host::PictureRef()));
  UserControl.setMousePointer(PropBag.read<int16_t>("MousePointer", int16_t{0}));
  m_Hyperlink = PropBag.read<std::string>("Hyperlink", kDefaultHyperlink);
  setSoundOnOver(PropBag.read<std::string>("SoundOnOver", ""));
  setSoundOnClicked(PropBag.read<std::string>("SoundOnClicked", ""));
  setBackStyle(PropBag.read<text::BackStyle>("BackStyle", text::BackStyle::HBkOpaque));
  // Written for older readers, never read back; known all the same.
  PropBag.acknowledge("FastTransparentUtilitiy");
  if (m_BackStyle == text::BackStyle::HBkTransparent) ApplyLabelRegion();
}

void ZorvaXPLabel::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  // Booleans go into the bag as the integers 1 and 0.
  auto flag = [](bool b) { return host::Variant(int16_t{b ? int16_t{1} : int16_t{0}}); };
  const host::Variant kTrue = flag(true), kFalse = flag(false);
  PropBag.WriteProperty("BackStyle", m_BackStyle, text::BackStyle::HBkOpaque);
  PropBag.WriteProperty("Alignment", m_Alignment, AlignmentConst::HAlignLeft);
  PropBag.WriteProperty("Caption", m_Caption, defaultCaption());
  PropBag.WriteProperty("ForeColor", m_ForeColor, kForeColor);
  PropBag.WriteProperty("BackColor", m_BackColor, kBackColor);
  PropBag.WriteProperty("AutoSize", flag(m_AutoSize), kFalse);
  // A key of earlier versions, always written as 0 and never read.
  PropBag.WriteProperty("FastTransparentUtilitiy", int16_t{0});
  PropBag.WriteProperty("AutoChangeBackColor", flag(m_AutoChangeBackColor), kTrue);
  PropBag.WriteProperty("AllowForeColorOver", flag(m_AllowForeColorOver), kTrue);
  PropBag.WriteProperty("ForeColorDown", m_ForeColorDown, kForeColorDown);
  PropBag.WriteProperty("ForeColorOver", m_ForeColorOver, kForeColorOver);
  PropBag.WriteProperty("AllowForeColorDown", flag(m_AllowForeColorDown), kTrue);
  // The hover look underlines the surface font for a while (UnderlineOnOver); the file keeps the
  // font as FontUnderline has it.
  host::FontRef font = Font();
  if (font && font->underline != m_FontUnderline) {
    gfx::FontDesc resting = *font;
    resting.underline = m_FontUnderline;
    font = std::make_shared<const gfx::FontDesc>(resting);
  }
  PropBag.WriteProperty("Font", font);
  PropBag.WriteProperty("FontBold", flag(m_FontBold), kFalse);
  PropBag.WriteProperty("FontItalic", flag(m_FontItalic), kFalse);
  PropBag.WriteProperty("FontStrikethru", flag(m_FontStrikethru), kFalse);
  PropBag.WriteProperty("FontUnderline", flag(m_FontUnderline), kFalse);
  PropBag.WriteProperty("GradientColor1", m_GradientColor1, kGradientColor1);
  PropBag.WriteProperty("GradientColor2", m_GradientColor2, kGradientColor2);
  PropBag.WriteProperty("GradientColorOver1", m_GradientColorOver1, kGradientColorOver1);
  PropBag.WriteProperty("GradientColorOver2", m_GradientColorOver2, kGradientColorOver2);
  PropBag.WriteProperty("GradientOnOver", flag(m_GradientOnOver), kTrue);
  PropBag.WriteProperty("BorderColor", m_BorderColor, kBorderColor);
  PropBag.WriteProperty("Picture", m_Picture);
  PropBag.WriteProperty("PictureOnOver", m_PictureOnOver);
  PropBag.WriteProperty("PictureSize", m_PictureSize, PicSize::IMG_16X16);
  PropBag.WriteProperty("PictureOnOverSize", m_PictureOnOverSize, PicSize::IMG_16X16);
  PropBag.WriteProperty("UnderlineOnOver", flag(m_UnderlineOnOver), kFalse);
  PropBag.WriteProperty("MouseIcon", MouseIcon());
  PropBag.WriteProperty("MousePointer", MousePointer(), int16_t{0});
  PropBag.WriteProperty("Hyperlink", m_Hyperlink, kDefaultHyperlink);
  PropBag.WriteProperty("SoundOnOver", m_SoundOnOver, "");
  PropBag.WriteProperty("SoundOnClicked", m_SoundOnClicked, "");
  PropBag.WriteProperty("Enabled", flag(Enabled()), kTrue);
}

// ---- Drawing ----------------------------------------------------------------------------------

// The size becomes px x 15 twips exactly: a size of the same pixels but other twips (a form file
// may give one) is made exact too, so that the label saves the size it has after loading.
void ZorvaXPLabel::setWidthPixels(int32_t px) {
  const int32_t twips = pixelsToTwips(px);
  if (ScaleWidth() != px || (extender() && extender()->Width() != twips)) setWidthTwips(twips);
}

void ZorvaXPLabel::setHeightPixels(int32_t px) {
  const int32_t twips = pixelsToTwips(px);
  if (ScaleHeight() != px || (extender() && extender()->Height() != twips)) setHeightTwips(twips);
}

void ZorvaXPLabel::ResizeStep() {
  // The label sizes itself while it draws, which runs this step again; a few levels settle it
  // (a font whose line is lower than the minimum size could otherwise go back and forth).
  if (m_resizeDepth > 3) return;
  ++m_resizeDepth;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{m_resizeDepth};
  if (ScaleWidth() < 10) setWidthPixels(20);
  if (ScaleHeight() < 10) setHeightPixels(20);
  RedrawMe();
  if (!UserMode()) {
    if (m_BackStyle == text::BackStyle::HBkTransparent)
      ApplyLabelRegion();
    else
      ResetLabelRegion();
  }
}

void ZorvaXPLabel::RedrawMe() {
  if (!UserControl.hDC()) return;
  UserControl.Cls();
  if (opaque() && ScaleHeight() > 0) DrawLabelGradient(m_GradientColor1, m_GradientColor2);
  DrawLabelContents(m_ForeColor, false, false);
}

void ZorvaXPLabel::DrawLabelGradient(OLE_COLOR first, OLE_COLOR second) {
  if (!m_GradientOnOver) return;
  const HDC dc = UserControl.hDC();
  const int32_t w = ScaleWidth(), h = ScaleHeight();
  GradientFillVertical(dc, w, h, second, first);
  UserControl.setForeColor(m_BorderColor);
  drawOutline(dc, translateColor(m_BorderColor), 0, 0, w, h);
}

void ZorvaXPLabel::DrawLabelContents(OLE_COLOR textColor, bool hoverPicture, bool hoverUnderline) {
  const HDC dc = UserControl.hDC();
  if (!dc) return;
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  const int32_t lineHeight = tm.tmHeight;
  UINT align = DT_LEFT;
  if (m_Alignment == AlignmentConst::HAlignRight) align = DT_RIGHT;
  if (m_Alignment == AlignmentConst::HAlignCenter) align = DT_CENTER;

  int32_t w = ScaleWidth(), h = ScaleHeight();
  RECT r{4, half(h - lineHeight), w - 4 - 2, 0};
  r.bottom = r.top + lineHeight;
  const bool picture = !m_Picture.empty();
  const bool overPicture = !m_PictureOnOver.empty();
  // The sizes as drawn: a stored size outside +-65536 (the enumerations keep any value) is laid
  // out at that bound, so that the arithmetic below cannot overflow.
  const auto drawnSize = [](PicSize v) { return std::clamp<int32_t>(static_cast<int32_t>(v), -(1 << 16), 1 << 16); };
  const int32_t ps = drawnSize(m_PictureSize), pos = drawnSize(m_PictureOnOverSize);
  if (picture) {
    const int32_t s = (pos < ps && overPicture) ? pos : ps;
    r.left = s + 6;
    r.right = w - 6;
    if (m_AutoSize) setHeightPixels(33);
    if (ScaleHeight() < 32) setHeightPixels(33);
    if (lineHeight < 32) r.bottom = r.top + 32;
  }
  const UINT format = align | (m_AutoSize ? DT_SINGLELINE : (DT_WORDBREAK | DT_WORD_ELLIPSIS));
  if (m_AutoSize) {
    SIZE cx{};
    GetTextExtentPoint32(dc, m_Caption.data(), static_cast<int>(m_Caption.size()), &cx);
    int32_t p = 0;
    if (picture) p = overPicture ? std::max(pos, ps) : ps;
    // A picture size below zero (the enumeration keeps any value) would make the width negative,
    // which the host refuses, and a form saved so would not load: the width stops at 0. Under 10
    // pixels the resize step makes it 20, as it does when the form loads; sizing from here runs
    // inside a paint, where that step may not run again, so the rule is applied here too.
    const int64_t width = std::max<int64_t>(0, int64_t{cx.cx} + p + 10);
    setWidthPixels(width < 10 ? 20 : clampToInt32(width));
  }
  RECT measured = r;
  DrawText(dc, m_Caption, &measured, format | DT_CALCRECT);
  // An empty caption still takes one line.
  m_TextHeight = m_Caption.empty() ? lineHeight : measured.bottom - measured.top;
  if (m_AutoSize && !picture) setHeightPixels(m_TextHeight + 1);
  if (!m_AutoSize && ScaleHeight() < m_TextHeight) setHeightPixels(m_TextHeight + 1);
  w = ScaleWidth();
  h = ScaleHeight();

  if (hoverUnderline && m_UnderlineOnOver)
    changeSurfaceFont([](gfx::FontDesc& f) { f.underline = true; });
  else if (!hoverUnderline && !m_FontUnderline)
    changeSurfaceFont([](gfx::FontDesc& f) { f.underline = false; });
  // While its properties are read one by one the label sizes itself after each, as it always
  // does, but paints only once they are all set (setUpDone): the lines of a long caption are
  // laid out for drawing once, at the size and in the font it shows them.
  if (settingUp()) return;

  if (picture) {
    auto drawIcon = [&](const host::PictureRef& pic, int32_t size) {
      DrawIconEx(dc, 2, half(h - size), static_cast<HICON>(pic.Handle()), size, size, 0, 0, DI_NORMAL);
    };
    if (opaque() && hoverPicture && overPicture)
      drawIcon(m_PictureOnOver, pos);
    else if (opaque())
      drawIcon(m_Picture, ps);
    else
      drawIcon(m_Picture, 16);
  }
  if (!Enabled() && picture) DrawDisabledPicture();

  int32_t left = 4;
  if (picture) left = (pos <= ps ? ps : (overPicture ? pos : ps)) + 6;
  RECT textRect{left, half(h - m_TextHeight), w - 4, 0};
  textRect.bottom = textRect.top + m_TextHeight;

  SetTextColor(dc, Enabled() ? translateColor(textColor) : kDisabledText);
  SetBkMode(dc, TRANSPARENT);
  DrawText(dc, m_Caption, &textRect, format);
}

void ZorvaXPLabel::DrawDisabledPicture() {
  const HDC dc = UserControl.hDC();
  const int32_t n = opaque() ? static_cast<int32_t>(m_PictureSize) : 16;
  if (n <= 0 || n > 256) return;
  DrawIconEx(dc, 0, 0, static_cast<HICON>(m_Picture.Handle()), n, n, 0, 0, DI_NORMAL);
  std::vector<COLORREF> grey(static_cast<size_t>(n) * static_cast<size_t>(n));
  for (int32_t y = 0; y < n; ++y) {
    for (int32_t x = 0; x < n; ++x) {
      const COLORREF c = GetPixel(dc, x, y);
      const int32_t level = nearest((GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3.0);
      grey[static_cast<size_t>(y * n + x)] = RGB(level, level, level);
    }
  }
  UserControl.Cls();
  const int32_t top = half(ScaleHeight() - n);
  for (int32_t y = 0; y < n; ++y) {
    for (int32_t x = 0; x < n; ++x) SetPixelV(dc, 2 + x, top + y, grey[static_cast<size_t>(y * n + x)]);
  }
}

// Only the pixels of the caption band that are not the button-face background stay in the
// window's region. The shape is read from a fresh, unclipped resting look: a region left from
// an earlier shape would clip the painting of a changed caption.
void ZorvaXPLabel::setUpDone() {
  ResizeStep();
  // The region is cut from the painted caption, and the caption is painted only now; at design
  // time ResizeStep has cut it already.
  if (m_BackStyle == text::BackStyle::HBkTransparent && UserMode()) ApplyLabelRegion();
}

void ZorvaXPLabel::ApplyLabelRegion() {
  const HDC dc = UserControl.hDC();
  // While the properties are read the label paints nothing yet: setUpDone cuts the region.
  if (!dc || settingUp()) return;
  SetWindowRgn(hWnd(), 0, FALSE);
  RedrawMe();
  const COLORREF key = translateColor(kSystemButtonFace);
  int32_t h = m_TextHeight;
  if (!m_Picture.empty() && h < 16) {
    h = 16;
    m_TextHeight = 16;
  }
  const int32_t w = ScaleWidth();
  const int32_t top = half(ScaleHeight() - h);
  const RECT band{2, top, w - 4, top + h};
  HRGN region = RegionWithoutColor(dc, band, key);
  if (!region) return;
  if (!SetWindowRgn(hWnd(), region, TRUE)) DeleteObject(region);
  InvalidateRect(hWnd(), nullptr, FALSE);
}

void ZorvaXPLabel::ResetLabelRegion() {
  if (!hWnd()) return;
  HRGN region = CreateRectRgn(0, 0, ScaleWidth(), ScaleHeight());
  if (!SetWindowRgn(hWnd(), region, TRUE)) DeleteObject(region);
}

void ZorvaXPLabel::TakeContainerBackColor() {
  host::Extender* e = extender();
  if (!e || !e->Parent()) return;
  OLE_COLOR back = e->Parent()->BackColor();
  if (host::Extender* c = e->Container()) {
    try {
      back = host::getProperty(c->object(), "BackColor").toLong();
    } catch (const HostError&) {
      return;  // a container without a BackColor leaves the label's own
    }
  }
  setBackColor(back);
}

void ZorvaXPLabel::ExecuteLink() {
  if (m_Hyperlink.empty()) return;
  // The shell's answer is not reported.
  ShellExecuteA(hWnd(), "Open", m_Hyperlink.c_str(), nullptr, nullptr, SW_RESTORE);
}

// ---- Input ------------------------------------------------------------------------------------

void ZorvaXPLabel::UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  if (SoundFileExists(m_SoundOnOver) && !hoverMarked()) {
    PlaySoundFile(m_SoundOnOver);
    UserControl.setTag(kHoverMark);
  }
  if (m_AllowForeColorOver) {
    UserControl.Cls();
    if (opaque()) DrawLabelGradient(m_GradientColorOver1, m_GradientColorOver2);
    DrawLabelContents(m_ForeColorOver, !m_Picture.empty() && !m_PictureOnOver.empty(), true);
    tmrHover.setEnabled(true);
  }
  MouseMove.raise(Button, Shift, X, Y);
}

void ZorvaXPLabel::UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  if (SoundFileExists(m_SoundOnClicked)) PlaySoundFile(m_SoundOnClicked);
  if (m_AllowForeColorDown) {
    UserControl.Cls();
    if (opaque()) DrawLabelGradient(m_GradientColor1, m_GradientColor2);
    DrawLabelContents(m_ForeColorDown, !m_Picture.empty() && !m_PictureOnOver.empty(), true);
  }
  MouseDown.raise(Button, Shift, X, Y);
}

void ZorvaXPLabel::UserControl_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  if (m_AllowForeColorDown) {
    UserControl.Cls();
    if (opaque()) DrawLabelGradient(m_GradientColorOver1, m_GradientColorOver2);
    DrawLabelContents(m_ForeColorOver, true, true);
  }
  MouseUp.raise(Button, Shift, X, Y);
}

void ZorvaXPLabel::tmrHover_Timer() {
  if (!CursorOutsideWindow(hWnd())) return;
  ClearHoverMark();
  RedrawMe();
  tmrHover.setEnabled(false);
  MouseOut.raise();
}

// ---- Class ------------------------------------------------------------------------------------

const host::MemberTable& ZorvaXPLabel::memberTable() const {
  using L = ZorvaXPLabel;
  static const host::MemberTable table = host::ClassMembers<L>("ZorvaXPLabel")
      .property("BackStyle", &L::BackStyle, &L::setBackStyle)
      .property("Alignment", &L::Alignment, &L::setAlignment)
      .property("Caption", &L::Caption, &L::setCaption)
      .property("ForeColor", &L::ForeColor, &L::setForeColor)
      .property("BackColor", &L::BackColor, &L::setBackColor)
      .property("AutoSize", &L::AutoSize, &L::setAutoSize)
      .property("AutoChangeBackColor", &L::AutoChangeBackColor, &L::setAutoChangeBackColor)
      .property("AllowForeColorOver", &L::AllowForeColorOver, &L::setAllowForeColorOver)
      .property("AllowForeColorDown", &L::AllowForeColorDown, &L::setAllowForeColorDown)
      .property("ForeColorOver", &L::ForeColorOver, &L::setForeColorOver)
      .property("ForeColorDown", &L::ForeColorDown, &L::setForeColorDown)
      .property("Font", &L::Font, &L::setLabelFont)
      .property("FontBold", &L::FontBold, &L::setFontBold)
      .property("FontItalic", &L::FontItalic, &L::setFontItalic)
      .property("FontStrikethru", &L::FontStrikethru, &L::setFontStrikethru)
      .property("FontUnderline", &L::FontUnderline, &L::setFontUnderline)
      .property("GradientOnOver", &L::GradientOnOver, &L::setGradientOnOver)
      .property("GradientColor1", &L::GradientColor1, &L::setGradientColor1)
      .property("GradientColor2", &L::GradientColor2, &L::setGradientColor2)
      .property("GradientColorOver1", &L::GradientColorOver1, &L::setGradientColorOver1)
      .property("GradientColorOver2", &L::GradientColorOver2, &L::setGradientColorOver2)
      .property("BorderColor", &L::BorderColor, &L::setBorderColor)
      .property("Picture", &L::Picture, &L::setPicture)
      .property("PictureOnOver", &L::PictureOnOver, &L::setPictureOnOver)
      .property("PictureSize", &L::PictureSize, &L::setPictureSize)
      .property("PictureOnOverSize", &L::PictureOnOverSize, &L::setPictureOnOverSize)
      .property("UnderlineOnOver", &L::UnderlineOnOver, &L::setUnderlineOnOver)
      .property("MouseIcon", &L::MouseIcon, &L::setMouseIcon)
      .property("MousePointer", &L::MousePointer, &L::setMousePointer)
      .property("Hyperlink", &L::Hyperlink, &L::setHyperlink)
      .property("SoundOnOver", &L::SoundOnOver, &L::setSoundOnOver)
      .property("SoundOnClicked", &L::SoundOnClicked, &L::setSoundOnClicked)
      .property("Enabled", &L::Enabled, &L::setEnabled)
      .method("RedrawMe", &L::RedrawMe)
      .method("IsPicture", &L::IsPicture)
      .method("ExecuteLink", &L::ExecuteLink)
      .about(&L::About)
      .event("Click", &L::Click)
      .event("DblClick", &L::DblClick)
      .event("MouseDown", &L::MouseDown, {"Button", "Shift", "X", "Y"})
      .event("MouseUp", &L::MouseUp, {"Button", "Shift", "X", "Y"})
      .event("MouseMove", &L::MouseMove, {"Button", "Shift", "X", "Y"})
      .event("MouseOut", &L::MouseOut)
      .build();
  return table;
}

// ---- Enumerations as type information shows them ----

const host::EnumType& describeEnum(BackStyle) {
  static const host::EnumType t{"BackStyle", {{"HBkOpaque", 0}, {"HBkTransparent", 1}}};
  return t;
}

const host::EnumType& describeEnum(AlignmentConst) {
  static const host::EnumType t{"AlignmentConst", {{"HAlignLeft", 0}, {"HAlignRight", 1}, {"HAlignCenter", 2}}};
  return t;
}

const host::EnumType& describeEnum(PicSize) {
  static const host::EnumType t{"PicSize", {{"IMG 16X16", 16}, {"IMG 24X24", 24}, {"IMG 28X28", 28}, {"IMG 32X32", 32}}};
  return t;
}

}  // namespace zxp::text
