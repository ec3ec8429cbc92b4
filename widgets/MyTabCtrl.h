// The tab control that switches its frame's main pane: each tab carries a child window, and
// selecting the tab makes that window the pane with identifier 59648.
#pragma once

#include <windows.h>

#include <string>

#include "framework/TabCtrl.h"
#include "framework/UserHandles.h"
#include "widgets/WidgetsExport.h"

class QV_WIDGETS_API CMyTabCtrl : public qv::CTabCtrl {
 public:
  CMyTabCtrl() = default;
  ~CMyTabCtrl() override = default;

  // A new tab for the window at the position (-1: after the last); its index, or -1 when the
  // window has a tab already or the tab cannot be inserted. The window must be a heap object:
  // closing its tab deletes it.
  int AddHandle(qv::CWindowBase* window, int position = -1);
  // Deletes the first tab of the window; the window is left alone.
  void RemoveHandle(const qv::CWindowBase* window);
  void SetItemText(int index, const std::string& text);
  // Item data is pointer-sized: it holds the tab's window.
  BOOL SetItemData(int index, LPARAM data);
  // 0 for an index without a tab.
  LPARAM GetItemData(int index) const;
  int GetItemPos(const qv::CWindowBase* window) const;
  // Selects the window's tab and activates the window; the previous selection, or -1.
  int SetCurSelEx(qv::CWindowBase* window);
  // 1 when the window became the main pane, 0 otherwise.
  BOOL ActivateWindow(qv::CWindowBase* window);
  // Closes a tab (never tab 0): closes and deletes its window.
  void CloseItem(int index);
  // Copies both fonts and uses the copy of the taller one (the second on a tie).
  void SetFonts(HFONT first, HFONT second);
  void SetStaticTabMode(BOOL on) { m_bStaticTabMode = on; }
  void SetwParamAfterActivate(UINT id) { m_wParamAfterActivate = id; }
  void SetwParamAfterTabCountChange(UINT id) { m_wParamAfterTabCountChange = id; }

  // Commands of the tab's context menu.
  static constexpr UINT kCommandClose = 100;
  static constexpr UINT kCommandCloseAll = 200;

 protected:
  int SetCurSelEx(int index);
  qv::CWindowBase* WindowAt(int index) const;
  void NotifyTabCountChange();

  LRESULT OnSize(UINT type, int cx, int cy) override;
  bool OnReflectedNotify(NMHDR* header, LRESULT& result) override;
  LRESULT OnLButtonDblClk(UINT flags, POINT pt) override;
  LRESULT OnRButtonDown(UINT flags, POINT pt) override;
  LRESULT OnMButtonDown(UINT flags, POINT pt) override;
  LRESULT OnSizing(UINT edge, RECT* rc) override;

  UINT m_wParamAfterActivate = 0;
  UINT m_wParamAfterTabCountChange = 0;
  BOOL m_bStaticTabMode = FALSE;
  qv::UniqueFont m_font1;
  qv::UniqueFont m_font2;
};
