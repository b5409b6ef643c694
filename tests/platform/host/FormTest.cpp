#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <type_traits>

#include "library/ClassTable.h"
#include "platform/services/Library.h"
#include "platform/ui/Window.h"
#include "platform/ui/Edit.h"
#include "support/FormFixture.h"

namespace zxp::testing {
namespace {

using Form = FormTest;

std::vector<std::string> namesOf(const std::vector<host::Extender*>& v) {
  std::vector<std::string> out;
  for (auto* e : v) out.push_back(e->Name());
  return out;
}

std::string focusedName(const host::Form& f) {
  host::Extender* e = f.ActiveControl();
  return e ? e->Name() : "";
}

TEST_F(Form, TabAndShiftTabFollowTheTabOrder) {
  add("A", 300, 300);
  add("B", 300, 1200);
  add("C", 300, 2100);
  add("D", 2000, 300);
  // New controls go to the end of the tab order; setting a tab index moves the others.
  EXPECT_EQ(ext("D").TabIndex(), 3);
  ext("C").setTabIndex(0);  // C A B D
  EXPECT_EQ(ext("A").TabIndex(), 1);
  EXPECT_EQ(ext("D").TabIndex(), 3);
  ext("B").setTabStop(false);  // skipped
  EXPECT_EQ(namesOf(form->tabOrder()), (std::vector<std::string>{"C", "A", "D"}));

  // Forward around and past the end, then backward.
  SetFocus(form->hWnd());
  std::vector<std::string> visited;
  for (bool back : {false, false, false, false, true, true}) {
    if (back) input.chord({VK_SHIFT}, VK_TAB);
    else input.key(VK_TAB);
    visited.push_back(focusedName(*form));
  }
  EXPECT_EQ(visited, (std::vector<std::string>{"C", "A", "D", "C", "D", "A"}));

  // The Tab keys reach no control as key events.
  int keys = 0;
  form->controlAs<TestXP>("A")->KeyPress.connect([&](int16_t&) { ++keys; });
  form->controlAs<TestXP>("D")->KeyPress.connect([&](int16_t&) { ++keys; });
  input.key(VK_TAB);
  EXPECT_EQ(keys, 0);
  input.type("x");
  EXPECT_EQ(keys, 1);

  // Invisible and disabled controls are skipped.
  ext("A").setVisible(false);
  form->controlAs<TestXP>("C")->setEnabled(false);
  EXPECT_EQ(namesOf(form->tabOrder()), (std::vector<std::string>{"D"}));
}

// More controls than a 16-bit tab index counts: the form keeps a 32-bit order, TabIndex reads
// 32767 beyond it (never a negative number), and Tab and removal work across the whole order.
TEST_F(Form, MoreThan32767ControlsKeepTheirTabOrder) {
  constexpr int kControls = 32770;
  std::string text = "ZorvaXP Form 1\nBegin Form Many\n";
  // One pixel each: the test is about the order, not the drawing.
  for (int i = 0; i < kControls; ++i)
    text += "  Begin TestXP C" + std::to_string(i) + "\n    @Width = 15\n    @Height = 15\n  End\n";
  text += "End\n";
  form.reset();
  form = host::Form::load(text, registry);
  ASSERT_EQ(form->Controls().size(), static_cast<size_t>(kControls));
  EXPECT_EQ(form->control("C32769")->tabPosition(), kControls - 1);
  EXPECT_EQ(std::tuple(form->control("C32766")->TabIndex(), form->control("C32768")->TabIndex(), form->control("C32769")->TabIndex()),
            std::tuple(32766, 32767, 32767));

  SetFocus(form->control("C32767")->object().hWnd());
  form->moveFocus(true);
  EXPECT_EQ(focusedName(*form), "C32768");
  form->moveFocus(true);
  form->moveFocus(true);
  EXPECT_EQ(focusedName(*form), "C0");  // wraps around

  // Taking one out moves the later ones up by one.
  form->remove(*form->control("C5"));
  EXPECT_EQ(std::pair(form->control("C6")->tabPosition(), form->control("C32769")->tabPosition()), std::pair(5, kControls - 2));
  // Moving the last to the front moves every other one back.
  form->control("C32769")->setTabIndex(0);
  EXPECT_EQ(std::tuple(form->control("C0")->tabPosition(), form->control("C32768")->tabPosition(), form->control("C32768")->TabIndex()),
            std::tuple(1, kControls - 2, 32767));
}

// Tab belongs to the form wherever the focus is inside it: in an edit field a control holds, in
// a multi-line field too; only a window that asks for Tab (DLGC_WANTTAB) keeps it.
TEST_F(Form, TabFromAWindowInsideAControlMovesThroughTheForm) {
  TestXP& a = add("A", 300, 300, 3000, 900);
  add("B", 300, 1500);
  HWND edit = CreateWindowExA(0, WC_EDITA, "abc", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 2, 2, 150, 40, a.hWnd(), 0, 0, nullptr);
  ASSERT_TRUE(edit);
  SetFocus(edit);
  EXPECT_EQ(focusedName(*form), "A");
  input.key(VK_TAB);
  EXPECT_EQ(focusedName(*form), "B");
  char text[16] = {};
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "abc");  // no tab character typed
  input.chord({VK_SHIFT}, VK_TAB);
  EXPECT_EQ(focusedName(*form), "A");

