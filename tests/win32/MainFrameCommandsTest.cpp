// The main frame's own commands, carried out inside the test: the check marks of the menu and
// what the help command asks the shell for.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "app/MainFrame.h"
#include "framework/Cp932.h"
#include "framework/SystemLibrary.h"
#include "resources/resource.h"
#include "settings/Utility.h"
#include "support/TempDir.h"

namespace {

class HelpProbe : public qv::app::CMainFrame {
 public:
  std::wstring asked;

 protected:
  void OpenHelpFile(const std::wstring& path) override { asked = path; }
};

bool Checked(qv::CFrameWindow& frame, UINT id) {
  struct CheckUI : qv::CCommandUI {
    explicit CheckUI(UINT id) : CCommandUI(id) {}
    void Enable(bool) override {}
    void SetCheck(bool on) override { checked = on; }
    bool checked = false;
  } ui(id);
  frame.RouteUpdate(ui);
  return ui.checked;
}

TEST(MainFrameCommandsTest, HelpIsTheApplicationFoldersAndChecksFollowTheirState) {
  qvtest::TempDir planted;
  std::ofstream(planted.File("vorel.chm")) << "planted";
  ASSERT_TRUE(::SetCurrentDirectoryW(qv::Cp932ToWide(planted.File("")).c_str()));
  const qv::UniqueModule richEdit = qv::LoadSystemLibrary(L"riched20.dll");
  HelpProbe frame;
  ASSERT_TRUE(frame.CreateMainWindow());
  frame.RouteCommand(QV_ID_HELP);
  EXPECT_EQ(qv::Cp932ToWide(GetApplicationPath()) + L"\\vorel.chm", frame.asked);

  for (const UINT id : {ID_MINIMIZE_ON_CLOSE, ID_STARTUP_REGISTER}) {
    const bool before = Checked(frame, id);
    frame.RouteCommand(id);
    EXPECT_NE(before, Checked(frame, id)) << id;
    frame.RouteCommand(id);
    EXPECT_EQ(before, Checked(frame, id)) << id;
  }
}

}  // namespace
