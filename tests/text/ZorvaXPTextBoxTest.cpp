// The text box: both modes built from real edit fields, the layout rules (minimum heights, the
// field growing the surface), the key filters and their event order, the display format on blur,
// the owner-drawn scroll bar kept in step with the multi-line field both ways, the surface's own
// drawing (border, focus colours, required marker, status strip), the button's notification,
// persistence, the files in the ANSI code page, and a clean teardown.
#include <sys/stat.h>

#include <cstdio>
#include <sstream>

#include "library/ClassTable.h"
#include "platform/gfx/Text.h"
#include "platform/ui/Edit.h"
#include "range/RangeFixture.h"
#include "support/PixelTable.h"
#include "support/PropertyTable.h"
#include "support/TempWave.h"
#include "text/ZorvaXPTextBox.h"

namespace zxp::testing {
namespace {

using text::ScrollBarsConst;
using text::ZorvaXPTextBox;

class TextBox : public RangeTest {
 protected:
  ZorvaXPTextBox& box(int w = 160, int h = 21, const std::string& name = "ZorvaXPTextBox1", int y = 10) {
    return place<ZorvaXPTextBox>(name, w, h, 10, y);
  }
  static bool shown(HWND h) { return (GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0; }
  static bool barShown(const ZorvaXPTextBox& t) { return t.scrollBar() && shown(t.scrollBar()->hWnd()); }
  // The windows of the box: its surface and every window inside it.
  static int windowsOf(HWND h) {
    int n = 1;
    for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) n += windowsOf(c);
    return n;
  }
  static RECT rectIn(HWND child, HWND parent) {
    RECT r{};
    GetWindowRect(child, &r);
    POINT p{r.left, r.top};
    ScreenToClient(parent, &p);
    return RECT{p.x, p.y, p.x + (r.right - r.left), p.y + (r.bottom - r.top)};
  }
  static std::string readBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

TEST_F(TextBox, ANewBoxIsSingleLineWithItsBorderAndEvents) {
  ZorvaXPTextBox& t = box();
  EXPECT_EQ(std::tuple(t.Text(), t.MultiLine(), shown(t.singleLineField()), shown(t.multiLineField()), t.hwnd()),
            std::tuple("ZorvaXpTextBox1", false, true, false, static_cast<int32_t>(t.singleLineField())));
  // The border in BorderColor RGB(127, 157, 185), the surface in BackColor.
  expectPixels(t.surface().hDC(), {{50, 0, RGB(127, 157, 185)}, {159, 10, RGB(127, 157, 185)}, {2, 10, RGB(255, 255, 255)}});
  EXPECT_EQ(eventNames(t.memberTable()),
            (std::vector<std::string>{"ButtonClick", "Change", "Click", "DblClick", "KeyDown", "KeyPress", "KeyUp",
                                      "MouseDown", "MouseMove", "MouseUp", "OnKeyEsc", "OnEnter"}));
}

TEST_F(TextBox, SwitchingModesKeepsTheTextShowsTheRightFieldAndEndsButtonAndFormat) {
  ZorvaXPTextBox& t = box(200, 80);
  t.setButtonVisible(true);
  t.setUseFormat(true);
  t.setFormatType("0.00");
  t.setText("first line");
  EXPECT_TRUE(shown(t.button().hWnd()));
  // The fields and the bar shown; the button and the format ended.
  auto state = [&] {
    return std::tuple(t.Text(), shown(t.multiLineField()), shown(t.singleLineField()), barShown(t),
                      shown(t.button().hWnd()), t.ButtonVisible(), t.UseFormat(), t.FormatType());
  };
  t.setMultiLine(true);
  EXPECT_EQ(state(), std::tuple("first line", true, false, true, false, false, false, ""));
  t.setText("a\r\nb");
  t.setMultiLine(false);  // the button and the format are not restored
  EXPECT_EQ(state(), std::tuple("a\r\nb", false, true, false, false, false, false, ""));
  // Without the scroll bar the field reaches the border.
  t.setMultiLine(true);
  t.setScrollBars(ScrollBarsConst::None);
  EXPECT_FALSE(barShown(t));
  EXPECT_EQ(rectIn(t.multiLineField(), t.hWnd()).right, 199);
}

TEST_F(TextBox, TheScrollBarIsMadeWhenFirstShownWithTheGradientsSetBefore) {
  ZorvaXPTextBox& t = box(200, 80);
  t.setScrollBarGradient1(RGB(10, 20, 30));
  t.setScrollBarGradient2(RGB(40, 50, 60));
  // A single-line box: its surface and the single-line field; no bar.
  EXPECT_EQ(std::tuple(t.scrollBar(), windowsOf(t.hWnd())), std::tuple(nullptr, 2));
  EXPECT_EQ(std::tuple(t.ScrollBarGradient1(), t.ScrollBarGradient2()), std::tuple(RGB(10, 20, 30), RGB(40, 50, 60)));
  t.setMultiLine(true);
  ASSERT_NE(t.scrollBar(), nullptr);
  EXPECT_TRUE(barShown(t));
  EXPECT_EQ(std::tuple(t.scrollBar()->GradientColor1(), t.scrollBar()->GradientColor2()),
            std::tuple(RGB(10, 20, 30), RGB(40, 50, 60)));
  EXPECT_GT(windowsOf(t.hWnd()), 4);
  // Multi-line without a bar makes none either.
  ZorvaXPTextBox& plain = box(200, 80, "ZorvaXPTextBox2", 100);
  plain.setScrollBars(ScrollBarsConst::None);
  plain.setMultiLine(true);
  EXPECT_EQ(plain.scrollBar(), nullptr);
}

// The button and the multi-line field wait too, and take what was set while they did not exist.
TEST_F(TextBox, TheButtonAndTheMultiLineFieldAreMadeWhenFirstShownWithWhatWasSetBefore) {
  ZorvaXPTextBox& t = box(160, 23);
  gfx::FontDesc bold;
  bold.name = "Tahoma";
  bold.size = 11;
  bold.weight = FW_BOLD;
  const host::FontRef font = std::make_shared<const gfx::FontDesc>(bold);
  t.setButtonCaption("Go");
  t.setButtonForeColor(RGB(200, 0, 0));
  t.setButtonGradientColor1(RGB(0, 200, 0));
  t.setButtonGradientColor2(RGB(1, 2, 3));
  t.setButtonFont(font);
  t.setButtonEnabled(false);
  t.setButtonWidth(30);
  t.setLocked(true);
  t.setAlignment(range::AlignmentConstants::vbCenter);
  t.setMaxLength(7);
  auto buttonProperties = [&] {
    return std::tuple(t.ButtonCaption(), t.ButtonForeColor(), t.ButtonGradientColor1(), t.ButtonGradientColor2(),
                      t.ButtonFont() == font, t.ButtonEnabled());
  };
  const auto set = std::tuple(std::string("Go"), RGB(200, 0, 0), RGB(0, 200, 0), RGB(1, 2, 3), true, false);
  EXPECT_EQ(buttonProperties(), set);
  EXPECT_EQ(std::tuple(windowsOf(t.hWnd()), t.multiLineField()), std::tuple(2, HWND{0}));

  t.setButtonVisible(true);
  buttons::ZorvaTextButton& b = t.button();
  EXPECT_EQ(std::tuple(b.Caption(), b.ForeColor(), b.GradientColor1(), b.GradientColor2(), b.Font() == font, b.Enabled()),
            set);
  EXPECT_EQ(buttonProperties(), set);
  const RECT r = rectIn(b.hWnd(), t.hWnd());
  EXPECT_EQ(std::tuple(r.left, r.right, shown(b.hWnd())), std::tuple(160 - 30 - 2, 160 - 2, true));
  t.setButtonCaption("Again");  // once made, the button holds its properties
  EXPECT_EQ(std::tuple(b.Caption(), t.ButtonCaption()), std::tuple(std::string("Again"), std::string("Again")));

  t.setText("abc");
  t.setMultiLine(true);
  const HWND field = t.multiLineField();
  ASSERT_NE(field, HWND{0});
  const LONG style = GetWindowLongA(field, GWL_STYLE);
  EXPECT_EQ(std::tuple(t.Text(), SendMessageA(field, EM_GETLIMITTEXT, 0, 0), (style & ES_CENTER) != 0,
                       (style & ES_READONLY) != 0, shown(field), shown(b.hWnd())),
            std::tuple(std::string("abc"), LRESULT{7}, true, true, true, false));
  EXPECT_EQ(SendMessageA(field, WM_GETFONT, 0, 0), SendMessageA(t.singleLineField(), WM_GETFONT, 0, 0));
}

TEST_F(TextBox, MinimumHeightsAndTheFieldGrowingTheSurface) {
  ZorvaXPTextBox& a = box(150, 5, "a", 10);
  EXPECT_EQ(a.surface().ScaleHeight(), 19);
  ZorvaXPTextBox& b = box(150, 20, "b", 40);
  b.setMultiLine(true);
  EXPECT_EQ(b.surface().ScaleHeight(), 41);
  b.setStatusBar(true);
  EXPECT_EQ(b.surface().ScaleHeight(), 59);
  // The status strip alone without the scroll bar keeps the lower minimum.
  ZorvaXPTextBox& c = box(150, 20, "c", 120);
  c.setScrollBars(ScrollBarsConst::None);
  c.setStatusBar(true);
  c.setMultiLine(true);
  EXPECT_EQ(c.surface().ScaleHeight(), 41);
  // A font taller than the box: the box grows to the field's height + 2, the field centred.
  gfx::FontDesc big;
  big.name = "Tahoma";
  big.size = 24;
  a.setFont(std::make_shared<const gfx::FontDesc>(big));
  TEXTMETRIC tm{};
  GetTextMetrics(a.surface().hDC(), &tm);
  const RECT f = rectIn(a.singleLineField(), a.hWnd());
  EXPECT_EQ(std::tuple(a.surface().ScaleHeight(), f.bottom - f.top, f.top, f.left),
            std::tuple(tm.tmHeight - 1 + 2, tm.tmHeight - 1, 1, 5));
  a.setRequired(true);
  EXPECT_EQ(rectIn(a.singleLineField(), a.hWnd()).left, 12);
}

TEST_F(TextBox, NumbersOnlyRefusesLettersButKeepsBackspaceAndFiltersRunBeforeKeyPress) {
  ZorvaXPTextBox& t = box();
  t.setText("");
  t.setNumbersOnly(true);
  SetFocus(t.field());
  input.pump();
  logEvents(t);
  input.type("1a2-3. 4");
  EXPECT_EQ(t.Text(), "123. 4");
  input.key(VK_BACK);
  EXPECT_EQ(t.Text(), "123. ");
  // Refused characters still reach KeyPress, as 0.
  std::vector<std::string> presses;
  for (const std::string& l : log)
    if (l.rfind("KeyPress", 0) == 0) presses.push_back(l);
  EXPECT_EQ(presses, (std::vector<std::string>{"KeyPress 49", "KeyPress 0", "KeyPress 50", "KeyPress 0", "KeyPress 51",
                                               "KeyPress 46", "KeyPress 32", "KeyPress 52", "KeyPress 8"}));
  // Enter and Escape raise their own events, then KeyPress still gets them (NumbersOnly would
  // refuse them as well).
  t.setNumbersOnly(false);
  log.clear();
  input.key(VK_RETURN).key(VK_ESCAPE);
  EXPECT_EQ(events({"MouseMove"}), (std::vector<std::string>{"KeyDown 13 0", "OnEnter", "KeyPress 13", "KeyUp 13 0",
                                                             "KeyDown 27 0", "OnKeyEsc", "KeyPress 27", "KeyUp 27 0"}));
}

TEST_F(TextBox, UpperCaseRewritesAfterChangeAndKeepsTheCaret) {
  ZorvaXPTextBox& t = box();
  t.setText("");
  t.setUpperCase(true);
  SetFocus(t.field());
  input.pump();
  input.type("abc");
  EXPECT_EQ(t.Text(), "ABC");
  input.key(VK_LEFT).type("x");
  EXPECT_EQ(std::tuple(t.Text(), t.SelStart()), std::tuple("ABXC", 3));
  t.setUpperCase(false);
  t.ToLowerCase();
  EXPECT_EQ(t.Text(), "abxc");
  t.ToUpperCase();
  EXPECT_EQ(t.Text(), "ABXC");
}

TEST_F(TextBox, TheFormatAppliesWhenTheFocusLeavesNeverWhileTyping) {
  ZorvaXPTextBox& t = box(160, 21, "t", 10);
  ZorvaXPTextBox& other = box(160, 21, "other", 50);
  t.setText("");
  t.setUseFormat(true);
  t.setFormatType("#,##0.00");
  SetFocus(t.field());
  input.pump();
  input.type("1234.5");
  EXPECT_EQ(t.Text(), "1234.5");
  SetFocus(other.field());
  input.pump();
  EXPECT_EQ(t.Text(), "1,234.50");
  // Not a number: the runtime's Format gives the text back unchanged.
  SetFocus(t.field());
  input.pump();
  t.setText("abc");
  SetFocus(other.field());
  input.pump();
  EXPECT_EQ(t.Text(), "abc");
}

TEST_F(TextBox, FocusColoursForBorderBackgroundAndTextAndSelectAllOnFocus) {
  ZorvaXPTextBox& t = box(160, 21, "t", 10);
  ZorvaXPTextBox& other = box(160, 21, "other", 50);
  t.setText("hello");
  t.setOnOverSelAll(true);
  t.setForeColorOver(0x0000FF);
  SetFocus(t.field());
  input.pump();
  // BorderColorOver, BackColorOver on the surface and as the field's own background.
  EXPECT_EQ(std::tuple(t.fieldFocused(), px(t.surface(), 50, 0), px(t.surface(), 2, 10), px(t.field(), 150 - 10, 5)),
            std::tuple(true, RGB(255, 128, 0), RGB(255, 255, 192), RGB(255, 255, 192)));
  EXPECT_EQ(std::tuple(t.SelStart(), t.SelLength(), t.GetSelectedText()), std::tuple(0, 5, "hello"));
  SetFocus(other.field());
  input.pump();
  EXPECT_EQ(std::tuple(t.fieldFocused(), px(t.surface(), 50, 0), px(t.field(), 150 - 10, 5)),
            std::tuple(false, RGB(127, 157, 185), RGB(255, 255, 255)));
  // The Sel members work on the visible field.
  t.setSelStart(1);
  t.setSelLength(3);
  EXPECT_EQ(t.SelText(), "ell");
  t.setSelText("EY");
  EXPECT_EQ(t.Text(), "hEYo");
}

TEST_F(TextBox, RequiredMarkerAndStatusStripPixels) {
  ZorvaXPTextBox& t = box(200, 100);
  t.setMultiLine(true);
  t.setRequired(true);
  t.setStatusBar(true);
  t.setStatusText("");
  const HDC dc = t.surface().hDC();
  const COLORREF req = RGB(255, 97, 0);
  // Five rows, each one pixel shorter: 5, 4, 3, 2, 1 pixels from x = 1.
  for (int row = 0; row < 5; ++row) {
    EXPECT_EQ(GetPixel(dc, 1 + 4 - row, 1 + row), req) << row;
    EXPECT_NE(GetPixel(dc, 1 + 5 - row, 1 + row), req) << row;
  }
  EXPECT_EQ(GetPixel(dc, 7, 4), RGB(127, 157, 185));  // the 8 x 8 outline
  EXPECT_GE(rectIn(t.multiLineField(), t.hWnd()).left, 8);
  // The strip: separator in the border colour, first line StatusGradient1, the 15th and later
  // ones StatusGradient2.
  const int h = t.surface().ScaleHeight();
  expectPixels(dc, {{50, h - 19, RGB(127, 157, 185)}, {50, h - 18, RGB(205, 226, 252)},
                    {50, h - 18 + 14, RGB(137, 175, 229)}, {50, h - 2, RGB(137, 175, 229)}});
  const COLORREF second = GetPixel(dc, 50, h - 17);
  EXPECT_EQ(GetRValue(second), 205 + (137 - 205) / 14);
  // The gripper: a dark dot with a white pixel beside it at the bottom right.
  expectPixels(dc, {{200 - 5, h - 5, RGB(69, 109, 166)}, {200 - 4, h - 5, RGB(255, 255, 255)}});
  t.setShowGripper(false);
  EXPECT_NE(GetPixel(dc, 200 - 5, h - 5), RGB(69, 109, 166));
  // The scroll bar stops above the strip.
  ASSERT_NE(t.scrollBar(), nullptr);
  const RECT bar = rectIn(t.scrollBar()->hWnd(), t.hWnd());
  EXPECT_EQ(std::tuple(bar.bottom, bar.right), std::tuple(h - 19, 199));
}

TEST_F(TextBox, TheScrollBarFollowsTypedLinesAndTheTextFollowsTheBar) {
  ZorvaXPTextBox& t = box(200, 120);
  t.setMultiLine(true);
  t.setText("");
  ASSERT_NE(t.scrollBar(), nullptr);
  range::ZorvaXPVScrollBar& bar = *t.scrollBar();
  EXPECT_FALSE(bar.Enabled() || t.SyncTextScroll());  // nothing to scroll yet
  SetFocus(t.field());
  input.pump();
  for (int i = 0; i < 200; ++i) {
    input.type("line " + std::to_string(i));
    if (i < 199) input.key(VK_RETURN);
  }
  const auto first = [&] { return static_cast<int32_t>(SendMessageA(t.field(), EM_GETFIRSTVISIBLELINE, 0, 0)); };
  EXPECT_EQ(std::tuple(bar.Enabled(), t.SyncTextScroll(), bar.Max()), std::tuple(true, true, 199));
  EXPECT_GT(first(), 150);
  EXPECT_EQ(bar.Value(), first());
  // Setting the bar (as dragging the thumb does) scrolls the text.
  bar.setValue(40);
  EXPECT_EQ(first(), 40);
  // Dragging the thumb to the top.
  const HWND thumb = bar.thumb().hWnd();
  input.moveTo(thumb, Point{8, 5}).press().moveBy(0, -300).release();
  EXPECT_EQ(std::pair(bar.Value(), first()), std::pair(0, 0));
  // The wheel in the text moves the bar.
  SetFocus(t.field());
  input.moveTo(t.field(), Point{50, 30}).wheel(-2);
  EXPECT_GT(first(), 0) << bar.Value();
  EXPECT_EQ(bar.Value(), first());
  // The down arrow scrolls one line.
  const int32_t before = first();
  input.moveTo(bar.endArrow().hWnd(), Point{8, 8}).press().advance(60).release();
  EXPECT_GT(first(), before);
  EXPECT_EQ(bar.Value(), first());
  // Paging on the track raises Scrolling with each step: the text never runs past Value.
  input.moveTo(bar.track().hWnd(), Point{8, bar.track().ScaleHeight() - 3}).press().advance(50);
  EXPECT_EQ(first(), bar.Value());
  input.advance(50).release();
  EXPECT_EQ(first(), bar.Value());
  EXPECT_GT(first(), before + 1);
}

TEST_F(TextBox, OutOfRangeValuesGiveASaneLayout) {
  ZorvaXPTextBox& t = box(160, 23);
  t.setButtonVisible(true);
  t.setButtonWidth(-40);
  EXPECT_GE(t.button().surface().ScaleWidth(), 1);
  t.setButtonWidth(100000);
  EXPECT_GE(rectIn(t.field(), t.hWnd()).right - rectIn(t.field(), t.hWnd()).left, 1);
  t.setMultiLine(true);
  t.setScrollBars(static_cast<ScrollBarsConst>(7));  // stored as set; drawn as no scroll bar
  EXPECT_EQ(std::tuple(t.ScrollBars(), barShown(t)), std::tuple(static_cast<ScrollBarsConst>(7), false));
  t.setMaxLength(-3);  // no limit
  EXPECT_GT(SendMessageA(t.multiLineField(), EM_GETLIMITTEXT, 0, 0), 32767);
  t.setSelStart(-5);
  t.setSelLength(-5);
  EXPECT_EQ(t.SelLength(), 0);
}

TEST_F(TextBox, TheButtonRaisesButtonClickAndFieldMouseEventsAreForwarded) {
  ZorvaXPTextBox& t = box(160, 23);
  t.setButtonVisible(true);
  logEvents(t);
  input.moveTo(t.button().hWnd(), Point{5, 5}).click();
  EXPECT_EQ(events({"MouseMove"}), (std::vector<std::string>{"ButtonClick"}));
  const RECT b = rectIn(t.button().hWnd(), t.hWnd());
  EXPECT_EQ(b.left, 160 - 20 - 2);
  EXPECT_LE(rectIn(t.field(), t.hWnd()).right, b.left - 2);
  log.clear();
  input.moveTo(t.field(), Point{4, 4}).click();
  EXPECT_EQ(events({"MouseMove"}), (std::vector<std::string>{"MouseDown 1 0 4 4", "MouseUp 1 0 4 4", "Click"}));
}

TEST_F(TextBox, PropertiesRoundTripWithTheirKeys) {
  ZorvaXPTextBox& a = box(200, 80);
  const std::vector<PropertyRow> rows = {{"Text", "x\r\ny"}, {"MultiLine", true}, {"Required", true},
                                         {"MaxLength", 500}, {"ScrollBarGradient1", 0x000011}, {"StatusBar", true},
                                         {"StatusText", "Lines"}, {"ButtonCaption", "Go"}, {"NumbersOnly", true}};
  letAll(*form, "ZorvaXPTextBox1", rows);
  host::PropertyBag bag;
  a.WriteProperties(bag);
  EXPECT_EQ(bagKeys(bag), keysOf(rows, {{"Font", "MaxLength"}, {"ButtonPicture", "NumbersOnly"},
                                        {"ButtonPictureOnOver", "NumbersOnly"}, {"ButtonFont", "NumbersOnly"},
                                        {"MouseIcon", ""}}));
  // Read back and written again, the same bag: every value travelled.
  auto& b = addFromBag<ZorvaXPTextBox>("b", bag, 3000, 1200);
  EXPECT_EQ(SendMessageA(b.multiLineField(), EM_GETLIMITTEXT, 0, 0), 500);
  host::PropertyBag again;
  b.WriteProperties(again);
  expectSameBag(again, bag);
}

TEST_F(TextBox, ReadingWithoutATextKeyGivesTheTextMadeFromTheDisplayName) {
  // The creation default is also the key's default when reading: a saved box whose text was left
  // at its default comes back with it, in the visible field too.
  host::PropertyBag empty;
  auto& t = addFromBag<ZorvaXPTextBox>("ZorvaXPTextBox7", empty, 3000, 315);
  EXPECT_EQ(t.Text(), "ZorvaXpTextBox7");
  char shown[32] = {};
  GetWindowTextA(t.field(), shown, sizeof shown);
  EXPECT_STREQ(shown, "ZorvaXpTextBox7");
  host::PropertyBag bag;
  t.WriteProperties(bag);
  EXPECT_FALSE(bag.contains("Text"));
  // An emptied box is not at its default, so the empty text is written and read back empty.
  t.setText("");
  t.WriteProperties(bag);
  ASSERT_TRUE(bag.contains("Text"));
  EXPECT_EQ(addFromBag<ZorvaXPTextBox>("ZorvaXPTextBox8", bag, 3000, 315).Text(), "");
}

TEST_F(TextBox, SaveAndOpenRoundTripInTheAnsiCodePage) {
  ZorvaXPTextBox& t = box(200, 80);
  t.setMultiLine(true);
  TempDir tmp;
  const std::filesystem::path file = tmp.path() / "note.txt";
  t.setText("Caf\xC3\xA9 5 \xE2\x82\xAC\r\n\xCE\xA9mega");  // Café 5 €, Ωmega
  t.SaveTextFile(file.string());
  EXPECT_EQ(readBytes(file), std::string("Caf\xE9 5 \x80\r\n?mega\r\n"));
  t.setText("");
  t.OpenTextFile(file.string());
  EXPECT_EQ(t.Text(), "Caf\xC3\xA9 5 \xE2\x82\xAC\r\n?mega");
  // Lone LF line ends read as CR LF.
  std::ofstream(file, std::ios::binary) << "a\nb\n";
  t.OpenTextFile(file.string());
  EXPECT_EQ(t.Text(), "a\r\nb");
  // A missing file leaves the text alone.
  t.OpenTextFile((file.parent_path() / "missing.txt").string());
  EXPECT_EQ(t.Text(), "a\r\nb");
}

TEST_F(TextBox, AFailedSaveLeavesTheOldFileWhole) {
  ZorvaXPTextBox& t = box();
  TempDir tmp;
  const std::filesystem::path dir = tmp.path();
  const std::filesystem::path file = dir / "keep.txt";
  std::ofstream(file, std::ios::binary) << "old contents\r\n";
  // A read-only file is refused (as the platform refuses to overwrite one) ...
  ::chmod(file.c_str(), 0444);
  t.setText("new");
  t.SaveTextFile(file.string());
  EXPECT_EQ(readBytes(file), "old contents\r\n");
  // ... and a folder given as the path is never replaced; neither leaves a temporary file.
  t.SaveTextFile(dir.string());
  EXPECT_TRUE(std::filesystem::is_directory(dir));
  size_t files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++files;
  EXPECT_EQ(files, 1u);
}

TEST_F(TextBox, AFormOfTextBoxesLeavesNothingBehind) {
  form.reset();
  const Leftovers before;
  makeForm(true);
  ZorvaXPTextBox& a = box(200, 100, "a", 10);
  a.setMultiLine(true);
  a.setStatusBar(true);
  ZorvaXPTextBox& b = box(160, 23, "b", 150);
  b.setButtonVisible(true);
  SetFocus(a.field());
  input.pump();
  input.type("some text");
  input.moveTo(b.button().hWnd(), Point{5, 5}).advance(5);  // the button's hover timer runs
  form.reset();
  before.check();
}

}  // namespace
}  // namespace zxp::testing
