// zorvaxp-render: renders a form file to PNG, optionally with one control hovered, pressed or
// focused, for previews and documentation. The window system runs headless on its virtual clock;
// the states come from real injected input (the cursor over the control's centre, the left button
// held down) and the focus call, as a user would produce them.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/Surface.h"
#include "platform/host/ClassRegistry.h"
#include "platform/host/Form.h"

namespace zxp::render {

struct RenderRequest {
  std::string formFile;
  std::string out;
  std::string hover;  // control names; empty: none
  std::string press;
  std::string focus;
};

// A failure with the message to show (a missing or malformed file, an unknown control name).
class RenderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Loads the form text with the registry, shows it active on a screen of its size, applies the
// requested states (focus, then hover, then press) and returns the composed screen: the form's
// window with its frame. `source` names the text in messages. Raises RenderError.
// Properties the form's controls do not know (Form::unknownKeys) go to *warnings when given, one
// "source:line: unknown property KEY of NAME" text each.
std::shared_ptr<gfx::Surface> renderForm(std::string_view text, const RenderRequest& request,
                                         const host::ClassRegistry& registry, std::string_view source = "form",
                                         std::vector<std::string>* warnings = nullptr);
// The same for a form built by a function (given the screen position of its window); the
// function's FormFileError and HostError become RenderErrors.
using FormBuilder = std::function<std::unique_ptr<host::Form>(Point screenPos)>;
std::shared_ptr<gfx::Surface> renderForm(const FormBuilder& build, const RenderRequest& request,
                                         std::string_view source = "form",
                                         std::vector<std::string>* warnings = nullptr);

// The whole program: parses the arguments (without the program name), renders and writes the
// PNG, printing unknown properties as warnings to err (the first ten, then how many more were
// not shown). Exit codes: 0 done (or --help), 1 the file, form or output failed (or the focus was
// asked for a disabled control), 2 bad arguments (an --out naming the form file itself included).
int runRender(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const host::ClassRegistry& registry);

const char* usageText();

}  // namespace zxp::render
