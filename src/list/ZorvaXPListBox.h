// ZorvaXPListBox: an owner-drawn list that becomes a grid as soon as it has columns. The rows,
// columns, selection flags, sort and search live in the data model ListData (list/ListData.h);
// the control forwards its row and column members to it under the same names and adds the
// public properties, persistence, painting and input.
//
// Drawing (list/ListPainter.cpp) goes straight onto the control's surface. The background
// (gradient or BackColor, with the semi-transparent Picture) is kept in a memory bitmap of the
// control's size and rebuilt only when one of its inputs changes; a row is painted by copying its
// band from that bitmap and drawing selection, glyphs, text and grid lines over it. Only the rows
// from the first visible row to the last one that touches the row area are laid out and painted,
// so a repaint costs the same for 100 rows as for a million. The header strip, the fixed first
// column and the built-in scroll bars (20 pixels thick) are drawn by the same pass. Gradients use
// the list's own angle-gradient routine: a ramp along the angle's direction is built in a 32-bit
// DIB and stretched into the rectangle. VistaStyle ramps linearly from colour 1 to colour 2;
// XpStyle ramps colour 1 -> colour 2 -> colour 1 (a glassy band lit in the middle), and a selected
// row in XpStyle takes the two colours in the opposite order.
//
// Input (list/ListInput.cpp): hit-testing of header, scroll bar parts and rows, selection in the
// three LSelectedMode modes, the keyboard table, the wheel (exactly +1 or -1 scrolls three rows),
// check-glyph and cell-button clicks, header clicks that sort through ResortCol, column resizing
// at a header border (4 pixels either side of it), arrows with auto-repeat and the thumb drag
// (the 25 ms pauses are timer ticks on the event loop).
//
// In-place editors (ListEditors.cpp): BindObject takes the name of a ZorvaXPTextBox, ZorvaXPDPicker
// or ZorvaXPSpin of the same form; a click on a bound cell (or F2/Enter on it) raises
// BeforeCellEdit, moves the editor over the cell with the cell's text and focuses it; its OnEnter
// or the focus moving to a window outside the editor commits the value into the cell, its
// OnKeyEsc/OnEscape closes it without writing. No event follows a commit: the declared events
// have none (the cell's new text is there to read).
//
// Choices: the horizontal scroll step is 20 pixels; Page Up/Page Down stop at the first/last row;
// the header border hit test takes 4 pixels either side of a column's right edge; the tooltip
// shows only for a cell whose text is cut off; a short scroll over a background that is the same
// on every pixel row (flat colour, or a gradient at 0 or 180 degrees, no picture) copies the rows
// that stay in view. The spreadsheet export raises the host's error 438 ("Object doesn't support
// this property or method"): the data model offers no spreadsheet writer yet.
//
// Dragging rows (ListDrag.cpp): with DragSelected a row pressed and moved shows a semi-transparent
// drag image of its pixels, the drop line and an arrow at the insertion point, and moves there on
// release. OLEDrag (or OLEDragMode automatic, a move past the drag distance after a press on a
// row) drags the selected rows as text with the same kind of image. A thumb drag that goes past
// either end of its track ends there, as a released thumb would.
// Item, AddItemEx, ReplaceAItem take and give rows late-bound as clsLItem objects, and the
// AddItemsBy* members arrays; zSubclass_Proc's by-reference message arguments cannot be passed
// late-bound, so its member-table entry raises 438 (the typed C++ member works).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/ControlBase.h"
#include "foundation/DibBuffer.h"
#include "foundation/MessageInterceptor.h"
#include "list/ListData.h"
#include "platform/base/HostError.h"
#include "platform/gfx/GdiRaii.h"

