// The condition dialog: edits one execution condition, checks it on OK and leaves the result,
// with the fields its mode does not use set to -1, in m_condition.
#pragma once

#include "editing/NumEdit.h"
#include "framework/Dialog.h"
#include "settings/OperationTime.h"

class CConditionDlg : public qv::CDialog {
 public:
  CConditionDlg();

  COperationTime m_condition;
  int m_bModifyMode = 0;

 protected:
  void DoDataExchange(qv::CDataExchange& dx) override;
  bool OnInitDialog() override;
  void OnOK() override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  void EnableInputsForMode(int mode);

  CNumEdit m_editCpuLoad;
  CNumEdit m_editMemoryLoad;
  CNumEdit m_editMinute;
  CNumEdit m_editHour;
  CNumEdit m_editDay;
};
