// The startup shortcut, made in a folder of the test's own and read back through the shell.
#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "editing/StartupShortcut.h"
#include "support/TempDir.h"

namespace {

struct LinkFields {
  std::wstring path, description, workingDirectory, iconPath;
  int iconIndex = -1;
};

LinkFields ReadLink(const std::wstring& file) {
  LinkFields fields;
  ::CoInitialize(nullptr);
  IShellLinkW* link = nullptr;
  IPersistFile* persist = nullptr;
  if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
      SUCCEEDED(persist->Load(file.c_str(), STGM_READ))) {
    wchar_t text[MAX_PATH] = {};
    link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    fields.path = text;
    link->GetDescription(text, MAX_PATH);
    fields.description = text;
    link->GetWorkingDirectory(text, MAX_PATH);
    fields.workingDirectory = text;
    link->GetIconLocation(text, MAX_PATH, &fields.iconIndex);
    fields.iconPath = text;
  }
  if (persist) persist->Release();
  if (link) link->Release();
  ::CoUninitialize();
  return fields;
}

TEST(StartupShortcutTest, TheCommandTwiceCreatesThenRemovesALinkToTheProgram) {
  qvtest::TempDir dir;
  const qv::editing::CStartupShortcut shortcut(dir.Path().wstring());
  EXPECT_EQ(L"\\ぼれる.lnk", shortcut.ShortcutPath().substr(dir.Path().wstring().size()));
  EXPECT_FALSE(shortcut.IsStartupShortcutPresent());

  ASSERT_TRUE(shortcut.CreateStartupShortcut());
  EXPECT_TRUE(shortcut.IsStartupShortcutPresent());
  wchar_t program[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, program, MAX_PATH);
  const std::wstring programPath = program;
  const LinkFields link = ReadLink(shortcut.ShortcutPath());
  EXPECT_EQ(programPath, link.path);
  EXPECT_EQ(L"ぼれる", link.description);
  EXPECT_EQ(programPath.substr(0, programPath.rfind(L'\\')), link.workingDirectory);
  EXPECT_EQ(programPath, link.iconPath);
  EXPECT_EQ(0, link.iconIndex);
  EXPECT_TRUE(shortcut.CreateStartupShortcut()) << "an existing shortcut is overwritten";

  shortcut.DeleteStartupShortcut();
  EXPECT_FALSE(shortcut.IsStartupShortcutPresent());
}

TEST(StartupShortcutTest, ADirectoryOfTheShortcutsNameCountsAsPresentAndStays) {
  qvtest::TempDir dir;
  const qv::editing::CStartupShortcut shortcut(dir.Path().wstring());
  ASSERT_TRUE(::CreateDirectoryW(shortcut.ShortcutPath().c_str(), nullptr));
  EXPECT_TRUE(shortcut.IsStartupShortcutPresent());
  shortcut.DeleteStartupShortcut();
  EXPECT_TRUE(shortcut.IsStartupShortcutPresent());
}

}  // namespace