namespace zxp::list {

enum class LBStyle : int32_t { Gradient = 0, Normal = 1 };
enum class LBGStyle : int32_t { VistaStyle = 0, XpStyle = 1 };
enum class LSelectionStyle : int32_t { LSSGradient = 0, LSSNormal = 1 };
enum class LGridLines : int32_t { LGLNone = 0, LGLVertical = 1, LGLHorizantal = 2, LGLBoth = 3 };
enum class LPicturePos : int32_t {
  LPicPosLeftTop = 0, LPicPosCenterTop = 1, LPicPosRightTop = 2, LPicPosLeftMiddle = 3,
  LPicPosCenterMiddle = 4, LPicPosRightMiddle = 5, LPicPosLeftBottom = 6, LPicPosCenterBottom = 7,
  LPicPosRightBottom = 8, LPicPosCustom = 9
};
enum class LScrollBars : int32_t { LSBoth = 0, LSVertical = 1, LSHorizantal = 2, LSNone = 3 };

// Type information for the enumerations above (the interface's names and values).
const host::EnumType& describeEnum(LBStyle);
const host::EnumType& describeEnum(LBGStyle);
const host::EnumType& describeEnum(LSelectionStyle);
const host::EnumType& describeEnum(LGridLines);
const host::EnumType& describeEnum(LPicturePos);
const host::EnumType& describeEnum(LScrollBars);

// The persisted properties in the interface's order: X(kind, type, name, default, persist).
// kind S: stored here, the setter redraws; C: stored here, the setter is written by hand.
// persist P: the value as it is; W: a Single stored as a whole number.
#define ZXP_LISTBOX_PROPERTIES(X)                                                   \
  X(S, LBStyle, BackgroundStyle, LBStyle::Gradient, P)                              \
  X(S, LBGStyle, BackgroundGStyle, LBGStyle::VistaStyle, P)                         \
  X(S, OLE_COLOR, BackGradientColor1, 0xFFFFFFu, P)                                 \
  X(S, OLE_COLOR, BackGradientColor2, 0xFFBC86u, P)                                 \
  X(S, float, BackGradientAngle, 90.0f, P)                                          \
  X(S, OLE_COLOR, BackColor, 0xFFFFFFu, P)                                          \
  X(S, OLE_COLOR, BorderColor, 0xA56E3Au, P)                                        \
  X(S, bool, ShowHeaders, false, P)                                                 \
  X(S, int32_t, HeaderHeight, 22, P)                                                \
  X(S, OLE_COLOR, HeaderGradientColor1, 0xB75F31u, P)                               \
  X(S, OLE_COLOR, HeaderGradientColor2, 0xF0C797u, P)                               \
  X(S, LBGStyle, HeaderGradientStyle, LBGStyle::VistaStyle, P)                      \
  X(S, float, HeaderGradientAngle, 270.0f, P)                                       \
  X(S, OLE_COLOR, HeaderForeColor, 0xFFFFFFu, P)                                    \
  X(S, host::FontRef, HeaderFont, Ambient().Font, P)                                \
  X(S, OLE_COLOR, ScrollBarGradientColor1, 0xFFFFFFu, P)                            \
  X(S, OLE_COLOR, ScrollBarGradientColor2, 0xE6B47Du, P)                            \
  X(S, OLE_COLOR, ScrollBarDropDownSignColor, 0x000000u, P)                         \
  X(S, OLE_COLOR, ScrollBarThumbGradientColor1, 0xEF9D43u, P)                       \
  X(S, OLE_COLOR, ScrollBarThumbGradientColor2, 0xFFFFFFu, P)                       \
  X(S, int32_t, RowHeight, 22, P)                                                   \
  X(S, LGridLines, GridLines, LGridLines::LGLBoth, P)                               \
  X(S, OLE_COLOR, GridLinesColor, 0xBEBEBEu, P)                                     \
  X(S, bool, AutoSetRowHeight, false, P)                                            \
  X(S, OLE_COLOR, ButtonGradientColor1, 0xFFBC86u, P)                               \
  X(S, OLE_COLOR, ButtonGradientColor2, 0xFFFFFFu, P)                               \
  X(S, std::string, ImageList, std::string(), P)                                    \
  X(S, OLE_COLOR, TickColor, 0x99615Fu, P)                                          \
  X(S, OLE_COLOR, GripperGradientColor1, 0xFFFFFFu, P)                              \
  X(S, OLE_COLOR, GripperGradientColor2, 0xFFBC86u, P)                              \
  X(S, LHAlignment, TextAlignment, LHAlignment::Left, P)                            \
  X(S, LHStyle, CustomStyle, LHStyle::Default, P)                                   \
  X(S, bool, SetFirstColumnAsFixed, false, P)                                       \
  X(S, OLE_COLOR, FixedColumnGradientColor1, 0xB75F31u, P)                          \
  X(S, OLE_COLOR, FixedColumnGradientColor2, 0xF0C797u, P)                          \
  X(S, float, FixedColumnGradientAngle, 270.0f, W)                                  \
  X(S, LBGStyle, FixedColumnGradientStyle, LBGStyle::VistaStyle, P)                 \
  X(S, OLE_COLOR, HeaderHoverGradientColor1, 0xEF9D43u, P)                          \
  X(S, OLE_COLOR, HeaderHoverGradientColor2, 0xF9E9DBu, P)                          \
  X(S, OLE_COLOR, HeaderHoverForeColor, 0xC00000u, P)                               \
  X(S, OLE_COLOR, MouseLineColor, 0x800000u, P)                                     \
  X(S, bool, AllowToHeadersResizing, true, P)                                       \
  X(S, OLE_COLOR, HoverScrollBarsButtonGradient1, 0xFFFFFFu, P)                     \
  X(S, OLE_COLOR, HoverScrollBarsButtonGradient2, 0xC97110u, P)                     \
  X(S, OLE_COLOR, HoverDropDownSignColor, 0x000000u, P)                             \
  X(S, OLE_COLOR, HoverScrollBarThumbGradient1, 0xFFBC86u, P)                       \
  X(S, OLE_COLOR, HoverScrollBarThumbGradient2, 0xF9E9DBu, P)                       \
  X(S, OLE_COLOR, ScrollBarsButtonsMDownG1, 0xEF9D43u, P)                           \
  X(S, OLE_COLOR, ScrollBarsButtonsMDownG2, 0xFFFFC0u, P)                           \
  X(S, OLE_COLOR, MouseDownDropDownSignColor, 0xC00000u, P)                         \
  X(S, OLE_COLOR, ScrollThumbMDownG1, 0xFFFFC0u, P)                                 \
  X(S, OLE_COLOR, ScrollThumbMDownG2, 0xF0C797u, P)                                 \
  X(S, OLE_COLOR, HeaderHoverBorderColor, 0xDA8E32u, P)                             \
  X(S, OLE_COLOR, MDownScrollTrackBarGradient1, 0xF1AB5Fu, P)                       \
  X(S, OLE_COLOR, MDownScrollTrackBarGradient2, 0xFEFBCFu, P)                       \
  X(S, OLE_COLOR, ForeColor, 0x000000u, P)                                          \
  X(C, host::FontRef, Font, Ambient().Font, P)                                      \
  X(C, LSelectedMode, SelectedMode, LSelectedMode::LSMSingle, P)                    \
  X(C, LSelectedModeStyle, SelectedModeStyle, LSelectedModeStyle::LSMSFullRow, P)   \
  X(S, LSelectionStyle, SelectionStyle, LSelectionStyle::LSSGradient, P)            \
  X(S, OLE_COLOR, SelectedColor, 0xE6B47Du, P)                                      \
  X(S, OLE_COLOR, SelectedGradientColor1, 0xF0CB4Au, P)                             \
  X(S, OLE_COLOR, SelectedGradientColor2, 0xFEFCE2u, P)                             \
  X(S, LBGStyle, SelectedGradientStyle, LBGStyle::VistaStyle, P)                    \
  X(S, float, SelectedGradientAngle, 270.0f, W)                                     \
  X(S, bool, HoverSelection, false, P)                                              \
  X(S, bool, FocusOnSelection, false, P)                                            \
  X(S, OLE_COLOR, SelectedForeColor, 0xFF0000u, P)                                  \
  X(S, OLE_COLOR, ButtonSelectedGradient1, 0xEF9D43u, P)                            \
  X(S, OLE_COLOR, ButtonSelectedGradient2, 0xFFFF80u, P)                            \
  X(S, OLE_COLOR, FixSelectedArrow, 0xFFFF80u, P)                                   \
  X(S, OLE_COLOR, SelectedGridColor, 0x000000u, P)                                  \
  X(S, OLE_COLOR, SelectedHeaderGradient1, 0xFEFBCFu, P)                            \
  X(S, OLE_COLOR, SelectedHeaderGradient2, 0xFBB613u, P)                            \
  X(S, LBGStyle, SelectedHeaderGradientStyle, LBGStyle::XpStyle, P)                 \
  X(S, float, SelectedHeaderGradientAngle, 270.0f, W)                               \
  X(S, OLE_COLOR, SelectedHeaderForeColor, 0x800000u, P)                            \
  X(S, OLE_COLOR, SelectedHeaderBorderColor, 0xDA8E32u, P)                          \
  X(S, bool, AllowSortItems, true, P)                                               \
  X(S, OLE_COLOR, SortedArrowBackColorSelected, 0xFFFFFFu, P)                       \
  X(S, OLE_COLOR, SortedArrowBackColorNormal, 0xFFFFFFu, P)                         \
  X(S, bool, DisplayToolTipsForListItems, true, P)                                  \
  X(S, host::FontRef, ToolTipTextFont, Ambient().Font, P)                           \
  X(S, OLE_COLOR, ToolTipTextGradientColor1, 0xFFFFFFu, P)                          \
  X(S, OLE_COLOR, ToolTipTextGradientColor2, 0xFFBC86u, P)                          \
  X(S, float, ToolTipTextGradientAngle, 90.0f, W)                                   \
  X(S, LBGStyle, ToolTipTextGradientStyle, LBGStyle::VistaStyle, P)                 \
  X(S, bool, UseSystemDefaultForToolTipText, false, P)                              \
  X(S, bool, ToolTipTextBlend, true, P)                                             \
  X(S, OLE_COLOR, ToolTipTextBorderColor, 0x000000u, P)                             \
  X(S, OLE_COLOR, ToolTipTextShadowColor, 0x808080u, P)                             \
  X(S, OLE_COLOR, ToolTipTextForeColor, 0x000000u, P)                               \
  X(S, bool, DragSelected, false, P)                                                \
  X(S, OLE_COLOR, DragLineBorderColor, 0xFFFFFFu, P)                                \
  X(S, OLE_COLOR, DragArrowColor, 0x000000u, P)                                     \
  X(C, int16_t, OLEDragMode, int16_t{0}, P)                                         \
  X(C, int16_t, OLEDropMode, int16_t{0}, P)                                         \
  X(S, OLE_COLOR, OLEDragLineBorderColor, 0xFFFF00u, P)                             \
  X(S, bool, OLEOverAddingOnDonor, false, P)                                        \
  X(C, host::PictureRef, Picture, host::PictureRef(), P)                            \
  X(S, int16_t, TransparencyLevel, int16_t{75}, P)                                  \
  X(S, int32_t, PicturePosXCords, 0, P)                                             \
  X(S, int32_t, PicturePoxYCords, 0, P)                                             \
  X(S, int32_t, PictureCordHeight, -1, P)                                           \
  X(S, int32_t, PictureCordWidth, -1, P)                                            \
  X(S, OLE_COLOR, FocusBorderColor, 0xE99227u, P)                                   \
  X(C, bool, AllowToSortAsNumeric, true, P)                                         \
  X(S, LPicturePos, PicturePosition, LPicturePos::LPicPosCenterMiddle, P)           \
  X(S, bool, AllowToSelectUsingRightMButton, false, P)                              \
  X(S, std::string, DataList, std::string(), P)                                     \
  X(C, host::PictureRef, MouseIcon, host::PictureRef(), P)                          \
  X(C, int16_t, MousePointer, int16_t{0}, P)                                        \
  X(C, std::string, SoundOnOver, std::string(), P)                                  \
  X(C, std::string, SoundOnClick, std::string(), P)                                 \
  X(S, LScrollBars, ScrollBars, LScrollBars::LSBoth, P)                             \
  X(C, bool, LockUpdate, false, P)

class ZorvaXPListBox final : public foundation::ControlBase, public iSubclass {
 public:
  // Fixed sizes of the drawing.
  static constexpr int kScrollBarSize = 20;
  static constexpr int kMinRowHeight = 22;
  static constexpr int kButtonWidth = 19;
  static constexpr int kHScrollStep = 20;

