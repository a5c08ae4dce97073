#include <gtest/gtest.h>

#include "common/CRegSettings.h"
#include "common/ScopedWin.h"
#include "common/WideText_win.h"

using namespace tessaly;

namespace {

// Each test works under a company name of its own and removes it afterwards.
struct RegistryWinTest : ::testing::Test {
  std::string company = "TessalyTest " + std::to_string(GetCurrentProcessId()) + " " +
                        ::testing::UnitTest::GetInstance()->current_test_info()->name();
  CRegSettings settings{SystemRegistry(), company, "App"};

  ~RegistryWinTest() override { RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + company).c_str()); }

  std::string RawBytes(const std::string& section, const std::string& name, DWORD* type) {
    RegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, ("Software\\" + company + "\\App\\" + section).c_str(), KEY_READ) != ERROR_SUCCESS)
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
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, ("Software\\" + company + "\\App\\Options").c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
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

TEST_F(RegistryWinTest, NamesInAnyLanguageAreStoredAsTheyAre) {
  std::string entry(512, ' ');
  const std::string name = "\xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x8C\x85.jpg";  // 東京 🌅.jpg
  const std::string folder =
      "C:\\Zdj\xC4\x99"
      "cia\\\xC5\x81\xC3\xB3"
      "d\xC5\xBA\\";
  entry.replace(0, name.size(), name);
  entry.replace(255, folder.size(), folder);
  ASSERT_TRUE(settings.SaveSetting("PictureFiles", "File0", entry));
  EXPECT_EQ(settings.GetSetting("PictureFiles", "File0", "EOF"), entry);
  // What the registry holds is the text, in UTF-16, with its terminator.
  wchar_t data[1024] = {};
  DWORD size = sizeof data;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, Wide("Software\\" + company + "\\App\\PictureFiles").c_str(), L"File0",
                         RRF_RT_REG_SZ, nullptr, data, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(data), Wide(entry));
  EXPECT_EQ(size, (Wide(entry).size() + 1) * sizeof(wchar_t));
}

TEST_F(RegistryWinTest, ValuesTheAnsiCallsStoredReadTheSame) {
  // As the current version stored a folder "C:\Bilder\Grüße\": in the code page.
  std::string ansi;
  if (!SystemAnsiCodePage().FromUtf8("C:\\Bilder\\Gr\xC3\xBC\xC3\x9F"
                                     "e\\",
                                     ansi))
    GTEST_SKIP() << "this system's code page has no umlauts";
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, ("Software\\" + company + "\\App\\PictureFiles").c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "File0", 0, REG_SZ, reinterpret_cast<const BYTE*>(ansi.c_str()),
                 static_cast<DWORD>(ansi.size() + 1));
  RegCloseKey(key);
  EXPECT_EQ(settings.GetSetting("PictureFiles", "File0", "EOF"),
            "C:\\Bilder\\Gr\xC3\xBC\xC3\x9F"
            "e\\");
  // And what is stored now reads the same through the A calls.
  ASSERT_TRUE(settings.SaveSetting("PictureFiles", "File1",
                                   "C:\\Bilder\\Gr\xC3\xBC\xC3\x9F"
                                   "e\\"));
  DWORD type = 0;
  EXPECT_EQ(RawBytes("PictureFiles", "File1", &type), ansi + std::string(1, '\0'));
}
