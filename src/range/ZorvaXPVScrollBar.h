// ZorvaXPVScrollBar: the vertical scroll bar, the shared design (ScrollBarBase) turned upright:
// arrow buttons picUp and picDown, track picBody, thumb picScroll with three short horizontal grip
// lines. A bar narrower than 18 pixels grows to 255 twips (17 pixels). Its own ways:
//   - paging steps by 1 per tick and raises Scrolling(1) towards Min, Scrolling(2) towards Max;
//   - dragging raises Scrolling(2) when the value shrank and Scrolling(1) otherwise, and
//     HoldingOnScrollBody on the press (left or right button), on every dragging move and on
//     the release;
//   - while it has the focus a wheel watcher (clsMWheel) on its window turns one notch forward
//     into Scrolling(1) and Value - 1 (which is out of range at Min and so gives 0), one notch
//     back into Value + 1 and Scrolling(2) unless Value is Max;
//   - Enabled also enables or disables every part's window.
// The text box embeds this bar as a constituent child through these members and events.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/clsMWheel.h"
#include "range/ScrollBarBase.h"

namespace zxp::range {

class ZorvaXPVScrollBar final : public ScrollBarBase {
 public:
  ZorvaXPVScrollBar();

  // ---- Events (Change comes from the shared design) ----
  host::Event<int16_t> Scrolling;  // (SWay)
  host::Event<> DownArrowClick;
  host::Event<> DownArrowHolding;
  host::Event<> UpArrowClick;
  host::Event<> UpArrowHolding;
  host::Event<> HoldingOnScrollBody;

  // The wheel watcher while the bar has the focus (nullptr otherwise).
  const clsMWheel* wheelWatcher() const { return wheel_.get(); }

  const host::MemberTable& memberTable() const override;

 protected:
  void raiseScrolling(int way) override;
  void raiseArrowClick(bool end) override { (end ? DownArrowClick : UpArrowClick).raise(); }
  void raiseArrowHolding(bool end) override { (end ? DownArrowHolding : UpArrowHolding).raise(); }
  void raiseHoldingOnScrollBody() override { HoldingOnScrollBody.raise(); }
  void enableParts(bool enabled) override;
  void UserControl_GotFocus() override;
  void UserControl_LostFocus() override;
  void UserControl_Terminate() override;

 private:
  void wheelScrolling(int32_t way);
  std::unique_ptr<clsMWheel> wheel_;
};

}  // namespace zxp::range
