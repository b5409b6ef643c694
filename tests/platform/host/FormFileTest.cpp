#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>

#include "platform/gfx/Font.h"
#include "platform/host/FormFile.h"

namespace zxp::host {
namespace {

// A form with a nested control tree and one value of every kind.
FormRecord sampleForm() {
  FormRecord f;
  f.name = "Form1";
  f.properties.WriteProperty("Caption", "Orders & \"Invoices\"\n\ttab\\ \x01 ünï");
  ControlRecord frame;
  frame.className = "ZorvaXPFrame";
  frame.name = "Frame1";
  frame.extender = {std::nullopt, 120, 240, 4815, 2535, Align::vbAlignNone, true, 0, true};
  frame.properties.WriteProperty("Caption", "&Options");

  ControlRecord b;
  b.className = "ZorvaXPButton";
  b.name = "Command1";
  b.extender = {int16_t{3}, -75000, 15, 1215, 375, Align::vbAlignBottom, false, 7, false};
  PropertyBag& p = b.properties;
  p.WriteProperty("Empty", Variant());
  p.WriteProperty("True", true);
  p.WriteProperty("False", false);
  p.WriteProperty("OddBool", Variant::fromVBBool(1));
  p.WriteProperty("IntMin", int16_t{-32768});
  p.WriteProperty("IntMax", int16_t{32767});
  p.WriteProperty("LongMin", int32_t{std::numeric_limits<int32_t>::min()});
  p.WriteProperty("Colour", OLE_COLOR{0x80000005});
  p.WriteProperty("Single", 0.1f);
  p.WriteProperty("SingleTiny", std::numeric_limits<float>::denorm_min());
  p.WriteProperty("Double", 0.1 + 0.2);
  p.WriteProperty("NegZero", -0.0);
  p.WriteProperty("Inf", -std::numeric_limits<double>::infinity());
  p.WriteProperty("Day", *makeDate(2024, 2, 29));
  p.WriteProperty("Moment", *makeDate(1899, 12, 29, 6, 0, 0));
  p.WriteProperty("Fraction", Date(45296.123456789));
  p.WriteProperty("EmptyText", "");
  gfx::FontDesc font;
  font.name = "Tahoma";
  font.size = 8.25;
  font.setBold(true);
  font.italic = true;
  font.strikethrough = true;
  font.charset = 2;
  p.WriteProperty("Font", FontRef(std::make_shared<const gfx::FontDesc>(font)));
  gfx::FontDesc thin;
  thin.name = "Segoe UI";
  thin.size = 12;
  thin.weight = 300;
  thin.underline = true;
  p.WriteProperty("ThinFont", FontRef(std::make_shared<const gfx::FontDesc>(thin)));
  p.WriteProperty("NoFont", FontRef());
  p.WriteProperty("NoPicture", PictureRef());
  // A picture whose saved bytes end in base64 padding.
  for (int w : {5, 6, 7}) {
    auto argb = gfx::Surface::create(w, 3);
    argb->fill(0xFF102030u);
    p.WriteProperty("Icon" + std::to_string(w), gfx::Picture::fromIcon(gfx::createIconFromArgb(*argb)));
  }
  p.WriteProperty("odd key", int16_t{1});
  p.WriteProperty("End", int16_t{2});  // a keyword as a key
  frame.children.push_back(b);
  f.controls.push_back(frame);

  ControlRecord bare;
  bare.className = "ZorvaXPLabel";
  bare.name = "Label1";
  f.controls.push_back(bare);
  return f;
}

void expectSameBag(const PropertyBag& a, const PropertyBag& b) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    const auto& x = a.entries()[i];
    const auto& y = b.entries()[i];
    EXPECT_EQ(x.key, y.key);
    EXPECT_EQ(x.value.kind(), y.value.kind()) << x.key;
    if (x.value.kind() == Variant::Kind::Picture && !x.value.isNothing()) {
      ASSERT_FALSE(y.value.isNothing());
      EXPECT_EQ(gfx::savePicture(x.value.toPicture()), gfx::savePicture(y.value.toPicture())) << x.key;
    } else if (x.value.kind() == Variant::Kind::Font && !x.value.isNothing()) {
      ASSERT_FALSE(y.value.isNothing());
      EXPECT_EQ(*x.value.toFont(), *y.value.toFont()) << x.key;
    } else {
      EXPECT_TRUE(x.value.sameAs(y.value)) << x.key << ": " << formatFormValue(x.value) << " vs "
                                           << formatFormValue(y.value);
    }
  }
}

void expectSameControl(const ControlRecord& a, const ControlRecord& b) {
  EXPECT_EQ(a.className, b.className);
  EXPECT_EQ(a.name, b.name);
  EXPECT_EQ(a.extender, b.extender) << a.name;
  expectSameBag(a.properties, b.properties);
  ASSERT_EQ(a.children.size(), b.children.size());
  for (size_t i = 0; i < a.children.size(); ++i) expectSameControl(a.children[i], b.children[i]);
}

