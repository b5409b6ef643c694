// ZorvaXPDPicker: the drop-down date field. A real edit field (`txt`) shows the held date as
// two-digit day and month and a two- or four-digit year in the order Mask sets, joined by
// DateSpearator; the parts sit at fixed character positions. Typing overwrites digit by digit and
// the caret skips the separators (an empty field gets its separators as the digits arrive).
// At the right edge the drop-down button (`picDropDown`, a gradient surface with a down arrow)
// has a hover and a pressed face; its click drops down the month calendar `Calander`, a real
// ZorvaXPCalender that lives as a separate topmost tool window: under the field, or above it
// when it would leave the desktop's work area at the bottom. While it is open a thread mouse hook
// (clsDatePickerHook) closes it on a press anywhere else (the press still reaches its target);
// a day clicked in it sets the field and closes it. A 1-pixel frame in BorderColor surrounds
// the control; Required draws a small triangle mark in RequiredColor in the top-left corner.
//
// Our choices:
//   - an impossible typed date (day 31 in a 30-day month, month 13, an empty part) reverts to
//     the held date when the field loses the focus; a two-digit year follows the runtime's rule
//     (00..29 are 2000..2029, 30..99 are 1930..1999);
//   - a press on the drop-down button while the calendar is open is not "outside": the button's
//     release closes it (so the button toggles);
//   - the field's background is BackColorOver while the cursor is over the field, as well as
//     while it has the focus;
//   - TextAlign: 0 HtxtLeft, 1 HtxtRight, 2 HtxtCenter;
//   - the field is 4 pixels in from the left; the button is 17 pixels wide.
#pragma once

#include <cstdint>
#include <string>

#include "dates/ZorvaXPCalender.h"
#include "foundation/ControlBase.h"
#include "foundation/OwnedEditField.h"
#include "foundation/clsDatePickerHook.h"

namespace zxp::dates {

enum class TextAlign : int32_t { HtxtLeft = 0, HtxtRight = 1, HtxtCenter = 2 };
enum class MaskType : int32_t { MM_DD_YY = 0, DD_MM_YY = 1, YY_MM_DD = 2, DD_MM_YYYY = 3, MM_DD_YYYY = 4 };

// Type information for the enumerations above (the interface's names and values).
const host::EnumType& describeEnum(TextAlign);
const host::EnumType& describeEnum(MaskType);

class ZorvaXPDPicker final : public foundation::ControlBase {
 public:
  static constexpr OLE_COLOR kGradientColor1 = 16639957, kGradientColor2 = 15449500;
  static constexpr OLE_COLOR kDropDownSignColor = 0;
  static constexpr OLE_COLOR kBorderColor = 12164479;
  static constexpr OLE_COLOR kOnOverGradient1 = 13499389, kOnOverGradient2 = 10541822;
  static constexpr OLE_COLOR kOnOverBorderColor = 33023;
  static constexpr OLE_COLOR kBackColor = 16777215, kBackColorOver = 12648447;
  static constexpr OLE_COLOR kRequiredColor = 25087;
  static constexpr OLE_COLOR kForeColor = 0x80000008;
  static constexpr const char* kDateSpearator = "/";
  static constexpr const char* kFormatDate = "dd-mm-yyyy";
  static constexpr int kButtonWidth = 17, kFieldLeft = 4;

  ZorvaXPDPicker();

