// Libraries opened on first call: a function found by name behaves as the real one, and a missing
// library or symbol is a LazyLibraryError naming it (the call never reaches a null pointer).
#include "platform/base/LazyLibrary.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

namespace zxp::base {
namespace {

// zlib is loaded in every run already (libpng needs it), so opening it costs nothing.
constinit LazyLibrary zlib{"libz.so.1"};
constinit LazyFunction<decltype(::crc32)> lazyCrc32{zlib, "crc32"};
constinit LazyLibrary missing{"libzxp-no-such-library.so.7"};
constinit LazyFunction<int(int)> fromMissing{missing, "anything"};
constinit LazyFunction<int(int)> missingSymbol{zlib, "zxp_no_such_symbol"};

TEST(LazyLibrary, FunctionsAnswerAsTheRealOnesOnceOpened) {
  // The standard CRC-32 check value.
  const unsigned char text[] = "123456789";
  EXPECT_EQ(lazyCrc32(0, text, 9), 0xCBF43926u);
  EXPECT_TRUE(zlib.isOpen());
  EXPECT_EQ(lazyCrc32(0, text, 0), 0u);
}

TEST(LazyLibrary, AskingWhetherALibraryIsLoadedDoesNotLoadIt) {
  LazyLibrary unloaded{"libzxp-no-such-library.so.7"};
  EXPECT_FALSE(unloaded.openIfLoaded());
  EXPECT_FALSE(unloaded.isOpen());
  LazyLibrary libc{"libc.so.6"};  // loaded in every process, but not through this object
  EXPECT_TRUE(libc.openIfLoaded());
  EXPECT_TRUE(libc.isOpen());
}

TEST(LazyLibrary, MissingLibraryOrSymbolIsAClearError) {
  std::string why;
  EXPECT_FALSE(missing.open(&why));
  EXPECT_FALSE(why.empty());
  EXPECT_FALSE(missing.isOpen());
  try {
    fromMissing(1);
    FAIL() << "no error";
  } catch (const LazyLibraryError& e) {
    EXPECT_NE(std::string(e.what()).find("libzxp-no-such-library.so.7"), std::string::npos) << e.what();
  }
  try {
    missingSymbol(1);
    FAIL() << "no error";
  } catch (const LazyLibraryError& e) {
    EXPECT_NE(std::string(e.what()).find("zxp_no_such_symbol"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace zxp::base
