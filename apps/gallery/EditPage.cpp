#include "EditPage.h"

#include <cstring>

#include "Page.h"
#include "common/PaintHelpers.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/ui/Edit.h"

namespace zxp::gallery {

using namespace appkit;  // the shared painting helpers
namespace {

constexpr const char* kPanelClass = "ZxpGalleryEditPanel";
// The text box's colours: field, focused field, border, focused border.
constexpr COLORREF kBack = RGB(255, 255, 255);
constexpr COLORREF kBackOver = RGB(255, 255, 192);
constexpr COLORREF kBorder = RGB(127, 157, 185);
constexpr COLORREF kBorderOver = RGB(255, 128, 0);
constexpr COLORREF kPageBack = RGB(236, 233, 216);

constexpr Rect kSingle{20, 40, 300, 57};
constexpr Rect kMulti{20, 100, 300, 167};  // five lines of text

const char* kMultiText =
    "The multi-line field wraps its text at word boundaries within the formatting rectangle and "
    "scrolls by whole lines.\r\nLine breaks are CR LF.\r\nThis line and the next are below the visible "
    "part.\r\nScroll down to see them.";


void label(HDC dc, int x, int y, const char* text) { TextOut(dc, x, y, text, static_cast<int>(std::strlen(text))); }

}  // namespace

EditPage::EditPage(HWND host, Rect area)
    : fieldFont_(face("Tahoma", 8.25).create()),
      labelFont_(face("Tahoma", 8).create()),
      fieldBrush_(CreateSolidBrush(kBack)),
      focusBrush_(CreateSolidBrush(kBackOver)) {
  registerAppClass(kPanelClass, panelProc);
  panel_ = CreateWindowExA(0, kPanelClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, area.left, area.top,
                           area.width(), area.height(), host, 0, 0, this);
  SetWindowLongPtrA(panel_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  // Inside each frame as the text box places its field: 1 pixel in, 4 more on the left.
  single_ = CreateWindowExA(0, WC_EDITA, "Single line: type here", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_NOHIDESEL,
                            kSingle.left + 5, kSingle.top + 2, kSingle.width() - 7, kSingle.height() - 4, panel_, 1, 0,
                            nullptr);
  multi_ = CreateWindowExA(0, WC_EDITA, kMultiText, WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL,
                           kMulti.left + 3, kMulti.top + 1, kMulti.width() - 4, kMulti.height() - 2, panel_, 2, 0,
                           nullptr);
  for (HWND f : {single_, multi_}) SendMessageA(f, WM_SETFONT, fieldFont_.get(), TRUE);
  SendMessageA(single_, EM_SETSEL, 13, 17);  // "type"
  SetFocus(multi_);
  SendMessageA(multi_, EM_SETSEL, 4, 20);  // "multi-line field"
}

EditPage::~EditPage() {
  if (IsWindow(panel_)) DestroyWindow(panel_);
}

LRESULT EditPage::panelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* page = ui::windowObject<EditPage>(hwnd);
  if (!page) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_PAINT:
      page->paintPanel();
      return 0;
    case WM_CTLCOLOREDIT: {
      bool focused = GetFocus() == static_cast<HWND>(lParam);
      SetTextColor(static_cast<HDC>(wParam), RGB(0, 0, 0));
      SetBkColor(static_cast<HDC>(wParam), focused ? kBackOver : kBack);
      return static_cast<LRESULT>(focused ? page->focusBrush_.get() : page->fieldBrush_.get());
    }
    case WM_COMMAND:
      // The frames follow the focus.
      if (HIWORD(wParam) == EN_SETFOCUS || HIWORD(wParam) == EN_KILLFOCUS) InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

void EditPage::paintPanel() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(panel_, &ps);
  RECT client{};
  GetClientRect(panel_, &client);
  GdiObject back(CreateSolidBrush(kPageBack));
  FillRect(dc, &client, back.get());
  {
    Selection sf(dc, labelFont_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    label(dc, kSingle.left, kSingle.top - 18, "Single-line field, selection kept without the focus");
    label(dc, kMulti.left, kMulti.top - 18, "Multi-line field with word wrap (orange: focused)");
  }
  for (auto [r, field] : {std::pair{kSingle, single_}, std::pair{kMulti, multi_}}) {
    bool focused = GetFocus() == field;
    frame(dc, r, focused ? kBorderOver : kBorder);
    if (focused) {  // the field's background reaches the frame
      RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
      FillRect(dc, &inner, focusBrush_.get());
    }
  }
  EndPaint(panel_, &ps);
}

namespace {

constexpr Rect kPageArea{0, 0, 320, 190};

// The live page: a form whose client area is the edit page's panel, so that the fields take real
// input in the gallery (and render like any live page headless).
class EditForm final : public host::Form {
 public:
  explicit EditForm(const host::FormOptions& options) : host::Form(options), page_(hWnd(), kPageArea) {}

 private:
  EditPage page_;
};

std::unique_ptr<host::Form> buildEditForm(Point screenPos) {
  host::FormOptions o;
  o.name = "EditFields";
  o.caption = "Edit fields";
  o.clientWidth = kPageArea.width() * 15;  // twips
  o.clientHeight = kPageArea.height() * 15;
  o.screenPos = screenPos;
  return std::make_unique<EditForm>(o);
}

Page editPage() {
  Page p;
  p.name = "edit";
  p.title = "Edit fields";
  p.order = 30;
  p.form = buildEditForm;
  return p;
}

RegisterPage reg{editPage()};

}  // namespace
}  // namespace zxp::gallery
