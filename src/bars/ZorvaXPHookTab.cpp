#include "bars/ZorvaXPHookTab.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "foundation/PenLines.h"
#include "foundation/modGeneral.h"
#include "foundation/modGradient.h"
#include "foundation/modPicEffects.h"
#include "platform/base/HostError.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/Text.h"
#include "platform/host/Form.h"
#include "platform/host/MemberTable.h"
#include "platform/host/NoCaseIndex.h"
#include "platform/host/PropertyBag.h"
#include "platform/services/MessageBox.h"
#include "platform/ui/User.h"

namespace zxp::bars {

using foundation::drawLines;
using foundation::drawOutline;
using foundation::fillSolid;
using foundation::Redraw;

namespace {

constexpr int32_t kIcon = 16;       // a tab icon's side, pixels
constexpr int32_t kIconGap = 5;     // between icon and caption
constexpr int32_t kHiddenBelow = -9999;  // a Left below this counts as hidden (twips)
constexpr int32_t kShownAbove = -10000;  // a Left above this counts as shown
constexpr int32_t kMaxTabs = 10000;      // what a property bag may ask for
constexpr int32_t kMaxChildren = 100000;  // in all tabs together

// Identifiers compare without regard to case, as the keys of the platform's collections do.
std::string folded(const std::string& id) {
  std::string f = id;
  for (char& ch : f) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return f;
}

std::string keyOf(const char* name, int32_t n) { return name + std::to_string(n); }

}  // namespace

ZorvaXPHookTab::ZorvaXPHookTab() : ControlBase("tmrHover") {}

void ZorvaXPHookTab::UserControl_Initialize() {
  UserControl.setTakesFocusOnClick(true);
  tmrLoaded.Timer.connect([this] { settleChildren(); });
}

void ZorvaXPHookTab::settleChildren() {
  if (!pendingShow_) return;
  ShowChildren();
}

void ZorvaXPHookTab::UserControl_Terminate() {
  tmrLoaded.setEnabled(false);
  if (copyPrev_) SelectObject(copyDC_.get(), copyPrev_);
  copyPrev_ = 0;
  copyBitmap_.reset();
  copyDC_ = MemoryDC();
}

// ---- Control-wide properties --------------------------------------------------------------------

#define ZXP_TAB_SETTER(Name, Type) \
  void ZorvaXPHookTab::set##Name(Type v) { letProperty(m_##Name, v, #Name, Redraw::Resting); }
ZXP_TAB_SETTER(TabOrientation, HTabOrientation)
ZXP_TAB_SETTER(TabStyle, HTabStyle)
ZXP_TAB_SETTER(BackGradient1, OLE_COLOR)
ZXP_TAB_SETTER(BackGradient2, OLE_COLOR)
ZXP_TAB_SETTER(BackColorParent, OLE_COLOR)
ZXP_TAB_SETTER(ForeColor, OLE_COLOR)
ZXP_TAB_SETTER(ForeColorHover, OLE_COLOR)
ZXP_TAB_SETTER(ForeColorSelected, OLE_COLOR)
ZXP_TAB_SETTER(FrameBorderColor, OLE_COLOR)
ZXP_TAB_SETTER(TabBorderColorHover, OLE_COLOR)
ZXP_TAB_SETTER(TabPictureAlignment, HTabPicAlignment)
ZXP_TAB_SETTER(HoverTabColor1, OLE_COLOR)
ZXP_TAB_SETTER(HoverTabColor2, OLE_COLOR)
ZXP_TAB_SETTER(SelectedTabBKColor, OLE_COLOR)
#undef ZXP_TAB_SETTER

// Rows of at least one tab, and rows at least one pixel high, so that the layout never divides by
// zero; the value is stored as given.
void ZorvaXPHookTab::setTabsPerRow(int32_t v) { letProperty(m_TabsPerRow, v, "TabsPerRow", Redraw::Resting); }
void ZorvaXPHookTab::setTabHeight(int32_t v) { letProperty(m_TabHeight, v, "TabHeight", Redraw::Resting); }

int32_t ZorvaXPHookTab::ContainerHwnd() const { return static_cast<int32_t>(GetParent(hWnd())); }

void ZorvaXPHookTab::setSelectedTab(int32_t n) {
  if (n == m_SelectedTab || !selectable(n)) return;
  int32_t next = n;
  BeforeTabSwitch.raise(next);
  RecordChildren();
  const int32_t old = m_SelectedTab;
  m_SelectedTab = n;
  RedrawMe();
  ShowChildren();
  int32_t last = old;
  AfterTabSwitch.raise(last);
  PropertyChanged("SelectedTab");
}

bool ZorvaXPHookTab::selectable(int32_t n) const {
  if (n < 1 || n > TabsCount()) return false;
  const Tab& t = tabs_[static_cast<size_t>(n - 1)];
  return t.enabled && t.visible;
}

int32_t ZorvaXPHookTab::nextSelectable(int32_t from, int step) const {
  for (int32_t n = from + step; n >= 1 && n <= TabsCount(); n += step)
    if (selectable(n)) return n;
  return 0;
}

// ---- Per-tab properties -------------------------------------------------------------------------

const ZorvaXPHookTab::Tab& ZorvaXPHookTab::tab(int32_t Index) const {
  if (Index < 1 || Index > TabsCount()) throw HostError(errSubscriptOutOfRange);
  return tabs_[static_cast<size_t>(Index - 1)];
}

ZorvaXPHookTab::Tab& ZorvaXPHookTab::tab(int32_t Index) {
  return const_cast<Tab&>(static_cast<const ZorvaXPHookTab&>(*this).tab(Index));
}

// Each indexed setter is ModifyTab with that one field changed.
#define ZXP_TAB_INDEXED(Name, Type, field)                                                                 \
  void ZorvaXPHookTab::set##Name(int32_t Index, Type v) {                                                   \
    Tab t = tab(Index);                                                                                     \
    t.field = v;                                                                                            \
    ModifyTab(Index, t.caption, t.autoWidth, t.enabled, t.icon, t.visible, t.width, t.gradient1, t.gradient2, \
              t.picture, t.transparency);                                                                   \
    PropertyChanged(#Name);                                                                                 \
  }
ZXP_TAB_INDEXED(AutoTabWidth, bool, autoWidth)
ZXP_TAB_INDEXED(TabCaption, const std::string&, caption)
ZXP_TAB_INDEXED(TabEnabled, bool, enabled)
ZXP_TAB_INDEXED(TabIcon, host::PictureRef, icon)
ZXP_TAB_INDEXED(TabVisible, bool, visible)
ZXP_TAB_INDEXED(TabWidth, int32_t, width)
ZXP_TAB_INDEXED(TabGradient1, OLE_COLOR, gradient1)
ZXP_TAB_INDEXED(TabGradient2, OLE_COLOR, gradient2)
ZXP_TAB_INDEXED(TabPicture, host::PictureRef, picture)
ZXP_TAB_INDEXED(TransparencyLevel, int32_t, transparency)
#undef ZXP_TAB_INDEXED

// ---- Methods ------------------------------------------------------------------------------------

bool ZorvaXPHookTab::fillTab(Tab& t, const std::string& caption, bool autoWidth, bool enabled,
                             host::PictureRef icon, bool visible, int32_t width, OLE_COLOR g1, OLE_COLOR g2,
                             host::PictureRef picture, int32_t transparency) {
  if (caption.size() > kMaxCaption) {
    MsgBox(kCaptionMessage, vbCritical, kCaptionTitle);
    return false;
  }
  t.caption = caption;
  t.autoWidth = autoWidth;
  t.enabled = enabled;
  t.icon = std::move(icon);
  t.visible = visible;
  t.width = std::clamp(width, 5, 255);
  t.gradient1 = g1;
  t.gradient2 = g2;
  t.picture = std::move(picture);
  t.transparency = transparency;
  t.accessKey = accessKeyOf(caption).value_or("");
  return true;
}

bool ZorvaXPHookTab::AddTab(const std::string& lpStrCaption, bool blnAutoTabWidth, bool blnTabEnabled,
                            host::PictureRef stdTabIcon, bool blnTabVisible, int32_t lngTabWidth,
                            OLE_COLOR Ole_TabGradient1, OLE_COLOR Ole_TabGradient2, host::PictureRef stdTabPicture,
                            int32_t lngTransparencyLevel) {
  Tab t;
  if (!fillTab(t, lpStrCaption, blnAutoTabWidth, blnTabEnabled, std::move(stdTabIcon), blnTabVisible, lngTabWidth,
               Ole_TabGradient1, Ole_TabGradient2, std::move(stdTabPicture), lngTransparencyLevel))
    return false;
  tabs_.push_back(std::move(t));
  if (m_SelectedTab < 1) m_SelectedTab = 1;
  registerAccessKeys();
  RedrawMe();
  return true;
}

bool ZorvaXPHookTab::ModifyTab(int32_t Index, const std::string& lpStrCaption, bool blnAutoTabWidth,
                               bool blnTabEnabled, host::PictureRef stdTabIcon, bool blnTabVisible,
                               int32_t lngTabWidth, OLE_COLOR Ole_TabGradient1, OLE_COLOR Ole_TabGradient2,
                               host::PictureRef stdTabPicture, int32_t lngTransparencyLevel) {
  Tab& t = tab(Index);
  Tab changed = t;
  if (!fillTab(changed, lpStrCaption, blnAutoTabWidth, blnTabEnabled, std::move(stdTabIcon), blnTabVisible,
               lngTabWidth, Ole_TabGradient1, Ole_TabGradient2, std::move(stdTabPicture), lngTransparencyLevel))
    return false;
  t = std::move(changed);
  registerAccessKeys();
  RedrawMe();
  return true;
}

namespace {
template <class T>
T orDefault(const host::Variant& v, T fallback) {
  return v.isEmpty() ? fallback : host::variantAs<T>(v);
}
}  // namespace

bool ZorvaXPHookTab::AddTabByName(const std::string& caption, const host::Variant& autoWidth,
                                  const host::Variant& enabled, const host::Variant& icon, const host::Variant& visible,
                                  const host::Variant& width, const host::Variant& g1, const host::Variant& g2,
                                  const host::Variant& picture, const host::Variant& transparency) {
  return AddTab(caption, orDefault(autoWidth, true), orDefault(enabled, true), orDefault(icon, host::PictureRef()),
                orDefault(visible, true), orDefault(width, kTabWidth), orDefault(g1, kTabGradient1),
                orDefault(g2, kTabGradient2), orDefault(picture, host::PictureRef()),
                orDefault(transparency, kTransparencyLevel));
}

bool ZorvaXPHookTab::ModifyTabByName(int32_t Index, const std::string& caption, const host::Variant& autoWidth,
                                     const host::Variant& enabled, const host::Variant& icon,
                                     const host::Variant& visible, const host::Variant& width,
                                     const host::Variant& g1, const host::Variant& g2, const host::Variant& picture,
                                     const host::Variant& transparency) {
  return ModifyTab(Index, caption, orDefault(autoWidth, true), orDefault(enabled, true),
                   orDefault(icon, host::PictureRef()), orDefault(visible, true), orDefault(width, kTabWidth),
                   orDefault(g1, kTabGradient1), orDefault(g2, kTabGradient2), orDefault(picture, host::PictureRef()),
                   orDefault(transparency, kTransparencyLevel));
}

bool ZorvaXPHookTab::RemoveTab(int32_t Index) {
  if (Index < 1 || Index > TabsCount()) return false;
  try {
    RecordChildren();
    tabs_.erase(tabs_.begin() + (Index - 1));
    if (m_SelectedTab > TabsCount()) m_SelectedTab = TabsCount();
    if (m_SelectedTab < 1 && TabsCount() > 0) m_SelectedTab = 1;
    m_HoverTab = 0;
    registerAccessKeys();
    ShowChildren();
    RedrawMe();
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

float ZorvaXPHookTab::GetTextWidth(const std::string& lpStrText) const {
  SIZE s{};
  GetTextExtentPoint32(UserControl.hDC(), lpStrText.data(), static_cast<int>(lpStrText.size()), &s);
  return static_cast<float>(s.cx);
}

float ZorvaXPHookTab::GetTextHeight(const std::string& lpStrText) const {
  SIZE s{};
  GetTextExtentPoint32(UserControl.hDC(), lpStrText.data(), static_cast<int>(lpStrText.size()), &s);
  return static_cast<float>(s.cy);
}

void ZorvaXPHookTab::registerAccessKeys() {
  std::string keys;
  for (const Tab& t : tabs_) keys += t.accessKey;
  setAccessKeys(keys);
}

// ---- Children -----------------------------------------------------------------------------------

std::string ZorvaXPHookTab::controlId(const host::Extender& child) {
  return child.inArray() ? child.Name() + std::to_string(child.Index()) : child.Name();
}

std::vector<host::Extender*> ZorvaXPHookTab::children() const {
  host::Extender* e = extender();
  if (!e || !e->Parent()) return {};
  return e->Parent()->controlsIn(e);
}

void ZorvaXPHookTab::RecordChildren() {
  settleChildren();
  if (m_SelectedTab < 1 || m_SelectedTab > TabsCount()) return;
  std::vector<uControlD4Controls> shown;
  std::unordered_set<std::string> ids;
  for (host::Extender* c : children()) {
    if (c->Left() <= kShownAbove) continue;
    std::string id = controlId(*c);
    ids.insert(folded(id));
    shown.push_back({std::move(id), c->TabStop()});
  }
  // A child is kept by one tab: the shown tab takes it from any other list.
  for (Tab& t : tabs_)
    std::erase_if(t.children, [&](const uControlD4Controls& r) { return ids.count(folded(r.strControlID)) > 0; });
  tabs_[static_cast<size_t>(m_SelectedTab - 1)].children = std::move(shown);
}

void ZorvaXPHookTab::ShowChildren() {
  pendingShow_ = false;
  tmrLoaded.setEnabled(false);
  // Each child's first record in the tabs' lists. The lists may name far more identifiers than
  // there are children (a file lists what it likes), so the children are indexed and the lists
  // walked once.
  const std::vector<host::Extender*> kids = children();
  std::unordered_map<std::string, std::pair<int32_t, uControlD4Controls*>> where;
  where.reserve(kids.size());
  for (host::Extender* c : kids) where.emplace(folded(controlId(*c)), std::make_pair(0, nullptr));
  for (int32_t n = 1; n <= TabsCount() && !where.empty(); ++n)
    for (uControlD4Controls& r : tabs_[static_cast<size_t>(n - 1)].children) {
      auto found = where.find(folded(r.strControlID));
      if (found != where.end() && !found->second.second) found->second = std::make_pair(n, &r);
    }
  for (host::Extender* c : kids) {
    auto found = where.find(folded(controlId(*c)));
    if (found == where.end() || !found->second.second) continue;  // in no tab: left alone
    const auto [n, record] = found->second;
    if (n == m_SelectedTab) {
      if (c->Left() < kHiddenBelow) {
        c->setLeft(c->Left() + kHideOffset);
        c->setTabStop(record->blnTabStop);
      }
    } else if (c->Left() > kShownAbove) {
      record->blnTabStop = c->TabStop();
      c->setLeft(c->Left() - kHideOffset);
      c->setTabStop(false);
    }
  }
}

// ---- Persistence --------------------------------------------------------------------------------

void ZorvaXPHookTab::UserControl_InitProperties() {
  tabs_.clear();
  m_SelectedTab = 1;
  for (int i = 1; i <= 3; ++i) {
    Tab t;
    fillTab(t, "ZRTab" + std::to_string(i), true, true, {}, true, kTabWidth, kTabGradient1, kTabGradient2, {},
            kTransparencyLevel);
    tabs_.push_back(std::move(t));
  }
  UserControl.setFont(Ambient().Font);
  registerAccessKeys();
  RedrawMe();
}

void ZorvaXPHookTab::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  const int32_t count = PropBag.read<int32_t>("TabsCount", 1);
  if (count < 0 || count > kMaxTabs) throw HostError(errInvalidPropertyValue, "TabsCount out of range");
  m_SelectedTab = PropBag.read<int32_t>("SelectedTab", 1);
  m_TabOrientation = PropBag.read<HTabOrientation>("TabOrientation", HTabOrientation::Tab_OrientationTop);
  m_TabStyle = PropBag.read<HTabStyle>("TabStyle", HTabStyle::Tab_StylePropertyPage);
  m_TabsPerRow = PropBag.read<int32_t>("TabsPerRow", kTabsPerRow);
  m_TabHeight = PropBag.read<int32_t>("TabHeight", kTabHeight);
  m_BackGradient1 = PropBag.read<OLE_COLOR>("BackGradient1", kBackGradient1);
  m_BackGradient2 = PropBag.read<OLE_COLOR>("BackGradient2", kBackGradient2);
  m_BackColorParent = PropBag.read<OLE_COLOR>("BackColorParent", kBackColorParent);
  m_ForeColor = PropBag.read<OLE_COLOR>("ForeColor", kForeColor);
  m_ForeColorHover = PropBag.read<OLE_COLOR>("ForeColorHover", kForeColorHover);
  m_ForeColorSelected = PropBag.read<OLE_COLOR>("ForeColorSelected", kForeColorSelected);
  m_FrameBorderColor = PropBag.read<OLE_COLOR>("FrameBorderColor", kFrameBorderColor);
  m_TabBorderColorHover = PropBag.read<OLE_COLOR>("TabBorderColorHover", kTabBorderColorHover);
  m_TabPictureAlignment = PropBag.read<HTabPicAlignment>("TabPictureAlignment", HTabPicAlignment::Tab_Pic_Left);
  m_HoverTabColor1 = PropBag.read<OLE_COLOR>("HoverTabColor1", kHoverTabColor1);
  m_HoverTabColor2 = PropBag.read<OLE_COLOR>("HoverTabColor2", kHoverTabColor2);
  m_SelectedTabBKColor = PropBag.read<OLE_COLOR>("SelectedTabBKColor", kSelectedTabBKColor);
  UserControl.setEnabled(PropBag.read<bool>("Enabled", true));
  UserControl.setFont(PropBag.read<host::FontRef>("Font", Ambient().Font));
  UserControl.setMousePointer(PropBag.read<int16_t>("MousePointer", 0));
  UserControl.setMouseIcon(PropBag.read<host::PictureRef>("MouseIcon", host::PictureRef()));
  tabs_.clear();
  tabs_.reserve(static_cast<size_t>(count));
  int64_t totalKids = 0;  // children of all tabs together, bounded so a damaged file cannot stall loading
  for (int32_t n = 1; n <= count; ++n) {
    Tab t;
    t.autoWidth = PropBag.read<bool>(keyOf("AutoTabWidth", n), true);
    t.caption = PropBag.read<std::string>(keyOf("TabCaption", n), "ZRTab");
    t.enabled = PropBag.read<bool>(keyOf("TabEnabled", n), true);
    t.icon = PropBag.read<host::PictureRef>(keyOf("TabIcon", n), host::PictureRef());
    t.visible = PropBag.read<bool>(keyOf("TabVisible", n), true);
    t.width = std::clamp(PropBag.read<int32_t>(keyOf("TabWidth", n), kTabWidth), 5, 255);
    t.gradient1 = PropBag.read<OLE_COLOR>(keyOf("TabGradient1", n), kTabGradient1);
    t.gradient2 = PropBag.read<OLE_COLOR>(keyOf("TabGradient2", n), kTabGradient2);
    t.picture = PropBag.read<host::PictureRef>(keyOf("TabPicture", n), host::PictureRef());
    t.transparency = PropBag.read<int32_t>(keyOf("TransparencyLevel", n), kTransparencyLevel);
    t.accessKey = accessKeyOf(t.caption).value_or("");
    const std::string countKey = keyOf("TabCtlCount", n);
    const int32_t kids = PropBag.read<int32_t>(countKey, 0);
    totalKids += kids;
    if (kids < 0 || totalKids > kMaxChildren) throw HostError(errInvalidPropertyValue, countKey + " out of range");
    // The tab's identifiers so far, without case: the first listing counts.
    host::NoCaseIndex listed;
    listed.reserve(static_cast<size_t>(kids));
    t.children.reserve(static_cast<size_t>(kids));
    const auto idAt = [&t](size_t i) -> std::string_view { return t.children[i].strControlID; };
    std::string key = "TabCtlOf" + std::to_string(n) + "ID";
    const size_t prefix = key.size();
    for (int32_t j = 1; j <= kids; ++j) {
      key.resize(prefix);
      key += std::to_string(j);
      std::string id = PropBag.read<std::string>(key, "");
      if (id.empty() || listed.find(id, idAt) != host::NoCaseIndex::npos) continue;
      listed.insert(id, t.children.size());
      t.children.push_back({std::move(id), true});
    }
    tabs_.push_back(std::move(t));
  }
  // A selection outside the tabs falls back to the first tab.
  if (m_SelectedTab < 1 || m_SelectedTab > TabsCount()) m_SelectedTab = TabsCount() > 0 ? 1 : 0;
  registerAccessKeys();
  pendingShow_ = true;
  tmrLoaded.setEnabled(true);
  restingChanged();
}

void ZorvaXPHookTab::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  RecordChildren();
  PropBag.WriteProperty("TabsCount", TabsCount(), 1);
  PropBag.WriteProperty("SelectedTab", m_SelectedTab, 1);
  PropBag.WriteProperty("TabOrientation", m_TabOrientation, HTabOrientation::Tab_OrientationTop);
  PropBag.WriteProperty("TabStyle", m_TabStyle, HTabStyle::Tab_StylePropertyPage);
  PropBag.WriteProperty("TabsPerRow", m_TabsPerRow, kTabsPerRow);
  PropBag.WriteProperty("TabHeight", m_TabHeight, kTabHeight);
  PropBag.WriteProperty("BackGradient1", m_BackGradient1, kBackGradient1);
  PropBag.WriteProperty("BackGradient2", m_BackGradient2, kBackGradient2);
  PropBag.WriteProperty("BackColorParent", m_BackColorParent, kBackColorParent);
  PropBag.WriteProperty("ForeColor", m_ForeColor, kForeColor);
  PropBag.WriteProperty("ForeColorHover", m_ForeColorHover, kForeColorHover);
  PropBag.WriteProperty("ForeColorSelected", m_ForeColorSelected, kForeColorSelected);
  PropBag.WriteProperty("FrameBorderColor", m_FrameBorderColor, kFrameBorderColor);
  PropBag.WriteProperty("TabBorderColorHover", m_TabBorderColorHover, kTabBorderColorHover);
  PropBag.WriteProperty("TabPictureAlignment", m_TabPictureAlignment, HTabPicAlignment::Tab_Pic_Left);
  PropBag.WriteProperty("HoverTabColor1", m_HoverTabColor1, kHoverTabColor1);
  PropBag.WriteProperty("HoverTabColor2", m_HoverTabColor2, kHoverTabColor2);
  PropBag.WriteProperty("SelectedTabBKColor", m_SelectedTabBKColor, kSelectedTabBKColor);
  PropBag.WriteProperty("Enabled", Enabled(), true);
  PropBag.WriteProperty("Font", Font());
  PropBag.WriteProperty("MousePointer", MousePointer(), int16_t{0});
  PropBag.WriteProperty("MouseIcon", MouseIcon());
  for (int32_t n = 1; n <= TabsCount(); ++n) {
    const Tab& t = tabs_[static_cast<size_t>(n - 1)];
    PropBag.WriteProperty(keyOf("AutoTabWidth", n), t.autoWidth, true);
    PropBag.WriteProperty(keyOf("TabCaption", n), t.caption, std::string("ZRTab"));
    PropBag.WriteProperty(keyOf("TabEnabled", n), t.enabled, true);
    PropBag.WriteProperty(keyOf("TabIcon", n), t.icon);
    PropBag.WriteProperty(keyOf("TabVisible", n), t.visible, true);
    PropBag.WriteProperty(keyOf("TabWidth", n), t.width, kTabWidth);
    PropBag.WriteProperty(keyOf("TabGradient1", n), t.gradient1, kTabGradient1);
    PropBag.WriteProperty(keyOf("TabGradient2", n), t.gradient2, kTabGradient2);
    PropBag.WriteProperty(keyOf("TabPicture", n), t.picture);
    PropBag.WriteProperty(keyOf("TransparencyLevel", n), t.transparency, kTransparencyLevel);
    PropBag.WriteProperty(keyOf("TabCtlCount", n), static_cast<int32_t>(t.children.size()), 0);
    const std::string prefix = "TabCtlOf" + std::to_string(n) + "ID";
    for (size_t j = 0; j < t.children.size(); ++j)
      PropBag.WriteProperty(prefix + std::to_string(j + 1), t.children[j].strControlID, std::string());
  }
}

// ---- Size and input -----------------------------------------------------------------------------

void ZorvaXPHookTab::UserControl_Resize() {
  if (resizing_) return;
  const int32_t w = UserControl.ScaleWidth(), h = UserControl.ScaleHeight();
  if (w < kMinWidth || h < kMinHeight) {
    resizing_ = true;
    if (w < kMinWidth) setWidthTwips(kMinWidth * 15);
    if (h < kMinHeight) setHeightTwips(kMinHeight * 15);
    resizing_ = false;
  }
  RedrawMe();
}

int32_t ZorvaXPHookTab::hitTest(int32_t x, int32_t y) const {
  for (const TabRect& r : rects_)
    if (x >= r.Left && x < r.Left + r.Width && y >= r.Top && y < r.Bottom) return r.Index;
  return 0;
}

void ZorvaXPHookTab::UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  const int32_t hit = hitTest(static_cast<int32_t>(X), static_cast<int32_t>(Y));
  if (hit > 0) {
    int32_t previous = m_SelectedTab;
    setSelectedTab(hit);
    ClickOnTab.raise(previous);
  }
  MouseDown.raise(Button, Shift, X, Y);
}

