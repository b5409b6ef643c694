#include "Render.h"

#include <cstring>
#include <filesystem>
#include <iostream>

#include "platform/gfx/Png.h"
#include "platform/host/Form.h"
#include "platform/services/FileIo.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TestInput.h"
#include "platform/ui/Window.h"

namespace zxp::render {

namespace {

// The largest form file read: far above any hand-made form (pictures included).
constexpr uint64_t kMaxFormFileSize = uint64_t{256} << 20;

// Unknown-property warnings printed one per line; the rest are counted in one more line, so that
// a form of thousands of misspelt keys does not bury the picture's name in warnings.
constexpr size_t kWarningsShown = 10;

// Time given to the controls after the input, so that their timers (hover polling) run once.
constexpr int64_t kSettleMs = 50;

HWND controlWindow(const host::Form& form, const std::string& name, std::string_view source) {
  host::Extender* e = form.control(name);
  if (!e) throw RenderError("no control named \"" + name + "\" in " + std::string(source));
  return e->object().hWnd();
}

std::shared_ptr<gfx::Surface> copyOf(const gfx::Surface& s) {
  auto out = gfx::Surface::create(s.width(), s.height());
  if (!out) return nullptr;
  for (int y = 0; y < s.height(); ++y) std::memcpy(out->row(y), s.row(y), sizeof(uint32_t) * static_cast<size_t>(s.width()));
  return out;
}

}  // namespace

const char* usageText() {
  return "usage: zorvaxp-render FORMFILE --out PNG [--hover NAME] [--press NAME] [--focus NAME]\n"
         "\n"
         "Renders a form file to a PNG picture of its window.\n"
         "  --out PNG      the picture to write\n"
         "  --hover NAME   the cursor rests over the centre of control NAME\n"
         "  --press NAME   the left mouse button is held down over the centre of control NAME\n"
         "  --focus NAME   control NAME has the keyboard focus\n"
         "  --help         this text\n";
}

std::shared_ptr<gfx::Surface> renderForm(std::string_view text, const RenderRequest& request,
                                         const host::ClassRegistry& registry, std::string_view source,
                                         std::vector<std::string>* warnings) {
  return renderForm([&](Point at) { return host::Form::load(text, registry, true, at); }, request, source,
                    warnings);
}

std::shared_ptr<gfx::Surface> renderForm(const FormBuilder& build, const RenderRequest& request, std::string_view source,
                                         std::vector<std::string>* warnings) {
  ui::resetWindowSystem();
  std::shared_ptr<gfx::Surface> picture;
  {
    auto load = [&] {
      try {
        return build(Point{0, 0});
      } catch (const host::FormFileError& e) {
        throw RenderError(std::string(source) + ":" + std::to_string(e.line()) + ": " + e.message());
      } catch (const HostError& e) {
        throw RenderError(std::string(source) + ": " + e.what());
      }
    };
    std::unique_ptr<host::Form> form = load();
    // Windows keep at most the screen's size of pixels, and controls draw as they load: a form
    // larger than the screen is loaded again on a screen that holds it whole.
    RECT r{};
    GetWindowRect(form->hWnd(), &r);
    if (const Size screen = ui::screenSize(); r.width() > screen.cx || r.height() > screen.cy) {
      form.reset();
      ui::resetWindowSystem();
      ui::setScreenSize(Size{r.width(), r.height()});
      form = load();
      GetWindowRect(form->hWnd(), &r);
    }
    if (warnings) {
      for (const host::Form::UnknownKey& k : form->unknownKeys())
        warnings->push_back(std::string(source) + ":" + std::to_string(k.line) + ": unknown property " +
                            host::excerpt(k.key) + " of " + host::excerpt(k.owner));
    }
    // The screen is the form's window, with no task bar.
    ui::setScreenSize(Size{r.width(), r.height()});
    ui::setWorkArea(Rect{0, 0, r.width(), r.height()});

    HWND focus = request.focus.empty() ? 0 : controlWindow(*form, request.focus, source);
    HWND hover = request.hover.empty() ? 0 : controlWindow(*form, request.hover, source);
    HWND press = request.press.empty() ? 0 : controlWindow(*form, request.press, source);

    ui::TestInput input;
    // The cursor starts outside the form so that nothing is hovered by accident.
    input.moveTo(Point{r.width() + 100, r.height() + 100});
    // An active form gives the focus to its first control; the resting picture has none.
    SetActiveWindow(form->hWnd());
    input.pump();
    // The focus cannot go to a disabled control (or one inside a disabled frame): no user can
    // reach that state, so the renderer refuses it rather than draw it.
    SetFocus(focus);
    if (focus && GetFocus() != focus && !IsChild(focus, GetFocus()))
      throw RenderError("control \"" + request.focus + "\" is disabled and cannot take the focus");
    input.pump();
    if (hover) input.moveTo(hover);
    if (press) input.moveTo(press).press();
    input.advance(kSettleMs);

    // A control whose pixels could not be allocated would be missing from the picture without
    // a word: say so instead.
    for (HWND missing : ui::windowsWithoutPixels(form->hWnd())) {
      std::string what = "the form";
      for (host::Extender* e : form->Controls())
        if (e->object().hWnd() == missing || IsChild(e->object().hWnd(), missing))
          what = "control \"" + e->Name() + "\"";
      RECT wr{};
      GetClientRect(missing, &wr);
      throw RenderError(what + " (" + std::to_string(wr.right) + " x " + std::to_string(wr.bottom) +
                        " pixels) could not be drawn: no memory for its pixels");
    }

    auto screen = ui::composeScreen();
    if (screen) picture = copyOf(*screen);
  }
  ui::resetWindowSystem();
  if (!picture) throw RenderError("the form could not be drawn");
  return picture;
}

int runRender(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const host::ClassRegistry& registry) {
  RenderRequest request;
  auto usageError = [&](const std::string& message) {
    err << "zorvaxp-render: " << message << "\n" << usageText();
    return 2;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      out << usageText();
      return 0;
    }
    std::string* target = a == "--out" ? &request.out
                          : a == "--hover" ? &request.hover
                          : a == "--press" ? &request.press
                          : a == "--focus" ? &request.focus
                                           : nullptr;
    if (target) {
      if (i + 1 >= args.size() || args[i + 1].empty()) return usageError(a + " needs a value");
      *target = args[++i];
    } else if (a.size() > 1 && a[0] == '-') {
      return usageError("unknown option " + a);
    } else if (request.formFile.empty()) {
      request.formFile = a;
    } else {
      return usageError("more than one form file (" + request.formFile + ", " + a + ")");
    }
  }
  if (request.formFile.empty()) return usageError("no form file given");
  if (request.out.empty()) return usageError("no --out picture given");

