// ZorvaXPCalender: the month calendar. A fixed 191 x 199-pixel (2865 x 2985-twip) window with
// slightly rounded corners (three pixels cut from each corner). The body is a vertical gradient
// (GradientColor1 at the top, GradientColor2 at the bottom) with Picture blended in at
// TransparencyLevel and a frame in BorderColor. picHeader, a gradient surface at the top, shows
// "<month name> <year>" centred and the four arrows drawn on it (imgLeft(1) previous year and
// imgLeft(0) previous month at the left, imgRight(0) next month and imgRight(1) next year at the
// right). Under it the weekday letters "SMTWTFS", then 6 x 7 day cells, Sunday first (a month
// starting on Sunday or Monday shows a whole first row of the previous month), and at the bottom
// the today line: Text4Today and today formatted with FormatDate.
//
// Navigation with the arrows (press or double click) and with the grey days of the neighbouring
// months wraps the year and raises MonthChanged, then YearChanged when the year changed; the
// year stops at 1800 and 9999. Pressing the month name or the year opens the month or year
// picker (real child windows over the header); what the picker reports becomes the shown month
// or year. Today, month names, weekdays and month lengths all come from the host runtime.
//
// Our choices:
//   - every change of the shown month or year clamps the selected day to the new month's length;
//   - a grey (other-month) day moves to its month and selects that day there;
//   - navigation stops at January 1800 and December 9999 (the month arrows too);
//   - SelectedMonth is a plain 32-bit number; setting a month outside 1..12 or a year outside
//     1800..9999 stores it clamped into that range;
//   - a press on the calendar outside an open picker closes the picker;
//   - the today line reads whole: it spans the body between the frame's sides, in the control's
//     font when it fits there, else in the same face one pixel smaller at a time down to 6
//     points (a long weekday and month, "Wednesday, September", need it at the default font);
//     only a line too long even then is cut at a word with an ellipsis.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "dates/ZorvaMonth4DBK.h"
#include "dates/ZorvaYear4DBK.h"
#include "foundation/ControlBase.h"
#include "foundation/PartListener.h"
#include "platform/host/runtime/Date.h"

namespace zxp::dates {

// One day cell of the grid (pixels; Kind "Prev", "Next" or empty for the shown month).
struct DayCell {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  std::string Text;
  std::string Kind;
};

class ZorvaXPCalender final : public foundation::ControlBase {
 public:
  static constexpr OLE_COLOR kGradientColor1 = 16777215;
  static constexpr OLE_COLOR kGradientColor2 = 14987145;
  static constexpr OLE_COLOR kBorderColor = 12164479;
  static constexpr OLE_COLOR kHeaderGradient1 = 16777215;
  static constexpr OLE_COLOR kHeaderGradient2 = 14987145;
  static constexpr OLE_COLOR kBackColor = 16051423;
  static constexpr OLE_COLOR kTodayForeColor = 255;
  static constexpr OLE_COLOR kHeaderForeColor = 0;
  static constexpr OLE_COLOR kDayCaptionsForeColor = 16711680;
  static constexpr OLE_COLOR kTodayTextForeColor = 0;
  static constexpr OLE_COLOR kSelectedBackColor = 15246703;
  static constexpr OLE_COLOR kSelectedBForeColor = 16777215;
  static constexpr OLE_COLOR kShadowColor = 8454016;
  static constexpr int32_t kTransparencyLevel = 95;
  static constexpr const char* kText4Today = "Today :";
  static constexpr const char* kFormatDate = "dddd, mmmm - yyyy";
  static constexpr COLORREF kOtherMonthColor = RGB(110, 110, 110);
  static constexpr int32_t kWidthTwips = 2865, kHeightTwips = 2985;
  static constexpr int kWidth = 191, kHeight = 199;
  // Layout (pixels): the header, the grid's columns and rows.
  static constexpr int kHeaderLeft = 4, kHeaderTop = 4, kHeaderHeight = 22;
  static constexpr int kGridLeft = 18, kCellStep = 22, kCellWidth = 23, kRowStep = 19;
  static constexpr int kGridTop = kHeaderTop + kHeaderHeight + 28;
  static constexpr int32_t kFirstYear = 1800, kLastYear = 9999;

  ZorvaXPCalender();