void ZorvaXPHookTab::UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  int32_t hit = hitTest(static_cast<int32_t>(X), static_cast<int32_t>(Y));
  if (hit == m_SelectedTab || (hit > 0 && !tabs_[static_cast<size_t>(hit - 1)].enabled)) hit = 0;
  if (hit != m_HoverTab) {
    m_HoverTab = hit;
    RedrawHoverOnly();
  }
  if (hit > 0) tmrHover.setEnabled(true);
  MouseMove.raise(Button, Shift, X, Y);
}

void ZorvaXPHookTab::tmrHover_Timer() {
  if (!CursorOutsideWindow(hWnd())) return;
  tmrHover.setEnabled(false);
  if (m_HoverTab != 0) {
    m_HoverTab = 0;
    RedrawHoverOnly();
  }
  MouseOut.raise();
}

void ZorvaXPHookTab::UserControl_KeyDown(int16_t& KeyCode, int16_t& Shift) {
  int32_t target = 0;
  if (KeyCode == VK_RIGHT || KeyCode == VK_DOWN) target = nextSelectable(m_SelectedTab, +1);
  if (KeyCode == VK_LEFT || KeyCode == VK_UP) target = nextSelectable(m_SelectedTab, -1);
  if (target > 0) setSelectedTab(target);
  KeyDown.raise(KeyCode, Shift);
}

