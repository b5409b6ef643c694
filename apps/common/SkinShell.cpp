#include "SkinShell.h"

#include "PaintHelpers.h"
#include "buttons/ZorvaXPButton.h"
#include "formskin/ZorvaForm.h"
#include "library/ClassTable.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Screen.h"

namespace zxp::appkit {

namespace {

constexpr const char* kThemeNames[SkinShell::kThemeCount] = {
    "Quorin", "Vista", "Modern XP", "Green", "Pink", "Red", "Yellow", "Gray", "Black and White", "Orange", "Purple",
    "Brown", "Luminance", "Green and Luminance", "Black and Luminance", "Blue and Luminance", "Pink and Yellow"};

}  // namespace

SkinShell::SkinShell(std::string formName, std::string caption) {
  Size screen = ui::screenSize();
  const Rect at{kScreenMargin.left, kScreenMargin.top, screen.cx - kScreenMargin.right,
                screen.cy - kScreenMargin.bottom};
  host::FormOptions o;
  o.name = std::move(formName);
  o.caption = std::move(caption);
  o.clientWidth = pixelsToTwips(at.width());
  o.clientHeight = pixelsToTwips(at.height());
  o.borderStyle = 0;
  o.screenPos = Point{at.left, at.top};
  o.classes = &library::classes();
  form_ = std::make_unique<host::Form>(o);
  form_->setFont(std::make_shared<const gfx::FontDesc>(face("Tahoma", 8.25)));

  host::ExtenderRecord skin;
  skin.width = o.clientWidth;
  skin.height = pixelsToTwips(30);
  skin.align = host::Align::vbAlignTop;
  skin.tabStop = false;
  form_->add(library::classes(), "ZorvaForm", "Skin", skin);
  formskin::ZorvaForm* s = this->skin();
  s->setShadow4Text(true);
  s->CloseButtonClick.connect([this] {
    if (onClosing) onClosing();
  });

  host::ExtenderRecord button;
  button.width = pixelsToTwips(kThemeButtonWidth - 8);
  button.height = pixelsToTwips(kThemeButtonHeight);
  button.tabStop = false;
  auto& theme = form_->add(library::classes(), "ZorvaXPButton", "cmdTheme", button);
  theme.as<buttons::ZorvaXPButton>().Click.connect([this] { chooseTheme(); });
  form_->Unloaded.connect([this] {
    if (onClosed) onClosed();
  });
  applySkinColours();
}

SkinShell::~SkinShell() { form_.reset(); }

formskin::ZorvaForm* SkinShell::skin() const {
  return form_ ? form_->controlAs<formskin::ZorvaForm>("Skin") : nullptr;
}

int SkinShell::top() const {
  formskin::ZorvaForm* s = skin();
  if (!s || !alive()) return 0;
  RECT r{};
  GetWindowRect(s->hWnd(), &r);
  return r.bottom - r.top;
}

void SkinShell::placeThemeButton(int x, int y) {
  if (!alive()) return;
  if (host::Extender* b = form_->control("cmdTheme")) b->Move(pixelsToTwips(x), pixelsToTwips(y), b->Width(), b->Height());
}

const char* SkinShell::themeName(int theme) {
  return theme >= 1 && theme <= kThemeCount ? kThemeNames[theme - 1] : "";
}

int SkinShell::theme() const {
  formskin::ZorvaForm* s = skin();
  return s ? static_cast<int>(s->Themes()) : 0;
}

void SkinShell::setTheme(int theme) {
  if (!alive()) return;
  try {
    form_->let("Skin", "Themes", host::Variant(static_cast<int32_t>(theme)));
  } catch (const std::exception& e) {
    if (onMessage) onMessage(std::string("The theme could not be set: ") + e.what());
    return;
  }
  applySkinColours();
  if (onMessage) onMessage(std::string("Theme ") + std::to_string(theme) + ": " + themeName(theme));
}

void SkinShell::applySkinColours() {
  formskin::ZorvaForm* s = skin();
  if (!s) return;
  accentTop_ = static_cast<COLORREF>(s->GradientColor1()) & 0xFFFFFF;
  accentBottom_ = static_cast<COLORREF>(s->GradientColor2()) & 0xFFFFFF;
  if (host::Extender* b = form_->control("cmdTheme"))
    host::letProperty(b->object(), "Caption", host::Variant(std::string("Theme: ") + themeName(theme())));
  if (onAccentChanged) onAccentChanged();
}

void SkinShell::chooseTheme() {
  if (!alive()) return;
  HMENU menu = CreatePopupMenu();
  for (int t = 1; t <= kThemeCount; ++t)
    AppendMenuA(menu, MF_STRING | (t == theme() ? MF_CHECKED : MF_UNCHECKED), static_cast<UINT_PTR>(t), themeName(t));
  RECT r{};
  if (host::Extender* b = form_->control("cmdTheme")) GetWindowRect(b->object().hWnd(), &r);
  const int chosen =
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, r.left, r.bottom, 0, form_->hWnd(), nullptr);
  DestroyMenu(menu);
  if (chosen >= 1 && chosen <= kThemeCount) setTheme(chosen);
}

}  // namespace zxp::appkit
