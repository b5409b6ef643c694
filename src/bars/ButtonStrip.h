// ButtonStrip: the scheme the tool bar and the status bar share. Buttons (panels) are not child
// windows but rows of parallel per-button fields, laid out left to right by their widths from
// x = 0 (a hidden button still takes its width), painted in one pass on the control's own surface
// and hit-tested against the ButtonRect records that pass leaves behind.
//
// The pass (RedrawMe): clear, background (when asked), outer frame in BorderColor, separators,
// toggle buttons held down, every button's picture and caption, drop-down arrows, grippers. A
// hover or pressed face is that pass plus the face of one button, that button's picture, caption
// (in ForeColorHover) and arrow again, and the outer frame again; the other captions are left as
// the pass drew them (anti-aliased text drawn twice would darken). The bars state only what differs: the
// background, separators, grippers and face geometry, the hit tolerance and their fields.
//
// Live buttons: the four key styles (Caps, Num, Ins, Scrl) read the platform's key state on each
// pass, show enabled while the lock is on and switch tmrKeyCheque on; the clock styles show the
// runtime's Now through Format with FormatTime or FormatDate and switch tmrTime on. Both timers
// repaint only when what a live button shows has changed, so an idle bar costs a key-state read
// and a formatted text per tick and paints nothing (paintCount() counts the passes).
//
// Our choices: the clock timer also runs for a date-only bar, so
// a date panel turns over at midnight; PopUpMainMenu gets the pressed button's Left and Bottom
// (where a menu would open below it); a HeadersCount read from a file is capped to 0..65535.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/ControlBase.h"
#include "foundation/ControlTimer.h"
#include "platform/host/Variant.h"

namespace zxp::bars {

// A hit record, rebuilt for every visible button by each paint pass.
struct ButtonRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  int32_t Index = 0;
  std::string Caption;
  bool Hit = false;
  bool InDropDown = false;
};

// One button's fields, in the order of the tool bar's key table (the status bar persists the
// first eight).
struct StripButton {
  std::string HeaderCaption;
  int32_t HeaderAlignment = 1;
  int32_t HeaderWidth = 50;
  host::PictureRef PanelIcon;
  int32_t PicAlignment = 0;
  bool Visible = true;
  bool Enabled = true;
  int32_t Style = 0;
  int32_t MainStyle = 0;
  std::string Tag;
  bool ButtonSeparator = false;
  bool ButtonChecked = false;
  int32_t ButtonValue = 0;
  std::string ToolTip;
};

// Button content kinds (the Style field).
enum : int32_t { kStyleNormalText = 0, kStyleCaps, kStyleNum, kStyleIns, kStyleScrl, kStyleTime, kStyleDate };

class ButtonStrip : public foundation::ControlBase {
 public:
  // What the sibling bar states differently.
  struct Scheme {
    int hitSlack;              // a button is hit for Left < x < Right + hitSlack
    bool toggles;              // a press toggles ButtonValue; ButtonChecked buttons show held down
    bool dropDowns;            // MainStyle 1 adds the 10-pixel arrow zone
    size_t persistedFields;    // fields per button in the property bag (8 or 14)
    StripButton readDefaults;  // what a button key absent from the bag reads as
  };