  ZorvaXPListBox();
  ~ZorvaXPListBox() override;

  // ---- Persisted properties ----
#define ZXP_DECLARE_GET(kind, T, Name, def, persist) \
  T Name() const { return m_##Name; }
#define ZXP_DECLARE_SET(kind, T, Name, def, persist) void set##Name(T New_##Name);
  ZXP_LISTBOX_PROPERTIES(ZXP_DECLARE_GET)
  ZXP_LISTBOX_PROPERTIES(ZXP_DECLARE_SET)
#undef ZXP_DECLARE_GET
#undef ZXP_DECLARE_SET

  // ---- Not persisted ----
  int32_t hwnd() const { return static_cast<int32_t>(hWnd()); }
  int32_t CurrentWindowHandle() const { return hwnd(); }
  bool Enabled() const { return ControlBase::Enabled(); }

  // ---- Rows (forwarded to the data model) ----
  bool AddItem(const std::string& iText, bool iCheck = false, int32_t iData = 0, int32_t iNormalIcon = 0,
               int32_t iSelectedIcon = 0, bool bBold = false, bool bItalic = false, bool bUnderline = false,
               bool bStrikethought = false, const std::string& iIconCollection = {});
  bool AddItemEx(RowRef lItem);
  bool AddItemsByArray(const std::vector<std::string>& iListArray);
  bool AddItemsByCollection(const std::vector<host::Variant>& iListCollection);
  bool AddItemsByParamArray(const std::vector<host::Variant>& iListCollection);
  bool RemoveItem(int32_t iItemIndex);
  int32_t ClearAll();
  void SwapItems(int32_t iFirstIndex, int32_t iLastIndex);
  bool ReplaceAItem(int32_t iItem, RowRef iClsListItem);
  bool ModifyItemText(int32_t iItem, const std::string& iText);
  void ModifyItemUnicode(int32_t iItem, bool bBold, bool bItalic, bool bUnderline, bool bStrikeThrough);
  RowRef Item(int32_t iItem) const { return data_.Item(iItem); }
  void setItem(int32_t iItem, RowRef row);
  std::string List(int32_t iItem) const { return std::string(data_.List(iItem)); }
  void setList(int32_t iItem, std::string iText) { ModifyItemText(iItem, iText); }
  int32_t ItemData(int32_t iItem) const { return data_.ItemData(iItem); }
  void setItemData(int32_t iItem, int32_t value) { data_.setItemData(iItem, value); }
  std::string TextMatrix(int32_t iRow, int32_t iColumn) const { return data_.TextMatrix(iRow, iColumn); }
  void setTextMatrix(int32_t iRow, int32_t iColumn, std::string text);
  std::string Cell(int32_t iRowIndex, int32_t iColumnIndex) const { return TextMatrix(iRowIndex, iColumnIndex); }
  void setCell(int32_t iRowIndex, int32_t iColumnIndex, std::string text) { setTextMatrix(iRowIndex, iColumnIndex, text); }
  bool Selected(int32_t iItem) const { return data_.Selected(iItem); }
  void setSelected(int32_t iItem, bool value);
  int32_t SelectedCount() const { return data_.SelectedCount(); }
  int32_t ListIndex() const { return data_.ListIndex(); }
  void setListIndex(int32_t value);
  int32_t ListCount() const { return data_.ListCount(); }
  int32_t Rows() const { return data_.Rows(); }
  void setRows(int32_t value);
  std::string SelectedCell() const { return data_.SelectedCell(); }
  void setSelectedCell(std::string text);
  std::string ActiveCellValue() const { return data_.ActiveCellValue(); }
  void setActiveCellValue(std::string text) { setSelectedCell(std::move(text)); }
  int32_t ActiveCellNormalIcon() const { return data_.ActiveCellNormalIcon(); }
  void setActiveCellNormalIcon(int32_t index);
  int32_t ActiveCellSelectedIcon() const { return data_.ActiveCellSelectedIcon(); }
  void setActiveCellSelectedIcon(int32_t index);
  int32_t SelectedColIndex() const { return data_.SelectedColIndex(); }
  int16_t ExtendedCellFirst() const { return data_.ExtendedCellFirst(); }
  int16_t ExtendedCellLast() const { return data_.ExtendedCellLast(); }
  bool SetIconByImageList(int32_t iRowIndex, int32_t iColumnIndex, int32_t iNormalIconPos = 0,
                          int32_t iSelectedIconPos = 0);
  bool CheckAll(int32_t iColumnIndex);
  bool UnCheckAll(int32_t iColumnIndex);
  bool CheckSpecifyRange(int32_t iColumnIndex, int32_t iStartRow, int32_t iLastRow, bool BValue);
  int32_t MaxVerticalDisplayItems() const { return visibleCount_; }

  // ---- Columns ----
  void AddNewColumn(const std::string& lpStrColumnName, int32_t iColWidth = 0, LHStyle iColStyle = LHStyle::Default,
                    LHAlignment iColAlignment = LHAlignment::Left);
  void RemoveColumn(int32_t iColumn);
  void ClearAllColumns();
  std::string ColumnText(int32_t iColumn) const { return data_.ColumnText(iColumn); }
  void setColumnText(int32_t iColumn, std::string text);
  LHStyle ColumnStyle(int32_t iColumn) const { return data_.ColumnStyle(iColumn); }
  void setColumnStyle(int32_t iColumn, LHStyle style);
  LHAlignment ColumnAlignment(int32_t iColumn) const { return data_.ColumnAlignment(iColumn); }
  void setColumnAlignment(int32_t iColumn, LHAlignment alignment);
  int32_t ColumnWidth(int32_t iColumn) const { return data_.ColumnWidth(iColumn); }
  void setColumnWidth(int32_t iColumn, int32_t width);
  int32_t ColumnsCount() const { return data_.ColumnsCount(); }
  void ResortCol(int32_t iColNumber, LSortMethod iSortMethod = LSortMethod::LSAcesnding);

  // ---- Searching, formatting, aggregation ----
  int32_t FindItem(const std::string& iFindString, int32_t iColumnIndex = 0, int32_t iStartRowIndex = 0);
  int32_t FindAndReplace(const std::string& iFindString, const std::string& iReplaceTxt, bool bReplaceAll = false,
                         int32_t iColumnIndex = 0, int32_t iStartRowIndex = 0);
  bool FormatAColumn(int32_t iColumnIndex, const std::string& iFormatString);
  double Sum(int32_t iColumnIndex) { return data_.Sum(iColumnIndex); }
  double Average(int32_t iColumnIndex) { return data_.Average(iColumnIndex); }

  // ---- Export, refresh, binding, misc ----
  void ExportToCsv(const std::string& iStrPath) { data_.ExportToCsv(iStrPath); }
  void ExportToExcel();
  void ExportToExcelAsAFile(const std::string& iStrPath);
  void RedrawMe();
  void RedrawList();
  void RefreshList() { RedrawList(); }
  void RefreshControl() { Refresh(); }
  void Refresh();
  void SetupSpreadSheet(int32_t iRowCount, int32_t iColCount, host::Variant iObjTxtData = {});
  // objBind names a ZorvaXPTextBox, ZorvaXPDPicker or ZorvaXPSpin of the same form (the name as
  // text: the host has no object value for a control); any other value raises Type mismatch (13),
  // an unknown name or another class "Object required" (424).
  void BindObject(host::Variant objBind, int32_t iFirstColumnIndex, int32_t iCountOfColumns);
  // The names separated by commas, each bound to the column of its place (first name column 1).
  void BindObjectArray(host::Variant objBinds);
  void UnBindObject(int32_t iColumnIndex);
  // The editor bound to a column (nullptr for none) and the one shown now.
  host::Extender* boundEditor(int32_t column) const;
  host::Extender* activeEditor() const { return editing_; }
  // Starts an OLE drag of the selected rows (of the current row when none is selected); returns
  // when it has ended.
  void OLEDrag();
  // The text an OLE drag offers: the rows one a line (CR LF), their cells separated by TABs.
  std::string draggedRowsText() const;
  // Whether a drag image of a row follows the cursor now.
  bool dragImageShown() const { return dragImageShown_; }
  // The window-message callback of the control's subclass (seen before the default processing).
  void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& lng_hWnd, UINT& uMsg, WPARAM& wParam,
                      LPARAM& lParam) override;

