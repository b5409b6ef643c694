#include "dates/ZorvaXPCalender.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "foundation/PenLines.h"
#include "foundation/modGradient.h"
#include "foundation/modPicEffects.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/host/runtime/DateParse.h"
#include "platform/host/runtime/Format.h"
#include "platform/host/runtime/Numeric.h"
#include "platform/ui/User.h"

namespace zxp::dates {

using foundation::Redraw;

namespace {
constexpr int kArrowBox = 11;       // each arrow's square in the header
constexpr int kTodayLineHeight = 14;
constexpr int kTodayLineBottomGap = 6;
constexpr int kTodayLineMargin = 2;          // from the left and right edges: inside the frame
constexpr double kTodayLineMinPoints = 6.0;  // the smallest size the today line shrinks to
constexpr double kPointsPerPixel = 0.75;     // one pixel of font height at 96 dots per inch
constexpr const char* kWeekdayLetters = "SMTWTFS";

int32_t clampInt(int32_t v, int32_t lo, int32_t hi) { return std::min(std::max(v, lo), hi); }
}  // namespace

ZorvaXPCalender::ZorvaXPCalender() = default;

// ---- Lifecycle ----------------------------------------------------------------------------------

void ZorvaXPCalender::UserControl_Initialize() {
  picHeader.create(hWnd(), Rect::fromXYWH(kHeaderLeft, kHeaderTop, kWidth - 2 * kHeaderLeft, kHeaderHeight));
  picHeader.setTakesFocusOnClick(false);
  picHeader.setVisible(true);
  headerListener_.listen(picHeader, this, 0);
}

void ZorvaXPCalender::partMouseDown(int, int16_t& b, int16_t&, float& x, float& y) {
  if (b == 1) headerPress(static_cast<int>(x), static_cast<int>(y));
}

// A double click on an arrow counts as a second press; on the captions it does nothing more.
void ZorvaXPCalender::partDblClick(int) {
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(picHeader.hWnd(), &p);
  for (int i = 0; i < 2; ++i) {
    RECT l = imgLeft(i), r = imgRight(i);
    if (PtInRect(&l, p) || PtInRect(&r, p)) headerPress(p.x, p.y);
  }
}

// The month and year pickers are made the first time one opens or a caller asks for one: most
// calendars never open them, and each is a window of its own with a window per row.
void ZorvaXPCalender::ensurePickers() {
  if (MonthPK) return;
  host::ExtenderRecord r;
  r.top = pixelsToTwips(kHeaderTop);
  r.height = pixelsToTwips(ItemPickerBase::kHeight);
  r.visible = false;
  r.tabStop = false;
  r.width = pixelsToTwips(ZorvaMonth4DBK::kWidth);
  MonthPK = &addConstituent<ZorvaMonth4DBK>("MonthPK", r);
  r.width = pixelsToTwips(ZorvaYear4DBK::kWidth);
  YearPK = &addConstituent<ZorvaYear4DBK>("YearPK", r);
  MonthPK->ItemSelected.connect([this](int32_t& month, std::string&) {
    setMonthYear(month, m_SelectedYear);
    hidePickers();
    MonthChanged.raise();
  });
  YearPK->ItemSelected.connect([this](int32_t& year, std::string&) {
    setMonthYear(m_SelectedMonth, year);
    hidePickers();
    YearChanged.raise();
  });
}

void ZorvaXPCalender::UserControl_InitProperties() {
  const host::Date today = host::Today();
  m_GradientColor1 = kGradientColor1;
  m_GradientColor2 = kGradientColor2;
  m_BorderColor = kBorderColor;
  m_HeaderGradient1 = kHeaderGradient1;
  m_HeaderGradient2 = kHeaderGradient2;
  m_BackColor = kBackColor;
  m_SelectedDate = host::Day(today);
  m_SelectedMonth = host::Month(today);
  m_SelectedYear = host::Year(today);
  m_Text4Today = kText4Today;
  m_FormatDate = kFormatDate;
  m_TodayForeColor = kTodayForeColor;
  m_HeaderForeColor = kHeaderForeColor;
  m_DayCaptionsForeColor = kDayCaptionsForeColor;
  m_TodayTextForeColor = kTodayTextForeColor;
  m_SelectedBackColor = kSelectedBackColor;
  m_SelectedBForeColor = kSelectedBForeColor;
  m_Shadow4Today = false;
  m_ShadowColor = kShadowColor;
  m_Picture = host::PictureRef();
  m_TransparencyLevel = kTransparencyLevel;
  UserControl.setFont(Ambient().Font);
  RedrawMe(true, true, true);
}

void ZorvaXPCalender::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  const host::Date today = host::Today();
  m_GradientColor1 = PropBag.read<OLE_COLOR>("GradientColor1", kGradientColor1);
  m_GradientColor2 = PropBag.read<OLE_COLOR>("GradientColor2", kGradientColor2);
  m_BorderColor = PropBag.read<OLE_COLOR>("BorderColor", kBorderColor);
  m_HeaderGradient1 = PropBag.read<OLE_COLOR>("HeaderGradient1", kHeaderGradient1);
  m_HeaderGradient2 = PropBag.read<OLE_COLOR>("HeaderGradient2", kHeaderGradient2);
  m_BackColor = PropBag.read<OLE_COLOR>("BackColor", kBackColor);
  m_SelectedDate = PropBag.read<int32_t>("SelectedDate", host::Day(today));
  m_SelectedMonth = clampInt(PropBag.read<int32_t>("SelectedMonth", host::Month(today)), 1, 12);
  m_SelectedYear = clampInt(PropBag.read<int32_t>("SelectedYear", host::Year(today)), kFirstYear, kLastYear);
  m_Text4Today = PropBag.read<std::string>("Text4Today", kText4Today);
  m_FormatDate = PropBag.read<std::string>("FormatDate", kFormatDate);
  m_TodayForeColor = PropBag.read<OLE_COLOR>("TodayForeColor", kTodayForeColor);
  m_HeaderForeColor = PropBag.read<OLE_COLOR>("HeaderForeColor", kHeaderForeColor);
  m_DayCaptionsForeColor = PropBag.read<OLE_COLOR>("DayCaptionsForeColor", kDayCaptionsForeColor);
  m_TodayTextForeColor = PropBag.read<OLE_COLOR>("TodayTextForeColor", kTodayTextForeColor);
  m_SelectedBackColor = PropBag.read<OLE_COLOR>("SelectedBackColor", kSelectedBackColor);
  m_SelectedBForeColor = PropBag.read<OLE_COLOR>("SelectedBForeColor", kSelectedBForeColor);
  m_Shadow4Today = PropBag.read<bool>("Shadow4Today", false);
  m_ShadowColor = PropBag.read<OLE_COLOR>("ShadowColor", kShadowColor);
  m_Picture = PropBag.read<host::PictureRef>("Picture", host::PictureRef());
  m_TransparencyLevel = PropBag.read<int32_t>("TransparencyLevel", kTransparencyLevel);
  setMousePointer(PropBag.read<int16_t>("MousePointer", 0));
  setMouseIcon(PropBag.read<host::PictureRef>("MouseIcon", host::PictureRef()));
  setFont(PropBag.read<host::FontRef>("Font", Ambient().Font));
  restingChanged();
}

