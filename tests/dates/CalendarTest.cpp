// The month calendar: the grid's first-row rule and month lengths from the runtime's parser, the
// fixed colours and geometry, navigation with the year wrap, the limits and the order of
// events, and the month and year pickers with the day clamp and their auto-repeat.

#include <array>

#include "dates/DatesFixture.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/runtime/Date.h"
#include "platform/host/runtime/DateParse.h"
#include "platform/host/runtime/Numeric.h"
#include "platform/ui/User.h"

namespace zxp::testing {
namespace {

using dates::ZorvaXPCalender;

using Calendar = DatesTest;

TEST_F(Calendar, FirstRowFollowsTheStartOffsetRuleForEveryWeekday) {
  ZorvaXPCalender& c = calendar();
  struct Case {
    int month, year, weekday, firstIndex;  // first index of day 1, zero-based
    const char* lastOfPrevious;
  };
  // 2023: Jan 1 Sunday, May 1 Monday, Aug 1 Tuesday, Feb 1 Wednesday, Jun 1 Thursday,
  // Sep 1 Friday, Apr 1 Saturday.
  const Case cases[] = {{1, 2023, 1, 7, "31"}, {5, 2023, 2, 8, "30"}, {8, 2023, 3, 2, "31"}, {2, 2023, 4, 3, "31"},
                        {6, 2023, 5, 4, "31"}, {9, 2023, 6, 5, "31"}, {4, 2023, 7, 6, "31"}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.month);
    EXPECT_EQ(c.getFirstWeekDay(k.month, k.year), k.weekday);
    c.setSelectedYear(k.year);
    c.setSelectedMonth(k.month);
    EXPECT_EQ(cellIndex(c, "1"), k.firstIndex);
    const dates::DayCell& before = c.dayCells()[static_cast<size_t>(k.firstIndex - 1)];
    EXPECT_EQ(std::tuple(before.Text, before.Kind), std::tuple(k.lastOfPrevious, "Prev"));
    for (int i = 0; i < k.firstIndex; ++i) EXPECT_EQ(c.dayCells()[static_cast<size_t>(i)].Kind, "Prev");
    // The cells after the month's last day count the next month from 1.
    const int last = c.getLastDayOfMonth(k.month, k.year);
    const dates::DayCell& after = c.dayCells()[static_cast<size_t>(k.firstIndex + last)];
    EXPECT_EQ(std::tuple(after.Text, after.Kind), std::tuple("1", "Next"));
  }
  // Cell geometry: column 3 of row 2, with the grid 28 pixels under the header.
  const dates::DayCell& cell = c.dayCells()[9];
  EXPECT_EQ(cell.Left, 18 + 22 * 2);
  EXPECT_EQ(cell.Right, cell.Left + 23);
  EXPECT_EQ(cell.Top, ZorvaXPCalender::kHeaderTop + ZorvaXPCalender::kHeaderHeight + 28 + 19);
  EXPECT_EQ(cell.Bottom, cell.Top + 19);
}

TEST_F(Calendar, MonthLengthsComeFromTheParserIncludingCenturyLeapRules) {
  ZorvaXPCalender& c = calendar();
  // {month, year, last day}; month 13 has no day that converts.
  for (auto [m, y, last] : {std::array{2, 2024, 29}, {2, 1900, 28}, {2, 2000, 29}, {2, 2023, 28}, {4, 2024, 30},
                            {12, 9999, 31}, {13, 2024, 0}})
    EXPECT_EQ(c.getLastDayOfMonth(m, y), last) << m << "/" << y;
  // Reached by name as well.
  std::vector<host::Variant> args{host::Variant(int32_t{2}), host::Variant(int32_t{1900})};
  EXPECT_EQ(host::callMethod(c, "getLastDayOfMonth", args).toString(), "28");
}

// The month length as the calendar once found it: the last day number that the runtime's parser
// converts as year "/" month "/" day.
int lengthByParsing(int32_t month, int32_t year) {
  const std::string prefix = host::numberToText(year) + "/" + host::numberToText(month) + "/";
  int last = 0;
  for (int day = 1; day <= 31; ++day) {
    if (!host::parseDate(prefix + host::numberToText(day))) break;
    last = day;
  }
  return last;
}

TEST_F(Calendar, MonthLengthsAreTheParsersAnswerForEveryMonthAndOddInput) {
  ZorvaXPCalender& c = calendar();
  // Every month of four centuries around the leap rules' exceptions (1700, 1800, 1900, 2000, 2100)
  // and near the parser's year limits, plus months and years it does not read as written.
  std::vector<int32_t> years;
  for (int32_t y = 1690; y <= 2110; ++y) years.push_back(y);
  for (int32_t y : {-1, 0, 1, 29, 30, 99, 100, 101, 400, 9996, 9999, 10000, 123456}) years.push_back(y);
  for (int32_t y : years)
    for (int32_t m = -1; m <= 14; ++m) ASSERT_EQ(c.getLastDayOfMonth(m, y), lengthByParsing(m, y)) << m << "/" << y;
}

TEST_F(Calendar, DrawsSelectedTodayAndOtherMonthDaysInTheirColours) {
  ZorvaXPCalender& c = calendar();  // today is the virtual 2024-01-01
  EXPECT_EQ(std::tuple(c.surface().ScaleWidth(), c.surface().ScaleHeight()), std::tuple(191, 199));
  c.setSelectedDate(17);
  const HDC dc = c.surface().hDC();
  const dates::DayCell& sel = c.dayCells()[static_cast<size_t>(cellIndex(c, "17"))];
  EXPECT_EQ(GetPixel(dc, sel.Left + 1, sel.Top + 1), translateColor(c.SelectedBackColor()));
  EXPECT_EQ(GetPixel(dc, sel.Right - 1, sel.Bottom - 1), translateColor(c.SelectedBackColor()));
  EXPECT_TRUE(hasColour(dc, RECT{sel.Left, sel.Top, sel.Right, sel.Bottom}, translateColor(c.SelectedBForeColor())));
  const dates::DayCell& today = c.dayCells()[static_cast<size_t>(cellIndex(c, "1"))];
  EXPECT_TRUE(hasColour(dc, RECT{today.Left, today.Top, today.Right, today.Bottom}, RGB(255, 0, 0)));
  const dates::DayCell& grey = c.dayCells()[0];
  ASSERT_EQ(grey.Kind, "Prev");
  EXPECT_TRUE(hasColour(dc, RECT{grey.Left, grey.Top, grey.Right, grey.Bottom}, RGB(110, 110, 110)));
  // Another month: its day 1 is not today and is drawn black.
  c.setSelectedMonth(2);
  const dates::DayCell& notToday = c.dayCells()[static_cast<size_t>(cellIndex(c, "1"))];
  EXPECT_FALSE(hasColour(dc, RECT{notToday.Left, notToday.Top, notToday.Right, notToday.Bottom}, RGB(255, 0, 0)));
  // The weekday letters in DayCaptionsForeColor (blue), the frame in BorderColor.
  int blue = 0;
  for (int y = ZorvaXPCalender::kGridTop - 19; y < ZorvaXPCalender::kGridTop; ++y)
    for (int x = 18; x < 41; ++x) {
      const COLORREF p = GetPixel(dc, x, y);
      if (GetBValue(p) > 200 && GetRValue(p) < 100 && GetGValue(p) < 100) ++blue;
    }
  EXPECT_GT(blue, 3);
  EXPECT_EQ(GetPixel(dc, 5, 0), translateColor(c.BorderColor()));
  // The today line, and its shadow one pixel down and right when asked.
  auto greenPixels = [&] {
    int n = 0;
    for (int y = 199 - 6 - 14; y < 199 - 5; ++y)
      for (int x = 3; x < 189; ++x) {
        const COLORREF p = GetPixel(dc, x, y);
        if (GetGValue(p) > 200 && GetRValue(p) < 180 && GetBValue(p) < 180) ++n;
      }
    return n;
  };
  EXPECT_EQ(greenPixels(), 0);
  c.setShadow4Today(true);  // the shadow in ShadowColor (128, 255, 128)
  EXPECT_GT(greenPixels(), 10);
  // The header gradient runs from HeaderGradient1 at the top to HeaderGradient2 at the bottom.
  EXPECT_EQ(px(c.header(), 60, 0), translateColor(c.HeaderGradient1()));
  EXPECT_EQ(px(c.header(), 60, ZorvaXPCalender::kHeaderHeight - 1), translateColor(c.HeaderGradient2()));
}

// The today line at the default size reads whole for every month name with the longest weekday
// name: the ink drawn on it is as wide as the whole line measured in the size it was drawn in
// (a line cut at a word with an ellipsis is narrower). Today is set for each month, so the
// headless clock's own date decides nothing.
TEST_F(Calendar, TheTodayLineReadsWholeInEveryMonth) {
  ZorvaXPCalender& c = calendar();
  c.setTodayTextForeColor(255);  // red ink, told apart from the blue-grey body
  const HDC dc = c.surface().hDC();
  struct Restore {
    ~Restore() { host::setNowSource({}); }
  } restore;
  for (int month = 1; month <= 12; ++month) {
    SCOPED_TRACE(month);
    host::Date day = *host::makeDate(2026, month, 1);
    while (host::Weekday(day) != 4) day = *host::makeDate(2026, month, host::Day(day) + 1);  // a Wednesday
    host::setNowSource([day] { return day; });
    c.RedrawMe();
    const ZorvaXPCalender::TodayLine& line = c.todayLine();
    EXPECT_EQ(line.text, "Today : Wednesday, " + host::MonthName(month) + " - 2026");
    EXPECT_GE(line.fontSize, 6.0);
    int left = 1 << 20, right = -1;
    for (int y = line.box.top; y < line.box.bottom; ++y)
      for (int x = 0; x < 191; ++x) {
        const COLORREF p = GetPixel(dc, x, y);
        if (GetRValue(p) > 150 && GetGValue(p) < 130 && GetBValue(p) < 150) left = std::min(left, x), right = std::max(right, x);
      }
    gfx::FontDesc face = *c.Font();
    face.size = line.fontSize;
    GdiObject font(face.create());
    SIZE whole{};
    {
      Selection in(dc, font.get());
      GetTextExtentPoint32A(dc, line.text.c_str(), static_cast<int>(line.text.size()), &whole);
    }
    EXPECT_LE(whole.cx, line.box.right - line.box.left);
    EXPECT_NEAR(right - left + 1, whole.cx, 2);
    EXPECT_GE(left, line.box.left);
    EXPECT_LT(right, line.box.right);
  }
  // A line that fits keeps the control's own size.
  host::setNowSource([] { return *host::makeDate(2026, 5, 4); });
  c.RedrawMe();
  EXPECT_EQ(std::pair(c.todayLine().text, c.todayLine().fontSize), std::pair(std::string("Today : Monday, May - 2026"), c.Font()->size));
}

TEST_F(Calendar, KeepsItsSizeAndCutsThreePixelsFromEachCorner) {
  ZorvaXPCalender& c = calendar("cal", 10, 10);
  c.extender()->setWidth(6000);
  c.extender()->setHeight(100);
  EXPECT_EQ(std::tuple(c.surface().ScaleWidth(), c.surface().ScaleHeight()), std::tuple(191, 199));
  RECT r{};
  GetWindowRect(c.hWnd(), &r);
  auto owner = [&](int x, int y) { return WindowFromPoint(POINT{r.left + x, r.top + y}); };
  for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}, {190, 198}, {189, 198}}) EXPECT_NE(owner(x, y), c.hWnd());
  EXPECT_EQ(std::tuple(owner(2, 0), owner(1, 1), owner(188, 198)), std::tuple(c.hWnd(), c.hWnd(), c.hWnd()));
}

