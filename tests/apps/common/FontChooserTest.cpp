// The font chooser of the library's own controls: what it starts from, how the list, the fields
// and the boxes make the font, what OK refuses, and its buttons.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/FontChooser.h"
#include "platform/services/Recording.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TestInput.h"

namespace zxp::appkit {
namespace {

class FontChooserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::resetWindowSystem();
    ui::setScreenSize(Size{1000, 700});
  }
  void TearDown() override { ui::resetWindowSystem(); }
  void press(FontChooser& c, const char* control) {
    input.moveTo(c.form().control(control)->object().hWnd(), Point{6, 8}).click();
    input.pump();
  }
  static gfx::FontDesc font(const std::string& name, double size, bool bold = false, bool italic = false) {
    gfx::FontDesc f;
    f.name = name;
    f.size = size;
    f.setBold(bold);
    f.italic = italic;
    return f;
  }
  services::RecordingServices services;
  ui::TestInput input;
};

TEST_F(FontChooserTest, StartsFromTheFontAndMakesTheOneTheFieldsDescribe) {
  FontChooser c("Font", font("Courier 10 Pitch", 12, true));
  // A face outside the list joins it, in order.
  const auto& faces = c.faces();
  EXPECT_TRUE(std::is_sorted(faces.begin(), faces.end(), [](const std::string& a, const std::string& b) {
    return host::lowerKey(a) < host::lowerKey(b);
  }));
  ASSERT_NE(std::find(faces.begin(), faces.end(), "Courier 10 Pitch"), faces.end());
  std::optional<gfx::FontDesc> f = c.current();
  ASSERT_TRUE(f);
  EXPECT_EQ(std::tuple(f->name, f->size, f->bold(), f->italic), std::tuple("Courier 10 Pitch", 12.0, true, false));

  // A face from the list, a typed size, and the boxes clicked: the sample follows each.
  const size_t tahoma = static_cast<size_t>(std::find(faces.begin(), faces.end(), "Tahoma") - faces.begin());
  c.pickFace(tahoma);
  c.setSize("9.75");
  press(c, "chkBold");  // off again
  press(c, "chkItalic");
  press(c, "chkUnderline");
  host::FontRef sample = c.sampleFont();
  ASSERT_TRUE(sample);
  EXPECT_EQ(std::tuple(sample->name, sample->size, sample->bold(), sample->italic, sample->underline),
            std::tuple("Tahoma", 9.75, false, true, true));
  int told = 0;
  c.onDone = [&] { ++told; };
  press(c, "cmdOK");
  ASSERT_TRUE(c.done());
  ASSERT_TRUE(c.result());
  EXPECT_EQ(std::tuple(c.result()->name, c.result()->size, c.result()->bold(), c.result()->italic, c.result()->underline,
                       c.result()->strikethrough, told),
            std::tuple("Tahoma", 9.75, false, true, true, false, 1));
}

TEST_F(FontChooserTest, RefusesWhatAFormFileCannotHoldAndCancelChoosesNothing) {
  FontChooser c("Font", font("Tahoma", 8.25));
  for (const char* size : {"0", "-3", "2049", "big", ""}) {
    c.setSize(size);
    EXPECT_FALSE(c.accept()) << size;
    EXPECT_NE(c.status().find("size"), std::string::npos) << size;
  }
  c.setSize("2048");
  c.setFace(std::string(32, 'x'));
  EXPECT_FALSE(c.accept());
  EXPECT_NE(c.status().find("face"), std::string::npos);
  c.setFace("");
  EXPECT_FALSE(c.accept());
  EXPECT_FALSE(c.done());
  // The sample keeps the last font it could show.
  ASSERT_TRUE(c.sampleFont());
  EXPECT_EQ(c.sampleFont()->name, "Tahoma");
  press(c, "cmdCancel");
  EXPECT_TRUE(c.done());
  EXPECT_FALSE(c.result());
}

}  // namespace
}  // namespace zxp::appkit
