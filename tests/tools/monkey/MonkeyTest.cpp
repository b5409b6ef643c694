// The monkey on every example form and on generated forms (a short seeded run each), the
// monkey's own checks and shrinking against controls with planted faults, and the action lists
// of what it found, kept as regression tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/ControlBase.h"
#include "library/ClassTable.h"
#include "platform/base/HostError.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/Handles.h"
#include "platform/host/Form.h"
#include "platform/host/MemberTable.h"
#include "tools/monkey/Monkey.h"

namespace zxp {
namespace {

// A short run per form in the suite; sanitizer builds run about ten times slower, so fewer steps.
#if defined(__SANITIZE_ADDRESS__)
constexpr size_t kSteps = 300;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr size_t kSteps = 300;
#else
constexpr size_t kSteps = 2000;
#endif
#else
constexpr size_t kSteps = 2000;
#endif

std::string readText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string exampleForm(const std::string& name) {
  return readText(std::filesystem::path(ZXP_SOURCE_DIR) / "examples" / (name + ".zxf"));
}

// Runs the seeded monkey; a finding fails the test with the seed and the shortest list.
void runMonkey(const std::string& form, uint64_t seed, size_t steps) {
  monkey::Monkey m(form, library::classesWithPrivate(), {false, {}, {}});
  const std::vector<monkey::Action> actions = monkey::randomActions(seed, steps);
  const std::optional<monkey::Finding> f = m.run(actions);
  if (!f) return;
  const std::vector<monkey::Action> shortest = m.shrink(actions, *f);
  const std::optional<monkey::Finding> again = m.run(shortest);
  ADD_FAILURE() << "seed " << seed << ": " << kindName(f->kind) << " at step " << f->step << ": " << f->message
                << "\nshortest list (" << shortest.size() << " actions"
                << (again ? ", " + std::string(kindName(again->kind)) + ": " + again->message.substr(0, 300) : "")
                << "):\n"
                << monkey::actionsText(shortest);
}

class ExampleFormMonkey : public ::testing::TestWithParam<std::string> {};

TEST_P(ExampleFormMonkey, SurvivesASeededRun) { runMonkey(exampleForm(GetParam()), 47, kSteps); }

INSTANTIATE_TEST_SUITE_P(Monkey, ExampleFormMonkey,
                         ::testing::Values("bars", "buttons", "dates", "formskin", "grid", "labels-frames",
                                           "private-controls", "range", "tabs-images", "text", "toggles"),
                         [](const auto& info) {
                           std::string n = info.param;
                           std::replace(n.begin(), n.end(), '-', '_');
                           return n;
                         });

TEST(Monkey, EveryExampleFormHasARun) {
  size_t forms = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(ZXP_SOURCE_DIR) / "examples"))
    forms += entry.path().extension() == ".zxf";
  EXPECT_EQ(forms, 11u) << "a new example form needs its line in ExampleFormMonkey";
}

class GeneratedFormMonkey : public ::testing::TestWithParam<uint64_t> {};

TEST_P(GeneratedFormMonkey, SurvivesASeededRun) {
  runMonkey(monkey::generateForm(GetParam(), library::classes()), GetParam(), kSteps);
}

INSTANTIATE_TEST_SUITE_P(Monkey, GeneratedFormMonkey, ::testing::Values(1, 2, 3, 4));

// ---- What the monkey found: each shortest list, replayed on its form, finds nothing now ----

struct Regression {
  const char* name;
  const char* form;  // an example form
  const char* actions;
};

