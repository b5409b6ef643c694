// zorvaxp-monkey: runs the monkey over form files and generated forms, for as many steps as asked.
//
//   zorvaxp-monkey [--steps N] [--per-run N] [--seed S] [--generated K] [--rss-every N] [--fork]
//                  [--replay ACTIONS] [--dump] [--quick-exit] [FORM...]
//
// Each run loads one form (the files in turn, then K generated forms) with a seed of its own and
// plays --per-run random actions (default 2000); runs follow each other until --steps actions
// have run in all. A finding prints the form, the seed, the kind and the shortest action list
// (cut by halves), also written to monkey-<seed>.actions. With --fork every run and every
// shrinking attempt runs in a child process, so a crash or a sanitizer report is found, named
// and shrunk like any other finding. --rss-every prints the resident memory, the heap in use and
// the font caches' share of it every N steps.
// --replay plays an action list on the first form and reports what it finds; --dump prints the
// first run's actions instead of running them. --quick-exit leaves without running the static
// destructors, so that a heap profiler (heaptrack) lists as leaked what the run still held at the
// end: the caches and records that grow with the steps.
// Exit status: 0 when nothing was found, 1 when something was, 2 for bad arguments.
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "library/ClassTable.h"
#include "platform/services/FileIo.h"
#include "platform/gfx/FontEngine.h"
#include "tools/monkey/Monkey.h"

using namespace zxp;

namespace {

// A whole file through the project's safe reader; std::runtime_error naming the reason.
std::string readFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  const services::FileOutcome got = services::readRegularFile(path, 64 << 20, bytes);
  if (!got) throw std::runtime_error(path + ": " + got.reason);
  return std::string(bytes.begin(), bytes.end());
}

struct FormSource {
  std::string name;
  std::string text;
};

long residentKiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

// The sanitizer's allocator answers this in the sanitizer build; elsewhere it is absent.
extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

namespace {

// The heap in use (live allocations), beside the resident memory: the sanitizer's allocator keeps
// freed memory mapped, so only this one says whether the program itself grows.
long heapInUseKiB() {
  if (__sanitizer_get_current_allocated_bytes) return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
  const struct mallinfo2 info = mallinfo2();
  return static_cast<long>((info.uordblks + info.hblkhd) / 1024);
}

// One sample of the memory curve: resident memory, the heap in use and, of that heap, what the
// shared font caches hold (the largest cache the library keeps).
void printMemory(uint64_t steps) {
  const gfx::FontCacheUse fonts = gfx::fontCacheUse();
  std::cout << "RSS steps=" << steps << " kib=" << residentKiB() << " heap-kib=" << heapInUseKiB()
            << " fonts=" << fonts.fonts << " glyph-kib=" << fonts.glyphBytes / 1024 << std::endl;
}

// The outcome of a run in a child process: -1 nothing found, a FindingKind, or 100 + a signal.
int runForked(monkey::Monkey& m, const std::vector<monkey::Action>& actions) {
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const auto f = m.run(actions);
    if (f) std::fprintf(stderr, "  [%s at step %zu] %s\n", std::string(kindName(f->kind)).c_str(), f->step,
                        f->message.substr(0, 400).c_str());
    std::_Exit(f ? 10 + static_cast<int>(f->kind) : 0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFSIGNALED(status)) return 100 + WTERMSIG(status);
  const int code = WEXITSTATUS(status);
  return code == 0 ? -1 : (code >= 10 && code < 20 ? code - 10 : 100 + code);
}

std::vector<monkey::Action> shrinkForked(monkey::Monkey& m, std::vector<monkey::Action> actions, int outcome) {
  return monkey::shrinkByHalves(std::move(actions),
                                [&](const std::vector<monkey::Action>& list) { return runForked(m, list) == outcome; });
}

void report(const FormSource& form, uint64_t seed, const std::string& what, const std::vector<monkey::Action>& list) {
  std::cout << "FINDING " << what << "\n  form: " << form.name << "\n  seed: " << seed << "\n  shortest list ("
            << list.size() << " actions):\n";
  std::string text = actionsText(list);
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) std::cout << "    " << line << "\n";
  const std::string file = "monkey-" + std::to_string(seed) + ".actions";
  std::ofstream(file) << "# form: " << form.name << "\n# seed: " << seed << "\n# " << what << "\n" << text;
  std::cout << "  written to " << file << std::endl;
}

