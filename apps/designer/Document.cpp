#include "Document.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "bars/ZorvaXPHookTab.h"
#include "platform/base/HostError.h"
#include "platform/host/NoCase.h"
#include "platform/ui/User.h"

namespace zxp::designer {

namespace {

using host::Extender;

int32_t twipsToPixels(int32_t t) { return t / 15; }

bool isContainer(const Extender& e) { return e.hasMiscStatus(host::OLEMISC_SIMPLEFRAME); }

bool inside(const Extender* e, const Extender* ancestor) {
  for (const Extender* c = e ? e->Container() : nullptr; c; c = c->Container())
    if (c == ancestor) return true;
  return false;
}

// The control records of a form record, depth first, with the keys of the ones wanted.
void collect(const std::vector<host::ControlRecord>& records,
             const std::set<std::pair<std::string, int16_t>>& wanted, std::vector<host::ControlRecord>& out) {
  for (const host::ControlRecord& r : records) {
    const std::pair<std::string, int16_t> key{host::lowerKey(r.name), r.extender.index.value_or(-1)};
    if (wanted.count(key)) out.push_back(r);
    else collect(r.children, wanted, out);
  }
}

}  // namespace

Document::Document(const host::ClassRegistry& registry) : registry_(registry) { newForm(); }

Document::~Document() {
  selection_.clear();
  run_.reset();
  form_.reset();
}

// ---- The form and its file ----

void Document::adopt(std::unique_ptr<host::Form> f) {
  selection_.clear();
  gesture_ = false;
  run_.reset();
  form_ = std::move(f);
  current_ = form_->save();
  if (onRebuilt) onRebuilt();
}

void Document::newForm() {
  host::FormOptions o;
  o.name = "Form1";
  o.clientWidth = kNewFormWidth;
  o.clientHeight = kNewFormHeight;
  o.userMode = false;
  o.screenPos = screenPos_;
  o.classes = &registry_;
  adopt(std::make_unique<host::Form>(o));
  undo_.clear();
  redo_.clear();
  savedText_.clear();
  version_ = savedVersion_ = 0;
  changed();
}

void Document::open(std::string_view text) {
  // Loading throws before anything of the document changes.
  std::unique_ptr<host::Form> f = host::Form::load(text, registry_, false, screenPos_);
  adopt(std::move(f));
  undo_.clear();
  redo_.clear();
  savedText_ = std::string(text);
  version_ = savedVersion_ = nextVersion_++;
  changed();
}

std::string Document::text() const { return !modified() && !savedText_.empty() ? savedText_ : current_; }

void Document::markSaved() {
  savedText_ = current_;
  savedVersion_ = version_;
}

void Document::changed() {
  if (onChanged) onChanged();
}

void Document::rebuild(std::string_view text) {
  adopt(host::Form::load(text, registry_, false, screenPos_));
}

// ---- Grid and geometry ----

int32_t Document::snap(int32_t twips) const {
  if (!snap_ || grid_ <= 1) return twips;
  const double steps = std::nearbyint(static_cast<double>(twips) / grid_);
  return static_cast<int32_t>(steps) * grid_;
}

Rect Document::bounds(const Extender& e) const {
  int32_t x = e.Left(), y = e.Top();
  for (const Extender* c = e.Container(); c; c = c->Container()) {
    x += c->Left();
    y += c->Top();
  }
  return Rect::fromXYWH(x, y, e.Width(), e.Height());
}

Extender* Document::controlAt(Point p) const {
  // Later controls lie above earlier ones; a child lies above its container.
  Extender* found = nullptr;
  const auto& all = form_->Controls();
  for (Extender* e : all) {
    if (!e->Visible() && form_->UserMode()) continue;
    if (!bounds(*e).contains(p)) continue;
    // A child counts only where its container shows it.
    bool shown = true;
    for (const Extender* c = e->Container(); c && shown; c = c->Container()) shown = bounds(*c).contains(p);
    if (!shown) continue;
    if (!found || !inside(found, e)) found = e;
  }
  return found;
}

Extender* Document::containerAt(Point p, const Extender* except) const {
  Extender* found = nullptr;
  for (Extender* e : form_->Controls()) {
    if (!isContainer(*e) || e == except || (except && inside(e, except))) continue;
    if (!bounds(*e).contains(p)) continue;
    if (!found || inside(e, found)) found = e;
  }
  return found;
}

// ---- Selection ----

bool Document::isSelected(const Extender* e) const {
  return std::find(selection_.begin(), selection_.end(), e) != selection_.end();
}

void Document::select(Extender* e) {
  selection_.clear();
  if (e) selection_.push_back(e);
}

void Document::toggle(Extender* e) {
  if (!e) return;
  auto it = std::find(selection_.begin(), selection_.end(), e);
  if (it != selection_.end()) selection_.erase(it);
  else selection_.push_back(e);
}

void Document::selectIn(Rect band) {
  band = band.normalized();
  selection_.clear();
  for (Extender* e : form_->Controls()) {
    const Rect b = bounds(*e);
    if (b.intersect(band).empty() && !(band.width() == 0 && band.height() == 0 && b.contains({band.left, band.top})))
      continue;
    selection_.push_back(e);
  }
  selection_ = topSelection();
}

void Document::selectAll() {
  selection_ = form_->Controls();
  selection_ = topSelection();
}

std::vector<Extender*> Document::topSelection() const {
  std::vector<Extender*> top;
  for (Extender* e : selection_) {
    bool underSelected = false;
    for (const Extender* c = e->Container(); c && !underSelected; c = c->Container()) underSelected = isSelected(c);
    if (!underSelected) top.push_back(e);
  }
  return top;
}

std::vector<std::pair<std::string, int16_t>> Document::selectionKeys() const {
  std::vector<std::pair<std::string, int16_t>> keys;
  for (const Extender* e : selection_) keys.emplace_back(e->Name(), e->Index());
  return keys;
}

// ---- Steps ----

bool Document::record(const std::string& what) {
  std::string now = form_->save();
  if (now == current_) return false;
  undo_.push_back(Step{what, std::move(current_), version_, {}});
  redo_.clear();
  current_ = std::move(now);
  version_ = nextVersion_++;
  changed();
  return true;
}

void Document::restore(const Step& s) {
  rebuild(s.text);
  current_ = s.text;
  version_ = s.version;
  for (const auto& [name, index] : s.selection)
    if (Extender* e = form_->control(name, index)) selection_.push_back(e);
  changed();
}

void Document::undo() {
  if (undo_.empty() || gesture_) return;
  Step s = std::move(undo_.back());
  undo_.pop_back();
  redo_.push_back(Step{s.what, current_, version_, selectionKeys()});
  restore(s);
}

void Document::redo() {
  if (redo_.empty() || gesture_) return;
  Step s = std::move(redo_.back());
  redo_.pop_back();
  undo_.push_back(Step{s.what, current_, version_, selectionKeys()});
  restore(s);
}

// ---- Edits ----

std::string Document::freeName(const std::string& className) const {
  for (int n = 1;; ++n) {
    std::string name = className + std::to_string(n);
    if (!form_->control(name)) return name;
  }
}

Extender& Document::add(const std::string& className, Rect r) {
  r = r.normalized();
  const int32_t left = snap(r.left), top = snap(r.top);
  const int32_t width = std::max(kMinSize, snap(r.right) - left), height = std::max(kMinSize, snap(r.bottom) - top);
  Extender* container = containerAt(Point{left, top});
  const Rect origin = container ? bounds(*container) : Rect{};
  host::ExtenderRecord at;
  at.left = left - origin.left;
  at.top = top - origin.top;
  at.width = width;
  at.height = height;
  auto keys = selectionKeys();
  Extender& e = form_->add(registry_, className, freeName(className), at, container);
  // The step keeps the selection it had before; the new control is selected after it.
  record("Add " + e.Name());
  if (!undo_.empty()) undo_.back().selection = std::move(keys);
  select(&e);
  return e;
}

void Document::removeSelection() {
  const auto top = topSelection();
  if (top.empty()) return;
  auto keys = selectionKeys();
  // The step's name is taken while the control still exists.
  const std::string what = top.size() == 1 ? "Delete " + top.front()->Name() : "Delete";
  selection_.clear();
  for (Extender* e : top) form_->remove(*e);
  if (record(what)) undo_.back().selection = std::move(keys);
}

void Document::moveSelection(int32_t dx, int32_t dy) {
  beginGesture();
  moveBy(dx, dy);
  endGesture("Move");
}

void Document::resizeSelection(Handle h, int32_t dx, int32_t dy) {
  beginGesture();
  resizeBy(h, dx, dy);
  endGesture("Size");
}

void Document::propertyEdited(const std::string& what) {
  auto keys = selectionKeys();
  if (record(what)) undo_.back().selection = std::move(keys);
}

// ---- Arranging ----

void Document::align(AlignTo to) {
  if (selection_.size() < 2) return;
  const Rect lead = bounds(*selection_.front());
  auto keys = selectionKeys();
  for (Extender* e : topSelection()) {
    const Rect b = bounds(*e);
    int32_t dx = 0, dy = 0;
    switch (to) {
      case AlignTo::Lefts: dx = lead.left - b.left; break;
      case AlignTo::Centres: dx = (lead.left + lead.right) / 2 - (b.left + b.right) / 2; break;
      case AlignTo::Rights: dx = lead.right - b.right; break;
      case AlignTo::Tops: dy = lead.top - b.top; break;
      case AlignTo::Middles: dy = (lead.top + lead.bottom) / 2 - (b.top + b.bottom) / 2; break;
      case AlignTo::Bottoms: dy = lead.bottom - b.bottom; break;
    }
    if (dx || dy) e->Move(e->Left() + dx, e->Top() + dy, e->Width(), e->Height());
  }
  if (record("Align")) undo_.back().selection = std::move(keys);
}

void Document::makeSameSize(bool width, bool height) {
  if (selection_.size() < 2) return;
  const Extender& lead = *selection_.front();
  auto keys = selectionKeys();
  for (Extender* e : selection_)
    e->Move(e->Left(), e->Top(), width ? lead.Width() : e->Width(), height ? lead.Height() : e->Height());
  if (record("Size")) undo_.back().selection = std::move(keys);
}

void Document::spaceEvenly(bool across) {
  std::vector<Extender*> items = topSelection();
  if (items.size() < 3) return;
  auto start = [&](const Extender* e) { return across ? bounds(*e).left : bounds(*e).top; };
  auto extent = [&](const Extender* e) { return across ? e->Width() : e->Height(); };
  std::stable_sort(items.begin(), items.end(), [&](const Extender* a, const Extender* b) { return start(a) < start(b); });
  const int64_t first = start(items.front());
  const int64_t end = start(items.back()) + extent(items.back());
  int64_t used = 0;
  for (const Extender* e : items) used += extent(e);
  const int64_t gaps = static_cast<int64_t>(items.size()) - 1;
  const int64_t room = end - first - used;
  auto keys = selectionKeys();
  int64_t at = first;
  for (size_t i = 0; i < items.size(); ++i) {
    Extender* e = items[i];
    // Gap i gets its share of the room, rounded so that the last control stays where it was.
    if (i > 0) at += extent(items[i - 1]) + (room * static_cast<int64_t>(i)) / gaps - (room * static_cast<int64_t>(i - 1)) / gaps;
    const int32_t d = static_cast<int32_t>(at - start(e));
    if (d) e->Move(e->Left() + (across ? d : 0), e->Top() + (across ? 0 : d), e->Width(), e->Height());
  }
  if (record("Space evenly")) undo_.back().selection = std::move(keys);
}

namespace {

// Moves the records named in `keys` to the end (front) or the start (back) of their sibling list,
// keeping their order, at every level.
void reorderRecords(std::vector<host::ControlRecord>& records, const std::set<std::pair<std::string, int16_t>>& keys,
                    bool toFront) {
  auto chosen = [&](const host::ControlRecord& r) {
    return keys.count({host::lowerKey(r.name), r.extender.index.value_or(-1)}) > 0;
  };
  if (toFront) std::stable_partition(records.begin(), records.end(), [&](const auto& r) { return !chosen(r); });
  else std::stable_partition(records.begin(), records.end(), chosen);
  for (host::ControlRecord& r : records) reorderRecords(r.children, keys, toFront);
}

}  // namespace

void Document::reorder(bool toFront) {
  if (selection_.empty()) return;
  std::set<std::pair<std::string, int16_t>> keys;
  for (const Extender* e : selection_) keys.emplace(host::lowerKey(e->Name()), e->Index());
  host::FormRecord rec = form_->record();
  reorderRecords(rec.controls, keys, toFront);
  const std::string text = host::writeFormFile(rec);
  if (text == current_) return;
  auto sel = selectionKeys();
  undo_.push_back(Step{toFront ? "Bring to front" : "Send to back", current_, version_, sel});
  redo_.clear();
  rebuild(text);
  current_ = form_->save();
  version_ = nextVersion_++;
  for (const auto& [name, index] : sel)
    if (Extender* e = form_->control(name, index)) selection_.push_back(e);
  changed();
}

void Document::bringToFront() { reorder(true); }
void Document::sendToBack() { reorder(false); }

bool Document::showTabAt(Point p) {
  Extender* e = controlAt(p);
  auto* tabs = e ? dynamic_cast<bars::ZorvaXPHookTab*>(&e->object()) : nullptr;
  if (!tabs) return false;
  const Rect b = bounds(*e);
  const Point px{twipsToPixels(p.x - b.left), twipsToPixels(p.y - b.top)};
  for (const bars::TabRect& r : tabs->tabRects()) {
    if (!Rect{r.Left, r.Top, r.Left + r.Width, r.Bottom}.contains(px) || r.Index == tabs->SelectedTab()) continue;
    auto keys = selectionKeys();
    tabs->setSelectedTab(r.Index);
    if (record("Show tab")) undo_.back().selection = std::move(keys);
    return true;
  }
  return false;
}

void Document::setTabIndex(Extender& e, int16_t n) {
  auto keys = selectionKeys();
  e.setTabIndex(n);
  if (record("Tab order")) undo_.back().selection = std::move(keys);
}

// ---- Gestures ----

void Document::beginGesture() {
  gesture_ = true;
  gestureText_ = current_;
  gestureStart_.clear();
  for (const Extender* e : selection_) gestureStart_.push_back(e->record());
}

void Document::moveBy(int32_t dx, int32_t dy) {
  if (!gesture_ || selection_.empty()) return;
  const auto top = topSelection();
  // The first selected control's corner lands on the grid; the others keep their distances.
  const host::ExtenderRecord& lead = gestureStart_.front();
  const int32_t sx = snap(lead.left + dx) - lead.left, sy = snap(lead.top + dy) - lead.top;
  for (size_t i = 0; i < selection_.size(); ++i) {
    Extender* e = selection_[i];
    if (std::find(top.begin(), top.end(), e) == top.end()) continue;
    const host::ExtenderRecord& s = gestureStart_[i];
    e->Move(s.left + sx, s.top + sy, s.width, s.height);
  }
}

void Document::resizeBy(Handle h, int32_t dx, int32_t dy) {
  if (!gesture_ || h == Handle::None) return;
  const bool west = h == Handle::TopLeft || h == Handle::Left || h == Handle::BottomLeft;
  const bool east = h == Handle::TopRight || h == Handle::Right || h == Handle::BottomRight;
  const bool north = h == Handle::TopLeft || h == Handle::Top || h == Handle::TopRight;
  const bool south = h == Handle::BottomLeft || h == Handle::Bottom || h == Handle::BottomRight;
  for (size_t i = 0; i < selection_.size(); ++i) {
    const host::ExtenderRecord& s = gestureStart_[i];
    int32_t l = s.left, t = s.top, r = s.left + s.width, b = s.top + s.height;
    if (west) l = std::min(snap(l + dx), r - kMinSize);
    if (east) r = std::max(snap(r + dx), l + kMinSize);
    if (north) t = std::min(snap(t + dy), b - kMinSize);
    if (south) b = std::max(snap(b + dy), t + kMinSize);
    selection_[i]->Move(l, t, r - l, b - t);
  }
}

void Document::reparent(Extender& e) {
  const Rect b = bounds(e);
  Extender* target = containerAt(Point{b.left, b.top}, &e);
  if (target == e.Container()) return;
  const Rect origin = target ? bounds(*target) : Rect{};
  e.setContainer(target);
  e.Move(b.left - origin.left, b.top - origin.top, e.Width(), e.Height());
}

void Document::endGesture(const std::string& what) {
  if (!gesture_) return;
  gesture_ = false;
  if (what == "Move")
    for (Extender* e : topSelection()) reparent(*e);
  auto keys = selectionKeys();
  current_ = gestureText_;  // the step runs from where the gesture began
  if (record(what)) undo_.back().selection = std::move(keys);
}

void Document::cancelGesture() {
  if (!gesture_) return;
  for (size_t i = 0; i < selection_.size(); ++i) {
    const host::ExtenderRecord& s = gestureStart_[i];
    selection_[i]->Move(s.left, s.top, s.width, s.height);
  }
  gesture_ = false;
}

// ---- Clipboard ----

std::string Document::copySelection() const {
  std::set<std::pair<std::string, int16_t>> wanted;
  for (const Extender* e : topSelection()) wanted.emplace(host::lowerKey(e->Name()), e->Index());
  host::FormRecord all = form_->record();
  host::FormRecord part;
  part.name = all.name;
  collect(all.controls, wanted, part.controls);
  return host::writeFormFile(part);
}

std::string Document::cutSelection() {
  std::string text = copySelection();
  auto keys = selectionKeys();
  const auto top = topSelection();
  selection_.clear();
  for (Extender* e : top) form_->remove(*e);
  if (record("Cut")) undo_.back().selection = std::move(keys);
  return text;
}

Extender& Document::addRecord(const host::ControlRecord& r, Extender* container, const std::string& name,
                              const host::ExtenderRecord& at) {
  host::PropertyBag bag = r.properties;
  Extender& e = form_->add(registry_, r.className, name, at, container, &bag);
  for (const host::ControlRecord& child : r.children) {
    host::ExtenderRecord c = child.extender;
    c.tabIndex = -1;
    const std::string childName =
        form_->control(child.name, child.extender.index.value_or(-1)) ? freeName(child.className) : child.name;
    if (childName != child.name) c.index.reset();
    addRecord(child, &e, childName, c);
  }
  return e;
}

std::vector<Extender*> Document::paste(std::string_view text) {
  // Parsing throws before the form changes.
  const host::FormRecord rec = host::parseFormFile(text);
  Extender* container = nullptr;
  for (Extender* e : selection_)
    if (isContainer(*e)) {
      container = e;
      break;
    }
  auto keys = selectionKeys();
  std::vector<Extender*> added;
  try {
    for (const host::ControlRecord& r : rec.controls) {
      host::ExtenderRecord at = r.extender;
      at.tabIndex = -1;
      std::string name = r.name;
      if (const Extender* same = form_->control(r.name, r.extender.index.value_or(-1))) {
        // A copy of a control of this form: a name of its own, one grid step away when it would
        // cover its original.
        if (same->Left() == at.left && same->Top() == at.top && same->Container() == container) {
          at.left += grid_;
          at.top += grid_;
        }
        name = freeName(r.className);
        at.index.reset();
      }
      added.push_back(&addRecord(r, container, name, at));
    }
  } catch (...) {
    // A control that cannot be sited (an unknown class): the form goes back to what it was.
    rebuild(current_);
    throw;
  }
  if (record("Paste")) undo_.back().selection = std::move(keys);
  selection_ = added;
  return added;
}

// ---- Run mode ----

host::Form* Document::run() {
  if (run_) return run_.get();
  if (gesture_) cancelGesture();
  run_ = host::Form::load(current_, registry_, true, screenPos_);
  ShowWindow(form_->hWnd(), SW_HIDE);
  return run_.get();
}

void Document::stop() {
  if (!run_) return;
  run_.reset();
  if (form_ && !form_->unloaded()) ShowWindow(form_->hWnd(), SW_SHOWNA);
}

}  // namespace zxp::designer
