// The one error type that reaches the host: the platform's error number and its text.
// Operations that "raise" throw HostError; drawing failures never do (they stay silent).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace zxp {

// The host runtime's error numbers used by the library.
enum HostErrorNumber : int32_t {
  errInvalidProcedureCall = 5,
  errOverflow = 6,
  errOutOfMemory = 7,
  errSubscriptOutOfRange = 9,
  errDivisionByZero = 11,
  errTypeMismatch = 13,
  errBadFileNameOrNumber = 52,
  errFileNotFound = 53,
  errFileAlreadyOpen = 55,
  errDeviceIOError = 57,
  errFileAlreadyExists = 58,
  errDiskFull = 61,
  errInputPastEndOfFile = 62,
  errBadFileName = 64,
  errTooManyFiles = 67,
  errPermissionDenied = 70,
  errDiskNotReady = 71,
  errRenameAcrossDrives = 74,
  errPathFileAccess = 75,
  errPathNotFound = 76,
  errObjectNotSet = 91,
  errCantCreateObject = 429,
  errInvalidFileFormat = 321,
  errInvalidPropertyValue = 380,
  errInvalidPropertyArrayIndex = 381,
  errPropertyReadOnly = 383,
  errWrongArgumentCount = 450,
  errNotSupported = 438,
  errNoSuchEvent = 459,
};

// The host's standard text for an error number ("Subscript out of range" for 9, ...);
// "Application-defined or object-defined error" for numbers it does not know.
std::string hostErrorText(int32_t number);

class HostError : public std::runtime_error {
 public:
  explicit HostError(int32_t number);
  HostError(int32_t number, const std::string& description, const std::string& source = {});

  int32_t number() const { return number_; }
  const std::string& description() const { return description_; }
  const std::string& source() const { return source_; }

 private:
  int32_t number_;
  std::string description_;
  std::string source_;
};

}  // namespace zxp