  // ---- Properties ----
  OLE_COLOR GradientColor1() const { return m_GradientColor1; }
  void setGradientColor1(OLE_COLOR v);
  OLE_COLOR GradientColor2() const { return m_GradientColor2; }
  void setGradientColor2(OLE_COLOR v);
  OLE_COLOR BorderColor() const { return m_BorderColor; }
  void setBorderColor(OLE_COLOR v);
  OLE_COLOR HeaderGradient1() const { return m_HeaderGradient1; }
  void setHeaderGradient1(OLE_COLOR v);
  OLE_COLOR HeaderGradient2() const { return m_HeaderGradient2; }
  void setHeaderGradient2(OLE_COLOR v);
  OLE_COLOR BackColor() const { return m_BackColor; }
  void setBackColor(OLE_COLOR v);
  int32_t SelectedDate() const { return m_SelectedDate; }
  void setSelectedDate(int32_t New_SelectedDate);
  int32_t SelectedMonth() const { return m_SelectedMonth; }
  void setSelectedMonth(int32_t New_SelectedMonth);
  int32_t SelectedYear() const { return m_SelectedYear; }
  void setSelectedYear(int32_t New_SelectedYear);
  // The selected date; an invalid combination of the three fields reads as the nearest valid day
  // of that month.
  host::Date Value() const;
  void setValue(host::Date New_Value);
  std::string Text4Today() const { return m_Text4Today; }
  void setText4Today(const std::string& v);
  std::string FormatDate() const { return m_FormatDate; }
  void setFormatDate(const std::string& v);
  OLE_COLOR TodayForeColor() const { return m_TodayForeColor; }
  void setTodayForeColor(OLE_COLOR v);
  OLE_COLOR HeaderForeColor() const { return m_HeaderForeColor; }
  void setHeaderForeColor(OLE_COLOR v);
  OLE_COLOR DayCaptionsForeColor() const { return m_DayCaptionsForeColor; }
  void setDayCaptionsForeColor(OLE_COLOR v);
  OLE_COLOR TodayTextForeColor() const { return m_TodayTextForeColor; }
  void setTodayTextForeColor(OLE_COLOR v);
  OLE_COLOR SelectedBackColor() const { return m_SelectedBackColor; }
  void setSelectedBackColor(OLE_COLOR v);
  OLE_COLOR SelectedBForeColor() const { return m_SelectedBForeColor; }
  void setSelectedBForeColor(OLE_COLOR v);
  bool Shadow4Today() const { return m_Shadow4Today; }
  void setShadow4Today(bool v);
  OLE_COLOR ShadowColor() const { return m_ShadowColor; }
  void setShadowColor(OLE_COLOR v);
  host::PictureRef Picture() const { return m_Picture; }
  void setPicture(host::PictureRef v);
  int32_t TransparencyLevel() const { return m_TransparencyLevel; }
  void setTransparencyLevel(int32_t v);
  int32_t hwnd() const { return static_cast<int32_t>(hWnd()); }
  // The pickers' windows, made on this first request if no picker has opened yet.
  int32_t YearhWnd() const { return static_cast<int32_t>(pickers().YearPK->hWnd()); }
  int32_t MonthhWnd() const { return static_cast<int32_t>(pickers().MonthPK->hWnd()); }
  bool isYearShow() const;
  bool isMonthShow() const;

  // ---- Methods ----
  int16_t getFirstWeekDay(int32_t uMonth, int32_t uYear) const;
  int16_t getLastDayOfMonth(int32_t uMonth, int32_t uYear) const;
  host::Date getToday() const;
  void RedrawMe(bool blnMakeRegion = true, bool blnPosChanged = true, bool blnMove2Selected2Next = true);

  // ---- Events (Click, MouseDown, MouseUp, MouseMove and the keys come from the control base) ----
  host::Event<> MonthChanged;
  host::Event<int16_t> DayClicked;
  host::Event<> YearChanged;