const Regression kRegressions[] = {
    // A Font of size 0 was taken, saved, and refused by the form-file reader ("font size out of
    // range"): late-bound fonts the file cannot carry are now refused with 380.
    {"FontOfSizeZero", "buttons", "set 376273035 1272133994 2143922355 1243206961\nsaveload 0 0 0 0\n"},
    // The label's Font set to an italic font left FontItalic False, and loading applied
    // FontItalic after Font: the italic was lost.
    {"LabelFontWithAttributes", "formskin", "set 3551663951 3489663975 614808894 1796408101\nsaveload 0 0 0 0\n"},
    // The same label's Font set to Nothing kept FontItalic True: loading made an italic font.
    {"LabelFontNothingAfterItalic", "labels-frames",
     "set 3551663951 3489663975 614808894 1796408101\nset 76859076 1674148608 3619379160 1023155006\n"
     "saveload 0 0 0 0\n"},
    // The check box's Font set to Nothing was saved as None; loading cleared FontBold on no font
    // and so made a default font.
    {"CheckBoxFontNothing", "toggles", "set 2075561463 1533215563 1844932560 3276070153\nsaveload 0 0 0 0\n"},
    // The hover underline of a link label was saved as part of its Font.
    {"LabelHoverUnderlineIsNotSaved", "labels-frames", "move 0 128 128 0\nadvance 60 0 0 0\nsaveload 0 0 0 0\n"},
    // IconSize changed with pictures stored at the old size: loading normalised them, so the
    // next save differed (IconSize 24), or dropped them (an IconSize no picture can be drawn at).
    {"ImageListIconSizeChange", "grid", "set 1120357097 3961182470 3981350252 3798129003\nsaveload 0 0 0 0\n"},
    {"ImageListIconSizeInvalid", "grid", "set 263516084 2136676529 2717675961 3925327557\nsaveload 0 0 0 0\n"},
    // A progress bar's Min and then Max set to the same value below 0: loading reads Max before
    // Min, and Max's setter raises it to the Min of the moment (0). The read order is the bar's.
    {"ProgressBarMaxBelowZero", "range",
     "set 2319969340 3649978506 2591713407 1262813742\nset 1811113945 1244324497 4278966583 2737674753\n"
     "saveload 4228680125 1593649389 1516409303 3884893033\n"},
    // The skin's Align set to none: it aligns itself to the top again when the loaded form
    // starts it, as the skin always does.
    {"SkinAlignNoneAtStart", "formskin",
     "set 0 1702293738 3135068008 2568631369\nsaveload 4143884219 3618693785 3960473721 266110732\n"},
    // An aligned control's Height set to 2^31 - 1 twips: the form's layout added the heights of
    // its aligned controls in 32 bits and overflowed (found by the sanitizer build's run).
    {"AlignedHeightPastTheTwipsRange", "bars", "set 4274764802 2988635465 3275469111 2213413954\n"},
    // A frame's HeaderHeight or IconSize set to 2^31 - 1: its drawing added to them in 32 bits.
    {"FrameIconSizePastTheDrawingRange", "labels-frames", "set 2285075840 3300985674 2080440366 3283596415\n"},
    {"FrameHeaderHeightPastTheDrawingRange", "labels-frames", "set 3540581021 2149890371 3167290167 2768434297\n"},
    // Two grid columns widened to 2^31 - 1 pixels: the list summed the column widths in 32 bits.
    {"GridColumnsPastTheDrawingRange", "grid",
     "call 330634046 2782478072 809183111 1658816294\ncall 563707649 375535665 3222772606 2510501820\n"},
    // The status bar aligned to the top under the tool bars, then a tool bar's CaptionAlingment
    // set to Bottom: the bar's 41-pixel minimum is enforced when it is resized, which loading
    // does, so on reload it grows and the status bar under it moves down. The tool bar's rule.
    // The skin's IconSize set to -2^31: the icon's rectangle was worked out in 32 bits.
    {"SkinIconSizePastTheDrawingRange", "formskin",
     "set 494631492 3669280016 471752742 556659236\nset 3374136824 85077447 4135034222 564262465\n"},
    // A scroll bar's Min set to -2^31 on the range form: the track beside the far thumb was
    // measured in 32 bits.
    {"ScrollBarTrackBesideAFarThumb", "range",
     "window 3553692396 1309954902 3479562022 1842710721\nsaveload 4177199752 1519740220 1791947906 997238587\n"
     "set 2764801485 570724023 3443381703 4243206348\nmove 264420277 3431868815 73714238 3531632168\n"
     "window 1611119049 2025814729 4018471113 2127638343\ndblclick 0 3837961475 1387453281 2170988869\n"},
    // A tool bar button's HeaderWidth set to -2^31 + 5: the buttons' edges added it in 32 bits.
    {"ToolBarHeaderWidthPastTheDrawingRange", "bars", "set 1838815917 555606277 1325161647 2608401647\n"},
    // A label's PictureSize set to a date far below zero, a picture, then AutoSize: the width it
    // asked for was negative, the host refused it, and the saved form did not load again.
    {"LabelAutoSizeWithANegativePictureSize", "labels-frames",
     "set 1329592375 529545007 3140395105 1138609195\nset 160098025 1242438345 1763203419 1128400727\n"
     "set 101701950 3939734631 3452580212 1157370756\nsaveload 3667141674 1030664299 2211678511 2474493564\n"},
    // A label with a picture and AutoSize, then PictureSize -2^31 + 5: the hover timer's redraw
    // was refused (a negative width), and the refused tick left its frame on the timers' list,
    // which the label's destruction walked into (the sanitizer build saw it).
    {"TimerTickRefusedByItsOwner", "formskin",
     "set 1714800187 3229187652 3718540516 3921991664\nset 384875643 1636362573 1723982606 866980266\n"
     "drag 2540181033 693178821 3855537034 271169467\nset 2795342875 3549517483 1960737607 1328938147\n"
     "drag 1759492702 2779420905 2800318916 4037371484\n"},
    // Labels aligned to the bottom edge of a minimised form and of one at its size: the height
    // each grows to differs on loading, and so does its top (a known loss).
    {"LabelAlignedToTheBottomOfAMinimisedForm", "labels-frames",
     "window 3099990084 3453157334 3211661068 3454587872\nset 639402104 3548967726 3521786853 3857690063\n"
     "saveload 3629227582 194947311 3605820429 3557561329\n"},
    {"LabelAlignedToTheBottomAtTwentyFiveTwips", "formskin",
     "set 20818827 16512320 3562370669 925881244\nset 358478799 735900731 3001782997 1364936047\n"
     "saveload 336533608 3983316881 153526775 3092525778\n"},
    // The grid's RowHeight set to 2^31 - 1, then a row added: the rows' bands added it in 32 bits.
    {"ListRowHeightPastTheDrawingRange", "grid",
     "set 3456805731 1753769408 1945092118 2056167506\ncall 3045166741 1261446589 235980683 4061863467\n"},
    // The grid's HeaderHeight set to 2^31 - 1: the rows' top was worked out in 32 bits.
    {"ListHeaderHeightPastTheDrawingRange", "grid", "set 715092925 1977161932 3217417446 2975086382\n"},
    {"StatusBarUnderAToolBarThatGrowsOnReload", "bars",
     "set 1770567503 1870459124 2070910387 37326932\nset 2132863290 2021371690 754791445 3066497525\n"
     "saveload 3658651007 2717625766 2912617095 1955388938\n"},
    // The same with the status bar aligned to the left: on reload it is shorter by what the tool
    // bar above it grew (long run, seed 2026006378).
    {"StatusBarBesideAToolBarThatGrowsOnReload", "bars",
     "set 2726436308 3242390778 898938531 2082979637\nset 4184550835 714215718 3070585372 3503507255\n"
     "saveload 3773826358 685338268 1550223330 3259181505\n"},
    // A pictured label sized by AutoSize with a picture size far below zero: 0 pixels wide at run
    // time, 20 after loading (plain long run, seed 2033010122).
    {"AutoSizedLabelNarrowerThanItsMinimum", "formskin",
     "set 2591837803 4100907329 4043928590 2631856771\nset 3917890019 1953239837 228683421 314073283\n"
     "set 3039378071 1823898511 3622172206 2478932086\nset 3903724991 1141288532 4278285695 905968506\n"
     "saveload 2411421865 1951626978 3851442036 3391152544\n"},
};

