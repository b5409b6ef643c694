#include "tools/monkey/Monkey.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>

#include "formskin/ZorvaForm.h"
#include "platform/base/HostError.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Handles.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/Surface.h"
#include "platform/host/Form.h"
#include "platform/host/FormFile.h"
#include "platform/host/MemberTable.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Hooks.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TestInput.h"
#include "platform/ui/User.h"

namespace zxp::monkey {

namespace {

constexpr std::array<std::string_view, static_cast<size_t>(Op::Count_)> kOpNames = {
    "move", "press", "release", "click", "dblclick", "drag", "wheel", "key", "keydown",
    "keyup", "type", "alt", "focus", "window", "advance", "set", "call", "saveload"};

// Keys a user reaches for: navigation, editing, the form's keys, function keys, letters.
constexpr std::array<int, 26> kKeys = {VK_TAB,  VK_RETURN, VK_ESCAPE, VK_LEFT,   VK_RIGHT, VK_UP,   VK_DOWN,
                                       VK_F4,   VK_SPACE,  VK_HOME,   VK_END,    VK_PRIOR, VK_NEXT, VK_DELETE,
                                       VK_BACK, VK_F10,    VK_INSERT, VK_APPS,   'A',      'C',     'V',
                                       'X',     'Z',       '1',       VK_SHIFT,  VK_MENU};

const std::vector<std::string>& typedTexts() {
  static const std::vector<std::string> texts = {
      "a", "Hello", "12", "-3.5", "2024-02-29", "\t", "\r", " ", "&", "\xC3\xBC\xE2\x82\xAC", "zz9 Q", "0",
      "1e308", "()", "%", std::string(300, 'w')};
  return texts;
}

// The places a pointer goes: each control, the form's client area, outside the form.
struct Place {
  HWND hwnd = 0;  // 0: a screen point
  Rect screen;    // the area on the screen
};

uint64_t mix(uint64_t x) {  // splitmix64: a value's choices come from its own number
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

host::PictureRef pictureFor(uint64_t r) {
  const uint32_t colour = static_cast<uint32_t>(r >> 8) & 0xFFFFFF;
  switch (r % 5) {
    case 0: return host::PictureRef();  // none
    case 1: {
      auto s = gfx::Surface::create(16, 16);
      s->fill(0xFF000000u | colour);
      return gfx::Picture::fromIcon(gfx::createIconFromArgb(*s));
    }
    case 2: {
      auto s = gfx::Surface::create(1, 1);
      s->fill(colour);
      return gfx::Picture::fromBitmap(gfx::CreateBitmapForSurface(s));
    }
    case 3: {
      auto s = gfx::Surface::create(48, 32);
      s->fill(colour);
      return gfx::Picture::fromBitmap(gfx::CreateBitmapForSurface(s));
    }
    default: {
      auto s = gfx::Surface::create(700, 500);
      s->fill(colour);
      return gfx::Picture::fromBitmap(gfx::CreateBitmapForSurface(s));
    }
  }
}

// A value for a property or argument of type `type`: `kind` picks in range, out of range, wrong
// type, empty, extreme, and `seed` the value itself.
host::Variant valueFor(host::Variant::Kind type, const host::EnumType* en, uint32_t kind, uint32_t seed) {
  using K = host::Variant::Kind;
  const uint64_t r = mix(seed);
  const int32_t small = static_cast<int32_t>(r % 41) - 10;
  switch (kind % 8) {
    case 0:  // empty
      return host::Variant();
    case 1: {  // the wrong type
      switch (r % 6) {
        case 0: return host::Variant("not a number");
        case 1: return host::Variant(pictureFor(r >> 3));
        case 2: return host::Variant(true);
        case 3: return host::Variant(1e300);
        case 4: return host::Variant(host::ArrayRef(std::make_shared<std::vector<host::Variant>>(
                    std::vector<host::Variant>{host::Variant(int16_t{1}), host::Variant("x")})));
        default: return host::Variant(host::Date(-700000.0));
      }
    }
    case 2: {  // a huge or odd string (converted to the type, which may refuse)
      static const std::array<std::string, 8> strings = {
          "", std::string(100000, 'M'), "&Access &Keys&&", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", "12", "-1",
          "line\r\nline\r\n", "2024-02-29 13:45"};
      return host::Variant(strings[r % strings.size()]);
    }
    default: break;
  }
  const bool outOfRange = kind % 8 >= 6;
  switch (type) {
    case K::Boolean: return host::Variant((r & 1) != 0);
    case K::Integer:
      if (en && !en->members.empty() && !outOfRange)
        return host::Variant(static_cast<int16_t>(en->members[r % en->members.size()].second));
      if (outOfRange) {
        static const std::array<int16_t, 5> edges = {std::numeric_limits<int16_t>::min(), -1, 32767, 255, 10000};
        return host::Variant(edges[r % edges.size()]);
      }
      return host::Variant(static_cast<int16_t>(small));
    case K::Long:
      if (en && !en->members.empty() && !outOfRange)
        return host::Variant(en->members[r % en->members.size()].second);
      if (outOfRange) {
        static const std::array<int32_t, 6> edges = {std::numeric_limits<int32_t>::min(), -1,
                                                     std::numeric_limits<int32_t>::max(), 1 << 24,
                                                     static_cast<int32_t>(0x80000005u), 100000};
        return host::Variant(edges[r % edges.size()]);
      }
      return (r & 2) ? host::Variant(static_cast<int32_t>((r >> 8) & 0xFFFFFF)) : host::Variant(small);
    case K::Single:
    case K::Double: {
      if (outOfRange) {
        static const std::array<double, 6> edges = {std::numeric_limits<double>::quiet_NaN(),
                                                    std::numeric_limits<double>::infinity(), -1e300, 1e30,
                                                    -0.0, 4e9};
        const double d = edges[r % edges.size()];
        return type == K::Single ? host::Variant(static_cast<float>(d)) : host::Variant(d);
      }
      const double d = static_cast<double>(small) * 7.5;
      return type == K::Single ? host::Variant(static_cast<float>(d)) : host::Variant(d);
    }
    case K::String: {
      static const std::array<std::string, 8> strings = {"a", "&Caption", "Two words", "0", "x\ty", "  ", "Q", "#"};
      return host::Variant(strings[r % strings.size()]);
    }
    case K::Date:
      return host::Variant(host::Date(outOfRange ? ((r & 1) ? 2958465.99 : -657434.0)
                                                 : 45000.0 + static_cast<double>(small * 31) + 0.25));
    case K::Font: {
      auto f = std::make_shared<gfx::FontDesc>();
      static const std::array<const char*, 4> names = {"Tahoma", "Verdana", "No Such Font", ""};
      f->name = names[r % names.size()];
      static const std::array<double, 5> sizes = {8.25, 1, 0, 72, 400};
      f->size = sizes[(r >> 4) % sizes.size()];
      f->setBold((r & 64) != 0);
      f->italic = (r & 128) != 0;
      return host::Variant(host::FontRef(f));
    }
    case K::Picture: return host::Variant(pictureFor(r));
    default: return host::Variant(small);
  }
}

// Methods that reach outside the program (files, folders, the shell, automation servers): their
// random arguments would name paths on the machine that runs the monkey.
bool reachesOutside(std::string_view name) {
  static const std::array<std::string_view, 12> words = {"File", "Folder", "Export", "SaveAs", "Execute",
                                                         "Quit", "EXEorDLL", "Driver", "Path", "Spread",
                                                         "Close", "FromHandel"};
  for (std::string_view w : words)
    if (name.find(w) != std::string_view::npos) return true;
  return false;
}

// A value as a replay shows it.
std::string describe(const host::Variant& v) {
  using K = host::Variant::Kind;
  std::ostringstream out;
  switch (v.kind()) {
    case K::Empty: return "Empty";
    case K::Font: {
      host::FontRef f;
      try {
        f = v.toFont();
      } catch (const HostError& e) {
        return std::string("a Font (") + e.what() + ")";
      }
      if (!f) return "Font None";
      out << "Font '" << f->name << "' " << f->size << (f->bold() ? " Bold" : "") << (f->italic ? " Italic" : "");
      return out.str();
    }
    case K::Picture: return v.toPicture().empty() ? "Picture None" : "a Picture";
    case K::Array: return "an Array";
    case K::Object: return "an Object";
    case K::String: {
      const std::string t = v.toString();
      out << "String(" << t.size() << ") \"" << t.substr(0, 30) << "\"";
      return out.str();
    }
    default: out << "kind " << static_cast<int>(v.kind()) << " " << v.toString(); return out.str();
  }
}

// Values that a reload changes because the control's own rules say so, each with the rule: a
// save -> load -> save that differs only in these lines is no finding.
struct KnownLoss {
  std::string_view className, key, why;
};
constexpr KnownLoss kKnownLosses[] = {
    {"ZorvaXPLabel", "BackColor",
     "with AutoChangeBackColor True, loading sets BackColor to the container's colour (AutoChangeBackColor "
     "is read after BackColor, through its setter)"},
    {"ZorvaXPProgressBar", "Value",
     "lowering Max leaves Value above it; loading sets Value through its setter, which clamps it to Max"},
    {"ZorvaXPProgressBar", "Max",
     "Min lowered below 0 and Max then set below 0: loading sets Max first, while Min is still 0, and "
     "the setter raises a Max below Min to Min"},
    {"ZorvaXPToolBar", "@Height",
     "CaptionAlingment Bottom needs 41 pixels, enforced when the bar is resized (loading does), not by the "
     "setter"},
    {"ZorvaXPToolBar", "@Top", "an aligned bar under a bar that grew as above moves down with it"},
    {"ZorvaXPStatusBar", "@Top", "a status bar aligned under a tool bar that grew as above moves down with it"},
    {"ZorvaXPStatusBar", "@Height",
     "a status bar aligned to the left or right under a tool bar that grew as above is shorter by as much"},
    {"ZorvaXPLabel", "@Height",
     "turning AutoSize off keeps the fitted size; the resize step that loading runs applies the minimum "
     "height"},
    {"ZorvaXPLabel", "@Top",
     "follows @Height for a label aligned to the bottom edge, whose top is the bottom less its height (a "
     "label only grows to its text, and loading measures it first in the form's font, before its own)"},
    {"ZorvaXPSpin", "value",
     "the button's Maximum and Minimum setters only store, so Value may lie outside them; loading sets "
     "Value through its setter, which clamps it"},
    {"ZorvaXPSpin", "ButtonGradientColor2",
     "a colour set while the spin is disabled shows at once; loading a disabled spin applies the disabled "
     "colour after it (Enabled is read after the colours)"},
    {"ZorvaXPStatusBar", "Enabled#",
     "a lock panel's Enabled mirrors the lock key's state, written at each paint (loading paints)"},
    {"ZorvaXPToolBar", "Enabled#", "as the status bar's lock panels"},
    {"ZorvaXPHScrollBar", "Value",
     "Max and Min setters leave Value as it is; loading sets Value through its setter, which makes a value "
     "outside Min..Max 0"},
    {"ZorvaXPVScrollBar", "Value", "as the horizontal bar"},
    {"ZorvaXPHScrollBar", "Max",
     "Min set above Max leaves Max as it is; loading reads Min first and sets Max through its setter, which "
     "makes a Max below Min 255"},
    {"ZorvaXPVScrollBar", "Max", "as the horizontal bar"},
    {"ZorvaForm", "@Align",
     "the skin aligns itself to the form's top edge when it starts (none on a form with a menu), whatever "
     "Align was saved"},
    {"ZorvaForm", "@Width",
     "follows @Align: a skin saved unaligned is aligned to the top on loading and takes the form's width "
     "(none while the form is minimised)"},
    {"ZorvaForm", "@Left", "follows @Align: aligned to the top, the skin moves to the form's left edge"},
    {"ZorvaForm", "@Top", "follows @Align: aligned to the top, the skin moves to the form's top edge"},
    {"ZorvaXPHookTab", "TabWidth#",
     "with AutoTabWidth each layout writes the caption's width back into TabWidth as it is (a large font "
     "makes it wider than 255); reading clamps it to 5..255 until the next layout writes it again"},
    {"ZorvaXPTextBox", "FormatType", "a multi-line box clears FormatType and UseFormat when it redraws"},
    {"ZorvaXPTextBox", "UseFormat", "as FormatType"},
};

// A known loss's key: the key itself, or with '#' for an index ("Enabled#" is "Enabled4").
bool keyMatches(std::string_view pattern, std::string_view key) {
  if (!pattern.ends_with('#')) return pattern == key;
  const std::string_view stem = pattern.substr(0, pattern.size() - 1);
  return key.starts_with(stem) && key.size() > stem.size() &&
         key.find_first_not_of("0123456789", stem.size()) == std::string_view::npos;
}

// A saved form as entries: "<Class> <name>/.../<key>" -> the value (a picture's lines joined).
struct SavedEntry {
  std::string className, key, value;
};
std::map<std::string, SavedEntry> entriesOf(std::string_view t) {
  std::map<std::string, SavedEntry> out;
  std::vector<std::pair<std::string, std::string>> open;  // class and path of each Begin block
  std::string* block = nullptr;                            // a value spread over lines ("{" ... "}")
  for (size_t at = 0; at < t.size();) {
    const size_t end = std::min(t.find('\n', at), t.size());
    std::string_view line = t.substr(at, end - at);
    at = end + 1;
    const size_t first = line.find_first_not_of(' ');
    line = first == std::string_view::npos ? "" : line.substr(first);
    if (block) {
      *block += line;
      if (line == "}") block = nullptr;
      continue;
    }
    if (line.starts_with("Begin ")) {
      const std::string rest(line.substr(6));
      open.emplace_back(rest.substr(0, rest.find(' ')), (open.empty() ? "" : open.back().second + "/") + rest);
      continue;
    }
    if (line == "End") {
      if (!open.empty()) open.pop_back();
      continue;
    }
    const size_t space = line.find(' ');
    const std::string key(line.substr(0, space));
    const std::string path = (open.empty() ? "" : open.back().second) + "/" + key;
    SavedEntry& e = out[path];
    e.className = open.empty() ? "" : open.back().first;
    e.key = key;
    e.value = space == std::string_view::npos ? "" : std::string(line.substr(space + 1));
    if (line.ends_with("{")) block = &e.value;
  }
  return out;
}

// Where two saved texts differ in a way no known rule explains ("'Class name/Key': 'a' became
// 'b'"), or nothing when every difference is a known loss. A key written in one text and left
// out in the other (its default) counts as a difference of that key.
std::optional<std::string> unexplainedDifference(std::string_view once, std::string_view twice) {
  const std::map<std::string, SavedEntry> a = entriesOf(once), b = entriesOf(twice);
  std::set<std::string> paths;
  for (const auto& [p, e] : a) paths.insert(p);
  for (const auto& [p, e] : b) paths.insert(p);
  for (const std::string& p : paths) {
    const auto ia = a.find(p), ib = b.find(p);
    const std::string va = ia == a.end() ? "(left out)" : ia->second.value;
    const std::string vb = ib == b.end() ? "(left out)" : ib->second.value;
    if (va == vb) continue;
    const SavedEntry& e = ia != a.end() ? ia->second : ib->second;
    const bool known = std::any_of(std::begin(kKnownLosses), std::end(kKnownLosses), [&](const KnownLoss& k) {
      return k.className == e.className && keyMatches(k.key, e.key);
    });
    if (!known) return "at '" + p + "': '" + va.substr(0, 120) + "' became '" + vb.substr(0, 120) + "'";
  }
  return std::nullopt;
}

size_t countKind(ObjKind k) { return handles().liveCount(k); }

// What an unloaded form must leave behind: the counts of a fresh window system.
struct Counts {
  std::array<size_t, static_cast<size_t>(ObjKind::Count_)> objects{};
  size_t timers = 0;
  size_t hooks = 0;
  static Counts now() {
    Counts c;
    for (size_t k = 1; k < c.objects.size(); ++k) c.objects[k] = countKind(static_cast<ObjKind>(k));
    c.timers = ui::eventLoop().timerCount();
    for (int type = -1; type <= 14; ++type) c.hooks += ui::hookCount(type);
    return c;
  }
  std::string differences(const Counts& base) const {
    static const std::array<const char*, static_cast<size_t>(ObjKind::Count_)> names = {
        "", "DCs", "pens", "brushes", "bitmaps", "regions", "fonts", "icons", "windows", "hooks", "menus",
        "modules", "other objects"};
    std::ostringstream out;
    for (size_t k = 1; k < objects.size(); ++k)
      if (objects[k] != base.objects[k])
        out << " " << names[k] << " " << base.objects[k] << " -> " << objects[k] << ";";
    if (timers != base.timers) out << " timers " << base.timers << " -> " << timers << ";";
    if (hooks != base.hooks) out << " hook chains " << base.hooks << " -> " << hooks << ";";
    return out.str();
  }
};

}  // namespace

std::string_view kindName(FindingKind k) {
  switch (k) {
    case FindingKind::Load: return "load";
    case FindingKind::Exception: return "exception";
    case FindingKind::Members: return "members";
    case FindingKind::Leak: return "leak";
    case FindingKind::Persistence: return "persistence";
  }
  return "?";
}

std::string actionText(const Action& a) {
  std::ostringstream out;
  out << kOpNames[static_cast<size_t>(a.op)] << ' ' << a.a << ' ' << a.b << ' ' << a.c << ' ' << a.d;
  return out.str();
}

std::string actionsText(const std::vector<Action>& actions) {
  std::string out;
  for (const Action& a : actions) out += actionText(a) + "\n";
  return out;
}

std::vector<Action> parseActions(std::string_view text) {
  std::vector<Action> out;
  std::istringstream in{std::string(text)};
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    const size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    std::istringstream words(line);
    std::string name;
    Action a;
    words >> name;
    const auto it = std::find(kOpNames.begin(), kOpNames.end(), name);
    if (it == kOpNames.end() || !(words >> a.a >> a.b >> a.c >> a.d))
      throw std::invalid_argument("action line " + std::to_string(number) + ": " + line.substr(0, 40));
    a.op = static_cast<Op>(it - kOpNames.begin());
    out.push_back(a);
  }
  return out;
}

std::vector<Action> randomActions(uint64_t seed, size_t count) {
  // Weights per op, in Op order: pointer work most, then keys, time and property sets; a save
  // and reload about once in two hundred steps.
  static constexpr std::array<int, static_cast<size_t>(Op::Count_)> weights = {
      20, 5, 5, 8, 3, 4, 4, 10, 2, 2, 5, 3, 4, 3, 8, 10, 4, 1};
  std::mt19937_64 gen(seed);
  std::discrete_distribution<int> pick(weights.begin(), weights.end());
  std::vector<Action> out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    Action a;
    a.op = static_cast<Op>(pick(gen));
    const uint64_t r1 = gen(), r2 = gen();
    a.a = static_cast<uint32_t>(r1);
    a.b = static_cast<uint32_t>(r1 >> 32);
    a.c = static_cast<uint32_t>(r2);
    a.d = static_cast<uint32_t>(r2 >> 32);
    if (a.op == Op::Advance && (a.b & 3) != 0) a.a %= 60;  // mostly short steps, sometimes up to 2 s
    if (a.op == Op::Press || a.op == Op::Click || a.op == Op::Release || a.op == Op::DoubleClick)
      a.a = (a.a % 8 < 6) ? 0 : a.a;  // mostly the left button
    out.push_back(a);
  }
  return out;
}