void ZorvaXPCalender::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  const host::Date today = host::Today();
  PropBag.WriteProperty("GradientColor1", m_GradientColor1, kGradientColor1);
  PropBag.WriteProperty("GradientColor2", m_GradientColor2, kGradientColor2);
  PropBag.WriteProperty("BorderColor", m_BorderColor, kBorderColor);
  PropBag.WriteProperty("HeaderGradient1", m_HeaderGradient1, kHeaderGradient1);
  PropBag.WriteProperty("HeaderGradient2", m_HeaderGradient2, kHeaderGradient2);
  PropBag.WriteProperty("BackColor", m_BackColor, kBackColor);
  PropBag.WriteProperty("SelectedDate", m_SelectedDate, static_cast<int32_t>(host::Day(today)));
  PropBag.WriteProperty("SelectedMonth", m_SelectedMonth, static_cast<int32_t>(host::Month(today)));
  PropBag.WriteProperty("SelectedYear", m_SelectedYear, static_cast<int32_t>(host::Year(today)));
  PropBag.WriteProperty("Text4Today", m_Text4Today, std::string(kText4Today));
  PropBag.WriteProperty("FormatDate", m_FormatDate, std::string(kFormatDate));
  PropBag.WriteProperty("TodayForeColor", m_TodayForeColor, kTodayForeColor);
  PropBag.WriteProperty("HeaderForeColor", m_HeaderForeColor, kHeaderForeColor);
  PropBag.WriteProperty("DayCaptionsForeColor", m_DayCaptionsForeColor, kDayCaptionsForeColor);
  PropBag.WriteProperty("TodayTextForeColor", m_TodayTextForeColor, kTodayTextForeColor);
  PropBag.WriteProperty("SelectedBackColor", m_SelectedBackColor, kSelectedBackColor);
  PropBag.WriteProperty("SelectedBForeColor", m_SelectedBForeColor, kSelectedBForeColor);
  PropBag.WriteProperty("Shadow4Today", m_Shadow4Today, false);
  PropBag.WriteProperty("ShadowColor", m_ShadowColor, kShadowColor);
  PropBag.WriteProperty("Picture", m_Picture);
  PropBag.WriteProperty("TransparencyLevel", m_TransparencyLevel, kTransparencyLevel);
  PropBag.WriteProperty("MousePointer", MousePointer(), int16_t{0});
  PropBag.WriteProperty("MouseIcon", MouseIcon());
  PropBag.WriteProperty("Font", Font());
}

