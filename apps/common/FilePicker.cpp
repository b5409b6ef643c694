#include "FilePicker.h"

#include "DialogForm.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "library/ClassTable.h"
#include "list/ZorvaXPListBox.h"
#include "platform/host/NoCase.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Messages.h"

namespace zxp::appkit {

namespace {

constexpr int kMargin = 8;
constexpr int kRow = 24;
constexpr const char* kParent = "[..]";

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool isFolderEntry(const std::string& e) { return e.size() >= 2 && e.front() == '[' && e.back() == ']'; }

}  // namespace

FilePicker::FilePicker(const std::string& title, std::vector<std::string> extensions,
                       const std::filesystem::path& folder, bool forSaving, Point screenPos)
    : extensions_(std::move(extensions)), saving_(forSaving) {
  form_ = makeDialogForm("frmFilePicker", title, kSize, screenPos);
  const int w = kSize.cx - 2 * kMargin;

  host::ExtenderRecord at = host::ExtenderRecord::inPixels(kMargin, kMargin, w, kRow - 4);
  at.tabStop = false;
  form_->add(library::classes(), "ZorvaXPLabel", "lblFolder", at);

  const int listTop = kMargin + kRow;
  const int listHeight = kSize.cy - listTop - 2 * kRow - 2 * kMargin;
  auto& list = form_->add(library::classes(), "ZorvaXPListBox", "lstFiles",
                          host::ExtenderRecord::inPixels(kMargin, listTop, w, listHeight));
  list_ = &list.as<list::ZorvaXPListBox>();
  list_->DblClick.connect([this] {
    const int32_t i = list_->ListIndex();
    if (i >= 0) activate(static_cast<size_t>(i));
  });
  list_->ListIndexChange.connect([this](int32_t& now, int32_t&) {
    // A file selected in the list is the name OK takes.
    if (now >= 0 && static_cast<size_t>(now) < entries_.size() && !isFolderEntry(entries_[static_cast<size_t>(now)]))
      setName(entries_[static_cast<size_t>(now)]);
  });

  const int nameTop = listTop + listHeight + kMargin;
  name_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, kMargin, nameTop, w,
                          kRow - 2, form_->hWnd(), 0, 0, nullptr);
  const int buttonsTop = nameTop + kRow + 2;
  addOkCancel(*form_, buttonsTop, kMargin, forSaving ? "Save" : "Open", [this] { accept(); }, [this] { cancel(); });
  form_->Unloaded.connect([this] {
    if (!done_) finish(std::nullopt);  // closed by its box
  });
  std::error_code ec;
  openFolder(folder.empty() ? std::filesystem::current_path(ec) : folder);
}

FilePicker::~FilePicker() {
  onDone = nullptr;
  if (name_ && IsWindow(name_)) DestroyWindow(name_);
  form_.reset();
}

void FilePicker::say(const std::string& text) {
  if (form_->unloaded()) return;
  if (host::Extender* l = form_->control("lblFolder")) host::letProperty(l->object(), "Caption", host::Variant(text));
}

std::string FilePicker::status() const {
  host::Extender* l = form_->unloaded() ? nullptr : form_->control("lblFolder");
  return l ? host::getProperty(l->object(), "Caption").toString() : std::string();
}

bool FilePicker::wanted(const std::filesystem::path& file) const {
  if (extensions_.empty()) return true;
  const std::string ext = lower(file.extension().string());
  return std::find(extensions_.begin(), extensions_.end(), ext) != extensions_.end();
}

void FilePicker::openFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(folder, ec).lexically_normal();
  if (ec) full = folder;
  if (full.has_filename() == false && full != full.root_path()) full = full.parent_path();
  std::vector<std::string> folders, files;
  std::filesystem::directory_iterator it(full, std::filesystem::directory_options::skip_permission_denied, ec);
  if (ec) {
    say("Cannot open " + full.string() + ": " + ec.message());
    return;
  }
  for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    const std::string n = it->path().filename().string();
    std::error_code e2;
    if (it->is_directory(e2)) folders.push_back("[" + n + "]");
    else if (it->is_regular_file(e2) && wanted(it->path())) files.push_back(n);
  }
  auto byName = [](const std::string& a, const std::string& b) { return lower(a) < lower(b); };
  std::sort(folders.begin(), folders.end(), byName);
  std::sort(files.begin(), files.end(), byName);
  folder_ = full;
  entries_.clear();
  if (full != full.root_path()) entries_.push_back(kParent);
  entries_.insert(entries_.end(), folders.begin(), folders.end());
  entries_.insert(entries_.end(), files.begin(), files.end());
  list_->ClearAll();
  for (const std::string& e : entries_) list_->AddItem(e);
  say(folder_.string());
}

void FilePicker::activate(size_t entry) {
  if (done_ || entry >= entries_.size()) return;
  const std::string e = entries_[entry];
  if (e == kParent) openFolder(folder_.parent_path());
  else if (isFolderEntry(e)) openFolder(folder_ / e.substr(1, e.size() - 2));
  else {
    setName(e);
    accept();
  }
}

void FilePicker::setName(const std::string& name) {
  if (name_ && IsWindow(name_)) SetWindowTextA(name_, name.c_str());
}

std::string FilePicker::name() const { return editText(name_); }

bool FilePicker::accept() {
  if (done_) return false;
  const std::string typed = name();
  if (typed.empty()) {
    say("Choose a file or type its name");
    return false;
  }
  const std::filesystem::path p = std::filesystem::path(typed).is_absolute() ? std::filesystem::path(typed) : folder_ / typed;
  std::error_code ec;
  if (std::filesystem::is_directory(p, ec)) {
    openFolder(p);
    setName("");
    return false;
  }
  if (!saving_ && !std::filesystem::is_regular_file(p, ec)) {
    say("No such file: " + p.string());
    return false;
  }
  if (saving_ && !std::filesystem::is_directory(p.parent_path(), ec)) {
    say("No such folder: " + p.parent_path().string());
    return false;
  }
  finish(p.lexically_normal());
  return true;
}

void FilePicker::cancel() {
  if (!done_) finish(std::nullopt);
}

void FilePicker::finish(std::optional<std::filesystem::path> chosen) {
  done_ = true;
  result_ = std::move(chosen);
  if (form_ && !form_->unloaded()) ShowWindow(form_->hWnd(), SW_HIDE);  // its owner frees it
  if (onDone) onDone();
}

}  // namespace zxp::appkit
