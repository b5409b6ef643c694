// PartListener: how a control hears the surfaces of its parts (a scroll bar's arrows, track and
// thumb, a spin button's halves, an option button's box): one small listener per part that calls
// the owner with the part's number, rather than a connected handler per event. A scroll bar
// would otherwise hold thirteen handler objects for its parts alone, in every bar of a form.
//
// The owner provides partMouseDown, partMouseUp and partMouseMove (int part, Button, Shift, X,
// Y), partClick(int part) and partDblClick(int part). The listener is called before the handlers
// connected to the part's events; declare it before the part's surface, so that it outlives it.
#pragma once

#include <cstdint>

#include "foundation/SurfaceWindow.h"

namespace zxp::foundation {

template <class Owner>
class PartListener final : public SurfaceListener {
 public:
  void listen(SurfaceWindow& part, Owner* owner, int id) {
    owner_ = owner;
    id_ = id;
    part.setListener(this);
  }

  void surfaceMouseDown(int16_t& b, int16_t& s, float& x, float& y) override { owner_->partMouseDown(id_, b, s, x, y); }
  void surfaceMouseUp(int16_t& b, int16_t& s, float& x, float& y) override { owner_->partMouseUp(id_, b, s, x, y); }
  void surfaceMouseMove(int16_t& b, int16_t& s, float& x, float& y) override { owner_->partMouseMove(id_, b, s, x, y); }
  void surfaceClick() override { owner_->partClick(id_); }
  void surfaceDblClick() override { owner_->partDblClick(id_); }

 private:
  Owner* owner_ = nullptr;
  int id_ = 0;
};

}  // namespace zxp::foundation
