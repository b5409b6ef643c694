#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "foundation/LibraryVersion.h"
#include "platform/services/FileServices.h"
#include "platform/services/VersionInfo.h"

namespace zxp::services {
namespace {

TEST(FileServicesWildcards, PlatformRulesForDottedNames) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {
      {"*.*", "abc", true},       {"*.*", ".", true},         {"*.*", "..", true},
      {"*", "a.b.c", true},       {"*.txt", "a.txt", true},   {"*.txt", "A.TXT", true},
      {"*.txt", "a.b.txt", true}, {"*.txt", "a.txt.bak", false}, {"*.txt", "txt", false},
      {"*.t*", "a.tx", true},     {"?", "a", true},           {"?", "ab", false},
      {"?", ".", false},          {"a??", "a", true},         {"a??", "abc", true},
      {"a??", "abcd", false},     {"a?.txt", "a.txt", true},  {"a?.txt", "ab.txt", true},
      {"a?.txt", "abc.txt", false}, {"*.", "abc", true},      {"*.", "a.b", false},
      {"a*.*", "abc", true},      {"*a*b", "xaxb", true},     {"*a*b", "xaxa", false},
      {"\u00e9*", "\u00e9t\u00e9", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(matchesWildcard(c.name, c.pattern), c.match) << c.pattern << " / " << c.name;
  }
}

TEST(FileServicesWildcards, BacktrackingPatternsStayQuick) {
  // Would take exponential time without memoisation.
  const std::string name(255, 'a');
  EXPECT_FALSE(matchesWildcard(name, "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b"));
  EXPECT_TRUE(matchesWildcard(name, "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a"));
}

TEST(FileServicesPaths, SeparatorsDrivesNulAndBadBytes) {
  // Either separator, the C: drive as the root (only it), a NUL ending the path, bad UTF-8.
  struct Case { std::string path; int error; const char* native; };
  for (const Case& c : {Case{"a\\b/c", 0, "a/b/c"}, Case{"C:\\tmp\\x", 0, "/tmp/x"}, Case{"c:", 0, "."},
                        Case{"D:\\x", ENOENT, ""}, Case{std::string("ab\0cd", 5), 0, "ab"}, Case{"", ENOENT, ""},
                        Case{"bad\xff", EINVAL, ""}}) {
    std::string native;
    EXPECT_EQ(toNativePath(c.path, native), c.error) << c.path;
    if (!c.error) {
      EXPECT_EQ(native, c.native) << c.path;
    }
  }
  EXPECT_EQ(lastPathPart("/a/.b/"), ".b");
  EXPECT_EQ(lastPathPart("/"), "/");
}

TEST(FileServicesVersion, FindsTheBlockAndSkipsLookAlikes) {
  const VersionResource block = makeVersionResource({1, 2, 3, 4}, {5, 6, 7, 8});
  std::vector<uint8_t> bytes(301, 0xAA);
  // A decoy: the key without a valid header, then the real block at an odd offset.
  std::copy(block.begin() + 6, block.begin() + 38, bytes.begin() + 20);
  std::copy(block.begin(), block.end(), bytes.begin() + 101);
  const auto found = findFileVersion(bytes);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->text(), "1.2.3.4");
  // Cut short, the block is not whole and is not reported.
  EXPECT_FALSE(findFileVersion(std::span<const uint8_t>(bytes.data(), 101 + 91)).has_value());
}

TEST(FileServicesVersion, ReadsABlockThatStraddlesTheReadChunks) {
  char path[] = "/tmp/zxp-version-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  // Built from run-time values so that this test program carries no such block itself.
  const FileVersion v{static_cast<uint16_t>(std::atoi("7")), 8, 9, 10};
  const VersionResource block = makeVersionResource(v, v);
  std::vector<uint8_t> bytes((1u << 20) + 200, 0);
  std::copy(block.begin(), block.end(), bytes.begin() + (1u << 20) - 40);
  ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  close(fd);
  const auto found = readFileVersion(path);
  std::remove(path);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(*found, v);
  EXPECT_FALSE(readFileVersion("/nonexistent/file").has_value());
}

TEST(FileServicesVersion, ThisProgramCarriesTheLibraryVersion) {
  const auto found = readFileVersion("/proc/self/exe");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(*found, libraryVersion());
}

}  // namespace
}  // namespace zxp::services
