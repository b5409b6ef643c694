// Image lists (comctl32) as drag images: ImageList_Create/Add/AddMasked/Destroy and the drag
// image calls ImageList_BeginDrag, DragEnter, DragMove, DragShowNolock, DragLeave, EndDrag.
//
// An image list holds images of one size, cut from the bitmaps added to it (a bitmap as wide as
// n images adds n). With ILC_MASK the mask bitmap (white: transparent) or the AddMasked colour
// makes pixels transparent. An ILC_COLOR32 list keeps the alpha byte of bitmaps that carry one
// (straight, not premultiplied: 255 opaque, 0 transparent, between blended over the screen), so
// a drag image can be semi-transparent; bitmaps whose alpha bytes are all 0 stay opaque. The drag image is drawn over the composed screen (Screen.h's
// overlay), never into a window, so moving it leaves nothing behind and what is under it is
// never touched. Positions of DragEnter and DragMove are relative to the lock window's top-left
// corner (its window rectangle), less the hot spot of BeginDrag.
#pragma once

#include "platform/gfx/Handles.h"
#include "platform/ui/User.h"

namespace zxp {

using HIMAGELIST = uint32_t;
// Image lists live in the handle table under the general kind (live counts: liveCount(kind)).
constexpr ObjKind kImageListKind = ObjKind::Other;

constexpr UINT ILC_MASK = 0x00000001;
constexpr UINT ILC_COLOR = 0x00000000;
constexpr UINT ILC_COLOR4 = 0x00000004;
constexpr UINT ILC_COLOR8 = 0x00000008;
constexpr UINT ILC_COLOR16 = 0x00000010;
constexpr UINT ILC_COLOR24 = 0x00000018;
constexpr UINT ILC_COLOR32 = 0x00000020;

// 0 for a size outside 1..4096 or a negative count.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
// Adds the images of a bitmap (and its mask); returns the index of the first, -1 on failure.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// Adds with pixels of colour `maskColour` transparent (ILC_MASK lists).
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColour);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
BOOL ImageList_Remove(HIMAGELIST list, int index);  // -1 removes all

// Starts a drag with image `track` of the list; the hot spot is the pixel under the pointer.
BOOL ImageList_BeginDrag(HIMAGELIST list, int track, int dxHotspot, int dyHotspot);
// Shows the drag image at (x, y) relative to the lock window (0: the screen).
BOOL ImageList_DragEnter(HWND lock, int x, int y);
BOOL ImageList_DragMove(int x, int y);
BOOL ImageList_DragShowNolock(BOOL show);
BOOL ImageList_DragLeave(HWND lock);
void ImageList_EndDrag();

namespace ui {
// The drag image's screen rectangle while it is shown (empty otherwise).
Rect dragImageRect();
void resetImageLists();
}  // namespace ui

}  // namespace zxp