  // ---- Control-wide properties both bars have ----
  OLE_COLOR GradientColor1() const { return m_GradientColor1; }
  void setGradientColor1(OLE_COLOR v) { letProperty(m_GradientColor1, v, "GradientColor1", foundation::Redraw::Resting); }
  OLE_COLOR GradientColor2() const { return m_GradientColor2; }
  void setGradientColor2(OLE_COLOR v) { letProperty(m_GradientColor2, v, "GradientColor2", foundation::Redraw::Resting); }
  OLE_COLOR BorderColor() const { return m_BorderColor; }
  void setBorderColor(OLE_COLOR v) { letProperty(m_BorderColor, v, "BorderColor", foundation::Redraw::Resting); }
  int32_t HeadersCount() const { return static_cast<int32_t>(buttons_.size()); }
  OLE_COLOR HoverColor1() const { return m_HoverColor1; }
  void setHoverColor1(OLE_COLOR v) { letProperty(m_HoverColor1, v, "HoverColor1", foundation::Redraw::None); }
  OLE_COLOR HoverColor2() const { return m_HoverColor2; }
  void setHoverColor2(OLE_COLOR v) { letProperty(m_HoverColor2, v, "HoverColor2", foundation::Redraw::None); }
  OLE_COLOR MouseDownColor1() const { return m_MouseDownColor1; }
  void setMouseDownColor1(OLE_COLOR v) { letProperty(m_MouseDownColor1, v, "MouseDownColor1", foundation::Redraw::None); }
  OLE_COLOR MouseDownColor2() const { return m_MouseDownColor2; }
  void setMouseDownColor2(OLE_COLOR v) { letProperty(m_MouseDownColor2, v, "MouseDownColor2", foundation::Redraw::None); }
  OLE_COLOR ForeColor() const { return m_ForeColor; }
  void setForeColor(OLE_COLOR v) { letProperty(m_ForeColor, v, "ForeColor", foundation::Redraw::Resting); }
  OLE_COLOR ForeColorHover() const { return m_ForeColorHover; }
  void setForeColorHover(OLE_COLOR v) { letProperty(m_ForeColorHover, v, "ForeColorHover", foundation::Redraw::None); }
  OLE_COLOR ForeColorDisabled() const { return m_ForeColorDisabled; }
  void setForeColorDisabled(OLE_COLOR v) {
    letProperty(m_ForeColorDisabled, v, "ForeColorDisabled", foundation::Redraw::Resting);
  }
  bool HoverColor() const { return m_HoverColor; }
  void setHoverColor(bool v) { letProperty(m_HoverColor, v, "HoverColor", foundation::Redraw::None); }
  bool MouseDownColor() const { return m_MouseDownColor; }
  void setMouseDownColor(bool v) { letProperty(m_MouseDownColor, v, "MouseDownColor", foundation::Redraw::None); }
  bool OnPanelWidthChanging() const { return m_OnPanelWidthChanging; }
  void setOnPanelWidthChanging(bool v) {
    letProperty(m_OnPanelWidthChanging, v, "OnPanelWidthChanging", foundation::Redraw::None);
  }
  std::string FormatDate() const { return m_FormatDate; }
  void setFormatDate(std::string v) { letProperty(m_FormatDate, std::move(v), "FormatDate", foundation::Redraw::Resting); }
  std::string FormatTime() const { return m_FormatTime; }
  void setFormatTime(std::string v) { letProperty(m_FormatTime, std::move(v), "FormatTime", foundation::Redraw::Resting); }

  // ---- Indexed fields (1-based; error 9 outside 1..HeadersCount) ----
  const StripButton& button(int32_t Index) const;
  std::string HeaderCaption(int32_t Index) const { return button(Index).HeaderCaption; }
  int32_t HeaderWidth(int32_t Index) const { return button(Index).HeaderWidth; }
  host::PictureRef PanelIcon(int32_t Index) const { return button(Index).PanelIcon; }
  bool Visible(int32_t Index) const { return button(Index).Visible; }
  bool Enabled(int32_t Index) const { return button(Index).Enabled; }
  std::string Tag(int32_t Index) const { return button(Index).Tag; }
  void setHeaderCaption(int32_t Index, std::string v) { changeField(Index, &StripButton::HeaderCaption, std::move(v)); }
  void setHeaderWidth(int32_t Index, int32_t v) { changeField(Index, &StripButton::HeaderWidth, v); }
  void setPanelIcon(int32_t Index, host::PictureRef v) { changeField(Index, &StripButton::PanelIcon, std::move(v)); }
  void setVisible(int32_t Index, bool v) { changeField(Index, &StripButton::Visible, v); }
  void setEnabled(int32_t Index, bool v) { changeField(Index, &StripButton::Enabled, v); }
  void setTag(int32_t Index, std::string v) { changeField(Index, &StripButton::Tag, std::move(v)); }

  // ---- Methods ----
  // The paint pass; blnGradient paints the background first.
  void RedrawMe(bool blnGradient = false);
  // Empties the bar.
  void ClearAll();

  // ---- Events both bars raise (MouseDown and Click replace the surface's own) ----
  host::Event<int32_t> Click;
  host::Event<int32_t, float, float> HeaderSizing;
  host::Event<> MouseDown;
  host::Event<> Timer;
  host::Event<> MouseOverTimer;

  // ---- State a host or a test may look at ----
  const std::vector<ButtonRect>& buttonRects() const { return rects_; }
  // The record of the button at (x, y) (pixels), empty (Hit False) when none is hit.
  ButtonRect HitTest(int32_t x, int32_t y) const;
  // Whether (x, y) lies on a draggable right edge (only while OnPanelWidthChanging).
  bool OnResizeEdge(int32_t x, int32_t y) const;
  int32_t hoveredIndex() const { return hovered_; }
  uint64_t paintCount() const { return paints_; }
  const foundation::ControlTimer& keyTimer() const { return tmrKeyCheque; }
  const foundation::ControlTimer& timeTimer() const { return tmrTime; }

 protected:
  explicit ButtonStrip(Scheme scheme);

