// The property panel's model on the library's own controls: it lists exactly the member table's
// properties with their late-bound values, edits go through the member table (so the control
// changes as from code), and refused values leave the control as it was with the error's text.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "buttons/ZorvaXPButton.h"
#include "formskin/ZorvaForm.h"
#include "common/PropertyModel.h"
#include "library/ClassTable.h"
#include "platform/gfx/Png.h"
#include "platform/host/Form.h"
#include "platform/services/Recording.h"
#include "platform/ui/EventLoop.h"
#include "text/ZorvaXPFrame.h"

namespace zxp::appkit {
namespace {

class PropertyModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::resetWindowSystem();
    host::FormOptions o;
    o.borderStyle = 0;
    o.clientWidth = 6000;
    form = std::make_unique<host::Form>(o);
    button = &form->add(library::classes(), "ZorvaXPButton", "cmdOk", host::ExtenderRecord::inPixels(20, 60, 100, 30))
                  .as<buttons::ZorvaXPButton>();
    frameCtl =
        &form->add(library::classes(), "ZorvaXPFrame", "fraBox", host::ExtenderRecord::inPixels(20, 100, 100, 100))
             .as<text::ZorvaXPFrame>();
  }
  void TearDown() override {
    form.reset();
    ui::resetWindowSystem();
  }
  size_t row(const PropertyModel& m, const char* name) {
    const int i = m.find(name);
    EXPECT_GE(i, 0) << name;
    return static_cast<size_t>(std::max(i, 0));
  }

  services::RecordingServices services;
  std::unique_ptr<host::Form> form;
  buttons::ZorvaXPButton* button = nullptr;
  text::ZorvaXPFrame* frameCtl = nullptr;
};

TEST_F(PropertyModelTest, ListsEveryPropertyOfTheMemberTableWithItsValueAndEditor) {
  PropertyModel m;
  m.select(button, "cmdOk (ZorvaXPButton)");
  std::vector<std::string> expected;
  for (const host::Member& member : button->memberTable().members())
    if (member.kind == host::MemberKind::Property) expected.push_back(member.name);
  std::vector<std::string> listed;
  for (const PropertyRow& r : m.rows()) listed.push_back(r.name);
  EXPECT_EQ(listed, expected);  // methods (RedrawMe, About) are not properties

  button->setCaption("Go");
  button->setGradientColorXP1(0x00123456);
  m.refresh();
  const PropertyRow& caption = m.rows()[row(m, "Caption")];
  EXPECT_EQ(std::tuple(caption.kind, caption.value), std::tuple(ValueKind::Text, "Go"));
  EXPECT_TRUE(caption.editable);
  EXPECT_EQ(m.rows()[row(m, "GradientColorXP1")].kind, ValueKind::Colour);
  EXPECT_EQ(m.rows()[row(m, "GradientColorXP1")].value, "&H00123456&");
  EXPECT_EQ(m.rows()[row(m, "Enabled")].kind, ValueKind::Boolean);
  EXPECT_EQ(m.rows()[row(m, "Enabled")].value, "True");
  const PropertyRow& style = m.rows()[row(m, "ButtonStyle")];
  EXPECT_EQ(std::tuple(style.kind, style.value, style.editable), std::tuple(ValueKind::Enum, "Vista", true));
  // Fonts and pictures are edited as text (a font's description, a picture's file).
  const PropertyRow& font = m.rows()[row(m, "Font")];
  EXPECT_EQ(font.kind, ValueKind::Font);
  EXPECT_TRUE(font.editable);
  EXPECT_NE(font.value.find(" pt"), std::string::npos) << font.value;
  EXPECT_EQ(m.rows()[row(m, "Picture")].value, "(None)");

  // The numbered ends of a gradient are colours; other gradient settings are not. (The skin's
  // colours, named after what they paint, are checked below.)
  EXPECT_TRUE(isColourProperty("HeaderGradient2"));
  EXPECT_FALSE(isColourProperty("GradientMode") || isColourProperty("TitleBarHeight"));

  m.select(nullptr);
  EXPECT_TRUE(m.rows().empty());
}

