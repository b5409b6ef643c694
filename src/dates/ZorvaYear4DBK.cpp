#include "dates/ZorvaYear4DBK.h"

#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/host/runtime/Date.h"
#include "platform/host/runtime/Numeric.h"

namespace zxp::dates {

void ZorvaYear4DBK::setuYear(int32_t v) { letProperty(m_uYear, v, "uYear", foundation::Redraw::Resting); }

std::optional<int32_t> ZorvaYear4DBK::offset(int32_t v, int delta) const {
  const int64_t r = static_cast<int64_t>(v) + delta;
  if (r < kFirstYear || r > kLastYear) return std::nullopt;
  return static_cast<int32_t>(r);
}

std::string ZorvaYear4DBK::textOf(int32_t v) const { return host::numberToText(v); }

void ZorvaYear4DBK::UserControl_InitProperties() {
  m_uYear = host::Year(host::Today());
  m_BorderColor = kBorderColor;
  RedrawMe();
}

void ZorvaYear4DBK::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  m_uYear = PropBag.read<int32_t>("UYear", host::Year(host::Today()));
  m_BorderColor = PropBag.read<OLE_COLOR>("BorderColor", kBorderColor);
  restingChanged();
}

void ZorvaYear4DBK::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  PropBag.WriteProperty("UYear", m_uYear, static_cast<int32_t>(host::Year(host::Today())));
  PropBag.WriteProperty("BorderColor", m_BorderColor, kBorderColor);
}

const host::MemberTable& ZorvaYear4DBK::memberTable() const {
  using B = ZorvaYear4DBK;
  static const host::MemberTable table = host::ClassMembers<B>("ZorvaYear4DBK")
      .property("uYear", &B::uYear, &B::setuYear)
      .property("BorderColor", &B::BorderColor, &B::setBorderColor)
      .method("RedrawMe", &B::RedrawMe)
      .event("ItemSelected", &B::ItemSelected, {"Value", "Text"})
      .build();
  return table;
}

}  // namespace zxp::dates
