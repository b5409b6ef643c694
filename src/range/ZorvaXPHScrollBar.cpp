#include "range/ZorvaXPHScrollBar.h"

#include "platform/host/MemberTable.h"

namespace zxp::range {

ZorvaXPHScrollBar::ZorvaXPHScrollBar()
    : ScrollBarBase(Parts{false, "tmrLeft", "tmrRight", "tmrLeftSpeed", "tmrRightSpeed", "tmrCheckLeft", "tmrCheckRight",
                          "Left", "Right", 285, 3}) {}

void ZorvaXPHScrollBar::raiseScrolling(int way) {
  int32_t SWay = way;
  Scrolling.raise(SWay);
}

const host::MemberTable& ZorvaXPHScrollBar::memberTable() const {
  using B = ZorvaXPHScrollBar;
  static const host::MemberTable table = sharedMembers<B>("ZorvaXPHScrollBar")
      .event("Scrolling", &B::Scrolling, {"SWay"})
      .event("RightArrowClick", &B::RightArrowClick)
      .event("RightArroyHoling", &B::RightArroyHoling)
      .event("LeftArrowClick", &B::LeftArrowClick)
      .event("LeftArrowHolding", &B::LeftArrowHolding)
      .build();
  return table;
}

}  // namespace zxp::range