  // ---- Events of the list's own (the shared ones come from ControlBase) ----
  host::Event<> AfterInsert;
  host::Event<> BeforeInsert;
  host::Event<int32_t, int32_t, std::string> BeforeCellEdit;
  host::Event<int32_t, int32_t, std::string> CellButtonClick;
  host::Event<int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, std::string> CellClick;
  host::Event<int32_t> HeaderClick;
  host::Event<int32_t, int16_t, float, float> HeaderAdvancedClick;
  host::Event<int32_t, std::string> ListClick;  // by value
  host::Event<int32_t, int32_t> ListIndexChange;
  host::Event<int32_t, std::string> RowClick;
  host::Event<int32_t, int32_t, int32_t> VerticalScrolling;
  host::Event<int32_t> MouseWheel;
  host::Event<float, float> MouseEnter;
  host::Event<float, float> MouseLeave;

  const host::MemberTable& memberTable() const override;

  // Late-bound forms of the members that take or give row objects (clsLItem objects, see
  // list/LItemObject.h) and arrays. A row argument that is no clsLItem raises Type mismatch (13).
  bool lateAddItemEx(host::ObjectRef lItem);
  // An array (a SAFEARRAY from a component client) of values, each taken as text.
  bool lateAddItemsByArray(host::Variant iListArray);
  // An array, or an object with Count and Item(1..Count) (a collection).
  bool lateAddItemsByCollection(host::Variant iListCollection);
  bool lateAddItemsByParamArray(host::ArrayRef iListCollection);
  bool lateReplaceAItem(int32_t iItem, host::ObjectRef iClsListItem);
  host::ObjectRef lateItem(int32_t iItem) const;
  void setLateItem(int32_t iItem, host::ObjectRef iClsListItem);
  // The form the list is placed on, as an object (Nothing while the list is not sited).
  host::ObjectRef Parent() const;
  // The subclassing callback is listed with its seven parameters, but only the thunk calls it:
  // late bound it answers 438 as a member the object does not support.
  void lateSubclassProc(host::Variant, host::Variant, host::Variant, host::Variant, host::Variant, host::Variant,
                        host::Variant) {
    throw HostError(438);
  }