std::vector<Action> actionsFromBytes(const uint8_t* data, size_t size) {
  std::vector<Action> out;
  for (size_t at = 0; at < size; at += 9) {
    uint8_t b[9] = {};
    std::copy(data + at, data + std::min(size, at + 9), b);
    Action a;
    a.op = static_cast<Op>(b[0] % static_cast<uint8_t>(Op::Count_));
    a.a = b[1] | (b[2] << 8);
    a.b = b[3] | (b[4] << 8);
    a.c = b[5] | (b[6] << 8);
    a.d = static_cast<uint32_t>(b[7] | (b[8] << 8)) * 2654435761u;  // spread the value seed
    out.push_back(a);
  }
  return out;
}

// ---- One run ----

struct Monkey::Session {
  Monkey& owner;
  std::unique_ptr<host::Form> form;
  ui::TestInput in;
  Counts base;
  size_t memberTurn = 0;
  // Members that raised the host's error on the first check after the first load (a property a
  // late-bound call cannot carry, such as an object): they are not expected to answer later.
  std::set<const host::Member*>& silent;
  bool learning = false;

  explicit Session(Monkey& m) : owner(m), silent(m.silent_) {}

  std::optional<Finding> load(const std::string& text, size_t step) {
    try {
      form = host::Form::load(text, owner.classes_, true, Point{40, 30});
    } catch (const std::exception& e) {
      return Finding{FindingKind::Load, step, std::string("the form does not load: ") + e.what()};
    }
    SetActiveWindow(form->hWnd());
    in.pump();
    return std::nullopt;
  }