// The calendar keeps its size: every resize sets it back and redraws everything.
void ZorvaXPCalender::UserControl_Resize() {
  if (ScaleWidth() != kWidth) setWidthTwips(kWidthTwips);
  if (ScaleHeight() != kHeight) setHeightTwips(kHeightTwips);
  RedrawMe(true, true, true);
}

// ---- Properties ---------------------------------------------------------------------------------

void ZorvaXPCalender::setGradientColor1(OLE_COLOR v) { letProperty(m_GradientColor1, v, "GradientColor1", Redraw::Resting); }
void ZorvaXPCalender::setGradientColor2(OLE_COLOR v) { letProperty(m_GradientColor2, v, "GradientColor2", Redraw::Resting); }
void ZorvaXPCalender::setBorderColor(OLE_COLOR v) { letProperty(m_BorderColor, v, "BorderColor", Redraw::Resting); }
void ZorvaXPCalender::setHeaderGradient1(OLE_COLOR v) { letProperty(m_HeaderGradient1, v, "HeaderGradient1", Redraw::Resting); }
void ZorvaXPCalender::setHeaderGradient2(OLE_COLOR v) { letProperty(m_HeaderGradient2, v, "HeaderGradient2", Redraw::Resting); }
void ZorvaXPCalender::setBackColor(OLE_COLOR v) { letProperty(m_BackColor, v, "BackColor", Redraw::Resting); }
void ZorvaXPCalender::setSelectedDate(int32_t v) { letProperty(m_SelectedDate, v, "SelectedDate", Redraw::Resting); }
void ZorvaXPCalender::setSelectedMonth(int32_t v) {
  letProperty(m_SelectedMonth, clampInt(v, 1, 12), "SelectedMonth", Redraw::Resting);
}
void ZorvaXPCalender::setSelectedYear(int32_t v) {
  letProperty(m_SelectedYear, clampInt(v, kFirstYear, kLastYear), "SelectedYear", Redraw::Resting);
}
void ZorvaXPCalender::setText4Today(const std::string& v) { letProperty(m_Text4Today, v, "Text4Today", Redraw::Resting); }
void ZorvaXPCalender::setFormatDate(const std::string& v) { letProperty(m_FormatDate, v, "FormatDate", Redraw::Resting); }
void ZorvaXPCalender::setTodayForeColor(OLE_COLOR v) { letProperty(m_TodayForeColor, v, "TodayForeColor", Redraw::Resting); }
void ZorvaXPCalender::setHeaderForeColor(OLE_COLOR v) { letProperty(m_HeaderForeColor, v, "HeaderForeColor", Redraw::Resting); }
void ZorvaXPCalender::setDayCaptionsForeColor(OLE_COLOR v) {
  letProperty(m_DayCaptionsForeColor, v, "DayCaptionsForeColor", Redraw::Resting);
}
void ZorvaXPCalender::setTodayTextForeColor(OLE_COLOR v) {
  letProperty(m_TodayTextForeColor, v, "TodayTextForeColor", Redraw::Resting);
}
void ZorvaXPCalender::setSelectedBackColor(OLE_COLOR v) {
  letProperty(m_SelectedBackColor, v, "SelectedBackColor", Redraw::Resting);
}
void ZorvaXPCalender::setSelectedBForeColor(OLE_COLOR v) {
  letProperty(m_SelectedBForeColor, v, "SelectedBForeColor", Redraw::Resting);
}
void ZorvaXPCalender::setShadow4Today(bool v) { letProperty(m_Shadow4Today, v, "Shadow4Today", Redraw::Resting); }
void ZorvaXPCalender::setShadowColor(OLE_COLOR v) { letProperty(m_ShadowColor, v, "ShadowColor", Redraw::Resting); }
void ZorvaXPCalender::setPicture(host::PictureRef v) { letProperty(m_Picture, std::move(v), "Picture", Redraw::Resting); }
void ZorvaXPCalender::setTransparencyLevel(int32_t v) {
  letProperty(m_TransparencyLevel, v, "TransparencyLevel", Redraw::Resting);
}

