#include "FontChooser.h"

#include "DialogForm.h"

#include <algorithm>
#include <cstdlib>

#include "buttons/ZorvaXPCheckBox.h"
#include "library/ClassTable.h"
#include "list/ZorvaXPListBox.h"
#include "platform/host/FontLimits.h"
#include "platform/host/NoCase.h"
#include "platform/ui/Edit.h"
#include "text/ZorvaXPLabel.h"

namespace zxp::appkit {

namespace {

constexpr int kMargin = 8;
constexpr int kRow = 24;
constexpr const char* kStyleBoxes[] = {"chkBold", "chkItalic", "chkUnderline", "chkStrikethrough"};
constexpr const char* kStyleCaptions[] = {"Bold", "Italic", "Underline", "Strikethrough"};
constexpr const char* kFaces[] = {"Arial",          "Courier New",     "Lucida Console", "Microsoft Sans Serif",
                                  "MS Sans Serif",  "Segoe UI",        "Tahoma",         "Times New Roman",
                                  "Trebuchet MS",   "Verdana"};

}  // namespace

FontChooser::FontChooser(const std::string& title, const gfx::FontDesc& start, Point screenPos) {
  faces_.assign(std::begin(kFaces), std::end(kFaces));
  if (!start.name.empty() && std::none_of(faces_.begin(), faces_.end(), [&](const std::string& f) { return host::equalsNoCase(f, start.name); })) {
    faces_.push_back(start.name);
    std::sort(faces_.begin(), faces_.end(), [](const std::string& a, const std::string& b) { return host::lowerKey(a) < host::lowerKey(b); });
  }

  form_ = makeDialogForm("frmFontChooser", title, kSize, screenPos);
  const auto& classes = library::classes();
  const int left = kMargin, listWidth = 180, right = left + listWidth + kMargin, rightWidth = kSize.cx - right - kMargin;

  // The face: a field, and the list below it.
  face_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, left, kMargin, listWidth,
                          kRow - 2, form_->hWnd(), 0, 0, nullptr);
  const int listTop = kMargin + kRow;
  const int listHeight = kSize.cy - listTop - 3 * kRow - 2 * kMargin;
  auto& list = form_->add(classes, "ZorvaXPListBox", "lstFaces", host::ExtenderRecord::inPixels(left, listTop, listWidth, listHeight));
  list_ = &list.as<list::ZorvaXPListBox>();
  for (const std::string& f : faces_) list_->AddItem(f);
  list_->ListIndexChange.connect([this](int32_t& now, int32_t&) {
    if (now >= 0 && static_cast<size_t>(now) < faces_.size()) setFace(faces_[static_cast<size_t>(now)]);
  });

  // The size and the styles at the right.
  size_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, right, kMargin, 60, kRow - 2,
                          form_->hWnd(), 0, 0, nullptr);
  auto points = host::ExtenderRecord::inPixels(right + 66, kMargin + 2, rightWidth - 66, kRow - 4);
  points.tabStop = false;
  host::letProperty(form_->add(classes, "ZorvaXPLabel", "lblPoints", points).object(), "Caption", host::Variant("points"));
  for (size_t i = 0; i < std::size(kStyleBoxes); ++i) {
    auto& box = form_->add(classes, "ZorvaXPCheckBox", kStyleBoxes[i],
                           host::ExtenderRecord::inPixels(right, listTop + static_cast<int>(i) * kRow, rightWidth, kRow - 2));
    auto& check = box.as<buttons::ZorvaXPCheckBox>();
    check.setCaption(kStyleCaptions[i]);
    check.Click.connect([this] { updateSample(); });
  }
  EditHooks hooks;
  hooks.notify = [this](WORD code) {
    if (code == EN_CHANGE && !filling_) updateSample();
  };
  SetEditHooks(face_, hooks);
  SetEditHooks(size_, hooks);

  // The sample, the status line and the buttons along the bottom.
  const int sampleTop = listTop + listHeight + kMargin;
  auto sample = host::ExtenderRecord::inPixels(left, sampleTop, kSize.cx - 2 * kMargin, kRow + 6);
  sample.tabStop = false;
  host::letProperty(form_->add(classes, "ZorvaXPLabel", "lblSample", sample).object(), "Caption", host::Variant("AaBbYyZz 123"));
  const int buttonsTop = kSize.cy - kMargin - kRow;
  auto status = host::ExtenderRecord::inPixels(left, buttonsTop + 2, kSize.cx - 2 * kMargin - 2 * 86, kRow - 4);
  status.tabStop = false;
  form_->add(classes, "ZorvaXPLabel", "lblStatus", status);
  addOkCancel(*form_, buttonsTop, kMargin, "OK", [this] { accept(); }, [this] { cancel(); });
  form_->Unloaded.connect([this] {
    if (!done_) finish(std::nullopt);  // closed by its box
  });

  // The fields from the starting font.
  filling_ = true;
  setFace(start.name);
  char size[32];
  std::snprintf(size, sizeof size, "%g", start.size);
  setSize(size);
  const bool styles[] = {start.bold(), start.italic, start.underline, start.strikethrough};
  for (size_t i = 0; i < std::size(kStyleBoxes); ++i) setStyle(kStyleBoxes[i], styles[i]);
  filling_ = false;
  say("");
  updateSample();
}

