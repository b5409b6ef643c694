// A file picker made of the library's own controls, for the apps' form files and sounds: a form
// with the folder's path (a label), the folder's subfolders ("[name]", "[..]" first) and its files
// with the picker's extensions in a list (ZorvaXPListBox), a name field (the platform's edit
// field: a path may always be typed, relative to the folder or absolute) and OK and Cancel
// buttons. A double click on a folder opens it and on a file chooses it; OK takes the typed name,
// or the file selected in the list. Picking a file to open asks for one that exists; picking one
// to save to does not (the folder must exist). It is not modal: onDone says when it is over.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/Form.h"

namespace zxp::list {
class ZorvaXPListBox;
}

namespace zxp::appkit {

class FilePicker {
 public:
  static constexpr Size kSize{420, 360};  // the form's client size in pixels

  // `extensions` in lower case with their dot (".zxf"); empty lists every file.
  FilePicker(const std::string& title, std::vector<std::string> extensions, const std::filesystem::path& folder,
             bool forSaving, Point screenPos = {120, 120});
  ~FilePicker();
  FilePicker(const FilePicker&) = delete;
  FilePicker& operator=(const FilePicker&) = delete;

  host::Form& form() const { return *form_; }
  const std::filesystem::path& folder() const { return folder_; }
  // The list's entries as it shows them: "[..]" (unless at the root), "[folder]"s, then files.
  const std::vector<std::string>& entries() const { return entries_; }
  // Lists a folder (an unreadable one lists nothing and says why in the path label).
  void openFolder(const std::filesystem::path& folder);
  // What a double click on an entry does: a folder opens, a file is chosen.
  void activate(size_t entry);
  // The name field.
  void setName(const std::string& name);
  std::string name() const;
  // OK: the typed name (or the selected file); false, with the reason in the path label, when it
  // names no file that may be opened (or saved to).
  bool accept();
  void cancel();
  bool done() const { return done_; }
  // The file chosen; nullopt when cancelled or not done.
  const std::optional<std::filesystem::path>& result() const { return result_; }
  // The path label's text: the folder, or why a choice was refused.
  std::string status() const;
  // Called once, when a file is chosen or the picker is cancelled (or closed by its box).
  std::function<void()> onDone;

 private:
  void finish(std::optional<std::filesystem::path> chosen);
  void say(const std::string& text);
  bool wanted(const std::filesystem::path& file) const;

  std::unique_ptr<host::Form> form_;
  list::ZorvaXPListBox* list_ = nullptr;
  HWND name_ = 0;
  std::vector<std::string> extensions_;
  bool saving_ = false;
  std::filesystem::path folder_;
  std::vector<std::string> entries_;
  bool done_ = false;
  std::optional<std::filesystem::path> result_;
};

}  // namespace zxp::appkit
