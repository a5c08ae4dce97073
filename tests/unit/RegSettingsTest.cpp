#include <gtest/gtest.h>

#include "common/CRegSettings.h"
#include "common/MemoryRegistry.h"

using namespace tessaly;

namespace {

const RegHandle kHkcu = PredefinedRoot(kHKeyCurrentUser);
const char kApp[] = "Software\\Quillmark Inc.\\Tessaly Customizable Screen Saver";

struct RegSettingsTest : ::testing::Test {
  MemoryRegistry registry;
  CRegSettings settings{registry, "Quillmark Inc.", "Tessaly Customizable Screen Saver"};

  void StoreRaw(const std::string& section, const std::string& name, unsigned type, const std::string& bytes) {
    RegHandle key;
    ASSERT_EQ(registry.CreateKey(kHkcu, std::string(kApp) + "\\" + section, kKeyAllAccess, key), 0);
    registry.SetValue(key, name, type, reinterpret_cast<const unsigned char*>(bytes.data()),
                      static_cast<unsigned long>(bytes.size()));
    registry.CloseKey(key);
  }
};

}  // namespace

TEST_F(RegSettingsTest, WritesTextWithTerminatorAndReadsItBack) {
  EXPECT_TRUE(settings.SaveSetting("Options", "Interval", "5", kHkcu));
  const auto* v = registry.Find(kHkcu, std::string(kApp) + "\\Options", "Interval");
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->type, kRegSz);
  EXPECT_EQ(std::string(v->data.begin(), v->data.end()), std::string("5\0", 2));
  EXPECT_EQ(settings.GetSetting("Options", "Interval", "x", kHkcu), "5");
  EXPECT_EQ(settings.GetSetting("options", "INTERVAL", "x", kHkcu), "5");  // names ignore case
  EXPECT_EQ(registry.OpenHandles(), 0);
}

TEST_F(RegSettingsTest, MissingAndZeroByteValuesReadAsTheDefault) {
  EXPECT_EQ(settings.GetSetting("Nowhere", "X", "dflt", kHkcu), "dflt");
  EXPECT_EQ(settings.GetSetting("Nowhere", "X"), "");
  EXPECT_TRUE(settings.SaveSetting("Options", "InstallPath", "", kHkcu));
  const auto* v = registry.Find(kHkcu, std::string(kApp) + "\\Options", "InstallPath");
  ASSERT_NE(v, nullptr);
  EXPECT_TRUE(v->data.empty());
  EXPECT_EQ(settings.GetSetting("Options", "InstallPath", "EOF", kHkcu), "EOF");
  EXPECT_EQ(registry.OpenHandles(), 0);
}

TEST_F(RegSettingsTest, ReadingDropsTheLastStoredByteWhateverItIs) {
  StoreRaw("Options", "Raw", kRegSz, "abc");  // stored without a NUL by another program
  EXPECT_EQ(settings.GetSetting("Options", "Raw", "", kHkcu), "ab");
  StoreRaw("Options", "Dword", kRegDword, std::string("\x01\x00\x00\x00", 4));
  EXPECT_EQ(settings.GetSetting("Options", "Dword", "", kHkcu), std::string("\x01\x00\x00", 3));
}

TEST_F(RegSettingsTest, StarIsTheUnnamedValueAndEmptySectionIsTheAppKey) {
  EXPECT_TRUE(settings.SaveSetting("Options", "*", "unnamed", kHkcu));
  EXPECT_NE(registry.Find(kHkcu, std::string(kApp) + "\\Options", ""), nullptr);
  EXPECT_EQ(settings.GetSetting("Options", "*", "", kHkcu), "unnamed");
  EXPECT_TRUE(settings.DeleteSetting("Options", "*", kHkcu));
  EXPECT_EQ(registry.Find(kHkcu, std::string(kApp) + "\\Options", ""), nullptr);

  EXPECT_TRUE(settings.SaveSetting("", "Top", "t", kHkcu));
  EXPECT_NE(registry.Find(kHkcu, kApp, "Top"), nullptr);
  // A section holding "\" reaches a deeper key.
  EXPECT_TRUE(settings.SaveSetting("A\\B", "V", "deep", kHkcu));
  EXPECT_TRUE(registry.KeyExists(kHkcu, std::string(kApp) + "\\A\\B"));
}

