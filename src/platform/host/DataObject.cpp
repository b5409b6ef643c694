#include "platform/host/DataObject.h"

#include "platform/base/HostError.h"

namespace zxp::host {

namespace {
void checkFormat(int32_t format) {
  if (format < -32768 || format > 65535 || format == 0) throw HostError(errInvalidProcedureCall);
}
}  // namespace

Variant DataObject::GetData(int32_t format) {
  checkFormat(format);
  auto d = data_->GetData(format);
  if (!d) throw HostError(errDataFormatMismatch);
  return Variant(*d);
}

void DataObject::SetData(const Variant& data, const Variant& format) {
  if (format.isEmpty()) {
    if (data.isEmpty() || data.kind() != Variant::Kind::String) throw HostError(errInvalidProcedureCall);
    data_->SetData(vbCFText, data.toString());
    return;
  }
  const int32_t f = format.toLong();
  checkFormat(f);
  if (data.isEmpty()) data_->SetData(f, std::nullopt);
  else data_->SetData(f, data.toString());
}

bool DataObject::GetFormat(int32_t format) const {
  if (format < -32768 || format > 65535) return false;
  return data_->GetFormat(format);
}

std::string DataObject::FilesItem(int32_t index) const {
  const auto& f = data_->Files();
  if (index < 1 || static_cast<size_t>(index) > f.size()) throw HostError(errSubscriptOutOfRange);
  return f[static_cast<size_t>(index - 1)];
}

void DataObject::FilesAdd(const std::string& name, int32_t index) {
  auto& f = data_->Files();
  if (index == 0) {
    f.push_back(name);
    return;
  }
  if (index < 1 || static_cast<size_t>(index) > f.size() + 1) throw HostError(errSubscriptOutOfRange);
  f.insert(f.begin() + (index - 1), name);
}

void DataObject::FilesRemove(int32_t index) {
  auto& f = data_->Files();
  if (index < 1 || static_cast<size_t>(index) > f.size()) throw HostError(errSubscriptOutOfRange);
  f.erase(f.begin() + (index - 1));
}

std::shared_ptr<DataObject> dataObjectOf(const Variant& v) {
  if (v.kind() != Variant::Kind::Object) return nullptr;
  return std::dynamic_pointer_cast<DataObject>(v.toObject());
}

}  // namespace zxp::host