  static int tabsSeen = 0;
  WNDCLASSA wc{};
  wc.lpfnWndProc = [](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
    if (msg == WM_GETDLGCODE) return DLGC_WANTTAB;
    if (msg == WM_KEYDOWN && w == static_cast<WPARAM>(VK_TAB)) ++tabsSeen;
    return DefWindowProcA(h, msg, w, l);
  };
  wc.lpszClassName = "WantsTab";
  RegisterClassA(&wc);
  HWND wants = CreateWindowExA(0, "WantsTab", "", WS_CHILD | WS_VISIBLE, 2, 44, 50, 10, a.hWnd(), 0, 0, nullptr);
  SetFocus(wants);
  input.key(VK_TAB);
  EXPECT_EQ(tabsSeen, 1);
  EXPECT_EQ(GetFocus(), wants);
}

TEST_F(Form, AlignedControlsArePlacedByTheForm) {
  form->setClientSize(4800, 3600);
  add("Top", 0, 0, 1000, 600);
  add("Bottom", 0, 0, 1000, 450);
  add("Left", 0, 0, 900, 1000);
  add("Free", 2000, 1500, 900, 300);
  ext("Top").setAlign(host::Align::vbAlignTop);
  ext("Bottom").setAlign(host::Align::vbAlignBottom);
  ext("Left").setAlign(host::Align::vbAlignLeft);
  auto rect = [&](const char* n) {
    host::Extender& e = ext(n);
    return std::vector<int32_t>{e.Left(), e.Top(), e.Width(), e.Height()};
  };
  using R = std::vector<int32_t>;
  EXPECT_EQ((std::vector<R>{rect("Top"), rect("Bottom"), rect("Left"), rect("Free")}),
            (std::vector<R>{{0, 0, 4800, 600}, {0, 3150, 4800, 450}, {0, 600, 900, 2550}, {2000, 1500, 900, 300}}));
  // The windows follow, in pixels.
  RECT r;
  GetClientRect(form->controlAs<TestXP>("Left")->hWnd(), &r);
  EXPECT_EQ(std::pair(r.width(), r.height()), std::pair(60, 170));
  // A resized form places them again; a control that resizes itself keeps its edge.
  form->setClientSize(6000, 3600);
  EXPECT_EQ(rect("Top"), (std::vector<int32_t>{0, 0, 6000, 600}));
  ext("Top").setHeight(900);
  EXPECT_EQ(rect("Left"), (std::vector<int32_t>{0, 900, 900, 2250}));
}

// Controls as tall or wide as twips go (2^31 - 1) stack past the 32-bit range: each is placed at
// the saturated edge, never at a wrapped-around negative one.
TEST_F(Form, AlignedControlsPastTheTwipsRangeSaturate) {
  form->setClientSize(4800, 3600);
  for (const char* n : {"Top1", "Top2", "Top3", "Right1", "Right2"}) add(n, 0, 0, 1000, 600);
  for (const char* n : {"Top1", "Top2", "Top3"}) {
    ext(n).setHeight(INT32_MAX);
    ext(n).setAlign(host::Align::vbAlignTop);
  }
  for (const char* n : {"Right1", "Right2"}) {
    ext(n).setWidth(INT32_MAX);
    ext(n).setAlign(host::Align::vbAlignRight);
  }
  EXPECT_EQ((std::vector<int32_t>{ext("Top1").Top(), ext("Top2").Top(), ext("Top3").Top()}),
            (std::vector<int32_t>{0, INT32_MAX, INT32_MAX}));
  EXPECT_EQ((std::vector<int32_t>{ext("Right1").Left(), ext("Right2").Left(), ext("Right2").Height()}),
            (std::vector<int32_t>{4800 - INT32_MAX, INT32_MIN, 0}));
}

TEST_F(Form, ContainersHoldTheirControlsAndMoveThem) {
  TestXP& frame = add("Frame1", 600, 600, 3000, 2000);
  host::Extender* frameExt = &ext("Frame1");
  TestXP& inner = add("Inner", 150, 300, 900, 300, frameExt);
  EXPECT_EQ(GetParent(inner.hWnd()), frame.hWnd());
  EXPECT_EQ(namesOf(form->controlsIn(frameExt)), (std::vector<std::string>{"Inner"}));
  EXPECT_EQ(namesOf(form->Controls()), (std::vector<std::string>{"Frame1", "Inner"}));
  RECT before, after;
  GetWindowRect(inner.hWnd(), &before);
  frameExt->setLeft(1500);
  GetWindowRect(inner.hWnd(), &after);
  EXPECT_EQ(after.left - before.left, 60);
  // A tab control hides a child by moving it far to the left.
  ext("Inner").setLeft(ext("Inner").Left() - 75000);
  GetWindowRect(inner.hWnd(), &after);
  EXPECT_EQ(after.left - before.left, 60 - 5000);
  // Removing the container removes what it holds.
  form->remove(*frameExt);
  EXPECT_TRUE(form->Controls().empty());
}

TEST_F(Form, AmbientPropertiesReachTheControls) {
  TestXP& a = add("Test1");
  host::AmbientProperties amb = a.extender()->Ambient();
  EXPECT_EQ(std::tuple(amb.UserMode, amb.DisplayName, amb.BackColor), std::tuple(true, "Test1", host::vbButtonFace));
  form->setUserMode(false);
  EXPECT_FALSE(a.extender()->Ambient().UserMode);
  // Invisible controls still show in a designer.
  ext("Test1").setVisible(false);
  EXPECT_TRUE(IsWindowVisible(a.hWnd()));
  form->setUserMode(true);
  EXPECT_FALSE(IsWindowVisible(a.hWnd()));
}

TEST_F(Form, NamesAreUniqueExceptInControlArrays) {
  add("Test1");
  EXPECT_THROW(add("test1"), HostError);
  host::ExtenderRecord r;
  r.index = 0;
  form->add(std::make_unique<TestXP>(), "Opt", r);
  r.index = 1;
  form->add(std::make_unique<TestXP>(), "Opt", r);
  EXPECT_THROW(form->add(std::make_unique<TestXP>(), "Opt", r), HostError);
  EXPECT_EQ(form->control("Opt", 1)->Index(), 1);
  form->controlAs<TestXP>("Opt", 1)->setCaption("x");
  EXPECT_EQ(form->changes().back().control, "Opt(1)");
  EXPECT_EQ(form->control("Opt", 1)->Ambient().DisplayName, "Opt(1)");
}

// A form that lives long (a progress bar fed for hours) keeps only its latest property changes,
// newest last, and is modified until the changes are cleared.
TEST_F(Form, KeepsOnlyItsLatestPropertyChanges) {
  TestXP& a = add("Test1");
  const size_t keep = std::remove_cvref_t<decltype(form->changes())>::kKeep, made = 5 * keep + 1;
  for (size_t i = 0; i < made; ++i) a.setCaption(i % 2 ? "odd" : "even");
  const auto& changes = form->changes();
  EXPECT_EQ(changes.total(), made);
  EXPECT_GE(changes.size(), keep);
  EXPECT_LT(changes.size(), 2 * keep);
  EXPECT_EQ(std::tuple(changes.back().control, changes.back().property), std::tuple("Test1", "Caption"));
  EXPECT_TRUE(form->modified());
  form->clearChanges();
  EXPECT_FALSE(form->modified());
  EXPECT_EQ(changes.total(), 0u);
}

// The name look-up stays right while controls come and go in any order: enough names to grow
// the table several times and share slots, control arrays whose members answer in the order they
// were added, and every remaining name found (in any case) after each removal.
TEST_F(Form, NamesAreFoundAfterRemovalsInAnyOrder) {
  host::ExtenderRecord r;
  r.width = r.height = 15;
  std::vector<std::string> names;
  for (int i = 0; i < 300; ++i) {
    names.push_back("Ctl" + std::to_string(i));
    form->add(std::make_unique<TestXP>(), names.back(), r);
  }
  for (int16_t i : {int16_t{7}, int16_t{2}, int16_t{5}}) {
    r.index = i;
    form->add(std::make_unique<TestXP>(), "Arr", r);
  }
  EXPECT_EQ(form->control("ARR")->Index(), 7);  // the first one added
  form->remove(*form->control("arr", 7));
  EXPECT_EQ(form->control("Arr")->Index(), 2);
  EXPECT_EQ(form->control("Arr", 5)->Index(), 5);
  EXPECT_EQ(form->control("Arr", 7), nullptr);

  // Remove in a scrambled order (a step coprime with the count visits each once).
  std::vector<bool> gone(names.size());
  for (size_t k = 0, at = 0; k < names.size(); ++k, at = (at + 113) % names.size()) {
    form->remove(*form->control(names[at]));
    gone[at] = true;
    if (k % 37 != 0) continue;  // a full check now and then keeps the test quick
    for (size_t i = 0; i < names.size(); ++i) {
      host::Extender* e = form->control("cTL" + std::to_string(i));
      if (gone[i]) ASSERT_EQ(e, nullptr) << names[i];
      else ASSERT_TRUE(e && e->Name() == names[i]) << names[i];
    }
  }
  EXPECT_EQ(form->Controls().size(), 2u);
  add("Ctl0");  // a removed name is free again
}

// Unloading takes every control out (each told with Terminate) and leaves none findable.
TEST_F(Form, UnloadRemovesEveryControl) {
  for (int i = 0; i < 50; ++i) add("U" + std::to_string(i));
  int unloaded = 0;
  form->Unloaded.connect([&] { ++unloaded; });
  form->Unload();
  EXPECT_EQ(unloaded, 1);
  EXPECT_TRUE(form->Controls().empty());
  EXPECT_EQ(form->control("U49"), nullptr);
}

TEST_F(Form, SavesAndLoadsEveryValueTypeThroughTheControls) {
  form->setCaption("Round trip");
  TestXP& frame = add("Frame1", 120, 120, 4000, 3000);
  TestXP& a = add("Test1", 240, 360, 1215, 375, &ext("Frame1"));
  a.setCaption("&Go \"now\"");
  a.setColorNormal(0x80000005);
  a.setHiglightMouseOver(false);
  a.setStyle(TestXP::StyleType::Raised);
  a.setRatio(0.1f);
  a.setScale(-1e300);
  a.setCreated(*host::makeDate(2024, 2, 29, 13, 45, 10));
  auto argb = gfx::Surface::create(8, 6);
  argb->fill(0xFF336699u);
  a.setPicture(gfx::Picture::fromIcon(gfx::createIconFromArgb(*argb)));
  gfx::FontDesc f;
  f.name = "Verdana";
  f.size = 9.75;
  f.italic = true;
  a.setFont(std::make_shared<const gfx::FontDesc>(f));
  a.setMousePointer(99);
  a.setEnabled(false);
  ext("Test1").setTabStop(false);
  ext("Frame1").setTabIndex(1);
  frame.setColorHover(0x10);

  std::string text = form->save();
  auto loaded = host::Form::load(text, registry);
  EXPECT_EQ(loaded->Caption(), "Round trip");
  TestXP* b = loaded->controlAs<TestXP>("Test1");
  ASSERT_TRUE(b);
  EXPECT_EQ(loaded->control("Test1")->Container(), loaded->control("Frame1"));
  EXPECT_EQ(b->lifecycle, (std::vector<std::string>{"Initialize", "ReadProperties", "Resize"}));
  EXPECT_EQ(std::tuple(b->Caption(), b->AccessKeys(), b->ColorNormal(), b->HiglightMouseOver(), b->Style(), b->Ratio(),
                       b->Scale(), b->MousePointer(), b->Enabled()),
            std::tuple("&Go \"now\"", "G", 0x80000005u, false, TestXP::StyleType::Raised, 0.1f, -1e300, 99, false));
  EXPECT_EQ(b->Created(), a.Created());
  EXPECT_EQ(std::tuple(b->Picture().Type(), b->Picture().width()), std::tuple(vbPicTypeIcon, 8));
  EXPECT_EQ(*b->Font(), f);
  const host::Extender& t = *loaded->control("Test1");
  EXPECT_EQ(std::tuple(t.TabStop(), t.Left(), t.Height()), std::tuple(false, 240, 375));
  EXPECT_EQ(std::tuple(loaded->control("Frame1")->TabIndex(), loaded->controlAs<TestXP>("Frame1")->ColorHover()),
            std::tuple(1, 0x10u));
  EXPECT_FALSE(loaded->modified());  // loading is not a change
  // Saving the loaded form gives the same file.
  EXPECT_EQ(loaded->save(), text);
}

TEST_F(Form, LoadErrorsNameTheLine) {
  struct Case {
    std::string body;
    int line;
    const char* fragment;
  };
  const std::string head = "ZorvaXP Form 1\nBegin Form F\n";
  const Case cases[] = {
      {"  Begin NoSuchClass X\n  End\nEnd\n", 3, "unknown control class 'NoSuchClass'"},
      {"  Begin TestXP A\n    Style = String \"wide\"\n  End\nEnd\n", 4, "A, property Style: Type mismatch"},
      {"  Begin TestXP A\n    Style = Long 70000\n  End\nEnd\n", 4, "Overflow"},
      {"  Begin TestXP A\n  End\n  Begin TestXP a\n  End\nEnd\n", 5, "already in use"},
      {"  ClientWidth = String \"x\"\nEnd\n", 3, "Type mismatch"},
      // A form-level value names its own line and key, not the last key read.
      {"  Caption = String \"c\"\n  ClientHeight = Long 900\n  ClientWidth = Long -5\n  Font = Font \"Tahoma\" 8\nEnd\n", 5,
       "form F, property ClientWidth: Invalid property value"},
      {"  ClientHeight = Long -1\n  ClientWidth = Long 5\nEnd\n", 3, "property ClientHeight"},
      // Only a container holds controls.
      {"  Begin TestPlain P\n    Begin TestXP Q\n    End\n  End\nEnd\n", 4,
       "P cannot contain controls (TestXP Q)"},
      // Names from the file are quoted short, however long they are.
      {"  Begin \"" + std::string(100000, 'N') + "\" A\n  End\nEnd\n", 3, "unknown control class 'NNNN"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    try {
      host::Form::load(head + c.body, registry);
      ADD_FAILURE() << "no error";
    } catch (const host::FormFileError& e) {
      EXPECT_EQ(e.line(), c.line) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.fragment), std::string::npos) << e.what();
      EXPECT_LT(std::string(e.what()).size(), 120u) << e.what();
    }
  }
  // A failed load leaves nothing behind.
  EXPECT_EQ(services::libraryRefCount("Shell32.dll"), 0);
}