class MonkeyRegression : public ::testing::TestWithParam<Regression> {};

TEST_P(MonkeyRegression, ReplaysWithoutFinding) {
  monkey::Monkey m(exampleForm(GetParam().form), library::classesWithPrivate());
  const std::optional<monkey::Finding> f = m.run(monkey::parseActions(GetParam().actions));
  EXPECT_FALSE(f) << kindName(f->kind) << " at step " << f->step << ": " << f->message;
}

INSTANTIATE_TEST_SUITE_P(Monkey, MonkeyRegression, ::testing::ValuesIn(kRegressions),
                         [](const auto& info) { return std::string(info.param.name); });

// Findings on generated forms: the generated form's seed and the shortest list.
struct GeneratedRegression {
  const char* name;
  uint64_t formSeed;
  const char* actions;
};

const GeneratedRegression kGeneratedRegressions[] = {
    // A vertical scroll bar at -2^31 stepped by the wheel: Value - 1 overflowed.
    {"VerticalWheelAtTheBottomOfTheRange", 58,
     "set 580479810 954132923 2785095623 2033804255\ndrag 2921069304 2753417439 2526237502 1485411727\n"
     "click 1434616366 3417833519 865656529 2776010882\nclick 3210561887 4281667489 3324962322 2697027268\n"
     "wheel 1701831038 3904668540 1567698689 2347495037\n"},
    // A scroll bar placed near 2^31 inside its container: its screen position added the
    // container's origin in 32 bits when the thumb was placed.
    // A generated form's skin set unaligned, the form minimised through it, saved: loading
    // aligns the skin to the top of the minimised form, so its width is 0 (a known loss).
    {"SkinUnalignedOnAMinimisedForm", 75,
     "set 170064738 2542860514 2851759520 2898776361\nwindow 4223890158 2641729884 1322546862 2061134342\n"
     "saveload 3372962724 2939532569 2489084742 3695687475\n"},
    // A tab's caption in a large font laid out one row of auto-width tabs: TabWidth written back
    // as 1 736, read back clamped to 255 (a known loss).
    {"AutoTabWidthPastItsReadRange", 77,
     "set 3342125076 4126901222 680173067 1196878642\nset 155739715 2117750085 1566152757 287537121\n"
     "saveload 256850135 1457906464 3467454996 980236370\n"},
    // A skin set unaligned and moved down the form: loading aligns it to the top (a known loss).
    {"SkinUnalignedAndMovedDown", 78,
     "set 2277995202 2424763372 631928035 2164963441\nsaveload 3816106241 2777950475 679811167 2273702826\n"},
    // The skin's ShadowDepth set to 2^31 - 1: its shadow windows' edges were added in 32 bits.
    {"SkinShadowDepthPastTheDrawingRange", 76, "set 3054140982 3803240564 3036816086 1194141418\n"},
    // A label 1 340 twips wide (89 pixels and a third) set to AutoSize when its caption needs 89
    // pixels: it kept the odd twips, and loading its file made them 1 335.
    {"LabelAutoSizeOnAWidthOfOddTwips", 73,
     "set 147410440 733056794 16526205 3968189851\nsaveload 4057367121 4022676431 581535438 1265739947\n"},
    // A tab control's TabsPerRow set to 2^31 - 1: its count of rows added to it in 32 bits.
    {"TabsPerRowAtTheEndOfTheRange", 74,
     "set 1432291206 3513403061 784376380 1648747099\nset 487648524 4238379238 2469177238 993123743\n"},
    // The same on a generated form: Min -2^31 below a small Max, then a drag and a press.
    {"ScrollBarTrackWithMinAtTheBottomOfTheRange", 74,
     "set 3995861690 2013432120 3267278045 1011875005\nset 1647194582 4144675171 304944342 3468463784\n"
     "drag 1717332502 701609353 1285365149 4083179570\npress 827893278 3823539945 1516408853 1933824482\n"},
    {"ScrollBarPlacedAtTheEndOfTheRange", 57,
     "set 762933547 1098273135 1021763055 1755443886\nset 183012190 421632278 3237417031 1039241703\n"},
};

