// The list view control.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "framework/Controls.h"

namespace qv {

class CListViewCtrl : public CWindowBase {
 public:
  bool Create(HWND parent, DWORD style, UINT id, DWORD exStyle = 0);

  int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
  bool DeleteAllItems() const { return SendMessage(LVM_DELETEALLITEMS) != 0; }
  bool DeleteItem(int index) const { return SendMessage(LVM_DELETEITEM, index) != 0; }
  void SetExtendedListViewStyle(DWORD style) const {
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, style, style);
  }
  int GetNextItem(int start, UINT flags) const {
    return static_cast<int>(SendMessage(LVM_GETNEXTITEM, start, flags));
  }
  int GetColumnWidth(int column) const {
    return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, column));
  }
  int InsertColumn(int index, const std::string& text, int width) const;
  // A row's first column; the index of the new row, or -1.
  int InsertItem(int index, const std::string& text) const;
  bool SetItemText(int index, int column, const std::string& text) const;
  std::string GetItemText(int index, int column) const;
};

}  // namespace qv
