// The scoped owners of Windows handles: each holds only what was really
// opened, and what it held is closed when it goes.
#include <gtest/gtest.h>

#include <string>

#include "common/ScopedWin.h"

using namespace tessaly;

namespace {

std::string TempPath(const std::string& name) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + "scoped" + std::to_string(GetCurrentProcessId()) + name;
}

HANDLE OpenAlone(const std::string& path, DWORD disposition) {
  return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

}  // namespace

TEST(ScopedWin, AFileHandleIsClosedOnceWhenItGoesOrIsMoved) {
  const std::string path = TempPath("a.txt");
  {
    KernelHandle file(OpenAlone(path, CREATE_ALWAYS));
    ASSERT_TRUE(file);
    // Opened without sharing: a second open fails while the first is held.
    KernelHandle again(OpenAlone(path, OPEN_EXISTING));
    EXPECT_FALSE(again);
    KernelHandle moved(std::move(file));
    EXPECT_FALSE(file);
    EXPECT_TRUE(moved);
    EXPECT_TRUE(moved.Close());
    EXPECT_FALSE(moved);
    EXPECT_TRUE(moved.Close());  // nothing left to close
    KernelHandle third(OpenAlone(path, OPEN_EXISTING));
    EXPECT_TRUE(third);
  }
  KernelHandle last(OpenAlone(path, OPEN_EXISTING));
  EXPECT_TRUE(last);
  last.Close();
  EXPECT_TRUE(DeleteFileA(path.c_str()));
  // A failed open gives INVALID_HANDLE_VALUE, which is never closed.
  KernelHandle missing(OpenAlone(path, OPEN_EXISTING));
  EXPECT_FALSE(missing);
}

TEST(ScopedWin, ARegistryKeyIsHeldOnlyFromAnOpenThatSucceeded) {
  const std::string path = "Software\\TessalyScopedTest" + std::to_string(GetCurrentProcessId());
  RegistryKey key;
  EXPECT_NE(key.Open(HKEY_CURRENT_USER, (path + "\\Missing").c_str(), KEY_READ), ERROR_SUCCESS);
  EXPECT_FALSE(key);
  ASSERT_EQ(key.Create(HKEY_CURRENT_USER, path.c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS);
  const DWORD value = 7;
  ASSERT_EQ(RegSetValueExA(key.get(), "V", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value),
            ERROR_SUCCESS);
  // A failed open keeps the key held, and it still works.
  EXPECT_NE(key.Open(HKEY_CURRENT_USER, (path + "\\Missing").c_str(), KEY_READ), ERROR_SUCCESS);
  DWORD read = 0, size = sizeof read;
  EXPECT_EQ(RegQueryValueExA(key.get(), "V", nullptr, nullptr, reinterpret_cast<BYTE*>(&read), &size), ERROR_SUCCESS);
  EXPECT_EQ(read, value);
  EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()), ERROR_SUCCESS);
}

TEST(ScopedWin, ALibraryGivesItsFunctionsOrNothing) {
  const Library kernel("kernel32.dll");
  ASSERT_TRUE(kernel);
  EXPECT_EQ(reinterpret_cast<void*>(kernel.Function<DWORD(WINAPI*)()>("GetTickCount")),
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount")));
  EXPECT_EQ(kernel.Function<DWORD(WINAPI*)()>("NoSuchFunctionAnywhere"), nullptr);
  const Library missing("no_such_library_anywhere.dll");
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.Function<DWORD(WINAPI*)()>("GetTickCount"), nullptr);
}