host::Date ZorvaXPCalender::Value() const {
  const int32_t last = getLastDayOfMonth(m_SelectedMonth, m_SelectedYear);
  const std::optional<host::Date> d = host::makeDate(m_SelectedYear, m_SelectedMonth, clampInt(m_SelectedDate, 1, last));
  return d ? *d : host::Today();
}

void ZorvaXPCalender::setValue(host::Date v) {
  m_SelectedDate = host::Day(v);
  m_SelectedMonth = clampInt(host::DatePart("m", v).value_or(1), 1, 12);
  m_SelectedYear = clampInt(host::DatePart("yyyy", v).value_or(kFirstYear), kFirstYear, kLastYear);
  RedrawMe(false, true, true);
  PropertyChanged("Value");
}

bool ZorvaXPCalender::isYearShow() const { return YearPK && IsWindowVisible(YearPK->hWnd()); }
bool ZorvaXPCalender::isMonthShow() const { return MonthPK && IsWindowVisible(MonthPK->hWnd()); }

// ---- Date helpers on the runtime's parser -------------------------------------------------------

int16_t ZorvaXPCalender::getFirstWeekDay(int32_t uMonth, int32_t uYear) const {
  const std::string text = host::numberToText(uYear) + "/" + host::numberToText(uMonth) + "/01";
  const std::optional<host::Date> d = host::parseDate(text);
  return d ? static_cast<int16_t>(host::Weekday(*d, host::FirstDayOfWeek::Sunday)) : int16_t{0};
}

// The last day number that converts as year "/" month "/" day. For a month 1..12 of a year
// 100..9999 the parser reads the text as written and accepts exactly the days of the Gregorian
// calendar, so the length is computed (host::daysInMonth, the same leap rules); any other input
// (two-digit years, months out of range) keeps the parser's own reading, tried day by day.
int16_t ZorvaXPCalender::getLastDayOfMonth(int32_t uMonth, int32_t uYear) const {
  if (uMonth >= 1 && uMonth <= 12 && uYear >= 100 && uYear <= 9999)
    return static_cast<int16_t>(host::daysInMonth(uYear, uMonth));
  const std::string prefix = host::numberToText(uYear) + "/" + host::numberToText(uMonth) + "/";
  int16_t last = 0;
  for (int day = 1; day <= 31; ++day) {
    if (!host::parseDate(prefix + host::numberToText(day))) break;
    last = static_cast<int16_t>(day);
  }
  return last;
}

host::Date ZorvaXPCalender::getToday() const { return host::Today(); }

// ---- Layout and drawing -------------------------------------------------------------------------

RECT ZorvaXPCalender::imgLeft(int index) const {
  const int x = index == 1 ? 3 : 16;
  const int y = (kHeaderHeight - kArrowBox) / 2;
  return RECT{x, y, x + kArrowBox, y + kArrowBox};
}

RECT ZorvaXPCalender::imgRight(int index) const {
  const int w = kWidth - 2 * kHeaderLeft;
  const int x = index == 1 ? w - 3 - kArrowBox : w - 16 - kArrowBox;
  const int y = (kHeaderHeight - kArrowBox) / 2;
  return RECT{x, y, x + kArrowBox, y + kArrowBox};
}

int ZorvaXPCalender::cellAt(int x, int y) {
  if (x < kGridLeft || y < kGridTop) return -1;
  const int c = (x - kGridLeft) / kCellStep, r = (y - kGridTop) / kRowStep;
  if (c >= 7 || r >= 6) return -1;
  return r * 7 + c;
}

