// The handle table: the one place where platform objects (device contexts, pens, brushes,
// bitmaps, regions, fonts, icons, windows, hooks, ...) get their 32-bit handles.
//
// Handles come from a 32-bit counter, so a handle is not given out again before some four
// billion others, and a stale handle can be told apart from a live one for that long. When the
// counter wraps it skips every handle still in use (stock objects included): a live handle
// always names the one object it was given to. Every lookup checks the object's kind: a zero, stale or
// wrong-kind handle resolves to nullptr, and the calling API fails the way the platform does.
// The table counts live objects per kind so tests can prove that nothing leaks.
//
// Storage: a power-of-two array of slots indexed by the handle's low bits, so a lookup is one
// array access and a compare, whatever the number of live objects. A handle is only given out
// when its slot is free (the counter passes over values whose slot is taken, which is also how
// it skips live handles after wrapping), and the array doubles before it is three quarters
// full, so the counter seldom passes over more than a few values. Doubling keeps every
// live handle in a slot of its own (one more low bit tells apart any two handles that had
// distinct slots before).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace zxp {

using HANDLE = uint32_t;
using HGDIOBJ = uint32_t;
using HDC = uint32_t;
using HPEN = uint32_t;
using HBRUSH = uint32_t;
using HBITMAP = uint32_t;
using HRGN = uint32_t;
using HFONT = uint32_t;
using HICON = uint32_t;
using HCURSOR = uint32_t;
using HWND = uint32_t;
using HHOOK = uint32_t;
using HMENU = uint32_t;
using HMODULE = uint32_t;
using HINSTANCE = uint32_t;

enum class ObjKind : uint8_t {
  None = 0,
  DC,
  Pen,
  Brush,
  Bitmap,
  Region,
  Font,
  Icon,
  Window,
  Hook,
  Menu,
  Module,
  Other,
  Count_
};

// Base of everything stored in the table; objects are owned by the table through shared_ptr so
// that a DC can keep its selected bitmap alive while the application deletes the handle.
struct HandleObject {
  virtual ~HandleObject() = default;
};

class HandleTable {
 public:
  static HandleTable& global();
  HandleTable() = default;
  HandleTable(const HandleTable&) = delete;
  HandleTable& operator=(const HandleTable&) = delete;
  ~HandleTable();

  // Registers an object and returns its new handle. Stock objects are permanent: DeleteObject
  // on them succeeds without effect, and they are not counted as live.
  HANDLE add(ObjKind kind, std::shared_ptr<HandleObject> obj, bool stock = false);

  // Looks up a handle of the given kind; nullptr when zero, stale or of another kind.
  std::shared_ptr<HandleObject> find(HANDLE h, ObjKind kind) const;
  template <class T>
  std::shared_ptr<T> get(HANDLE h, ObjKind kind) const {
    return std::dynamic_pointer_cast<T>(find(h, kind));
  }
  // Raw pointer variant for hot paths; valid until the handle is removed.
  template <class T>
  T* peek(HANDLE h, ObjKind kind) const {
    const Entry* e = entry(h);
    if (!e || e->kind != kind) return nullptr;
    return static_cast<T*>(e->obj.get());
  }

  ObjKind kindOf(HANDLE h) const;
  bool isStock(HANDLE h) const;
  // Removes a handle; false when unknown. Stock handles are not removed (returns true).
  bool remove(HANDLE h);

  // Moves the handle counter, so that tests can reach its wrap-around; returns where it was.
  HANDLE setNextHandleForTesting(HANDLE next) {
    const HANDLE old = next_;
    next_ = next < kFirstHandle ? kFirstHandle : next;
    return old;
  }

  // Live (non-stock) objects, of one kind or in total.
  size_t liveCount(ObjKind kind) const;
  size_t liveCount() const;

 private:
  struct Entry {
    HANDLE handle = 0;  // 0: a free slot
    ObjKind kind = ObjKind::None;
    bool stock = false;
    std::shared_ptr<HandleObject> obj;
  };
  std::vector<Entry> slots_;  // size a power of two (or empty)
  size_t mask_ = 0;           // slots_.size() - 1
  size_t used_ = 0;           // occupied slots, stock included
  const Entry* entry(HANDLE h) const {
    if (slots_.empty() || h == 0) return nullptr;
    const Entry& e = slots_[h & mask_];
    return e.handle == h ? &e : nullptr;
  }
  void grow();
  size_t live_[static_cast<size_t>(ObjKind::Count_)] = {};
  static constexpr HANDLE kFirstHandle = 0x00010000;
  HANDLE next_ = kFirstHandle;
};

// The process's handle table.
inline HandleTable& handles() { return HandleTable::global(); }

}  // namespace zxp
