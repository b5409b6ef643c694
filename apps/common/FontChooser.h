// A font chooser made of the library's own controls, for the apps' font properties: a form with
// the faces in a list (ZorvaXPListBox) beside a face field (the platform's edit field: any face
// may be typed), a size field in points, Bold, Italic, Underline and Strikethrough check boxes,
// a sample label drawn in the font as chosen so far, a line that says why a choice is refused,
// and OK and Cancel buttons. It is not modal: onDone says when it is over.
//
// Our choices: the list offers the faces forms of this look are drawn in (the classic desktop
// faces), plus the face the chooser opened with; a face is 1 to 31 characters and a size above 0
// and at most 2 048 points, the limits a form file holds.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gfx/Font.h"
#include "platform/host/Form.h"

namespace zxp::list {
class ZorvaXPListBox;
}

namespace zxp::appkit {

class FontChooser {
 public:
  static constexpr Size kSize{360, 300};  // the form's client size in pixels

  FontChooser(const std::string& title, const gfx::FontDesc& start, Point screenPos = {120, 120});
  ~FontChooser();
  FontChooser(const FontChooser&) = delete;
  FontChooser& operator=(const FontChooser&) = delete;

  host::Form& form() const { return *form_; }
  const std::vector<std::string>& faces() const { return faces_; }
  // Picks the list's face `index` (into faces()), as a click on it does.
  void pickFace(size_t index);
  // The fields and boxes as they stand.
  void setFace(const std::string& face);
  void setSize(const std::string& points);
  void setStyle(const char* box, bool on);  // "chkBold", "chkItalic", "chkUnderline", "chkStrikethrough"
  // The font the fields describe; nullopt, with the reason on the status line, when they describe
  // none a form file can hold.
  std::optional<gfx::FontDesc> current();
  // OK: the font the fields describe; false (and the reason shown) when there is none.
  bool accept();
  void cancel();
  bool done() const { return done_; }
  // The font chosen; nullopt when cancelled or not done.
  const std::optional<gfx::FontDesc>& result() const { return result_; }
  std::string status() const;
  // The sample label's font, for looking at what it shows.
  host::FontRef sampleFont() const;
  // Called once, when a font is chosen or the chooser is cancelled (or closed by its box).
  std::function<void()> onDone;

 private:
  void say(const std::string& text);
  void updateSample();
  void finish(std::optional<gfx::FontDesc> chosen);

  std::unique_ptr<host::Form> form_;
  list::ZorvaXPListBox* list_ = nullptr;
  HWND face_ = 0;
  HWND size_ = 0;
  std::vector<std::string> faces_;
  bool done_ = false;
  bool filling_ = false;  // the fields are being set from code: no sample update per field
  std::optional<gfx::FontDesc> result_;
};

}  // namespace zxp::appkit