  // ---- Layout as last computed (for hosts and tests) ----
  struct Band {
    int32_t index = 0, left = 0, top = 0, right = 0, bottom = 0;
  };
  // The rows laid out by the last pass (first visible to last painted), and the columns.
  const std::vector<Band>& rowLayout() const { return rowBands_; }
  const std::vector<Band>& columnLayout() const { return columnBands_; }
  int32_t topRow() const { return topRow_; }
  void setTopRow(int32_t row);  // scrolls so that `row` is the first visible row
  int32_t horizontalOffset() const { return hOffset_; }
  bool verticalBarShown() const { return vBarShown_; }
  bool horizontalBarShown() const { return hBarShown_; }
  int32_t sortedColumn() const { return sortedColumn_; }
  // While a row is dragged (DragSelected): the row the drop would land before, else 0.
  int32_t dropInsertionRow() const { return dragInsert_; }
  bool sortedAscending() const { return sortAscending_; }
  // The cell tooltip: shown about one second after the pointer rests on a cell whose text does
  // not fit it (a cell that shows its whole text has nothing to add).
  bool toolTipShown() const { return tip_.exists(); }
  HWND toolTipWindow() const { return tip_.hWnd(); }
  // Rows painted since the control was created (for tests and benchmarks of partial repaint).
  int64_t rowsPainted() const { return rowsPainted_; }
  const ListData& data() const { return data_; }

