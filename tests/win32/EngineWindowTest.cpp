// A pass on Windows for real: its prompts reach the registered window.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "engine/MemClean.h"

namespace {

struct Observation {
  bool sent;
  std::size_t linesBefore, linesAfterHandling;
};

CMemClean* g_engine = nullptr;
std::vector<Observation> g_observations;

LRESULT CALLBACK ObservingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != 0x036A || !g_engine) return ::DefWindowProcW(window, message, wParam, lParam);
  const bool sent = ::InSendMessage() != FALSE;
  const std::size_t before = g_engine->m_aLog.GetCount();
  if (sent) ::Sleep(20);  // while a sent prompt is handled the pass thread must stand still
  g_observations.push_back({sent, before, g_engine->m_aLog.GetCount()});
  return 0;
}

TEST(WindowPassTest, EveryLineIsPostedAndEveryNotifyWaitsForTheWindow) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ObservingWindowProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"QuorvelEngineTestWindow";
  ::RegisterClassW(&windowClass);
  const HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10,
                                        10, nullptr, nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(nullptr, window);
  CMemClean clean;
  g_engine = &clean;
  SetEngineNotifyWindow(window);
  ASSERT_EQ(1, DoCleanUp(&clean));
  // The window thread's message loop until the pass has ended and the queue is empty.
  const DWORD deadline = ::GetTickCount() + 20000;
  MSG msg;
  for (bool ended = false; !ended;) {
    ended = !clean.m_bRunning && clean.WaitForPass(0);
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ASSERT_LT(::GetTickCount(), deadline) << "the pass did not end";
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  SetEngineNotifyWindow(nullptr);
  g_engine = nullptr;
  ::DestroyWindow(window);

  ASSERT_EQ(7u, clean.m_aLog.GetCount()) << "start line, memory state, end line";
  std::vector<std::size_t> sentAt;
  int posted = 0;
  for (const Observation& o : g_observations) {
    posted += o.sent ? 0 : 1;
    if (!o.sent) continue;
    sentAt.push_back(o.linesBefore);
    EXPECT_EQ(o.linesBefore, o.linesAfterHandling) << "the pass wrote meanwhile";
  }
  EXPECT_EQ(7, posted);
  EXPECT_EQ((std::vector<std::size_t>{1, 7, 7}), sentAt)
      << "after the start line, after the end line, at the end of the pass";
}

}  // namespace
