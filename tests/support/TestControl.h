// A small control built on the control base for tests (not a library control): one persisted
// property of every value type, a resting look and a hover look in flat colours, a hover sound,
// a caption with an access key, and a log of what it drew and when.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "foundation/ControlBase.h"
#include "platform/gfx/Font.h"
#include "platform/host/ClassRegistry.h"
#include "platform/host/Form.h"

namespace zxp::testing {

class TestXP final : public foundation::ControlBase {
 public:
  enum class StyleType : int16_t { Flat = 0, Raised = 1 };
  // Its description, found by the member table through argument-dependent lookup.
  friend const host::EnumType& describeEnum(StyleType) {
    static const host::EnumType t{"StyleType", {{"Flat", 0}, {"Raised", 1}}};
    return t;
  }

  static constexpr OLE_COLOR kNormal = 0x00C08040;  // defaults
  static constexpr OLE_COLOR kHover = 0x0040C0F0;

  std::string Caption() const { return m_Caption; }
  void setCaption(const std::string& New_Caption) {
    letProperty(m_Caption, New_Caption, "Caption", foundation::Redraw::Resting);
    setAccessKeyFromCaption(m_Caption);
  }
  OLE_COLOR ColorNormal() const { return m_ColorNormal; }
  void setColorNormal(OLE_COLOR c) { letProperty(m_ColorNormal, c, "ColorNormal", foundation::Redraw::Resting); }
  OLE_COLOR ColorHover() const { return m_ColorHover; }
  void setColorHover(OLE_COLOR c) { letProperty(m_ColorHover, c, "ColorHover", foundation::Redraw::None); }
  bool HiglightMouseOver() const { return m_HiglightMouseOver; }
  void setHiglightMouseOver(bool b) { letProperty(m_HiglightMouseOver, b, "HiglightMouseOver", foundation::Redraw::None); }
  StyleType Style() const { return m_Style; }
  void setStyle(StyleType s) { letProperty(m_Style, s, "Style", foundation::Redraw::Resting); }
  float Ratio() const { return m_Ratio; }
  void setRatio(float r) { letProperty(m_Ratio, r, "Ratio", foundation::Redraw::None); }
  double Scale() const { return m_Scale; }
  void setScale(double s) { letProperty(m_Scale, s, "Scale", foundation::Redraw::None); }
  host::Date Created() const { return m_Created; }
  void setCreated(host::Date d) { letProperty(m_Created, d, "Created", foundation::Redraw::None); }
  host::PictureRef Picture() const { return m_Picture; }
  void setPicture(host::PictureRef p) { letProperty(m_Picture, p, "Picture", foundation::Redraw::Resting); }
  std::string SoundOnOver() const { return m_SoundOnOver; }
  void setSoundOnOver(const std::string& New_SoundOnOver) { letSoundPath(m_SoundOnOver, New_SoundOnOver, "SoundOnOver"); }

  const host::MemberTable& memberTable() const override {
    using host::ClassMembers;
    static const host::MemberTable table = ClassMembers<TestXP>("TestXP")
        .property("Caption", &TestXP::Caption, &TestXP::setCaption)
        .property("ColorNormal", &TestXP::ColorNormal, &TestXP::setColorNormal)
        .property("ColorHover", &TestXP::ColorHover, &TestXP::setColorHover)
        .property("HiglightMouseOver", &TestXP::HiglightMouseOver, &TestXP::setHiglightMouseOver)
        .property("Style", &TestXP::Style, &TestXP::setStyle)
        .property("Ratio", &TestXP::Ratio, &TestXP::setRatio)
        .property("Scale", &TestXP::Scale, &TestXP::setScale)
        .property("Created", &TestXP::Created, &TestXP::setCreated)
        .property("Picture", &TestXP::Picture, &TestXP::setPicture)
        .property("SoundOnOver", &TestXP::SoundOnOver, &TestXP::setSoundOnOver)
        .property("Enabled", &TestXP::Enabled, &TestXP::setEnabled)
        .property("Font", &TestXP::Font, &TestXP::setFont)
        .property("MousePointer", &TestXP::MousePointer, &TestXP::setMousePointer)
        .property("MouseIcon", &TestXP::MouseIcon, &TestXP::setMouseIcon)
        .about(&TestXP::About)
        .event("Click", &TestXP::Click)
        .event("MouseDown", &TestXP::MouseDown, {"Button", "Shift", "X", "Y"})
        .event("MouseMove", &TestXP::MouseMove, {"Button", "Shift", "X", "Y"})
        .event("KeyPress", &TestXP::KeyPress, {"KeyAscii"})
        .build();
    return table;
  }

  // What the control drew, in order ("resting <caption>", "hover"), and how many property
  // changes the form had recorded at that moment.
  struct Drawn {
    std::string what;
    size_t changesBefore;
  };
  std::vector<Drawn> drawn;
  std::vector<std::string> lifecycle;

  // The surface's drag-and-drop modes (a control publishing OLEDragMode / OLEDropMode sets them).
  void setOLEDragMode(int16_t m) { UserControl.setOLEDragMode(m); }
  void setOLEDropMode(int16_t m) { UserControl.setOLEDropMode(m); }

