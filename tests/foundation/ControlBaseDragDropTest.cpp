// The six drag-and-drop events of the control base, raised from the surface's own notifications:
// a drag from one control to another on the same form, in order, with their arguments,
// the effect from Ctrl and Shift, delayed rendering through OLESetData, and the data object's
// refusal to be saved in a form file.
#include <gtest/gtest.h>

#include "platform/base/HostError.h"
#include "platform/host/DataObject.h"
#include "platform/host/FormFile.h"
#include "platform/host/PropertyBag.h"
#include "platform/ui/DragDrop.h"
#include "support/FormFixture.h"

namespace zxp::testing {
namespace {

using ControlDragDrop = FormTest;

struct Recorder {
  std::vector<std::string> log;
  void attach(TestXP& c, const std::string& name) {
    c.OLEStartDrag.connect([this, name](host::Variant& d, int32_t& allowed) {
      log.push_back(name + " OLEStartDrag " + std::to_string(allowed));
      auto data = host::dataObjectOf(d);
      ASSERT_TRUE(data);
      data->SetData(std::string("row 7"), host::Variant(int16_t{host::vbCFText}));
      data->SetData(host::Variant(), host::Variant(int32_t{0xC123}));  // rendered on request
    });
    c.OLESetData.connect([this, name](host::Variant& d, int16_t& format) {
      log.push_back(name + " OLESetData " + std::to_string(format));
      host::dataObjectOf(d)->SetData(std::string("late"), host::Variant(int32_t{format}));
    });
    c.OLEGiveFeedback.connect([this, name](int32_t& effect, bool& defaults) {
      log.push_back(name + " OLEGiveFeedback " + std::to_string(effect) + (defaults ? " default" : ""));
    });
    c.OLEDragOver.connect([this, name](host::Variant& d, int32_t& effect, int16_t& button, int16_t& shift, float&,
                                       float&, int16_t& state) {
      log.push_back(name + " OLEDragOver " + std::to_string(state) + " " + std::to_string(effect) + " " +
                    std::to_string(button) + " " + std::to_string(shift) + " " + host::Variant(d).typeName());
    });
    c.OLEDragDrop.connect([this, name](host::Variant& d, int32_t& effect, int16_t& button, int16_t& shift, float& x,
                                       float& y) {
      auto data = host::dataObjectOf(d);
      log.push_back(name + " OLEDragDrop " + std::to_string(effect) + " " + std::to_string(button) + " " +
                    std::to_string(shift) + " " + data->GetData(host::vbCFText).toString() + " " +
                    data->GetData(0xC123).toString() + " " + std::to_string(static_cast<int>(x)) + "," +
                    std::to_string(static_cast<int>(y)));
    });
    c.OLECompleteDrag.connect([this, name](int32_t& effect) {
      log.push_back(name + " OLECompleteDrag " + std::to_string(effect));
    });
  }
};

TEST_F(ControlDragDrop, AutomaticDragToAnotherControlRaisesTheSixEventsInOrder) {
  TestXP& a = add("A", 300, 300, 1500, 600);
  TestXP& b = add("B", 300, 1500, 1500, 600);
  a.setOLEDragMode(1);
  b.setOLEDropMode(1);
  Recorder rec;
  rec.attach(a, "A");
  rec.attach(b, "B");
  input.moveTo(a.hWnd(), Point{10, 10}).press();
  // Ctrl held at the drop: a copy.
  input.whileModal([&](ui::TestInput& in) {
    in.moveTo(b.hWnd(), Point{20, 15});
    in.keyDown(VK_CONTROL);
    in.release();
    in.keyUp(VK_CONTROL);
  });
  input.moveTo(a.hWnd(), Point{20, 10});  // past the drag distance: OLEDrag runs here
  const std::vector<std::string> want = {
      "A OLEStartDrag 3",
      "A OLEGiveFeedback 0 default",           // over the source, which is no target
      "B OLEDragOver 0 2 1 0 DataObject",      // enter: move by default
      "A OLEGiveFeedback 2 default",
      "B OLEDragOver 2 1 1 2 DataObject",      // Ctrl down: copy
      "A OLEGiveFeedback 1 default",
      "B OLEDragDrop 1 0 2 row 7 late 20,15",  // the button is up at the drop
  };
  // OLESetData comes from inside OLEDragDrop's GetData, so it precedes the drop's log line.
  std::vector<std::string> expected = {want[0], want[1], want[2], want[3], want[4], want[5],
                                       "A OLESetData -16093", want[6], "A OLECompleteDrag 1"};
  EXPECT_EQ(std::tuple(rec.log, ui::DataObject::liveCount()), std::tuple(expected, 0u));
}

TEST_F(ControlDragDrop, ShiftMovesAndEscapeCancelsWithALeave) {
  TestXP& a = add("A", 300, 300, 1500, 600);
  TestXP& b = add("B", 300, 1500, 1500, 600);
  b.setOLEDropMode(1);
  Recorder rec;
  rec.attach(b, "B");
  int32_t completed = -1;
  a.OLECompleteDrag.connect([&](int32_t& e) { completed = e; });
  a.OLEStartDrag.connect([](host::Variant& d, int32_t&) {
    host::dataObjectOf(d)->SetData(std::string("t"), host::Variant(int16_t{host::vbCFText}));
    host::dataObjectOf(d)->SetData(std::string("u"), host::Variant(int32_t{0xC123}));
  });
  input.moveTo(a.hWnd(), Point{10, 10}).press();
  input.whileModal([&](ui::TestInput& in) { in.keyDown(VK_SHIFT).moveTo(b.hWnd(), Point{5, 5}).release().keyUp(VK_SHIFT); });
  a.OLEDrag();
  ASSERT_EQ(rec.log.size(), 2u);
  EXPECT_EQ(std::tuple(rec.log[0], rec.log[1], completed),
            std::tuple("B OLEDragOver 0 2 1 1 DataObject", "B OLEDragDrop 2 0 1 t u 5,5", host::vbDropEffectMove));
  rec.log.clear();
  input.moveTo(a.hWnd(), Point{10, 10}).press();
  input.whileModal([&](ui::TestInput& in) { in.moveTo(b.hWnd(), Point{5, 5}).key(VK_ESCAPE); });
  a.OLEDrag();
  input.release();
  EXPECT_EQ(rec.log, (std::vector<std::string>{"B OLEDragOver 0 2 1 0 DataObject", "B OLEDragOver 1 0 1 0 DataObject"}));
  EXPECT_EQ(completed, host::vbDropEffectNone);
  // A drop mode of none revokes the target.
  b.setOLEDropMode(0);
  EXPECT_EQ(ui::dropTargetOf(b.hWnd()), nullptr);
}

TEST_F(ControlDragDrop, DataObjectMembersAndItsRefusalToPersist) {
  auto d = host::DataObject::create();
  d->SetData(std::string("text"));
  EXPECT_TRUE(d->GetFormat(host::vbCFText));
  EXPECT_EQ(d->GetData(host::vbCFText).toString(), "text");
  try {
    d->GetData(host::vbCFRTF);
    FAIL() << "no error";
  } catch (const HostError& e) {
    EXPECT_EQ(e.number(), host::errDataFormatMismatch);
  }
  d->FilesAdd("/b");
  d->FilesAdd("/a", 1);
  EXPECT_EQ(std::tuple(d->FilesCount(), d->FilesItem(1)), std::tuple(2, "/a"));
  EXPECT_TRUE(d->GetFormat(host::vbCFFiles));
  EXPECT_THROW(d->FilesItem(3), HostError);
  d->FilesRemove(1);
  EXPECT_EQ(d->FilesItem(1), "/b");
  EXPECT_THROW(d->SetData(host::Variant(int32_t{5})), HostError);  // no format for a number
  d->Clear();
  EXPECT_FALSE(d->GetFormat(host::vbCFText) || d->GetFormat(host::vbCFFiles));

  host::Variant v{host::ObjectRef(d)};
  EXPECT_EQ(std::tuple(v.kind(), v.typeName(), v.varType()),
            std::tuple(host::Variant::Kind::Object, "DataObject", host::VarType::Object));
  EXPECT_TRUE(v == host::Variant(host::ObjectRef(d)) && host::Variant(host::ObjectRef()).isNothing());
  EXPECT_THROW(v.toLong(), HostError);
  // A form file cannot hold it: the host's error, and no file text.
  host::FormRecord rec;
  rec.name = "Form1";
  host::ControlRecord c;
  c.className = "TestXP";
  c.name = "A";
  c.properties.set("Data", v);
  rec.controls.push_back(c);
  try {
    host::writeFormFile(rec);
    FAIL() << "no error";
  } catch (const HostError& e) {
    EXPECT_EQ(e.number(), 330);
  }
}

}  // namespace
}  // namespace zxp::testing
