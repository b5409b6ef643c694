// ZorvaMonth4DBK: the calendar's private month picker (not registered; a constituent child of
// ZorvaXPCalender laid over its header). Seven rows show the month names (from the runtime's
// MonthName) around uMonth, which sits in the middle row; the list wraps around the year
// (January follows December), so scrolling never stops. 70 x 157 pixels.
#pragma once

#include "dates/ItemPickerBase.h"

namespace zxp::dates {

class ZorvaMonth4DBK final : public ItemPickerBase {
 public:
  static constexpr int kWidth = 70;

  ZorvaMonth4DBK() : ItemPickerBase(kWidth) {}

  int32_t uMonth() const { return m_uMonth; }
  void setuMonth(int32_t New_uMonth);

  const host::MemberTable& memberTable() const override;

 protected:
  int32_t current() const override { return m_uMonth; }
  void setCurrent(int32_t v) override { setuMonth(v); }
  std::optional<int32_t> offset(int32_t v, int delta) const override;
  std::string textOf(int32_t v) const override;
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;

 private:
  int32_t m_uMonth = 1;
};

}  // namespace zxp::dates
