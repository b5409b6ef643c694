// The date picker: overwrite typing with the caret skipping separators, the masks and their
// formats, Delete swallowed, the impossible-date fallback, the pop-up as a real topmost window
// under or above the field, closing on a press elsewhere (which still reaches its target), a day
// click setting the field, and no hook, window, timer or drawing object left behind.

#include "dates/DatesFixture.h"
#include "dates/ZorvaXPDPicker.h"
#include "platform/gfx/SysColors.h"
#include "platform/ui/Hooks.h"
#include "platform/ui/Screen.h"
#include "platform/ui/User.h"
#include "platform/ui/Window.h"
#include "support/PixelTable.h"

namespace zxp::testing {
namespace {

using dates::MaskType;
using dates::ZorvaXPDPicker;

class DatePicker : public DatesTest {
 protected:
  ZorvaXPDPicker& picker(const std::string& name = "dtp", int y = 10) {
    ZorvaXPDPicker& p = place<ZorvaXPDPicker>(name, 120, 21, 10, y);
    p.setValue(*host::makeDate(2024, 1, 6));
    return p;
  }
  static int caret(const ZorvaXPDPicker& p) {
    DWORD s = 0, e = 0;
    SendMessageA(p.field(), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    return static_cast<int>(s);
  }
  void clickButton(const ZorvaXPDPicker& p) { input.moveTo(p.dropDown().hWnd(), Point{8, 9}).click(); }
  static RECT rectOf(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
  }
};

TEST_F(DatePicker, TypingIntoAnEmptyFieldPlacesTheSeparatorsAndTheCaretSkipsThem) {
  ZorvaXPDPicker& p = picker();
  TestXP& other = add("other", 300, 2000);
  SetFocus(p.field());
  SetWindowTextA(p.field(), "");
  std::vector<int> carets;
  for (char c : std::string("31122024")) {
    input.type(std::string(1, c));
    carets.push_back(caret(p));
  }
  EXPECT_EQ(p.text(), "31/12/2024");
  EXPECT_EQ(carets, (std::vector<int>{1, 3, 4, 6, 7, 8, 9, 10}));
  input.type("7");  // the text is full
  EXPECT_EQ(p.text(), "31/12/2024");
  SetFocus(other.hWnd());
  EXPECT_EQ(std::tuple(host::Day(p.Value()), host::Month(p.Value()), host::Year(p.Value())), std::tuple(31, 12, 2024));
}

TEST_F(DatePicker, TypingOverwritesDigitByDigitAndArrowsSkipSeparators) {
  ZorvaXPDPicker& p = picker();
  logEvents(p);
  SetFocus(p.field());
  EXPECT_EQ(p.text(), "06/01/2024");
  SendMessageA(p.field(), EM_SETSEL, 0, 0);
  input.type("15");
  EXPECT_EQ(std::tuple(p.text(), caret(p)), std::tuple("15/01/2024", 3));
  input.key(VK_LEFT);  // 2 is the separator: on to the day's last digit
  EXPECT_EQ(caret(p), 1);
  input.key(VK_RIGHT);  // 2 again: on past the separator
  EXPECT_EQ(caret(p), 3);
  input.type("0");
  EXPECT_EQ(std::tuple(p.text(), caret(p)), std::tuple("15/01/2024", 4));
  // Delete is swallowed; the KeyDown event sees key code 0.
  log.clear();
  input.key(VK_DELETE);
  EXPECT_EQ(std::tuple(p.text(), events({"MouseMove"}).front()), std::tuple("15/01/2024", "KeyDown 0 0"));
  // Enter and Escape.
  log.clear();
  input.key(13).key(27);
  const std::vector<std::string> e = events({"MouseMove", "KeyDown", "KeyPress", "Change"});
  EXPECT_EQ(e, (std::vector<std::string>{"OnEnter", "KeyUp 13 0", "OnEscape", "KeyUp 27 0"}));
  // Locked: typing changes nothing.
  p.setLocked(true);
  input.type("9");
  EXPECT_EQ(p.text(), "15/01/2024");
}

TEST_F(DatePicker, EveryMaskHasItsOrderFormatAndFixedPositions) {
  ZorvaXPDPicker& p = picker();
  p.setValue(*host::makeDate(2024, 12, 31));
  struct Case {
    MaskType mask;
    const char* format;
    const char* text;
  };
  p.setDateSpearator(".");
  const Case cases[] = {{MaskType::MM_DD_YY, "mm.dd.yy", "12.31.24"},
                        {MaskType::DD_MM_YY, "dd.mm.yy", "31.12.24"},
                        {MaskType::YY_MM_DD, "yy.mm.dd", "24.12.31"},
                        {MaskType::DD_MM_YYYY, "dd.mm.yyyy", "31.12.2024"},
                        {MaskType::MM_DD_YYYY, "mm.dd.yyyy", "12.31.2024"}};
  for (const Case& k : cases) {
    p.setMask(k.mask);
    EXPECT_EQ(std::tuple(p.FormatDate(), p.text()), std::tuple(k.format, k.text));
  }
  // Typing in year-first order, with a two-digit year after the runtime's rule.
  TestXP& other = add("other", 300, 2000);
  p.setMask(MaskType::YY_MM_DD);
  SetFocus(p.field());
  SetWindowTextA(p.field(), "");
  input.type("290315");
  EXPECT_EQ(p.text(), "29.03.15");
  SetFocus(other.hWnd());
  EXPECT_EQ(std::tuple(host::Year(p.Value()), host::Month(p.Value()), host::Day(p.Value())), std::tuple(2029, 3, 15));
}

TEST_F(DatePicker, AnImpossibleTypedDateRevertsWhenTheFieldLosesTheFocus) {
  ZorvaXPDPicker& p = picker();
  p.setValue(*host::makeDate(2024, 4, 1));
  TestXP& other = add("other", 300, 2000);
  SetFocus(p.field());
  SendMessageA(p.field(), EM_SETSEL, 0, 0);
  input.type("31");
  EXPECT_EQ(p.text(), "31/04/2024");
  SetFocus(other.hWnd());
  EXPECT_EQ(std::tuple(p.text(), host::Day(p.Value())), std::tuple("01/04/2024", 1));
  // A good date typed over the held one is taken.
  SetFocus(p.field());
  SendMessageA(p.field(), EM_SETSEL, 0, 0);
  input.type("30");
  SetFocus(other.hWnd());
  EXPECT_EQ(host::Day(p.Value()), 30);
}

// The drop-down calendar is not drawn while the form loads; dropped down it looks exactly like a
// calendar of the same date drawn on the form. A calendar hidden and shown again draws what
// changed while it was hidden.
TEST_F(DatePicker, TheDropDownIsDrawnWhenItDropsDownNotWhileHidden) {
  ZorvaXPDPicker& p = picker();
  dates::ZorvaXPCalender& shown = calendar("cal", 150, 10);
  shown.setValue(*host::makeDate(2024, 1, 6));
  const HDC drop = p.calendar().surface().hDC(), ref = shown.surface().hDC();
  EXPECT_NE(GetPixel(drop, 0, 100), GetPixel(ref, 0, 100)) << "the hidden drop-down was drawn";
  // Until it drops down it holds no pixels of its own (its clear is the shared uniform picture)
  // and has made no month or year picker.
  EXPECT_TRUE(ui::windowFromHandle(p.calendar().hWnd())->surface->showsShared());
  EXPECT_FALSE(p.calendar().pickersMade());
  p.ShowCalander();
  for (int y = 0; y < 199; ++y)
    for (int x = 0; x < 191; ++x) ASSERT_EQ(GetPixel(drop, x, y), GetPixel(ref, x, y)) << x << "," << y;

  ShowWindow(shown.hWnd(), SW_HIDE);
  shown.setSelectedDate(20);
  const dates::DayCell& twenty = shown.dayCells()[static_cast<size_t>(cellIndex(shown, "20"))];
  const RECT cell{twenty.Left + 2, twenty.Top + 2, twenty.Right - 2, twenty.Bottom - 2};
  const COLORREF selected = translateColor(dates::ZorvaXPCalender::kSelectedBackColor);
  EXPECT_FALSE(hasColour(ref, cell, selected));
  ShowWindow(shown.hWnd(), SW_SHOW);
  input.advance(1);
  EXPECT_TRUE(hasColour(ref, cell, selected));
}

TEST_F(DatePicker, TheButtonOpensATopmostWindowUnderTheFieldAndClosesIt) {
  ZorvaXPDPicker& p = picker();
  logEvents(p);
  const HWND cal = p.calendar().hWnd();
  EXPECT_EQ(GetAncestor(cal, GA_PARENT), GetDesktopWindow());
  EXPECT_TRUE(GetWindowLongA(cal, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(p.calendarShowing());
  // Hover and pressed faces of the button.
  const int h = p.dropDown().ScaleHeight();
  input.moveTo(p.dropDown().hWnd(), Point{8, 2});
  EXPECT_EQ(px(p.dropDown(), 8, 1), gradientRow(ZorvaXPDPicker::kOnOverGradient1, ZorvaXPDPicker::kOnOverGradient2, 1, h));
  EXPECT_EQ(px(p.dropDown(), 0, 5), translateColor(ZorvaXPDPicker::kOnOverBorderColor));
  input.press();
  EXPECT_EQ(px(p.dropDown(), 8, 1), gradientRow(ZorvaXPDPicker::kOnOverGradient2, ZorvaXPDPicker::kOnOverGradient1, 1, h));
  input.release();
  ASSERT_TRUE(p.calendarShowing());
  EXPECT_EQ(events({"MouseMove"}), (std::vector<std::string>{"BeforeShowCalender", "AfterShowCalender"}));
  const RECT field = rectOf(p.hWnd()), popup = rectOf(cal);
  EXPECT_EQ(std::tuple(popup.left, popup.top, popup.right - popup.left), std::tuple(field.left, field.bottom, 191));
  EXPECT_TRUE(GetWindowLongA(cal, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(ui::hookCount(WH_MOUSE), 1u);
  // Seen on the screen: the calendar lies above the form.
  EXPECT_EQ(WindowFromPoint(POINT{popup.left + 100, popup.top + 100}), cal);
  // A press inside the pop-up does not close it; the button's click closes it.
  input.moveTo(p.calendar().hWnd(), Point{5, 190}).click();
  EXPECT_TRUE(p.calendarShowing());
  input.advance(50);
  clickButton(p);
  EXPECT_FALSE(p.calendarShowing());
  EXPECT_EQ(ui::hookCount(WH_MOUSE), 0u);
  input.moveTo(Point{900, 700});
  input.advance(20);
  EXPECT_EQ(px(p.dropDown(), 8, 1), gradientRow(ZorvaXPDPicker::kGradientColor1, ZorvaXPDPicker::kGradientColor2, 1, h));
}

TEST_F(DatePicker, APressElsewhereClosesThePopupAndStillReachesItsTarget) {
  ZorvaXPDPicker& p = picker();
  TestXP& other = add("other", 3000, 300, 900, 600);
  int clicks = 0;
  other.Click.connect([&] { ++clicks; });
  clickButton(p);
  ASSERT_TRUE(p.calendarShowing());
  input.moveTo(other.hWnd(), Point{10, 10}).click();
  EXPECT_FALSE(p.calendarShowing());
  EXPECT_EQ(std::tuple(clicks, ui::hookCount(WH_MOUSE)), std::tuple(1, 0u));
  // A press in another window of the application (a second form) closes it too.
  clickButton(p);
  ASSERT_TRUE(p.calendarShowing());
  host::FormOptions o;
  o.name = "Form2";
  o.screenPos = {600, 400};
  o.clientWidth = 1500;
  o.clientHeight = 900;
  host::Form second(o);
  input.moveTo(second.hWnd(), Point{20, 20}).click();
  EXPECT_FALSE(p.calendarShowing());
  EXPECT_EQ(ui::hookCount(WH_MOUSE), 0u);
  // A calendar shown by the application's own call closes the same way, with one hook only.
  p.ShowCalander();
  ASSERT_TRUE(p.calendarShowing());
  EXPECT_EQ(ui::hookCount(WH_MOUSE), 1u);
  input.moveTo(other.hWnd(), Point{10, 10}).click();
  EXPECT_FALSE(p.calendarShowing());
  EXPECT_EQ(std::tuple(clicks, ui::hookCount(WH_MOUSE)), std::tuple(2, 0u));
}

TEST_F(DatePicker, OpensAboveTheFieldNearTheBottomOfTheWorkArea) {
  ZorvaXPDPicker& p = picker();
  const RECT field = rectOf(p.hWnd());
  ui::setWorkArea(Rect{0, 0, 1024, field.bottom + 150});
  clickButton(p);
  ASSERT_TRUE(p.calendarShowing());
  const RECT popup = rectOf(p.calendar().hWnd());
  EXPECT_EQ(std::tuple(popup.bottom, popup.left), std::tuple(field.top, field.left));
}

TEST_F(DatePicker, ADayClickedInThePopupSetsTheFieldAndClosesIt) {
  ZorvaXPDPicker& p = picker();
  logEvents(p);
  clickButton(p);
  dates::ZorvaXPCalender& c = p.calendar();
  pressHeader(c, c.imgRight(0));  // February 2024, still open
  EXPECT_TRUE(p.calendarShowing());
  clickCell(c, cellIndex(c, "14"));
  EXPECT_FALSE(p.calendarShowing());
  EXPECT_EQ(std::tuple(p.text(), ui::hookCount(WH_MOUSE)), std::tuple("14/02/2024", 0u));
  EXPECT_EQ(events({"MouseMove"}), (std::vector<std::string>{"BeforeShowCalender", "AfterShowCalender", "Change", "AfterChanged"}));
}

TEST_F(DatePicker, LooksRequiredMarkFrameAndFocusColour) {
  ZorvaXPDPicker& p = picker();
  EXPECT_EQ(px(p.surface(), 60, 0), translateColor(ZorvaXPDPicker::kBorderColor));
  EXPECT_NE(px(p.surface(), 1, 1), translateColor(ZorvaXPDPicker::kRequiredColor));
  p.setRequired(true);
  const COLORREF req = translateColor(ZorvaXPDPicker::kRequiredColor);
  expectPixels(p.surface().hDC(), {{1, 1, req}, {5, 1, req}, {1, 5, req}});
  EXPECT_NE(px(p.surface(), 6, 6), translateColor(ZorvaXPDPicker::kRequiredColor));
  SetFocus(p.field());
  input.pump();
  EXPECT_EQ(px(p.field(), 92, 1), translateColor(ZorvaXPDPicker::kBackColorOver));
  // The forwarded calendar properties reach the calendar.
  p.setCSelectedBackColor(0x00FF00);
  EXPECT_EQ(p.calendar().SelectedBackColor(), 0x00FF00u);
  p.setCText4Today("Now:");
  EXPECT_EQ(p.calendar().Text4Today(), "Now:");
}

TEST_F(DatePicker, TeardownWithThePopupOpenLeavesNothingBehind) {
  form.reset();
  const Leftovers before;
  makeForm(true);
  ZorvaXPDPicker& p = picker();
  dates::ZorvaXPCalender& c = calendar("cal", 10, 60);
  clickButton(p);
  c.showYearPicker();
  input.moveTo(c.yearPicker().item(1).hWnd(), Point{10, 10}).press().moveTo(c.yearPicker().item(0).hWnd(), Point{10, -5});
  input.advance(10);
  EXPECT_EQ(ui::hookCount(WH_MOUSE), 1u);
  form.reset();
  EXPECT_EQ(ui::hookCount(WH_MOUSE), 0u);
  before.check();
}

}  // namespace
}  // namespace zxp::testing
