// The startup shortcut in a folder of the test's own: made, overwritten, deleted, and a
// directory of its name. What the link holds is read back with lnkinfo by a script test.
#include <windows.h>

#include <gtest/gtest.h>

#include "editing/StartupShortcut.h"
#include "support/TempDir.h"

namespace {

TEST(StartupShortcutTest, CreateOverwritesAndDeleteRemovesTheShortcut) {
  qvtest::TempDir dir;
  const qv::editing::CStartupShortcut shortcut(dir.Path().wstring());
  EXPECT_EQ(L"\\ぼれる.lnk", shortcut.ShortcutPath().substr(dir.Path().wstring().size()));
  EXPECT_FALSE(shortcut.IsStartupShortcutPresent());

  ASSERT_TRUE(shortcut.CreateStartupShortcut());
  EXPECT_TRUE(shortcut.IsStartupShortcutPresent());
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
