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
#include "platform/gfx/Handles.h"
#include "platform/host/Form.h"
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
  monkey::Monkey m(form, library::classesWithPrivate(), {false, {}});
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

}  // namespace
}  // namespace zxp
