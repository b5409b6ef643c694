#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "platform/host/MemberTable.h"

namespace zxp::host {
namespace {

int errorNumber(auto&& fn) {
  try {
    fn();
  } catch (const HostError& e) {
    return e.number();
  }
  return 0;
}

// A small class with every kind of member.
class Sample : public Dispatchable {
 public:
  enum class Mode : int32_t { One = 1, Two = 2 };

  std::string Caption() const { return caption_; }
  void setCaption(const std::string& New_Caption) { caption_ = New_Caption; }
  bool Enabled() const { return enabled_; }
  void setEnabled(bool New_Enabled) { enabled_ = New_Enabled; }
  Mode Style() const { return mode_; }
  void setStyle(Mode New_Style) { mode_ = New_Style; }
  int32_t Count() const { return 7; }
  int32_t Add(int32_t a, int16_t b) { return a + b; }
  void About() { ++abouts; }

  Event<> Click;
  Event<int16_t, int16_t, float, float> MouseDown;

  const MemberTable& memberTable() const override {
    static const MemberTable table = ClassMembers<Sample>("Sample")
                                         .property("Caption", &Sample::Caption, &Sample::setCaption)
                                         .method("Add", &Sample::Add)
                                         .property("Enabled", &Sample::Enabled, &Sample::setEnabled)
                                         .readOnlyProperty("Count", &Sample::Count)
                                         .property("Style", &Sample::Style, &Sample::setStyle)
                                         .about(&Sample::About)
                                         .event("Click", &Sample::Click)
                                         .event("MouseDown", &Sample::MouseDown, {"Button", "Shift", "X", "Y"})
                                         .build();
    return table;
  }

  int abouts = 0;

 private:
  std::string caption_;
  bool enabled_ = true;
  Mode mode_ = Mode::One;
};

TEST(MemberTable, DispatchIdentifiersFollowDeclarationOrder) {
  Sample s;
  const MemberTable& t = s.memberTable();
  EXPECT_EQ(t.className(), "Sample");
  // Properties 0x6803xxxx, methods 0x6003xxxx, numbered in one sequence; the about box its own.
  std::vector<int32_t> ids;
  for (const char* name : {"Caption", "Add", "Enabled", "Count", "Style", "About"}) ids.push_back(t.find(name)->dispid);
  EXPECT_EQ(ids, (std::vector<int32_t>{0x68030000, 0x60030001, 0x68030002, 0x68030003, 0x68030004, DISPID_ABOUTBOX}));
  EXPECT_EQ(t.findDispId(-552)->name, "About");
  EXPECT_EQ(std::tuple(t.find("Style")->type, t.find("Enabled")->type, t.find("Count")->readOnly()),
            std::tuple(Variant::Kind::Long, Variant::Kind::Boolean, true));
  EXPECT_EQ(std::tuple(t.findEvent("Click")->dispid, t.findEvent("MouseDown")->dispid, t.findEvent("MouseDown")->params.size()),
            std::tuple(1, 2, size_t{4}));
}

TEST(MemberTable, LateBoundCallsByName) {
  Sample s;
  letProperty(s, "caption", "Hello");  // names ignore case
  letProperty(s, "Enabled", int16_t{0});  // coerced
  letProperty(s, "Style", "2");
  EXPECT_EQ(std::tuple(getProperty(s, "Caption").toString(), s.Enabled(), s.Style()), std::tuple("Hello", false, Sample::Mode::Two));
  EXPECT_EQ(callMethod(s, "Add", {int32_t{40}, "2"}).toLong(), 42);
  callMethod(s, "About");
  EXPECT_EQ(s.abouts, 1);

  EXPECT_EQ((std::vector<int>{errorNumber([&] { getProperty(s, "Nope"); }),
                              errorNumber([&] { letProperty(s, "Count", int32_t{1}); }),
                              errorNumber([&] { callMethod(s, "Add", {int32_t{1}}); }),
                              errorNumber([&] { letProperty(s, "Style", "abc"); }),
                              errorNumber([&] { bindEvent(s, "Nope", [](std::vector<Variant>&) {}); })}),
            (std::vector<int>{errNotSupported, errPropertyReadOnly, errWrongArgumentCount, errTypeMismatch, errNoSuchEvent}));
}

// A grid with members of the shapes late binding must carry: a property with two indexes, a
// parameter array, named parameters and an enumeration with interface names.
enum class Shade : int16_t { Light = 0, Dark = 1 };
const EnumType& describeEnum(Shade) {
  static const EnumType t{"ShadeConst", {{"Light - Shade", 0}, {"Dark", 1}}};
  return t;
}

class Grid : public Dispatchable {
 public:
  std::string Cell(int32_t row, int32_t column) const { return cells_.at(key(row, column)); }
  void setCell(int32_t row, int32_t column, const std::string& text) { cells_[key(row, column)] = text; }
  Shade Tone() const { return tone_; }
  void setTone(Shade s) { tone_ = s; }
  int32_t Join(const std::string& lead, ArrayRef rest) {
    joined_ = lead;
    for (const Variant& v : *rest) joined_ += "," + v.toString();
    return static_cast<int32_t>(rest->size());
  }

  const MemberTable& memberTable() const override {
    static const MemberTable table = ClassMembers<Grid>("Grid")
                                         .indexedProperty("Cell", &Grid::Cell, &Grid::setCell)
                                         .params({"iRow", "iColumn"})
                                         .property("Tone", &Grid::Tone, &Grid::setTone)
                                         .method("Join", &Grid::Join)
                                         .paramArray()
                                         .params({"lead", "rest"})
                                         .build();
    return table;
  }
  std::string joined_;

