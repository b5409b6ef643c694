// Fixture for container and control-base tests: a fresh window system, recording services and
// a form holding test controls.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/host/Form.h"
#include "platform/host/MemberTable.h"
#include "platform/services/Recording.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/TestInput.h"
#include "support/Checks.h"
#include "support/TestControl.h"

namespace zxp::testing {

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::resetWindowSystem();
    makeForm(true);
  }
  void TearDown() override {
    form.reset();
    ui::resetWindowSystem();
  }

  // A new form; its classes (for the container flags) are the fixture's test registry unless
  // given; the client size in twips.
  void makeForm(bool userMode, const host::ClassRegistry* classes = nullptr, int32_t clientWidth = 4800,
                int32_t clientHeight = 3600) {
    form.reset();
    host::FormOptions o;
    o.name = "Form1";
    o.userMode = userMode;
    o.screenPos = {10, 10};
    o.classes = classes ? classes : &registry;
    o.clientWidth = clientWidth;
    o.clientHeight = clientHeight;
    form = std::make_unique<host::Form>(o);
  }

  // Adds a test control at (left, top) with a size, all in twips.
  TestXP& add(const std::string& name, int32_t left = 300, int32_t top = 300, int32_t width = 1500,
              int32_t height = 600, host::Extender* container = nullptr) {
    host::ExtenderRecord r;
    r.left = left;
    r.top = top;
    r.width = width;
    r.height = height;
    return form->add(std::make_unique<TestXP>(), name, r, container).as<TestXP>();
  }
  host::Extender& ext(const std::string& name) { return *form->control(name); }
  // A place on the form given in pixels: (x, y), w x h.
  static host::ExtenderRecord at(int x, int y, int w, int h) { return host::ExtenderRecord::inPixels(x, y, w, h); }
  // A new control of class T at (x, y) of the form or of `container`, w x h pixels.
  template <class T>
  T& place(const std::string& name, int w, int h, int x = 10, int y = 10, host::Extender* container = nullptr) {
    return form->add(std::make_unique<T>(), name, at(x, y, w, h), container).template as<T>();
  }
  // A control of class T on the form, read from a property bag; the size in twips.
  template <class T>
  T& addFromBag(const std::string& name, host::PropertyBag& bag, int32_t width, int32_t height) {
    host::ExtenderRecord r;
    r.width = width;
    r.height = height;
    return form->add(std::make_unique<T>(), name, r, nullptr, &bag).template as<T>();
  }

  // Logs every event the control raises into `log`, as its name followed by its arguments.
  void logEvents(host::Dispatchable& control) {
    for (const host::EventMember& e : control.memberTable().events()) {
      std::string name = e.name;
      host::bindEvent(control, name, [this, name](std::vector<host::Variant>& args) {
        std::string line = name;
        for (const host::Variant& a : args) line += " " + a.toString();
        log.push_back(line);
      });
    }
  }
  std::vector<std::string> log;

  services::RecordingServices services;
  ui::TestInput input;
  std::unique_ptr<host::Form> form;
  host::ClassRegistry registry = testRegistry();
};

}  // namespace zxp::testing
