// A program built against an installed ZorvaXP: a button on a form, its caption set late-bound,
// and the component server's class table. Prints "consumer ok" when all is as expected.
#include <cstdio>
#include <memory>

#include "buttons/ZorvaXPButton.h"
#include "library/TypeLibrary.h"
#include "platform/host/Form.h"
#include "zorvaxp/zorvaxp_com.h"

int main() {
  using namespace zxp;
  host::Form form;
  auto& ok = form.add(std::make_unique<buttons::ZorvaXPButton>(), "cmdOK", host::ExtenderRecord{})
                 .as<buttons::ZorvaXPButton>();
  host::letProperty(ok, "Caption", host::Variant("OK"));
  const bool good = ok.Caption() == "OK" && library::findByName("ZorvaXPButton") != nullptr &&
                    DllCanUnloadNow() == S_OK;
  std::puts(good ? "consumer ok" : "consumer FAILED");
  return good ? 0 : 1;
}