void ZorvaXPHookTab::UserControl_AccessKeyPress(int16_t& KeyAscii) {
  const int c = std::tolower(KeyAscii & 0xFF);
  for (int32_t n = 1; n <= TabsCount(); ++n) {
    const std::string& k = tabs_[static_cast<size_t>(n - 1)].accessKey;
    if (k.size() == 1 && std::tolower(static_cast<unsigned char>(k[0])) == c) {
      setSelectedTab(n);
      TabAccessKeyPressed.raise(KeyAscii);
      return;
    }
  }
}

// ---- Layout and painting ------------------------------------------------------------------------

int32_t ZorvaXPHookTab::captionWidth(const Tab& t) const {
  RECT r{0, 0, 0, 0};
  DrawText(UserControl.hDC(), t.caption, &r, DT_SINGLELINE | DT_CALCRECT);
  return r.right - r.left;
}

void ZorvaXPHookTab::Layout() {
  rects_.clear();
  const int32_t w = UserControl.ScaleWidth(), h = UserControl.ScaleHeight();
  const int32_t th = tabHeight();
  const bool bottom = m_TabOrientation == HTabOrientation::Tab_OrientationBottom;
  // Row at position p (0 = the outer row): its top edge.
  auto rowTop = [&](int32_t p) { return bottom ? h - 10 - th * (p + 1) : 3 + p * th; };
  if (m_TabStyle == HTabStyle::Tab_StyleTabbedDialog) {
    // TabsPerRow keeps any Long; more per row than there are tabs lays out as one row of all.
    const int32_t perRow = std::clamp(m_TabsPerRow, 1, std::max<int32_t>(TabsCount(), 1));
    m_Rows = std::max<int32_t>(1, (TabsCount() + perRow - 1) / perRow);
    const int32_t selectedRow = m_SelectedTab >= 1 ? (m_SelectedTab - 1) / perRow : 0;
    for (int32_t row = 0; row < m_Rows; ++row) {
      // The selected tab's row goes next to the body; the others keep their order outside it.
      const int32_t pos = row == selectedRow ? m_Rows - 1 : (row < selectedRow ? row : row - 1);
      const int32_t first = row * perRow + 1, last = std::min(TabsCount(), first + perRow - 1);
      int32_t n = 0;
      for (int32_t i = first; i <= last; ++i) n += tabs_[static_cast<size_t>(i - 1)].visible ? 1 : 0;
      if (n == 0) continue;
      const int32_t width = (w - 5 - n) / n;
      int32_t x = 5;
      for (int32_t i = first; i <= last; ++i) {
        if (!tabs_[static_cast<size_t>(i - 1)].visible) continue;
        rects_.push_back({x, rowTop(pos), width, rowTop(pos) + th, i});
        x += width + 1;
      }
    }
  } else {
    m_Rows = 1;
    int32_t x = 5;
    for (int32_t i = 1; i <= TabsCount(); ++i) {
      Tab& t = tabs_[static_cast<size_t>(i - 1)];
      if (!t.visible) continue;
      if (t.autoWidth) t.width = captionWidth(t) + (t.icon.empty() ? 10 : 31);
      rects_.push_back({x, rowTop(0), t.width, rowTop(0) + th, i});
      x += t.width + 1;
    }
  }
}

