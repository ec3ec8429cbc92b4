// The small pop-up window that a toolbar band's chevron opens: a copy of the band's hidden
// buttons, whose commands and notifications go to the frame.
#pragma once

#include <windows.h>

#include "framework/ToolBar.h"
#include "framework/UserHandles.h"
#include "framework/WindowBase.h"
#include "widgets/WidgetsExport.h"

class QV_WIDGETS_API CChevronPopup : public qv::CWindowBase {
 public:
  CChevronPopup() = default;
  ~CChevronPopup() override = default;

  // The pop-up window, hidden, owned by the rebar's window.
  bool CreatePopup(HWND rebar);
  // Shows the buttons of the toolbar that are not wholly inside the visible area (client
  // coordinates of the toolbar) at the point (screen coordinates); stays hidden when there
  // are none.
  void ShowPopup(HWND frame, const qv::CToolBarCtrl& source, const RECT& visible, POINT point);
  void HidePopup();

  // The frame keeps its caption drawn active while this is set.
  BOOL IsActive() const { return m_bActive; }
  const qv::CToolBarCtrl& GetToolBar() const { return m_toolBar; }

  static constexpr UINT kToolBarId = 0xE8A0;

 protected:
  LRESULT OnKillFocus(HWND newFocus) override;
  LRESULT OnKeyDown(UINT key, UINT repeat, UINT flags) override;
  LRESULT OnNcPaint(HRGN region) override;
  void OnDestroy() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  qv::CToolBarCtrl m_toolBar;
  qv::UniqueImageList m_imageList;
  HWND m_hWndOwner = nullptr;
  BOOL m_bActive = FALSE;

 private:
  qv::UniqueImageList m_disabledImageList;
};
