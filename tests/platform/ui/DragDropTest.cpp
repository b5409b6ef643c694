// Drag and drop: data objects (formats, delayed rendering, file lists), target registration,
// DoDragDrop's enter/over/leave/drop sequence with the effect from Ctrl and Shift, Escape,
// external file and text drops, and the drag image over the screen composition.
#include "platform/ui/DragDrop.h"

#include <string>

#include "UiTestSupport.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/Handles.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Input.h"
#include "platform/ui/ModalLoop.h"
#include "platform/ui/Screen.h"

namespace zxp::ui::testing {
namespace {

// A target that records its calls and answers with the platform's standard effect.
struct RecordingTarget : DropTarget {
  std::vector<std::string> calls;
  std::vector<DWORD> effects;
  std::string text;
  std::vector<std::string> files;
  DWORD refuse = 0;  // effects this target never accepts
  int32_t answer(const char* call, DWORD keys, DWORD* e) {
    calls.push_back(call);
    effects.push_back(*e = standardDropEffect(keys, *e & ~refuse));
    return DRAG_S_OK;
  }
  int32_t DragEnter(DataObject& d, DWORD keys, POINT, DWORD* e) override {
    if (auto t = d.GetData(static_cast<int>(CF_TEXT))) text = *t;
    return answer("enter", keys, e);
  }
  int32_t DragOver(DWORD keys, POINT, DWORD* e) override { return answer("over", keys, e); }
  int32_t DragLeave() override {
    calls.push_back("leave");
    return DRAG_S_OK;
  }
  int32_t Drop(DataObject& d, DWORD keys, POINT, DWORD* e) override {
    files = d.Files();
    return answer("drop", keys, e);
  }
};

class DragDrop : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = popup(Rect{0, 0, 400, 300});
    left = child(form, Rect{10, 10, 110, 110});
    right = child(form, Rect{200, 10, 300, 110});
  }
  HWND form = 0, left = 0, right = 0;
};

TEST_F(DragDrop, DataObjectFormatsDelayedRenderingAndFiles) {
  {
    auto d = DataObject::create();
    EXPECT_EQ(DataObject::liveCount(), 1u);
    EXPECT_FALSE(d->GetFormat(1));
    d->SetData(1, std::string("hello"));
    EXPECT_TRUE(d->GetFormat(1));
    EXPECT_EQ(d->GetData(1), std::optional<std::string>("hello"));
    // A registered format: one number for one name, whatever the case; the host's 16-bit
    // signed form names the same format.
    const UINT fmt = RegisterClipboardFormatA("ZorvaXP Rows");
    EXPECT_EQ(std::pair(fmt >= 0xC000u, RegisterClipboardFormatA("zorvaxp rows")), std::pair(true, fmt));
    char name[32];
    EXPECT_EQ(GetClipboardFormatNameA(fmt, name, sizeof name), 12);
    EXPECT_STREQ(name, "ZorvaXP Rows");
    // Declared without data: the source renders it on the first request only.
    int renders = 0;
    d->onRender = [&](DataObject& self, int f) {
      ++renders;
      self.SetData(f, std::string("rows"));
    };
    d->SetData(static_cast<int16_t>(fmt), std::nullopt);
    EXPECT_EQ(d->GetData(static_cast<int>(fmt)), std::optional<std::string>("rows"));
    EXPECT_EQ(d->GetData(static_cast<int16_t>(fmt)), std::optional<std::string>("rows"));
    EXPECT_EQ(renders, 1);
    // Files make format 15 present; as data they read one per line.
    d->Files() = {"/tmp/a.txt", "/tmp/b.txt"};
    EXPECT_TRUE(d->GetFormat(static_cast<int>(CF_HDROP)));
    EXPECT_EQ(d->GetData(static_cast<int>(CF_HDROP)), std::optional<std::string>("/tmp/a.txt\r\n/tmp/b.txt"));
    d->SetData(static_cast<int>(CF_HDROP), std::string("/x\r\n/y\r\n/z"));
    EXPECT_EQ(d->Files().size(), 3u);
    d->Clear();
    EXPECT_FALSE(d->GetFormat(1) || d->GetFormat(static_cast<int>(CF_HDROP)));
    EXPECT_TRUE(d->formats().empty());
  }
  EXPECT_EQ(DataObject::liveCount(), 0u);
  EXPECT_EQ(RegisterClipboardFormatA("") | RegisterClipboardFormatA(nullptr), 0u);
}

