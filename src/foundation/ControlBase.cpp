#include "foundation/ControlBase.h"

#include "foundation/AboutBox.h"
#include "foundation/modGeneral.h"
#include "foundation/modRegion.h"
#include "platform/base/CodePage.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/host/Form.h"
#include "platform/services/FileIo.h"
#include "platform/services/Library.h"
#include "platform/services/MessageBox.h"
#include "platform/services/Sound.h"
#include "platform/ui/User.h"

namespace zxp::foundation {

ControlBase::ControlBase(const char* hoverTimerName) : tmrHover(hoverTimerName, 1) {}

ControlBase::~ControlBase() {
  if (shell32_) FreeLibrary(shell32_);
}

// ---- The container contract ------------------------------------------------------------------

void ControlBase::attach(host::Extender& extender) { extender_ = &extender; }

void ControlBase::Initialize() {
  shell32_ = LoadLibraryA("Shell32.dll");
  if (!extender_) throw HostError(errObjectNotSet, "a control must be sited before it is initialised");
  if (!UserControl.create(extender_->containerWindow(), extender_->pixelRect()))
    throw HostError(errOutOfMemory, "the control's window cannot be created");
  connectSurface();
  UserControl_Initialize();
}

// The control hears its surface as the surface's listener (ControlBase.h) and its hover timer
// as the timer's owner, neither of which costs memory per event.
void ControlBase::connectSurface() {
  UserControl.setListener(this);
  tmrHover.setOwnerTick([](void* self) { static_cast<ControlBase*>(self)->tmrHover_Timer(); }, this);
}

// Tab and Shift+Tab never arrive: the form takes them for its tab order (host/Form.cpp).
void ControlBase::surfaceGotFocus() {
  focused_ = true;
  UserControl_GotFocus();
}

void ControlBase::surfaceLostFocus() {
  focused_ = false;
  pressed_ = false;
  UserControl_LostFocus();
}

void ControlBase::surfaceResize() {
  if (live_) UserControl_Resize();
}

namespace {
// Sets a flag for the length of a scope, exceptions included.
struct FlagScope {
  bool& flag;
  explicit FlagScope(bool& f) : flag(f) { flag = true; }
  ~FlagScope() { flag = false; }
};
}  // namespace

void ControlBase::InitProperties() {
  {
    FlagScope scope(settingUp_);
    UserControl_InitProperties();
  }
  finishSetUp();
}

void ControlBase::ReadProperties(host::PropertyBag& PropBag) {
  {
    FlagScope scope(settingUp_);
    UserControl_ReadProperties(PropBag);
  }
  finishSetUp();
}

void ControlBase::finishSetUp() {
  if (rare_) {
    for (const auto& e : rare_->constituents) {
      auto* c = dynamic_cast<ControlBase*>(&e->object());
      if (c && std::exchange(c->restingPending_, false)) c->redrawResting();
    }
  }
  // A control whose Resize handler redraws its resting look leaves the redraw to the host's
  // Resize, which always follows set-up.
  if (restingPending_ && !resizeRedrawsResting()) {
    restingPending_ = false;
    redrawResting();
  }
  setUpDone();
}

void ControlBase::restingChanged() {
  if (settingUp_ || (setUpBy_ && setUpBy_->settingUp_)) {
    restingPending_ = true;
  } else {
    redrawResting();
  }
}

void ControlBase::WriteProperties(host::PropertyBag& PropBag) { UserControl_WriteProperties(PropBag); }

void ControlBase::Resize() {
  live_ = true;
  UserControl_Resize();
  if (std::exchange(restingPending_, false) && !resizeRedrawsResting()) redrawResting();
}

void ControlBase::Terminate() {
  UserControl_Terminate();
  // Constituent children go first, newest first, while this control's window still exists.
  while (rare_ && !rare_->constituents.empty()) {
    rare_->constituents.back()->object().Terminate();
    rare_->constituents.pop_back();
  }
  tmrHover.setEnabled(false);
  live_ = false;
  if (shell32_) {
    FreeLibrary(shell32_);
    shell32_ = 0;
  }
  UserControl.destroy();
}

void ControlBase::AccessKeyPress(int16_t KeyAscii) { UserControl_AccessKeyPress(KeyAscii); }

void ControlBase::AmbientChanged(std::string_view PropertyName) { UserControl_AmbientChanged(PropertyName); }

// ---- Delegated properties ------------------------------------------------------------------------

void ControlBase::setEnabled(bool New_Enabled) {
  UserControl.setEnabled(New_Enabled);
  restingChanged();
  PropertyChanged("Enabled");
}

void ControlBase::setMousePointer(int16_t New_MousePointer) {
  UserControl.setMousePointer(New_MousePointer);
  PropertyChanged("MousePointer");
}

void ControlBase::setMouseIcon(host::PictureRef New_MouseIcon) {
  UserControl.setMouseIcon(std::move(New_MouseIcon));
  PropertyChanged("MouseIcon");
}

void ControlBase::setFont(host::FontRef New_Font) {
  UserControl.setFont(std::move(New_Font));
  restingChanged();
  PropertyChanged("Font");
}

void ControlBase::About() { AboutBox::Show(hWnd()); }

// ---- Helpers ---------------------------------------------------------------------------------------

void ControlBase::PropertyChanged(std::string_view name) {
  if (extender_ && !settingUp_) extender_->PropertyChanged(name);
}

host::AmbientProperties ControlBase::Ambient() const {
  return extender_ ? extender_->Ambient() : host::AmbientProperties{};
}

OLE_COLOR ControlBase::ParentBackColor() const {
  if (extender_ && extender_->Parent()) return extender_->Parent()->BackColor();
  return Ambient().BackColor;
}

bool ControlBase::fontStyle(FontStyle which) const {
  const host::FontRef f = UserControl.Font();
  if (!f) return false;
  switch (which) {
    case FontStyle::Bold: return f->bold();
    case FontStyle::Italic: return f->italic;
    case FontStyle::Underline: return f->underline;
    case FontStyle::Strikethru: return f->strikethrough;
  }
  return false;
}

void ControlBase::letFontStyle(FontStyle which, bool value, std::string_view name) {
  // Without a font (Font set to Nothing) there is no attribute to clear: making a default font
  // here would turn a saved "Font None" into a font when the form loads again.
  if (!UserControl.Font() && !value) {
    restingChanged();
    PropertyChanged(name);
    return;
  }
  auto f = std::make_shared<gfx::FontDesc>(UserControl.Font() ? *UserControl.Font() : gfx::FontDesc());
  switch (which) {
    case FontStyle::Bold: f->setBold(value); break;
    case FontStyle::Italic: f->italic = value; break;
    case FontStyle::Underline: f->underline = value; break;
    case FontStyle::Strikethru: f->strikethrough = value; break;
  }
  UserControl.setFont(std::move(f));
  restingChanged();
  PropertyChanged(name);
}

namespace {
// A sound file must be a regular file; asked without blocking, so a pipe or device never stalls.
bool canOpenForReading(const std::string& path) { return !path.empty() && services::isReadableRegularFile(path); }
}  // namespace

void ControlBase::letSoundPath(std::string& field, const std::string& New_Path, std::string_view name) {
  field = New_Path;
  if (!UserMode() && !New_Path.empty() && !canOpenForReading(New_Path)) {
    MsgBox("You have entered invalid file path. Please enter correct path name.", vbCritical, "Invalid File Path");
    field.clear();
  }
  PropertyChanged(name);
}

bool ControlBase::SoundFileExists(const std::string& path) { return canOpenForReading(path); }

bool ControlBase::PlaySoundFile(const std::string& path) {
  if (!canOpenForReading(path)) return false;
  return PlaySoundA(path.c_str(), 0, SND_ASYNC | SND_FILENAME | SND_NODEFAULT) != 0;
}

void ControlBase::PlayHoverSound(const std::string& path) {
  if (hoverMarked()) return;
  PlaySoundFile(path);
  UserControl.setTag(kHoverMark);
}

void ControlBase::setShapeWithoutColor(const RECT& area, COLORREF key, HRGN whole) {
  GdiObject wholeOwner(whole);
  HRGN shape = RegionWithoutColor(UserControl.hDC(), area, key);
  if (!shape) return;
  if (whole) CombineRgn(shape, shape, whole, RGN_OR);
  if (SetWindowRgn(hWnd(), shape, TRUE))
    shaped_ = true;
  else
    DeleteObject(shape);
}

void ControlBase::resetShape() {
  if (!shaped_) return;
  SetWindowRgn(hWnd(), 0, TRUE);
  shaped_ = false;
}

void ControlBase::trackHover() {
  if (!pressed_) redrawHover();
  tmrHover.setEnabled(true);
}

void ControlBase::tmrHover_Timer() {
  if (hoverStaysWhileFocused_ && focused_) return;
  if (!CursorOutsideWindow(hWnd())) return;
  ClearHoverMark();
  redrawResting();
  tmrHover.setEnabled(false);
}

std::optional<std::string> ControlBase::accessKeyOf(std::string_view caption) {
  size_t amp = caption.find('&');
  if (amp == std::string_view::npos || amp + 1 >= caption.size()) return std::nullopt;
  size_t length = 1;
  decodeUtf8(caption.substr(amp + 1), length);
  return std::string(caption.substr(amp + 1, length));
}

const std::string& ControlBase::AccessKeys() const {
  static const std::string none;
  return rare_ ? rare_->accessKeys : none;
}

void ControlBase::setAccessKeys(std::string keys) {
  if (!rare_ && keys.empty()) {
    if (extender_) extender_->setAccessKeys(std::string());
    return;
  }
  if (!rare_) rare_ = std::make_unique<Rare>();
  rare_->accessKeys = std::move(keys);
  if (extender_) extender_->setAccessKeys(rare_->accessKeys);
}

void ControlBase::setAccessKeyFromCaption(std::string_view caption) {
  auto key = accessKeyOf(caption);
  setAccessKeys(key ? *key : std::string());
}

host::ControlObject& ControlBase::siteConstituent(std::unique_ptr<host::ControlObject> child, const std::string& name,
                                                 const host::ExtenderRecord& values) {
  auto ext = std::make_unique<host::Extender>(std::move(child), name, values, nullptr, nullptr, UserControl.hWnd(),
                                              extender_);
  host::ControlObject& c = ext->object();
  if (!rare_) rare_ = std::make_unique<Rare>();
  rare_->constituents.push_back(std::move(ext));
  c.attach(*rare_->constituents.back());
  c.Initialize();
  c.InitProperties();
  c.Resize();
  if (values.visible) ShowWindow(c.hWnd(), SW_SHOWNA);
  return c;
}

void ControlBase::setWidthTwips(int32_t twips) {
  if (extender_) extender_->setWidth(twips);
}

void ControlBase::setHeightTwips(int32_t twips) {
  if (extender_) extender_->setHeight(twips);
}

}  // namespace zxp::foundation