  // Unloads and frees the form; what it leaves behind is a leak.
  std::optional<Finding> unload(size_t step) {
    if (form && !form->unloaded()) form->Unload();
    form.reset();
    in.pump();
    const Counts after = Counts::now();
    const std::string diff = after.differences(base);
    if (!diff.empty()) return Finding{FindingKind::Leak, step, "left after unloading:" + diff};
    return std::nullopt;
  }

  std::vector<host::Extender*> controls() const { return form->Controls(); }

  Place place(uint32_t which) const {
    const std::vector<host::Extender*>& cs = form->Controls();
    const size_t n = cs.size() + 2;
    const size_t k = which % n;
    RECT r{};
    if (k < cs.size()) {
      const HWND h = cs[k]->object().hWnd();
      if (IsWindow(h)) {
        GetWindowRect(h, &r);
        return Place{h, Rect{r.left, r.top, r.right, r.bottom}};
      }
    }
    GetWindowRect(form->hWnd(), &r);
    if (k == cs.size() + 1 || k < cs.size())  // outside: a band right of and below the form
      return Place{0, Rect{r.right + 1, r.bottom + 1, r.right + 80, r.bottom + 60}};
    return Place{form->hWnd(), Rect{r.left, r.top, r.right, r.bottom}};
  }

  static Point at(const Place& p, uint32_t fx, uint32_t fy) {
    const int32_t w = std::max<int32_t>(p.screen.width(), 1), h = std::max<int32_t>(p.screen.height(), 1);
    return Point{p.screen.left + static_cast<int32_t>((fx & 255) * (w - 1) / 255),
                 p.screen.top + static_cast<int32_t>((fy & 255) * (h - 1) / 255)};
  }

