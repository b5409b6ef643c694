// The monkey: a seeded driver that loads a form and plays random user and program actions on it
// (mouse, wheel, keys, focus, the form's window, the virtual clock, late-bound property sets and
// method calls, save -> unload -> load), checking after every step what must always hold:
//   - no exception other than the host's error (HostError) comes out of a call;
//   - every control still answers every readable property of its member table;
//   - after every unload no window, device context, drawing object, menu, hook or timer is left;
//   - save -> load -> save gives the same text (compared key by key; values that a control's own
//     loading rules change are listed with their rule in Monkey.cpp's kKnownLosses).
// An action carries all its random choices as numbers (a control, a member, a value are picked
// modulo what the form has when it runs), so a list of actions replays the same way, can be cut
// down by halves to the shortest list that still fails, and is written and read as text lines
// ("click 0 0 0 0"): a failure's list becomes a regression test as it stands.
//
//   monkey::Monkey m(formText, library::classesWithPrivate());
//   auto actions = monkey::randomActions(seed, 2000);
//   if (auto f = m.run(actions)) { auto shortest = m.shrink(actions, *f); ... }
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/ClassRegistry.h"

namespace zxp::host {
class Form;
struct Member;
}

namespace zxp::monkey {

enum class Op : uint8_t {
  Move,         // a: place (a control, the form, outside), b, c: where in it (0..255 of its size)
  Press,        // a: button
  Release,      // a: button
  Click,        // a: button
  DoubleClick,  // a: button
  Drag,         // a: from place, b: to place, c: button, d: four bytes of where (from x, y, to x, y)
  Wheel,        // a: notches (a % 11 - 5)
  Key,          // a: key, b: modifiers (1 Shift, 2 Ctrl, 4 Alt)
  KeyDown,      // a: key
  KeyUp,        // a: key
  Type,         // a: text
  Alt,          // a: letter
  Focus,        // a: control (SetFocus), b & 1: Tab order instead (b & 2 backwards)
  Window,       // a: what (minimise, maximise, restore, resize, move, drag the title), b, c: amounts
  Advance,      // a: milliseconds (a % 2001)
  Set,          // a: control, b: property, c: kind of value, d: value
  Call,         // a: control, b: method, c: kind of arguments, d: values
  SaveLoad,     // save, unload, load the saved text back
  Count_
};

struct Action {
  Op op = Op::Advance;
  uint32_t a = 0, b = 0, c = 0, d = 0;
  friend bool operator==(const Action&, const Action&) = default;
};

// One action a line: "<op> a b c d"; parseActions reads what actionsText wrote (blank lines and
// lines starting with # are skipped) and throws std::invalid_argument naming a bad line.
std::string actionText(const Action& a);
std::string actionsText(const std::vector<Action>& actions);
std::vector<Action> parseActions(std::string_view text);

// `count` actions drawn from a generator seeded with `seed`; the same seed gives the same list.
std::vector<Action> randomActions(uint64_t seed, size_t count);
// Actions read from raw bytes (the fuzzer's input): 9 bytes an action, an op byte and four
// 16-bit numbers; a short tail is padded with zeros.
std::vector<Action> actionsFromBytes(const uint8_t* data, size_t size);

enum class FindingKind : uint8_t { Load, Exception, Members, Leak, Persistence };
std::string_view kindName(FindingKind k);

struct Finding {
  FindingKind kind = FindingKind::Exception;
  size_t step = 0;  // the action that was running (its index), or the count for the final checks
  std::string message;
};

struct MonkeyOptions {
  // Check every readable property of every control after each step (the full check is also
  // done after every load); when false, one control in turn is checked per step.
  bool checkAllMembersEachStep = true;
  // Prints each action before it runs (for replaying a crash by hand).
  std::function<void(size_t, const Action&)> trace;
  // Told what a property set or method call did ("lblInfo.Font = Font 'Tahoma' 72"), for replays.
  std::function<void(const std::string&)> note;
};

class Monkey {
 public:
  Monkey(std::string formText, const host::ClassRegistry& classes, MonkeyOptions options = {});
  ~Monkey();

  // Resets the window system, loads the form and plays the actions, checking after each one; at
  // the end the form is unloaded and checked for leftovers. The first finding, or none.
  std::optional<Finding> run(const std::vector<Action>& actions);
  // The shortest list found by cutting halves, then quarters, ... out of `actions` (first cut
  // after the failing step) while the run still fails with a finding of the same kind.
  std::vector<Action> shrink(std::vector<Action> actions, const Finding& finding);

  // Counters of the last run, for reports.
  size_t stepsRun() const { return steps_; }
  size_t reloads() const { return reloads_; }
  size_t hostErrors() const { return hostErrors_; }
  // Reloads that changed only values a control's own rules change on loading (see Monkey.cpp's
  // kKnownLosses).
  size_t knownLosses() const { return knownLosses_; }

 private:
  struct Session;
  std::string text_;
  const host::ClassRegistry& classes_;
  MonkeyOptions options_;
  size_t steps_ = 0, reloads_ = 0, hostErrors_ = 0, knownLosses_ = 0;
  // Members that do not answer right after the form's first load (learnt by the first run).
  std::set<const host::Member*> silent_;
  bool learned_ = false;
};

// A form file with random controls of every class of `classes` that a form can hold, some
// nested in frames and tab controls (two levels at most), sometimes under a form skin.
std::string generateForm(uint64_t seed, const host::ClassRegistry& classes, size_t controls = 14);

// The shortest list found by cutting stretches of halving length out of `actions` while `fails`
// still holds for what is left (the monkey's shrink, and the forked one of zorvaxp-monkey).
std::vector<Action> shrinkByHalves(std::vector<Action> actions, const std::function<bool(const std::vector<Action>&)>& fails);

}  // namespace zxp::monkey
