// QuorvelW at 100 %, 150 % and 200 %: the real program started with the prefix's DPI set to
// 96, 144 and 192, measured from outside; and the main frame inside the test told that its
// monitor changed to 192 DPI.
#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <map>
#include <string>

#include "QuorvelWProcess.h"
#include "app/MainFrame.h"
#include "framework/Cp932.h"
#include "framework/SystemLibrary.h"
#include "resources/resource.h"

namespace {

using qvtest::QuorvelW;
using qvtest::WaitFor;

// The DPI that Wine gives the processes started meanwhile; the value before comes back after.
class PrefixDpi {
 public:
  explicit PrefixDpi(DWORD dpi) {
    ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &m_key, nullptr);
    DWORD size = sizeof(m_before);
    m_had = ::RegQueryValueExW(m_key, L"LogPixels", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&m_before), &size) == ERROR_SUCCESS;
    Set(dpi);
  }
  ~PrefixDpi() {
    if (m_had) {
      Set(m_before);
    } else {
      ::RegDeleteValueW(m_key, L"LogPixels");
    }
    ::RegCloseKey(m_key);
  }
  PrefixDpi(const PrefixDpi&) = delete;
  PrefixDpi& operator=(const PrefixDpi&) = delete;

 private:
  void Set(DWORD dpi) {
    ::RegSetValueExW(m_key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                     sizeof(dpi));
  }
  HKEY m_key = nullptr;
  DWORD m_before = 0;
  bool m_had = false;
};

int SmallIconSizeAt(UINT dpi) {
  const qv::UniqueModule user32 = qv::LoadSystemLibrary(L"user32.dll");
  const auto forDpi = qv::GetEntry<int(WINAPI*)(int, UINT)>(user32, "GetSystemMetricsForDpi");
  return forDpi != nullptr ? forDpi(SM_CXSMICON, dpi) : -1;
}

// Sends a message whose lParam points at a T, in memory of the window's process.
template <typename T>
LRESULT SendWithData(HANDLE process, HWND window, UINT message, WPARAM wParam, T& data) {
  void* remote = ::VirtualAllocEx(process, nullptr, sizeof(T), MEM_COMMIT, PAGE_READWRITE);
  if (remote == nullptr) return 0;
  ::WriteProcessMemory(process, remote, &data, sizeof(T), nullptr);
  const LRESULT result = ::SendMessageW(window, message, wParam, reinterpret_cast<LPARAM>(remote));
  ::ReadProcessMemory(process, remote, &data, sizeof(T), nullptr);
  ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return result;
}

struct Measured {
  SIZE button{};
  int tabHeight = 0;
  int tabItemHeight = 0;
  int textWidth = 0;
  int columnWidth = 0;
  std::string trayIcon;
};

Measured MeasureAt(DWORD dpi) {
  const PrefixDpi prefix(dpi);
  QuorvelW app;
  Measured m;
  EXPECT_TRUE(app.Start());
  app.Command(ID_WINDOW_SHOW);
  EXPECT_TRUE(WaitFor([&] { return app.Visible(); }));
  const HWND rebar = ::FindWindowExW(app.Window(), nullptr, REBARCLASSNAMEW, nullptr);
  const DWORD button =
      static_cast<DWORD>(::SendMessageW(::GetDlgItem(rebar, 0xE800), TB_GETBUTTONSIZE, 0, 0));
  m.button = SIZE{LOWORD(button), HIWORD(button)};

  const HWND tab = ::FindWindowExW(rebar, nullptr, WC_TABCONTROLW, nullptr);
  RECT rc{};
  ::GetClientRect(tab, &rc);
  m.tabHeight = rc.bottom;
  RECT item{};
  SendWithData(app.Process(), tab, TCM_GETITEMRECT, 0, item);
  m.tabItemHeight = item.bottom;

  const HWND list = ::FindWindowExW(app.Window(), nullptr, WC_LISTVIEWW, nullptr);
  wchar_t text[64] = {};
  qv::Cp932ToWide("メモリー使用率が 80 %を超えたら").copy(text, 63);
  m.textWidth = static_cast<int>(SendWithData(app.Process(), list, LVM_GETSTRINGWIDTHW, 0, text));
  m.columnWidth = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
  const auto journal = app.TrayJournal();
  if (!journal.empty()) m.trayIcon = journal.front();
  app.Command(QV_ID_APP_EXIT);
  EXPECT_TRUE(app.Ended(10000));
  return m;
}