  static ui::MouseButton button(uint32_t v) {
    switch (v % 3) {
      case 1: return ui::MouseButton::Right;
      case 2: return ui::MouseButton::Middle;
      default: return ui::MouseButton::Left;
    }
  }

  formskin::ZorvaForm* skin() const {
    for (host::Extender* e : form->Controls())
      if (auto* s = dynamic_cast<formskin::ZorvaForm*>(&e->object())) return s;
    return nullptr;
  }

  void clickSkinButton(formskin::ZorvaForm& s, formskin::Area area) {
    const RECT r = s.buttonRect(area);
    in.moveTo(s.hWnd(), Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2}).click();
  }

  void window(const Action& a) {
    const HWND h = form->hWnd();
    formskin::ZorvaForm* s = skin();
    const bool viaSkin = s != nullptr && IsWindow(s->hWnd());
    switch (a.a % 6) {
      case 0:
        if (viaSkin) clickSkinButton(*s, formskin::Area::Minimize);
        else ShowWindow(h, SW_MINIMIZE);
        break;
      case 1:
        if (viaSkin) clickSkinButton(*s, formskin::Area::Maximize);
        else ShowWindow(h, SW_MAXIMIZE);
        break;
      case 2: ShowWindow(h, SW_RESTORE); break;  // as the task bar restores a form
      case 3: {
        RECT r{};
        GetWindowRect(h, &r);
        const int32_t w = static_cast<int32_t>(a.b % 1200) - 100, hh = static_cast<int32_t>(a.c % 900) - 100;
        SetWindowPos(h, 0, 0, 0, w, hh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
      }
      case 4:
        SetWindowPos(h, 0, static_cast<int32_t>(a.b % 1400) - 200, static_cast<int32_t>(a.c % 1000) - 200, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
      default:
        if (viaSkin) {  // drag the title strip
          const RECT r = s->captionRect();
          in.moveTo(s->hWnd(), Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2})
              .press()
              .moveBy(static_cast<int>(a.b % 200) - 100, static_cast<int>(a.c % 200) - 100)
              .moveBy(static_cast<int>(a.c % 50), static_cast<int>(a.b % 50))
              .release();
        } else {
          ShowWindow(h, (a.b & 1) ? SW_HIDE : SW_SHOW);
        }
        break;
    }
    in.pump();
  }

  // The members a control answers by name: its extender's and its own (extender first, as a
  // form resolves a name).
  void setProperty(const Action& a) {
    const std::vector<host::Extender*>& cs = form->Controls();
    if (cs.empty()) return;
    host::Extender& e = *cs[a.a % cs.size()];
    const bool onExtender = (a.b & 0xF000) == 0xF000;
    host::Dispatchable& target = onExtender ? static_cast<host::Dispatchable&>(e) : e.object();
    std::vector<const host::Member*> props;
    for (const host::Member& m : target.memberTable().members())
      if (m.kind == host::MemberKind::Property && !m.readOnly()) props.push_back(&m);
    if (props.empty()) return;
    const host::Member& m = *props[(a.b & 0xFFF) % props.size()];
    const host::Variant v = valueFor(m.type, m.enumType, a.c, a.d);
    if (owner.options_.note) owner.options_.note(e.Name() + "." + m.name + " = " + describe(v));
    try {
      if (m.indexed()) {
        std::vector<host::Variant> idx;
        for (size_t i = 0; i < m.argCount; ++i)
          idx.push_back(valueFor(host::Variant::Kind::Integer, nullptr, 3 + (a.c >> 8) % 5, a.d + 7 * i));
        m.letAt(target, idx, v);
      } else {
        m.let(target, v);
      }
    } catch (const HostError& err) {
      ++owner.hostErrors_;
      if (owner.options_.note) owner.options_.note(std::string("  refused: ") + err.what());
    }
  }

  void callMethod(const Action& a) {
    const std::vector<host::Extender*>& cs = form->Controls();
    if (cs.empty()) return;
    host::Extender& e = *cs[a.a % cs.size()];
    std::vector<const host::Member*> methods;
    for (const host::Member& m : e.object().memberTable().members())
      if (m.kind == host::MemberKind::Method && !reachesOutside(m.name)) methods.push_back(&m);
    if (methods.empty()) return;
    const host::Member& m = *methods[a.b % methods.size()];
    // Arguments: mostly the declared count, sometimes fewer or more (the call must refuse).
    size_t n = m.argCount;
    if ((a.c & 7) == 0) n = a.c % (m.argCount + 3);
    std::vector<host::Variant> args;
    for (size_t i = 0; i < n; ++i) {
      using K = host::Variant::Kind;
      static constexpr std::array<K, 6> types = {K::Integer, K::Long, K::String, K::Boolean, K::Double,
                                                 K::Picture};
      const uint64_t r = mix(a.d + i);
      args.push_back(valueFor(types[r % types.size()], nullptr, static_cast<uint32_t>(r >> 8), a.d ^ (i * 977)));
    }
    if (owner.options_.note) {
      std::string text = e.Name() + "." + m.name + "(";
      for (size_t i = 0; i < args.size(); ++i) text += (i ? ", " : "") + describe(args[i]);
      owner.options_.note(text + ")");
    }
    try {
      (void)host::callMember(e.object(), m, std::move(args));
    } catch (const HostError& err) {
      ++owner.hostErrors_;
      if (owner.options_.note) owner.options_.note(std::string("  refused: ") + err.what());
    }
  }

  // Every control answers every readable, non-indexed property of its table and its extender's.
  std::optional<Finding> checkMembers(size_t step, bool all) {
    const std::vector<host::Extender*>& cs = form->Controls();
    if (cs.empty()) return std::nullopt;
    const size_t first = all ? 0 : memberTurn++ % cs.size();
    const size_t last = all ? cs.size() : first + 1;
    for (size_t i = first; i < last; ++i) {
      host::Extender& e = *cs[i];
      for (host::Dispatchable* d : {static_cast<host::Dispatchable*>(&e), static_cast<host::Dispatchable*>(&e.object())}) {
        for (const host::Member& m : d->memberTable().members()) {
          if (m.kind != host::MemberKind::Property || m.indexed() || !m.get || silent.count(&m)) continue;
          try {
            (void)m.get(*d);
          } catch (const HostError& err) {
            if (learning) {
              silent.insert(&m);
              continue;
            }
            return Finding{FindingKind::Members, step,
                           e.Name() + "." + m.name + " does not answer: " + err.what()};
          }
        }
      }
    }
    return std::nullopt;
  }

  std::optional<Finding> saveLoad(size_t step, const std::string& original) {
    const std::string once = form->save();
    if (auto f = unload(step)) return f;
    ++owner.reloads_;
    if (auto f = load(once, step)) {
      f->kind = FindingKind::Persistence;
      f->message = "the saved form does not load again: " + f->message + "\n" + once.substr(0, 2000);
      return f;
    }
    const std::string twice = form->save();
    if (twice != once) {
      if (std::optional<std::string> diff = unexplainedDifference(once, twice))
        return Finding{FindingKind::Persistence, step, "save -> load -> save differs " + *diff};
      ++owner.knownLosses_;
    }
    (void)original;
    return std::nullopt;
  }

  std::optional<Finding> play(size_t step, const Action& a, const std::string& original) {
    switch (a.op) {
      case Op::Move: in.moveTo(at(place(a.a), a.b, a.c)); break;
      case Op::Press: in.press(button(a.a)); break;
      case Op::Release: in.release(button(a.a)); break;
      case Op::Click: in.click(button(a.a)); break;
      case Op::DoubleClick: in.doubleClick(button(a.a)); break;
      case Op::Drag: {
        const Point from = at(place(a.a), a.d, a.d >> 8), to = at(place(a.b), a.d >> 16, a.d >> 24);
        const ui::MouseButton b = button(a.c);
        in.moveTo(from).press(b).advance(15);
        for (int i = 1; i <= 4; ++i)
          in.moveTo(Point{from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4}).advance(15);
        if ((a.c & 0x100) == 0) in.release(b);  // now and then the button stays down
        break;
      }
      case Op::Wheel: in.wheel(static_cast<int>(a.a % 11) - 5); break;
      case Op::Key: {
        std::vector<int> mods;
        if (a.b & 1) mods.push_back(VK_SHIFT);
        if (a.b & 2) mods.push_back(VK_CONTROL);
        if ((a.b & 12) == 4) mods.push_back(VK_MENU);
        const int vk = kKeys[a.a % kKeys.size()];
        if (mods.empty()) in.key(vk);
        else if (mods.size() == 1) in.chord({mods[0]}, vk);
        else if (mods.size() == 2) in.chord({mods[0], mods[1]}, vk);
        else in.chord({mods[0], mods[1], mods[2]}, vk);
        break;
      }
      case Op::KeyDown: in.keyDown(kKeys[a.a % kKeys.size()]); break;
      case Op::KeyUp: in.keyUp(kKeys[a.a % kKeys.size()]); break;
      case Op::Type: in.type(typedTexts()[a.a % typedTexts().size()]); break;
      case Op::Alt: in.altKey(static_cast<char>('A' + a.a % 26)); break;
      case Op::Focus: {
        if (a.b & 1) {
          form->moveFocus((a.b & 2) == 0);
        } else {
          const std::vector<host::Extender*>& cs = form->Controls();
          if (!cs.empty()) SetFocus(cs[a.a % cs.size()]->object().hWnd());
        }
        in.pump();
        break;
      }
      case Op::Window: window(a); break;
      case Op::Advance: in.advance(a.a % 2001); break;
      case Op::Set: setProperty(a); in.pump(); break;
      case Op::Call: callMethod(a); in.pump(); break;
      case Op::SaveLoad: return saveLoad(step, original);
      case Op::Count_: break;
    }
    return std::nullopt;
  }
};