TEST(FormFile, RoundTripsEveryValueType) {
  FormRecord f = sampleForm();
  std::string text = writeFormFile(f);
  FormRecord back = parseFormFile(text);
  EXPECT_EQ(back.name, f.name);
  expectSameBag(f.properties, back.properties);
  ASSERT_EQ(back.controls.size(), 2u);
  for (size_t i = 0; i < 2; ++i) expectSameControl(f.controls[i], back.controls[i]);
  // Writing again gives the same text: saving is stable for diffs.
  EXPECT_EQ(writeFormFile(back), text);
  // Lines are remembered for error reports.
  EXPECT_EQ(back.controls[0].line, 4);
  EXPECT_GT(back.controls[0].children[0].properties.find("Font")->line, 4);
}

TEST(FormFile, ReadsTheFormatAsPeopleWriteIt) {
  std::string text =
      "' a hand-written form\r\n"
      "zorvaxp form 1\r\n"
      "\r\n"
      "begin form Main\r\n"
      "    Begin ZorvaXPButton Cmd\r\n"
      "\t@Left=150\r\n"
      "      @TabStop = 0\r\n"
      "      BackColor = Long &H8000000F&\r\n"
      "      Caption=String \"x\"   \r\n"
      "      When = Date 2024-01-05 12:30:00\r\n"
      "      Flag = Boolean true\r\n"
      "      Font = Font \"Arial\" 10 Weight=600\r\n"
      "    End\r\n"
      "End\r\n"
      "' trailing comment";
  FormRecord f = parseFormFile(text);
  ASSERT_EQ(f.controls.size(), 1u);
  const ControlRecord& c = f.controls[0];
  EXPECT_EQ(std::pair(c.extender.left, c.extender.tabStop), std::pair(150, false));
  EXPECT_EQ(static_cast<OLE_COLOR>(c.properties.ReadProperty("BackColor").toLong()), 0x8000000Fu);
  EXPECT_EQ(c.properties.ReadProperty("Caption").toString(), "x");
  EXPECT_EQ(c.properties.ReadProperty("When").toString(), "1/5/2024 12:30:00 PM");
  EXPECT_EQ(c.properties.ReadProperty("Flag").toVBBool(), vbTrue);
  FontRef font = c.properties.ReadProperty("Font").toFont();
  ASSERT_TRUE(font);
  EXPECT_EQ(std::tuple(font->weight, font->bold()), std::tuple(600, false));
}

// The error a form file fails to parse with, if it fails.
std::optional<FormFileError> parseError(const std::string& text) {
  try {
    parseFormFile(text);
  } catch (const FormFileError& e) {
    return e;
  }
  return std::nullopt;
}

struct Malformed {
  std::string text;
  int line;
  const char* fragment;
};

TEST(FormFile, MalformedFilesGiveTheirLine) {
  // A bad header, then bad bodies after a good header (the form's Begin is line 2).
  std::vector<Malformed> cases = {
      {"", 1, "unexpected end of file"}, {"Hello\n", 1, "not a form file"},
      {"ZorvaXP Form 2\n", 1, "unsupported form file version"}, {"ZorvaXP Form 1\nBegin Frm F\n", 2, "Begin Form"},
  };
  for (const Malformed& m : std::initializer_list<Malformed>{
           {"  Caption = String \"x\"\n", 3, "unexpected end of file"},
           {"X = Integer 40000\nEnd\n", 3, "out of range"}, {"X = Integer 1.5\nEnd\n", 3, "expected an Integer"},
           {"X = Long\nEnd\n", 3, "expected a Long"}, {"X = Bogus 1\nEnd\n", 3, "unknown value type"},
           {"X Integer 1\nEnd\n", 3, "expected '='"}, {"X = String \"abc\nEnd\n", 3, "unterminated string"},
           {"X = String \"a\\q\"\nEnd\n", 3, "unknown escape"}, {"X = String \"a\" b\nEnd\n", 3, "unexpected text"},
           {"X = Integer 1\nx = Integer 2\nEnd\n", 4, "given twice"},
           {"X = Date 2023-02-29\nEnd\n", 3, "not a valid date"}, {"X = Date 1e9\nEnd\n", 3, "out of range"},
           {"X = Font Tahoma 8\nEnd\n", 3, "font's name"}, {"X = Font \"Tahoma\" -8\nEnd\n", 3, "font size"},
           {"X = Font \"Tahoma\" 8 Heavy\nEnd\n", 3, "unknown font attribute"},
           {"X = Picture {\n  AAAA\n", 3, "not closed"}, {"X = Picture {\n  AA*A\n}\nEnd\n", 4, "invalid character"},
           {"X = Picture {\n  AAA\n}\nEnd\n", 3, "not valid base64"}, {"@Left = 1\nEnd\n", 3, "belong to controls"},
           // A saved picture of length 0 (tag and length only), and bytes in no picture format:
           // the reason is said once.
           {"X = Picture {\n  bHQAAAAAAAA=\n}\nEnd\n", 3,
            "the saved picture's length is 0: it holds no picture (write None for no picture)"},
           {"X = Picture {\n  AQIDBAUG\n}\nEnd\n", 3,
            "cannot load the picture: unknown format (not an icon, cursor, bitmap, PNG, JPEG or GIF file)"},
           {"Begin C c\n@Left = 1\n@Left = 2\nEnd\nEnd\n", 5, "given twice"},
           {"Begin C c\n@Color = 1\nEnd\nEnd\n", 4, "unknown extender"},
           {"Begin C c\n@Align = 5\nEnd\nEnd\n", 4, "Align"}, {"Begin C c\n@Width = -1\nEnd\nEnd\n", 4, "negative"},
           {"Begin C\nEnd\nEnd\n", 3, "control name"}, {"Begin 1C c\nEnd\nEnd\n", 3, "not a valid class name"},
           {"End\nEnd\n", 4, "after the form's End"}, {"End x\n", 3, "unexpected text"},
           // Bytes that are not UTF-8 are refused with their line, even in a comment after the End.
           {"End\n' \xFC\n", 4, "not valid UTF-8"}, {"End\n' \xC3\n", 4, "not valid UTF-8"},
           {"End\n' \xED\xA0\x80\n", 4, "not valid UTF-8"}, {"End\n' \xC0\x80\n", 4, "not valid UTF-8"},
           {"End\n' \xF4\x90\x80\x80\n", 4, "not valid UTF-8"},
       })
    cases.push_back({"ZorvaXP Form 1\nBegin Form F\n" + m.text, m.line, m.fragment});
  for (const Malformed& m : cases) {
    SCOPED_TRACE(m.text);
    const auto e = parseError(m.text);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->line(), m.line) << e->what();
    EXPECT_NE(e->message().find(m.fragment), std::string::npos) << e->what();
    EXPECT_EQ(e->number(), errInvalidFileFormat);
    EXPECT_EQ(std::string(e->what()).rfind("line " + std::to_string(m.line) + ": ", 0), 0u);
  }
}