TEST_F(Calendar, NextDayOfDecemberMovesToJanuaryWithMonthThenYearEvents) {
  ZorvaXPCalender& c = calendar();
  c.setSelectedYear(2024);
  c.setSelectedMonth(12);
  c.setSelectedDate(10);
  logEvents(c);
  const int next = cellIndex(c, "2", "Next");
  ASSERT_GE(next, 0);
  const dates::DayCell n = c.dayCells()[static_cast<size_t>(next)];
  clickCell(c, next);
  EXPECT_EQ(std::tuple(c.SelectedMonth(), c.SelectedYear(), c.SelectedDate()), std::tuple(1, 2025, 2));
  const std::string up =
      "MouseUp 1 0 " + std::to_string((n.Left + n.Right) / 2) + " " + std::to_string((n.Top + n.Bottom) / 2);
  EXPECT_EQ(events({"MouseMove", "MouseDown", "Click"}), (std::vector<std::string>{up, "MonthChanged", "YearChanged"}));
  // A day of the shown month raises DayClicked and selects it; a grey day of the previous month
  // goes back (to December 2024) and selects that day.
  log.clear();
  clickCell(c, cellIndex(c, "20"));
  EXPECT_EQ(events({"MouseMove", "MouseDown", "MouseUp", "Click"}), (std::vector<std::string>{"DayClicked 20"}));
  EXPECT_EQ(c.SelectedDate(), 20);
  log.clear();
  clickCell(c, 0);  // January 2025 starts on Wednesday: cell 0 is December 29
  EXPECT_EQ(events({"MouseMove", "MouseDown", "MouseUp", "Click"}),
            (std::vector<std::string>{"MonthChanged", "YearChanged"}));
  EXPECT_EQ(std::tuple(c.SelectedMonth(), c.SelectedYear(), c.SelectedDate()), std::tuple(12, 2024, 29));
}

