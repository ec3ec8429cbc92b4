// Passes on Windows for real: a window program's pass prompts the registered main window with
// message 874 after every line and waits at every notify; a service pass appends its lines to
// the service log beside the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/MemClean.h"
#include "framework/Cp932.h"
#include "settings/Utility.h"
#include "support/Conditions.h"

namespace {

constexpr UINT kIdleKick = 0x036A;

struct Observation {
  bool sent;
  std::size_t linesBefore;
  std::size_t linesAfterHandling;
};

CMemClean* g_engine = nullptr;
std::vector<Observation>* g_observations = nullptr;

LRESULT CALLBACK ObservingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kIdleKick && g_engine && g_observations) {
    const bool sent = ::InSendMessage() != FALSE;
    const std::size_t before = g_engine->m_aLog.GetCount();
    // While a sent prompt is being handled the pass thread must stand still.
    if (sent) ::Sleep(20);
    g_observations->push_back({sent, before, g_engine->m_aLog.GetCount()});
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

class WindowPassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ObservingWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QuorvelEngineTestWindow";
    ::RegisterClassW(&windowClass);
    window = ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10,
                               nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(nullptr, window);
    g_engine = &clean;
    g_observations = &observations;
    SetEngineNotifyWindow(window);
  }
  void TearDown() override {
    SetEngineNotifyWindow(nullptr);
    g_engine = nullptr;
    g_observations = nullptr;
    ::DestroyWindow(window);
  }

  // The window thread's message loop until the pass has ended and the queue is empty.
  void PumpUntilPassEnds() {
    const DWORD deadline = ::GetTickCount() + 20000;
    MSG msg;
    for (;;) {
      while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
      if (!clean.m_bRunning && clean.WaitForPass(0)) break;
      ASSERT_LT(::GetTickCount(), deadline) << "the pass did not end";
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  }

  HWND window = nullptr;
  CMemClean clean;
  std::vector<Observation> observations;
};

TEST_F(WindowPassTest, EveryLineIsPostedAndEveryNotifyWaitsForTheWindow) {
  ASSERT_EQ(1, DoCleanUp(&clean));
  PumpUntilPassEnds();
  ASSERT_EQ(7u, clean.m_aLog.GetCount()) << "start line, memory state, end line";

  int posted = 0;
  int sentCount = 0;
  for (const Observation& o : observations) {
    if (o.sent) {
      ++sentCount;
      EXPECT_EQ(o.linesBefore, o.linesAfterHandling) << "the pass wrote while the window worked";
    } else {
      ++posted;
    }
  }
  EXPECT_EQ(7, posted);
  EXPECT_EQ(3, sentCount) << "after the start line, after the end line, at the end of the pass";
  // The first prompt that is sent comes right after the start line.
  for (const Observation& o : observations) {
    if (o.sent) {
      EXPECT_EQ(1u, o.linesBefore);
      break;
    }
  }
}

TEST(ServicePassTest, ServicePassAppendsToTheServiceLogBesideTheProgram) {
  const std::string directory = GetApplicationPath() + "\\SVC";
  const std::wstring logPath = qv::Cp932ToWide(directory + "\\vorel.log");
  ::DeleteFileW(logPath.c_str());

  CMemClean clean;
  // No operation: a quick pass.
  clean.m_appSetting.m_aOperationTime.push_back(qvtest::AlwaysMatchingCondition(9));
  clean.m_bServiceMode = 1;
  ASSERT_EQ(1, DoCleanUp(&clean));
  ASSERT_TRUE(clean.WaitForPass(20000));
  EXPECT_EQ(0, clean.m_bRunning);
  EXPECT_TRUE(clean.m_aLog.IsEmpty());

  std::ifstream in(logPath.c_str(), std::ios::binary);
  const std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(0u, log.find("--- 実行条件判断によるオペレーション開始 "));
  // "開始" in code page 932, each line ended by CR LF.
  EXPECT_NE(std::string::npos, log.find("\x8a\x4a\x8e\x6e"));
  EXPECT_NE(std::string::npos, log.find("--- オペレーション終了 "));
  EXPECT_EQ("\r\n", log.substr(log.size() - 2));
}

}  // namespace