int usage() {
  std::cerr << "usage: zorvaxp-monkey [--steps N] [--per-run N] [--seed S] [--generated K] [--rss-every N] "
               "[--fork] [--replay ACTIONS] [--dump] [--quick-exit] [FORM...]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  uint64_t steps = 0, perRun = 2000, seed = 1, generated = 0, rssEvery = 0;
  bool forked = false, dump = false, quickExit = false;
  std::string replay;
  std::vector<FormSource> forms;
  try {
    for (int i = 1; i < argc; ++i) {
      const std::string arg = argv[i];
      const auto next = [&]() -> std::string {
        if (i + 1 >= argc) throw std::invalid_argument(arg + " needs a value");
        return argv[++i];
      };
      if (arg == "--steps") steps = std::stoull(next());
      else if (arg == "--per-run") perRun = std::max<uint64_t>(1, std::stoull(next()));
      else if (arg == "--seed") seed = std::stoull(next());
      else if (arg == "--generated") generated = std::stoull(next());
      else if (arg == "--rss-every") rssEvery = std::stoull(next());
      else if (arg == "--fork") forked = true;
      else if (arg == "--dump") dump = true;
      else if (arg == "--quick-exit") quickExit = true;
      else if (arg == "--replay") replay = next();
      else if (!arg.empty() && arg[0] == '-') throw std::invalid_argument("unknown option " + arg);
      else forms.push_back({arg, readFile(arg)});
    }
  } catch (const std::exception& e) {
    std::cerr << "zorvaxp-monkey: " << e.what() << "\n";
    return usage();
  }
  for (uint64_t g = 0; g < generated; ++g)
    forms.push_back({"generated form " + std::to_string(seed + g),
                     monkey::generateForm(seed + g, library::classes())});
  if (forms.empty()) return usage();
  const host::ClassRegistry& classes = library::classesWithPrivate();

  if (!replay.empty()) {
    std::vector<monkey::Action> list;
    try {
      list = monkey::parseActions(readFile(replay));
    } catch (const std::exception& e) {
      std::cerr << "zorvaxp-monkey: " << e.what() << "\n";
      return 2;
    }
    monkey::Monkey m(forms[0].text, classes,
                     {true, [](size_t i, const monkey::Action& a) { std::cerr << i << ": " << actionText(a) << "\n"; },
                      [](const std::string& what) { std::cerr << "    " << what << "\n"; }});
    const auto f = m.run(list);
    if (!f) {
      std::cout << "no finding in " << list.size() << " actions\n";
      return 0;
    }
    std::cout << kindName(f->kind) << " at step " << f->step << ": " << f->message << "\n";
    return 1;
  }

  if (steps == 0) steps = perRun * forms.size();
  std::map<std::string, int> findings;
  uint64_t done = 0, nextSample = rssEvery, runs = 0, reloads = 0, hostErrors = 0;
  if (rssEvery) printMemory(0);
  for (uint64_t run = 0; done < steps; ++run) {
    const FormSource& form = forms[run % forms.size()];
    const uint64_t runSeed = seed * 1000003u + run;
    const uint64_t count = std::min<uint64_t>(perRun, steps - done);
    const std::vector<monkey::Action> actions = monkey::randomActions(runSeed, count);
    if (dump) {  // the run's actions, for --replay
      std::cout << actionsText(actions);
      return 0;
    }
    monkey::Monkey m(form.text, classes, {false, {}, {}});
    std::cerr << "run " << run << ": " << form.name << " seed " << runSeed << " steps " << count << "\n";
    if (forked) {
      const int outcome = runForked(m, actions);
      if (outcome >= 0) {
        const std::string what = outcome >= 100 ? "crash (signal or exit " + std::to_string(outcome - 100) + ")"
                                                : std::string(kindName(static_cast<monkey::FindingKind>(outcome)));
        ++findings[what];
        report(form, runSeed, what, shrinkForked(m, actions, outcome));
      }
    } else {
      const auto f = m.run(actions);
      reloads += m.reloads();
      hostErrors += m.hostErrors();
      if (f) {
        const std::string what = std::string(kindName(f->kind)) + ": " + f->message.substr(0, 300);
        ++findings[std::string(kindName(f->kind))];
        report(form, runSeed, what, m.shrink(actions, *f));
      }
    }
    done += count;
    ++runs;
    while (rssEvery && done >= nextSample) {
      printMemory(done);
      nextSample += rssEvery;
    }
  }
  std::cout << "steps " << done << " runs " << runs << " forms " << forms.size() << " reloads " << reloads
            << " host-errors " << hostErrors << " findings";
  int total = 0;
  for (const auto& [kind, n] : findings) {
    std::cout << " " << kind << "=" << n;
    total += n;
  }
  std::cout << (total ? "" : " none") << std::endl;
  if (quickExit) {
    std::fflush(nullptr);
    std::_Exit(total ? 1 : 0);
  }
  return total ? 1 : 0;
}
