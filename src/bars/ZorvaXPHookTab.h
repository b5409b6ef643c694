// ZorvaXPHookTab: a tabbed container. The controls the host places on it belong to one tab
// each, and only the children of the selected tab show. Hiding works by position: a child of
// another tab is moved 75 000 twips to the left and loses its tab stop; when its tab is selected
// it moves back and gets its tab stop again. Membership is kept per tab as a keyed list of
// control identifiers (the child's Name, followed by its Index inside a control array) with the
// tab stop each child had before it was hidden, and is saved under "TabCtlCount"n and
// "TabCtlOf"n"ID"j.
//
// Drawing: a tab strip of rows x TabHeight + 10 pixels above (or below) a body filled with the
// selected tab's vertical gradient (TabGradient1 on the side of the tabs), its TabPicture blended
// in at TransparencyLevel and framed in FrameBorderColor; the band beside the tabs is
// BackColorParent. The tabs are glass faces (BackGradient1/2) outlined in FrameBorderColor; the
// hovered one is a HoverTabColor1/2 glass face outlined in TabBorderColorHover; the selected one
// is a SelectedTabBKColor face joined to the body. PropertyPage style: one row of tabs as wide
// as their caption (AutoTabWidth) or TabWidth; TabbedDialog style: rows of TabsPerRow tabs
// sharing the width. A full repaint keeps a copy of the surface, so a change of the hovered tab
// restores the strip with one blit and draws one tab on top.
//
// Choices: the row holding the selected tab is stacked next to the body, the other rows keep
// their order; icon and caption are centred as a group in the tab, icon 16 x 16 with a 5-pixel
// gap; the selected tab reaches one pixel into the body so that the body's outline opens under
// it; TabPicture is blended at the body's centre, clipped to the body; a caption over 20
// characters is refused (the message shows and nothing is stored); the indexed properties raise
// error 9 for an index outside 1..TabsCount; records recreated by loading remember a tab stop of
// True for children that were hidden when the file was saved; before every switch the shown
// tab's membership is recorded, so a control placed while a tab is selected joins that tab; after
// loading, the selected tab's children are shown at the first tick of the constituent timer
// tmrLoaded (the form sites the children after the tab control has read its properties) or at
// any earlier use of the children, whichever comes first. ClickOnTab carries the standard click
// number (DISPID_CLICK) outside the count of the other events. The indexed properties are
// reachable by name as methods taking the index. OLEDrag starts a drag through the platform's
// drag and drop (the control base's OLEDrag).
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/ControlBase.h"
#include "platform/gfx/GdiRaii.h"

namespace zxp::host {
class Form;
}

namespace zxp::bars {

enum class HTabOrientation : int32_t { Tab_OrientationTop = 0, Tab_OrientationBottom = 1 };
enum class HTabStyle : int32_t { Tab_StylePropertyPage = 0, Tab_StyleTabbedDialog = 1 };
enum class HTabPicAlignment : int32_t { Tab_Pic_Left = 0, Tab_Pic_Right = 1 };

// Type information for the enumerations above (the interface's names and values).
const host::EnumType& describeEnum(HTabOrientation);
const host::EnumType& describeEnum(HTabStyle);
const host::EnumType& describeEnum(HTabPicAlignment);

// One child of a tab: its identifier and the tab stop it had before it was hidden.
struct uControlD4Controls {
  std::string strControlID;
  bool blnTabStop = true;
};

// A tab's place on the strip (pixels; right is Left + Width).
struct TabRect {
  int32_t Left = 0, Top = 0, Width = 0, Bottom = 0;
  int32_t Index = 0;  // the tab, 1-based
};

class ZorvaXPHookTab final : public foundation::ControlBase {
 public:
  // Creation defaults (OLE colours, 0x00BBGGRR).
  static constexpr OLE_COLOR kBackGradient1 = 12961221;
  static constexpr OLE_COLOR kBackGradient2 = 16777215;
  static constexpr OLE_COLOR kBackColorParent = 16514043;
  static constexpr OLE_COLOR kForeColor = 0;
  static constexpr OLE_COLOR kForeColorHover = 12582912;
  static constexpr OLE_COLOR kForeColorSelected = 16711680;
  static constexpr OLE_COLOR kFrameBorderColor = 12164479;
  static constexpr OLE_COLOR kTabBorderColorHover = 14063363;
  static constexpr OLE_COLOR kHoverTabColor1 = 16496147;
  static constexpr OLE_COLOR kHoverTabColor2 = 16777215;
  static constexpr OLE_COLOR kSelectedTabBKColor = 16777215;
  static constexpr OLE_COLOR kTabGradient1 = 16514043;
  static constexpr OLE_COLOR kTabGradient2 = 15779735;
  static constexpr COLORREF kDisabledCaption = RGB(121, 121, 121);
  static constexpr int32_t kTabWidth = 82;
  static constexpr int32_t kTransparencyLevel = 95;
  static constexpr int32_t kTabsPerRow = 7;
  static constexpr int32_t kTabHeight = 23;
  static constexpr int32_t kHideOffset = 75000;  // twips a hidden child is moved to the left
  static constexpr int32_t kMinWidth = 161;      // pixels
  static constexpr int32_t kMinHeight = 55;
  static constexpr size_t kMaxCaption = 20;  // characters
  static constexpr const char* kCaptionMessage = "You can't use more than 20 characters to tab caption.";
  static constexpr const char* kCaptionTitle = "Invalid Caption";

