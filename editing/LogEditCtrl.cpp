#include "editing/LogEditCtrl.h"

#include "framework/Application.h"
#include "framework/Cp932.h"
#include "framework/FrameworkIds.h"
#include "framework/UserHandles.h"

namespace {

// Far above anything a log reaches; the control's default would cut it at 32K characters.
constexpr LONG kTextLimit = 0x7FFFFFFE;

}  // namespace

bool CLogEditCtrl::CreateView(HWND parent, UINT id) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE |
                      ES_AUTOVSCROLL | ES_NOHIDESEL | ES_READONLY | ES_WANTRETURN | WS_BORDER;
  if (!Create(parent, style, id, WS_EX_STATICEDGE)) return false;
  ModifyStyle(WS_BORDER, 0);
  ModifyExStyle(WS_EX_STATICEDGE, 0);
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  LimitText(kTextLimit);
  SetLogFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
  return true;
}

void CLogEditCtrl::SetLogFont(HFONT font) {
  LOGFONTW logFont{};
  if (::GetObjectW(font, sizeof(logFont), &logFont) != 0) SetLogFont(logFont, RGB(0, 0, 0));
}

void CLogEditCtrl::SetLogFont(const LOGFONTW& font, COLORREF color) {
  m_logFont = font;
  m_charFormat = CHARFORMAT2W{};
  m_charFormat.cbSize = sizeof(m_charFormat);
  SendMessage(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&m_charFormat));
  const HDC dc = ::GetDC(m_hWnd);
  const int pixelsPerInch = dc != nullptr ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc != nullptr) ::ReleaseDC(m_hWnd, dc);
  m_charFormat.dwMask = CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT |
                        CFM_COLOR | CFM_FACE | CFM_CHARSET;
  m_charFormat.yHeight = -::MulDiv(font.lfHeight, 72, pixelsPerInch) * 20;
  m_charFormat.dwEffects =
      (font.lfWeight >= FW_BOLD ? CFE_BOLD : 0) | (font.lfItalic ? CFE_ITALIC : 0) |
      (font.lfUnderline ? CFE_UNDERLINE : 0) | (font.lfStrikeOut ? CFE_STRIKEOUT : 0);
  m_charFormat.crTextColor = color;
  m_charFormat.bPitchAndFamily = font.lfPitchAndFamily;
  m_charFormat.bCharSet = font.lfCharSet;
  lstrcpynW(m_charFormat.szFaceName, font.lfFaceName, LF_FACESIZE);
  // Dual-font would swap the face for Asian characters behind the font's back.
  const LRESULT options = SendMessage(EM_GETLANGOPTIONS);
  SendMessage(EM_SETLANGOPTIONS, 0, options & ~static_cast<LRESULT>(IMF_DUALFONT));
  SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&m_charFormat));
}

void CLogEditCtrl::SetLogText(const std::string& text) const {
  SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(qv::Cp932ToWide(text).c_str()));
  SetSel(-1, -1);
}

bool CLogEditCtrl::PreTranslateMessage(const MSG& msg) const {
  if (msg.hwnd != m_hWnd || msg.message != WM_KEYDOWN || msg.wParam != 'V' ||
      ::GetKeyState(VK_CONTROL) >= 0) {
    return false;
  }
  SendMessage(EM_PASTESPECIAL, CF_TEXT);
  return true;
}

bool CLogEditCtrl::OnCommand(UINT id) {
  if (!IsWindow()) return false;
  if (id == QV_ID_EDIT_COPY) {
    SendMessage(WM_COPY);
    return true;
  }
  if (id == kSelectAllCommand) {
    SetSel(0, -1);
    return true;
  }
  return false;
}

bool CLogEditCtrl::OnUpdateCommand(qv::CCommandUI& ui) {
  if (!IsWindow() || !HasCommand(ui.Id())) return false;
  if (ui.Id() == QV_ID_EDIT_COPY) {
    CHARRANGE range{};
    SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    ui.Enable(range.cpMin != range.cpMax);
  } else {
    ui.Enable(true);
  }
  return true;
}

bool CLogEditCtrl::HasCommand(UINT id) const {
  return id == QV_ID_EDIT_COPY || id == kSelectAllCommand;
}

LRESULT CLogEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) {
    Default();
    EraseBackground(reinterpret_cast<HDC>(wParam));
    return TRUE;
  }
  return CRichEditCtrl::WindowProc(message, wParam, lParam);
}

// The context menu takes the place of the control's own right-button handling.
LRESULT CLogEditCtrl::OnRButtonDown(UINT, POINT pt) {
  ShowContextMenu(pt);
  return 0;
}

void CLogEditCtrl::ShowContextMenu(POINT clientPoint) {
  const qv::UniqueMenu menu(::CreatePopupMenu());
  if (!menu) return;
  const struct {
    UINT id;
    const char* text;
  } items[] = {{QV_ID_EDIT_UNDO, "元にもどす(&U)"},
               {QV_ID_EDIT_REDO, "やり直す(&R)"},
               {0, nullptr},
               {QV_ID_EDIT_CUT, "切り取り(&T)"},
               {QV_ID_EDIT_COPY, "コピー(&C)"},
               {QV_ID_EDIT_PASTE, "貼り付け(&P)"},
               {kSelectAllCommand, "すべて選択(&A)"}};
  for (const auto& item : items) {
    if (item.text == nullptr) {
      ::AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
    } else {
      ::AppendMenuW(menu.Get(), MF_STRING, item.id, qv::Cp932ToWide(item.text).c_str());
    }
  }
  POINT screen = clientPoint;
  ::ClientToScreen(m_hWnd, &screen);
  ::SetForegroundWindow(m_hWnd);
  const qv::CApplication* app = qv::CApplication::Current();
  const HWND owner = app != nullptr && app->MainWindowHandle() != nullptr
                         ? app->MainWindowHandle()
                         : ::GetAncestor(m_hWnd, GA_ROOT);
  ::TrackPopupMenu(menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, screen.x, screen.y, 0,
                   owner, nullptr);
  PostMessage(WM_NULL);
}

// Painted through a bitmap of the client's size, so that the view never flickers.
void CLogEditCtrl::EraseBackground(HDC dc) {
  const RECT client = GetClientRect();
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (dc == nullptr || width <= 0 || height <= 0) return;
  const qv::UniqueMemoryDC memory(::CreateCompatibleDC(dc));
  const qv::UniqueBitmap bitmap(::CreateCompatibleBitmap(dc, width, height));
  if (!memory || !bitmap) return;
  const HGDIOBJ old = ::SelectObject(memory.Get(), bitmap.Get());
  const qv::UniqueBrush brush(::CreateSolidBrush(m_crBackground));
  ::FillRect(memory.Get(), &client, brush.Get());
  ::BitBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
  ::SelectObject(memory.Get(), old);
}