Monkey::Monkey(std::string formText, const host::ClassRegistry& classes, MonkeyOptions options)
    : text_(std::move(formText)), classes_(classes), options_(std::move(options)) {}

Monkey::~Monkey() = default;

std::optional<Finding> Monkey::run(const std::vector<Action>& actions) {
  steps_ = reloads_ = hostErrors_ = knownLosses_ = 0;
  ui::resetWindowSystem();
  ui::setScreenSize(Size{1280, 1024});
  Session s(*this);
  s.base = Counts::now();
  std::optional<Finding> found = s.load(text_, 0);
  if (found) return found;
  // The first load of the form text learns which members stay silent; since a run starts from a
  // reset window system, every later run loads the same form the same way, so its full check
  // would only repeat that one.
  if (!learned_) {
    s.learning = true;
    found = s.checkMembers(0, true);
    s.learning = false;
    learned_ = true;
    if (found) return found;
  }
  for (size_t i = 0; i < actions.size() && !found; ++i) {
    if (options_.trace) options_.trace(i, actions[i]);
    ++steps_;
    try {
      found = s.play(i, actions[i], text_);
      if (!found && s.form && s.form->unloaded()) {  // closed by the user (close box, Alt+F4)
        if ((found = s.unload(i))) break;
        ++reloads_;
        found = s.load(text_, i);
      }
      if (!found) found = s.checkMembers(i, options_.checkAllMembersEachStep || actions[i].op == Op::SaveLoad);
    } catch (const HostError& e) {
      found = Finding{FindingKind::Exception, i, std::string("host error out of an input step: ") + e.what()};
    } catch (const std::exception& e) {
      found = Finding{FindingKind::Exception, i, std::string("exception: ") + e.what()};
    }
  }
  if (!found) {
    try {
      found = s.unload(actions.size());
    } catch (const std::exception& e) {
      found = Finding{FindingKind::Exception, actions.size(), std::string("exception while unloading: ") + e.what()};
    }
  }
  if (found) {  // tear down what is left without raising a second finding
    try {
      s.form.reset();
    } catch (...) {
    }
  }
  ui::resetWindowSystem();
  return found;
}