RECT ZorvaXPHookTab::bodyRect() const {
  const int32_t w = UserControl.ScaleWidth(), h = UserControl.ScaleHeight();
  const int32_t strip = stripHeight();
  if (m_TabOrientation == HTabOrientation::Tab_OrientationBottom) return RECT{0, 0, w, h - strip};
  return RECT{0, strip, w, h};
}

void ZorvaXPHookTab::DrawBody() {
  const HDC dc = UserControl.hDC();
  const int32_t w = UserControl.ScaleWidth(), h = UserControl.ScaleHeight();
  const RECT body = bodyRect();
  const bool bottom = m_TabOrientation == HTabOrientation::Tab_OrientationBottom;
  const RECT band = bottom ? RECT{0, body.bottom, w, h} : RECT{0, 0, w, body.top};
  fillSolid(dc, m_BackColorParent, band);
  const Tab* sel = m_SelectedTab >= 1 && m_SelectedTab <= TabsCount() ? &tabs_[static_cast<size_t>(m_SelectedTab - 1)]
                                                                       : nullptr;
  const OLE_COLOR g1 = sel ? sel->gradient1 : kTabGradient1, g2 = sel ? sel->gradient2 : kTabGradient2;
  const int32_t bh = body.bottom - body.top;
  // TabGradient1 on the side of the tabs.
  if (bottom)
    GradientFillVerticalAt(dc, 1, body.top, w - 2, bh, g1, g2);
  else
    GradientFillVerticalAt(dc, 1, body.top, w - 2, bh, g2, g1);
  if (sel && sel->picture.Type() == vbPicTypeBitmap) {
    const int32_t pw = std::min(sel->picture.width(), w - 2), ph = std::min(sel->picture.height(), bh - 2);
    if (pw > 0 && ph > 0)
      AlphaBlendPicture(dc, static_cast<HBITMAP>(sel->picture.Handle()), 1 + (w - 2 - pw) / 2,
                        body.top + 1 + (bh - 2 - ph) / 2, pw, ph, 0, 0, pw, ph, sel->transparency);
  }
  drawOutline(dc, m_FrameBorderColor, 0, body.top, w, body.bottom);
}

