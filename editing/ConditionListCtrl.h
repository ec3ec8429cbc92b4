// The condition list: a report-style list view whose double click asks the main window to
// modify the condition (command 32799).
#pragma once

#include "framework/ListView.h"

class COperationTime;

class CConditionListCtrl : public qv::CListViewCtrl {
 public:
  // With -1 a new row at the end, else the row's three cells rewritten. An operation without a
  // name leaves its cell as it was.
  void SetConditionRow(int nItem, const COperationTime& condition) const;

 protected:
  bool OnReflectedNotify(NMHDR* header, LRESULT& result) override;
};
