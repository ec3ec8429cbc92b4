// Modal dialogs from dialog templates, with data exchange between members and controls.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Window.h"

namespace qv {

class CWindowBase;

// One direction of data exchange: from the controls into the members (saving) or back.
class CDataExchange {
 public:
  CDataExchange(HWND dialog, bool saving) : m_hWndDialog(dialog), m_bSaveAndValidate(saving) {}
  HWND Dialog() const { return m_hWndDialog; }
  bool Saving() const { return m_bSaveAndValidate; }

 private:
  HWND m_hWndDialog;
  bool m_bSaveAndValidate;
};

void ExchangeText(CDataExchange& dx, int id, std::string& value);
// Saving reads the text as ReadDecimal does: as atoi would, an empty text giving 0.
void ExchangeText(CDataExchange& dx, int id, int& value);
// The selected position of a combo box, -1 for none.
void ExchangeComboIndex(CDataExchange& dx, int id, int& index);
// Binds a control object to the dialog's control (once).
void ExchangeControl(CDataExchange& dx, int id, CWindowBase& control);

class CDialog : public CWindow {
 public:
  explicit CDialog(UINT templateId) : m_nIDTemplate(templateId) {}
  virtual ~CDialog() = default;
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Runs the dialog; returns the code given to EndDialog, or -1 when it could not be shown.
  INT_PTR DoModal(HWND parent = nullptr);
  void EndDialog(INT_PTR result);
  // Runs DoDataExchange in one direction.
  bool UpdateData(bool save = true);

 protected:
  // Return true to give the focus to the first control in tab order.
  virtual bool OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  // Other commands: return true when handled.
  virtual bool OnCommand(UINT id, UINT code, HWND control);
  virtual void DoDataExchange(CDataExchange& dx);
  // Messages without a handler above; return true when handled (result in `result`).
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

 private:
  static INT_PTR CALLBACK DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam);

  UINT m_nIDTemplate;
};

// Fills the combo and list boxes of a dialog from the initial data stored with its template.
void ApplyDialogInitData(HWND dialog, UINT templateId);

}  // namespace qv
