// The service-folder watcher: a write wakes it, a stop ends it in time, and a folder that does
// not exist yet costs nothing until it appears.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/LogWatcher.h"
#include "support/TempDir.h"

namespace {

class LogWatcherTest : public ::testing::Test {
 protected:
  bool Start(const std::string& directory) {
    return watcher.StartLogWatcher(directory, [this] { ::SetEvent(changed.Get()); });
  }
  // Appends to a file of the folder until the watcher has seen it.
  bool WriteUntilSeen(const std::string& file, DWORD milliseconds) {
    for (DWORD waited = 0; waited < milliseconds; waited += 250) {
      qvtest::WriteBytes(file, "line\r\n");
      if (::WaitForSingleObject(changed.Get(), 250) == WAIT_OBJECT_0) return true;
    }
    return false;
  }
  static double ThreadSeconds(HANDLE thread) {
    FILETIME created, exited, kernel, user;
    ::GetThreadTimes(thread, &created, &exited, &kernel, &user);
    const auto ticks = [](FILETIME t) {
      return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
  }

  qvtest::TempDir dir;
  qv::UniqueHandle changed{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  CLogWatcher watcher;
};

TEST_F(LogWatcherTest, AWriteIsPassedOnAndAStopEndsTheThreadInTime) {
  // Starting again replaces the watcher; the new one sees writes too.
  for (int start = 0; start < 2; ++start) {
    ASSERT_TRUE(Start(dir.Path().string()));
    EXPECT_TRUE(WriteUntilSeen(dir.File("vorel.log"), 5000));
  }

  const ULONGLONG before = ::GetTickCount64();
  watcher.StopLogWatcher();
  EXPECT_LT(::GetTickCount64() - before, 2000u);
  EXPECT_FALSE(watcher.IsRunning());
}

TEST_F(LogWatcherTest, AMissingFolderCostsNoTimeAndIsWatchedOnceItExists) {
  const std::string folder = dir.File("SVC");
  ASSERT_TRUE(Start(folder));
  ::Sleep(10000);
  EXPECT_LT(ThreadSeconds(watcher.ThreadHandle()), 0.2) << "the watcher must not spin";
  EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), ::WaitForSingleObject(changed.Get(), 0));

  std::filesystem::create_directory(folder);
  EXPECT_TRUE(WriteUntilSeen(folder + "\\vorel.log", CLogWatcher::kRetryMilliseconds + 5000));
}

}  // namespace
