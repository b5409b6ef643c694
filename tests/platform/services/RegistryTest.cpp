#include "platform/services/Registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/TempWave.h"

namespace zxp::services {
namespace {

class RegistryTest : public ::testing::Test {
 protected:
  zxp::testing::TempDir dir;
  const std::string path = dir.file("sub/registry.reg");
};

TEST_F(RegistryTest, KeysAndValuesRoundTripThroughTheFile) {
  Registry r(path);
  ASSERT_TRUE(r.load());  // no file yet: an empty store
  r.setString("HKEY_CLASSES_ROOT\\CLSID\\{X}\\InprocServer32", "", "/lib/a \"b\\c\".so");
  r.setString("HKEY_CLASSES_ROOT\\CLSID\\{X}\\InprocServer32", "ThreadingModel", "Apartment");
  r.setDword("HKEY_CURRENT_USER\\Software\\ZorvaXP", "Count", 42);
  r.createKey("HKEY_CLASSES_ROOT\\CLSID\\{X}\\Control");
  std::string error;
  ASSERT_TRUE(r.save(&error)) << error;  // creates the folder

  Registry back(path);
  ASSERT_TRUE(back.load(&error)) << error;
  EXPECT_EQ(back.text(), r.text());
  // Names match without regard to case and keep their first spelling.
  const RegistryValue* v = back.value("hkey_classes_root\\clsid\\{x}\\inprocserver32", "threadingmodel");
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->text, "Apartment");
  EXPECT_EQ(back.value("HKEY_CLASSES_ROOT\\CLSID\\{X}\\InprocServer32", "")->text, "/lib/a \"b\\c\".so");
  EXPECT_EQ(back.value("HKEY_CURRENT_USER\\Software\\ZorvaXP", "Count")->number, 42u);
  EXPECT_EQ(back.subkeys("HKEY_CLASSES_ROOT\\CLSID\\{X}"), (std::vector<std::string>{"Control", "InprocServer32"}));
  EXPECT_EQ(back.text("hkey_current_user\\software"),
            "ZorvaXP Registry 1\n\n[HKEY_CURRENT_USER\\Software]\n\n[HKEY_CURRENT_USER\\Software\\ZorvaXP]\n"
            "\"Count\"=dword:0000002a\n");
  EXPECT_EQ(back.subkeys(""), (std::vector<std::string>{"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER"}));
  EXPECT_EQ(back.valueNames("HKEY_CLASSES_ROOT\\CLSID\\{X}\\InprocServer32"),
            (std::vector<std::string>{"", "ThreadingModel"}));
}

TEST_F(RegistryTest, DeletingAKeyTakesItsSubtreeOnly) {
  Registry r(path);
  r.setString("HKCR\\CLSID\\{A}\\ProgID", "", "a");
  r.setString("HKCR\\CLSID\\{A}B\\ProgID", "", "ab");  // shares a prefix, not a parent
  EXPECT_TRUE(r.deleteTree("HKCR\\CLSID\\{A}"));
  EXPECT_FALSE(r.hasKey("HKCR\\CLSID\\{A}\\ProgID"));
  EXPECT_TRUE(r.hasKey("HKCR\\CLSID\\{A}B\\ProgID"));
  EXPECT_TRUE(r.hasKey("HKCR\\CLSID"));
  EXPECT_FALSE(r.deleteTree("HKCR\\CLSID\\{A}"));
  EXPECT_FALSE(r.deleteTree(""));
}

TEST_F(RegistryTest, MalformedFilesAreRefusedWithTheirLine) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"", "line 1"}, {"REGEDIT4\n", "line 1"}, {"ZorvaXP Registry 1\n@=\"x\"\n", "line 2: a value before any key"},
      {"ZorvaXP Registry 1\n[K]\n\"unterminated=\"x\"\n", "line 3"},
      {"ZorvaXP Registry 1\n[K]\n@=dword:123456789\n", "line 3: bad dword"},
      {"ZorvaXP Registry 1\n[K]\n@=\"x\" trailing\n", "line 3: bad string"}, {"ZorvaXP Registry 1\n[K\n", "line 2"},
  };
  for (const auto& c : cases) {
    Registry r(path);
    std::string error;
    EXPECT_FALSE(r.parse(c.text, &error)) << c.text;
    EXPECT_NE(error.find(c.error), std::string::npos) << c.text << " gave " << error;
    EXPECT_TRUE(r.keys().empty());
  }
  // Numbers are eight hexadecimal digits and nothing else: what strtoul would also take (a sign,
  // "0x", leading spaces, fewer digits) is refused with the line, never stored as some number.
  for (const char* bad : {"-1", "-0000001", "0x1f", "0x00001f", " +7", "+0000007", " 0000007", "0000007 ", "1f",
                          "", "0000000g", "000000001", "0000_001"}) {
    Registry r(path);
    std::string error;
    const std::string text = std::string("ZorvaXP Registry 1\n[K]\n@=\"x\"\n\"N\"=dword:") + bad + "\n";
    EXPECT_FALSE(r.parse(text, &error)) << bad;
    EXPECT_NE(error.find("line 4: bad dword value"), std::string::npos) << bad << " gave " << error;
    EXPECT_TRUE(r.keys().empty()) << bad;
  }
  Registry r(path);
  ASSERT_TRUE(r.parse("ZorvaXP Registry 1\n[K]\n\"A\"=dword:ffffffff\n\"B\"=dword:0000002A\n", nullptr));
  EXPECT_EQ(r.value("K", "A")->number, 0xFFFFFFFFu);
  EXPECT_EQ(r.value("K", "B")->number, 42u);
}

TEST_F(RegistryTest, AFolderWhereTheFileShouldBeIsRefusedWithoutHarm) {
  std::filesystem::create_directories(path);
  Registry r(path);
  std::string error;
  EXPECT_FALSE(r.load(&error));
  EXPECT_FALSE(r.save(&error));
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

}  // namespace
}  // namespace zxp::services