class MonkeyGeneratedRegression : public ::testing::TestWithParam<GeneratedRegression> {};

TEST_P(MonkeyGeneratedRegression, ReplaysWithoutFinding) {
  monkey::Monkey m(monkey::generateForm(GetParam().formSeed, library::classes()), library::classesWithPrivate());
  const std::optional<monkey::Finding> f = m.run(monkey::parseActions(GetParam().actions));
  EXPECT_FALSE(f) << kindName(f->kind) << " at step " << f->step << ": " << f->message;
}

INSTANTIATE_TEST_SUITE_P(Monkey, MonkeyGeneratedRegression, ::testing::ValuesIn(kGeneratedRegressions),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- The monkey's own checks, against a control with planted faults ----

// Mode (from the form file only): 1 leaks a brush per click, 2 saves Count one higher than it
// holds, 3 stops answering Fragile once clicked. Explode() throws a foreign exception.
class FaultyXP final : public foundation::ControlBase {
 public:
  int32_t Count() const { return count_; }
  void setCount(int32_t v) { count_ = v; }
  int32_t Fragile() const {
    if (broken_) throw HostError(5, "broken");
    return 1;
  }
  void Explode() { throw std::runtime_error("boom"); }

  const host::MemberTable& memberTable() const override {
    static const host::MemberTable table = host::ClassMembers<FaultyXP>("FaultyXP")
                                               .property("Count", &FaultyXP::Count, &FaultyXP::setCount)
                                               .readOnlyProperty("Fragile", &FaultyXP::Fragile)
                                               .method("Explode", &FaultyXP::Explode)
                                               .build();
    return table;
  }

 protected:
  void UserControl_Click() override {
    if (mode_ == 1) (void)CreateSolidBrush(0x00FF00);
    if (mode_ == 3) broken_ = true;
  }
  void UserControl_ReadProperties(host::PropertyBag& bag) override {
    count_ = bag.read<int32_t>("Count", 0);
    mode_ = bag.read<int32_t>("Mode", 0);
  }
  void UserControl_WriteProperties(host::PropertyBag& bag) override {
    bag.WriteProperty("Count", mode_ == 2 ? count_ + 1 : count_, int32_t{0});
    bag.WriteProperty("Mode", mode_, int32_t{0});
  }

 private:
  int32_t count_ = 0, mode_ = 0;
  bool broken_ = false;
};

const host::ClassRegistry& faultyClasses() {
  static const host::ClassRegistry r = [] {
    host::ClassRegistry c;
    c.add(host::ControlClass{"FaultyXP", 0, 0, [] { return std::make_unique<FaultyXP>(); }});
    return c;
  }();
  return r;
}

std::string faultyForm(int mode) {
  return "ZorvaXP Form 1\nBegin Form frmFaulty\n  ClientWidth = Long 4800\n  ClientHeight = Long 3600\n"
         "  Begin FaultyXP ctlFaulty\n    @Left = 600\n    @Top = 600\n    @Width = 2400\n    @Height = 1200\n"
         "    Mode = Long " + std::to_string(mode) + "\n  End\nEnd\n";
}

// Each planted fault is found with its kind, and cut down to the few actions that show it.
TEST(MonkeyChecks, FindEachPlantedFaultAndShrinkItToItsCause) {
  struct Case {
    int mode;
    monkey::FindingKind kind;
    size_t most;  // the shortest list has at most this many actions
  };
  const std::vector<monkey::Action> calm = [] {  // everything but calls (Explode is the next test's)
    std::vector<monkey::Action> a = monkey::randomActions(7, 600);
    std::erase_if(a, [](const monkey::Action& x) { return x.op == monkey::Op::Call; });
    return a;
  }();
  for (const Case c : {Case{1, monkey::FindingKind::Leak, 6}, Case{2, monkey::FindingKind::Persistence, 1},
                       Case{3, monkey::FindingKind::Members, 2}}) {
    SCOPED_TRACE(c.mode);
    monkey::Monkey m(faultyForm(c.mode), faultyClasses());
    const std::vector<monkey::Action>& actions = calm;
    const std::optional<monkey::Finding> f = m.run(actions);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->kind, c.kind) << f->message;
    const std::vector<monkey::Action> shortest = m.shrink(actions, *f);
    EXPECT_LE(shortest.size(), c.most) << monkey::actionsText(shortest);
    const std::optional<monkey::Finding> again = m.run(shortest);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->kind, c.kind);
  }
  // A control without faults gives nothing to find in the same run.
  monkey::Monkey clean(faultyForm(0), faultyClasses());
  EXPECT_FALSE(clean.run(calm));
}