  ZorvaXPHookTab();

  // ---- Control-wide properties ----
  int32_t TabsCount() const { return static_cast<int32_t>(tabs_.size()); }
  int32_t SelectedTab() const { return m_SelectedTab; }
  void setSelectedTab(int32_t New_SelectedTab);
  HTabOrientation TabOrientation() const { return m_TabOrientation; }
  void setTabOrientation(HTabOrientation New_TabOrientation);
  HTabStyle TabStyle() const { return m_TabStyle; }
  void setTabStyle(HTabStyle New_TabStyle);
  int32_t TabsPerRow() const { return m_TabsPerRow; }
  void setTabsPerRow(int32_t New_TabsPerRow);
  int32_t TabHeight() const { return m_TabHeight; }
  void setTabHeight(int32_t New_TabHeight);
  OLE_COLOR BackGradient1() const { return m_BackGradient1; }
  void setBackGradient1(OLE_COLOR v);
  OLE_COLOR BackGradient2() const { return m_BackGradient2; }
  void setBackGradient2(OLE_COLOR v);
  OLE_COLOR BackColorParent() const { return m_BackColorParent; }
  void setBackColorParent(OLE_COLOR v);
  OLE_COLOR ForeColor() const { return m_ForeColor; }
  void setForeColor(OLE_COLOR v);
  OLE_COLOR ForeColorHover() const { return m_ForeColorHover; }
  void setForeColorHover(OLE_COLOR v);
  OLE_COLOR ForeColorSelected() const { return m_ForeColorSelected; }
  void setForeColorSelected(OLE_COLOR v);
  OLE_COLOR FrameBorderColor() const { return m_FrameBorderColor; }
  void setFrameBorderColor(OLE_COLOR v);
  OLE_COLOR TabBorderColorHover() const { return m_TabBorderColorHover; }
  void setTabBorderColorHover(OLE_COLOR v);
  HTabPicAlignment TabPictureAlignment() const { return m_TabPictureAlignment; }
  void setTabPictureAlignment(HTabPicAlignment v);
  OLE_COLOR HoverTabColor1() const { return m_HoverTabColor1; }
  void setHoverTabColor1(OLE_COLOR v);
  OLE_COLOR HoverTabColor2() const { return m_HoverTabColor2; }
  void setHoverTabColor2(OLE_COLOR v);
  OLE_COLOR SelectedTabBKColor() const { return m_SelectedTabBKColor; }
  void setSelectedTabBKColor(OLE_COLOR v);

  // The surface passed through: its window, its container's window, its device context and its
  // coordinate system (pixels; ScaleLeft/ScaleTop 0 and the client size until set).
  int32_t hwnd() const { return static_cast<int32_t>(hWnd()); }
  int32_t ContainerHwnd() const;
  int32_t hdc() const { return static_cast<int32_t>(UserControl.hDC()); }
  int32_t ScaleLeft() const { return m_ScaleLeft; }
  void setScaleLeft(int32_t v) { m_ScaleLeft = v; }
  int32_t ScaleTop() const { return m_ScaleTop; }
  void setScaleTop(int32_t v) { m_ScaleTop = v; }
  int32_t ScaleWidth() const { return m_ScaleWidth > 0 ? m_ScaleWidth : UserControl.ScaleWidth(); }
  void setScaleWidth(int32_t v) { m_ScaleWidth = v; }
  int32_t ScaleHeight() const { return m_ScaleHeight > 0 ? m_ScaleHeight : UserControl.ScaleHeight(); }
  void setScaleHeight(int32_t v) { m_ScaleHeight = v; }

