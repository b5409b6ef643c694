#include "list/ZorvaXPListBox.h"

#include <algorithm>

#include "list/LItemObject.h"
#include "platform/base/HostError.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Picture.h"
#include "platform/host/FormObject.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/ui/Messages.h"

namespace zxp::list {

ZorvaXPListBox::ZorvaXPListBox()
    : tmrRepeat("tmrRepeat", 25),
      tmrHoverParts("tmrHoverHeaders", 1),
      tmrToolTip("tmrToolTip", 1000),
      tmrOLEDrag("tmrOLEDrag", 1) {
  tmrToolTip.Timer.connect([this] { tmrToolTip_Timer(); });
  data_.onRefresh = [this] { RedrawList(); };
  data_.BeforeInsert = [this] { BeforeInsert.raise(); };
  data_.AfterInsert = [this] { AfterInsert.raise(); };
  tmrRepeat.Timer.connect([this] { onRepeatTick(); });
  tmrHoverParts.Timer.connect([this] { onHoverTick(); });
  tmrOLEDrag.Timer.connect([this] { moveDragImage(); });
  // After the host's own handlers (connected by the base): the rows' text and the drag image.
  UserControl.OLEStartDrag.connect([this](host::Variant& d, int32_t& allowed) { oleStartDrag(d, allowed); });
  UserControl.OLECompleteDrag.connect([this](int32_t&) { endDragImage(); });
}

ZorvaXPListBox::~ZorvaXPListBox() = default;

// ---- Properties ---------------------------------------------------------------------------------

void ZorvaXPListBox::setPropertyChanged(std::string_view name) {
  backDirty_ = true;
  if (!m_LockUpdate) RedrawMe();
  PropertyChanged(name);
}

#define ZXP_DEFINE_SIMPLE_S(T, Name)                 \
  void ZorvaXPListBox::set##Name(T New_##Name) {     \
    m_##Name = std::move(New_##Name);                \
    setPropertyChanged(#Name);                       \
  }
#define ZXP_DEFINE_SIMPLE_C(T, Name)
#define ZXP_DEFINE_SIMPLE(kind, T, Name, def, persist) ZXP_DEFINE_SIMPLE_##kind(T, Name)
ZXP_LISTBOX_PROPERTIES(ZXP_DEFINE_SIMPLE)
#undef ZXP_DEFINE_SIMPLE
#undef ZXP_DEFINE_SIMPLE_S
#undef ZXP_DEFINE_SIMPLE_C

void ZorvaXPListBox::setFont(host::FontRef v) {
  m_Font = v;
  UserControl.setFont(std::move(v));
  setPropertyChanged("Font");
}

void ZorvaXPListBox::setSelectedMode(LSelectedMode v) {
  m_SelectedMode = v;
  data_.SelectedMode = v;
  setPropertyChanged("SelectedMode");
}

void ZorvaXPListBox::setSelectedModeStyle(LSelectedModeStyle v) {
  m_SelectedModeStyle = v;
  data_.SelectedModeStyle = v;
  setPropertyChanged("SelectedModeStyle");
}

void ZorvaXPListBox::setOLEDragMode(int16_t v) {
  // The list starts automatic drags itself, from rows only (not from the header or the bars).
  m_OLEDragMode = v;
  PropertyChanged("OLEDragMode");
}

void ZorvaXPListBox::setOLEDropMode(int16_t v) {
  m_OLEDropMode = v;
  UserControl.setOLEDropMode(v);
  PropertyChanged("OLEDropMode");
}

void ZorvaXPListBox::setPicture(host::PictureRef v) {
  m_Picture = std::move(v);
  if (m_Picture.empty()) {
    m_PictureCordWidth = -1;
    m_PictureCordHeight = -1;
  } else {
    m_PictureCordWidth = m_Picture.width();
    m_PictureCordHeight = m_Picture.height();
    if (data_.multiColumn() && m_ShowHeaders) m_PicturePoxYCords = drawnHeaderHeight() + 1;
  }
  setPropertyChanged("Picture");
}

void ZorvaXPListBox::setAllowToSortAsNumeric(bool v) {
  m_AllowToSortAsNumeric = v;
  data_.AllowToSortAsNumeric = v;
  PropertyChanged("AllowToSortAsNumeric");
}

void ZorvaXPListBox::setMouseIcon(host::PictureRef v) {
  m_MouseIcon = v;
  ControlBase::setMouseIcon(std::move(v));
}

void ZorvaXPListBox::setMousePointer(int16_t v) {
  m_MousePointer = v;
  ControlBase::setMousePointer(v);
}

void ZorvaXPListBox::setSoundOnOver(std::string v) { letSoundPath(m_SoundOnOver, v, "SoundOnOver"); }
void ZorvaXPListBox::setSoundOnClick(std::string v) { letSoundPath(m_SoundOnClick, v, "SoundOnClick"); }

void ZorvaXPListBox::setLockUpdate(bool v) {
  m_LockUpdate = v;
  data_.LockUpdate = v;
  if (!v) {
    RedrawMe();
    Refresh();
  }
  PropertyChanged("LockUpdate");
}

// ---- Lifecycle and persistence --------------------------------------------------------------------

void ZorvaXPListBox::UserControl_Initialize() {
  // The list sees its own window's pointer, leave and wheel messages before the default
  // processing, and the editor focus check it posts itself.
  subclass_ = std::make_unique<MessageInterceptor>(*this);
  if (subclass_->SubclassWindow(hWnd()) >= 0) {
    for (UINT msg : {WM_MOUSEMOVE, WM_MOUSELEAVE, WM_MOUSEWHEEL, kEditorFocusCheck})
      subclass_->AddMessage(hWnd(), static_cast<int32_t>(msg), MSG_BEFORE);
  }
}

void ZorvaXPListBox::UserControl_InitProperties() {
  settingUp_ = true;
  m_LockUpdate = true;
#define ZXP_INIT(kind, T, Name, def, persist) set##Name(def);
  ZXP_LISTBOX_PROPERTIES(ZXP_INIT)
#undef ZXP_INIT
  settingUp_ = false;
  RedrawMe();
}

void ZorvaXPListBox::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  settingUp_ = true;
  m_LockUpdate = true;
  data_.LockUpdate = true;
#define ZXP_READ_P(T, Name, def) set##Name(PropBag.read<T>(#Name, def));
#define ZXP_READ_W(T, Name, def) set##Name(static_cast<float>(PropBag.read<int32_t>(#Name, nearest(def))));
#define ZXP_READ(kind, T, Name, def, persist) ZXP_READ_##persist(T, Name, def)
  ZXP_LISTBOX_PROPERTIES(ZXP_READ)
#undef ZXP_READ
#undef ZXP_READ_P
#undef ZXP_READ_W
  const bool lock = m_LockUpdate;
  m_LockUpdate = true;
  data_.LockUpdate = true;
  data_.ClearAllColumns();
  data_.ReadColumns(PropBag);
  m_LockUpdate = lock;
  data_.LockUpdate = lock;
  settingUp_ = false;
  backDirty_ = true;
  restingChanged();
}