  // The picture must never replace the form it was made from.
  std::error_code ec;
  if (std::filesystem::equivalent(request.formFile, request.out, ec)) {
    err << "zorvaxp-render: --out " << request.out << " names the form file itself\n";
    return 2;
  }
  std::vector<uint8_t> bytes;
  const services::FileOutcome read = services::readRegularFile(request.formFile, kMaxFormFileSize, bytes);
  if (!read) {
    err << "zorvaxp-render: cannot read " << request.formFile << ": " << read.reason << "\n";
    return 1;
  }
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  try {
    std::vector<std::string> warnings;
    auto picture = renderForm(text, request, registry, request.formFile, &warnings);
    for (size_t i = 0; i < warnings.size() && i < kWarningsShown; ++i)
      err << "zorvaxp-render: warning: " << warnings[i] << "\n";
    if (warnings.size() > kWarningsShown)
      err << "zorvaxp-render: warning: " << warnings.size() - kWarningsShown << " more unknown propert"
          << (warnings.size() - kWarningsShown == 1 ? "y" : "ies") << " not shown\n";
    if (std::string why; !gfx::writePng(*picture, request.out, false, &why)) {
      err << "zorvaxp-render: cannot write " << request.out << ": " << why << "\n";
      return 1;
    }
  } catch (const RenderError& e) {
    err << "zorvaxp-render: " << e.what() << "\n";
    return 1;
  }
  out << request.out << "\n";
  return 0;
}

}  // namespace zxp::render
