#include <gtest/gtest.h>

#include "common/CRegSettings.h"
#include "common/ScopedWin.h"

using namespace tessaly;

namespace {

// Each test works under a company name of its own and removes it afterwards.
struct RegistryWinTest : ::testing::Test {
  std::string company = "TessalyTest " + std::to_string(GetCurrentProcessId()) + " " +
                        ::testing::UnitTest::GetInstance()->current_test_info()->name();
  CRegSettings settings{SystemRegistry(), company, "App"};

  ~RegistryWinTest() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + company).c_str());
  }

  std::string RawBytes(const std::string& section, const std::string& name, DWORD* type) {
    RegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, ("Software\\" + company + "\\App\\" + section).c_str(), KEY_READ) !=
        ERROR_SUCCESS)
      return "<no key>";
    char data[1024];
    DWORD size = sizeof data;
    LONG rc = RegQueryValueExA(key.get(), name.c_str(), nullptr, type, reinterpret_cast<BYTE*>(data), &size);
    return rc == ERROR_SUCCESS ? std::string(data, size) : "<no value>";
  }
};

}  // namespace

TEST_F(RegistryWinTest, RoundTripsTextAsTerminatedRegSz) {
  ASSERT_TRUE(settings.SaveSetting("Options", "Interval", "0.05"));
  DWORD type = 0;
  EXPECT_EQ(RawBytes("Options", "Interval", &type), std::string("0.05\0", 5));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(settings.GetSetting("Options", "Interval", "5"), "0.05");
  std::string entry(512, ' ');
  entry.replace(0, 5, "a.jpg");
  ASSERT_TRUE(settings.SaveSetting("PictureFiles", "File0", entry));
  EXPECT_EQ(settings.GetSetting("PictureFiles", "File0", "EOF"), entry);
}

TEST_F(RegistryWinTest, EmptyTextIsStoredAsZeroBytesAndReadsAsDefault) {
  ASSERT_TRUE(settings.SaveSetting("Options", "InstallPath", ""));
  DWORD type = 0;
  EXPECT_EQ(RawBytes("Options", "InstallPath", &type), "");
  EXPECT_EQ(settings.GetSetting("Options", "InstallPath", "dflt"), "dflt");
}

TEST_F(RegistryWinTest, ForeignValuesLoseTheirLastByte) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, ("Software\\" + company + "\\App\\Options").c_str(), 0,
                            nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  DWORD one = 1;
  RegSetValueExA(key, "Dword", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  RegSetValueExA(key, "Binary", 0, REG_BINARY, reinterpret_cast<const BYTE*>("xyz"), 3);
  RegCloseKey(key);
  EXPECT_EQ(settings.GetSetting("Options", "Dword"), std::string("\x01\0\0", 3));
  EXPECT_EQ(settings.GetSetting("Options", "Binary"), "xy");
}

TEST_F(RegistryWinTest, DeletesValuesSectionsAndTheUnnamedValue) {
  ASSERT_TRUE(settings.SaveSetting("SoundFiles", "File0", "a"));
  ASSERT_TRUE(settings.SaveSetting("SoundFiles", "*", "default"));
  EXPECT_EQ(settings.GetSetting("SoundFiles", "*"), "default");
  EXPECT_TRUE(settings.DeleteSetting("SoundFiles", "*"));
  EXPECT_EQ(settings.GetSetting("SoundFiles", "*", "gone"), "gone");
  EXPECT_TRUE(settings.DeleteSetting("SoundFiles"));
  EXPECT_EQ(settings.GetSetting("SoundFiles", "File0", "EOF"), "EOF");
  EXPECT_FALSE(settings.DeleteSetting("SoundFiles"));
  EXPECT_FALSE(settings.DeleteSetting("Missing", "X"));
}

TEST_F(RegistryWinTest, ASecondObjectSeesWritesAtOnce) {
  CRegSettings other(SystemRegistry(), "x", "y");
  other.SetCompany(" " + company + " ");
  other.SetAppName("App");
  ASSERT_TRUE(settings.SaveSetting("Options", "LastPicture", "3"));
  EXPECT_EQ(other.GetSetting("Options", "LastPicture", "0"), "3");
}