TEST_F(Calendar, ArrowsWrapTheYearAndStopAt1800And9999) {
  ZorvaXPCalender& c = calendar();
  c.setValue(*host::makeDate(1801, 1, 31));
  logEvents(c);
  pressHeader(c, c.imgLeft(0));  // January 1801 -> December 1800
  EXPECT_EQ(std::tuple(c.SelectedMonth(), c.SelectedYear()), std::tuple(12, 1800));
  EXPECT_EQ(events({"MouseMove"}), (std::vector<std::string>{"MonthChanged", "YearChanged"}));
  log.clear();
  pressHeader(c, c.imgLeft(1));  // no year before 1800
  EXPECT_EQ(c.SelectedYear(), 1800);
  EXPECT_TRUE(events({"MouseMove"}).empty());
  pressHeader(c, c.imgRight(0));  // December -> January 1801
  EXPECT_EQ(std::tuple(c.SelectedMonth(), c.SelectedYear()), std::tuple(1, 1801));
  log.clear();
  c.setSelectedMonth(1);
  pressHeader(c, c.imgLeft(0));
  pressHeader(c, c.imgLeft(0));  // December 1800 -> November 1800
  pressHeader(c, c.imgLeft(0));
  EXPECT_EQ(std::tuple(c.SelectedMonth(), c.SelectedYear()), std::tuple(10, 1800));
  for (int i = 0; i < 10; ++i) pressHeader(c, c.imgLeft(0));
  EXPECT_EQ(c.SelectedMonth(), 1);  // January 1800 is the first month shown
  EXPECT_EQ(c.SelectedYear(), 1800);
  // The top end.
  c.setSelectedYear(9998);
  c.setSelectedMonth(12);
  log.clear();
  pressHeader(c, c.imgRight(1));
  EXPECT_EQ(c.SelectedYear(), 9999);
  pressHeader(c, c.imgRight(1));
  pressHeader(c, c.imgRight(0));
  EXPECT_EQ(std::tuple(c.SelectedYear(), c.SelectedMonth()), std::tuple(9999, 12));
  EXPECT_EQ(events({"MouseMove"}), (std::vector<std::string>{"YearChanged"}));
  // The day was clamped on the way: January 31 became December 31, never a 30th of a 31-day month
  // becoming invalid elsewhere.
  EXPECT_LE(c.SelectedDate(), 31);
}

