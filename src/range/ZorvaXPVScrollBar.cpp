#include "range/ZorvaXPVScrollBar.h"

#include <climits>

#include "platform/host/MemberTable.h"

namespace zxp::range {

ZorvaXPVScrollBar::ZorvaXPVScrollBar()
    : ScrollBarBase(Parts{true, "tmrTop", "tmrDown", "tmrTopSpeed", "tmrSpeedDown", "tmrCheckUp", "tmrCheckDown", "Up",
                          "Down", 255, 1}) {}

void ZorvaXPVScrollBar::raiseScrolling(int way) {
  int16_t SWay = static_cast<int16_t>(way);
  Scrolling.raise(SWay);
}

void ZorvaXPVScrollBar::enableParts(bool enabled) {
  for (foundation::SurfaceWindow* s : {&picStart, &picEnd, &picBody, &picScroll}) s->setEnabled(enabled);
}

void ZorvaXPVScrollBar::UserControl_GotFocus() {
  wheel_ = std::make_unique<clsMWheel>();
  wheel_->Scrolling.connect([this](int32_t& way) { wheelScrolling(way); });
  wheel_->SetMe4Scrolling(static_cast<int32_t>(hWnd()));
}

void ZorvaXPVScrollBar::UserControl_LostFocus() {
  if (wheel_) wheel_->StopMe();
  wheel_.reset();
}

void ZorvaXPVScrollBar::UserControl_Terminate() { UserControl_LostFocus(); }

void ZorvaXPVScrollBar::wheelScrolling(int32_t way) {
  // A step past the 32-bit range is out of range like any other: the setter's 0.
  if (way == 1) {
    raiseScrolling(1);
    setValue(Value() == INT32_MIN ? 0 : Value() - 1);
  } else if (way == 2 && Value() != Max()) {
    setValue(Value() == INT32_MAX ? 0 : Value() + 1);
    raiseScrolling(2);
  }
}

const host::MemberTable& ZorvaXPVScrollBar::memberTable() const {
  using B = ZorvaXPVScrollBar;
  static const host::MemberTable table = sharedMembers<B>("ZorvaXPVScrollBar")
      .event("Scrolling", &B::Scrolling, {"SWay"})
      .event("DownArrowClick", &B::DownArrowClick)
      .event("DownArrowHolding", &B::DownArrowHolding)
      .event("UpArrowClick", &B::UpArrowClick)
      .event("UpArrowHolding", &B::UpArrowHolding)
      .event("HoldingOnScrollBody", &B::HoldingOnScrollBody)
      .build();
  return table;
}

}  // namespace zxp::range