void ZorvaXPHookTab::DrawTabContent(const TabRect& r, const Tab& t, COLORREF textColor) {
  const HDC dc = UserControl.hDC();
  const int32_t tw = captionWidth(t);
  const bool icon = !t.icon.empty();
  const int32_t group = icon ? tw + kIcon + kIconGap : tw;
  const int32_t x0 = r.Left + std::max<int32_t>(3, (r.Width - group) / 2);
  const bool iconRight = m_TabPictureAlignment == HTabPicAlignment::Tab_Pic_Right;
  const int32_t textX = icon && !iconRight ? x0 + kIcon + kIconGap : x0;
  if (icon) {
    const int32_t ix = iconRight ? x0 + tw + kIconGap : x0;
    const int32_t iy = r.Top + (r.Bottom - r.Top - kIcon) / 2;
    if (t.icon.Type() == vbPicTypeIcon) {
      DrawIconEx(dc, ix, iy, static_cast<HICON>(t.icon.Handle()), kIcon, kIcon, 0, 0, DI_NORMAL);
    } else {
      MemoryDC mem(dc);
      Selection s(mem.get(), t.icon.Handle());
      if (s.ok()) StretchBlt(dc, ix, iy, kIcon, kIcon, mem.get(), 0, 0, t.icon.width(), t.icon.height(), SRCCOPY);
    }
  }
  RECT tr{textX, r.Top, std::min(textX + tw, r.Left + r.Width - 3), r.Bottom};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, textColor);
  DrawText(dc, t.caption, &tr, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
}

