#include <gtest/gtest.h>

#include <limits>

#include "platform/base/HostError.h"
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

}  // namespace
}  // namespace zxp::host
