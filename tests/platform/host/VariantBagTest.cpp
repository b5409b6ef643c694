#include <gtest/gtest.h>

#include <cctype>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/HostError.h"
#include "platform/gfx/Font.h"
#include "platform/host/NoCase.h"
#include "platform/host/PropertyBag.h"
#include "support/Checks.h"

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

TEST(Variant, CoercesLikeTheHost) {
  using L = std::vector<int32_t>;
  using S = std::vector<std::string>;
  // Booleans are 16-bit, True = -1; text and numbers convert to them.
  EXPECT_EQ((L{Variant(true).toInteger(), Variant(true).toVBBool(), Variant(int16_t{5}).toVBBool(), Variant("false").toVBBool()}),
            (L{-1, vbTrue, vbTrue, vbFalse}));
  // Rounding to integers halves to even; text reads in decimal and &H form (four hex digits are
  // a 16-bit value), with the runtime's currency, thousands separators anywhere in the integer
  // part, and signs after the number.
  EXPECT_EQ((L{Variant(2.5).toInteger(), Variant(3.5).toLong(), Variant(-2.5).toInteger(), Variant(int32_t{-32768}).toInteger(),
               Variant(" 12 ").toLong(), Variant("&HFF&").toLong(), Variant("&HFFFF").toInteger(),
               Variant("&HFFFFFFFF").toLong(), Variant("$1,000").toLong(), Variant("5-").toInteger(), Variant("1,00").toLong()}),
            (L{2, 4, -2, -32768, 12, 255, -1, -1, 1000, -5, 100}));
  // The Long suffix makes a short literal 32-bit: a colour written by hand keeps its value.
  EXPECT_EQ((L{Variant("&HFF00&").toLong(), Variant("&O100000&").toLong(), Variant("&HFFFFFFFF&").toLong()}),
            (L{65280, 32768, -1}));
  EXPECT_DOUBLE_EQ(Variant("1.5e2").toDouble(), 150.0);
  EXPECT_FALSE(Variant(",100").isNumeric());
  // Out of range overflows; text that is no number, and the wrong kind of object, mismatch.
  EXPECT_EQ((L{errorNumber([] { Variant(32767.5).toInteger(); }), errorNumber([] { Variant(int32_t{40000}).toInteger(); }),
               errorNumber([] { Variant(1e9).toDate(); }), errorNumber([] { Variant("12abc").toLong(); }),
               errorNumber([] { Variant("").toLong(); }), errorNumber([] { Variant(int16_t{1}).toFont(); })}),
            (L{errOverflow, errOverflow, errOverflow, errTypeMismatch, errTypeMismatch, errTypeMismatch}));
  // Numbers and dates to text as the host prints them.
  EXPECT_EQ((S{Variant(true).toString(), Variant(0.1 + 0.2).toString(), Variant(1.5f).toString(), Variant(1e20).toString(),
               Variant(1.0 / 3).toString(), Variant(1.0f / 3).toString(),
               Variant(std::numeric_limits<double>::infinity()).toString(),
               Variant(*makeDate(2024, 1, 5, 12, 30)).toString(), Variant(*makeDate(2024, 1, 5)).toString(),
               Variant(Date(0.25)).toString()}),
            (S{"True", "0.3", "1.5", "1E+20", "0.333333333333333", "0.3333333", "1.#INF", "1/5/2024 12:30:00 PM",
               "1/5/2024", "6:00:00 AM"}));
  // OLE colours are Longs, stored bit for bit; dates convert to and from their serial number.
  Variant colour(OLE_COLOR{0x80000005});
  EXPECT_EQ(std::tuple(colour.kind(), static_cast<OLE_COLOR>(colour.toLong())), std::tuple(Variant::Kind::Long, 0x80000005u));
  EXPECT_DOUBLE_EQ(Variant(int32_t{45296}).toDate().serial, 45296.0);
  // Empty is 0, False and "".
  EXPECT_TRUE(Variant().toLong() == 0 && Variant().toString().empty() && !Variant().toBool());
}

