#include "editing/ConditionDlg.h"

#include "editing/DialogChecks.h"
#include "framework/Application.h"
#include "framework/Cp932.h"
#include "resources/resource.h"

CConditionDlg::CConditionDlg() : qv::CDialog(IDD_CONDITION) {}

void CConditionDlg::DoDataExchange(qv::CDataExchange& dx) {
  qv::ExchangeControl(dx, IDC_CONDITION_CPU_LOAD, m_editCpuLoad);
  qv::ExchangeControl(dx, IDC_CONDITION_MEMORY_LOAD, m_editMemoryLoad);
  qv::ExchangeControl(dx, IDC_CONDITION_MINUTE, m_editMinute);
  qv::ExchangeControl(dx, IDC_CONDITION_HOUR, m_editHour);
  qv::ExchangeControl(dx, IDC_CONDITION_DAY, m_editDay);
}

bool CConditionDlg::OnInitDialog() {
  qv::CDialog::OnInitDialog();
  if (m_bModifyMode) CWindow(GetDlgItem(IDOK)).SetWindowText("修正");
  ::SendDlgItemMessageW(m_hWnd, IDC_CONDITION_MODE, CB_SETCURSEL,
                        static_cast<WPARAM>(m_condition.m_nExecMode), 0);
  ::SendDlgItemMessageW(m_hWnd, IDC_CONDITION_OPERATION, CB_SETCURSEL,
                        static_cast<WPARAM>(m_condition.m_nOperation), 0);
  using qv::editing::ConditionFieldText;
  m_editDay.SetWindowText(ConditionFieldText(m_condition.m_nDay));
  m_editHour.SetWindowText(ConditionFieldText(m_condition.m_nHour));
  m_editMinute.SetWindowText(ConditionFieldText(m_condition.m_nMinute));
  m_editMemoryLoad.SetWindowText(ConditionFieldText(m_condition.m_nMemoryLoad));
  m_editCpuLoad.SetWindowText(std::to_string(m_condition.m_nCpuLoadLimit));
  EnableInputsForMode(m_condition.m_nExecMode);
  return true;
}

void CConditionDlg::EnableInputsForMode(int mode) {
  const qv::editing::ConditionInputs on = qv::editing::ConditionInputsForMode(mode);
  m_editDay.EnableWindow(on.day);
  m_editHour.EnableWindow(on.hour);
  m_editMinute.EnableWindow(on.minute);
  m_editMemoryLoad.EnableWindow(on.memoryLoad);
}

bool CConditionDlg::OnCommand(UINT id, UINT code, HWND) {
  if (id != IDC_CONDITION_MODE || code != CBN_SELCHANGE) return false;
  const int mode =
      static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_CONDITION_MODE, CB_GETCURSEL, 0, 0));
  if (mode < 0) return true;
  m_editHour.SetWindowText("");
  m_editDay.SetWindowText("");
  EnableInputsForMode(mode);
  return true;
}

void CConditionDlg::OnOK() {
  qv::editing::ConditionInput input;
  input.mode =
      static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_CONDITION_MODE, CB_GETCURSEL, 0, 0));
  input.operation =
      static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_CONDITION_OPERATION, CB_GETCURSEL, 0, 0));
  input.day = m_editDay.GetWindowText();
  input.hour = m_editHour.GetWindowText();
  input.minute = m_editMinute.GetWindowText();
  input.memoryLoad = m_editMemoryLoad.GetWindowText();
  input.cpuLoad = m_editCpuLoad.GetWindowText();
  const qv::editing::ConditionCheck check = qv::editing::CheckCondition(input);
  m_condition = check.condition;
  for (const qv::editing::CheckStep& step : check.steps) {
    if (step.kind == qv::editing::CheckStep::Error) {
      qv::AppMessageBox(step.text, MB_OK, m_hWnd);
      return;
    }
    // The questions have no caption of their own.
    if (::MessageBoxW(m_hWnd, qv::Cp932ToWide(step.text).c_str(), L"", MB_OKCANCEL) != IDOK) {
      return;
    }
  }
  EndDialog(IDOK);
}
