// Our forms beside Qt Widgets forms holding the nearest Qt widgets in the same places (the table
// in qt/QtPeers.cpp), measured in one run. The Qt side is measured twice, its form loaded from a
// Designer file by QUiLoader ("qt_ui") and built in code ("qt_code"); the better of the two is
// the baseline "qt". Each iteration is one round of every side, the order reversed every other
// round; the figures are the medians of the rounds.
//
//   BM_AgainstQt_ExampleForms_LoadAndFirstPaint   the eleven example forms (137 controls), each
//                                                 loaded and painted once, then closed untimed
//   BM_AgainstQt_Mixed200_LoadAndFirstPaint       the form of 200 mixed controls (BenchForm.h)
//   BM_AgainstQt_Mixed200x10_LoadAndFirstPaint    ten copies of it, all kept open
//   BM_AgainstQt_Mixed200_Teardown                closing the painted form of 200 controls
//   BM_AgainstQt_Mixed200x10_MemoryPerControl     resident memory per control with ten copies
//                                                 open (2 000 controls), each side in a fresh
//                                                 process of this program (--memory-child)
//   BM_AgainstQt_Process_FormToPng                zorvaxp-render FORM --out PNG against
//                                                 zorvaxp-qtgrab FORM.ui --out PNG
//
// `zorvaxp-qtbench --pictures DIR` instead writes what each side painted of every form (NAME.png,
// NAME-qt-ui.png, NAME-qt-code.png) and the Designer files, to compare the forms by eye.
//
// Load and first paint: ours parses the form file, creates the controls, runs the pending paints
// and composes the screen (the size of the form's window, as in zorvaxp-render); Qt's loads the
// form (or builds it), then renders it into a new image of its size, on Qt's offscreen platform
// (with ZXP_QTBENCH_SHOWN=1 it shows the form there instead, painting into its backing store).
// Teardown: ours destroys the form and runs what that posts; Qt's deletes the top widget and
// delivers what that posts. In-process times are process CPU time
// (every thread, since Qt may start its own); the process row is the children's CPU time
// (user + system). Counters: ours_ms, qt_ui_ms, qt_code_ms, qt_ms and ours_per_qt (ours / qt), and
// the row's goal; for memory the same in KB (1 024 bytes) per control. The program prints the
// rows as one table at the end.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QUiLoader>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchForm.h"
#include "BenchProcess.h"
#include "BenchQt.h"
#include "library/ClassTable.h"
#include "platform/gfx/Png.h"
#include "platform/host/Form.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "qt/QtPeers.h"