  // Regions of the control, in hit-test order.
  enum class Part {
    None, Header, VUp, VDown, VThumb, VTrack, HThumb, HLeft, HRight, HTrack, Rows
  };
  Part hitTest(int x, int y) const;

  // The list's angle gradient: colours c1 -> c2 along `angle` degrees, XpStyle as described above.
  static void fillAngleGradient(HDC dc, RECT r, OLE_COLOR c1, OLE_COLOR c2, float angle, LBGStyle style);

 protected:
  void UserControl_Initialize() override;
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
  void UserControl_Resize() override;
  void UserControl_Terminate() override;
  void UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_KeyDown(int16_t& KeyCode, int16_t& Shift) override;
  void UserControl_KeyUp(int16_t& KeyCode, int16_t& Shift) override;
  void UserControl_GotFocus() override { Refresh(); }
  void UserControl_LostFocus() override { Refresh(); }
  void redrawResting() override { RedrawMe(); }
  bool resizeRedrawsResting() const override { return true; }

 private:
  SheetFont sheetHeaderFont() const;  // header cell font of the spreadsheet export
  friend class ListPainter;
  struct ColumnLayout;

  // Painting (ListPainter.cpp).
  void setPropertyChanged(std::string_view name);  // redraw unless LockUpdate, then notify
  void rebuildBackground();
  void layoutColumns();
  void layoutRows();  // lays out and paints the visible rows, shows or hides the bars
  void paintRow(int32_t row);
  void paintHeader();
  void paintBar(bool vertical);  // the vertical or the horizontal scroll bar
  // A scroll bar arrow's or thumb's gradient and sign colours in its pressed, hover or resting look.
  struct BarColours {
    OLE_COLOR g1, g2, sign;
  };
  BarColours arrowColours(Part p) const;
  BarColours thumbColours(Part p) const;
  void paintBorder();
  void restoreBand(int x, int y, int w, int h);
  void drawCheckGlyph(HDC dc, int left, int top, int state) const;
  void drawCellButton(HDC dc, int right, int top, int bottom, bool selected) const;
  void drawImage(HDC dc, int32_t index, int x, int y) const;
  int32_t rowHeightOf(int32_t row) const;
  // HeaderHeight keeps any Long; the header is drawn and laid out at most 2^20 pixels tall.
  int drawnHeaderHeight() const;
  int rowAreaTop() const;
  int rowAreaBottom() const;
  int rowAreaRight() const;
  struct BarGeometry {
    int trackStart = 0, trackEnd = 0, thumbStart = 0, thumbEnd = 0;
  };
  BarGeometry verticalBar() const;
  BarGeometry horizontalBar() const;
  int64_t columnWidthSum() const;
  int32_t totalColumnWidth() const;  // the sum, saturated
  int32_t lastTopRow() const;
  void scrollTo(int32_t top);
  bool uniformDownRows() const;