void ZorvaXPCalender::computeCells() {
  const int F = getFirstWeekDay(m_SelectedMonth, m_SelectedYear);
  const int L = getLastDayOfMonth(m_SelectedMonth, m_SelectedYear);
  const int P = m_SelectedMonth == 1 ? getLastDayOfMonth(12, m_SelectedYear - 1)
                                     : getLastDayOfMonth(m_SelectedMonth - 1, m_SelectedYear);
  const int S = F >= 3 ? F : F + 7;
  for (int k = 1; k <= 42; ++k) {
    DayCell& c = cells_[static_cast<size_t>(k - 1)];
    const int col = (k - 1) % 7, row = (k - 1) / 7;
    c.Left = kGridLeft + kCellStep * col;
    c.Right = c.Left + kCellWidth;
    c.Top = kGridTop + kRowStep * row;
    c.Bottom = c.Top + kRowStep;
    int day;
    if (k < S) {
      day = P - (S - k) + 1;
      c.Kind = "Prev";
    } else if (k <= S + L - 1) {
      day = k - S + 1;
      c.Kind.clear();
    } else {
      day = k - (S + L - 1);
      c.Kind = "Next";
    }
    c.Text = host::numberToText(day);
  }
}

void ZorvaXPCalender::RedrawMe(bool blnMakeRegion, bool blnPosChanged, bool blnMove2Selected2Next) {
  (void)blnMove2Selected2Next;  // the grid always shows the selected month
  if (!UserControl.exists() || redrawing_) return;
  redrawing_ = true;
  monthText_ = host::MonthName(m_SelectedMonth);
  yearText_ = host::numberToText(m_SelectedYear);
  if (blnPosChanged) picHeader.Move(kHeaderLeft, kHeaderTop, ScaleWidth() - 2 * kHeaderLeft, kHeaderHeight);
  computeCells();
  // Our choice: a hidden calendar (the date picker's drop-down until it drops down) keeps its
  // state current but paints only when it is shown, so a form's load does not draw calendars
  // nobody sees; the paint that follows showing the window draws it.
  paintPending_ = !(GetWindowLongA(hWnd(), GWL_STYLE) & static_cast<LONG>(WS_VISIBLE));
  if (!paintPending_) {
    paintBody();
    paintHeader();
  }
  if (blnMakeRegion) makeRegion();
  redrawing_ = false;
}

void ZorvaXPCalender::UserControl_Paint() {
  if (paintPending_) RedrawMe(false, false, true);
}

