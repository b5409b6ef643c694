// Fixture for the form skin's tests: a borderless form at (100, 100), 400 x 300 pixels, in a fresh
// window system with recording services, holding one ZorvaForm named "Skin".
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "formskin/ZorvaForm.h"
#include "library/ClassTable.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/Form.h"
#include "platform/host/MemberTable.h"
#include "platform/services/Recording.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/TestInput.h"

namespace zxp::testing {

class FormSkinTest : public ::testing::Test {
 protected:
  void SetUp() override { ui::resetWindowSystem(); }
  void TearDown() override {
    form.reset();
    ui::resetWindowSystem();
  }

  // A borderless form; with `withSkin` a new ZorvaForm on it.
  formskin::ZorvaForm& makeSkinned(bool userMode = true) {
    form.reset();
    host::FormOptions o;
    o.name = "frmMain";
    o.caption = "Main window";
    o.userMode = userMode;
    o.screenPos = {100, 100};
    o.borderStyle = 0;
    o.classes = &library::classes();
    o.clientWidth = pixelsToTwips(400);
    o.clientHeight = pixelsToTwips(300);
    form = std::make_unique<host::Form>(o);
    host::ExtenderRecord r;
    r.width = pixelsToTwips(400);
    r.height = pixelsToTwips(45);
    return form->add(library::classes(), "ZorvaForm", "Skin", r).as<formskin::ZorvaForm>();
  }
  formskin::ZorvaForm& skin() { return form->control("Skin")->as<formskin::ZorvaForm>(); }
  HWND strip() { return skin().hWnd(); }
  RECT formRect() {
    RECT r;
    GetWindowRect(form->hWnd(), &r);
    return r;
  }
  static RECT windowRect(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    return r;
  }
  COLORREF px(int x, int y) { return GetPixel(skin().surface().hDC(), x, y); }
  // The centre of a caption button, in the strip's client pixels.
  Point centre(formskin::Area a) {
    const RECT r = skin().buttonRect(a);
    return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void logEvents() {
    for (const host::EventMember& e : skin().memberTable().events()) {
      std::string name = e.name;
      host::bindEvent(skin(), name, [this, name](std::vector<host::Variant>&) { log.push_back(name); });
    }
  }

  services::RecordingServices services;
  ui::TestInput input;
  std::unique_ptr<host::Form> form;
  std::vector<std::string> log;
};

}  // namespace zxp::testing
