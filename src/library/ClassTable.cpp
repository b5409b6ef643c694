#include "library/ClassTable.h"

#include <memory>

#include "bars/ZorvaXPHookTab.h"
#include "bars/ZorvaXpImageList.h"
#include "bars/ZorvaXPStatusBar.h"
#include "bars/ZorvaXPToolBar.h"
#include "buttons/ZorvaXPButton.h"
#include "buttons/ZorvaXPCheckBox.h"
#include "buttons/ZorvaXPOptionButton.h"
#include "dates/ZorvaXPCalender.h"
#include "dates/ZorvaXPDPicker.h"
#include "formskin/ZorvaForm.h"
#include "range/ZorvaXPHScrollBar.h"
#include "range/ZorvaXPProgressBar.h"
#include "range/ZorvaXPSpin.h"
#include "range/ZorvaXPVScrollBar.h"
#include "text/ZorvaXPFrame.h"
#include "text/ZorvaXPLabel.h"
#include "text/ZorvaXPTextBox.h"
#include "list/ZorvaXPListBox.h"
#include "buttons/ZorvaTextButton.h"
#include "dates/ZorvaMonth4DBK.h"
#include "dates/ZorvaYear4DBK.h"

namespace zxp::library {

namespace {

template <class T>
host::ControlClass control(std::string name, uint32_t miscStatus, int toolboxBitmap) {
  return host::ControlClass{std::move(name), kControlMiscBase | miscStatus, toolboxBitmap,
                            [] { return std::make_unique<T>(); }};
}

}  // namespace

const host::ClassRegistry& classes() {
  static const host::ClassRegistry table = [] {
    host::ClassRegistry r;
    r.add(control<buttons::ZorvaXPButton>("ZorvaXPButton", host::OLEMISC_ACTSLIKEBUTTON | host::OLEMISC_ALIGNABLE, 30011));
    r.add(control<buttons::ZorvaXPCheckBox>("ZorvaXPCheckBox", 0, 30017));
    r.add(control<buttons::ZorvaXPOptionButton>("ZorvaXPOptionButton", 0, 30008));
    r.add(control<range::ZorvaXPProgressBar>("ZorvaXPProgressBar", 0, 30002));
    r.add(control<range::ZorvaXPSpin>("ZorvaXPSpin", 0, 30006));
    r.add(control<range::ZorvaXPVScrollBar>("ZorvaXPVScrollBar", host::OLEMISC_ALIGNABLE, 30013));
    r.add(control<range::ZorvaXPHScrollBar>("ZorvaXPHScrollBar", 0, 30016));
    r.add(control<text::ZorvaXPLabel>("ZorvaXPLabel", host::OLEMISC_ALIGNABLE, 30014));
    r.add(control<text::ZorvaXPFrame>("ZorvaXPFrame", host::OLEMISC_SIMPLEFRAME, 30015));
    r.add(control<bars::ZorvaXPHookTab>("ZorvaXPHookTab", host::OLEMISC_SIMPLEFRAME, 30010));
    r.add(control<bars::ZorvaXpImageList>("ZorvaXpImageList", host::OLEMISC_INVISIBLEATRUNTIME, 30007));
    r.add(control<text::ZorvaXPTextBox>("ZorvaXPTextBox", 0, 30005));
    r.add(control<dates::ZorvaXPDPicker>("ZorvaXPDPicker", 0, 30003));
    r.add(control<dates::ZorvaXPCalender>("ZorvaXPCalender", 0, 30004));
    r.add(control<bars::ZorvaXPToolBar>("ZorvaXPToolBar", host::OLEMISC_ALIGNABLE, 30012));
    r.add(control<bars::ZorvaXPStatusBar>("ZorvaXPStatusBar", host::OLEMISC_ALIGNABLE, 30009));
    r.add(control<list::ZorvaXPListBox>("ZorvaXPListBox", host::OLEMISC_SIMPLEFRAME, 30001));
    r.add(control<formskin::ZorvaForm>("ZorvaForm", host::OLEMISC_NOUIACTIVATE | host::OLEMISC_ALIGNABLE, 30000));
    return r;
  }();
  return table;
}

const host::ClassRegistry& classesWithPrivate() {
  static const host::ClassRegistry table = [] {
    host::ClassRegistry r = classes();
    r.add(control<buttons::ZorvaTextButton>("ZorvaTextButton", 0, 0));
    r.add(control<dates::ZorvaMonth4DBK>("ZorvaMonth4DBK", 0, 0));
    r.add(control<dates::ZorvaYear4DBK>("ZorvaYear4DBK", 0, 0));
    return r;
  }();
  return table;
}

}  // namespace zxp::library
