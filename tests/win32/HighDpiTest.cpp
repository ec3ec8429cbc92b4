// QuorvelW at 100 %, 150 % and 200 %: the real program started with the prefix's DPI at 96,
// 144 and 192, measured from outside.
#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <map>
#include <string>
#include <utility>

#include "QuorvelWProcess.h"
#include "framework/DpiScale.h"
#include "framework/SystemLibrary.h"
#include "framework/Window.h"
#include "resources/resource.h"

namespace {

constexpr wchar_t kDesktop[] = L"Control Panel\\Desktop";

// Wine gives this DPI to the processes started meanwhile; the value before comes back after.
struct PrefixDpi {
  explicit PrefixDpi(DWORD dpi) {
    had = ::RegGetValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", RRF_RT_REG_DWORD, nullptr,
                         &before, &size) == ERROR_SUCCESS;
    Set(dpi);
  }
  ~PrefixDpi() {
    had ? Set(before) : (void)::RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels");
  }
  static void Set(DWORD dpi) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));
  }
  DWORD before = 0;
  DWORD size = sizeof(DWORD);
  bool had = false;
};

int SmallIconSizeAt(UINT dpi) {
  const qv::UniqueModule user32 = qv::LoadSystemLibrary(L"user32.dll");
  const auto forDpi = qv::GetEntry<int(WINAPI*)(int, UINT)>(user32, "GetSystemMetricsForDpi");
  return forDpi != nullptr ? forDpi(SM_CXSMICON, dpi) : -1;
}

// At one DPI: the tab band holds its tabs, the first column shows "メモリー使用率が 80 %を
// 超えたら" with the list's margin on each side, the tray icon has the small-icon size. Gives
// the toolbar's button size and the first column's width.
std::pair<DWORD, int> CheckAt(DWORD dpi) {
  const PrefixDpi prefix(dpi);
  qvtest::QuorvelW app;
  EXPECT_TRUE(app.Start());
  app.Command(ID_WINDOW_SHOW);
  EXPECT_TRUE(qvtest::WaitFor([&] { return app.Visible(); }));
  const HWND rebar = app.Child(REBARCLASSNAMEW);
  const auto button =
      static_cast<DWORD>(::SendMessageW(::GetDlgItem(rebar, 0xE800), TB_GETBUTTONSIZE, 0, 0));
  const HWND tab = ::FindWindowExW(rebar, nullptr, WC_TABCONTROLW, nullptr);
  RECT item{};
  qvtest::Remote<RECT>(app.Process()).Send(tab, TCM_GETITEMRECT, 0, item);
  EXPECT_GE(qv::CWindow(tab).GetClientRect().bottom, item.bottom) << dpi;
  const HWND list = app.Child(WC_LISTVIEWW);
  wchar_t text[] = L"メモリー使用率が 80 %を超えたら";
  const auto width =
      qvtest::Remote<decltype(text)>(app.Process()).Send(list, LVM_GETSTRINGWIDTHW, 0, text);
  const auto column = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
  EXPECT_LE(width + qv::dpi::Scale(12, static_cast<int>(dpi)), column) << dpi;
  EXPECT_EQ("icon\t" + std::to_string(SmallIconSizeAt(dpi)), app.TrayJournal().at(0)) << dpi;
  app.Command(QV_ID_APP_EXIT);
  EXPECT_EQ(0u, app.ExitCode(10000));
  return {button, column};
}

TEST(HighDpiTest, TheRealProgramGrowsWithThePrefixDpi) {
  std::map<DWORD, std::pair<DWORD, int>> at;
  for (const DWORD dpi : {96, 144, 192}) at[dpi] = CheckAt(dpi);
  const DWORD b96 = at[96].first;
  const DWORD b192 = at[192].first;
  EXPECT_GT(LOWORD(at[144].first), LOWORD(b96));
  EXPECT_GE(LOWORD(b192) * 10, LOWORD(b96) * 19);
  EXPECT_GE(HIWORD(b192) * 10, HIWORD(b96) * 19);
  // The test run's locale draws narrower glyphs than Japanese: the width must grow too.
  EXPECT_GE(at[192].second * 10, at[96].second * 19);
}

}  // namespace
