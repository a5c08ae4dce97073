// What the about box reads from the registry: the system-information
// program's two locations and the maker's address.
#include <gtest/gtest.h>

#include "dialogs/AboutInfo.h"
#include "Fakes.h"
#include "common/MemoryRegistry.h"

using namespace tessaly;

namespace {

const RegHandle kMachine = PredefinedRoot(kHKeyLocalMachine);
const RegHandle kUser = PredefinedRoot(kHKeyCurrentUser);

struct AboutInfoTest : ::testing::Test {
  MemoryRegistry registry;
  FakeFileSystem fs;

  void Store(RegHandle root, const std::string& key, const std::string& name, unsigned type, const std::string& bytes) {
    RegHandle k;
    ASSERT_EQ(registry.CreateKey(root, key, kKeyAllAccess, k), 0);
    registry.SetValue(k, name, type, reinterpret_cast<const unsigned char*>(bytes.data()),
                      static_cast<unsigned long>(bytes.size()));
    registry.CloseKey(k);
  }
  // A REG_SZ as the platform stores it: the text and one NUL.
  void StoreText(RegHandle root, const std::string& key, const std::string& name, const std::string& text) {
    Store(root, key, name, kRegSz, text + '\0');
  }
};

}  // namespace

TEST_F(AboutInfoTest, TheStoredPathComesFirst) {
  StoreText(kMachine, kSysInfoPathKey, "PATH", "C:\\Tools\\msinfo32.exe");
  StoreText(kMachine, kSysInfoFolderKey, "MSINFO", "C:\\Other");
  fs.entries["C:\\Other\\MSINFO32.EXE"] = {false, false};
  EXPECT_EQ(SysInfoProgram(registry, fs), "C:\\Tools\\msinfo32.exe");
  EXPECT_TRUE(fs.searches.empty());  // the second location is not consulted
  EXPECT_EQ(registry.OpenHandles(), 0);
}

TEST_F(AboutInfoTest, TheFolderCountsOnlyWhenTheProgramIsThere) {
  StoreText(kMachine, kSysInfoFolderKey, "MSINFO", "C:\\Shared\\MSInfo");
  EXPECT_EQ(SysInfoProgram(registry, fs), "");
  fs.entries["C:\\Shared\\MSInfo\\MSINFO32.EXE"] = {false, false};
  EXPECT_EQ(SysInfoProgram(registry, fs), "C:\\Shared\\MSInfo\\MSINFO32.EXE");
  MemoryRegistry empty;
  EXPECT_EQ(SysInfoProgram(empty, fs), "");
}

TEST_F(AboutInfoTest, GetKeyValueKeepsTheTextAndDropsOneTerminator) {
  std::string value = "stale";
  Store(kMachine, "SOFTWARE\\T", "Plain", kRegSz, "abc");  // stored without a NUL
  EXPECT_TRUE(GetKeyValue(registry, kMachine, "SOFTWARE\\T", "Plain", value));
  EXPECT_EQ(value, "abc");
  Store(kMachine, "SOFTWARE\\T", "Number", kRegDword, std::string("\x05\0\0\0", 4));
  EXPECT_TRUE(GetKeyValue(registry, kMachine, "SOFTWARE\\T", "Number", value));
  EXPECT_EQ(value, "");  // no usable path
  EXPECT_FALSE(GetKeyValue(registry, kMachine, "SOFTWARE\\T", "Missing", value));
  EXPECT_FALSE(GetKeyValue(registry, kMachine, "SOFTWARE\\Nowhere", "PATH", value));
  Store(kMachine, "SOFTWARE\\T", "Long", kRegSz, std::string(1500, 'x'));
  EXPECT_FALSE(GetKeyValue(registry, kMachine, "SOFTWARE\\T", "Long", value));  // beyond the buffer
  EXPECT_EQ(value, "");
  EXPECT_EQ(registry.OpenHandles(), 0);
}

TEST_F(AboutInfoTest, TheMakerAddressFollowsTheUsersSetting) {
  EXPECT_EQ(MakerAddress(registry, "http://www.quillmark.com"), "http://www.quillmark.com");
  StoreText(kUser, "Software\\Quillmark Inc.\\qmunins", "BaseAddress", "http://localhost:8080/");
  EXPECT_EQ(MakerAddress(registry, "http://www.quillmark.com"), "http://localhost:8080");
}
