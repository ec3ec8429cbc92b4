// A pass on Windows for real: its prompts reach the registered window.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "engine/MemClean.h"

namespace {

CMemClean* g_engine = nullptr;
int g_posted = 0;
std::vector<std::size_t> g_sentAt;  // the count of lines when each sent prompt came

LRESULT CALLBACK ObservingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != 0x036A || !g_engine) return ::DefWindowProcW(window, message, wParam, lParam);
  if (!::InSendMessage()) {
    ++g_posted;
    return 0;
  }
  g_sentAt.push_back(g_engine->m_aLog.GetCount());
  ::Sleep(20);  // while a sent prompt is handled the pass thread must stand still
  EXPECT_EQ(g_sentAt.back(), g_engine->m_aLog.GetCount()) << "the pass wrote meanwhile";
  return 0;
}

TEST(WindowPassTest, EveryLineIsPostedAndEveryNotifyWaitsForTheWindow) {
  // A message-only window of the test's procedure.
  const HWND window =
      ::CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, window);
  ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ObservingWindowProc));
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
  EXPECT_EQ(8, g_posted) << "every line, and once more when the engine is idle again";
  EXPECT_EQ((std::vector<std::size_t>{1, 7, 7}), g_sentAt)
      << "after the start line, after the end line, at the end of the pass";
}

}  // namespace