  // ---- Properties ----
  OLE_COLOR GradientColor1() const { return m_GradientColor1; }
  void setGradientColor1(OLE_COLOR v);
  OLE_COLOR GradientColor2() const { return m_GradientColor2; }
  void setGradientColor2(OLE_COLOR v);
  OLE_COLOR DropDownSignColor() const { return m_DropDownSignColor; }
  void setDropDownSignColor(OLE_COLOR v);
  OLE_COLOR BorderColor() const { return m_BorderColor; }
  void setBorderColor(OLE_COLOR v);
  OLE_COLOR OnOverGradient1() const { return m_OnOverGradient1; }
  void setOnOverGradient1(OLE_COLOR v);
  OLE_COLOR OnOverGradient2() const { return m_OnOverGradient2; }
  void setOnOverGradient2(OLE_COLOR v);
  OLE_COLOR OnOverBorderColor() const { return m_OnOverBorderColor; }
  void setOnOverBorderColor(OLE_COLOR v);
  OLE_COLOR BackColor() const { return m_BackColor; }
  void setBackColor(OLE_COLOR v);
  OLE_COLOR BackColorOver() const { return m_BackColorOver; }
  void setBackColorOver(OLE_COLOR v);
  bool Required() const { return m_Required; }
  void setRequired(bool v);
  OLE_COLOR RequiredColor() const { return m_RequiredColor; }
  void setRequiredColor(OLE_COLOR v);
  bool Locked() const { return m_Locked; }
  void setLocked(bool v);
  std::string DateSpearator() const { return m_DateSpearator; }
  void setDateSpearator(const std::string& v);
  TextAlign Alignment() const { return m_Alignment; }
  void setAlignment(TextAlign v);
  void setFont(host::FontRef v);
  OLE_COLOR ForeColor() const { return m_ForeColor; }
  void setForeColor(OLE_COLOR v);
  MaskType Mask() const { return m_Mask; }
  void setMask(MaskType v);
  std::string FormatDate() const { return m_FormatDate; }
  void setFormatDate(const std::string& v);
  // Forwarded to the calendar.
  OLE_COLOR CalanderBackColor() const { return Calander->BackColor(); }
  void setCalanderBackColor(OLE_COLOR v);
  OLE_COLOR CalanderBorderColor() const { return Calander->BorderColor(); }
  void setCalanderBorderColor(OLE_COLOR v);
  OLE_COLOR CalanderGradientColor1() const { return Calander->GradientColor1(); }
  void setCalanderGradientColor1(OLE_COLOR v);
  OLE_COLOR CalanderGradientColor2() const { return Calander->GradientColor2(); }
  void setCalanderGradientColor2(OLE_COLOR v);
  OLE_COLOR CHeaderForeColor() const { return Calander->HeaderForeColor(); }
  void setCHeaderForeColor(OLE_COLOR v);
  OLE_COLOR CHeaderGradient1() const { return Calander->HeaderGradient1(); }
  void setCHeaderGradient1(OLE_COLOR v);
  OLE_COLOR CHeaderGradient2() const { return Calander->HeaderGradient2(); }
  void setCHeaderGradient2(OLE_COLOR v);
  OLE_COLOR CSelectedBackColor() const { return Calander->SelectedBackColor(); }
  void setCSelectedBackColor(OLE_COLOR v);
  OLE_COLOR CSelectedForeColor() const { return Calander->SelectedBForeColor(); }
  void setCSelectedForeColor(OLE_COLOR v);
  bool CShadow4Today() const { return Calander->Shadow4Today(); }
  void setCShadow4Today(bool v);
  OLE_COLOR CShadowColor() const { return Calander->ShadowColor(); }
  void setCShadowColor(OLE_COLOR v);
  std::string CText4Today() const { return Calander->Text4Today(); }
  void setCText4Today(const std::string& v);
  OLE_COLOR CTodayForeColor() const { return Calander->TodayForeColor(); }
  void setCTodayForeColor(OLE_COLOR v);
  OLE_COLOR CTodayTextForeColor() const { return Calander->TodayTextForeColor(); }
  void setCTodayTextForeColor(OLE_COLOR v);
  std::string TodayDateFormat() const { return Calander->FormatDate(); }
  void setTodayDateFormat(const std::string& v);
  host::PictureRef Picture() const { return Calander->Picture(); }
  void setPicture(host::PictureRef v);
  int32_t TransparencyLevel() const { return Calander->TransparencyLevel(); }
  void setTransparencyLevel(int32_t v);
  int32_t SelectedDate() const { return Calander->SelectedDate(); }
  void setSelectedDate(int32_t v);
  int32_t SelectedMonth() const { return Calander->SelectedMonth(); }
  void setSelectedMonth(int32_t v);
  int32_t SelectedYear() const { return Calander->SelectedYear(); }
  void setSelectedYear(int32_t v);
  host::Date Value() const { return Calander->Value(); }
  void setValue(host::Date v);
  void setEnabled(bool v);
  int32_t hwnd() const { return static_cast<int32_t>(hWnd()); }

