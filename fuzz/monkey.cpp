// libFuzzer target: the monkey (tools/monkey) with its actions read from the input, so coverage
// steers what a user does. Byte 0 picks the form: one of the example forms, or (the last choice)
// a form generated from bytes 1 and 2; the rest is the action list, 9 bytes an action (at most
// 300 actions an input, at most one of them save -> load). Every check of the monkey applies
// (host errors only, members answer, nothing left after an unload, save -> load -> save the
// same); a finding prints its kind, step and message and aborts.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "library/ClassTable.h"
#include "tools/monkey/Monkey.h"

using namespace zxp;

namespace {

const std::vector<std::string>& exampleForms() {
  static const std::vector<std::string> forms = [] {
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(ZXP_SOURCE_DIR) / "examples"))
      if (entry.path().extension() == ".zxf") paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    std::vector<std::string> texts;
    for (const auto& p : paths) {
      std::ifstream in(p, std::ios::binary);
      std::ostringstream text;
      text << in.rdbuf();
      texts.push_back(text.str());
    }
    return texts;
  }();
  return forms;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const std::vector<std::string>& forms = exampleForms();
  const size_t pick = data[0] % (forms.size() + 1);
  // One monkey per form, kept between inputs: it learns once which members of that form stay
  // silent after loading, which every later input on the form would only learn again.
  const uint32_t key = pick < forms.size() ? static_cast<uint32_t>(pick)
                                           : 0x10000u + static_cast<uint32_t>(data[1] | (data[2] << 8));
  static std::map<uint32_t, std::unique_ptr<monkey::Monkey>> monkeys;
  if (monkeys.size() > 512) monkeys.clear();  // generated forms come in 65 536 kinds
  std::unique_ptr<monkey::Monkey>& kept = monkeys[key];
  if (!kept) {
    const std::string form = pick < forms.size() ? forms[pick]
                                                 : monkey::generateForm(key & 0xFFFF, library::classes(), 8);
    kept = std::make_unique<monkey::Monkey>(form, library::classesWithPrivate(), monkey::MonkeyOptions{false, {}, {}});
  }
  monkey::Monkey& m = *kept;
  std::vector<monkey::Action> actions = monkey::actionsFromBytes(data + 3, size - 3);
  if (actions.size() > 300) actions.resize(300);
  // A save -> unload -> load costs as much as a hundred other actions; past the first in an
  // input it becomes a clock step of 0 ms, so coverage rather than reloads fills the time.
  int reloads = 0;
  for (monkey::Action& a : actions)
    if (a.op == monkey::Op::SaveLoad && ++reloads > 1) a = monkey::Action{monkey::Op::Advance, 0, 0, 0, 0};
  if (const auto f = m.run(actions)) {
    std::fprintf(stderr, "monkey finding (%s at step %zu): %s\nactions:\n%s", std::string(kindName(f->kind)).c_str(),
                 f->step, f->message.c_str(), monkey::actionsText(actions).c_str());
    std::abort();
  }
  return 0;
}
