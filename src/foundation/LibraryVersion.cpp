#include "foundation/LibraryVersion.h"

// The build passes the project version; a build without it still gets a well-formed resource.
#ifndef ZXP_VERSION_MAJOR
#define ZXP_VERSION_MAJOR 0
#define ZXP_VERSION_MINOR 0
#define ZXP_VERSION_PATCH 0
#endif

namespace zxp {

namespace {

constexpr services::FileVersion kVersion{ZXP_VERSION_MAJOR, ZXP_VERSION_MINOR, ZXP_VERSION_PATCH, 0};

// Kept in the binary even though nothing reads it directly: it is there to be found in the file.
[[gnu::used]] alignas(4) constexpr services::VersionResource kVersionResource =
    services::makeVersionResource(kVersion, kVersion);

}  // namespace

services::FileVersion libraryVersion() {
  // Read back from the resource itself, which also keeps it linked into every user of this.
  return services::findFileVersion(kVersionResource).value_or(kVersion);
}

}  // namespace zxp