  // ---- Per-tab properties, 1-based (error 9 outside 1..TabsCount); setters go through ModifyTab ----
  bool AutoTabWidth(int32_t Index) const { return tab(Index).autoWidth; }
  void setAutoTabWidth(int32_t Index, bool v);
  std::string TabCaption(int32_t Index) const { return tab(Index).caption; }
  void setTabCaption(int32_t Index, const std::string& v);
  bool TabEnabled(int32_t Index) const { return tab(Index).enabled; }
  void setTabEnabled(int32_t Index, bool v);
  host::PictureRef TabIcon(int32_t Index) const { return tab(Index).icon; }
  void setTabIcon(int32_t Index, host::PictureRef v);
  bool TabVisible(int32_t Index) const { return tab(Index).visible; }
  void setTabVisible(int32_t Index, bool v);
  int32_t TabWidth(int32_t Index) const { return tab(Index).width; }
  void setTabWidth(int32_t Index, int32_t v);
  OLE_COLOR TabGradient1(int32_t Index) const { return tab(Index).gradient1; }
  void setTabGradient1(int32_t Index, OLE_COLOR v);
  OLE_COLOR TabGradient2(int32_t Index) const { return tab(Index).gradient2; }
  void setTabGradient2(int32_t Index, OLE_COLOR v);
  host::PictureRef TabPicture(int32_t Index) const { return tab(Index).picture; }
  void setTabPicture(int32_t Index, host::PictureRef v);
  int32_t TransparencyLevel(int32_t Index) const { return tab(Index).transparency; }
  void setTransparencyLevel(int32_t Index, int32_t v);

  // ---- Methods ----
  bool AddTab(const std::string& lpStrCaption, bool blnAutoTabWidth = true, bool blnTabEnabled = true,
              host::PictureRef stdTabIcon = {}, bool blnTabVisible = true, int32_t lngTabWidth = kTabWidth,
              OLE_COLOR Ole_TabGradient1 = kTabGradient1, OLE_COLOR Ole_TabGradient2 = kTabGradient2,
              host::PictureRef stdTabPicture = {}, int32_t lngTransparencyLevel = kTransparencyLevel);
  bool ModifyTab(int32_t Index, const std::string& lpStrCaption, bool blnAutoTabWidth = true,
                 bool blnTabEnabled = true, host::PictureRef stdTabIcon = {}, bool blnTabVisible = true,
                 int32_t lngTabWidth = kTabWidth, OLE_COLOR Ole_TabGradient1 = kTabGradient1,
                 OLE_COLOR Ole_TabGradient2 = kTabGradient2, host::PictureRef stdTabPicture = {},
                 int32_t lngTransparencyLevel = kTransparencyLevel);
  bool RemoveTab(int32_t Index);
  void RedrawMe();
  void Refresh() { RedrawMe(); }
  float GetTextWidth(const std::string& lpStrText) const;
  float GetTextHeight(const std::string& lpStrText) const;

  // ---- Events of the tab control's own ----
  host::Event<int32_t> ClickOnTab;
  host::Event<int32_t> BeforeTabSwitch;
  host::Event<int32_t> AfterTabSwitch;
  host::Event<int16_t> TabAccessKeyPressed;
  host::Event<> Paint;
  host::Event<> MouseOut;

  // ---- Run-time state a host or a test may look at ----
  const std::vector<TabRect>& tabRects() const { return rects_; }
  const std::vector<uControlD4Controls>& tabControls(int32_t Index) const { return tab(Index).children; }
  int32_t hoveredTab() const { return m_HoverTab; }
  int32_t rowCount() const { return m_Rows; }
  // The body's rectangle on the surface (pixels, right and bottom excluded).
  RECT bodyRect() const;
  // The tab under a surface point, 0 when none.
  int32_t hitTest(int32_t x, int32_t y) const;
  // The identifier a child is kept under: Name, followed by Index inside a control array.
  static std::string controlId(const host::Extender& child);
  // Full repaints so far, and hover-only repaints (the economy path).
  int fullPaints() const { return fullPaints_; }
  int hoverPaints() const { return hoverPaints_; }

  // Whether the children's places still wait for the first settling after loading.
  bool childrenPending() const { return pendingShow_; }

  const host::MemberTable& memberTable() const override;

 protected:
  void UserControl_Initialize() override;
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
  void UserControl_Resize() override;
  void UserControl_Terminate() override;
  void UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_KeyDown(int16_t& KeyCode, int16_t& Shift) override;
  void UserControl_AccessKeyPress(int16_t& KeyAscii) override;
  void UserControl_LostFocus() override {}
  void tmrHover_Timer() override;
  void redrawResting() override { RedrawMe(); }
  bool resizeRedrawsResting() const override { return true; }

 private:
  struct Tab {
    std::string caption;
    bool autoWidth = true;
    bool enabled = true;
    host::PictureRef icon;
    bool visible = true;
    int32_t width = kTabWidth;
    OLE_COLOR gradient1 = kTabGradient1;
    OLE_COLOR gradient2 = kTabGradient2;
    host::PictureRef picture;
    int32_t transparency = kTransparencyLevel;
    std::string accessKey;  // the character after "&" in the caption, empty when none
    std::vector<uControlD4Controls> children;
  };