TEST(MonkeyChecks, AForeignExceptionIsAFindingAndTheWindowSystemIsLeftClean) {
  monkey::Monkey m(faultyForm(0), faultyClasses());
  const std::optional<monkey::Finding> f = m.run(monkey::parseActions("call 0 0 0 0\n"));
  ASSERT_TRUE(f);
  EXPECT_EQ(f->kind, monkey::FindingKind::Exception);
  EXPECT_NE(f->message.find("boom"), std::string::npos);
  EXPECT_EQ(handles().liveCount(ObjKind::Window), 0u);
}

TEST(MonkeyChecks, ActionListsReadBackAsWrittenAndBadLinesAreNamed) {
  const std::vector<monkey::Action> actions = monkey::randomActions(3, 200);
  EXPECT_EQ(monkey::parseActions("# a comment\n\n" + monkey::actionsText(actions)), actions);
  EXPECT_EQ(monkey::randomActions(3, 200), actions);  // the seed decides
  EXPECT_NE(monkey::randomActions(4, 200), actions);
  try {
    monkey::parseActions("click 0 0 0 0\nfly 1 2 3 4\n");
    ADD_FAILURE() << "no error";
  } catch (const std::invalid_argument& e) {
    EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
  }
  EXPECT_THROW(monkey::parseActions("click 0 0\n"), std::invalid_argument);
  // Bytes from a fuzzer: 9 an action, every op reachable, a short tail padded.
  const uint8_t bytes[] = {17, 1, 0, 2, 0, 3, 0, 4, 0, 19, 9};
  const std::vector<monkey::Action> fromBytes = monkey::actionsFromBytes(bytes, sizeof bytes);
  ASSERT_EQ(fromBytes.size(), 2u);
  EXPECT_EQ(fromBytes[0].op, monkey::Op::SaveLoad);
  EXPECT_EQ(fromBytes[0].a, 1u);
  EXPECT_EQ(fromBytes[1].op, monkey::Op::Press);
  EXPECT_EQ(fromBytes[1].a, 9u);
}

}  // namespace
}  // namespace zxp