  // ---- Methods ----
  void ShowCalander();
  void HideCalander();
  void RedrawMe();
  int32_t getLastDayOfMonth(int32_t uMonth, int32_t uYear) const { return Calander->getLastDayOfMonth(uMonth, uYear); }
  int32_t getFirstDayofMonth(int32_t uMonth, int32_t uYear) const { return Calander->getFirstWeekDay(uMonth, uYear); }
  host::Date getToday() const { return Calander->getToday(); }

  // ---- Events (Click, DblClick, the mouse and the keys come from the control base) ----
  host::Event<> AfterChanged;
  host::Event<> BeforeShowCalender;
  host::Event<> AfterShowCalender;
  host::Event<> Change;
  host::Event<> OnEnter;
  host::Event<> OnEscape;

  // ---- State a host or a test may look at ----
  HWND field() const { return txt.hWnd(); }
  std::string text() const { return txt.text(); }
  const foundation::SurfaceWindow& dropDown() const { return picDropDown; }
  ZorvaXPCalender& calendar() const { return *Calander; }
  bool calendarShowing() const;
  const clsDatePickerHook& hook() const { return hook_; }
  // The field's text for a date in the current mask and separator.
  std::string textFor(host::Date d) const;

  const host::MemberTable& memberTable() const override;

 protected:
  void UserControl_Initialize() override;
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
  void UserControl_Resize() override { RedrawMe(); }
  void UserControl_GotFocus() override;
  void UserControl_LostFocus() override {}
  void UserControl_Terminate() override;
  void redrawResting() override { RedrawMe(); }
  bool resizeRedrawsResting() const override { return true; }
  void tmrHover_Timer() override;

 private:
  enum class Face { Normal, Over, Pressed };
  void paintButton(Face face);
  void paintFrame();
  void fieldKey(UINT message, WPARAM& code);
  void fieldNotified(WORD code);
  void fieldMouse(UINT message, WPARAM keys, LPARAM position);
  void showText();
  void takeTypedDate();
  void outsidePress(int16_t x, int16_t y);
  void dayClicked();
  // Positions: the separators' ranges and the text's full length.
  int sepLen() const { return static_cast<int>(m_DateSpearator.size()); }
  int maxLength() const;
  bool onSeparator(int pos) const;
  // Moves the caret past a separator at pos (adding the separator when the text ends there).
  int skipSeparator(int pos);
  void applyFieldColors();

  OLE_COLOR m_GradientColor1 = kGradientColor1, m_GradientColor2 = kGradientColor2;
  OLE_COLOR m_DropDownSignColor = kDropDownSignColor, m_BorderColor = kBorderColor;
  OLE_COLOR m_OnOverGradient1 = kOnOverGradient1, m_OnOverGradient2 = kOnOverGradient2;
  OLE_COLOR m_OnOverBorderColor = kOnOverBorderColor;
  OLE_COLOR m_BackColor = kBackColor, m_BackColorOver = kBackColorOver;
  bool m_Required = false;
  OLE_COLOR m_RequiredColor = kRequiredColor;
  bool m_Locked = false;
  std::string m_DateSpearator = kDateSpearator;
  TextAlign m_Alignment = TextAlign::HtxtLeft;
  OLE_COLOR m_ForeColor = kForeColor;
  MaskType m_Mask = MaskType::DD_MM_YYYY;
  std::string m_FormatDate = kFormatDate;

  foundation::OwnedEditField txt;
  foundation::SurfaceWindow picDropDown;
  ZorvaXPCalender* Calander = nullptr;
  clsDatePickerHook hook_;
  Face face_ = Face::Normal;
  bool fieldFocused_ = false;
  bool fieldOver_ = false;
};

}  // namespace zxp::dates