TEST_F(PropertyModelTest, EditsGoThroughTheMemberTableAsCodeWould) {
  PropertyModel m;
  m.select(button, "cmdOk");
  EXPECT_TRUE(m.edit(row(m, "Caption"), "  Save all  "));
  EXPECT_EQ(button->Caption(), "  Save all  ");  // text keeps its spaces
  EXPECT_EQ(m.rows()[row(m, "Caption")].value, "  Save all  ");

  // Colours: #RRGGBB is red first, host numbers are OLE colours (blue in the high byte).
  EXPECT_TRUE(m.edit(row(m, "GradientColorXP1"), "#FF8000"));
  EXPECT_EQ(button->GradientColorXP1(), 0x000080FFu);
  EXPECT_TRUE(m.edit(row(m, "GradientColorXP1"), "&H00FF0000&"));
  EXPECT_EQ(button->GradientColorXP1(), 0x00FF0000u);
  EXPECT_EQ(m.rows()[row(m, "GradientColorXP1")].value, "&H00FF0000&");

  // Booleans flip, and read as the host reads them when typed.
  EXPECT_TRUE(m.toggle(row(m, "Enabled")));
  EXPECT_FALSE(button->Enabled());
  EXPECT_TRUE(m.edit(row(m, "Enabled"), "True") && button->Enabled());

  // Enumerations are chosen by their members' interface names (any case), or set by number;
  // out-of-range numbers are stored as they are and shown as numbers.
  const size_t style = row(m, "ButtonStyle");
  EXPECT_EQ(m.choices(style), (std::vector<std::pair<std::string, int32_t>>{{"Vista", 0}, {"XP", 1}}));
  EXPECT_TRUE(m.choose(style, 1));
  EXPECT_EQ(std::pair(button->ButtonStyle(), m.rows()[style].value), std::pair(buttons::ButtonStyleDType::XP, std::string("XP")));
  EXPECT_TRUE(m.edit(style, "vista"));
  EXPECT_EQ(button->ButtonStyle(), buttons::ButtonStyleDType::Vista);
  EXPECT_TRUE(m.edit(style, "7"));
  EXPECT_EQ(m.rows()[style].value, "7");
  EXPECT_TRUE(m.edit(row(m, "PictureSize"), "IMG 24X24"));  // an interface name with a space
  EXPECT_EQ(button->PictureSize(), buttons::PicSizeDtype::IMG_24X24);
  EXPECT_TRUE(m.error().empty());
  EXPECT_FALSE(m.choose(style, 2));
  EXPECT_TRUE(m.choices(row(m, "Caption")).empty());
}

TEST_F(PropertyModelTest, TheSiteRowsFollowUnderAHeadingAndMoveTheControl) {
  host::Extender& site = *form->control("cmdOk");
  PropertyModel m;
  m.select(button, "cmdOk", &site);
  const int heading = m.find("Placed on the form");
  ASSERT_GT(heading, 0);
  EXPECT_EQ(m.rows()[static_cast<size_t>(heading)].kind, ValueKind::Heading);
  EXPECT_FALSE(m.rows()[static_cast<size_t>(heading)].editable || m.edit(static_cast<size_t>(heading), "1"));
  // Rows the control has itself are not repeated from the site.
  for (size_t i = static_cast<size_t>(heading) + 1; i < m.rows().size(); ++i)
    EXPECT_EQ(button->memberTable().find(m.rows()[i].name), nullptr) << m.rows()[i].name;
  EXPECT_FALSE(m.rows()[row(m, "Name")].editable);
  EXPECT_EQ(m.rows()[row(m, "Name")].value, "cmdOk");

  // Left in twips moves the control's window.
  EXPECT_GT(m.find("Left"), heading);
  EXPECT_TRUE(m.edit(row(m, "Left"), "1500"));
  EXPECT_EQ(site.Left(), 1500);
  RECT r{};
  GetWindowRect(button->hWnd(), &r);
  POINT origin{0, 0};
  ClientToScreen(form->hWnd(), &origin);
  EXPECT_EQ(r.left - origin.x, 100);
  EXPECT_TRUE(m.toggle(row(m, "Visible")));
  EXPECT_FALSE(IsWindowVisible(button->hWnd()));
}

TEST_F(PropertyModelTest, RefusedValuesKeepTheControlAndReportTheError) {
  PropertyModel m;
  m.select(frameCtl, "fraBox");
  const size_t scale = row(m, "ScaleMode");
  const std::string before = m.rows()[scale].value;
  // The frame refuses a scale mode above 7 with its own error.
  EXPECT_FALSE(m.edit(scale, "9"));
  EXPECT_EQ(m.error().rfind("ScaleMode: Error 380", 0), 0u) << m.error();
  EXPECT_EQ(m.rows()[scale].value, before);
  // Text that is not a number, and a number too large for an Integer.
  EXPECT_FALSE(m.edit(scale, "three"));
  EXPECT_NE(m.error().find("Error 13"), std::string::npos) << m.error();
  EXPECT_FALSE(m.edit(scale, "70000"));
  EXPECT_NE(m.error().find("Error 6"), std::string::npos) << m.error();
  EXPECT_EQ(m.rows()[scale].value, before);
  // A good value clears the error.
  EXPECT_TRUE(m.edit(scale, "1") && m.error().empty());
  EXPECT_EQ(frameCtl->ScaleMode(), 1);

  // Rows without an editor, and rows that do not exist, say so.
  m.select(button, "cmdOk", form->control("cmdOk"));
  EXPECT_FALSE(m.edit(row(m, "Name"), "Other"));
  EXPECT_NE(m.error().find("cannot be changed"), std::string::npos);
  EXPECT_FALSE(m.edit(999, "x") || m.toggle(row(m, "Caption")));
}

