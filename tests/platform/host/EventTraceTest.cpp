// Event tracing binds every event of every control by name and reports each raise as a call line.
#include <gtest/gtest.h>

#include "platform/host/EventTrace.h"
#include "support/FormFixture.h"

namespace zxp::testing {
namespace {

using EventTrace = FormTest;

TEST_F(EventTrace, EveryEventOfEveryControlIsReportedWithItsArguments) {
  add("cmdOk", 300, 300, 1500, 600);  // 20 x 40 pixels at (20, 20)
  host::ExtenderRecord r = host::ExtenderRecord::inPixels(20, 100, 100, 40);
  r.index = 2;
  form->add(std::make_unique<TestXP>(), "Opt", r);

  std::vector<std::string> lines;
  // Each TestXP lists four events; both controls are bound.
  EXPECT_EQ(host::traceEvents(*form, [&](const std::string& l) { lines.push_back(l); }), 8u);

  HWND ok = form->control("cmdOk")->object().hWnd();
  input.moveTo(ok, Point{14, 9}).click();
  EXPECT_EQ(lines, (std::vector<std::string>{"cmdOk.MouseMove(0, 0, 14, 9)", "cmdOk.MouseDown(1, 0, 14, 9)",
                                             "cmdOk.Click"}));
  lines.clear();
  input.type("a");
  EXPECT_EQ(lines, (std::vector<std::string>{"cmdOk.KeyPress(97)"}));

  // Control-array members carry their index; the other control's events are bound too.
  lines.clear();
  input.moveTo(form->control("Opt", 2)->object().hWnd(), Point{3, 4});
  EXPECT_EQ(lines, (std::vector<std::string>{"Opt(2).MouseMove(0, 0, 3, 4)"}));
}

TEST_F(EventTrace, ArgumentsAreWrittenAsTheHostWritesValues) {
  add("Txt");
  const host::Extender& e = ext("Txt");
  EXPECT_EQ(host::formatEventCall(e, "Change", {}), "Txt.Change");
  EXPECT_EQ(host::formatEventCall(e, "Scroll", {host::Variant(1.5f), host::Variant(true), host::Variant("a b")}),
            "Txt.Scroll(1.5, True, \"a b\")");
  // An empty object argument reads as the host names it.
  EXPECT_EQ(host::formatEventCall(e, "Pic", {host::Variant(host::PictureRef())}), "Txt.Pic(Nothing)");
}

}  // namespace
}  // namespace zxp::testing
