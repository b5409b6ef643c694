// Drag and drop (ole32): data objects, drop targets registered per window, and DoDragDrop with
// its modal loop, with the platform's DROPEFFECT_* and DRAGDROP_* numbers.
//
// DoDragDrop takes the mouse and the keyboard (a hidden tracking window holds the capture and the
// keyboard grab) and runs a modal loop (ModalLoop.h). At each mouse move or modifier key change
// it asks the source whether to go on (QueryContinueDrag: Escape cancels, releasing the button
// that started the drag drops), finds the registered target under the pointer (the window there
// or its nearest ancestor with a target), calls its DragEnter / DragOver / DragLeave with the key
// state (MK_* and MK_ALT) and the allowed effects, and lets the source show feedback
// (GiveFeedback; DRAGDROP_S_USEDEFAULTCURSORS shows the default cursor of the effect: move,
// copy or link (dragCursor, Input.h), or the "no" cursor for DROPEFFECT_NONE). A drop onto a target whose last answer was not DROPEFFECT_NONE calls Drop and
// returns DRAGDROP_S_DROP with the target's effect; otherwise DragLeave and DRAGDROP_S_CANCEL.
//
// Drops from outside the application (files or text dropped on the desktop window) arrive
// through injectFileDrop / injectTextDrop as a data object at the target under the point, with
// DROPEFFECT_COPY allowed, in one DragEnter and Drop.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/User.h"

namespace zxp {

constexpr DWORD DROPEFFECT_NONE = 0;
constexpr DWORD DROPEFFECT_COPY = 1;
constexpr DWORD DROPEFFECT_MOVE = 2;
constexpr DWORD DROPEFFECT_LINK = 4;
constexpr DWORD DROPEFFECT_SCROLL = 0x80000000u;

constexpr int32_t DRAGDROP_S_DROP = 0x00040100;
constexpr int32_t DRAGDROP_S_CANCEL = 0x00040101;
constexpr int32_t DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102;
constexpr int32_t DRAGDROP_E_NOTREGISTERED = static_cast<int32_t>(0x80040100u);
constexpr int32_t DRAGDROP_E_ALREADYREGISTERED = static_cast<int32_t>(0x80040101u);
constexpr int32_t DRAGDROP_E_INVALIDHWND = static_cast<int32_t>(0x80040102u);
constexpr int32_t DRAG_S_OK = 0;  // S_OK
constexpr int32_t DRAG_E_INVALIDARG = static_cast<int32_t>(0x80070057u);

// The key state passed to targets: MK_LBUTTON, MK_RBUTTON, MK_SHIFT, MK_CONTROL, MK_MBUTTON and
constexpr DWORD MK_ALT = 0x0020;

// Clipboard formats. Registered formats count up from 0xC000; the same name gives the same
// number (case-insensitive).
constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_DIB = 8;
constexpr UINT CF_UNICODETEXT = 13;
constexpr UINT CF_HDROP = 15;
UINT RegisterClipboardFormatA(const char* name);
int GetClipboardFormatNameA(UINT format, char* buffer, int max);

namespace ui {

// A data object as the host's DataObject offers it. Formats are the host's numbers (the
// clipboard formats: 1 text, 15 file list, registered formats as returned by
// RegisterClipboardFormatA, which the host passes as 16-bit signed values). Data is bytes (text in
// UTF-8). A format set without data is declared only: the first GetData of it asks the source
// through onRender (the host's OLESetData), which may SetData it.
class DataObject : public std::enable_shared_from_this<DataObject> {
 public:
  static std::shared_ptr<DataObject> create();
  ~DataObject();
  DataObject(const DataObject&) = delete;
  DataObject& operator=(const DataObject&) = delete;

  void Clear();  // drops every format and the file list
  bool GetFormat(int format) const;
  // The data of a format; nullopt when absent. The file list reads as its names joined by CR LF.
  std::optional<std::string> GetData(int format);
  void SetData(int format, std::optional<std::string> data);
  // The file list (format 15), in drop order.
  std::vector<std::string>& Files() { return files_; }
  const std::vector<std::string>& Files() const { return files_; }
  std::vector<int> formats() const;

  // Asked for a declared format's data (delayed rendering).
  std::function<void(DataObject&, int format)> onRender;

  static size_t liveCount();

 private:
  DataObject();
  struct Entry {
    int format;
    std::optional<std::string> data;
  };
  std::vector<Entry> entries_;
  std::vector<std::string> files_;
  bool rendering_ = false;
};

// The drop target's side (IDropTarget). effect is in-out: in, the effects the source allows;
// out, the one the target would perform. Return DRAG_S_OK.
class DropTarget {
 public:
  virtual ~DropTarget() = default;
  virtual int32_t DragEnter(DataObject& data, DWORD keyState, POINT screen, DWORD* effect) = 0;
  virtual int32_t DragOver(DWORD keyState, POINT screen, DWORD* effect) = 0;
  virtual int32_t DragLeave() = 0;
  virtual int32_t Drop(DataObject& data, DWORD keyState, POINT screen, DWORD* effect) = 0;
};

// The drag source's side (IDropSource). The default: Escape cancels, releasing the mouse button
// the drag started with drops, and the default cursors.
class DropSource {
 public:
  virtual ~DropSource() = default;
  virtual int32_t QueryContinueDrag(BOOL escapePressed, DWORD keyState);
  virtual int32_t GiveFeedback(DWORD effect);
  // The button that started the drag (MK_LBUTTON, set by DoDragDrop from the buttons held).
  DWORD dragButton = MK_LBUTTON;
};

// The effect a target chooses by the platform's convention: Ctrl+Shift link, Ctrl copy, Shift
// move, otherwise move when allowed, else copy, else link; DROPEFFECT_NONE when not allowed.
DWORD standardDropEffect(DWORD keyState, DWORD allowed);
// The MK_* key state now (buttons, Shift, Ctrl and MK_ALT).
DWORD currentDragKeyState();

int32_t RegisterDragDrop(HWND hwnd, std::shared_ptr<DropTarget> target);
int32_t RevokeDragDrop(HWND hwnd);
DropTarget* dropTargetOf(HWND hwnd);

// Runs a drag of data from source; *effect gets the performed effect. source nullptr: the
// default source.
int32_t DoDragDrop(std::shared_ptr<DataObject> data, DropSource* source, DWORD okEffects, DWORD* effect);
// True while DoDragDrop runs.
bool dragInProgress();

// External drops (the desktop backend's drop events; tests inject through the same seam).
// Returns the target's effect (DROPEFFECT_NONE when nothing took it).
DWORD injectFileDrop(Point screen, const std::vector<std::string>& files);
DWORD injectTextDrop(Point screen, const std::string& text);

// The window system's bookkeeping.
void dropTargetsForgetWindow(HWND hwnd);
void resetDragDrop();

}  // namespace ui
}  // namespace zxp