TEST_F(Form, AnEmptyCaptionSavesAndLoadsBackEmpty) {
  // Also what a caption cut at a NUL (the window text ends there) becomes.
  for (const std::string& caption : {std::string(""), std::string("\\x00\\x00Buttons")}) {
    const std::string text = "ZorvaXP Form 1\nBegin Form F\n  Caption = String \"" + caption + "\"\nEnd\n";
    auto loaded = host::Form::load(text, registry);
    EXPECT_EQ(loaded->Caption(), "");
    const std::string once = loaded->save();
    EXPECT_NE(once.find("Caption = String \"\""), std::string::npos) << once;
    EXPECT_EQ(host::Form::load(once, registry)->save(), once);
  }
  // Without the key the caption is the form's name, and nothing is written for it.
  auto plain = host::Form::load("ZorvaXP Form 1\nBegin Form F\nEnd\n", registry);
  EXPECT_EQ(plain->Caption(), "F");
  EXPECT_EQ(plain->save().find("Caption"), std::string::npos);
  EXPECT_FALSE(plain->modified());
}

TEST_F(Form, KeysNoControlReadsAreListedWithTheirLines) {
  const std::string text =
      "\xEF\xBB\xBFZorvaXP Form 1\n"  // an editor's byte-order mark is no obstacle
      "Begin Form F\n"
      "  Captoin = String \"typo\"\n"
      "  ClientWidth = Long 3000\n"
      "  Begin TestXP A\n"
      "    Caption = String \"ok\"\n"
      "    HiglightMouseOvr = Boolean False\n"
      "  End\n"
      "End\n";
  auto loaded = host::Form::load(text, registry);
  std::vector<std::tuple<int, std::string, std::string>> unknown;
  for (const auto& k : loaded->unknownKeys()) unknown.emplace_back(k.line, k.owner, k.key);
  EXPECT_EQ(unknown, (std::vector<std::tuple<int, std::string, std::string>>{{3, "form F", "Captoin"},
                                                                            {7, "A", "HiglightMouseOvr"}}));
  EXPECT_EQ(loaded->controlAs<TestXP>("A")->Caption(), "ok");
  // Every key a form saves is one its controls read back.
  EXPECT_TRUE(host::Form::load(loaded->save(), registry)->unknownKeys().empty());
}

