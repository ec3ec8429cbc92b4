// The tab control.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "framework/Controls.h"

namespace qv {

class CTabCtrl : public CWindowBase {
 public:
  bool Create(HWND parent, DWORD style, UINT id, DWORD exStyle = 0);

  int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
  int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
  int SetCurSel(int index) const { return static_cast<int>(SendMessage(TCM_SETCURSEL, index)); }
  bool DeleteItem(int index) const { return SendMessage(TCM_DELETEITEM, index) != 0; }
  bool GetItem(int index, TCITEMW& item) const {
    return SendMessage(TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item)) != 0;
  }
  bool SetItem(int index, TCITEMW& item) const {
    return SendMessage(TCM_SETITEMW, index, reinterpret_cast<LPARAM>(&item)) != 0;
  }
  int InsertItem(int index, TCITEMW& item) const {
    return static_cast<int>(SendMessage(TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item)));
  }
  bool GetItemRect(int index, RECT& rc) const {
    return SendMessage(TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc)) != 0;
  }
  // The tab under a point in client coordinates, or -1.
  int HitTest(POINT pt) const {
    TCHITTESTINFO info{pt, 0};
    return static_cast<int>(SendMessage(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
  }
  std::string GetItemText(int index) const;
};

}  // namespace qv
