// The form skin's window behaviour: properties, persistence, start-up and shut-down on the host
// form, the mouse over the caption buttons, the intercepted messages of the form, the strip and
// the menus, and the member table. The theme tables live in ZorvaFormThemes.cpp, the drawing in
// ZorvaFormPaint.cpp.
#include "formskin/ZorvaForm.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/base/HostError.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/Text.h"
#include "platform/host/Form.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/services/MessageBox.h"
#include "platform/services/Shell.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Screen.h"
#include "platform/ui/User.h"

namespace zxp::formskin {

using foundation::Redraw;

namespace {

constexpr const char* kCheckTitle = "Hai Developer ! , Make your attention about below.";

}  // namespace

ZorvaForm::ZorvaForm() : tmrToolTip("tmrToolTip", kToolTipInterval) {
  for (size_t i = 0; i < kColourCount; ++i) colours_[i] = defaultColour(static_cast<Colour>(i));
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
    for (size_t i = 0; i < kColourCount; ++i)
      if (themed(static_cast<Colour>(i))) colours_[i] = themeColour(t, static_cast<Colour>(i));
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
// Every property persists under its own name, in the member table's order. The
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
  for (size_t i = 0; i < kColourCount; ++i) colours_[i] = defaultColour(static_cast<Colour>(i));
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
  paintToolTip(dc, w, h, text);
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
      .params({"bBefore", "bHandled", "lReturn", "lng_hWnd", "uMsg", "wParam", "lParam"})
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