  // AddTab and ModifyTab called by name: arguments left out take the declared defaults.
  bool AddTabByName(const std::string& caption, const host::Variant& autoWidth, const host::Variant& enabled,
                    const host::Variant& icon, const host::Variant& visible, const host::Variant& width,
                    const host::Variant& g1, const host::Variant& g2, const host::Variant& picture,
                    const host::Variant& transparency);
  bool ModifyTabByName(int32_t Index, const std::string& caption, const host::Variant& autoWidth,
                       const host::Variant& enabled, const host::Variant& icon, const host::Variant& visible,
                       const host::Variant& width, const host::Variant& g1, const host::Variant& g2,
                       const host::Variant& picture, const host::Variant& transparency);

  const Tab& tab(int32_t Index) const;
  Tab& tab(int32_t Index);
  // Fills a tab's fields as AddTab and ModifyTab do; false (after the message) for a caption
  // over 20 characters.
  bool fillTab(Tab& t, const std::string& caption, bool autoWidth, bool enabled, host::PictureRef icon,
               bool visible, int32_t width, OLE_COLOR g1, OLE_COLOR g2, host::PictureRef picture,
               int32_t transparency);
  void registerAccessKeys();
  // After loading, the form sites the children after this control has read its properties: the
  // first tick of tmrLoaded, or any earlier use of the children, shows the selected tab's.
  void settleChildren();
  // Rebuilds the selected tab's membership from the shown children (Left above -10000).
  void RecordChildren();
  // Shows the selected tab's children and hides the other tabs' children.
  void ShowChildren();
  std::vector<host::Extender*> children() const;
  // Tab navigation: the next enabled, visible tab from `from` in direction step (+1 / -1), 0 when none.
  int32_t nextSelectable(int32_t from, int step) const;
  bool selectable(int32_t n) const;

  void Layout();
  int32_t captionWidth(const Tab& t) const;
  // TabHeight as laid out: at least 1 and at most 65 536 pixels, so that rows of any stored
  // value add up without overflow (the property keeps the value as set).
  int32_t tabHeight() const { return std::clamp<int32_t>(m_TabHeight, 1, 1 << 16); }
  int32_t stripHeight() const {
    return static_cast<int32_t>(std::min<int64_t>(int64_t{m_Rows} * tabHeight() + 10, int64_t{1} << 24));
  }
  void DrawBody();
  void DrawTab(const TabRect& r, bool hover);
  void DrawTabContent(const TabRect& r, const Tab& t, COLORREF textColor);
  // The economy path: restores the strip from the saved copy and draws the hovered tab.
  void RedrawHoverOnly();

  std::vector<Tab> tabs_;
  std::vector<TabRect> rects_;
  int32_t m_SelectedTab = 1;
  HTabOrientation m_TabOrientation = HTabOrientation::Tab_OrientationTop;
  HTabStyle m_TabStyle = HTabStyle::Tab_StylePropertyPage;
  int32_t m_TabsPerRow = kTabsPerRow;
  int32_t m_TabHeight = kTabHeight;
  OLE_COLOR m_BackGradient1 = kBackGradient1;
  OLE_COLOR m_BackGradient2 = kBackGradient2;
  OLE_COLOR m_BackColorParent = kBackColorParent;
  OLE_COLOR m_ForeColor = kForeColor;
  OLE_COLOR m_ForeColorHover = kForeColorHover;
  OLE_COLOR m_ForeColorSelected = kForeColorSelected;
  OLE_COLOR m_FrameBorderColor = kFrameBorderColor;
  OLE_COLOR m_TabBorderColorHover = kTabBorderColorHover;
  HTabPicAlignment m_TabPictureAlignment = HTabPicAlignment::Tab_Pic_Left;
  OLE_COLOR m_HoverTabColor1 = kHoverTabColor1;
  OLE_COLOR m_HoverTabColor2 = kHoverTabColor2;
  OLE_COLOR m_SelectedTabBKColor = kSelectedTabBKColor;
  int32_t m_ScaleLeft = 0, m_ScaleTop = 0, m_ScaleWidth = 0, m_ScaleHeight = 0;

  int32_t m_Rows = 1;
  int32_t m_HoverTab = 0;
  bool resizing_ = false;
  int fullPaints_ = 0;
  int hoverPaints_ = 0;
  // The copy of the surface taken after each full repaint (the hover economy).
  MemoryDC copyDC_;
  GdiObject copyBitmap_;
  HGDIOBJ copyPrev_ = 0;
  bool pendingShow_ = false;
  foundation::ControlTimer tmrLoaded{"tmrLoaded", 1};
};

}  // namespace zxp::bars