TEST_F(DragDrop, EffectsFollowTheKeyState) {
  const DWORD all = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  std::vector<DWORD> got;
  for (auto [keys, allowed] : {std::pair<DWORD, DWORD>{0, all}, {MK_CONTROL, all}, {MK_SHIFT, all},
                               {MK_CONTROL | MK_SHIFT, all}, {0, DROPEFFECT_COPY}, {MK_SHIFT, DROPEFFECT_COPY}})
    got.push_back(standardDropEffect(keys, allowed));
  EXPECT_EQ(got, (std::vector<DWORD>{DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK,
                                     DROPEFFECT_COPY, DROPEFFECT_NONE}));
}

TEST_F(DragDrop, RegistrationErrorsAndTargetsFreedWithTheirWindow) {
  auto t = std::make_shared<RecordingTarget>();
  // In order: no window, no target, a first and a second registration, revoking the unregistered
  // window and the registered one, and registering again elsewhere.
  EXPECT_EQ((std::vector<int32_t>{RegisterDragDrop(0, t), RegisterDragDrop(left, nullptr), RegisterDragDrop(left, t),
                                  RegisterDragDrop(left, t), RevokeDragDrop(right), RevokeDragDrop(left),
                                  RegisterDragDrop(right, t)}),
            (std::vector<int32_t>{DRAGDROP_E_INVALIDHWND, DRAG_E_INVALIDARG, DRAG_S_OK, DRAGDROP_E_ALREADYREGISTERED,
                                  DRAGDROP_E_NOTREGISTERED, DRAG_S_OK, DRAG_S_OK}));
  EXPECT_EQ(t.use_count(), 2);
  DestroyWindow(form);  // the child's target goes with it
  EXPECT_EQ(t.use_count(), 1);
}

TEST_F(DragDrop, DragBetweenWindowsEntersLeavesAndDropsWithTheChosenEffect) {
  auto a = std::make_shared<RecordingTarget>();
  auto b = std::make_shared<RecordingTarget>();
  RegisterDragDrop(left, a);
  RegisterDragDrop(right, b);
  auto data = DataObject::create();
  data->SetData(1, std::string("row 3"));
  input.moveTo(left).press();
  input.whileModal([&](TestInput& in) {
    in.moveBy(5, 0);               // still over the source's window: over
    in.moveTo(right);              // leave the left, enter the right
    in.keyDown(VK_CONTROL);        // a modifier change is a DragOver: copy
    in.release();                  // drop with Ctrl held
    in.keyUp(VK_CONTROL);
  });
  DWORD effect = 0xFF;
  EXPECT_EQ(DoDragDrop(data, nullptr, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect), DRAGDROP_S_DROP);
  EXPECT_EQ(effect, DROPEFFECT_COPY);
  EXPECT_EQ(a->calls, (std::vector<std::string>{"enter", "over", "leave"}));
  EXPECT_EQ(b->calls, (std::vector<std::string>{"enter", "over", "drop"}));
  EXPECT_EQ(b->effects, (std::vector<DWORD>{DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_COPY}));
  EXPECT_EQ(b->text, "row 3");
  EXPECT_FALSE(dragInProgress());
  EXPECT_EQ(GetCapture() | inputState().keyboardGrab, 0u);

  // Shift moves; a target refusing everything gets a leave and the drag is cancelled.
  b->calls.clear();
  input.moveTo(left).press();
  input.whileModal([](TestInput& in) { in.keyDown(VK_SHIFT).moveTo(Point{250, 60}).release().keyUp(VK_SHIFT); });
  EXPECT_EQ(DoDragDrop(data, nullptr, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect), DRAGDROP_S_DROP);
  EXPECT_EQ(effect, DROPEFFECT_MOVE);
  b->refuse = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  b->calls.clear();
  input.moveTo(left).press();
  input.whileModal([&](TestInput& in) { in.moveTo(right).release(); });
  EXPECT_EQ(DoDragDrop(data, nullptr, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect), DRAGDROP_S_CANCEL);
  EXPECT_EQ(effect, DROPEFFECT_NONE);
  EXPECT_EQ(b->calls, (std::vector<std::string>{"enter", "leave"}));
}

// A source that can take over the cursor (GiveFeedback S_OK) and records what it was asked.
struct FeedbackSource : DropSource {
  bool own = false;
  std::vector<DWORD> asked;
  int32_t GiveFeedback(DWORD effect) override {
    asked.push_back(effect);
    if (!own) return DRAGDROP_S_USEDEFAULTCURSORS;
    SetCursor(LoadCursorA(0, IDC_HAND));
    return DRAG_S_OK;
  }
};