  // Input (ListInput.cpp).
  void rowClick(int16_t Button, int x, int y);
  void selectByMode(int32_t row, bool fromKeyboard);
  void moveCurrent(int32_t row);
  void toggleCheck(int32_t row, int32_t column);
  void headerPress(int x, int y, int16_t Button);
  int32_t columnAt(int x) const;
  int32_t rowAt(int y) const;
  void arrowStep(Part part);
  void thumbDrag();
  void onRepeatTick();
  void onHoverTick();
  void scrollColumnIntoView(int32_t column);
  void scrollRowIntoView(int32_t row);
  void finishColumnResize(int x);
  bool wheel(int32_t amount);

#define ZXP_DECLARE_FIELD(kind, T, Name, def, persist) T m_##Name{};
  ZXP_LISTBOX_PROPERTIES(ZXP_DECLARE_FIELD)
#undef ZXP_DECLARE_FIELD

  ListData data_;
  // Drawing state.
  GdiObject backBitmap_;
  MemoryDC backDC_;
  bool backDirty_ = true;
  int backW_ = 0, backH_ = 0;
  std::vector<Band> rowBands_;
  std::vector<Band> columnBands_;  // index = column number
  int32_t topRow_ = 0;
  int32_t lastRow_ = 0;
  int32_t visibleCount_ = 0;
  int32_t hOffset_ = 0;
  int32_t firstVisibleColumn_ = 0, lastVisibleColumn_ = 0;
  bool vBarShown_ = false, hBarShown_ = false;
  int64_t rowsPainted_ = 0;
  bool settingUp_ = false;

