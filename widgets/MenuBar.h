// A menu shown as a row of flat text buttons in a rebar band, with the keyboard and mouse
// behaviour of a menu bar: Alt or F10 selects it, arrows move between its menus, a mnemonic
// opens one, and while a drop-down is open the arrows or the mouse switch to the next menu.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/ToolBar.h"
#include "framework/UserHandles.h"
#include "widgets/WidgetsExport.h"

class QV_WIDGETS_API CMenuBar : public qv::CToolBarCtrl {
 public:
  CMenuBar() = default;
  ~CMenuBar() override = default;

  // One button per top-level item of the menu resource; 1 on success.
  BOOL LoadMenuBar(UINT menuId);
  // Offered every message before the frame translates it; non-zero when the bar consumed it.
  BOOL TranslateFrameMessage(MSG& msg);
  // Opens the drop-down of a button, and of the next one while the user switches menus.
  void TrackPopup(int index);
  void SetTrackingState(int state, int index);
  // A message seen inside an open drop-down; non-zero when the bar consumed it.
  virtual BOOL OnMenuInput(const MSG& msg);
  // The button under a point in client coordinates, or a negative value.
  int HitTest(POINT pt) const;
  int GetNextButton(int index, BOOL previous) const;
  void CancelMenuAndTrack(int index);
  void ToggleKeyboardMode();

  HMENU GetMenu() const { return m_menu.Get(); }
  int GetMenuCount() const { return m_nMenuCount; }
  int GetTrackingState() const { return m_nTrackingState; }
  int GetPopupIndex() const { return m_nPopup; }

 protected:
  LRESULT OnMouseMove(UINT flags, POINT pt) override;
  LRESULT OnLButtonDown(UINT flags, POINT pt) override;

  BOOL m_bSubmenuSelected = FALSE;
  BOOL m_bPopupItemSelected = FALSE;
  int m_nNextPopup = -1;
  BOOL m_bEscapePressed = FALSE;
  POINT m_ptLastMouse{};
  int m_nPopup = -1;
  int m_nTrackingState = 0;
  qv::UniqueMenu m_menu;
  int m_nMenuCount = 0;

 private:
  static LRESULT CALLBACK MessageFilterHook(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK MenuSelectHook(int code, WPARAM wParam, LPARAM lParam);
  bool IsValidButton(int index) const { return index >= 0 && index < GetButtonCount(); }
  void NoteMenuSelection(UINT flags, HMENU menu);

  std::vector<std::string> m_texts;
};