TEST_F(DragDrop, FeedbackCursorsFollowTheTargetsEffectUnlessTheSourceDrawsItsOwn) {
  auto b = std::make_shared<RecordingTarget>();
  RegisterDragDrop(right, b);
  auto data = DataObject::create();
  FeedbackSource src;
  std::vector<HCURSOR> seen;
  auto drive = [&](TestInput& in) {
    in.moveTo(Point{160, 60});  // the form between the controls: no target
    seen.push_back(GetCursor());
    in.moveTo(right);  // move (the default)
    seen.push_back(GetCursor());
    in.keyDown(VK_CONTROL).moveBy(1, 0);  // copy
    seen.push_back(GetCursor());
    in.keyDown(VK_SHIFT).moveBy(1, 0);  // Ctrl+Shift: link
    seen.push_back(GetCursor());
    in.keyUp(VK_SHIFT).keyUp(VK_CONTROL).key(VK_ESCAPE);
  };
  DWORD effect = 0;
  input.moveTo(left).press();
  input.whileModal(drive);
  DoDragDrop(data, &src, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
  EXPECT_EQ(seen, (std::vector<HCURSOR>{LoadCursorA(0, IDC_NO), dragCursor(kDragMoveCursor),
                                        dragCursor(kDragCopyCursor), dragCursor(kDragLinkCursor)}));
  // The three shapes are distinct, permanent handles; unknown ids give none.
  EXPECT_NE(dragCursor(kDragCopyCursor), dragCursor(kDragLinkCursor));
  EXPECT_EQ(dragCursor(IDC_ARROW), 0u);
  EXPECT_NE(std::find(src.asked.begin(), src.asked.end(), DROPEFFECT_LINK), src.asked.end());

  // A source answering S_OK keeps the cursor it set, whatever the effect.
  src.own = true;
  seen.clear();
  input.release().moveTo(left).press();
  input.whileModal(drive);
  DoDragDrop(data, &src, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
  EXPECT_EQ(seen, std::vector<HCURSOR>(4, LoadCursorA(0, IDC_HAND)));
}

TEST_F(DragDrop, EscapeAndGivingUpCancel) {
  auto b = std::make_shared<RecordingTarget>();
  RegisterDragDrop(right, b);
  auto data = DataObject::create();
  input.moveTo(left).press();
  input.whileModal([&](TestInput& in) { in.moveTo(right).key(VK_ESCAPE); });
  DWORD effect = 0;
  EXPECT_EQ(DoDragDrop(data, nullptr, DROPEFFECT_COPY, &effect), DRAGDROP_S_CANCEL);
  EXPECT_EQ(b->calls, (std::vector<std::string>{"enter", "leave"}));
  // No driver, headless: the loop gives up and the drag is cancelled, never hangs.
  EXPECT_EQ(DoDragDrop(data, nullptr, DROPEFFECT_COPY, &effect), DRAGDROP_S_CANCEL);
  EXPECT_EQ(DoDragDrop(nullptr, nullptr, DROPEFFECT_COPY, &effect), DRAG_E_INVALIDARG);
}

TEST_F(DragDrop, ExternalFileAndTextDropsArriveAtTheWindowUnderThePoint) {
  auto b = std::make_shared<RecordingTarget>();
  RegisterDragDrop(form, b);  // the child has none: its parent's target takes the drop
  EXPECT_EQ(injectFileDrop(Point{250, 60}, {"/home/u/a.png", "/home/u/b c.txt"}), DROPEFFECT_COPY);
  EXPECT_EQ(b->calls, (std::vector<std::string>{"enter", "drop"}));
  EXPECT_EQ(b->files, (std::vector<std::string>{"/home/u/a.png", "/home/u/b c.txt"}));
  b->calls.clear();
  EXPECT_EQ(injectTextDrop(Point{20, 200}, "dropped"), DROPEFFECT_COPY);
  EXPECT_EQ(b->text, "dropped");
  // Over the bare desktop nothing takes it.
  EXPECT_EQ(injectFileDrop(Point{900, 700}, {"/x"}), DROPEFFECT_NONE);
  EXPECT_EQ(DataObject::liveCount(), 0u);
}

// ---- Drag images ----------------------------------------------------------------------------------

class DragImages : public UiTest {
 protected:
  // A 32 x 16 bitmap: two 16 x 16 images, the first red with a white (transparent) corner pixel
  // in its mask, the second blue.
  HIMAGELIST makeList() {
    HIMAGELIST l = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0);
    HDC screen = GetDC(0);
    GdiObject bmp(CreateCompatibleBitmap(screen, 32, 16));
    GdiObject mask(CreateCompatibleBitmap(screen, 32, 16));
    ReleaseDC(0, screen);
    auto s = gfx::surfaceOfBitmap(bmp.get());
    auto m = gfx::surfaceOfBitmap(mask.get());
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 32; ++x) {
        s->at(x, y) = x < 16 ? 0xFF0000u : 0x0000FFu;
        m->at(x, y) = (x == 0 && y == 0) ? 0xFFFFFFu : 0;
      }
    EXPECT_EQ(ImageList_Add(l, bmp.get(), mask.get()), 0);
    return l;
  }
  static uint32_t at(int x, int y) { return composeScreen()->at(x, y); }
};

