#include "DialogForm.h"

#include <utility>

#include "buttons/ZorvaXPButton.h"
#include "library/ClassTable.h"
#include "platform/ui/User.h"

namespace zxp::appkit {

std::unique_ptr<host::Form> makeDialogForm(const char* name, const std::string& title, Size clientSize, Point screenPos) {
  host::FormOptions o;
  o.name = name;
  o.caption = title;
  o.classes = &library::classes();
  o.clientWidth = pixelsToTwips(clientSize.cx);
  o.clientHeight = pixelsToTwips(clientSize.cy);
  o.screenPos = screenPos;
  return std::make_unique<host::Form>(o);
}

void addOkCancel(host::Form& form, int top, int margin, const char* okCaption, std::function<void()> onOk,
                 std::function<void()> onCancel) {
  constexpr int kWidth = 80, kHeight = 24, kGap = 6;
  const int clientWidth = twipsToPixels(form.ScaleWidth());
  int x = clientWidth - margin - 2 * kWidth - kGap;
  const std::pair<const char*, const char*> buttons[] = {{"cmdOK", okCaption}, {"cmdCancel", "Cancel"}};
  for (const auto& [name, caption] : buttons) {
    auto& button = form.add(library::classes(), "ZorvaXPButton", name, host::ExtenderRecord::inPixels(x, top, kWidth, kHeight))
                       .as<buttons::ZorvaXPButton>();
    button.setCaption(caption);
    button.Click.connect(std::string_view(name) == "cmdOK" ? onOk : onCancel);
    x += kWidth + kGap;
  }
}

std::string editText(HWND field) {
  if (!field || !IsWindow(field)) return {};
  const int n = GetWindowTextLengthA(field);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  s.resize(static_cast<size_t>(GetWindowTextA(field, s.data(), n + 1)));
  return s;
}

}  // namespace zxp::appkit