TEST_F(Calendar, MonthPickerChoosingFebruaryClampsDay31) {
  ZorvaXPCalender& c = calendar();
  c.setValue(*host::makeDate(2024, 1, 31));
  logEvents(c);
  pressHeader(c, c.monthCaption());
  ASSERT_TRUE(c.isMonthShow());
  EXPECT_FALSE(c.isYearShow());
  dates::ZorvaMonth4DBK& pk = c.monthPicker();
  EXPECT_EQ(std::tuple(pk.rowText(3), pk.rowText(0), pk.rowText(6)), std::tuple("January", "October", "April"));
  input.moveTo(pk.item(4).hWnd(), Point{20, 10}).click();
  EXPECT_FALSE(c.isMonthShow());
  EXPECT_EQ(std::tuple(c.SelectedMonth(), c.SelectedDate()), std::tuple(2, 29));
  EXPECT_EQ(events({"MouseMove"}), (std::vector<std::string>{"MonthChanged"}));
  // 2023 has a 28-day February: the year picker clamps too.
  log.clear();
  pressHeader(c, c.yearCaption());
  ASSERT_TRUE(c.isYearShow());
  dates::ZorvaYear4DBK& yk = c.yearPicker();
  EXPECT_EQ(std::tuple(yk.surface().ScaleWidth(), yk.surface().ScaleHeight(), yk.rowText(3), yk.rowText(2)),
            std::tuple(33, 157, "2024", "2023"));
  input.moveTo(yk.item(2).hWnd(), Point{15, 10}).click();
  EXPECT_EQ(std::tuple(c.SelectedYear(), c.SelectedDate()), std::tuple(2023, 28));
  EXPECT_EQ(events({"MouseMove"}), (std::vector<std::string>{"YearChanged"}));
}