TEST_F(Form, AccessKeysAreWholeCharacters) {
  TestXP& a = add("A");
  a.setCaption("&\xC3\x9C" "bung");  // U+00DC: two bytes
  EXPECT_EQ(a.AccessKeys(), "\xC3\x9C");
  // Neither of its bytes is a key of its own.
  EXPECT_FALSE(form->accessKey('\xC3') || form->accessKey('\x9C'));
  a.setCaption("&Go");
  EXPECT_TRUE(form->accessKey('g'));
}

// A form's load packs each control's pictures once the control has drawn them, before anything
// composes the screen: a load never holds all its controls' pictures unpacked at once.
TEST_F(Form, ALoadPacksEachControlsPicturesBeforeTheFirstComposition) {
  std::string text = "ZorvaXP Form 1\nBegin Form Packed\n  ClientWidth = Long 9000\n  ClientHeight = Long 3000\n";
  const char* kinds[] = {"ZorvaXPButton", "ZorvaXPCheckBox", "ZorvaXPLabel", "ZorvaXPTextBox"};
  for (int i = 0; i < 4; ++i)
    text += std::string("  Begin ") + kinds[i] + " C" + std::to_string(i) + "\n    @Left = " + std::to_string(i * 1800) +
            "\n    @Width = 1650\n    @Height = 345\n  End\n";
  form.reset();
  form = host::Form::load(text + "End\n", library::classes());
  int packed = 0, unpacked = 0;
  for (ui::Window* w : ui::windowFromHandle(form->hWnd())->children)
    ui::forEachInTree(w, [&](ui::Window* c) {
      if (!c->surface || c->surface->showsShared()) return;
      (c->surface->packed() ? packed : unpacked) += 1;
    });
  EXPECT_GE(packed, 4);  // one a control at least
  EXPECT_EQ(unpacked, 0);
}

}  // namespace
}  // namespace zxp::testing