void ZorvaXPCalender::paintBody() {
  const HDC dc = UserControl.hDC();
  const int w = ScaleWidth(), h = ScaleHeight();
  UserControl.setBackColor(m_BackColor);
  GradientFillVertical(dc, w, h, m_GradientColor2, m_GradientColor1);
  if (!m_Picture.empty() && m_Picture.Type() == vbPicTypeBitmap)
    AlphaBlendPicture(dc, static_cast<HBITMAP>(m_Picture.Handle()), 1, 1, w - 2, h - 2, 0, 0, m_Picture.width(),
                      m_Picture.height(), m_TransparencyLevel);
  foundation::drawOutline(dc, translateColor(m_BorderColor), 0, 0, w, h);

  SetBkMode(dc, TRANSPARENT);
  // Weekday letters, one per column, in the row above the grid.
  SetTextColor(dc, translateColor(m_DayCaptionsForeColor));
  for (int c = 0; c < 7; ++c) {
    RECT r{kGridLeft + kCellStep * c, kGridTop - kRowStep, kGridLeft + kCellStep * c + kCellWidth, kGridTop};
    DrawTextA(dc, kWeekdayLetters + c, 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }

  const host::Date today = host::Today();
  const bool todayShown = host::Month(today) == m_SelectedMonth && host::Year(today) == m_SelectedYear;
  const std::string todayDay = host::numberToText(host::Day(today));
  const std::string selected = host::numberToText(m_SelectedDate);
  for (const DayCell& c : cells_) {
    RECT r{c.Left, c.Top, c.Right, c.Bottom};
    COLORREF fore = 0;
    if (!c.Kind.empty()) {
      fore = kOtherMonthColor;
    } else if (c.Text == selected) {
      foundation::fillSolid(dc, translateColor(m_SelectedBackColor), r);
      fore = translateColor(m_SelectedBForeColor);
    } else if (todayShown && c.Text == todayDay) {
      fore = translateColor(m_TodayForeColor);
    }
    SetTextColor(dc, fore);
    DrawTextA(dc, c.Text.c_str(), static_cast<int>(c.Text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }

  // The today line, 6 pixels above the lower edge, whole: in a smaller size of the control's
  // font when it does not fit in its own.
  const std::string line = m_Text4Today + " " + host::Format(today, m_FormatDate);
  RECT r{kTodayLineMargin, h - kTodayLineBottomGap - kTodayLineHeight, w - kTodayLineMargin, h - kTodayLineBottomGap};
  gfx::FontDesc face = Font() ? *Font() : gfx::FontDesc();
  GdiObject smaller;
  std::optional<Selection> inSmaller;
  auto fits = [&] {
    SIZE s{};
    GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &s);
    return s.cx <= r.right - r.left;
  };
  while (!fits() && face.size - kPointsPerPixel >= kTodayLineMinPoints - 1e-9) {
    face.size -= kPointsPerPixel;
    inSmaller.reset();  // the previous smaller font goes out of the DC before it is deleted
    smaller.reset(face.create());
    inSmaller.emplace(dc, smaller.get());
  }
  todayLine_ = TodayLine{line, r, face.size};
  const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS | DT_NOPREFIX;
  if (m_Shadow4Today) {
    RECT s{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
    SetTextColor(dc, translateColor(m_ShadowColor));
    DrawTextA(dc, line.c_str(), static_cast<int>(line.size()), &s, format);
  }
  SetTextColor(dc, translateColor(m_TodayTextForeColor));
  DrawTextA(dc, line.c_str(), static_cast<int>(line.size()), &r, format);
}

void ZorvaXPCalender::paintHeader() {
  const HDC dc = picHeader.hDC();
  if (!dc) return;
  const int w = picHeader.ScaleWidth(), h = picHeader.ScaleHeight();
  picHeader.setFont(Font());
  picHeader.Cls();
  GradientFillVerticalAt(dc, 0, 0, w, h, m_HeaderGradient2, m_HeaderGradient1);

  // The caption: month name and year, centred as one text; each part is its own hit area.
  SIZE month{}, space{}, year{};
  GetTextExtentPoint32A(dc, monthText_.c_str(), static_cast<int>(monthText_.size()), &month);
  GetTextExtentPoint32A(dc, " ", 1, &space);
  GetTextExtentPoint32A(dc, yearText_.c_str(), static_cast<int>(yearText_.size()), &year);
  const int x0 = (w - (month.cx + space.cx + year.cx)) / 2;
  monthRect_ = RECT{x0, 0, x0 + month.cx, h};
  yearRect_ = RECT{x0 + month.cx + space.cx, 0, x0 + month.cx + space.cx + year.cx, h};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, translateColor(m_HeaderForeColor));
  const UINT format = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
  RECT mr = monthRect_, yr = yearRect_;
  mr.right += 2;
  yr.right += 2;
  DrawTextA(dc, monthText_.c_str(), static_cast<int>(monthText_.size()), &mr, format);
  DrawTextA(dc, yearText_.c_str(), static_cast<int>(yearText_.size()), &yr, format);

  // The arrows: one triangle for a month step, two for a year step.
  const COLORREF ink = translateColor(m_HeaderForeColor);
  auto triangle = [&](int tipX, int cy, bool left) {
    for (int i = 0; i < 4; ++i) {
      const int x = left ? tipX + i : tipX - i;
      foundation::drawLines(dc, ink, {{{x, cy - i}, {x, cy + i + 1}}});
    }
  };
  for (int i = 0; i < 2; ++i) {
    const RECT l = imgLeft(i), r = imgRight(i);
    const int cy = l.top + kArrowBox / 2;
    if (i == 0) {
      triangle(l.left + 3, cy, true);
      triangle(r.right - 4, cy, false);
    } else {
      triangle(l.left + 1, cy, true);
      triangle(l.left + 5, cy, true);
      triangle(r.right - 2, cy, false);
      triangle(r.right - 6, cy, false);
    }
  }
}

// The full rectangle with three pixels cut from each corner: two on the outer row, one on the
// next.
void ZorvaXPCalender::makeRegion() {
  const int w = ScaleWidth(), h = ScaleHeight();
  HRGN rgn = CreateRectRgn(0, 0, w, h);
  const RECT cuts[] = {{0, 0, 2, 1},         {0, 1, 1, 2},         {w - 2, 0, w, 1},     {w - 1, 1, w, 2},
                       {0, h - 1, 2, h},     {0, h - 2, 1, h - 1}, {w - 2, h - 1, w, h}, {w - 1, h - 2, w, h - 1}};
  for (const RECT& c : cuts) {
    HRGN cut = CreateRectRgn(c.left, c.top, c.right, c.bottom);
    CombineRgn(rgn, rgn, cut, RGN_DIFF);
    DeleteObject(cut);
  }
  SetWindowRgn(hWnd(), rgn, TRUE);
}

// ---- Navigation ---------------------------------------------------------------------------------

void ZorvaXPCalender::clampDay() {
  const int32_t last = getLastDayOfMonth(m_SelectedMonth, m_SelectedYear);
  if (last > 0 && m_SelectedDate > last) m_SelectedDate = last;
  if (m_SelectedDate < 1) m_SelectedDate = 1;
}

void ZorvaXPCalender::setMonthYear(int32_t month, int32_t year) {
  m_SelectedMonth = clampInt(month, 1, 12);
  m_SelectedYear = clampInt(year, kFirstYear, kLastYear);
  clampDay();
  RedrawMe(false, true, true);
}

void ZorvaXPCalender::previousMonth() {
  if (m_SelectedMonth == 1) {
    if (m_SelectedYear <= kFirstYear) return;
    setMonthYear(12, m_SelectedYear - 1);
    MonthChanged.raise();
    YearChanged.raise();
  } else {
    setMonthYear(m_SelectedMonth - 1, m_SelectedYear);
    MonthChanged.raise();
  }
}

void ZorvaXPCalender::nextMonth() {
  if (m_SelectedMonth == 12) {
    if (m_SelectedYear >= kLastYear) return;
    setMonthYear(1, m_SelectedYear + 1);
    MonthChanged.raise();
    YearChanged.raise();
  } else {
    setMonthYear(m_SelectedMonth + 1, m_SelectedYear);
    MonthChanged.raise();
  }
}

void ZorvaXPCalender::previousYear() {
  if (m_SelectedYear - 1 < kFirstYear) return;
  setMonthYear(m_SelectedMonth, m_SelectedYear - 1);
  YearChanged.raise();
}

void ZorvaXPCalender::nextYear() {
  if (m_SelectedYear >= kLastYear) return;
  setMonthYear(m_SelectedMonth, m_SelectedYear + 1);
  YearChanged.raise();
}

void ZorvaXPCalender::hidePickers() {
  if (MonthPK) ShowWindow(MonthPK->hWnd(), SW_HIDE);
  if (YearPK) ShowWindow(YearPK->hWnd(), SW_HIDE);
}

void ZorvaXPCalender::headerPress(int x, int y) {
  const POINT p{x, y};
  const RECT l0 = imgLeft(0), l1 = imgLeft(1), r0 = imgRight(0), r1 = imgRight(1);
  if (PtInRect(&l0, p)) return hidePickers(), previousMonth();
  if (PtInRect(&l1, p)) return hidePickers(), previousYear();
  if (PtInRect(&r0, p)) return hidePickers(), nextMonth();
  if (PtInRect(&r1, p)) return hidePickers(), nextYear();
  const RECT month{monthRect_.left, 0, monthRect_.right, kHeaderHeight};
  const RECT year{yearRect_.left, 0, yearRect_.right, kHeaderHeight};
  if (PtInRect(&month, p)) showMonthPicker();
  else if (PtInRect(&year, p)) showYearPicker();
  else hidePickers();
}

// A picker opens over the header, centred on its caption, with the current value.
void ZorvaXPCalender::openPicker(ItemPickerBase& picker, ItemPickerBase& other, const RECT& caption, int width) {
  ShowWindow(other.hWnd(), SW_HIDE);
  const int centre = kHeaderLeft + (caption.left + caption.right) / 2;
  const int left = clampInt(centre - width / 2, 1, ScaleWidth() - width - 1);
  if (host::Extender* e = picker.extender())
    e->Move(pixelsToTwips(left), pixelsToTwips(kHeaderTop), pixelsToTwips(width), pixelsToTwips(ItemPickerBase::kHeight));
  picker.RedrawMe();
  SetWindowPos(picker.hWnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void ZorvaXPCalender::showMonthPicker() {
  ensurePickers();
  MonthPK->setuMonth(m_SelectedMonth);
  openPicker(*MonthPK, *YearPK, monthRect_, ZorvaMonth4DBK::kWidth);
}

void ZorvaXPCalender::showYearPicker() {
  ensurePickers();
  YearPK->setuYear(m_SelectedYear);
  openPicker(*YearPK, *MonthPK, yearRect_, ZorvaYear4DBK::kWidth);
}

void ZorvaXPCalender::UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  hidePickers();
  MouseDown.raise(Button, Shift, X, Y);
}

void ZorvaXPCalender::UserControl_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  MouseUp.raise(Button, Shift, X, Y);
  if (Button != 1) return;
  const int k = cellAt(static_cast<int>(X), static_cast<int>(Y));
  if (k < 0) return;
  const DayCell cell = cells_[static_cast<size_t>(k)];
  const int32_t day = static_cast<int32_t>(std::atoi(cell.Text.c_str()));
  if (cell.Kind == "Prev") {
    m_SelectedDate = day;
    previousMonth();
  } else if (cell.Kind == "Next") {
    m_SelectedDate = day;
    nextMonth();
  } else {
    m_SelectedDate = day;
    int16_t d = static_cast<int16_t>(day);
    DayClicked.raise(d);
  }
  RedrawMe(false, true, true);
}

// ---- Class --------------------------------------------------------------------------------------

const host::MemberTable& ZorvaXPCalender::memberTable() const {
  using B = ZorvaXPCalender;
  static const host::MemberTable table = host::ClassMembers<B>("ZorvaXPCalender")
      .property("GradientColor1", &B::GradientColor1, &B::setGradientColor1)
      .property("GradientColor2", &B::GradientColor2, &B::setGradientColor2)
      .property("BorderColor", &B::BorderColor, &B::setBorderColor)
      .property("HeaderGradient1", &B::HeaderGradient1, &B::setHeaderGradient1)
      .property("HeaderGradient2", &B::HeaderGradient2, &B::setHeaderGradient2)
      .property("BackColor", &B::BackColor, &B::setBackColor)
      .property("SelectedDate", &B::SelectedDate, &B::setSelectedDate)
      .property("SelectedMonth", &B::SelectedMonth, &B::setSelectedMonth)
      .property("SelectedYear", &B::SelectedYear, &B::setSelectedYear)
      .property("Value", &B::Value, &B::setValue)
      .property("Text4Today", &B::Text4Today, &B::setText4Today)
      .property("FormatDate", &B::FormatDate, &B::setFormatDate)
      .property("TodayForeColor", &B::TodayForeColor, &B::setTodayForeColor)
      .property("HeaderForeColor", &B::HeaderForeColor, &B::setHeaderForeColor)
      .property("DayCaptionsForeColor", &B::DayCaptionsForeColor, &B::setDayCaptionsForeColor)
      .property("TodayTextForeColor", &B::TodayTextForeColor, &B::setTodayTextForeColor)
      .property("SelectedBackColor", &B::SelectedBackColor, &B::setSelectedBackColor)
      .property("SelectedBForeColor", &B::SelectedBForeColor, &B::setSelectedBForeColor)
      .property("Shadow4Today", &B::Shadow4Today, &B::setShadow4Today)
      .property("ShadowColor", &B::ShadowColor, &B::setShadowColor)
      .property("Picture", &B::Picture, &B::setPicture)
      .property("TransparencyLevel", &B::TransparencyLevel, &B::setTransparencyLevel)
      .property("MousePointer", &B::MousePointer, &B::setMousePointer)
      .property("MouseIcon", &B::MouseIcon, &B::setMouseIcon)
      .readOnlyProperty("hwnd", &B::hwnd)
      .readOnlyProperty("YearhWnd", &B::YearhWnd)
      .readOnlyProperty("MonthhWnd", &B::MonthhWnd)
      .readOnlyProperty("isYearShow", &B::isYearShow)
      .readOnlyProperty("isMonthShow", &B::isMonthShow)
      .method("getFirstWeekDay", &B::getFirstWeekDay).params({"uMonth", "uYear"})
      .method("getLastDayOfMonth", &B::getLastDayOfMonth).params({"uMonth", "uYear"})
      .method("getToday", &B::getToday)
      .method("RedrawMe", &B::RedrawMe, 3).params({"blnMakeRegion", "blnPosChanged", "blnMove2Selected2Next"})
      .about(&B::About)
      .stockEvent("Click", &B::Click, host::DISPID_CLICK)
      .event("MouseDown", &B::MouseDown, {"Button", "Shift", "X", "Y"})
      .event("MouseUp", &B::MouseUp, {"Button", "Shift", "X", "Y"})
      .event("MouseMove", &B::MouseMove, {"Button", "Shift", "X", "Y"})
      .event("KeyPress", &B::KeyPress, {"KeyAscii"})
      .event("KeyUp", &B::KeyUp, {"KeyCode", "Shift"})
      .event("KeyDown", &B::KeyDown, {"KeyCode", "Shift"})
      .event("MonthChanged", &B::MonthChanged)
      .event("DayClicked", &B::DayClicked, {"intDay"})
      .event("YearChanged", &B::YearChanged)
      .build();
  return table;
}

}  // namespace zxp::dates
