// The host's DataObject: what the six drag-and-drop events carry as their Data argument (held in
// a Variant of kind Object). It fronts a platform data object (ui/DragDrop.h) with the host's
// members: GetData(Format), SetData([Data], [Format]), GetFormat(Format), Clear and the Files
// collection. Formats are the host's numbers: vbCFText 1, vbCFBitmap 2, vbCFDIB 8, vbCFFiles 15,
// vbCFRTF -16639, and registered formats as 16-bit signed values.
#pragma once

#include <memory>
#include <string>

#include "platform/host/Variant.h"
#include "platform/ui/DragDrop.h"

namespace zxp::host {

constexpr int16_t vbCFText = 1;
constexpr int16_t vbCFBitmap = 2;
constexpr int16_t vbCFMetafile = 3;
constexpr int16_t vbCFDIB = 8;
constexpr int16_t vbCFPalette = 9;
constexpr int16_t vbCFEMetafile = 14;
constexpr int16_t vbCFFiles = 15;
constexpr int16_t vbCFRTF = -16639;

// The effects of the OLE events (Effect, AllowedEffects).
constexpr int32_t vbDropEffectNone = 0;
constexpr int32_t vbDropEffectCopy = 1;
constexpr int32_t vbDropEffectMove = 2;
constexpr int32_t vbDropEffectScroll = static_cast<int32_t>(0x80000000u);
// OLEDragOver's State.
constexpr int16_t vbEnter = 0;
constexpr int16_t vbLeave = 1;
constexpr int16_t vbOver = 2;

// The host's error for asking a data object for a format it does not hold.
constexpr int32_t errDataFormatMismatch = 461;

class DataObject final : public HostObject {
 public:
  explicit DataObject(std::shared_ptr<ui::DataObject> data) : data_(std::move(data)) {}
  static std::shared_ptr<DataObject> create() { return std::make_shared<DataObject>(ui::DataObject::create()); }
  std::string typeName() const override { return "DataObject"; }

  // The data of a format as a String (text in UTF-8); error 461 when the object has no such
  // format, 5 for a format outside the 16-bit range.
  Variant GetData(int32_t format);
  // SetData(Data, Format): stores the data (a String or a number's text) under the format;
  // SetData(Empty, Format) declares the format, to be rendered on request (OLESetData);
  // SetData(Data) with text and no format stores text. Error 5 without a format for non-text.
  void SetData(const Variant& data = Variant(), const Variant& format = Variant());
  bool GetFormat(int32_t format) const;
  void Clear() { data_->Clear(); }

  // The Files collection (1-based, as the host's collections are).
  int32_t FilesCount() const { return static_cast<int32_t>(data_->Files().size()); }
  std::string FilesItem(int32_t index) const;  // error 9 out of range
  void FilesAdd(const std::string& name, int32_t index = 0);  // 0: at the end
  void FilesRemove(int32_t index);
  void FilesClear() { data_->Files().clear(); }

  ui::DataObject& platform() { return *data_; }
  const std::shared_ptr<ui::DataObject>& platformRef() const { return data_; }

 private:
  std::shared_ptr<ui::DataObject> data_;
};

// The data object a Variant holds; nullptr when it holds none.
std::shared_ptr<DataObject> dataObjectOf(const Variant& v);

}  // namespace zxp::host