  // ---- State a host or a test may look at ----
  const std::array<DayCell, 42>& dayCells() const { return cells_; }
  const foundation::SurfaceWindow& header() const { return picHeader; }
  ZorvaYear4DBK& yearPicker() const { return *pickers().YearPK; }
  ZorvaMonth4DBK& monthPicker() const { return *pickers().MonthPK; }
  // Whether the pickers have been made (the first opening or handle request makes them).
  bool pickersMade() const { return MonthPK != nullptr; }
  // Header areas (picHeader pixels): the arrows imgLeft(0/1), imgRight(0/1), month and year.
  RECT imgLeft(int index) const;
  RECT imgRight(int index) const;
  RECT monthCaption() const { return monthRect_; }
  RECT yearCaption() const { return yearRect_; }
  // The today line as the last pass drew it: the text, its box, and the font size in points it
  // was drawn in.
  struct TodayLine {
    std::string text;
    RECT box{};
    double fontSize = 0;
  };
  const TodayLine& todayLine() const { return todayLine_; }
  // The cell index (0..41) under a surface point, -1 outside the grid.
  static int cellAt(int x, int y);

  // Moves the shown month by one, with the year wrap, the limits and the events.
  void previousMonth();
  void nextMonth();
  void previousYear();
  void nextYear();
  // Opens the month or the year picker over the header with the current value, as a press on
  // the month name or the year does.
  void showMonthPicker();
  void showYearPicker();

  const host::MemberTable& memberTable() const override;

 protected:
  void UserControl_Initialize() override;
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
  void UserControl_Resize() override;
  void UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void redrawResting() override { RedrawMe(false, true, true); }
  // Resize draws everything (RedrawMe(true, true, true)), the resting look included.
  bool resizeRedrawsResting() const override { return true; }
  void UserControl_Paint() override;

 private:
  void computeCells();
  void paintHeader();
  void paintBody();
  void makeRegion();
  void headerPress(int x, int y);
  void openPicker(ItemPickerBase& picker, ItemPickerBase& other, const RECT& caption, int width);
  void hidePickers();
  void ensurePickers();
  // This calendar with its pickers made: looking at a picker is what makes it.
  const ZorvaXPCalender& pickers() const {
    const_cast<ZorvaXPCalender*>(this)->ensurePickers();
    return *this;
  }
  void clampDay();
  void setMonthYear(int32_t month, int32_t year);  // clamps the day, redraws; no events

  OLE_COLOR m_GradientColor1 = kGradientColor1, m_GradientColor2 = kGradientColor2;
  OLE_COLOR m_BorderColor = kBorderColor;
  OLE_COLOR m_HeaderGradient1 = kHeaderGradient1, m_HeaderGradient2 = kHeaderGradient2;
  OLE_COLOR m_BackColor = kBackColor;
  int32_t m_SelectedDate = 1, m_SelectedMonth = 1, m_SelectedYear = 2000;
  std::string m_Text4Today = kText4Today;
  std::string m_FormatDate = kFormatDate;
  OLE_COLOR m_TodayForeColor = kTodayForeColor, m_HeaderForeColor = kHeaderForeColor;
  OLE_COLOR m_DayCaptionsForeColor = kDayCaptionsForeColor, m_TodayTextForeColor = kTodayTextForeColor;
  OLE_COLOR m_SelectedBackColor = kSelectedBackColor, m_SelectedBForeColor = kSelectedBForeColor;
  bool m_Shadow4Today = false;
  OLE_COLOR m_ShadowColor = kShadowColor;
  host::PictureRef m_Picture;
  int32_t m_TransparencyLevel = kTransparencyLevel;
  // The header's texts: the month's name and the year's digits.
  std::string monthText_, yearText_;

  std::array<DayCell, 42> cells_{};
  RECT monthRect_{}, yearRect_{};
  TodayLine todayLine_;
  friend class foundation::PartListener<ZorvaXPCalender>;
  void partMouseDown(int, int16_t& b, int16_t& s, float& x, float& y);
  void partMouseUp(int, int16_t&, int16_t&, float&, float&) {}
  void partMouseMove(int, int16_t&, int16_t&, float&, float&) {}
  void partClick(int) {}
  void partDblClick(int);
  foundation::PartListener<ZorvaXPCalender> headerListener_;  // before picHeader: outlives it
  foundation::SurfaceWindow picHeader;
  // Made by ensurePickers() when first needed.
  ZorvaYear4DBK* YearPK = nullptr;
  ZorvaMonth4DBK* MonthPK = nullptr;
  bool redrawing_ = false;
  bool paintPending_ = false;  // a redraw came while the window was hidden
};

}  // namespace zxp::dates
