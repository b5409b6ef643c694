#include "platform/base/HostError.h"

namespace zxp {

std::string hostErrorText(int32_t number) {
  switch (number) {
    case 5: return "Invalid procedure call or argument";
    case 6: return "Overflow";
    case 7: return "Out of memory";
    case 9: return "Subscript out of range";
    case 11: return "Division by zero";
    case 13: return "Type mismatch";
    case 52: return "Bad file name or number";
    case 53: return "File not found";
    case 55: return "File already open";
    case 57: return "Device I/O error";
    case 58: return "File already exists";
    case 61: return "Disk full";
    case 62: return "Input past end of file";
    case 64: return "Bad file name";
    case 67: return "Too many files";
    case 70: return "Permission denied";
    case 71: return "Disk not ready";
    case 74: return "Can't rename with different drive";
    case 75: return "Path/File access error";
    case 76: return "Path not found";
    case 91: return "Object variable or With block variable not set";
    case 321: return "Invalid file format";
    case 380: return "Invalid property value";
    case 381: return "Invalid property array index";
    case 383: return "Property is read-only";
    case 429: return "ActiveX component can't create object";
    case 438: return "Object doesn't support this property or method";
    case 450: return "Wrong number of arguments or invalid property assignment";
    case 459: return "Object or class does not support the set of events";
    default: return "Application-defined or object-defined error";
  }
}

HostError::HostError(int32_t number) : HostError(number, hostErrorText(number)) {}

HostError::HostError(int32_t number, const std::string& description, const std::string& source)
    : std::runtime_error(description), number_(number), description_(description), source_(source) {}

}  // namespace zxp
