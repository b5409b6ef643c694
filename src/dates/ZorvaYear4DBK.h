// ZorvaYear4DBK: the calendar's private year picker (not registered; a constituent child of
// ZorvaXPCalender laid over its header). Seven rows show uYear - 3 ... uYear + 3 with uYear in
// the middle row; it keeps a fixed size of 33 x 157 pixels. Years run from 1800 to 9999: rows
// beyond them stay empty, and scrolling stops with the limit in the middle row.
#pragma once

#include "dates/ItemPickerBase.h"

namespace zxp::dates {

class ZorvaYear4DBK final : public ItemPickerBase {
 public:
  static constexpr int kWidth = 33;
  static constexpr int32_t kFirstYear = 1800, kLastYear = 9999;

  ZorvaYear4DBK() : ItemPickerBase(kWidth) {}

  int32_t uYear() const { return m_uYear; }
  void setuYear(int32_t New_uYear);

  const host::MemberTable& memberTable() const override;

 protected:
  int32_t current() const override { return m_uYear; }
  void setCurrent(int32_t v) override { setuYear(v); }
  std::optional<int32_t> offset(int32_t v, int delta) const override;
  std::string textOf(int32_t v) const override;
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;

 private:
  int32_t m_uYear = 2000;
};

}  // namespace zxp::dates
