// The log view on its own: engine lines appended in order, the plain-text paste that the
// read-only view refuses, and the two context-menu commands that work on it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "editing/LogEditCtrl.h"
#include "framework/Cp932.h"
#include "framework/FrameworkIds.h"
#include "framework/SystemLibrary.h"

namespace {

struct CommandState : qv::CCommandUI {
  using CCommandUI::CCommandUI;
  void Enable(bool on) override { enabled = on; }
  void SetCheck(bool) override {}
  bool enabled = false;
};

std::string ClipboardText() {
  std::wstring text;
  if (::OpenClipboard(nullptr)) {
    if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
      text = static_cast<const wchar_t*>(::GlobalLock(data));
      ::GlobalUnlock(data);
    }
    ::CloseClipboard();
  }
  return qv::WideToCp932(text);
}

class LogViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(richEdit);
    ASSERT_TRUE(
        parent.Create(L"STATIC", nullptr, "", WS_OVERLAPPEDWINDOW, 0, RECT{0, 0, 400, 300}, 0));
    ASSERT_TRUE(view.CreateView(parent.Handle(), 0xE901));
  }
  bool Enabled(UINT id) {
    CommandState state(id);
    return view.OnUpdateCommand(state) && state.enabled;
  }

  qv::UniqueModule richEdit = qv::LoadSystemLibrary(L"riched20.dll");
  qv::CWindowBase parent;
  CLogEditCtrl view;
};

TEST_F(LogViewTest, LinesAreAppendedInOrderAndTheReadOnlyViewTakesNoPaste) {
  view.AppendLine("物理メモリーの最適化を開始");
  view.AppendLine("物理メモリーの最適化成功");
  EXPECT_EQ("物理メモリーの最適化を開始\r\n物理メモリーの最適化成功\r\n", view.GetWindowText());

  view.OnCommand(CLogEditCtrl::kSelectAllCommand);
  view.OnCommand(QV_ID_EDIT_COPY);  // the clipboard now holds text that a paste would insert
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  const MSG ctrlV{view.Handle(), WM_KEYDOWN, 'V', 0, 0, {}};
  EXPECT_TRUE(view.PreTranslateMessage(ctrlV)) << "the key must not reach the control";
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
  EXPECT_FALSE(view.PreTranslateMessage(ctrlV));
  EXPECT_EQ("物理メモリーの最適化を開始\r\n物理メモリーの最適化成功\r\n", view.GetWindowText());
}

TEST_F(LogViewTest, CopyAndSelectAllWorkOnTheViewAndTheOtherEditCommandsAreNotItsOwn) {
  view.SetLogText("一行目\r\n二行目\r\n");
  EXPECT_FALSE(Enabled(QV_ID_EDIT_COPY)) << "nothing selected";
  EXPECT_TRUE(Enabled(CLogEditCtrl::kSelectAllCommand));
  ASSERT_TRUE(view.OnCommand(CLogEditCtrl::kSelectAllCommand));
  ASSERT_TRUE(Enabled(QV_ID_EDIT_COPY));
  ASSERT_TRUE(view.OnCommand(QV_ID_EDIT_COPY));
  EXPECT_EQ(0u, ClipboardText().find("一行目"));
  for (UINT id : {QV_ID_EDIT_UNDO, QV_ID_EDIT_REDO, QV_ID_EDIT_CUT, QV_ID_EDIT_PASTE}) {
    CommandState state(id);
    EXPECT_FALSE(view.OnUpdateCommand(state) || view.HasCommand(id) || view.OnCommand(id)) << id;
  }
}

}  // namespace
