// The options dialog: the service log's size limit, the timer's start delay and the quiet
// interval after a pass, edited on a copy of the settings.
#pragma once

#include "editing/NumEdit.h"
#include "framework/Dialog.h"
#include "settings/AppSetting.h"

class COptionDlg : public qv::CDialog {
 public:
  COptionDlg();

  int m_bServiceInstalled = 0;
  // The working copy. Only its three options are edited; the caller copies back only those.
  CAppSetting m_setting;

 protected:
  void DoDataExchange(qv::CDataExchange& dx) override;
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  CNumEdit m_editInterval;
  CNumEdit m_editDelay;
  CNumEdit m_editLogSize;
};

// The About box: the program's name and version.
class CAboutDlg : public qv::CDialog {
 public:
  CAboutDlg();
};