  // Interaction state.
  Part hover_ = Part::None;
  Part press_ = Part::None;
  int32_t hoverColumn_ = 0, pressedColumn_ = 0;
  int32_t clickedRow_ = 0, clickedColumn_ = 0;
  bool inside_ = false;
  bool shiftHeld_ = false, ctrlHeld_ = false;
  int32_t anchorRow_ = 0;
  int16_t anchorColumn_ = 0;
  int32_t sortedColumn_ = 0;
  bool sortAscending_ = true;
  bool resizing_ = false;
  int32_t resizeColumn_ = 0;
  int resizeLineX_ = -1;
  int dragLastY_ = 0;
  bool thumbDragging_ = false;
  // Row drag (DragSelected): the row being dragged and the row the drop would go before.
  int32_t dragRow_ = 0, dragInsert_ = 0;
  void dragRowTo(int y);
  // Shows the row's drag image; `grab` (client point) is the pixel that stays under the pointer.
  bool beginDragImage(int32_t row, OLE_COLOR frame, POINT grab);
  void moveDragImage();
  void endDragImage();
  void oleStartDrag(host::Variant& data, int32_t allowed);
  bool dragImageShown_ = false;
  POINT dragImageAt_{0, 0};  // the cursor position the drag image was last put at
  POINT pressAt_{0, 0};  // where the last press in the row area began (automatic OLE drags)
  void paintDropLine();
  void dropRow();
  // In-place editors (ListEditors.cpp).
  struct EditorBinding {
    host::Extender* editor = nullptr;
    std::vector<std::pair<host::EventBase*, host::Connection>> connections;
  };
  void bindEditor(host::Extender& editor, int32_t column);
  void startEdit(int32_t row, int32_t column);
  // Hides every bound editor; commit writes the open editor's value into its cell first. refocus
  // gives the focus back to the list (not when the focus has just gone elsewhere).
  void closeEditors(bool commit, bool refocus = true);
  // Commits the open editor when the focus leaves it (see ListEditors.cpp).
  static LRESULT editorFocusHook(int code, WPARAM wParam, LPARAM lParam);
  void watchEditorFocus(bool on);
  void editorFocusLeft(HWND losing, HWND gaining);
  bool editorHas(HWND h) const;  // h is one of the open editor's windows
  // Commits the open editor when the focus is outside it now (the posted check, and a press on
  // the list, which took the focus before its own handling).
  void commitIfFocusLeft();
  static constexpr UINT kEditorFocusCheck = 0x8000 + 0x4C;  // WM_APP + 'L': posted to the list
  bool focusCheckPosted_ = false;
  // At termination: lets go of the editors, touching only those still on the form (a form tears
  // its controls down newest first, so an editor placed after the list is already gone).
  void releaseEditors();
  std::vector<EditorBinding> editors_;  // index = column - 1
  host::Extender* editing_ = nullptr;
  int32_t editRow_ = 0, editColumn_ = 0;
  // The column whose editor the current row press opened (0: none): a drag that moves the
  // current row closes it, and the release opens it again on the row then current.
  int32_t pressEditColumn_ = 0;
  // Cell tooltip (ListToolTip.cpp): the cell it belongs to and its pop-up window.
  void toolTipFollow(int x, int y, bool buttonHeld);
  void tmrToolTip_Timer();
  void showToolTip(int32_t row, int32_t column);
  void hideToolTip();
  bool cellClipped(int32_t row, int32_t column) const;
  int32_t tipRow_ = 0, tipColumn_ = 0;
  foundation::SurfaceWindow tip_;
  std::unique_ptr<MessageInterceptor> subclass_;
  foundation::ControlTimer tmrRepeat;
  foundation::ControlTimer tmrHoverParts;
  foundation::ControlTimer tmrToolTip;
  foundation::ControlTimer tmrOLEDrag;
};

}  // namespace zxp::list