void ZorvaXPListBox::UserControl_WriteProperties(host::PropertyBag& PropBag) {
#define ZXP_WRITE_P(T, Name, def) PropBag.WriteProperty(#Name, host::Variant(Name()), host::Variant(T(def)));
#define ZXP_WRITE_W(T, Name, def) \
  PropBag.WriteProperty(#Name, host::Variant(int32_t{nearest(Name())}), host::Variant(int32_t{nearest(def)}));
#define ZXP_WRITE(kind, T, Name, def, persist) ZXP_WRITE_##persist(T, Name, def)
  ZXP_LISTBOX_PROPERTIES(ZXP_WRITE)
#undef ZXP_WRITE
#undef ZXP_WRITE_P
#undef ZXP_WRITE_W
  data_.WriteColumns(PropBag);
}

void ZorvaXPListBox::UserControl_Resize() {
  backDirty_ = true;
  RedrawMe();
}

void ZorvaXPListBox::UserControl_Terminate() {
  tmrRepeat.setEnabled(false);
  tmrHoverParts.setEnabled(false);
  tmrToolTip.setEnabled(false);
  endDragImage();
  hideToolTip();
  releaseEditors();
  subclass_.reset();
  backDC_ = MemoryDC();
  backBitmap_.reset();
}

// ---- Rows -------------------------------------------------------------------------------------------

bool ZorvaXPListBox::AddItem(const std::string& iText, bool iCheck, int32_t iData, int32_t iNormalIcon,
                             int32_t iSelectedIcon, bool bBold, bool bItalic, bool bUnderline, bool bStrikethought,
                             const std::string& iIconCollection) {
  const bool ok = data_.AddItem(iText, iCheck, iData, iNormalIcon, iSelectedIcon, bBold, bItalic, bUnderline,
                                bStrikethought, iIconCollection);
  if (topRow_ < 1 && data_.ListCount() > 0) topRow_ = 1;
  return ok;
}

bool ZorvaXPListBox::AddItemEx(RowRef lItem) {
  const bool ok = data_.AddItemEx(std::move(lItem));
  if (topRow_ < 1 && data_.ListCount() > 0) topRow_ = 1;
  return ok;
}

bool ZorvaXPListBox::AddItemsByArray(const std::vector<std::string>& a) {
  const bool ok = data_.AddItemsByArray(a);
  if (topRow_ < 1 && data_.ListCount() > 0) topRow_ = 1;
  return ok;
}

bool ZorvaXPListBox::AddItemsByCollection(const std::vector<host::Variant>& c) {
  const bool ok = data_.AddItemsByCollection(c);
  if (topRow_ < 1 && data_.ListCount() > 0) topRow_ = 1;
  return ok;
}

bool ZorvaXPListBox::AddItemsByParamArray(const std::vector<host::Variant>& c) { return AddItemsByCollection(c); }

bool ZorvaXPListBox::RemoveItem(int32_t i) {
  const bool ok = data_.RemoveItem(i);
  if (ok) {
    if (data_.ListCount() == 0) topRow_ = 0;
    RedrawList();
  }
  return ok;
}

int32_t ZorvaXPListBox::ClearAll() {
  const int32_t r = data_.ClearAll();
  topRow_ = data_.ListCount() > 0 ? 1 : 0;
  RedrawList();
  return r;
}

void ZorvaXPListBox::SwapItems(int32_t a, int32_t b) {
  data_.SwapItems(a, b);
  RedrawList();
}

bool ZorvaXPListBox::ReplaceAItem(int32_t i, RowRef item) {
  const bool ok = data_.ReplaceAItem(i, std::move(item));
  if (ok) RedrawList();
  return ok;
}

bool ZorvaXPListBox::ModifyItemText(int32_t i, const std::string& t) {
  const bool ok = data_.ModifyItemText(i, t);
  if (ok && !m_LockUpdate) paintRow(i);
  return ok;
}

void ZorvaXPListBox::ModifyItemUnicode(int32_t i, bool b, bool it, bool u, bool s) {
  data_.ModifyItemUnicode(i, b, it, u, s);
  if (!m_LockUpdate) paintRow(i);
}

void ZorvaXPListBox::setItem(int32_t i, RowRef row) {
  data_.setItem(i, std::move(row));
  RedrawList();
}

void ZorvaXPListBox::setTextMatrix(int32_t r, int32_t c, std::string text) {
  data_.setTextMatrix(r, c, text);
  if (!m_LockUpdate) paintRow(r);
}

void ZorvaXPListBox::setSelected(int32_t i, bool v) {
  data_.setSelected(i, v);
  if (!m_LockUpdate) paintRow(i);
}

void ZorvaXPListBox::setListIndex(int32_t v) {
  data_.setListIndex(v);
  RedrawList();
  PropertyChanged("ListIndex");
}

void ZorvaXPListBox::setRows(int32_t v) {
  data_.setRows(v);
  topRow_ = data_.ListCount() > 0 ? 1 : 0;
  RedrawList();
}

void ZorvaXPListBox::setSelectedCell(std::string text) {
  data_.setSelectedCell(text);
  if (!m_LockUpdate) paintRow(data_.ListIndex());
}

void ZorvaXPListBox::setActiveCellNormalIcon(int32_t index) {
  data_.setActiveCellNormalIcon(index);
  RedrawList();
}

void ZorvaXPListBox::setActiveCellSelectedIcon(int32_t index) {
  data_.setActiveCellSelectedIcon(index);
  RedrawList();
}

bool ZorvaXPListBox::SetIconByImageList(int32_t r, int32_t c, int32_t n, int32_t s) {
  const bool ok = data_.SetIconByImageList(r, c, n, s);
  if (ok) RedrawList();
  return ok;
}

bool ZorvaXPListBox::CheckAll(int32_t c) { return data_.CheckAll(c); }
bool ZorvaXPListBox::UnCheckAll(int32_t c) { return data_.UnCheckAll(c); }
bool ZorvaXPListBox::CheckSpecifyRange(int32_t c, int32_t a, int32_t b, bool v) {
  return data_.CheckSpecifyRange(c, a, b, v);
}

// ---- Columns ----------------------------------------------------------------------------------------

void ZorvaXPListBox::AddNewColumn(const std::string& name, int32_t width, LHStyle style, LHAlignment alignment) {
  data_.AddNewColumn(name, width, style, alignment);
  backDirty_ = true;
  RedrawMe();
}

void ZorvaXPListBox::RemoveColumn(int32_t c) {
  data_.RemoveColumn(c);
  backDirty_ = true;
  RedrawMe();
}

void ZorvaXPListBox::ClearAllColumns() {
  data_.ClearAllColumns();
  hOffset_ = 0;
  backDirty_ = true;
  RedrawMe();
}

void ZorvaXPListBox::setColumnText(int32_t c, std::string text) {
  data_.setColumnText(c, text);
  RedrawMe();
  PropertyChanged("ColumnText");
}

void ZorvaXPListBox::setColumnStyle(int32_t c, LHStyle style) {
  data_.setColumnStyle(c, style);
  RedrawMe();
  PropertyChanged("ColumnStyle");
}

void ZorvaXPListBox::setColumnAlignment(int32_t c, LHAlignment alignment) {
  data_.setColumnAlignment(c, alignment);
  RedrawMe();
  PropertyChanged("ColumnAlignment");
}

void ZorvaXPListBox::setColumnWidth(int32_t c, int32_t width) {
  if (width < 20) return;
  data_.setColumnWidth(c, width);
  RedrawMe();
  PropertyChanged("ColumnWidth");
}

void ZorvaXPListBox::ResortCol(int32_t col, LSortMethod method) {
  data_.ResortCol(col, method);
  RedrawList();
}

int32_t ZorvaXPListBox::FindItem(const std::string& s, int32_t c, int32_t start) { return data_.FindItem(s, c, start); }

int32_t ZorvaXPListBox::FindAndReplace(const std::string& s, const std::string& r, bool all, int32_t c,
                                       int32_t start) {
  return data_.FindAndReplace(s, r, all, c, start);
}

bool ZorvaXPListBox::FormatAColumn(int32_t c, const std::string& f) {
  const bool ok = data_.FormatAColumn(c, f);
  RedrawList();
  return ok;
}

// ---- Export, binding, spreadsheet ---------------------------------------------------------------------

// The workbook's header cells take the face of the list's header font; they stay bold and dark
// blue because the header's own fore colour is chosen for the header gradient, not for a white
// sheet (white by default). A missing automation object ends the export silently.
SheetFont ZorvaXPListBox::sheetHeaderFont() const {
  list::SheetFont f;
  if (m_HeaderFont && !m_HeaderFont->name.empty()) f.Name = m_HeaderFont->name;
  return f;
}

void ZorvaXPListBox::ExportToExcel() { data_.ExportToExcel(sheetHeaderFont()); }
void ZorvaXPListBox::ExportToExcelAsAFile(const std::string& iStrPath) {
  data_.ExportToExcelAsAFile(iStrPath, sheetHeaderFont());
}

void ZorvaXPListBox::SetupSpreadSheet(int32_t rows, int32_t cols, host::Variant obj) {
  if (rows < 1) return;
  setLockUpdate(true);
  if (cols < 1) m_ShowHeaders = false;
  if (cols > 1) {
    data_.ClearAllColumns();
    for (int32_t c = 1; c <= cols; ++c)
      data_.AddNewColumn("Column" + std::to_string(c), 100, LHStyle::Default, LHAlignment::Center);
    data_.setColumnWidth(1, 45);
    data_.setColumnText(1, "No");
    m_SetFirstColumnAsFixed = true;
  } else {
    data_.ClearAllColumns();
    m_SetFirstColumnAsFixed = false;
  }
  if (rows > 1) {
    data_.ClearAll();
    for (int32_t r = 1; r <= rows; ++r) data_.AddItem(std::to_string(r), false, 0, -1, -1);
    topRow_ = 1;
  }
  if (!obj.isEmpty()) BindObject(obj, data_.multiColumn() && m_SetFirstColumnAsFixed ? 2 : 1, cols);
  backDirty_ = true;
  setLockUpdate(false);
}

// ---- Late-bound forms -------------------------------------------------------------------------------

namespace {
// The elements of a collection: an array's, or an object's Item(1..Count) read through its members.
std::vector<host::Variant> collectionItems(const host::Variant& c) {
  if (c.kind() != host::Variant::Kind::Object) return *c.toArray();
  const host::ObjectRef object = c.toObject();
  if (!object) throw HostError(errObjectNotSet);
  host::Dispatchable* members = object->members();
  if (!members) throw HostError(errNotSupported);
  const int32_t count = host::getProperty(*members, "Count").toLong();
  std::vector<host::Variant> items;
  items.reserve(static_cast<size_t>(std::max(count, 0)));
  for (int32_t i = 1; i <= count; ++i) items.push_back(host::callMethod(*members, "Item", {host::Variant(i)}));
  return items;
}
}  // namespace

bool ZorvaXPListBox::lateAddItemEx(host::ObjectRef lItem) { return AddItemEx(LItemObject::rowOf(lItem)); }

bool ZorvaXPListBox::lateAddItemsByArray(host::Variant iListArray) {
  const host::ArrayRef items = iListArray.toArray();
  std::vector<std::string> texts;
  texts.reserve(items->size());
  for (const host::Variant& v : *items) texts.push_back(v.toString());
  return AddItemsByArray(texts);
}

bool ZorvaXPListBox::lateAddItemsByCollection(host::Variant iListCollection) {
  return AddItemsByCollection(collectionItems(iListCollection));
}

bool ZorvaXPListBox::lateAddItemsByParamArray(host::ArrayRef iListCollection) {
  return AddItemsByParamArray(*iListCollection);
}

bool ZorvaXPListBox::lateReplaceAItem(int32_t iItem, host::ObjectRef iClsListItem) {
  return ReplaceAItem(iItem, LItemObject::rowOf(iClsListItem));
}

host::ObjectRef ZorvaXPListBox::lateItem(int32_t iItem) const { return LItemObject::wrap(Item(iItem)); }

void ZorvaXPListBox::setLateItem(int32_t iItem, host::ObjectRef iClsListItem) {
  setItem(iItem, LItemObject::rowOf(iClsListItem));
}

host::ObjectRef ZorvaXPListBox::Parent() const {
  return host::FormObject::of(extender() ? extender()->Parent() : nullptr);
}

// ---- Member table -----------------------------------------------------------------------------------

const host::MemberTable& ZorvaXPListBox::memberTable() const {
  using L = ZorvaXPListBox;
  static const host::MemberTable table = [] {
    host::ClassMembers<L> m("ZorvaXPListBox");
#define ZXP_MEMBER(kind, T, Name, def, persist) m.property(#Name, &L::Name, &L::set##Name);
    ZXP_LISTBOX_PROPERTIES(ZXP_MEMBER)
#undef ZXP_MEMBER
    m.readOnlyProperty("Parent", &L::Parent)
        .readOnlyProperty("hwnd", &L::hwnd)
        .readOnlyProperty("CurrentWindowHandle", &L::CurrentWindowHandle)
        // Rows.
        .method("AddItem", &L::AddItem, 9)
        .params({"iText", "iCheck", "iData", "iNormalIcon", "iSelectedIcon", "bBold", "bItalic", "bUnderline",
                 "bStrikethought", "iIconCollection"})
        .method("AddItemEx", &L::lateAddItemEx).params({"lItem"})
        .method("AddItemsByArray", &L::lateAddItemsByArray).params({"iListArray"})
        .method("AddItemsByCollection", &L::lateAddItemsByCollection).params({"iListCollection"})
        .method("AddItemsByParamArray", &L::lateAddItemsByParamArray).paramArray().params({"iListCollection"})
        .method("RemoveItem", &L::RemoveItem).params({"iItemIndex"})
        .method("ClearAll", &L::ClearAll)
        .method("SwapItems", &L::SwapItems).params({"iFirstIndex", "iLastIndex"})
        .method("ReplaceAItem", &L::lateReplaceAItem).params({"iItem", "iClsListItem"})
        .method("ModifyItemText", &L::ModifyItemText).params({"iItem", "iText"})
        .method("ModifyItemUnicode", &L::ModifyItemUnicode, 4)
        .params({"iItem", "bBold", "bItalic", "bUnderline", "bStrikeThrough"})
        .indexedProperty("Item", &L::lateItem, &L::setLateItem).params({"iItem"})
        .indexedProperty("List", &L::List, &L::setList).params({"iItem"})
        .indexedProperty("ItemData", &L::ItemData, &L::setItemData).params({"iItem"})
        .indexedProperty("TextMatrix", &L::TextMatrix, &L::setTextMatrix).params({"iRow", "iColumn"})
        .indexedProperty("Cell", &L::Cell, &L::setCell).params({"iRowIndex", "iColumnIndex"})
        .indexedProperty("Selected", &L::Selected, &L::setSelected).params({"iItem"})
        .readOnlyProperty("SelectedCount", &L::SelectedCount)
        .property("ListIndex", &L::ListIndex, &L::setListIndex)
        .readOnlyProperty("ListCount", &L::ListCount)
        .property("Rows", &L::Rows, &L::setRows)
        .property("SelectedCell", &L::SelectedCell, &L::setSelectedCell)
        .property("ActiveCellValue", &L::ActiveCellValue, &L::setActiveCellValue)
        .property("ActiveCellNormalIcon", &L::ActiveCellNormalIcon, &L::setActiveCellNormalIcon)
        .property("ActiveCellSelectedIcon", &L::ActiveCellSelectedIcon, &L::setActiveCellSelectedIcon)
        .readOnlyProperty("SelectedColIndex", &L::SelectedColIndex)
        .readOnlyProperty("ExtendedCellFirst", &L::ExtendedCellFirst)
        .readOnlyProperty("ExtendedCellLast", &L::ExtendedCellLast)
        .method("SetIconByImageList", &L::SetIconByImageList, 2)
        .params({"iRowIndex", "iColumnIndex", "iNormalIconPos", "iSelectedIconPos"})
        .method("CheckAll", &L::CheckAll).params({"iColumnIndex"})
        .method("UnCheckAll", &L::UnCheckAll).params({"iColumnIndex"})
        .method("CheckSpecifyRange", &L::CheckSpecifyRange)
        .params({"iColumnIndex", "iStartRow", "iLastRow", "BValue"})
        .readOnlyProperty("MaxVerticalDisplayItems", &L::MaxVerticalDisplayItems)
        // Columns.
        .method("AddNewColumn", &L::AddNewColumn, 3)
        .params({"lpStrColumnName", "iColWidth", "iColStyle", "iColAlignment"})
        .method("RemoveColumn", &L::RemoveColumn).params({"iColumn"})
        .method("ClearAllColumns", &L::ClearAllColumns)
        .indexedProperty("ColumnText", &L::ColumnText, &L::setColumnText).params({"iColumn"})
        .indexedProperty("ColumnStyle", &L::ColumnStyle, &L::setColumnStyle).params({"iColumn"})
        .indexedProperty("ColumnAlignment", &L::ColumnAlignment, &L::setColumnAlignment).params({"iColumn"})
        .indexedProperty("ColumnWidth", &L::ColumnWidth, &L::setColumnWidth).params({"iColumn"})
        .readOnlyProperty("ColumnsCount", &L::ColumnsCount)
        .method("ResortCol", &L::ResortCol, 1).params({"iColNumber", "iSortMethod"})
        // Searching, formatting, aggregation.
        .method("FindItem", &L::FindItem, 2).params({"iFindString", "iColumnIndex", "iStartRowIndex"})
        .method("FindAndReplace", &L::FindAndReplace, 3)
        .params({"iFindString", "iReplaceTxt", "bReplaceAll", "iColumnIndex", "iStartRowIndex"})
        .method("FormatAColumn", &L::FormatAColumn).params({"iColumnIndex", "iFormatString"})
        .method("Sum", &L::Sum).params({"iColumnIndex"})
        .method("Average", &L::Average).params({"iColumnIndex"})
        // Export, refresh, binding, misc.
        .method("ExportToCsv", &L::ExportToCsv).params({"iStrPath"})
        .method("ExportToExcel", &L::ExportToExcel)
        .method("ExportToExcelAsAFile", &L::ExportToExcelAsAFile).params({"iStrPath"})
        .method("RedrawMe", &L::RedrawMe)
        .method("RedrawList", &L::RedrawList)
        .method("RefreshList", &L::RefreshList)
        .method("RefreshControl", &L::RefreshControl)
        .method("Refresh", &L::Refresh)
        .method("SetupSpreadSheet", &L::SetupSpreadSheet, 1).params({"iRowCount", "iColCount", "iObjTxtData"})
        .method("BindObject", &L::BindObject).params({"objBind", "iFirstColumnIndex", "iCountOfColumns"})
        .method("BindObjectArray", &L::BindObjectArray).params({"objBinds"})
        .method("UnBindObject", &L::UnBindObject).params({"iColumnIndex"})
        .method("OLEDrag", &L::OLEDrag)
        .method("zSubclass_Proc", &L::lateSubclassProc)
        .params({"bBefore", "bHandled", "lReturn", "lng_hWnd", "uMsg", "wParam", "lParam"})
        .about(&L::About)
        .event("Click", &L::Click)
        .event("DblClick", &L::DblClick)
        .event("AfterInsert", &L::AfterInsert)
        .event("BeforeInsert", &L::BeforeInsert)
        .event("BeforeCellEdit", &L::BeforeCellEdit, {"iRowIndex", "iColumnIndex", "iText"})
        .event("CellButtonClick", &L::CellButtonClick, {"iRowIndex", "iColumnIndex", "iText"})
        .event("CellClick", &L::CellClick,
               {"iRowIndex", "iColumnIndex", "lLeftPos", "lTopPos", "lRightPos", "lBottomPos", "iText"})
        .event("HeaderClick", &L::HeaderClick, {"iColumnIndex"})
        .event("HeaderAdvancedClick", &L::HeaderAdvancedClick, {"iColumnIndex", "iButton", "X", "Y"})
        .event("KeyDown", &L::KeyDown, {"KeyCode", "Shift"})
        .event("KeyPress", &L::KeyPress, {"KeyAscii"})
        .event("KeyUp", &L::KeyUp, {"KeyCode", "Shift"})
        .event("ListClick", &L::ListClick, {"iRowIndex", "iDisplayText"})
        .byValue()
        .event("ListIndexChange", &L::ListIndexChange, {"iNewListIndex", "iLastListIndex"})
        .event("MouseDown", &L::MouseDown, {"Button", "Shift", "X", "Y"})
        .event("MouseMove", &L::MouseMove, {"Button", "Shift", "X", "Y"})
        .event("MouseUp", &L::MouseUp, {"Button", "Shift", "X", "Y"})
        .event("OLECompleteDrag", &L::OLECompleteDrag, {"Effect"})
        .event("OLEDragDrop", &L::OLEDragDrop, {"Data", "Effect", "Button", "Shift", "X", "Y"})
        .event("OLEDragOver", &L::OLEDragOver, {"Data", "Effect", "Button", "Shift", "X", "Y", "State"})
        .event("OLEGiveFeedback", &L::OLEGiveFeedback, {"Effect", "DefaultCursors"})
        .event("OLESetData", &L::OLESetData, {"Data", "DataFormat"})
        .event("OLEStartDrag", &L::OLEStartDrag, {"Data", "AllowedEffects"})
        .event("RowClick", &L::RowClick, {"iRowIndex", "iDisplayText"})
        .event("VerticalScrolling", &L::VerticalScrolling, {"iTopIndex", "iScrollWay", "iScrollAmount"})
        .event("MouseWheel", &L::MouseWheel, {"iScrollWay"})
        .event("MouseEnter", &L::MouseEnter, {"X", "Y"})
        .event("MouseLeave", &L::MouseLeave, {"X", "Y"});
    host::MemberTable built = m.build();
    return built;
  }();
  return table;
}

// ---- Enumerations as type information shows them ----

const host::EnumType& describeEnum(LBStyle) {
  static const host::EnumType t{"LBStyle", {{"Gradient", 0}, {"Normal", 1}}};
  return t;
}

const host::EnumType& describeEnum(LBGStyle) {
  static const host::EnumType t{"LBGStyle", {{"VistaStyle", 0}, {"XpStyle", 1}}};
  return t;
}

const host::EnumType& describeEnum(LSelectionStyle) {
  static const host::EnumType t{"LSelectionStyle", {{"LSSGradient", 0}, {"LSSNormal", 1}}};
  return t;
}

const host::EnumType& describeEnum(LGridLines) {
  static const host::EnumType t{"LGridLines", {{"LGLNone", 0}, {"LGLVertical", 1}, {"LGLHorizantal", 2}, {"LGLBoth", 3}}};
  return t;
}

const host::EnumType& describeEnum(LPicturePos) {
  static const host::EnumType t{"LPicturePos", {{"LPicPosLeftTop", 0}, {"LPicPosCenterTop", 1}, {"LPicPosRightTop", 2}, {"LPicPosLeftMiddle", 3}, {"LPicPosCenterMiddle", 4}, {"LPicPosRightMiddle", 5}, {"LPicPosLeftBottom", 6}, {"LPicPosCenterBottom", 7}, {"LPicPosRightBottom", 8}, {"LPicPosCustom", 9}}};
  return t;
}

const host::EnumType& describeEnum(LScrollBars) {
  static const host::EnumType t{"LScrollBars", {{"LSBoth", 0}, {"LSVertical", 1}, {"LSHorizantal", 2}, {"LSNone", 3}}};
  return t;
}

}  // namespace zxp::list