TEST(FormFile, TextIsUtf8WithOrWithoutAByteOrderMark) {
  const std::string body = "ZorvaXP Form 1\nBegin Form F\n  Caption = String \"\xC3\xBC" "ber\"\nEnd\n";
  EXPECT_EQ(parseFormFile("\xEF\xBB\xBF" + body).properties.find("Caption")->value.toString(), "\xC3\xBC" "ber");
  // Strings holding bytes that are not UTF-8 are written escaped, so the file stays text and
  // reads back whole (such bytes in the file itself are refused: the malformed files above).
  FormRecord f;
  f.name = "F";
  f.properties.WriteProperty("Raw", std::string("a\xFF\xC3\xBC\xC3(\xF0\x9F\x98\x80"));
  const std::string text = writeFormFile(f);
  EXPECT_NE(text.find("\"a\\xFF\xC3\xBC\\xC3(\xF0\x9F\x98\x80\""), std::string::npos) << text;
  EXPECT_EQ(parseFormFile(text).properties.find("Raw")->value.toString(), "a\xFF\xC3\xBC\xC3(\xF0\x9F\x98\x80");
}

TEST(FormFile, MessagesQuoteAShortPrefixOfHugeTokens) {
  const std::string huge(1 << 20, '9');
  const std::string head = "ZorvaXP Form 1\nBegin Form F\n";
  for (const std::string& line : {"X = Integer " + huge, "X = Bogus" + huge, "X = Font \"A\" 8 " + huge,
                                  "X = Integer 1 " + huge, "\"" + huge + "\" = Integer 1\n\"" + huge + "\" = Integer 2",
                                  "Begin C \"" + huge + "\"\n@" + huge + " = 1"}) {
    const auto e = parseError(head + line + "\nEnd\n");
    ASSERT_TRUE(e);
    EXPECT_LT(e->message().size(), 120u) << e->message().substr(0, 200);
    EXPECT_NE(e->message().find("999"), std::string::npos) << e->message().substr(0, 200);
  }
  EXPECT_EQ(excerpt("short"), "short");
  EXPECT_EQ(excerpt(std::string(39, 'a') + "\xC3\xBC" + "tail"), std::string(39, 'a') + "...");  // never half a character
  EXPECT_EQ(excerpt("tab\there"), "tab?here");
}

TEST(FormFile, NestingIsLimited) {
  std::string text = "ZorvaXP Form 1\nBegin Form F\n";
  for (int i = 0; i < kMaxFormNesting + 5; ++i) text += "Begin C c" + std::to_string(i) + "\n";
  const auto e = parseError(text);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->line(), 2 + kMaxFormNesting);
}

TEST(Base64, EncodesAndRejectsNonCanonicalText) {
  std::vector<uint8_t> bytes;
  for (int n = 0; n < 7; ++n) {
    auto back = base64Decode(base64Encode(bytes));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, bytes);
    bytes.push_back(static_cast<uint8_t>(0xF0 + n));
  }
  EXPECT_EQ(base64Encode({'M', 'a'}), "TWE=");
  EXPECT_FALSE(base64Decode("TWF=") || base64Decode("TW=E") || base64Decode("TWE"));  // stray padding bits first
}

}  // namespace
}  // namespace zxp::host