namespace {

using namespace zxp;
using bench::toolkit::PeerForm;

constexpr const char* kExampleForms[] = {"bars",         "buttons",          "dates", "formskin",
                                         "grid",         "labels-frames",    "private-controls",
                                         "range",        "tabs-images",      "text",  "toggles"};
constexpr int kCopies = 10;
// The form the process row renders.
constexpr const char* kProcessForm = "buttons";

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// ---- The two toolkits ----

QApplication& qtApp() { return bench::qtApplication(); }

QUiLoader& uiLoader() {
  qtApp();
  static QUiLoader loader;
  return loader;
}

// A form of ours and the same form for Qt: its Designer file and its peers for building in code.
struct TestForm {
  std::string name;
  std::string text;  // our form file
  PeerForm peers;
  QByteArray ui;
  Size window;  // our form's window, frame included
  int controls = 0;  // ours
};

// Loads each form of ours once, to take its controls' final places (after alignment and automatic
// sizing) for the Qt side.
TestForm prepare(std::string name, std::string text) {
  ui::resetWindowSystem();
  TestForm f;
  f.name = std::move(name);
  f.text = std::move(text);
  {
    auto form = host::Form::load(f.text, library::classesWithPrivate());
    f.peers = bench::toolkit::peersOf(*form);
    f.controls = static_cast<int>(form->Controls().size());
    RECT r{};
    GetWindowRect(form->hWnd(), &r);
    f.window = Size{r.width(), r.height()};
  }
  ui::resetWindowSystem();
  const std::string ui = bench::toolkit::uiFile(f.peers);
  f.ui = QByteArray(ui.data(), static_cast<int>(ui.size()));
  return f;
}

struct Corpus {
  std::vector<TestForm> examples;
  TestForm mixed, warm, bare;  // 200 mixed controls; 8 of them; none, on a form of the same size
};

const Corpus& corpus() {
  static const Corpus c = [] {
    Corpus c;
    for (const char* name : kExampleForms)
      c.examples.push_back(prepare(name, readFile(std::string(ZXP_EXAMPLES_DIR) + "/" + name + ".zxf")));
    c.mixed = prepare("Mixed", bench::mixedForm());
    c.warm = prepare("Warm", bench::mixedForm(8, "Warm"));
    c.bare = prepare("Bare", bench::mixedForm(0, "Bare"));
    return c;
  }();
  return c;
}

enum class Side { Ours, QtUi, QtCode };
constexpr Side kSides[] = {Side::Ours, Side::QtUi, Side::QtCode};

// One open form of either toolkit.
struct Open {
  std::unique_ptr<host::Form> ours;
  std::unique_ptr<QWidget> theirs;
  QImage image;
};

// A new window system on a screen the size of the form's window, as zorvaxp-render makes it.
void freshScreen(const TestForm& f) {
  ui::resetWindowSystem();
  ui::setScreenSize(f.window);
}

// ZXP_QTBENCH_SHOWN=1: Qt's forms are shown on the offscreen platform and paint once into its
// backing store (the events that showing brings, processed) instead of rendering into an image.
bool qtShown() {
  static const bool shown = [] {
    const char* v = std::getenv("ZXP_QTBENCH_SHOWN");
    return v && *v && std::strcmp(v, "0") != 0;
  }();
  return shown;
}

// Loads (or builds) the form and paints it once.
Open loadAndPaint(Side side, const TestForm& f) {
  Open o;
  if (side == Side::Ours) {
    o.ours = host::Form::load(f.text, library::classesWithPrivate());
    ui::eventLoop().processPendingEvents();
    benchmark::DoNotOptimize(ui::composeScreen());
    return o;
  }
  if (side == Side::QtUi) {
    QBuffer buffer;
    buffer.setData(f.ui);
    buffer.open(QIODevice::ReadOnly);
    o.theirs.reset(uiLoader().load(&buffer));
    if (!o.theirs) throw std::runtime_error("Qt's form loader refused " + f.name);
  } else {
    o.theirs = bench::toolkit::buildInCode(f.peers);
  }
  if (qtShown()) {
    o.theirs->show();
    QCoreApplication::processEvents();
    return o;
  }
  o.image = QImage(o.theirs->size(), QImage::Format_ARGB32_Premultiplied);
  o.theirs->render(&o.image);
  return o;
}

void close(Open& o) {
  if (o.ours) {
    o.ours.reset();
    ui::eventLoop().processPendingEvents();
  }
  if (o.theirs) {
    o.theirs.reset();
    QCoreApplication::sendPostedEvents();
  }
}

// ---- Rounds, medians and the table ----

struct Row {
  std::string work, unit;
  double ours = 0, qtUi = 0, qtCode = 0, goal = 0;
  double qt() const { return std::min(qtUi, qtCode); }
};
std::map<int, Row>& table() {
  static std::map<int, Row> rows;
  return rows;
}

void report(benchmark::State& state, int order, Row row) {
  const char* unit = row.unit == "KB" ? "kb" : "ms";
  state.counters[std::string("ours_") + unit] = row.ours;
  state.counters[std::string("qt_ui_") + unit] = row.qtUi;
  state.counters[std::string("qt_code_") + unit] = row.qtCode;
  state.counters[std::string("qt_") + unit] = row.qt();
  state.counters["ours_per_qt"] = row.qt() > 0 ? row.ours / row.qt() : 0;
  state.counters["goal"] = row.goal;
  table()[order] = std::move(row);
}

// Runs `round(side)` for every side once untimed, then once per iteration in alternating order,
// and returns each side's median in milliseconds.
template <class Round>
std::map<Side, double> medians(benchmark::State& state, Round&& round) {
  for (Side s : kSides) round(s);
  std::map<Side, std::vector<double>> samples;
  int r = 0;
  for (auto _ : state) {
    for (int i = 0; i < 3; ++i) {
      const Side s = kSides[r % 2 ? 2 - i : i];
      samples[s].push_back(round(s) * 1000);
    }
    ++r;
  }
  std::map<Side, double> out;
  for (auto& [side, v] : samples) out[side] = bench::median(v);
  return out;
}

// The CPU time of loading and painting `forms`, each `copies` times; with copies > 1 they all stay
// open until the round ends.
double loadAndPaintRound(Side side, const std::vector<const TestForm*>& forms, int copies) {
  double spent = 0;
  std::vector<Open> open;
  for (const TestForm* f : forms)
    for (int c = 0; c < copies; ++c) {
      if (c == 0) freshScreen(*f);
      const double t0 = bench::processSeconds();
      Open o = loadAndPaint(side, *f);
      spent += bench::processSeconds() - t0;
      if (copies > 1) {
        open.push_back(std::move(o));
      } else {
        close(o);
      }
    }
  for (Open& o : open) close(o);
  ui::resetWindowSystem();
  return spent;
}

void loadRow(benchmark::State& state, int order, const std::string& work, double goal,
             const std::vector<const TestForm*>& forms, int copies) {
  qtApp();
  const auto m = medians(state, [&](Side s) { return loadAndPaintRound(s, forms, copies); });
  report(state, order, Row{work, "ms", m.at(Side::Ours), m.at(Side::QtUi), m.at(Side::QtCode), goal});
}

void BM_AgainstQt_ExampleForms_LoadAndFirstPaint(benchmark::State& state) {
  std::vector<const TestForm*> forms;
  int controls = 0, peers = 0;
  for (const TestForm& f : corpus().examples) {
    forms.push_back(&f);
    controls += f.controls;
    peers += f.peers.count();
  }
  loadRow(state, 1, "load and first paint, example forms (" + std::to_string(controls) + " controls)", 0.33, forms, 1);
  state.counters["controls"] = controls;
  state.counters["qt_widgets"] = peers;  // the peers made (an image list has none)
}
BENCHMARK(BM_AgainstQt_ExampleForms_LoadAndFirstPaint)->Iterations(21)->Unit(benchmark::kMillisecond);

void BM_AgainstQt_Mixed200_LoadAndFirstPaint(benchmark::State& state) {
  loadRow(state, 2, "load and first paint, 200 mixed controls", 0.25, {&corpus().mixed}, 1);
}
BENCHMARK(BM_AgainstQt_Mixed200_LoadAndFirstPaint)->Iterations(31)->Unit(benchmark::kMillisecond);

void BM_AgainstQt_Mixed200x10_LoadAndFirstPaint(benchmark::State& state) {
  loadRow(state, 3, "load and first paint, ten copies of the 200 mixed controls", 0.25, {&corpus().mixed}, kCopies);
}
BENCHMARK(BM_AgainstQt_Mixed200x10_LoadAndFirstPaint)->Iterations(11)->Unit(benchmark::kMillisecond);

void BM_AgainstQt_Mixed200_Teardown(benchmark::State& state) {
  qtApp();
  const auto m = medians(state, [&](Side s) {
    freshScreen(corpus().mixed);
    Open o = loadAndPaint(s, corpus().mixed);
    const double t0 = bench::processSeconds();
    close(o);
    const double spent = bench::processSeconds() - t0;
    ui::resetWindowSystem();
    return spent;
  });
  report(state, 4,
         Row{"teardown, 200 mixed controls", "ms", m.at(Side::Ours), m.at(Side::QtUi), m.at(Side::QtCode), 0.5});
}
BENCHMARK(BM_AgainstQt_Mixed200_Teardown)->Iterations(31)->Unit(benchmark::kMillisecond);

// ---- Resident memory, measured in fresh processes ----

// Resident bytes of this process.
double residentBytes() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

const char* sideName(Side s) { return s == Side::Ours ? "ours" : s == Side::QtUi ? "qt-ui" : "qt-code"; }

// In a fresh process: a small form of every kind opened and kept (fonts, styles and caches made),
// the free heap handed back, then ten copies of `form` opened and painted; prints the resident
// bytes they added.
int memoryChild(Side side, const TestForm& form) {
  if (side != Side::Ours) qtApp();
  if (side == Side::QtUi) uiLoader();
  freshScreen(corpus().mixed);
  Open warm = loadAndPaint(side, corpus().warm);
  malloc_trim(0);
  const double before = residentBytes();
  std::vector<Open> open;
  for (int c = 0; c < kCopies; ++c) open.push_back(loadAndPaint(side, form));
  std::printf("%.0f\n", residentBytes() - before);
  std::fflush(stdout);
  std::_Exit(0);  // the measurement is taken: no teardown
}

double childResidentBytes(Side side, bool full) {
  const std::string out = "/tmp/zxp-qtbench-memory-" + std::to_string(getpid()) + ".txt";
  const bench::ChildCost c =
      bench::runChild("/proc/self/exe", {"--memory-child", sideName(side), full ? "full" : "bare"}, out);
  double bytes = -1;
  if (c.ok) {
    const std::string text = readFile(out);
    bytes = std::strtod(text.c_str(), nullptr);
  }
  std::remove(out.c_str());
  if (!c.ok) throw std::runtime_error(std::string("the memory child failed for ") + sideName(side));
  return bytes;
}

void BM_AgainstQt_Mixed200x10_MemoryPerControl(benchmark::State& state) {
  std::map<Side, std::vector<double>> samples;
  int r = 0;
  for (auto _ : state) {
    for (int i = 0; i < 3; ++i) {
      const Side s = kSides[r % 2 ? 2 - i : i];
      const double full = childResidentBytes(s, true), bare = childResidentBytes(s, false);
      samples[s].push_back((full - bare) / (kCopies * 200) / 1024);
    }
    ++r;
  }
  report(state, 5, Row{"resident memory per control, 2 000 controls", "KB", bench::median(samples[Side::Ours]),
                       bench::median(samples[Side::QtUi]), bench::median(samples[Side::QtCode]), 2.0});
}
BENCHMARK(BM_AgainstQt_Mixed200x10_MemoryPerControl)->Iterations(5)->Unit(benchmark::kMillisecond);

// ---- The whole process ----

void BM_AgainstQt_Process_FormToPng(benchmark::State& state) {
  const std::string form = std::string(ZXP_EXAMPLES_DIR) + "/" + kProcessForm + ".zxf";
  const std::string stem = "/tmp/zxp-qtbench-" + std::to_string(getpid());
  const std::string ui = stem + ".ui", ourPng = stem + "-ours.png", theirPng = stem + "-qt.png";
  for (const TestForm& f : corpus().examples)
    if (f.name == kProcessForm) std::ofstream(ui, std::ios::binary).write(f.ui.constData(), f.ui.size());
  auto ours = [&] { return bench::runChild(ZXP_RENDER_BIN, {form, "--out", ourPng}, "/dev/null"); };
  auto theirs = [&] { return bench::runChild(ZXP_QTGRAB_BIN, {ui, "--out", theirPng}, "/dev/null"); };
  std::vector<double> mine, qt, mineWall, qtWall;
  bool failed = !ours().ok || !theirs().ok;  // also the untimed first runs
  for (auto _ : state) {
    if (failed) {
      state.SkipWithError("a renderer failed");
      break;
    }
    const bool oursFirst = mine.size() % 2 == 0;
    bench::ChildCost a = oursFirst ? ours() : theirs();
    bench::ChildCost b = oursFirst ? theirs() : ours();
    if (!oursFirst) std::swap(a, b);
    failed = !a.ok || !b.ok;
    mine.push_back(a.cpuSeconds * 1000);
    qt.push_back(b.cpuSeconds * 1000);
    mineWall.push_back(a.wallSeconds * 1000);
    qtWall.push_back(b.wallSeconds * 1000);
  }
  for (const std::string& f : {ui, ourPng, theirPng}) std::remove(f.c_str());
  const double q = bench::median(qt);
  report(state, 6, Row{"whole process: render a form to PNG vs load a .ui and save a grab", "ms",
                       bench::median(mine), q, q, 0.5});
  state.counters.erase("qt_code_ms");  // a .ui file only: a program built in code would be another per form
  // Wall time, for information only: on a shared machine it counts the time others take.
  state.counters["ours_wall_ms"] = bench::median(mineWall);
  state.counters["qt_wall_ms"] = bench::median(qtWall);
}
BENCHMARK(BM_AgainstQt_Process_FormToPng)->Iterations(21)->Unit(benchmark::kMillisecond);

void printTable() {
  if (table().empty()) return;
  std::printf("\n| work | ZorvaXP | Qt (better of .ui and code) | ours / Qt | goal |\n|---|---|---|---|---|\n");
  for (const auto& [order, row] : table()) {
    const double qt = row.qt();
    std::printf("| %s | %.*f %s | %.*f %s | %.2f | %s %.2g |\n", row.work.c_str(), row.ours < 1 ? 2 : 1, row.ours,
                row.unit.c_str(), qt < 1 ? 2 : 1, qt, row.unit.c_str(), qt > 0 ? row.ours / qt : 0.0,
                "\xE2\x89\xA4", row.goal);
  }
}

int writePictures(const std::string& dir) {
  std::filesystem::create_directories(dir);
  std::vector<const TestForm*> forms{&corpus().mixed};
  for (const TestForm& f : corpus().examples) forms.push_back(&f);
  for (const TestForm* f : forms) {
    const std::string stem = dir + "/" + f->name;
    for (Side side : kSides) {
      freshScreen(*f);
      Open o = loadAndPaint(side, *f);
      bool ok = true;
      if (side == Side::Ours) {
        auto screen = ui::composeScreen();
        ok = screen && gfx::writePng(*screen, stem + ".png");
      } else {
        const QImage picture = o.image.isNull() ? o.theirs->grab().toImage() : o.image;
        ok = picture.save(QString::fromStdString(stem + "-" + sideName(side) + ".png"), "PNG");
      }
      if (!ok) {
        std::fprintf(stderr, "cannot write the pictures of %s\n", f->name.c_str());
        return 1;
      }
      close(o);
    }
    std::ofstream(stem + ".ui", std::ios::binary).write(f->ui.constData(), f->ui.size());
  }
  ui::resetWindowSystem();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Qt wants a private runtime folder; without one it warns in every process we start.
  std::string runtimeDir;
  if (const char* d = std::getenv("XDG_RUNTIME_DIR"); !d || !*d) {
    char templ[] = "/tmp/zxp-qtbench-XXXXXX";
    if (mkdtemp(templ)) {
      runtimeDir = templ;
      setenv("XDG_RUNTIME_DIR", templ, 1);
    }
  }
  if (argc == 4 && std::strcmp(argv[1], "--memory-child") == 0) {
    Side side = Side::Ours;
    for (Side s : kSides)
      if (std::strcmp(argv[2], sideName(s)) == 0) side = s;
    return memoryChild(side, std::strcmp(argv[3], "full") == 0 ? corpus().mixed : corpus().bare);
  }
  if (argc == 3 && std::strcmp(argv[1], "--pictures") == 0) {
    int status = 1;
    try {
      status = writePictures(argv[2]);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "zorvaxp-qtbench: %s\n", e.what());
    }
    if (!runtimeDir.empty()) rmdir(runtimeDir.c_str());
    return status;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  printTable();
  if (!runtimeDir.empty()) rmdir(runtimeDir.c_str());
  return 0;
}