  // Appends a button (AddButton / AddPanel) and overwrites one (ChangeButton / ChangePanel).
  void addButton(StripButton b);
  void changeButton(int32_t Index, StripButton b);
  // RemoveButton / RemoveColumn: outside 1..count nothing happens.
  void removeButton(int32_t Index);
  template <class T>
  void changeField(int32_t Index, T StripButton::*field, T value) {
    StripButton b = button(Index);
    b.*field = std::move(value);
    changeButton(Index, std::move(b));
  }
  void setButtons(std::vector<StripButton> b) { buttons_ = std::move(b); }

  // Persistence of the buttons after the control-wide keys; HeadersCount is read first by the
  // bar (in its own key order) and passed in.
  void readButtons(host::PropertyBag& PropBag, int32_t count);
  void writeButtons(host::PropertyBag& PropBag) const;

  // ---- What each bar draws its own way ----
  virtual void paintBackground(HDC dc, int W, int H) = 0;
  virtual void paintSeparators(HDC dc, int H) = 0;
  virtual bool grippersOn() const = 0;
  virtual void paintGrippers(HDC dc, int W, int H) = 0;
  // The hover or pressed face of button i with its frame (not its captions).
  virtual void paintFace(HDC dc, size_t i, bool pressed) = 0;
  // The caption mode with the picture above the caption (tool bar's Bottom).
  virtual bool captionsBelowPictures() const { return false; }
  virtual int minHeight() const { return 22; }
  // The tool tip (tool bar only): shown for a hovered button, hidden on leave and on press.
  virtual void showToolTip(size_t i) { (void)i; }
  virtual void hideToolTip() {}
  // A press in a drop-down zone (tool bar only): PopUpMainMenu(index, caption, x, y).
  virtual void raisePopUp(int32_t& index, std::string& caption, float& x, float& y) {
    (void)index, (void)caption, (void)x, (void)y;
  }

  // One gripper dot: dark pixels (x, y), (x + 1, y), (x, y + 1), (x + 1, y + 1) in 10906949 and
  // white (x + 2, y + 1), (x + 1, y + 2), (x + 2, y + 2).
  static void gripDot(HDC dc, int x, int y);
  // The separator etch at x: RGB(80, 127, 176) there and white at x + 1, y 3 to H - 3.
  static void etch(HDC dc, int x, int H);

  // Shared parts of the lifecycle.
  void UserControl_Resize() override;
  void UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_Click() override {}
  void UserControl_LostFocus() override {}
  void UserControl_Terminate() override;
  void tmrHover_Timer() override;
  void redrawResting() override { RedrawMe(true); }
  bool resizeRedrawsResting() const override { return true; }

  OLE_COLOR m_GradientColor1 = 16759942;
  OLE_COLOR m_GradientColor2 = 16777215;
  OLE_COLOR m_BorderColor = 10841658;
  OLE_COLOR m_HoverColor1 = 16777215;
  OLE_COLOR m_HoverColor2 = 16496147;
  OLE_COLOR m_MouseDownColor1 = 16777215;
  OLE_COLOR m_MouseDownColor2 = 16496147;
  OLE_COLOR m_ForeColor = 0;
  OLE_COLOR m_ForeColorHover = 16711680;
  OLE_COLOR m_ForeColorDisabled = 16777215;
  bool m_HoverColor = true;
  bool m_MouseDownColor = true;
  bool m_OnPanelWidthChanging = false;
  std::string m_FormatDate = "dd-mm-yyyy";
  std::string m_FormatTime = "hh:mm:ss";

  std::vector<StripButton> buttons_;
  std::vector<ButtonRect> rects_;
  foundation::ControlTimer tmrKeyCheque{"tmrKeyCheque", 3};
  foundation::ControlTimer tmrTime{"tmrTime", 1};

 private:
  // The pass with button `highlight` (1-based, 0 none) drawn with its face and its caption in
  // ForeColorHover.
  void paintWithFace(int32_t highlight, bool pressed);
  void paintPass(bool gradient);
  void paintContents(HDC dc, int H, int32_t highlight);
  void paintCaption(HDC dc, size_t i, int H, const std::string& text);
  void paintDropDownArrow(HDC dc, const ButtonRect& r);
  // What a live button shows now (the caption for the others).
  std::string liveText(size_t i) const;
  static int keyOfStyle(int32_t style);
  void tmrKeyCheque_Timer();
  void tmrTime_Timer();
  // Whether a clock button would now show another text than the one painted last.
  bool clockTextsChanged() const;

  Scheme scheme_;
  int32_t hovered_ = 0;           // hovered or pressed button, 0 none
  bool pressMark_ = false;        // the press mark "MouseDown"
  int32_t resizing_ = 0;          // button whose edge is being dragged, 0 none
  bool sizingCursor_ = false;     // the size cursor is on show
  bool keyCache_[4] = {};         // Caps, Num, Ins, Scrl as last painted
  std::vector<std::string> clockTexts_;  // per button, the clock text painted last
  uint64_t paints_ = 0;
};

}  // namespace zxp::bars