TEST_F(DragImages, TheImageFollowsWithoutLeavingPixelsBehind) {
  HWND w = popup(Rect{100, 100, 300, 200}, kBrushClass);
  input.pump();
  HIMAGELIST l = makeList();
  EXPECT_EQ(ImageList_GetImageCount(l), 2);
  const uint32_t ground = at(150, 150);
  ASSERT_TRUE(ImageList_BeginDrag(l, 0, 4, 4));
  ASSERT_TRUE(ImageList_DragEnter(w, 50, 50));  // window-relative, less the hot spot
  EXPECT_EQ(ui::dragImageRect(), (Rect{146, 146, 162, 162}));
  EXPECT_EQ(std::pair(at(150, 150), at(146, 146)), std::pair(0xFF0000u, ground));  // the masked corner shows what is under it
  ASSERT_TRUE(ImageList_DragMove(80, 50));
  EXPECT_EQ(std::pair(at(150, 150), at(180, 150)), std::pair(ground, 0xFF0000u));  // nothing left behind
  // The window's own pixels were never touched.
  HDC dc = GetDC(w);
  EXPECT_EQ(GetPixel(dc, 80, 50), RGB(255, 255, 255));
  ReleaseDC(w, dc);
  ImageList_DragShowNolock(FALSE);
  EXPECT_EQ(at(180, 150), ground);
  ImageList_DragShowNolock(TRUE);
  EXPECT_EQ(at(180, 150), 0xFF0000u);
  ImageList_DragLeave(w);
  EXPECT_EQ(at(180, 150), ground);
  ImageList_EndDrag();
  EXPECT_TRUE(ui::dragImageRect().empty());
  // Destroying the list during a drag does not harm the drag's own copy.
  ASSERT_TRUE(ImageList_BeginDrag(l, 1, 0, 0));
  ImageList_Destroy(l);
  ImageList_DragEnter(0, 10, 10);
  EXPECT_EQ(at(12, 12), 0x0000FFu);
  ImageList_EndDrag();
  EXPECT_EQ(handles().liveCount(kImageListKind), 0u);
}

TEST_F(DragImages, AThirtyTwoBitImageWithAlphaBlendsOverTheScreen) {
  HWND w = popup(Rect{100, 100, 300, 200}, kBrushClass);  // white
  input.pump();
  HDC screen = GetDC(0);
  GdiObject bmp(CreateCompatibleBitmap(screen, 16, 16));
  ReleaseDC(0, screen);
  auto s = gfx::surfaceOfBitmap(bmp.get());
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) s->at(x, y) = (x < 8 ? 0x80000000u : 0xFF000000u);  // black, half / full
  HIMAGELIST blended = ImageList_Create(16, 16, ILC_COLOR32, 1, 0);
  HIMAGELIST plain = ImageList_Create(16, 16, ILC_COLOR24, 1, 0);
  ASSERT_EQ(ImageList_Add(blended, bmp.get(), 0), 0);
  ASSERT_EQ(ImageList_Add(plain, bmp.get(), 0), 0);
  ASSERT_TRUE(ImageList_BeginDrag(blended, 0, 0, 0));
  ASSERT_TRUE(ImageList_DragEnter(w, 10, 10));
  EXPECT_EQ(std::pair(at(112, 112), at(120, 112)), std::pair(0x7F7F7Fu, 0x000000u));  // 255 * (1 - 128/255), rounded
  ImageList_EndDrag();
  // A list of another depth ignores the alpha byte.
  ASSERT_TRUE(ImageList_BeginDrag(plain, 0, 0, 0));
  ASSERT_TRUE(ImageList_DragEnter(w, 10, 10));
  EXPECT_EQ(at(112, 112), 0x000000u);
}

TEST_F(DragImages, BadArgumentsFailAndTheResetFreesLists) {
  EXPECT_EQ(ImageList_Create(0, 16, 0, 1, 1) | ImageList_Create(16, 16, 0, -1, 1), 0u);
  HIMAGELIST l = makeList();
  EXPECT_FALSE(ImageList_BeginDrag(l, 5, 0, 0) || ImageList_DragMove(1, 1) || ImageList_DragEnter(0, 0, 0) ||
               ImageList_Destroy(0));
  EXPECT_EQ(std::pair(ImageList_Add(l, 0, 0), ImageList_Add(0, 0, 0)), std::pair(-1, -1));
  ImageList_Create(8, 8, 0, 1, 1);
  EXPECT_EQ(handles().liveCount(kImageListKind), 2u);
  resetWindowSystem();
  EXPECT_EQ(handles().liveCount(kImageListKind), 0u);
}

}  // namespace
}  // namespace zxp::ui::testing