// The month and year pickers (a window each, with a window per row) are made when one first
// opens, or when a caller asks for one of their windows; a calendar never opened has none.
TEST_F(Calendar, ItsPickersAreMadeWhenOneFirstOpensOrTheirWindowIsAskedFor) {
  ZorvaXPCalender& c = calendar();
  c.setSelectedYear(2024);
  EXPECT_FALSE(c.pickersMade());
  EXPECT_FALSE(c.isMonthShow());
  pressHeader(c, c.yearCaption());
  EXPECT_TRUE(c.pickersMade());
  EXPECT_TRUE(c.isYearShow());
  EXPECT_EQ(GetParent(static_cast<HWND>(c.YearhWnd())), c.hWnd());

  ZorvaXPCalender& other = calendar("other", 220, 10);
  const int32_t month = other.MonthhWnd();
  EXPECT_TRUE(other.pickersMade());
  EXPECT_TRUE(IsWindow(static_cast<HWND>(month)));
  EXPECT_FALSE(other.isMonthShow());
}

TEST_F(Calendar, YearPickerScrollsEvery200MillisecondsWhileHeldAboveTheList) {
  ZorvaXPCalender& c = calendar();
  c.setSelectedYear(2024);
  pressHeader(c, c.yearCaption());
  dates::ZorvaYear4DBK& yk = c.yearPicker();
  // Hover paints the row with the light gradient: white at the top, 14987145 at the bottom.
  input.moveTo(yk.item(1).hWnd(), Point{15, 10});
  EXPECT_EQ(px(yk.item(1), 15, 0), RGB(255, 255, 255));
  EXPECT_EQ(px(yk.item(1), 15, 21), translateColor(14987145));
  input.moveTo(yk.item(5).hWnd(), Point{15, 10});
  input.advance(20);
  EXPECT_EQ(px(yk.item(1), 15, 21), RGB(255, 255, 255));  // the highlight left with the cursor
  input.press();
  EXPECT_EQ(px(yk.item(5), 15, 21), translateColor(0xFFFBD9));
  input.moveTo(yk.item(0).hWnd(), Point{15, -6});  // above the list, button held
  input.advance(199);
  EXPECT_EQ(yk.uYear(), 2024);
  input.advance(1);
  EXPECT_EQ(yk.uYear(), 2023);
  input.advance(400);
  EXPECT_EQ(std::tuple(yk.uYear(), yk.rowText(3)), std::tuple(2021, "2021"));
  logEvents(c);
  input.release();  // released outside the rows: nothing is reported
  input.advance(400);
  EXPECT_EQ(std::tuple(yk.uYear(), c.SelectedYear()), std::tuple(2021, 2024));
  EXPECT_FALSE(yk.upTimer().running());
  EXPECT_TRUE(events({"MouseMove"}).empty());
  // Near 1800 the rows before the limit stay empty and the list stops there.
  yk.setuYear(1801);
  EXPECT_EQ(std::tuple(yk.rowText(0), yk.rowText(2)), std::tuple("", "1800"));
  input.moveTo(yk.item(3).hWnd(), Point{15, 10}).press().moveTo(yk.item(0).hWnd(), Point{15, -6}).advance(1000);
  EXPECT_EQ(yk.uYear(), 1800);
  input.release();
}

TEST_F(Calendar, MembersCarryTheDeclaredNumbers) {
  ZorvaXPCalender& c = calendar();
  const host::MemberTable& t = c.memberTable();
  std::vector<int32_t> ids;
  for (const char* e : {"Click", "MouseDown", "KeyPress", "MonthChanged", "DayClicked", "YearChanged"})
    ids.push_back(t.findEvent(e)->dispid);
  EXPECT_EQ(ids, (std::vector<int32_t>{host::DISPID_CLICK, 1, 4, 7, 8, 9}));
  EXPECT_TRUE(t.find("isYearShow")->readOnly());
  // Value sets the three fields; out-of-range months are clamped.
  c.setValue(*host::makeDate(2024, 2, 29));
  EXPECT_EQ(std::tuple(c.SelectedDate(), c.SelectedMonth(), c.SelectedYear()), std::tuple(29, 2, 2024));
  c.setSelectedMonth(13);
  EXPECT_EQ(std::tuple(c.SelectedMonth(), host::Day(c.Value())), std::tuple(12, 29));
}

}  // namespace
}  // namespace zxp::testing