void ZorvaXPHookTab::DrawTab(const TabRect& r, bool hover) {
  const HDC dc = UserControl.hDC();
  const Tab& t = tabs_[static_cast<size_t>(r.Index - 1)];
  const int32_t L = r.Left, T = r.Top, W = r.Width, B = r.Bottom;
  COLORREF text = m_ForeColor;
  if (r.Index == m_SelectedTab) {
    // Joined to the body: the face reaches one pixel into the body and has no edge on that side.
    const RECT body = bodyRect();
    const bool bottom = m_TabOrientation == HTabOrientation::Tab_OrientationBottom;
    const int32_t top = bottom ? body.bottom - 1 : T, bot = bottom ? B : body.top + 1;
    fillSolid(dc, m_SelectedTabBKColor, RECT{L, top, L + W, bot});
    if (bottom)
      drawLines(dc, m_FrameBorderColor, {{{L, top}, {L, B - 1}}, {{L, B - 1}, {L + W - 1, B - 1}},
                                         {{L + W - 1, B - 1}, {L + W - 1, top - 1}}});
    else
      drawLines(dc, m_FrameBorderColor, {{{L, bot}, {L, T}}, {{L, T}, {L + W - 1, T}},
                                         {{L + W - 1, T}, {L + W - 1, bot}}});
    text = m_ForeColorSelected;
  } else if (hover) {
    GradientFillGlass(dc, L + 1, T + 1, W - 2, B - T - 2, m_HoverTabColor1, m_HoverTabColor2, -1);
    drawOutline(dc, m_TabBorderColorHover, L, T, L + W, B);
    text = m_ForeColorHover;
  } else {
    drawOutline(dc, m_FrameBorderColor, L, T, L + W, B);
    GradientFillGlass(dc, L + 1, T + 1, W - 2, B - T - 2, m_BackGradient1, m_BackGradient2, -1);
  }
  if (!t.enabled) text = kDisabledCaption;
  DrawTabContent(r, t, text);
}

