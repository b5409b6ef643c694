#include "platform/host/Extender.h"

#include "platform/host/Form.h"
#include "platform/ui/User.h"

namespace zxp::host {

Extender::Extender(std::unique_ptr<ControlObject> control, std::string name, const ExtenderRecord& values, Form* form,
                   Extender* container, HWND parentWindow, Extender* ambientSource)
    : control_(std::move(control)),
      name_(std::move(name)),
      index_(values.index),
      values_(values),
      form_(form),
      container_(container),
      parentWindow_(parentWindow),
      ambientSource_(ambientSource) {}

Extender::~Extender() = default;

HWND Extender::containerWindow() const {
  if (container_) return container_->object().hWnd();
  if (form_) return form_->hWnd();
  return parentWindow_;
}

Rect Extender::pixelRect() const {
  return Rect::fromXYWH(twipsToPixels(values_.left), twipsToPixels(values_.top), twipsToPixels(values_.width),
                        twipsToPixels(values_.height));
}

void Extender::place() {
  HWND h = control_->hWnd();
  if (!h) return;
  Rect r = pixelRect();
  MoveWindow(h, r.left, r.top, r.width(), r.height(), TRUE);
}

void Extender::setLeft(int32_t twips) { Move(twips, values_.top, values_.width, values_.height); }
void Extender::setTop(int32_t twips) { Move(values_.left, twips, values_.width, values_.height); }
void Extender::setWidth(int32_t twips) { Move(values_.left, values_.top, twips, values_.height); }
void Extender::setHeight(int32_t twips) { Move(values_.left, values_.top, values_.width, twips); }

void Extender::Move(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (width < 0 || height < 0) throw HostError(errInvalidPropertyValue);
  values_.left = left;
  values_.top = top;
  values_.width = width;
  values_.height = height;
  place();
  // An aligned control keeps its edge: the form puts it back and moves its neighbours.
  if (values_.align != Align::vbAlignNone && form_) form_->layout();
}

void Extender::placeAt(int32_t left, int32_t top, int32_t width, int32_t height) {
  values_.left = left;
  values_.top = top;
  values_.width = width;
  values_.height = height;
  place();
}

void Extender::setAlign(host::Align a) {
  if (static_cast<int16_t>(a) < 0 || static_cast<int16_t>(a) > 4) throw HostError(errInvalidPropertyValue);
  if (a != Align::vbAlignNone && !hasMiscStatus(OLEMISC_ALIGNABLE))
    throw HostError(errNotSupported, name_ + " cannot be aligned: its class is not alignable");
  values_.align = a;
  if (form_) form_->layout();
}

void Extender::setTabIndex(int16_t n) {
  if (n < 0) throw HostError(errInvalidPropertyValue);
  if (form_) form_->renumberTabs(*this, n);
  else values_.tabIndex = n;
}

void Extender::setVisible(bool b) {
  values_.visible = b;
  applyVisibility();
  if (form_ && values_.align != Align::vbAlignNone) form_->layout();
}

bool Extender::shows() const {
  // Invisible controls still show in a designer.
  if (form_ && !form_->UserMode()) return true;
  return values_.visible && !hasMiscStatus(OLEMISC_INVISIBLEATRUNTIME);
}

void Extender::applyVisibility() {
  if (HWND h = control_->hWnd()) ShowWindow(h, shows() ? SW_SHOWNA : SW_HIDE);
}

void Extender::setDefault(bool b) {
  if (!hasMiscStatus(OLEMISC_ACTSLIKEBUTTON))
    throw HostError(errNotSupported, name_ + " cannot be a default button: its class does not act like a button");
  if (b && form_) form_->clearDefaultButtons();
  values_.defaultButton = b;
}

void Extender::setCancel(bool b) {
  if (!hasMiscStatus(OLEMISC_ACTSLIKEBUTTON))
    throw HostError(errNotSupported, name_ + " cannot be a cancel button: its class does not act like a button");
  if (b && form_) form_->clearCancelButtons();
  values_.cancelButton = b;
}

void Extender::setContainer(Extender* container) {
  if (container && !container->hasMiscStatus(OLEMISC_SIMPLEFRAME))
    throw HostError(errInvalidPropertyValue, container->Name() + " cannot contain controls");
  for (Extender* c = container; c; c = c->container_) {
    if (c == this) throw HostError(errInvalidPropertyValue);  // a control cannot contain itself
  }
  container_ = container;
  if (HWND h = control_->hWnd()) {
    SetParent(h, containerWindow());
    place();
  }
}

AmbientProperties Extender::Ambient() const {
  if (form_) return form_->ambientFor(*this);
  AmbientProperties a;
  if (ambientSource_) a = ambientSource_->Ambient();
  a.DisplayName = name_;
  return a;
}

void Extender::PropertyChanged(std::string_view propertyName) {
  if (form_) form_->noteChange(*this, propertyName);
}

void Extender::moveFocus(bool forward) {
  if (form_) form_->moveFocus(forward, this);
}

ExtenderRecord Extender::record() const {
  ExtenderRecord r = values_;
  r.index = index_;
  return r;
}

const MemberTable& Extender::memberTable() const {
  static const MemberTable table = ClassMembers<Extender>("Extender")
                                       .readOnlyProperty("Name", &Extender::Name)
                                       .readOnlyProperty("Index", &Extender::Index)
                                       .property("Left", &Extender::Left, &Extender::setLeft)
                                       .property("Top", &Extender::Top, &Extender::setTop)
                                       .property("Width", &Extender::Width, &Extender::setWidth)
                                       .property("Height", &Extender::Height, &Extender::setHeight)
                                       .property("Align", &Extender::Align, &Extender::setAlign)
                                       .property("TabStop", &Extender::TabStop, &Extender::setTabStop)
                                       .property("TabIndex", &Extender::TabIndex, &Extender::setTabIndex)
                                       .property("Visible", &Extender::Visible, &Extender::setVisible)
                                       .property("Default", &Extender::Default, &Extender::setDefault)
                                       .property("Cancel", &Extender::Cancel, &Extender::setCancel)
                                       .build();
  return table;
}

}  // namespace zxp::host