// A font reaches a control as a value only when a form file can carry it, so that a form the
// program changed saves and loads again: 1 to 31 characters of name, a size in (0, 2048].
TEST(Variant, FontsAFormFileCannotCarryAreRefusedWith380) {
  const auto font = [](std::string name, double size) {
    auto f = std::make_shared<gfx::FontDesc>();
    f->name = std::move(name);
    f->size = size;
    return Variant(FontRef(f));
  };
  for (const Variant& bad : {font("Tahoma", 0), font("Tahoma", -8), font("Tahoma", 2048.5),
                             font("Tahoma", std::numeric_limits<double>::quiet_NaN()), font("", 8.25),
                             font(std::string(32, 'a'), 8.25)}) {
    try {
      (void)variantAs<FontRef>(bad);
      ADD_FAILURE() << "accepted";
    } catch (const HostError& e) {
      EXPECT_EQ(e.number(), errInvalidPropertyValue);
    }
  }
  EXPECT_EQ(variantAs<FontRef>(font(std::string(31, 'a'), 2048))->size, 2048);
  EXPECT_EQ(variantAs<FontRef>(font("Tahoma", 0.5))->name, "Tahoma");
  EXPECT_EQ(variantAs<FontRef>(Variant()), nullptr);  // Empty is no font
}

TEST(Variant, DefaultComparisonAndIdentity) {
  EXPECT_TRUE(Variant(int16_t{1}) == Variant(int32_t{1}));
  EXPECT_TRUE(Variant(true) == Variant(int16_t{-1}));
  EXPECT_FALSE(Variant("1") == Variant(int16_t{1}));  // text never equals a number
  EXPECT_TRUE(Variant("") == Variant());
  EXPECT_TRUE(Variant(FontRef()) == Variant());      // an unset object equals Empty
  EXPECT_TRUE(Variant(PictureRef()) == Variant());
  EXPECT_FALSE(Variant("abc") == Variant("ABC"));
  // sameAs: kind and bits.
  EXPECT_FALSE(Variant(int16_t{1}).sameAs(Variant(int32_t{1})));
  EXPECT_FALSE(Variant(0.0).sameAs(Variant(-0.0)));
  EXPECT_TRUE(Variant(0.0) == Variant(-0.0));
  EXPECT_TRUE(Variant(Date(45000.25)).sameAs(Variant(Date(45000.25))));
}

enum class Style16 : int16_t { Vista = 0, XP = 1 };

TEST(PropertyBag, ValuesEqualToTheirDefaultAreOmittedAndReadBack) {
  PropertyBag bag;
  bag.WriteProperty("HiglightMouseOver", true, true);
  bag.WriteProperty("ButtonStyle", Style16::XP, Style16::Vista);
  bag.WriteProperty("Caption", "ZorvaXpButton1", "");
  bag.WriteProperty("GradientColorXP1", OLE_COLOR{0xFFFFFF}, OLE_COLOR{0xFFFFFF});
  bag.WriteProperty("Picture", PictureRef(), PictureRef());  // an object: stored even when empty
  ASSERT_EQ(zxp::testing::bagKeys(bag), (std::vector<std::string>{"ButtonStyle", "Caption", "Picture"}));
  EXPECT_EQ(bag.entries()[0].value.kind(), Variant::Kind::Integer);  // the enum's declared width

  // Reading falls back to the same defaults.
  EXPECT_EQ(std::tuple(bag.read<bool>("HiglightMouseOver", true), bag.read<Style16>("ButtonStyle", Style16::Vista),
                       bag.read<OLE_COLOR>("GradientColorXP1", 0xFFFFFF)),
            std::tuple(true, Style16::XP, 0xFFFFFFu));
  EXPECT_TRUE(bag.read<PictureRef>("Picture", PictureRef()).empty());
  EXPECT_EQ(bag.ReadProperty("caption").toString(), "ZorvaXpButton1");  // keys ignore case
  EXPECT_EQ(bag.lastKeyRead(), "caption");

  // Writing the default again removes an earlier value; writing without a default always stores.
  bag.WriteProperty("ButtonStyle", Style16::Vista, Style16::Vista);
  EXPECT_FALSE(bag.contains("ButtonStyle"));
  bag.WriteProperty("FastTransparentUtilitiy", int16_t{0});
  EXPECT_TRUE(bag.contains("FastTransparentUtilitiy"));

  // A stored value of the wrong type is the host's Type mismatch when read.
  bag.set("Caption", "not a number");
  EXPECT_EQ(errorNumber([&] { bag.read<int32_t>("Caption", 0); }), errTypeMismatch);
}