  // A container (OLEMISC_SIMPLEFRAME), so that tests can nest controls in it.
  static host::ControlClass controlClass() {
    // The test control may do everything a class can declare: contain controls, align, act
    // like a button.
    return host::ControlClass{"TestXP",
                              0x20191 | host::OLEMISC_SIMPLEFRAME | host::OLEMISC_ALIGNABLE | host::OLEMISC_ACTSLIKEBUTTON,
                              0, [] { return std::make_unique<TestXP>(); }};
  }

 protected:
  void UserControl_Initialize() override { lifecycle.push_back("Initialize"); }
  void UserControl_InitProperties() override {
    lifecycle.push_back("InitProperties");
    m_Caption = Ambient().DisplayName;
    UserControl.setFont(Ambient().Font);
  }
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override {
    lifecycle.push_back("ReadProperties");
    m_Caption = PropBag.read<std::string>("Caption", Ambient().DisplayName);
    m_ColorNormal = PropBag.read<OLE_COLOR>("ColorNormal", kNormal);
    m_ColorHover = PropBag.read<OLE_COLOR>("ColorHover", kHover);
    m_HiglightMouseOver = PropBag.read<bool>("HiglightMouseOver", true);
    m_Style = PropBag.read<StyleType>("Style", StyleType::Flat);
    m_Ratio = PropBag.read<float>("Ratio", 0.5f);
    m_Scale = PropBag.read<double>("Scale", 1.0);
    m_Created = PropBag.read<host::Date>("Created", host::Date(0));
    m_Picture = PropBag.read<host::PictureRef>("Picture", host::PictureRef());
    m_SoundOnOver = PropBag.read<std::string>("SoundOnOver", "");
    UserControl.setEnabled(PropBag.read<bool>("Enabled", true));
    UserControl.setFont(PropBag.read<host::FontRef>("Font", Ambient().Font));
    UserControl.setMousePointer(PropBag.read<int16_t>("MousePointer", 0));
    UserControl.setMouseIcon(PropBag.read<host::PictureRef>("MouseIcon", host::PictureRef()));
    setAccessKeyFromCaption(m_Caption);
    redrawResting();
  }
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override {
    PropBag.WriteProperty("Caption", m_Caption, Ambient().DisplayName);
    PropBag.WriteProperty("ColorNormal", m_ColorNormal, kNormal);
    PropBag.WriteProperty("ColorHover", m_ColorHover, kHover);
    PropBag.WriteProperty("HiglightMouseOver", m_HiglightMouseOver, true);
    PropBag.WriteProperty("Style", m_Style, StyleType::Flat);
    PropBag.WriteProperty("Ratio", m_Ratio, 0.5f);
    PropBag.WriteProperty("Scale", m_Scale, 1.0);
    PropBag.WriteProperty("Created", m_Created, host::Date(0));
    PropBag.WriteProperty("Picture", m_Picture);
    PropBag.WriteProperty("SoundOnOver", m_SoundOnOver, "");
    PropBag.WriteProperty("Enabled", Enabled(), true);
    PropBag.WriteProperty("Font", Font());
    PropBag.WriteProperty("MousePointer", MousePointer(), int16_t{0});
    PropBag.WriteProperty("MouseIcon", MouseIcon());
  }
  void UserControl_Resize() override {
    lifecycle.push_back("Resize");
    redrawResting();
  }
  void UserControl_Terminate() override { lifecycle.push_back("Terminate"); }
  void UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) override {
    PlayHoverSound(m_SoundOnOver);
    if (m_HiglightMouseOver) trackHover();
    MouseMove.raise(Button, Shift, X, Y);
  }
  void UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) override {
    setPressed(true);
    MouseDown.raise(Button, Shift, X, Y);
  }

  void redrawResting() override {
    note("resting " + m_Caption);
    UserControl.setBackColor(m_ColorNormal);
  }
  void redrawHover() override {
    note("hover");
    UserControl.setBackColor(m_ColorHover);
  }

 private:
  void note(std::string what) {
    host::Extender* e = extender();
    drawn.push_back(Drawn{std::move(what), e && e->Parent() ? e->Parent()->changes().size() : 0});
  }

  std::string m_Caption;
  OLE_COLOR m_ColorNormal = kNormal;
  OLE_COLOR m_ColorHover = kHover;
  bool m_HiglightMouseOver = true;
  StyleType m_Style = StyleType::Flat;
  float m_Ratio = 0.5f;
  double m_Scale = 1.0;
  host::Date m_Created{0};
  host::PictureRef m_Picture;
  std::string m_SoundOnOver;
};

inline host::ClassRegistry testRegistry() {
  host::ClassRegistry r;
  r.add(TestXP::controlClass());
  // The same control registered as a class that holds no controls.
  host::ControlClass plain = TestXP::controlClass();
  plain.name = "TestPlain";
  plain.miscStatus &= ~host::OLEMISC_SIMPLEFRAME;
  r.add(std::move(plain));
  return r;
}

}  // namespace zxp::testing
