// An owning window object: the window's messages reach virtual handlers through one switch.
// Windows of classes registered here and system controls (subclassed) are handled alike; the
// object pointer is cleared from the window before the window goes, so that no message of a
// dying window reaches a half-destroyed object.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Window.h"

namespace qv {

class CWindowBase : public CWindow {
 public:
  CWindowBase() = default;
  virtual ~CWindowBase();
  CWindowBase(const CWindowBase&) = delete;
  CWindowBase& operator=(const CWindowBase&) = delete;

  // Registers a window class whose windows are created by Create; returns false on failure.
  static bool RegisterWindowClass(const wchar_t* className, UINT classStyle,
                                  HBRUSH background = nullptr, HICON icon = nullptr,
                                  HICON smallIcon = nullptr);

  // A window of a class registered above, or of a system class (then subclassed).
  bool Create(const wchar_t* className, HWND parent, const std::string& title, DWORD style,
              DWORD exStyle, const RECT& rc, UINT_PTR idOrMenu);
  // Takes over a window that already exists (a control of a dialog).
  bool Subclass(HWND hwnd);
  // Gives the window up without destroying it; it keeps working with its own procedure.
  HWND Detach();

  // The object behind a window of ours, or null.
  static CWindowBase* FromHandle(HWND hwnd);

 protected:
  // The one switch: maps a message to its handler. Override for messages without a handler.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Default processing of the message being handled, with its own arguments.
  LRESULT Default();
  LRESULT DefaultWith(UINT message, WPARAM wParam, LPARAM lParam);

  // Handlers; each runs the default processing unless overridden.
  virtual LRESULT OnCreate(CREATESTRUCTW* cs);
  virtual void OnDestroy() { Default(); }
  virtual LRESULT OnSize(UINT type, int cx, int cy);
  virtual LRESULT OnSizing(UINT edge, RECT* rc);
  virtual LRESULT OnClose() { return Default(); }
  virtual LRESULT OnTimer(UINT_PTR id);
  virtual LRESULT OnContextMenu(HWND hwnd, POINT screenPoint);
  virtual LRESULT OnMouseMove(UINT flags, POINT pt);
  virtual LRESULT OnLButtonDown(UINT flags, POINT pt);
  virtual LRESULT OnLButtonDblClk(UINT flags, POINT pt);
  virtual LRESULT OnRButtonDown(UINT flags, POINT pt);
  virtual LRESULT OnMButtonDown(UINT flags, POINT pt);
  virtual LRESULT OnKeyDown(UINT key, UINT repeat, UINT flags);
  virtual LRESULT OnKillFocus(HWND newFocus);
  virtual LRESULT OnNcPaint(HRGN region);
  virtual LRESULT OnInitMenuPopup(HMENU menu, UINT index, bool systemMenu);
  virtual LRESULT OnMenuSelect(UINT item, UINT flags, HMENU menu);
  // Commands and notifications: return true when handled.
  virtual bool OnCommand(UINT id, UINT code, HWND control);
  virtual bool OnNotify(NMHDR* header, LRESULT& result);
  // A control's own notifications, sent back to it by its parent.
  virtual bool OnReflectedCommand(UINT code, LRESULT& result);
  virtual bool OnReflectedNotify(NMHDR* header, LRESULT& result);
  // Runs after the window is gone (after WM_NCDESTROY).
  virtual void OnFinalMessage() {}
  // The procedure behind windows of registered classes.
  virtual LRESULT DefaultWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };

  static LRESULT CALLBACK ClassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SubclassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Bind(HWND hwnd);
  void Unbind();
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  WNDPROC m_previousProc = nullptr;
  CurrentMessage m_current{};
};

// Where an exception that reached a callback boundary is reported (the debugger's output).
void ReportCallbackFailure(const char* where) noexcept;

}  // namespace qv
