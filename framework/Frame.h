// A frame window: lays out a rebar at the top, a status bar at the bottom and its main pane
// (the child with identifier 59648) in between, routes commands through its targets with
// their update rules, and shows the prompts of menu items and toolbar buttons.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Command.h"
#include "framework/FrameworkIds.h"
#include "framework/WindowBase.h"

namespace qv {

class CStatusBar;

constexpr int kFirstPaneId = QV_IDW_PANE_FIRST;

class CFrameWindow : public CWindowBase {
 public:
  CFrameWindow() = default;

  bool CreateFrame(const wchar_t* className, const std::string& title, DWORD style, const RECT& rc,
                   DWORD exStyle = 0, HICON icon = nullptr);

  // The bars the layout places; null for none.
  void SetReBar(HWND rebar) { m_hWndReBar = rebar; }
  void SetStatusBar(CStatusBar* statusBar) { m_pStatusBar = statusBar; }
  CStatusBar* GetStatusBar() const { return m_pStatusBar; }
  // Toolbars whose buttons the update rules enable and check at idle time.
  void AddUpdateToolBar(HWND toolBar) { m_updateToolBars.push_back(toolBar); }

  // Places the bars and the main pane in the client area.
  virtual void RecalcLayout(bool notify = true);

  CWindowBase* GetActiveView() const { return m_pActiveView; }
  void SetActiveView(CWindowBase* view, bool notify = true);

  // Commands: the table of the frame itself, and further targets asked before it.
  CCommandTable& Commands() { return m_commands; }
  void AddCommandTarget(CCommandTarget* target) { m_targets.push_back(target); }
  // Carries a command out through the targets, the frame's table and the application.
  virtual bool RouteCommand(UINT id);
  // Runs the update rule of an item; an item without one is enabled when someone carries the
  // command out, and disabled otherwise.
  virtual void RouteUpdate(CCommandUI& ui);

  // Idle time: toolbar buttons and the status bar's indicators.
  virtual void OnIdleUpdate();
  // Offered every message of the loop before it is translated.
  virtual bool PreTranslateMessage(MSG& msg);

  // The prompt of a command (the part of its string before "\n") in the status bar, or the
  // idle text for 0.
  void ShowPrompt(UINT id);

 protected:
  LRESULT OnSize(UINT type, int cx, int cy) override;
  void OnDestroy() override;
  LRESULT OnInitMenuPopup(HMENU menu, UINT index, bool systemMenu) override;
  LRESULT OnMenuSelect(UINT item, UINT flags, HMENU menu) override;
  bool OnCommand(UINT id, UINT code, HWND control) override;
  bool OnNotify(NMHDR* header, LRESULT& result) override;

 private:
  HWND m_hWndReBar = nullptr;
  CStatusBar* m_pStatusBar = nullptr;
  CWindowBase* m_pActiveView = nullptr;
  std::vector<HWND> m_updateToolBars;
  std::vector<CCommandTarget*> m_targets;
  CCommandTable m_commands;
  std::wstring m_tipText;
  bool m_bInRecalcLayout = false;
};

// The frame that holds a window: its nearest ancestor that is a frame, or null.
CFrameWindow* GetParentFrame(HWND hwnd);

}  // namespace qv