TEST(HighDpiTest, TheRealProgramGrowsWithThePrefixDpi) {
  std::map<DWORD, Measured> at;
  for (const DWORD dpi : {96, 144, 192}) {
    const Measured m = at[dpi] = MeasureAt(dpi);
    EXPECT_GE(m.tabHeight, m.tabItemHeight) << dpi;
    EXPECT_GT(m.tabItemHeight, 0) << dpi;
    // The list draws its text with a margin on each side.
    EXPECT_GT(m.textWidth, 0) << dpi;
    EXPECT_LE(m.textWidth + qv::dpi::Scale(12, static_cast<int>(dpi)), m.columnWidth) << dpi;
    EXPECT_EQ("icon\t" + std::to_string(SmallIconSizeAt(dpi)), m.trayIcon) << dpi;
  }
  // The default widths grow too: the test run's locale draws narrower glyphs than Japanese.
  EXPECT_GE(at[192].columnWidth * 10, at[96].columnWidth * 19);
  EXPECT_GT(at[144].button.cx, at[96].button.cx);
  EXPECT_GE(at[192].button.cx * 10, at[96].button.cx * 19);
  EXPECT_GE(at[192].button.cy * 10, at[96].button.cy * 19);
}

// The handler alone: the system's own move between monitors cannot be made here.
TEST(HighDpiTest, AMoveToA200PercentMonitorRebuildsImagesAndSizes) {
  const qv::UniqueModule richEdit = qv::LoadSystemLibrary(L"riched20.dll");
  qv::app::CMainFrame frame;
  ASSERT_TRUE(frame.CreateMainWindow());
  const HWND rebar = ::FindWindowExW(frame.Handle(), nullptr, REBARCLASSNAMEW, nullptr);
  const HWND toolbar = ::GetDlgItem(rebar, 0xE800);
  const DWORD before = static_cast<DWORD>(::SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0));
  RECT suggested{40, 30, 1320, 990};
  frame.SendMessage(WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));

  RECT window{};
  ::GetWindowRect(frame.Handle(), &window);
  EXPECT_TRUE(::EqualRect(&suggested, &window));
  const DWORD after = static_cast<DWORD>(::SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0));
  EXPECT_EQ(2 * LOWORD(before), LOWORD(after));
  EXPECT_EQ(2 * HIWORD(before), HIWORD(after));
  IMAGEINFO image{};
  ImageList_GetImageInfo(
      reinterpret_cast<HIMAGELIST>(::SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0)), 0, &image);
  EXPECT_EQ(32, image.rcImage.right - image.rcImage.left);
  ICONINFO icon{};
  ASSERT_TRUE(
      ::GetIconInfo(reinterpret_cast<HICON>(frame.SendMessage(WM_GETICON, ICON_SMALL)), &icon));
  BITMAP bitmap{};
  ::GetObjectW(icon.hbmColor, sizeof(bitmap), &bitmap);
  ::DeleteObject(icon.hbmColor);
  ::DeleteObject(icon.hbmMask);
  EXPECT_EQ(SmallIconSizeAt(192), bitmap.bmWidth);
  const HWND tab = ::FindWindowExW(rebar, nullptr, WC_TABCONTROLW, nullptr);
  RECT tabRect{};
  ::GetClientRect(tab, &tabRect);
  EXPECT_GE(tabRect.bottom, 40);
}

}  // namespace