FontChooser::~FontChooser() {
  onDone = nullptr;
  for (HWND h : {face_, size_})
    if (h && IsWindow(h)) {
      SetEditHooks(h, EditHooks{});
      DestroyWindow(h);
    }
  form_.reset();
}

void FontChooser::pickFace(size_t index) {
  if (index >= faces_.size()) return;
  list_->setListIndex(static_cast<int32_t>(index));
  setFace(faces_[index]);  // a change of ListIndex from code raises no ListIndexChange
}

void FontChooser::setFace(const std::string& face) {
  if (face_ && IsWindow(face_) && editText(face_) != face) SetWindowTextA(face_, face.c_str());
}

void FontChooser::setSize(const std::string& points) {
  if (size_ && IsWindow(size_)) SetWindowTextA(size_, points.c_str());
}

void FontChooser::setStyle(const char* box, bool on) {
  host::Extender* e = form_->unloaded() ? nullptr : form_->control(box);
  if (!e) return;
  e->as<buttons::ZorvaXPCheckBox>().setValue(on ? buttons::CValueConst::Checked : buttons::CValueConst::Unchecked);
  if (!filling_) updateSample();
}

std::optional<gfx::FontDesc> FontChooser::current() {
  gfx::FontDesc f;
  f.name = editText(face_);
  if (!host::fontNameFits(f.name)) {
    say("A face is 1 to 31 characters");
    return std::nullopt;
  }
  const std::string size = editText(size_);
  char* end = nullptr;
  const double points = std::strtod(size.c_str(), &end);
  if (size.empty() || !end || *end || !host::fontSizeFits(points)) {
    say("A size is a number of points above 0, at most 2048");
    return std::nullopt;
  }
  f.size = points;
  auto on = [&](const char* box) {
    host::Extender* e = form_->control(box);
    return e && e->as<buttons::ZorvaXPCheckBox>().Value() == buttons::CValueConst::Checked;
  };
  f.setBold(on("chkBold"));
  f.italic = on("chkItalic");
  f.underline = on("chkUnderline");
  f.strikethrough = on("chkStrikethrough");
  say("");
  return f;
}

void FontChooser::updateSample() {
  if (done_ || form_->unloaded()) return;
  const std::optional<gfx::FontDesc> f = current();
  if (!f) return;  // the sample keeps the last font that could be shown
  if (host::Extender* s = form_->control("lblSample"))
    s->as<text::ZorvaXPLabel>().setLabelFont(std::make_shared<const gfx::FontDesc>(*f));
}

host::FontRef FontChooser::sampleFont() const {
  host::Extender* s = form_->unloaded() ? nullptr : form_->control("lblSample");
  return s ? host::getProperty(s->object(), "Font").toFont() : host::FontRef();
}

void FontChooser::say(const std::string& text) {
  if (form_->unloaded()) return;
  if (host::Extender* l = form_->control("lblStatus")) host::letProperty(l->object(), "Caption", host::Variant(text));
}

std::string FontChooser::status() const {
  host::Extender* l = form_->unloaded() ? nullptr : form_->control("lblStatus");
  return l ? host::getProperty(l->object(), "Caption").toString() : std::string();
}

bool FontChooser::accept() {
  if (done_) return false;
  std::optional<gfx::FontDesc> f = current();
  if (!f) return false;
  finish(std::move(f));
  return true;
}

void FontChooser::cancel() {
  if (!done_) finish(std::nullopt);
}

void FontChooser::finish(std::optional<gfx::FontDesc> chosen) {
  done_ = true;
  result_ = std::move(chosen);
  if (form_ && !form_->unloaded()) ShowWindow(form_->hWnd(), SW_HIDE);  // its owner frees it
  if (onDone) onDone();
}

}  // namespace zxp::appkit
