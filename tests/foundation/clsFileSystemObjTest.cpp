#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "foundation/LibraryVersion.h"
#include "foundation/clsFileSystemObj.h"
#include "platform/base/HostError.h"

namespace zxp {
namespace {

namespace fs = std::filesystem;

// The host error number a call raises (0 when it returns), checking that the error carries the
// host's text for its number.
template <class F>
int32_t raised(F&& call) {
  try {
    call();
  } catch (const HostError& e) {
    EXPECT_EQ(e.description(), hostErrorText(e.number()));
    EXPECT_STREQ(e.what(), hostErrorText(e.number()).c_str());
    return e.number();
  }
  return 0;
}

// A fresh folder tree under the temporary folder, removed afterwards:
//   a.txt ("hello"), b.TXT (empty), noext, .hidden, sub/ (empty)
class FileSystemObj : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string templ = (fs::temp_directory_path() / "zxp-fso-XXXXXX").string();
    ASSERT_NE(mkdtemp(templ.data()), nullptr);
    root_ = templ;
    write("a.txt", "hello");
    write("b.TXT", "");
    write("noext", "n");
    write(".hidden", "h");
    fs::create_directory(path("sub"));
  }
  void TearDown() override {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root_, ec); it != fs::recursive_directory_iterator(); ++it) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(root_, ec);
  }

  std::string path(const std::string& rel) const { return root_ + "/" + rel; }
  // The same path written with the platform's backslashes.
  std::string winPath(const std::string& rel) const {
    std::string p = path(rel);
    for (char& c : p) c = c == '/' ? '\\' : c;
    return p;
  }
  void write(const std::string& rel, const std::string& content) const {
    std::ofstream(path(rel), std::ios::binary) << content;
  }
  std::string read(const std::string& rel) const {
    std::ifstream in(path(rel), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  bool exists(const std::string& rel) const { return fs::exists(fs::symlink_status(path(rel))); }

  std::string root_;
  clsFileSystemObj fso;
};

TEST_F(FileSystemObj, CopyFileNeverReplacesWhatItMustNot) {
  EXPECT_TRUE(fso.CopyFile(winPath("c.txt"), winPath("a.txt"), false));
  EXPECT_EQ(read("c.txt"), "hello");
  EXPECT_EQ(fs::last_write_time(path("c.txt")), fs::last_write_time(path("a.txt")));

  write("c.txt", "other");
  EXPECT_FALSE(fso.CopyFile(path("c.txt"), path("a.txt"), false));
  EXPECT_EQ(read("c.txt"), "other");
  EXPECT_TRUE(fso.CopyFile(path("c.txt"), path("a.txt"), true));
  EXPECT_EQ(read("c.txt"), "hello");

  fso.SetAttributes(path("c.txt"), vbReadOnly);
  write("a.txt", "changed");
  EXPECT_FALSE(fso.CopyFile(path("c.txt"), path("a.txt"), true));  // read-only target
  EXPECT_EQ(read("c.txt"), "hello");

  EXPECT_FALSE(fso.CopyFile(path("a.txt"), path("a.txt"), true));  // onto itself
  EXPECT_EQ(read("a.txt"), "changed");
  EXPECT_FALSE(fso.CopyFile(path("d.txt"), path("sub"), true));  // a folder is no file
  EXPECT_FALSE(fso.CopyFile(path("sub"), path("a.txt"), true));  // nor a target
  EXPECT_FALSE(exists("d.txt"));
}

TEST_F(FileSystemObj, DeleteFileTakesOnlyWritableFiles) {
  EXPECT_TRUE(fso.DeleteFile(winPath("a.txt")));
  EXPECT_FALSE(exists("a.txt") || fso.DeleteFile(path("a.txt")) || fso.DeleteFile(path("sub")));
  EXPECT_TRUE(exists("sub"));
  EXPECT_FALSE(fso.DeleteFile(path("noext/")) || fso.DeleteFile(path("*")));
  EXPECT_TRUE(exists("noext"));
  fso.SetAttributes(path("noext"), vbReadOnly);
  EXPECT_FALSE(fso.DeleteFile(path("noext")));
  EXPECT_TRUE(exists("noext"));
  // A link goes, its target stays.
  fs::create_symlink(path("noext"), path("link"));
  EXPECT_TRUE(fso.DeleteFile(path("link")) && exists("noext"));
}

TEST_F(FileSystemObj, MoveFileRenamesWithoutReplacing) {
  EXPECT_TRUE(fso.MoveFile(winPath("a.txt"), winPath("moved.txt")));
  EXPECT_EQ(read("moved.txt"), "hello");
  EXPECT_FALSE(exists("a.txt") || fso.MoveFile(path("moved.txt"), path("noext")));
  EXPECT_EQ(std::tuple(read("moved.txt"), read("noext")), std::tuple("hello", "n"));
  EXPECT_FALSE(fso.MoveFile(path("moved.txt"), path("sub")));  // existing folder
  EXPECT_TRUE(fso.MoveFile(path("sub"), path("sub2")));  // folders move too
  EXPECT_FALSE(fso.MoveFile(path("sub2"), path("sub2/inner")) || fso.MoveFile(path("*.txt"), path("x")));
  EXPECT_TRUE(exists("noext"));
}

TEST_F(FileSystemObj, MoveFileCrossesFileSystemsForFiles) {
  // Needs a second file system: the shared-memory one, when it differs from the temp folder's.
  struct stat a, b;
  if (stat(root_.c_str(), &a) != 0 || stat("/dev/shm", &b) != 0 || a.st_dev == b.st_dev) {
    GTEST_SKIP() << "no second writable file system (/dev/shm) beside " << root_;
  }
  const std::string other = "/dev/shm/" + fs::path(root_).filename().string() + "-moved";
  const auto time = fs::last_write_time(path("a.txt"));
  ASSERT_TRUE(fso.MoveFile(path("a.txt"), other));
  EXPECT_FALSE(exists("a.txt"));
  EXPECT_EQ(std::tuple(fs::file_size(other), fs::last_write_time(other)), std::tuple(5u, time));
  fs::remove(other);
}

TEST_F(FileSystemObj, FoldersAreCreatedAndRemovedOneLevelAtATime) {
  EXPECT_EQ(raised([&] { fso.CreateFolder(winPath("new")); }), 0);
  EXPECT_TRUE(fs::is_directory(path("new")));
  EXPECT_EQ(raised([&] { fso.CreateFolder(path("new")); }), errPathFileAccess);
  EXPECT_EQ(raised([&] { fso.CreateFolder(path("a.txt")); }), errPathFileAccess);
  EXPECT_EQ(raised([&] { fso.CreateFolder(path("x/y")); }), errPathNotFound);
  EXPECT_EQ(raised([&] { fso.CreateFolder(path("a.txt/y")); }), errPathNotFound);
  EXPECT_EQ(raised([&] { fso.CreateFolder(path("n*w")); }), errBadFileNameOrNumber);

  write("new/f", "");
  EXPECT_EQ(raised([&] { fso.DeleteFolder(path("new")); }), errPathFileAccess);  // not empty
  fs::remove(path("new/f"));
  fs::permissions(path("new"), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_EQ(raised([&] { fso.DeleteFolder(path("new")); }), errPermissionDenied);  // read-only
  fso.SetAttributes(path("new"), vbNormal);
  EXPECT_EQ(raised([&] { fso.DeleteFolder(path("new") + "/"); }), 0);
  EXPECT_FALSE(exists("new"));
  EXPECT_EQ(raised([&] { fso.DeleteFolder(path("new")); }), errPathNotFound);
  EXPECT_EQ(raised([&] { fso.DeleteFolder(path("a.txt")); }), errPathNotFound);  // a file
  EXPECT_TRUE(exists("a.txt"));
  EXPECT_EQ(raised([&] { fso.DeleteFolder(path("s*")); }), errBadFileNameOrNumber);
  EXPECT_TRUE(exists("sub"));
}

TEST_F(FileSystemObj, ExistenceTests) {
  EXPECT_TRUE(fso.FileExists(winPath("a.txt")));
  // a folder is not a file
  EXPECT_FALSE(fso.FileExists(path("sub")) || fso.FileExists(path("*.txt")) || fso.FileExists(path("a.txt/")));
  EXPECT_TRUE(fso.FileExists("/dev/null"));
  ASSERT_EQ(mkfifo(path("pipe").c_str(), 0600), 0);
  EXPECT_TRUE(fso.FileExists(path("pipe")));  // opens without waiting for a writer

  EXPECT_TRUE(fso.FolderExists(winPath("sub")));
  EXPECT_TRUE(fso.FolderExists(path("a.txt")));  // the search finds files too
  EXPECT_FALSE(fso.FolderExists(path("sub") + "\\"));  // a trailing separator names no entry
  EXPECT_FALSE(fso.FolderExists(path("sub") + "/"));
  EXPECT_TRUE(fso.FolderExists(path("*.TXT")));
  EXPECT_FALSE(fso.FolderExists(path("*.none")) || fso.FolderExists(path("missing") + "/"));

  EXPECT_TRUE(fso.DriverExists("C") && fso.DriverExists("c:\\"));
  EXPECT_FALSE(fso.DriverExists("Q:"));
  EXPECT_TRUE(fso.DriverExists(root_));
  EXPECT_FALSE(fso.DriverExists(path("a.txt")));
}

TEST_F(FileSystemObj, SearchesCountDotEntriesAndUsePlatformWildcards) {
  fs::create_directory(path("two"));
  write("two/x.bmp", "");
  write("two/Y.BMP", "");
  EXPECT_EQ(fso.FilesCount(winPath("two"), "*.*"), 4);  // two files, "." and ".."
  EXPECT_EQ(fso.FindFiles(winPath("two"), "*.*"), ".|..|x.bmp|Y.BMP");
  EXPECT_EQ(fso.FindFiles(path("two"), "*.ico"), "");
  // No filter: the pattern ends in the separator and the search finds nothing. Wildcards work
  // only in the last part.
  EXPECT_EQ(std::tuple(fso.FilesCount(path("two")), fso.FindFiles(path("two"), "")), std::tuple(0, ""));
  for (auto [dir, filter, count] : {std::tuple{"two", "*.bmp", 2}, {"two", "*.ico", 0}, {"two", "x.bmp", 1},
                                    {"two", "?.bmp", 2}, {"t*", "*.*", 0}, {"a.txt", "*", 0}})
    EXPECT_EQ(fso.FilesCount(path(dir), filter), count) << dir << " " << filter;

  EXPECT_EQ(std::tuple(fso.FindFiles(root_, "*"), fso.FindFiles(root_, "*."), fso.FindFiles(root_, "*.txt")),
            std::tuple(".|..|.hidden|a.txt|b.TXT|noext|sub|two", ".|..|noext|sub|two", "a.txt|b.TXT"));

  // A name on disk that is not UTF-8 is still found and counted, shown with "?".
  write("bad\xff.txt", "");
  EXPECT_EQ(fso.FilesCount(root_, "*.txt"), 3);
  EXPECT_EQ(fso.FindFiles(root_, "*.txt"), "a.txt|b.TXT|bad?.txt");
}

TEST_F(FileSystemObj, AttributesMapToThisMachine) {
  EXPECT_EQ(fso.GetAttributes(winPath("a.txt")), vbArchive);
  EXPECT_EQ(fso.GetAttributes(path("sub")), vbDirectory);
  EXPECT_EQ(fso.GetAttributes(path(".hidden")), vbHidden | vbArchive);
  EXPECT_EQ(fso.GetAttributes("/dev/null") & vbSystem, vbSystem);

  fso.SetAttributes(path("a.txt"), vbReadOnly | vbArchive);
  EXPECT_EQ(fso.GetAttributes(path("a.txt")), vbReadOnly | vbArchive);
  EXPECT_EQ(fs::status(path("a.txt")).permissions() & fs::perms::all & ~fs::perms::owner_read &
                ~fs::perms::group_read & ~fs::perms::others_read,
            fs::perms::none);
  fso.SetAttributes(path("a.txt"), vbNormal);
  EXPECT_EQ(fso.GetAttributes(path("a.txt")), vbArchive);
  fso.SetAttributes(path("a.txt"), vbHidden);  // derived from the name here: no effect
  EXPECT_EQ(fso.GetAttributes(path("a.txt")), vbArchive);
  fso.SetAttributes(path("sub"), vbReadOnly);
  EXPECT_EQ(fso.GetAttributes(path("sub")), vbDirectory | vbReadOnly);

  EXPECT_EQ(raised([&] { fso.SetAttributes(path("a.txt"), vbDirectory); }), errInvalidProcedureCall);
  EXPECT_EQ(raised([&] { fso.SetAttributes(path("missing"), vbNormal); }), errFileNotFound);
  EXPECT_EQ(raised([&] { fso.GetAttributes(path("missing")); }), errFileNotFound);
  EXPECT_EQ(raised([&] { fso.GetAttributes(path("nodir/x")); }), errPathNotFound);
  EXPECT_EQ(raised([&] { fso.GetAttributes(path("*.txt")); }), errBadFileNameOrNumber);
  fs::create_symlink(path("gone"), path("dangling"));
  EXPECT_EQ(raised([&] { fso.GetAttributes(path("dangling")); }), errFileNotFound);
}

TEST_F(FileSystemObj, FileSizeIsTheHostsLongInteger) {
  EXPECT_EQ(fso.GetFileSize(winPath("a.txt")), 5);
  EXPECT_EQ(fso.GetFileSize(path("b.TXT")), 0);
  EXPECT_EQ(raised([&] { fso.GetFileSize(path("sub")); }), errPathFileAccess);
  EXPECT_EQ(raised([&] { fso.GetFileSize(path("missing")); }), errFileNotFound);
  // Past 4 GiB only the low 32 bits remain (a sparse file takes no space).
  fs::resize_file(path("b.TXT"), (uint64_t(1) << 32) + 7);
  EXPECT_EQ(fso.GetFileSize(path("b.TXT")), 7);
}

TEST_F(FileSystemObj, FileDateIsTheHostsLocalDate) {
  // 2021-03-04 05:06:07.75 local time; the host's date keeps whole seconds.
  std::tm local{};
  std::tie(local.tm_year, local.tm_mon, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, local.tm_isdst) =
      std::tuple(2021 - 1900, 2, 4, 5, 6, 7, -1);
  const timespec times[2] = {{mktime(&local), 750000000}, {mktime(&local), 750000000}};
  ASSERT_EQ(utimensat(AT_FDCWD, path("a.txt").c_str(), times, 0), 0);
  EXPECT_EQ(fso.GetFileDateAndTime(winPath("a.txt")), *host::makeDate(2021, 3, 4, 5, 6, 7));
  ASSERT_EQ(utimensat(AT_FDCWD, path("sub").c_str(), times, 0), 0);
  EXPECT_EQ(fso.GetFileDateAndTime(path("sub")), *host::makeDate(2021, 3, 4, 5, 6, 7));
  EXPECT_EQ(raised([&] { fso.GetFileDateAndTime(path("missing")); }), errFileNotFound);
  EXPECT_EQ(raised([&] { fso.GetFileDateAndTime(path("?.txt")); }), errBadFileNameOrNumber);
}

TEST_F(FileSystemObj, LateBoundCallsByName) {
  using host::Variant;
  // The filter is optional; without one the pattern ends in the separator and finds nothing.
  EXPECT_EQ(host::callMethod(fso, "FilesCount", {Variant(path("sub"))}).toLong(), 0);
  EXPECT_EQ(host::callMethod(fso, "FilesCount", {Variant(path("sub")), Variant("*")}).toLong(), 2);
  EXPECT_EQ(host::callMethod(fso, "filescount", {Variant(root_), Variant("*.txt")}).toLong(), 2);
  EXPECT_THROW(host::callMethod(fso, "FindFiles", {Variant(root_)}), HostError);
  // Booleans are the host's: True is -1.
  const Variant copied = host::callMethod(fso, "CopyFile", {Variant(path("c")), Variant(path("a.txt")), Variant(true)});
  EXPECT_EQ(std::tuple(copied.kind(), copied.toVBBool()), std::tuple(Variant::Kind::Boolean, vbTrue));
  EXPECT_TRUE(host::callMethod(fso, "SetAttributes", {Variant(path("c")), Variant(int32_t{vbReadOnly})}).isEmpty());
  EXPECT_EQ(host::callMethod(fso, "GetAttributes", {Variant(path("c"))}).toLong(), vbReadOnly | vbArchive);
  EXPECT_EQ(host::callMethod(fso, "GetFileDateAndTime", {Variant(path("c"))}).kind(), Variant::Kind::Date);
  EXPECT_EQ(raised([&] { host::callMethod(fso, "GetFileSize", {Variant(path("missing"))}); }), errFileNotFound);
}

TEST_F(FileSystemObj, TitlesAndShortNames) {
  for (const auto& [in, title] : std::vector<std::pair<std::string, std::string>>{
           {"C:\\dir\\report.final.txt", "report.final.txt"}, {"dir/ name.txt  ", "name.txt"},
           {std::string("x/a.txt\0tail", 12), "a.txt"}, {"C:name", "name"}, {"dir\\", ""}, {"dir\\a*.txt", ""},
           {"dir\\a|b", ""}, {"bad\xff", ""}})
    EXPECT_EQ(fso.GetFileTitle(in), title) << in;

  EXPECT_EQ(fso.GetBaseName(winPath("a.txt")), winPath("a.txt"));
  EXPECT_EQ(fso.GetBaseName(path("*.txt")), "");
  // An existing path too long for the platform's 260-character buffer gives nothing.
  std::string deep = "sub";
  while (path(deep).size() < 300) {
    deep += "/" + std::string(60, 'd');
    fs::create_directory(path(deep));
  }
  EXPECT_EQ(fso.GetBaseName(path(deep)), "");
  EXPECT_TRUE(fso.FolderExists(path(deep)));
}

TEST_F(FileSystemObj, FileVersionOfTheLibrarysOwnFilesOnly) {
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  EXPECT_EQ(fso.GetFileVersion(self), libraryVersion().text());
  for (const char* other : {"a.txt", "sub", "*"}) EXPECT_EQ(fso.GetFileVersion(path(other)), "") << other;
}

TEST_F(FileSystemObj, WellKnownFolders) {
  const std::string temp = fso.GetTempoaryFolderPath();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '/');
  EXPECT_TRUE(fs::is_directory(temp));
  EXPECT_EQ(std::tuple(fso.GetWindowsFolderPath(), fso.GetSystemFolderPath(), fso.GetStartMenuPath()),
            std::tuple("/usr", "/usr/lib", "/usr/share/applications"));
  const std::string desktop = fso.GetDesktopPath();
  EXPECT_EQ(fs::path(desktop).filename(), "Desktop");
  EXPECT_EQ(specialFolderPath(SpecialFolderIDs::sfidDESKTOPDIRECTORY), desktop);
  EXPECT_EQ(specialFolderPath(SpecialFolderIDs::sfidFAVORITES), "");
  EXPECT_EQ(specialFolderPath(SpecialFolderIDs::sfidProgramFiles), "/opt");

  // A temporary folder too long for the platform's buffer is not handed back.
  const char* saved = std::getenv("TMPDIR");
  const std::string savedValue = saved ? saved : "";
  std::string longTemp = root_;
  while (longTemp.size() < 270) {
    longTemp += "/" + std::string(50, 't');
    fs::create_directory(longTemp);
  }
  setenv("TMPDIR", longTemp.c_str(), 1);
  EXPECT_EQ(fso.GetTempoaryFolderPath(), "");
  if (saved) {
    setenv("TMPDIR", savedValue.c_str(), 1);
  } else {
    unsetenv("TMPDIR");
  }
}

// Runs this thread's file access as an ordinary user. As root that means switching the
// file-system user id to nobody's, which also drops root's permission overrides for files;
// everyone else already is an ordinary user.
class Unprivileged {
 public:
  Unprivileged() {
    if (geteuid() != 0) return;
    setfsuid(65534);
    switched_ = setfsuid(65534) == 65534;  // answers the id now in force
  }
  ~Unprivileged() {
    if (geteuid() == 0) setfsuid(0);
  }
  bool ready() const { return geteuid() != 0 || switched_; }

 private:
  bool switched_ = false;
};

TEST_F(FileSystemObj, PermissionDeniedPaths) {
  fs::create_directory(path("locked"));
  write("locked/secret.txt", "s");
  fs::permissions(path("locked"), fs::perms::none);
  {
    Unprivileged user;
    if (!user.ready()) GTEST_SKIP() << "cannot drop root's file permissions (setfsuid refused)";
    EXPECT_FALSE(fso.FileExists(path("locked/secret.txt")) || fso.FolderExists(path("locked/secret.txt")));
    EXPECT_EQ(fso.FilesCount(path("locked"), "*"), 0);
    EXPECT_FALSE(fso.DriverExists(path("locked")) || fso.CopyFile(path("a-copy"), path("locked/secret.txt"), true));
    EXPECT_FALSE(fso.CopyFile(path("locked/x"), path("a.txt"), true) || fso.DeleteFile(path("locked/secret.txt")) ||
                 fso.MoveFile(path("locked/secret.txt"), path("out")));
    EXPECT_EQ(fso.GetFileVersion(path("locked/secret.txt")), "");
    EXPECT_EQ(raised([&] { fso.GetAttributes(path("locked/secret.txt")); }), errPermissionDenied);
    EXPECT_EQ(raised([&] { fso.GetFileSize(path("locked/secret.txt")); }), errPermissionDenied);
    EXPECT_EQ(raised([&] { fso.GetFileDateAndTime(path("locked/secret.txt")); }), errPermissionDenied);
    EXPECT_EQ(raised([&] { fso.CreateFolder(path("locked/new")); }), errPermissionDenied);
    EXPECT_EQ(raised([&] { fso.SetAttributes(path("locked/secret.txt"), vbNormal); }), errPermissionDenied);
    EXPECT_EQ(raised([&] { fso.DeleteFolder(path("locked/new")); }), errPermissionDenied);
  }
  fs::permissions(path("locked"), fs::perms::owner_all);
  EXPECT_EQ(read("locked/secret.txt"), "s");
  EXPECT_FALSE(exists("a-copy") || exists("out"));
}

// Every operation meets the same bad inputs: the Boolean calls say False, the raising calls
// raise one of the host's file errors, the text calls give nothing; nothing crashes.
TEST_F(FileSystemObj, BadInputFailsByContract) {
  const std::string bad[] = {
      "",
      path("missing"),
      path("nodir/missing"),
      path("a*b"),
      path("a?b"),
      path(std::string(300, 'n')),                       // a name too long
      path(std::string(2100, 'p') + "/" + std::string(2100, 'q')),  // a path too long
      path("bad\xff\xfe"),                                // not UTF-8
      "Q:\\nothing",                                      // no such drive
      path(std::string("a.txt\0", 6)) + "junk",           // cut at the NUL: a.txt ... see below
  };
  const int32_t fileErrors[] = {errFileNotFound, errPathNotFound, errBadFileNameOrNumber,
                                errPermissionDenied, errPathFileAccess};
  const auto isFileError = [&](int32_t n) { return std::find(std::begin(fileErrors), std::end(fileErrors), n) != std::end(fileErrors); };
  for (size_t i = 0; i + 1 < std::size(bad); ++i) {
    const std::string& p = bad[i];
    const bool creatable = i == 1;  // a missing name in an existing folder is a fine target
    SCOPED_TRACE(p.substr(0, 80));
    EXPECT_FALSE(fso.CopyFile(path("copy"), p, true) || fso.DeleteFile(p) || fso.MoveFile(p, path("moved")));
    EXPECT_FALSE(fso.FileExists(p) || fso.FolderExists(p) || fso.DriverExists(p));
    if (!p.empty()) {  // an empty path makes the pattern "\*", the drive's root
      EXPECT_EQ(std::tuple(fso.FilesCount(p, "*"), fso.FindFiles(p, "*")), std::tuple(0, ""));
    }
    EXPECT_EQ(std::tuple(fso.GetBaseName(p), fso.GetFileVersion(p)), std::tuple("", ""));
    EXPECT_PRED1(isFileError, raised([&] { fso.GetAttributes(p); }));
    EXPECT_PRED1(isFileError, raised([&] { fso.SetAttributes(p, vbNormal); }));
    EXPECT_PRED1(isFileError, raised([&] { fso.GetFileSize(p); }));
    EXPECT_PRED1(isFileError, raised([&] { fso.GetFileDateAndTime(p); }));
    EXPECT_PRED1(isFileError, raised([&] { fso.DeleteFolder(p); }));
    if (!creatable) {
      EXPECT_FALSE(fso.CopyFile(p, path("a.txt"), true) || fso.MoveFile(path("noext"), p));
      EXPECT_PRED1(isFileError, raised([&] { fso.CreateFolder(p); }));
    }
  }
  EXPECT_FALSE(exists("copy") || exists("moved"));
  EXPECT_TRUE(exists("noext"));
  EXPECT_EQ(raised([&] { fso.CreateFolder(""); }), errPathNotFound);
  // The platform reads a path up to its NUL: what follows is not part of the name.
  EXPECT_TRUE(fso.FileExists(bad[std::size(bad) - 1]));
}

}  // namespace
}  // namespace zxp