TEST_F(PropertyModelTest, ASetThatChangesOtherPropertiesShowsThemAll) {
  host::ExtenderRecord r = host::ExtenderRecord::inPixels(0, 0, 400, 45);
  r.align = host::Align::vbAlignTop;
  auto& skin = form->add(library::classes(), "ZorvaForm", "Skin", r).as<formskin::ZorvaForm>();
  PropertyModel m;
  m.select(&skin, "Skin");
  const size_t close = row(m, "CloseButtonGradientTop1");
  EXPECT_EQ(m.rows()[close].kind, ValueKind::Colour);
  EXPECT_TRUE(m.edit(row(m, "Themes"), "9"));
  // Every colour the theme wrote is read again.
  for (size_t i = 0; i < formskin::kColourCount; ++i) {
    const auto c = static_cast<formskin::Colour>(i);
    const PropertyRow& shown = m.rows()[row(m, formskin::ZorvaForm::colourName(c))];
    EXPECT_EQ(shown.value, PropertyModel::format(host::Variant(skin.colour(c)), ValueKind::Colour)) << shown.name;
  }
}

TEST(PropertyModelColour, ReadsOnlyWellFormedHtmlColours) {
  EXPECT_EQ(PropertyModel::parseHtmlColour("#a1B2c3"), 0x00C3B2A1u);  // red first, either case
  EXPECT_EQ(PropertyModel::parseHtmlColour("#12345"), std::nullopt);
  EXPECT_EQ(PropertyModel::parseHtmlColour("#GG0000"), std::nullopt);
  EXPECT_EQ(PropertyModel::parseHtmlColour("FF0000"), std::nullopt);
  EXPECT_EQ(PropertyModel::format(host::Variant(static_cast<int32_t>(0x8000000F)), ValueKind::Colour), "&H8000000F&");
}

TEST_F(PropertyModelTest, FontsAndPicturesAreSetFromText) {
  PropertyModel m;
  m.select(button, "cmdOk");
  const size_t font = row(m, "Font"), picture = row(m, "Picture");
  ASSERT_TRUE(m.edit(font, "DejaVu Sans, 12 pt, bold, italic"));
  host::FontRef f = host::getProperty(*button, "Font").toFont();
  ASSERT_TRUE(f);
  EXPECT_EQ(std::tuple(f->name, f->size, f->bold(), f->italic, f->underline), std::tuple("DejaVu Sans", 12.0, true, true, false));
  EXPECT_EQ(m.rows()[font].value, "DejaVu Sans, 12 pt, bold, italic");
  // What the panel writes reads back; a size alone may go without "pt".
  ASSERT_TRUE(m.edit(font, "Tahoma, 9, underline, strikethrough"));
  EXPECT_EQ(m.rows()[font].value, "Tahoma, 9 pt, underline, strikethrough");
  for (const char* bad : {"Arial", ", 8 pt", "Arial, big", "Arial, 0 pt", "Arial, 8 pt, heavy", "Arial, -3"}) {
    EXPECT_FALSE(m.edit(font, bad)) << bad;
    EXPECT_NE(m.error().find("name, size pt"), std::string::npos) << bad;
  }
  EXPECT_EQ(host::getProperty(*button, "Font").toFont()->name, "Tahoma");

  // A picture from an image file; a file that is not there is refused and the picture stays.
  const auto file = std::filesystem::temp_directory_path() / ("zxp-model-" + std::to_string(::getpid()) + ".png");
  auto pixels = gfx::Surface::create(16, 16);
  pixels->fill(makePixel(200, 30, 30));
  ASSERT_TRUE(gfx::writePng(*pixels, file.string(), false, nullptr));
  ASSERT_TRUE(m.edit(picture, file.string())) << m.error();
  EXPECT_FALSE(host::getProperty(*button, "Picture").isNothing());
  EXPECT_EQ(m.rows()[picture].value, "(Picture)");
  EXPECT_TRUE(m.edit(picture, "(Picture)"));  // the field left as it was
  EXPECT_FALSE(m.edit(picture, file.string() + ".missing"));
  EXPECT_NE(m.error().find("Cannot load"), std::string::npos) << m.error();
  EXPECT_FALSE(host::getProperty(*button, "Picture").isNothing());
  // Nothing typed clears it.
  ASSERT_TRUE(m.edit(picture, ""));
  EXPECT_TRUE(host::getProperty(*button, "Picture").isNothing());
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace zxp::appkit
