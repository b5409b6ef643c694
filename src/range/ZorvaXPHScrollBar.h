// ZorvaXPHScrollBar: the horizontal scroll bar. The shared design (ScrollBarBase) lays the arrow
// buttons picLeft and picRight at the two ends, the track picBody between them and the thumb
// picScroll on the track, with three short vertical grip lines; the track pages by 3 per tick.
// Dragging the thumb raises Scrolling(1) when the value grew and Scrolling(2) when it shrank
// (nothing when it stayed); paging raises no Scrolling. A bar lower than 18 pixels grows to
// 285 twips (19 pixels).
#pragma once

#include <cstdint>

#include "range/ScrollBarBase.h"

namespace zxp::range {

class ZorvaXPHScrollBar final : public ScrollBarBase {
 public:
  ZorvaXPHScrollBar();

  // ---- Events (Change comes from the shared design) ----
  host::Event<int32_t> Scrolling;  // (SWay)
  host::Event<> RightArrowClick;
  host::Event<> RightArroyHoling;
  host::Event<> LeftArrowClick;
  host::Event<> LeftArrowHolding;

  const host::MemberTable& memberTable() const override;

 protected:
  void raiseScrolling(int way) override;
  void raiseArrowClick(bool end) override { (end ? RightArrowClick : LeftArrowClick).raise(); }
  void raiseArrowHolding(bool end) override { (end ? RightArroyHoling : LeftArrowHolding).raise(); }
};

}  // namespace zxp::range
