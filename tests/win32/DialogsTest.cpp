// The condition and options dialogs on their templates: what they open with, the mode change,
// and what OK stores.
#include <gtest/gtest.h>

#include <functional>

#include "editing/ConditionDlg.h"
#include "editing/OptionDlg.h"
#include "framework/Cp932.h"
#include "resources/resource.h"

namespace {

// Runs a script once the dialog is open, then presses the button the script returns.
template <typename Dialog>
class Scripted : public Dialog {
 public:
  std::function<UINT(Scripted&)> script;
  std::string Text(int id) const { return qv::CWindow(this->GetDlgItem(id)).GetWindowText(); }
  void SetText(int id, const std::string& s) { qv::CWindow(this->GetDlgItem(id)).SetWindowText(s); }
  bool Enabled(int id) const { return ::IsWindowEnabled(this->GetDlgItem(id)) != FALSE; }
  LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendDlgItemMessageW(this->Handle(), id, message, wParam, lParam);
  }

 protected:
  bool OnInitDialog() override {
    Dialog::OnInitDialog();
    this->PostMessage(WM_COMMAND, script(*this), 0);
    return true;
  }
};

TEST(ConditionDlgTest, AModeChangeEmptiesHourAndDayAndOkStoresTheCondition) {
  Scripted<CConditionDlg> dialog;
  dialog.m_bModifyMode = 1;
  dialog.m_condition.m_nExecMode = COperationTime::kEveryDay;
  dialog.m_condition.m_nHour = 3;
  dialog.m_condition.m_nMinute = 0;
  dialog.script = [](Scripted<CConditionDlg>& d) {
    // The combo boxes are filled from the initial data stored with the template.
    EXPECT_EQ(12, d.Send(IDC_CONDITION_MODE, CB_GETCOUNT));
    EXPECT_EQ(3, d.Send(IDC_CONDITION_OPERATION, CB_GETCOUNT));
    wchar_t mode[64] = {};
    d.Send(IDC_CONDITION_MODE, CB_GETLBTEXT, 11, reinterpret_cast<LPARAM>(mode));
    EXPECT_EQ("メモリー使用率が", qv::WideToCp932(mode));
    EXPECT_EQ("3", d.Text(IDC_CONDITION_HOUR));
    EXPECT_EQ("0", d.Text(IDC_CONDITION_MINUTE));
    EXPECT_FALSE(d.Enabled(IDC_CONDITION_DAY));

    d.Send(IDC_CONDITION_MODE, CB_SETCURSEL, COperationTime::kEveryMonth);
    d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CONDITION_MODE, CBN_SELCHANGE),
                  reinterpret_cast<LPARAM>(d.GetDlgItem(IDC_CONDITION_MODE)));
    EXPECT_EQ("", d.Text(IDC_CONDITION_HOUR));
    EXPECT_EQ("0", d.Text(IDC_CONDITION_MINUTE));
    EXPECT_TRUE(d.Enabled(IDC_CONDITION_DAY));

    d.SetText(IDC_CONDITION_DAY, "15");
    d.SetText(IDC_CONDITION_HOUR, "12");
    d.SetText(IDC_CONDITION_MEMORY_LOAD, "80");  // unused by the mode: stored as -1
    d.SetText(IDC_CONDITION_CPU_LOAD, "1.5");
    d.Send(IDC_CONDITION_OPERATION, CB_SETCURSEL, COperationTime::kBoth);
    return static_cast<UINT>(IDOK);
  };
  ASSERT_EQ(IDOK, dialog.DoModal());
  const COperationTime& c = dialog.m_condition;
  EXPECT_EQ((std::vector<int>{9, 15, 12, 0, -1, 1, 2}),
            (std::vector<int>{c.m_nExecMode, c.m_nDay, c.m_nHour, c.m_nMinute, c.m_nMemoryLoad,
                              c.m_nCpuLoadLimit, c.m_nOperation}));
}

TEST(OptionDlgTest, WithoutTheServiceTheLogSizeIsZeroAndDisabled) {
  Scripted<COptionDlg> dialog;
  dialog.m_setting.m_nTimerDelay = 7;
  dialog.script = [](Scripted<COptionDlg>& d) {
    EXPECT_EQ("0", d.Text(IDC_OPTION_LOG_SIZE));
    EXPECT_FALSE(d.Enabled(IDC_OPTION_LOG_SIZE));
    EXPECT_EQ("7", d.Text(IDC_OPTION_DELAY));
    EXPECT_EQ("5", d.Text(IDC_OPTION_INTERVAL));
    d.SetText(IDC_OPTION_INTERVAL, "");
    return static_cast<UINT>(IDOK);
  };
  ASSERT_EQ(IDOK, dialog.DoModal());
  EXPECT_EQ(0, dialog.m_setting.m_nLogSizeLimit);
  EXPECT_EQ(7, dialog.m_setting.m_nTimerDelay);
  EXPECT_EQ(0, dialog.m_setting.m_nInterval);
}

}  // namespace
