// The skinned main form the gallery and the designer run in: one borderless host form over the
// screen (a few pixels in, so that its frame pieces and shadow show), skinned by a ZorvaForm
// ("Skin", aligned to the top: the painted title strip, caption buttons acting on the real window,
// frame pieces and shadow) and holding the theme button ("cmdTheme"), which offers the skin's
// seventeen themes in a menu. The app places its own panes in the form's client area below
// top() and is told when a theme changes its accent colours.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/host/Form.h"

namespace zxp::formskin {
class ZorvaForm;
}

namespace zxp::appkit {

class SkinShell {
 public:
  static constexpr int kThemeCount = 17;
  static constexpr int kThemeButtonWidth = 170;
  static constexpr int kThemeButtonHeight = 24;
  // Around the form on the screen: room for its frame pieces and shadow.
  static constexpr Rect kScreenMargin{6, 4, 6, 10};

  // Builds the form over the screen, named `formName` and captioned `caption`.
  SkinShell(std::string formName, std::string caption);
  ~SkinShell();
  SkinShell(const SkinShell&) = delete;
  SkinShell& operator=(const SkinShell&) = delete;

  host::Form* form() const { return form_.get(); }
  formskin::ZorvaForm* skin() const;
  // Whether the form is still there (its close button, Alt+F4 unload it).
  bool alive() const { return form_ && !form_->unloaded(); }
  // The title strip's height: the app's panes go below it.
  int top() const;
  // Puts the theme button at (x, y) of the form's client area, in pixels.
  void placeThemeButton(int x, int y);

  int theme() const;
  // Applies a theme (1..17) to the skin through its member table and recolours the accents;
  // says what it did (or why not) through onMessage.
  void setTheme(int theme);
  static const char* themeName(int theme);  // "" outside 1..17
  // Opens the theme menu under the theme button (modal; what is chosen is applied).
  void chooseTheme();
  // The skin's title colours, which the app's own headers take.
  COLORREF accentTop() const { return accentTop_; }
  COLORREF accentBottom() const { return accentBottom_; }

  std::function<void()> onAccentChanged;                   // after a theme recoloured the accents
  std::function<void(const std::string&)> onMessage;       // "Theme 3: Modern XP", errors
  std::function<void()> onClosing;                         // the skin's close button, before unloading
  std::function<void()> onClosed;                          // the form unloaded

 private:
  void applySkinColours();

  std::unique_ptr<host::Form> form_;
  COLORREF accentTop_ = RGB(207, 197, 176);
  COLORREF accentBottom_ = RGB(233, 146, 39);
};

}  // namespace zxp::appkit
