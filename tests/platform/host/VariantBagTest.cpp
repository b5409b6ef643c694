#include <gtest/gtest.h>

#include <limits>

#include "platform/host/HostError.h"
#include "platform/host/PropertyBag.h"

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
  // Booleans are 16-bit, True = -1.
  EXPECT_EQ(Variant(true).toInteger(), -1);
  EXPECT_EQ(Variant(true).toVBBool(), vbTrue);
  EXPECT_EQ(Variant(int16_t{5}).toVBBool(), vbTrue);
  EXPECT_EQ(Variant(true).toString(), "True");
  EXPECT_EQ(Variant("false").toVBBool(), vbFalse);
  // Rounding to integers halves to even; out of range overflows.
  EXPECT_EQ(Variant(2.5).toInteger(), 2);
  EXPECT_EQ(Variant(3.5).toLong(), 4);
  EXPECT_EQ(Variant(-2.5).toInteger(), -2);
  EXPECT_EQ(errorNumber([] { Variant(32767.5).toInteger(); }), errOverflow);
  EXPECT_EQ(errorNumber([] { Variant(int32_t{40000}).toInteger(); }), errOverflow);
  EXPECT_EQ(Variant(int32_t{-32768}).toInteger(), -32768);
  // Text: numbers in decimal and &H form, otherwise Type mismatch.
  EXPECT_EQ(Variant(" 12 ").toLong(), 12);
  EXPECT_EQ(Variant("&HFF&").toLong(), 255);
  EXPECT_EQ(Variant("&HFFFF").toInteger(), -1);  // four hex digits: a 16-bit value
  EXPECT_EQ(Variant("&HFFFFFFFF").toLong(), -1);
  // The Long suffix makes a short literal 32-bit: a colour written by hand keeps its value.
  EXPECT_EQ(Variant("&HFF00&").toLong(), 65280);
  EXPECT_EQ(Variant("&O100000&").toLong(), 32768);
  EXPECT_EQ(Variant("&HFFFFFFFF&").toLong(), -1);
  EXPECT_DOUBLE_EQ(Variant("1.5e2").toDouble(), 150.0);
  // The same reading as the runtime's numeric test: currency, thousands, signs after.
  EXPECT_EQ(Variant("$1,000").toLong(), 1000);
  EXPECT_EQ(Variant("5-").toInteger(), -5);
  EXPECT_EQ(Variant("1,00").toLong(), 100);  // separators anywhere in the integer part
  EXPECT_FALSE(Variant(",100").isNumeric());
  EXPECT_EQ(errorNumber([] { Variant("12abc").toLong(); }), errTypeMismatch);
  EXPECT_EQ(errorNumber([] { Variant("").toLong(); }), errTypeMismatch);
  EXPECT_EQ(errorNumber([] { Variant(int16_t{1}).toFont(); }), errTypeMismatch);
  // Numbers to text as the host prints them.
  EXPECT_EQ(Variant(0.1 + 0.2).toString(), "0.3");
  EXPECT_EQ(Variant(1.5f).toString(), "1.5");
  EXPECT_EQ(Variant(1e20).toString(), "1E+20");
  EXPECT_EQ(Variant(1.0 / 3).toString(), "0.333333333333333");
  EXPECT_EQ(Variant(1.0f / 3).toString(), "0.3333333");
  EXPECT_EQ(Variant(std::numeric_limits<double>::infinity()).toString(), "1.#INF");
  // OLE colours are Longs, stored bit for bit.
  Variant colour(OLE_COLOR{0x80000005});
  EXPECT_EQ(colour.kind(), Variant::Kind::Long);
  EXPECT_EQ(static_cast<OLE_COLOR>(colour.toLong()), 0x80000005u);
  // Dates print in the host's general form and convert to and from their serial number.
  EXPECT_EQ(Variant(*makeDate(2024, 1, 5, 12, 30)).toString(), "1/5/2024 12:30:00 PM");
  EXPECT_EQ(Variant(*makeDate(2024, 1, 5)).toString(), "1/5/2024");
  EXPECT_EQ(Variant(Date(0.25)).toString(), "6:00:00 AM");
  EXPECT_DOUBLE_EQ(Variant(int32_t{45296}).toDate().serial, 45296.0);
  EXPECT_EQ(errorNumber([] { Variant(1e9).toDate(); }), errOverflow);
  // Empty is 0, False and "".
  EXPECT_EQ(Variant().toLong(), 0);
  EXPECT_EQ(Variant().toString(), "");
  EXPECT_FALSE(Variant().toBool());
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
  ASSERT_EQ(bag.size(), 3u);
  EXPECT_EQ(bag.entries()[2].key, "Picture");
  EXPECT_EQ(bag.entries()[0].key, "ButtonStyle");
  EXPECT_EQ(bag.entries()[0].value.kind(), Variant::Kind::Integer);  // the enum's published width
  EXPECT_EQ(bag.entries()[1].key, "Caption");

  // Reading falls back to the same defaults.
  EXPECT_TRUE(bag.read<bool>("HiglightMouseOver", true));
  EXPECT_EQ(bag.read<Style16>("ButtonStyle", Style16::Vista), Style16::XP);
  EXPECT_EQ(bag.read<OLE_COLOR>("GradientColorXP1", 0xFFFFFF), 0xFFFFFFu);
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
