#include "dates/ZorvaMonth4DBK.h"

#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/host/runtime/Date.h"

namespace zxp::dates {

void ZorvaMonth4DBK::setuMonth(int32_t v) { letProperty(m_uMonth, v, "uMonth", foundation::Redraw::Resting); }

// Months wrap around the year; a month outside 1..12 counts from January.
std::optional<int32_t> ZorvaMonth4DBK::offset(int32_t v, int delta) const {
  const int base = (v >= 1 && v <= 12) ? v - 1 : 0;
  return static_cast<int32_t>(((base + delta) % 12 + 12) % 12 + 1);
}

std::string ZorvaMonth4DBK::textOf(int32_t v) const { return host::MonthName(v); }

void ZorvaMonth4DBK::UserControl_InitProperties() {
  m_uMonth = host::Month(host::Today());
  m_BorderColor = kBorderColor;
  RedrawMe();
}

void ZorvaMonth4DBK::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  m_uMonth = PropBag.read<int32_t>("UMonth", host::Month(host::Today()));
  m_BorderColor = PropBag.read<OLE_COLOR>("BorderColor", kBorderColor);
  restingChanged();
}

void ZorvaMonth4DBK::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  PropBag.WriteProperty("UMonth", m_uMonth, static_cast<int32_t>(host::Month(host::Today())));
  PropBag.WriteProperty("BorderColor", m_BorderColor, kBorderColor);
}

const host::MemberTable& ZorvaMonth4DBK::memberTable() const {
  using B = ZorvaMonth4DBK;
  static const host::MemberTable table = host::ClassMembers<B>("ZorvaMonth4DBK")
      .property("uMonth", &B::uMonth, &B::setuMonth)
      .property("BorderColor", &B::BorderColor, &B::setBorderColor)
      .method("RedrawMe", &B::RedrawMe)
      .event("ItemSelected", &B::ItemSelected, {"Value", "Text"})
      .build();
  return table;
}

}  // namespace zxp::dates
