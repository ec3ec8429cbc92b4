#include "editing/OptionDlg.h"

#include "editing/DialogChecks.h"
#include "framework/Application.h"
#include "resources/resource.h"

COptionDlg::COptionDlg() : qv::CDialog(IDD_OPTION) {}

void COptionDlg::DoDataExchange(qv::CDataExchange& dx) {
  qv::ExchangeControl(dx, IDC_OPTION_INTERVAL, m_editInterval);
  qv::ExchangeControl(dx, IDC_OPTION_DELAY, m_editDelay);
  qv::ExchangeControl(dx, IDC_OPTION_LOG_SIZE, m_editLogSize);
}

bool COptionDlg::OnInitDialog() {
  qv::CDialog::OnInitDialog();
  // The size limit applies to the service's log only.
  m_editLogSize.SetWindowText(m_bServiceInstalled ? std::to_string(m_setting.m_nLogSizeLimit)
                                                  : std::string("0"));
  m_editLogSize.EnableWindow(m_bServiceInstalled != 0);
  m_editDelay.SetWindowText(std::to_string(m_setting.m_nTimerDelay));
  m_editInterval.SetWindowText(std::to_string(m_setting.m_nInterval));
  return true;
}

void COptionDlg::OnOK() {
  const qv::editing::OptionCheck check = qv::editing::CheckOptions(
      {m_editLogSize.GetWindowText(), m_editDelay.GetWindowText(), m_editInterval.GetWindowText()});
  if (check.error != nullptr) {
    qv::AppMessageBox(check.error, MB_OK, m_hWnd);
    return;
  }
  m_setting.m_nLogSizeLimit = check.logSizeLimit;
  m_setting.m_nTimerDelay = check.timerDelay;
  m_setting.m_nInterval = check.interval;
  EndDialog(IDOK);
}

CAboutDlg::CAboutDlg() : qv::CDialog(IDD_ABOUTBOX) {}