TEST_F(RegSettingsTest, DeletesValuesAndWholeSections) {
  settings.SaveSetting("PictureFiles", "File0", "a", kHkcu);
  settings.SaveSetting("PictureFiles", "File1", "b", kHkcu);
  EXPECT_TRUE(settings.DeleteSetting("PictureFiles", "File1", kHkcu));
  EXPECT_FALSE(settings.DeleteSetting("PictureFiles", "File1", kHkcu));
  EXPECT_EQ(settings.GetSetting("PictureFiles", "File0", "EOF", kHkcu), "a");

  EXPECT_TRUE(settings.DeleteSetting("PictureFiles", "", kHkcu));
  EXPECT_FALSE(registry.KeyExists(kHkcu, std::string(kApp) + "\\PictureFiles"));
  EXPECT_EQ(settings.GetSetting("PictureFiles", "File0", "EOF", kHkcu), "EOF");
  EXPECT_FALSE(settings.DeleteSetting("PictureFiles", "", kHkcu));
  EXPECT_FALSE(settings.DeleteSetting("NoSuchSection", "X", kHkcu));
  EXPECT_EQ(registry.OpenHandles(), 0);
}

TEST_F(RegSettingsTest, CompanyAndAppNameAreTrimmedAndReset) {
  settings.SetCompany("  Other Co  ");
  settings.SetAppName(" App ");
  EXPECT_EQ(settings.Company(), "Other Co");
  EXPECT_EQ(settings.AppName(), "App");
  settings.SaveSetting("S", "V", "1", kHkcu);
  EXPECT_TRUE(registry.KeyExists(kHkcu, "Software\\Other Co\\App\\S"));
  settings.SetCompany("");
  settings.SetAppName("");
  EXPECT_EQ(settings.Company(), "Quillmark Inc.");
  EXPECT_EQ(settings.AppName(), "Tessaly Customizable Screen Saver");
}

TEST_F(RegSettingsTest, FailuresAreReportedThroughResultsOnly) {
  const RegHandle bogusRoot = 12345;
  EXPECT_FALSE(settings.SaveSetting("Options", "X", "1", bogusRoot));
  EXPECT_EQ(settings.GetSetting("Options", "X", "dflt", bogusRoot), "dflt");
  EXPECT_FALSE(settings.DeleteSetting("Options", "", bogusRoot));
  EXPECT_EQ(registry.OpenHandles(), 0);
}

namespace {

// A registry whose failed opens leave something in the handle, as a
// platform may, and that notes every handle closed.
class ScribblingRegistry : public MemoryRegistry {
 public:
  std::vector<RegHandle> closed;
  long OpenKey(RegHandle root, const std::string& subKey, unsigned access, RegHandle& key) override {
    const long rc = MemoryRegistry::OpenKey(root, subKey, access, key);
    if (rc != kRegSuccess) key = 0xBAD;
    return rc;
  }
  long CloseKey(RegHandle key) override {
    closed.push_back(key);
    return MemoryRegistry::CloseKey(key);
  }
};

}  // namespace

TEST(RegKey, HoldsAKeyOnlyFromAnOpenThatSucceededAndClosesItOnce) {
  ScribblingRegistry registry;
  for (const char* path : {"Software\\A", "Software\\B"}) {
    RegHandle made = 0;
    ASSERT_EQ(registry.CreateKey(kHkcu, path, kKeyAllAccess, made), kRegSuccess);
    registry.CloseKey(made);
  }
  registry.closed.clear();
  RegHandle first = 0, second = 0;
  {
    RegKey key(registry);
    EXPECT_NE(key.Open(kHkcu, "Software\\Missing", kKeyRead), kRegSuccess);
    EXPECT_FALSE(key);
    EXPECT_TRUE(registry.closed.empty());  // nothing was open, nothing is closed
    ASSERT_EQ(key.Open(kHkcu, "Software\\A", kKeyRead), kRegSuccess);
    first = key.get();
    // A failed open keeps the key held; a successful one closes it first.
    EXPECT_NE(key.Open(kHkcu, "Software\\Missing", kKeyRead), kRegSuccess);
    EXPECT_TRUE(key);
    EXPECT_EQ(key.get(), first);
    ASSERT_EQ(key.Create(kHkcu, "Software\\B", kKeyAllAccess), kRegSuccess);
    second = key.get();
    EXPECT_EQ(registry.closed, std::vector<RegHandle>{first});
    EXPECT_EQ(registry.OpenHandles(), 1);
  }
  EXPECT_EQ(registry.closed, (std::vector<RegHandle>{first, second}));
  EXPECT_EQ(registry.OpenHandles(), 0);
}
