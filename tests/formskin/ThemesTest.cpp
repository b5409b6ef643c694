// The seventeen themes: each overwrites its 59 colour properties with their fixed values (the
// tables below are the theme values, as text), leaves every other property alone, and repaints.

#include <map>
#include <regex>

#include "formskin/FormSkinFixture.h"

namespace zxp::testing {
namespace {

// Colours every theme sets to the same value.
constexpr const char* kCommon =
    R"(`CloseButtonGradientTop1` 0xA7B6EB, `CloseButtonGradientBottom1` 0x2C49CF, `CloseButtonGradientBottom2` 0x6D81C6, `CloseButtonOuterBorder` 0x414559, `CloseButtonInnerBorder` 0xCCD3F4, `CloseSignOuterBorder` 0x665653, `CloseSignInnerBorder` 0xFFFFFF, `ButtonsSignOuterBorder` 0x665653, `ButtonsSignInnerBorder` 0xFFFFFF, `EnhanceColor` 0x887D67, `ShadowColor` 0x000000, `HoverCloseButtonGTop1` 0x8D9AEB, `HoverCloseButtonGBottom1` 0x0E26A9, `HoverCloseButtonGBottom2` 0x0000FF, `CloseButtonShadowColor` 0x7590FA, `MDownButtonsGBottom2` 0xBCD517, `MDownCloseButtonGTop1` 0x95ABD3, `MDownCloseButtonGTop2` 0x405687, `MDownCloseButtonGBottom1` 0x0B174C, `MDownCloseButtonGBottom2` 0x0040C0, `ForeColor` 0x000000, `FShadowColor` 0xFFFFC0, `MenuOffsetGradient1` 0xFCFADC, `MenuShadowColor` 0x000000, `MenuCheckBoxBorder` 0xC47C24, `MenuCBoxNormalColor` 0xF9D6AA, `MenuCBoxSelectedColor` 0xFCF9D8, `MenuArrowColor` 0xAC5A11, `MenuCheckArrowColor` 0xAC5A11, `MenuForeColor` 0x000000, `ToolTipTextGradient1` 0xCFC5B0.)";

// One row per colour, one column per theme 1..17.
constexpr const char* kRows = R"(
| `GradientColor1` | 0xCFC5B0 | 0xCFC5B0 | 0xFFBC86 | 0xCFC5B0 | 0xCFC5B0 | 0xCFC5B0 | 0xCFC5B0 | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xCFC5B0 | 0xFFFFFF | 0xCFC5B0 | 0xFFFF00 | 0xFFFF80 | 0xFFFF80 | 0xC0FFFF |
| `GradientColor2` | 0xE99227 | 0x000000 | 0xBD7113 | 0x00FF00 | 0xFF80FF | 0x6B6FF8 | 0x00FFFF | 0xE0E0E0 | 0x000000 | 0x0080FF | 0xFF6CB6 | 0x5C5CA7 | 0xFFFF00 | 0x00FF00 | 0x404040 | 0xD09200 | 0xFF80FF |
| `ButtonsGradientTop1` | 0xDAC9B4 | 0xDAC9B4 | 0xDAC9B4 | 0xC0FFC0 | 0xFFC0FF | 0xC0C0FF | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xC0E0FF | 0xFFAAD5 | 0xC7C7E2 | 0xFFFF00 | 0xFFFF00 | 0xFFFF00 | 0xFFFF00 | 0xC0FFFF |
| `ButtonsGradientBottom1` | 0x966A3B | 0x000000 | 0xBD7113 | 0x008000 | 0x800080 | 0x0000C0 | 0x00C0C0 | 0x404040 | 0x000000 | 0x0040C0 | 0xF00078 | 0x343469 | 0x9D9D00 | 0x00C000 | 0x404040 | 0x956800 | 0xFF80FF |
| `ButtonsGradientBottom2` | 0x996733 | 0xB9AA95 | 0xFBB613 | 0x00FF00 | 0xFF00FF | 0x8080FF | 0xFFFFFF | 0xE0E0E0 | 0xFFFFFF | 0x80C0FF | 0xFF97CB | 0xA7A7D3 | 0xFFFF0D | 0xFFFF00 | 0xFFFF00 | 0xFFFF00 | 0x80FFFF |
| `ButtonsOuterBorder` | 0x86582F | 0x000000 | 0xC00000 | 0x008000 | 0x800080 | 0x000080 | 0x008080 | 0x000000 | 0x000000 | 0x0040C0 | 0xD9006C | 0x6262AA | 0x797900 | 0x808000 | 0x404040 | 0x86582F | 0xFF00FF |
| `ButtonsInnerBorder` | 0xCFA277 | 0xCFA277 | 0xCFA277 | 0x00C000 | 0xFFC0FF | 0x0080FF | 0x80FFFF | 0xFFFFFF | 0xFFFFFF | 0xC0E0FF | 0xFFCEE7 | 0xD6D6E9 | 0xFFFF80 | 0xFFFF00 | 0xFFFF00 | 0xFFD87B | 0x80FFFF |
| `ButtonsGradientTop2` | 0xCBA177 | 0x808080 | 0xB46B12 | 0x80FF80 | 0xFF80FF | 0xC0C0FF | 0x80FFFF | 0x808080 | 0xE0E0E0 | 0x0080FF | 0xFF97CB | 0x9C9CCB | 0xD9D900 | 0x00FF00 | 0xC0C0C0 | 0xFDB100 | 0xFFC0FF |
| `CloseButtonGradientTop2` | 0x929FE4 | 0x929FE4 | 0x0000C0 | 0x929FE4 | 0x929FE4 | 0x929FE4 | 0x929FE4 | 0x929FE4 | 0x929FE4 | 0x929FE4 | 0x929FE4 | 0x929FE4 | 0x929FE4 | 0x929FE4 | 0x929FE4 | 0x929FE4 | 0x929FE4 |
| `BorderColor` | 0x000000 | 0x000000 | 0xC00000 | 0x008000 | 0x800080 | 0x0000C0 | 0x004040 | 0x000000 | 0x000000 | 0x0D5891 | 0x860043 | 0x26264D | 0x4F4F00 | 0x004000 | 0x000000 | 0x000000 | 0x800080 |
| `HoverButtonsGradientTop1` | 0xCFAC7A | 0xCFAC7A | 0xDE8416 | 0x00FF00 | 0xCFAC7A | 0xC0C0FF | 0x00FFFF | 0xFFFFFF | 0xFFFFFF | 0x80C0FF | 0xFF80BF | 0x6363A9 | 0xFFFF80 | 0xC0FFC0 | 0xC0C0C0 | 0xFFB404 | 0xC0FFFF |
| `HoverButtonsGradientTop2` | 0xEBD4AD | 0xEBD4AD | 0xF0B56C | 0xC0FFC0 | 0xFFC0FF | 0x0040C0 | 0x80FFFF | 0xE0E0E0 | 0xFFFFFF | 0xC0E0FF | 0xFFB9DC | 0x9898C7 | 0xFFFFC0 | 0xFFFFC0 | 0xE0E0E0 | 0xFFCF60 | 0xFFC0FF |
| `HoverButtonsGradientBottom1` | 0xA56D1E | 0xA56D1E | 0xF0B56C | 0x008000 | 0x800080 | 0x0E26A9 | 0x00C0C0 | 0xC0C0C0 | 0x404040 | 0x0F68AA | 0xF00078 | 0x43437A | 0x8E8E00 | 0x00C000 | 0x404040 | 0xB07B00 | 0xFF80FF |
| `HoverButtonsGradientBottom2` | 0xFBFD14 | 0xFBFD14 | 0xF0B56C | 0xEAEA0B | 0xFBFD14 | 0x0000FF | 0xFBFD14 | 0xFBFD14 | 0xFBFD14 | 0xFBFD14 | 0xFBFD14 | 0xFBFD14 | 0xFBFD14 | 0xFBFD14 | 0xFBFD14 | 0xFBFD14 | 0xFBFD14 |
| `HoverCloseButtonGTop2` | 0x536AE5 | 0x536AE5 | 0x0000C0 | 0x0000C0 | 0x0000C0 | 0x536AE5 | 0x536AE5 | 0x536AE5 | 0x536AE5 | 0x536AE5 | 0x536AE5 | 0x536AE5 | 0x536AE5 | 0x0000C0 | 0x536AE5 | 0x536AE5 | 0x536AE5 |
| `ButtonsShadowColor` | 0xF7F744 | 0xF7F744 | 0xF7F744 | 0xEAEA0B | 0xF7F744 | 0x80C0FF | 0xF7F744 | 0xFFFFC0 | 0xFFFF80 | 0x0080FF | 0xF7F744 | 0xF7F744 | 0xF7F744 | 0xF7F744 | 0xFFFF80 | 0xF7F744 | 0xF7F744 |
| `MDownButtonsGradientTop1` | 0xECD7B0 | 0xECD7B0 | 0xECD7B0 | 0xC0FFC0 | 0xFF00FF | 0x0000C0 | 0x80FFFF | 0xFFFFFF | 0xFFFFFF | 0x80C0FF | 0xFF9DCE | 0x9A9AC9 | 0xFFFF00 | 0xBCD517 | 0xFFFF80 | 0xFFFFC0 | 0x80FFFF |
| `MDownButtonsGradientTop2` | 0x91724F | 0x91724F | 0x91724F | 0x008000 | 0xC000C0 | 0x0000C0 | 0x008080 | 0xC0C0C0 | 0xFFFFFF | 0x0080FF | 0xFF208F | 0x5858A5 | 0xB0B000 | 0xB0B000 | 0x808080 | 0xFFBA1A | 0xFF80FF |
| `MDownButtonsGBottom1` | 0x731C20 | 0x731C20 | 0x731C20 | 0x008000 | 0x800080 | 0x070B96 | 0x008080 | 0x808080 | 0x000000 | 0x106FB4 | 0xD9006C | 0x42427B | 0x808000 | 0x159337 | 0x404040 | 0x865E00 | 0x800080 |
| `MenuBorderColor` | 0xA56E3A | 0xA56E3A | 0xA56E3A | 0x008000 | 0x800080 | 0x0A13CF | 0x008080 | 0x808080 | 0x000000 | 0x0040C0 | 0xAA0059 | 0x54549C | 0xB0B000 | 0xB0B000 | 0x000000 | 0xA56E3A | 0xFF00FF |
| `MenuOffsetGradient2` | 0xFFBC86 | 0x404040 | 0xFFBC86 | 0x2EE92E | 0xFF00FF | 0x0000FF | 0x00FFFF | 0xC0C0C0 | 0x404040 | 0x0080FF | 0xFF7BBD | 0x7373B5 | 0xFFFF00 | 0x80FF80 | 0x808080 | 0xE19D00 | 0xFF80FF |
| `MenuSelectedGradient1` | 0xFFFFFF | 0xFEFDD6 | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xFFFFC0 | 0xFFFFC0 | 0xFFFFC0 | 0xC0FFFF |
| `MenuSelectedGradient2` | 0xFBB613 | 0x808080 | 0xFBB613 | 0x2EE92E | 0xFF80FF | 0xC0C0FF | 0x80FFFF | 0xE0E0E0 | 0xC0C0C0 | 0x0080FF | 0xFF7BBD | 0x8585BE | 0xFFFF80 | 0x80FF80 | 0x808080 | 0xFBB613 | 0xFF80FF |
| `MenuSelectedBorderColor` | 0xC47C24 | 0xC47C24 | 0xC47C24 | 0x12A712 | 0xC000C0 | 0x0C17F1 | 0x00C0C0 | 0xC0C0C0 | 0x000000 | 0x0080FF | 0xE10076 | 0x6A6AAE | 0xD5D500 | 0xD5D500 | 0x404040 | 0xFBB613 | 0xFF80FF |
| `MenuBackColor` | 0xFFFAF4 | 0xE9E3DC | 0xFFFFFF | 0xF1FEF1 | 0xFEF0FF | 0xE9EAFE | 0xF1FEFE | 0xFFFAF4 | 0xFFFFFF | 0xF1F9FE | 0xFFF0F8 | 0xF1F1F8 | 0xFFFFEA | 0xFFFFEA | 0xFAFCE4 | 0xFEFDDE | 0xF1FEFE |
| `FormGradientColor1` | 0xFFFFFF | 0xDAD2C5 | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xFFFFFF | 0xFFFFC0 | 0xFFFFC0 | 0xFFFFC0 | 0xC0FFFF |
| `FormGradientColor2` | 0xFFBC86 | 0x808080 | 0xE0B08F | 0x00FF00 | 0xFF00FF | 0x6B6FF8 | 0x80FFFF | 0xC0C0C0 | 0x000000 | 0x0080FF | 0xFF8EC7 | 0x7979B7 | 0xFFFF40 | 0x00FF00 | 0x808080 | 0xFFB811 | 0xFFC0FF |
| `ToolTipTextGradient2` | 0xE99227 | 0x808080 | 0xEDA650 | 0x2EE92E | 0xFF00FF | 0x8689F9 | 0xE99227 | 0x808080 | 0x000000 | 0x0080FF | 0xFF59AC | 0x7676B6 | 0xFFFF57 | 0xFFFF00 | 0x808080 | 0xFFBA1A | 0xFF80FF |
)";

using Table = std::map<std::string, std::vector<OLE_COLOR>>;

Table themeTable() {
  Table t;
  const std::string common = kCommon;
  const std::regex pair("`(\\w+)` 0x([0-9A-F]{6})");
  for (std::sregex_iterator it(common.begin(), common.end(), pair), end; it != end; ++it)
    t[(*it)[1]] = std::vector<OLE_COLOR>(17, static_cast<OLE_COLOR>(std::stoul((*it)[2], nullptr, 16)));
  const std::string rows = kRows;
  const std::regex row("`(\\w+)` \\|((?: 0x[0-9A-F]{6} \\|){17})");
  const std::regex hex("0x([0-9A-F]{6})");
  for (std::sregex_iterator it(rows.begin(), rows.end(), row), end; it != end; ++it) {
    const std::string values = (*it)[2];
    std::vector<OLE_COLOR> v;
    for (std::sregex_iterator h(values.begin(), values.end(), hex); h != end; ++h)
      v.push_back(static_cast<OLE_COLOR>(std::stoul((*h)[1], nullptr, 16)));
    t[(*it)[1]] = v;
  }
  return t;
}

using FormSkinThemes = FormSkinTest;
using formskin::Colour;
using formskin::eThemes;
using formskin::ZorvaForm;

TEST_F(FormSkinThemes, EveryThemeSetsItsFiftyNineColoursAndNothingElse) {
  const Table table = themeTable();
  ASSERT_EQ(table.size(), 59u);
  for (int theme = 1; theme <= 17; ++theme) {
    auto& s = makeSkinned();
    // Non-theme properties changed beforehand stay as they are.
    for (size_t i = 0; i < formskin::kColourCount; ++i) {
      const auto c = static_cast<Colour>(i);
      host::letProperty(s, ZorvaForm::colourName(c), host::Variant(static_cast<int32_t>(0x010203)));
    }
    s.setToolTipTextForeColor(0x123456);
    s.setTitleBarOpacity(99);
    s.setGradientAngle(45);
    s.setThemes(static_cast<eThemes>(theme));
    for (const auto& [name, values] : table) {
      EXPECT_EQ(static_cast<uint32_t>(host::getProperty(s, name).toLong()), values[static_cast<size_t>(theme - 1)])
          << name << " in theme " << theme;
    }
    EXPECT_EQ(std::tuple(s.ToolTipTextForeColor(), s.TitleBarOpacity(), s.GradientAngle()),
              std::tuple(0x123456u, 99, 45.0f));
    // The strip shows the theme's outline colour at once.
    EXPECT_EQ(px(5, 0), translateColor(s.BorderColor())) << "theme " << theme;
  }
}

TEST_F(FormSkinThemes, DefaultsAreThemeOneAndOutOfRangeThemesOnlyRepaint) {
  const Table table = themeTable();
  auto& s = makeSkinned();
  for (const auto& [name, values] : table)
    EXPECT_EQ(static_cast<uint32_t>(host::getProperty(s, name).toLong()), values[0]) << name;
  s.setThemes(eThemes::eTModernXP);
  EXPECT_EQ(s.CloseButtonGradientTop2(), 0x0000C0u);
  for (int bad : {0, 18}) {
    s.setBorderColor(0x00AA00);
    // Paint over the outline: the repaint must bring it back.
    HDC dc = s.surface().hDC();
    SetPixelV(dc, 5, 0, 0xFFFFFF);
    s.setThemes(static_cast<eThemes>(bad));
    EXPECT_EQ(std::tuple(s.BorderColor(), s.CloseButtonGradientTop2(), static_cast<int>(s.Themes()), px(5, 0)),
              std::tuple(0x00AA00u, 0x0000C0u, bad, 0x00AA00u));
  }
}

TEST_F(FormSkinThemes, TheThemeIsNotAppliedAgainOnLoad) {
  auto& s = makeSkinned();
  s.setThemes(eThemes::eTGreen);
  s.setGradientColor1(0x0A0B0C);
  const std::string saved = form->save();
  form.reset();
  auto loaded = host::Form::load(saved, library::classes());
  auto& again = loaded->control("Skin")->as<ZorvaForm>();
  EXPECT_EQ(std::tuple(again.GradientColor1(), again.Themes(), loaded->save()),
            std::tuple(0x0A0B0Cu, eThemes::eTGreen, saved));
}

}  // namespace
}  // namespace zxp::testing
