#include "editing/ConditionListCtrl.h"

#include "editing/ConditionRow.h"
#include "framework/Application.h"
#include "resources/resource.h"

void CConditionListCtrl::SetConditionRow(int nItem, const COperationTime& condition) const {
  const std::string mode = qv::editing::ModeText(condition);
  int row = nItem;
  if (row == -1) {
    row = InsertItem(GetItemCount(), mode);
    if (row < 0) return;
  } else {
    SetItemText(row, 0, mode);
  }
  if (const auto operation = qv::editing::OperationText(condition.m_nOperation))
    SetItemText(row, 1, *operation);
  SetItemText(row, 2, qv::editing::CpuLoadText(condition));
}

bool CConditionListCtrl::OnReflectedNotify(NMHDR* header, LRESULT& result) {
  if (header->code != NM_DBLCLK) return false;
  if (qv::CApplication* app = qv::CApplication::Current()) {
    ::SendMessageW(app->MainWindowHandle(), WM_COMMAND, ID_CONDITION_MODIFY, 0);
  }
  result = 0;
  return true;
}