void ZorvaXPHookTab::RedrawMe() {
  const HDC dc = UserControl.hDC();
  const int32_t w = UserControl.ScaleWidth(), h = UserControl.ScaleHeight();
  if (!dc || w <= 0 || h <= 0) return;
  Layout();
  if (TabsCount() == 0) {
    fillSolid(dc, m_BackColorParent, RECT{0, 0, w, h});
    rects_.clear();
  } else {
    if (m_HoverTab == m_SelectedTab) m_HoverTab = 0;
    DrawBody();
    const TabRect* selected = nullptr;
    for (const TabRect& r : rects_) {
      if (r.Index == m_SelectedTab)
        selected = &r;
      else
        DrawTab(r, false);
    }
    if (selected) DrawTab(*selected, false);
  }
  // Keep a copy for the hover economy, then put the hovered tab on top.
  if (copyPrev_) SelectObject(copyDC_.get(), copyPrev_);
  copyPrev_ = 0;
  copyBitmap_.reset();
  copyDC_ = MemoryDC(dc);
  copyBitmap_.reset(CreateCompatibleBitmap(dc, w, h));
  if (copyDC_ && copyBitmap_) {
    copyPrev_ = SelectObject(copyDC_.get(), copyBitmap_.get());
    BitBlt(copyDC_.get(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
  }
  ++fullPaints_;
  for (const TabRect& r : rects_)
    if (r.Index == m_HoverTab) DrawTab(r, true);
  Paint.raise();
}

void ZorvaXPHookTab::RedrawHoverOnly() {
  const HDC dc = UserControl.hDC();
  if (!dc || !copyDC_ || !copyPrev_) {
    RedrawMe();
    return;
  }
  const int32_t w = UserControl.ScaleWidth(), h = UserControl.ScaleHeight();
  const RECT body = bodyRect();
  const bool bottom = m_TabOrientation == HTabOrientation::Tab_OrientationBottom;
  const RECT band = bottom ? RECT{0, body.bottom - 1, w, h} : RECT{0, 0, w, body.top + 1};
  BitBlt(dc, band.left, band.top, band.right - band.left, band.bottom - band.top, copyDC_.get(), band.left, band.top,
         SRCCOPY);
  ++hoverPaints_;
  for (const TabRect& r : rects_)
    if (r.Index == m_HoverTab) DrawTab(r, true);
}

// ---- Member table -------------------------------------------------------------------------------

const host::MemberTable& ZorvaXPHookTab::memberTable() const {
  using T = ZorvaXPHookTab;
  static const host::MemberTable table =
      host::ClassMembers<T>("ZorvaXPHookTab")
          .readOnlyProperty("TabsCount", &T::TabsCount)
          .property("SelectedTab", &T::SelectedTab, &T::setSelectedTab)
          .property("TabOrientation", &T::TabOrientation, &T::setTabOrientation)
          .property("TabStyle", &T::TabStyle, &T::setTabStyle)
          .property("TabsPerRow", &T::TabsPerRow, &T::setTabsPerRow)
          .property("TabHeight", &T::TabHeight, &T::setTabHeight)
          .property("BackGradient1", &T::BackGradient1, &T::setBackGradient1)
          .property("BackGradient2", &T::BackGradient2, &T::setBackGradient2)
          .property("BackColorParent", &T::BackColorParent, &T::setBackColorParent)
          .property("ForeColor", &T::ForeColor, &T::setForeColor)
          .property("ForeColorHover", &T::ForeColorHover, &T::setForeColorHover)
          .property("ForeColorSelected", &T::ForeColorSelected, &T::setForeColorSelected)
          .property("FrameBorderColor", &T::FrameBorderColor, &T::setFrameBorderColor)
          .property("TabBorderColorHover", &T::TabBorderColorHover, &T::setTabBorderColorHover)
          .property("TabPictureAlignment", &T::TabPictureAlignment, &T::setTabPictureAlignment)
          .property("HoverTabColor1", &T::HoverTabColor1, &T::setHoverTabColor1)
          .property("HoverTabColor2", &T::HoverTabColor2, &T::setHoverTabColor2)
          .property("SelectedTabBKColor", &T::SelectedTabBKColor, &T::setSelectedTabBKColor)
          .property("Enabled", &T::Enabled, &T::setEnabled)
          .property("Font", &T::Font, &T::setFont)
          .property("MousePointer", &T::MousePointer, &T::setMousePointer)
          .property("MouseIcon", &T::MouseIcon, &T::setMouseIcon)
          .readOnlyProperty("hwnd", &T::hwnd)
          .readOnlyProperty("ContainerHwnd", &T::ContainerHwnd)
          .readOnlyProperty("hdc", &T::hdc)
          .property("ScaleLeft", &T::ScaleLeft, &T::setScaleLeft)
          .property("ScaleTop", &T::ScaleTop, &T::setScaleTop)
          .property("ScaleWidth", &T::ScaleWidth, &T::setScaleWidth)
          .property("ScaleHeight", &T::ScaleHeight, &T::setScaleHeight)
          .indexedProperty("AutoTabWidth", &T::AutoTabWidth, &T::setAutoTabWidth).params({"Index"})
          .indexedProperty("TabCaption", &T::TabCaption, &T::setTabCaption).params({"Index"})
          .indexedProperty("TabEnabled", &T::TabEnabled, &T::setTabEnabled).params({"Index"})
          .indexedProperty("TabIcon", &T::TabIcon, &T::setTabIcon).params({"Index"})
          .indexedProperty("TabVisible", &T::TabVisible, &T::setTabVisible).params({"Index"})
          .indexedProperty("TabWidth", &T::TabWidth, &T::setTabWidth).params({"Index"})
          .indexedProperty("TabGradient1", &T::TabGradient1, &T::setTabGradient1).params({"Index"})
          .indexedProperty("TabGradient2", &T::TabGradient2, &T::setTabGradient2).params({"Index"})
          .indexedProperty("TabPicture", &T::TabPicture, &T::setTabPicture).params({"Index"})
          .indexedProperty("TransparencyLevel", &T::TransparencyLevel, &T::setTransparencyLevel).params({"Index"})
          .method("AddTab", &T::AddTabByName, 9).params({"lpStrCaption", "blnAutoTabWidth", "blnTabEnabled", "stdTabIcon", "blnTabVisible", "lngTabWidth", "Ole_TabGradient1", "Ole_TabGradient2", "stdTabPicture", "lngTransparencyLevel"})
          .method("ModifyTab", &T::ModifyTabByName, 9).params({"Index", "lpStrCaption", "blnAutoTabWidth", "blnTabEnabled", "stdTabIcon", "blnTabVisible", "lngTabWidth", "Ole_TabGradient1", "Ole_TabGradient2", "stdTabPicture", "lngTransparencyLevel"})
          .method("RemoveTab", &T::RemoveTab).params({"Index"})
          .method("RedrawMe", &T::RedrawMe)
          .method("Refresh", &T::Refresh)
          .method("OLEDrag", &T::OLEDrag)
          .method("GetTextWidth", &T::GetTextWidth).params({"lpStrText"})
          .method("GetTextHeight", &T::GetTextHeight).params({"lpStrText"})
          .about(&T::About)
          .event("BeforeTabSwitch", &T::BeforeTabSwitch, {"iNewSelectTab"})
          .event("AfterTabSwitch", &T::AfterTabSwitch, {"iLastSelectTab"})
          .event("TabAccessKeyPressed", &T::TabAccessKeyPressed, {"Ascii"})
          .event("Click", &T::Click)
          .event("DblClick", &T::DblClick)
          .event("Paint", &T::Paint)
          .event("KeyDown", &T::KeyDown, {"KeyCode", "Shift"})
          .event("KeyPress", &T::KeyPress, {"KeyAscii"})
          .event("KeyUp", &T::KeyUp, {"KeyCode", "Shift"})
          .event("MouseOut", &T::MouseOut)
          .event("MouseDown", &T::MouseDown, {"Button", "Shift", "X", "Y"})
          .event("MouseMove", &T::MouseMove, {"Button", "Shift", "X", "Y"})
          .event("MouseUp", &T::MouseUp, {"Button", "Shift", "X", "Y"})
          .event("OLECompleteDrag", &T::OLECompleteDrag, {"Effect"})
          .event("OLEDragDrop", &T::OLEDragDrop, {"Data", "Effect", "Button", "Shift", "X", "Y"})
          .event("OLEDragOver", &T::OLEDragOver, {"Data", "Effect", "Button", "Shift", "X", "Y", "State"})
          .event("OLEGiveFeedback", &T::OLEGiveFeedback, {"Effect", "DefaultCursors"})
          .event("OLESetData", &T::OLESetData, {"Data", "DataFormat"})
          .event("OLEStartDrag", &T::OLEStartDrag, {"Data", "AllowedEffects"})
          .stockEvent("ClickOnTab", &T::ClickOnTab, host::DISPID_CLICK, {"iLastTab"})
          .build();
  return table;
}

// ---- Enumerations as type information shows them ----

const host::EnumType& describeEnum(HTabOrientation) {
  static const host::EnumType t{"HTabOrientation", {{"Tab-OrientationTop", 0}, {"Tab-OrientationBottom", 1}}};
  return t;
}

const host::EnumType& describeEnum(HTabStyle) {
  static const host::EnumType t{"HTabStyle", {{"Tab-StylePropertyPage", 0}, {"Tab-StyleTabbedDialog", 1}}};
  return t;
}

const host::EnumType& describeEnum(HTabPicAlignment) {
  static const host::EnumType t{"HTabPicAlignment", {{"Tab-Pic-Left", 0}, {"Tab-Pic-Right", 1}}};
  return t;
}

}  // namespace zxp::bars