 private:
  static int32_t key(int32_t r, int32_t c) {
    if (r < 1 || c < 1) throw HostError(errSubscriptOutOfRange);
    return r * 100 + c;
  }
  std::map<int32_t, std::string> cells_;
  Shade tone_ = Shade::Light;
};

TEST(MemberTable, IndexedPropertiesTakeEveryIndexTheyName) {
  Grid g;
  letIndexedProperty(g, "Cell", {Variant(int32_t{2}), Variant("3")}, "x");
  EXPECT_EQ(g.Cell(2, 3), "x");
  EXPECT_EQ(getIndexedProperty(g, "cell", {Variant(int32_t{2}), Variant(int32_t{3})}).toString(), "x");
  EXPECT_EQ(callMethod(g, "Cell", {Variant(int32_t{2}), Variant(int32_t{3})}).toString(), "x");
  const Member& m = *g.memberTable().find("Cell");
  EXPECT_EQ(std::tuple(m.argCount, m.params, m.readOnly()), std::tuple(size_t{2}, std::vector<std::string>{"iRow", "iColumn"}, false));
  EXPECT_EQ((std::vector<int>{errorNumber([&] { getIndexedProperty(g, "Cell", Variant(int32_t{2})); }),
                              errorNumber([&] { letIndexedProperty(g, "Cell", {Variant(int32_t{0}), Variant(int32_t{1})}, "y"); }),
                              errorNumber([&] { getProperty(g, "Cell"); })}),
            (std::vector<int>{errWrongArgumentCount, errSubscriptOutOfRange, errWrongArgumentCount}));
}

TEST(MemberTable, AParameterArrayGathersTheRemainingArguments) {
  Grid g;
  EXPECT_EQ(callMethod(g, "Join", {"a", "b", int32_t{3}}).toLong(), 2);
  EXPECT_EQ(g.joined_, "a,b,3");
  EXPECT_EQ(callMethod(g, "Join", {"only"}).toLong(), 0);
  EXPECT_EQ(g.joined_, "only");
  EXPECT_EQ(errorNumber([&] { callMethod(g, "Join"); }), errWrongArgumentCount);
  EXPECT_TRUE(g.memberTable().find("Join")->varArgs);
}

TEST(MemberTable, PropertiesOfAnEnumerationReferToItsDescription) {
  Grid g;
  const EnumType* e = g.memberTable().find("Tone")->enumType;
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(std::tuple(e->name, e->nameOf(0), e->nameOf(1), e->nameOf(7)),
            std::tuple("ShadeConst", "Light - Shade", "Dark", ""));
  // An enumeration without a description has none; the member stays usable.
  Sample s;
  EXPECT_EQ(s.memberTable().find("Style")->enumType, nullptr);
}

TEST(MemberTable, ParameterNamesMustMatchTheArguments) {
  auto build = [] {
    return ClassMembers<Grid>("Grid").method("Join", &Grid::Join).params({"lead"}).build();
  };
  EXPECT_THROW(build(), std::logic_error);
}

TEST(Variant, ArraysAreSharedValuesOfTheirOwnKind) {
  const Variant a = Variant::array({Variant("x"), Variant(int32_t{2})});
  EXPECT_EQ(std::tuple(a.kind(), static_cast<int>(a.varType()), a.typeName(), a.toArray()->size()),
            std::tuple(Variant::Kind::Array, 0x200C, "Variant()", size_t{2}));
  const Variant copy = a;
  EXPECT_TRUE(copy.sameAs(a));
  EXPECT_FALSE(Variant::array({Variant("x"), Variant(int32_t{2})}).sameAs(a));  // identity, as objects
  EXPECT_FALSE(a == Variant());
  EXPECT_TRUE(Variant().toArray()->empty());
  EXPECT_EQ((std::vector<int>{errorNumber([&] { (void)a.toString(); }), errorNumber([&] { (void)a.toLong(); }),
                              errorNumber([&] { (void)Variant("x").toArray(); })}),
            (std::vector<int>{errTypeMismatch, errTypeMismatch, errTypeMismatch}));
}

TEST(Event, ArgumentsAreByReferenceForTypedAndNamedHandlers) {
  Sample s;
  std::vector<std::string> order;
  s.MouseDown.connect([&](int16_t& Button, int16_t&, float& X, float&) {
    order.push_back("typed");
    Button = 2;
    X += 1.0f;
  });
  Connection named = bindEvent(s, "mousedown", [&](std::vector<Variant>& args) {
    order.push_back("named");
    EXPECT_EQ(args.size(), 4u);
    EXPECT_EQ(args[0].toInteger(), 2);  // sees the typed handler's change
    args[3] = 9.5;                      // and changes Y by reference
  });
  int16_t button = 1, shift = 0;
  float x = 3, y = 4;
  s.MouseDown.raise(button, shift, x, y);
  EXPECT_EQ(order, (std::vector<std::string>{"typed", "named"}));
  EXPECT_EQ(std::tuple(button, x, y), std::tuple(int16_t{2}, 4.0f, 9.5f));

  EXPECT_TRUE(unbindEvent(s, "MouseDown", named));
  y = 0;
  s.MouseDown.raise(button, shift, x, y);
  EXPECT_FLOAT_EQ(y, 0.0f);
}

}  // namespace
}  // namespace zxp::host