// Texts read through readText: a bag keeps its value unless it was handed over (the loader's
// bag, read once), which gives its strings away; other kinds convert as read does either way.
TEST(PropertyBag, ReadTextCopiesUnlessTheBagWasHandedOver) {
  PropertyBag bag;
  bag.set("Caption", "Kept");
  bag.set("Count", int32_t{5});
  EXPECT_EQ(bag.readText("caption", "x"), "Kept");
  EXPECT_EQ(bag.readText("Caption", "x"), "Kept");
  EXPECT_EQ(bag.readText("Missing", "fallback"), "fallback");
  EXPECT_EQ(bag.lastKeyRead(), "Missing");

  bag.handOver();
  EXPECT_EQ(bag.readText("Caption", "x"), "Kept");
  EXPECT_EQ(bag.find("Caption")->value.toString(), "");  // given away
  EXPECT_TRUE(bag.find("Caption")->wasRead);
  EXPECT_EQ(bag.readText("Count", "x"), "5");
  EXPECT_EQ(bag.find("Count")->value.toLong(), 5);
}

// Large bags find keys through an index: checked against a plain list searched key by key, over
// random writes, overwrites in other cases, erasures and copies, growing past and shrinking
// below the size where the index starts.
TEST(PropertyBag, LargeBagsBehaveAsAListSearchedKeyByKey) {
  struct Model {
    std::vector<std::pair<std::string, int32_t>> entries;
    std::pair<std::string, int32_t>* find(std::string_view key) {
      for (auto& e : entries)
        if (equalsNoCase(e.first, key)) return &e;
      return nullptr;
    }
  } model;
  PropertyBag bag;
  uint32_t seed = 12345;
  auto next = [&](uint32_t n) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % n;
  };
  auto spelling = [&](uint32_t k) {
    std::string key = "Key" + std::to_string(k);
    for (char& c : key)
      if (next(2)) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
  };
  auto check = [&](const PropertyBag& b) {
    ASSERT_EQ(b.size(), model.entries.size());
    for (size_t i = 0; i < model.entries.size(); ++i) {
      ASSERT_EQ(b.entries()[i].key, model.entries[i].first);  // order and first spelling kept
      ASSERT_EQ(b.entries()[i].value.toLong(), model.entries[i].second);
    }
    for (uint32_t k = 0; k < 400; ++k) {
      const std::string key = spelling(k);
      const auto* want = model.find(key);
      const PropertyBag::Entry* got = b.find(key);
      ASSERT_EQ(got != nullptr, want != nullptr) << key;
      if (want) {
        ASSERT_EQ(got, &b.entries()[static_cast<size_t>(want - model.entries.data())]) << key;
      }
    }
  };
  for (int round = 0; round < 6; ++round) {
    // Grow: most writes add a key, some overwrite one under another spelling.
    for (int i = 0; i < 150; ++i) {
      const std::string key = spelling(next(400));
      const auto value = static_cast<int32_t>(next(1000));
      bag.set(key, value);
      if (auto* e = model.find(key)) e->second = value;
      else model.entries.emplace_back(key, value);
    }
    check(bag);
    const PropertyBag copy = bag;
    Model before = model;
    // Shrink: erasures anywhere, through erase and through a write of the default.
    for (int i = 0; i < 140; ++i) {
      const std::string key = spelling(next(400));
      if (next(2)) bag.erase(key);
      else bag.WriteProperty(key, 7, 7);
      ASSERT_FALSE(bag.contains(key)) << key;
      if (auto* e = model.find(key)) model.entries.erase(model.entries.begin() + (e - model.entries.data()));
    }
    check(bag);
    // The copy taken before is untouched by the erasures and finds through its own index.
    std::swap(model, before);
    check(copy);
    std::swap(model, before);
  }
  bag.clear();
  EXPECT_FALSE(bag.contains("Key1"));
  bag.set("Key1", 1);
  EXPECT_EQ(bag.size(), 1u);
}

}  // namespace
}  // namespace zxp::host