std::vector<Action> shrinkByHalves(std::vector<Action> actions, const std::function<bool(const std::vector<Action>&)>& fails) {
  for (size_t chunk = std::max<size_t>(actions.size() / 2, 1); chunk >= 1;) {
    bool cut = false;
    for (size_t at = 0; at < actions.size();) {
      std::vector<Action> shorter(actions.begin(), actions.begin() + static_cast<ptrdiff_t>(at));
      shorter.insert(shorter.end(), actions.begin() + static_cast<ptrdiff_t>(std::min(actions.size(), at + chunk)),
                     actions.end());
      if (fails(shorter)) {
        actions = std::move(shorter);
        cut = true;
      } else {
        at += chunk;
      }
    }
    if (chunk == 1 && !cut) break;
    if (!cut) chunk /= 2;
    else chunk = std::min(chunk, std::max<size_t>(actions.size() / 2, 1));
  }
  return actions;
}

std::vector<Action> Monkey::shrink(std::vector<Action> actions, const Finding& finding) {
  if (finding.step + 1 < actions.size()) actions.resize(finding.step + 1);
  return shrinkByHalves(std::move(actions), [&](const std::vector<Action>& list) {
    const std::optional<Finding> f = run(list);
    return f && f->kind == finding.kind;
  });
}

}  // namespace zxp::monkey
