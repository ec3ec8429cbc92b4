// The startup shortcut in a folder of the test's own: overwritten, and a directory of its name.
// The link that the real program makes and deletes is read back with lnkinfo by a script test.
#include <windows.h>

#include <gtest/gtest.h>

#include "editing/StartupShortcut.h"
#include "support/TempDir.h"

namespace {

TEST(StartupShortcutTest, AShortcutIsOverwrittenAndADirectoryOfItsNameCountsAndStays) {
  qvtest::TempDir dir;
  const qv::editing::CStartupShortcut shortcut(dir.Path().wstring());
  ASSERT_TRUE(shortcut.CreateStartupShortcut());
  EXPECT_TRUE(shortcut.CreateStartupShortcut()) << "an existing shortcut is overwritten";
  shortcut.DeleteStartupShortcut();
  ASSERT_TRUE(::CreateDirectoryW(shortcut.ShortcutPath().c_str(), nullptr));
  EXPECT_TRUE(shortcut.IsStartupShortcutPresent());
  shortcut.DeleteStartupShortcut();
  EXPECT_TRUE(shortcut.IsStartupShortcutPresent());
}

}  // namespace
