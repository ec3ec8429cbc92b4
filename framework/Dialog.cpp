#include "framework/Dialog.h"

#include <cstring>

#include "framework/Cp932.h"
#include "framework/DecimalText.h"
#include "framework/FrameworkIds.h"
#include "framework/WindowBase.h"

namespace qv {

void ExchangeText(CDataExchange& dx, int id, std::string& value) {
  CWindow control(::GetDlgItem(dx.Dialog(), id));
  if (dx.Saving()) {
    value = control.GetWindowText();
  } else {
    control.SetWindowText(value);
  }
}

void ExchangeText(CDataExchange& dx, int id, int& value) {
  std::string text;
  if (dx.Saving()) {
    ExchangeText(dx, id, text);
    value = ReadDecimal(text);
  } else {
    text = std::to_string(value);
    ExchangeText(dx, id, text);
  }
}

void ExchangeComboIndex(CDataExchange& dx, int id, int& index) {
  const HWND combo = ::GetDlgItem(dx.Dialog(), id);
  if (dx.Saving()) {
    index = static_cast<int>(::SendMessageW(combo, CB_GETCURSEL, 0, 0));
  } else {
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

void ExchangeControl(CDataExchange& dx, int id, CWindowBase& control) {
  if (control.Handle() == nullptr) control.Subclass(::GetDlgItem(dx.Dialog(), id));
}

void ApplyDialogInitData(HWND dialog, UINT templateId) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  HRSRC found =
      ::FindResourceW(instance, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(QV_RT_DLGINIT));
  if (found == nullptr) return;
  const DWORD size = ::SizeofResource(instance, found);
  const auto* data = static_cast<const char*>(::LockResource(::LoadResource(instance, found)));
  if (data == nullptr) return;
  // Records: a 16-bit control identifier, then its text in UTF-8 up to a zero byte; an
  // identifier of 0 ends the list.
  DWORD at = 0;
  while (at + sizeof(WORD) <= size) {
    WORD id = 0;
    std::memcpy(&id, data + at, sizeof(id));
    at += sizeof(id);
    if (id == 0) break;
    const DWORD start = at;
    while (at < size && data[at] != 0) ++at;
    if (at >= size) break;  // a text without its end is not used
    const int length = static_cast<int>(at - start);
    ++at;
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    const int converted =
        ::MultiByteToWideChar(CP_UTF8, 0, data + start, length, text.data(), length);
    text.resize(converted > 0 ? static_cast<std::size_t>(converted) : 0);
    const HWND control = ::GetDlgItem(dialog, id);
    wchar_t className[16] = {};
    ::GetClassNameW(control, className, 16);
    const bool list = ::lstrcmpiW(className, L"ListBox") == 0;
    ::SendMessageW(control, list ? LB_ADDSTRING : CB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(text.c_str()));
  }
}

INT_PTR CDialog::DoModal(HWND parent) {
  return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nIDTemplate), parent,
                           &CDialog::DialogProcedure, reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(INT_PTR result) {
  ::EndDialog(m_hWnd, result);
}

bool CDialog::UpdateData(bool save) {
  CDataExchange dx(m_hWnd, save);
  DoDataExchange(dx);
  return true;
}

bool CDialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void CDialog::OnOK() {
  if (UpdateData(true)) EndDialog(IDOK);
}

void CDialog::OnCancel() {
  EndDialog(IDCANCEL);
}

bool CDialog::OnCommand(UINT, UINT, HWND) {
  return false;
}

void CDialog::DoDataExchange(CDataExchange&) {}

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) {
  return false;
}

INT_PTR CALLBACK CDialog::DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    auto* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_INITDIALOG) {
      self = reinterpret_cast<CDialog*>(lParam);
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, lParam);
      self->m_hWnd = hwnd;
    }
    if (self == nullptr) return FALSE;
    if (message == WM_NCDESTROY) {
      // From here on no message of the dialog reaches the object.
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->m_hWnd = nullptr;
      return FALSE;
    }
    return self->DialogProc(message, wParam, lParam);
  } catch (...) {
    ReportCallbackFailure("dialog procedure");
  }
  return FALSE;
}

INT_PTR CDialog::DialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      ApplyDialogInitData(m_hWnd, m_nIDTemplate);
      return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND: {
      const UINT id = LOWORD(wParam);
      const UINT code = HIWORD(wParam);
      if (OnCommand(id, code, reinterpret_cast<HWND>(lParam))) return TRUE;
      if (code != BN_CLICKED) return FALSE;
      if (id == IDOK) {
        OnOK();
        return TRUE;
      }
      if (id == IDCANCEL) {
        OnCancel();
        return TRUE;
      }
      return FALSE;
    }
    default: {
      INT_PTR result = 0;
      if (!OnMessage(message, wParam, lParam, result)) return FALSE;
      ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
      return TRUE;
    }
  }
}

}  // namespace qv
