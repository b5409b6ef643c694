// The library's own version, carried by every program that links this object as the platform's
// version resource (platform/services/VersionInfo.h), so that clsFileSystemObj.GetFileVersion
// and the platform's version tools report it for the library's files. The number is the build's
// project version (major.minor.patch), with revision 0.
#pragma once

#include "platform/services/VersionInfo.h"

namespace zxp {

services::FileVersion libraryVersion();

}  // namespace zxp
