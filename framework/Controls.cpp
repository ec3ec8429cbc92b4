#include "framework/Controls.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "framework/Application.h"
#include "framework/Cp932.h"
#include "framework/Dpi.h"
#include "framework/FrameworkIds.h"
#include "framework/ListView.h"
#include "framework/ReBar.h"
#include "framework/RichEdit.h"
#include "framework/StatusBar.h"
#include "framework/TabCtrl.h"
#include "framework/ToolBar.h"

namespace qv {

namespace {

// Light grey marks the transparent pixels of toolbar bitmaps.
constexpr COLORREF kToolBarMaskColour = RGB(192, 192, 192);

// A bitmap resource as a bottom-up 24-bit DIB section, whose pixels can be read.
UniqueBitmap LoadDib(UINT id) {
  return UniqueBitmap(static_cast<HBITMAP>(::LoadImageW(
      ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

UniqueBitmap CreateDib(int width, int height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return UniqueBitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

// Each cell stretched on its own, pixel by pixel, so that no cell bleeds into its neighbour
// and the transparent grey stays exact.
UniqueBitmap ScaleCells(HBITMAP source, int count, int fromCx, int fromCy, int toCx, int toCy) {
  UniqueBitmap scaled = CreateDib(toCx * count, toCy, nullptr);
  if (!scaled) return scaled;
  HDC from = ::CreateCompatibleDC(nullptr);
  HDC to = ::CreateCompatibleDC(nullptr);
  const HGDIOBJ oldFrom = ::SelectObject(from, source);
  const HGDIOBJ oldTo = ::SelectObject(to, scaled.Get());
  ::SetStretchBltMode(to, COLORONCOLOR);
  for (int i = 0; i < count; ++i) {
    ::StretchBlt(to, i * toCx, 0, toCx, toCy, from, i * fromCx, 0, fromCx, fromCy, SRCCOPY);
  }
  ::SelectObject(from, oldFrom);
  ::SelectObject(to, oldTo);
  ::DeleteDC(from);
  ::DeleteDC(to);
  return scaled;
}

// The disabled images: every opaque pixel as a light grey of its brightness, never the
// transparent grey itself.
UniqueBitmap GreyCopy(HBITMAP source) {
  DIBSECTION section{};
  if (::GetObjectW(source, sizeof(section), &section) != sizeof(section) ||
      section.dsBm.bmBitsPixel != 24 || section.dsBm.bmBits == nullptr) {
    return UniqueBitmap();
  }
  const int width = section.dsBm.bmWidth;
  const int height = section.dsBm.bmHeight;
  void* bits = nullptr;
  UniqueBitmap grey = CreateDib(width, height, &bits);
  if (!grey) return grey;
  ::GdiFlush();
  const std::size_t stride = static_cast<std::size_t>(section.dsBm.bmWidthBytes);
  const auto* in = static_cast<const BYTE*>(section.dsBm.bmBits);
  auto* out = static_cast<BYTE*>(bits);
  std::memcpy(out, in, stride * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    BYTE* pixel = out + stride * static_cast<std::size_t>(y);
    for (int x = 0; x < width; ++x, pixel += 3) {
      if (RGB(pixel[2], pixel[1], pixel[0]) == kToolBarMaskColour) continue;
      const int brightness = (pixel[2] * 30 + pixel[1] * 59 + pixel[0] * 11) / 100;
      int shade = 128 + brightness / 2;
      if (shade == 192) shade = 191;
      pixel[0] = pixel[1] = pixel[2] = static_cast<BYTE>(shade);
    }
  }
  return grey;
}

struct ToolBarResource {
  WORD version;
  WORD width;
  WORD height;
  WORD count;
  // followed by `count` command identifiers; 0 is a separator
};

}  // namespace

void InitCommonControlClasses() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_TAB_CLASSES |
                                              ICC_LISTVIEW_CLASSES | ICC_WIN95_CLASSES};
    return ::InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

bool CreateControl(CWindowBase& control, const wchar_t* className, HWND parent, DWORD style,
                   UINT id, DWORD exStyle) {
  InitCommonControlClasses();
  return control.Create(className, parent, std::string(), style, exStyle, RECT{0, 0, 0, 0}, id);
}

// Toolbar.

bool CToolBarCtrl::Create(HWND parent, DWORD style, UINT id, DWORD exStyle) {
  if (!CreateControl(*this, TOOLBARCLASSNAMEW, parent, style, id, exStyle)) return false;
  SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  return true;
}

int CToolBarCtrl::AddString(const std::wstring& text) const {
  std::wstring list = text;
  list.push_back(L'\0');  // the pool takes a list that ends with an empty string
  return static_cast<int>(SendMessage(TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(list.c_str())));
}

bool CToolBarCtrl::SetButtonStyle(int id, BYTE style) const {
  TBBUTTONINFOW info{};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_STYLE;
  info.fsStyle = style;
  return SendMessage(TB_SETBUTTONINFOW, id, reinterpret_cast<LPARAM>(&info)) != 0;
}

bool CToolBar::LoadToolBar(UINT id) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(QV_RT_TOOLBAR));
  if (found == nullptr) return false;
  const DWORD size = ::SizeofResource(instance, found);
  HGLOBAL loaded = ::LoadResource(instance, found);
  const auto* data = static_cast<const ToolBarResource*>(::LockResource(loaded));
  if (data == nullptr || size < sizeof(ToolBarResource) || data->version != 1 ||
      size < sizeof(ToolBarResource) + data->count * sizeof(WORD)) {
    return false;
  }
  const auto* commands = reinterpret_cast<const WORD*>(data + 1);

  const UniqueBitmap bitmap = LoadDib(id);
  if (!bitmap || !SetImages(bitmap.Get(), data->width, data->height, data->count)) return false;

  std::vector<TBBUTTON> buttons;
  int image = 0;
  for (WORD i = 0; i < data->count; ++i) {
    TBBUTTON button{};
    if (commands[i] == 0) {
      button.fsStyle = BTNS_SEP;
    } else {
      button.iBitmap = image++;
      button.idCommand = commands[i];
      button.fsState = TBSTATE_ENABLED;
      button.fsStyle = BTNS_BUTTON;
    }
    button.iString = -1;
    buttons.push_back(button);
  }
  return buttons.empty() || AddButtons(static_cast<int>(buttons.size()), buttons.data());
}

bool CToolBar::SetImages(HBITMAP bitmap, int cx, int cy, int count) {
  const UniqueBitmap grey = GreyCopy(bitmap);
  UniqueImageList images(::ImageList_Create(cx, cy, ILC_COLOR24 | ILC_MASK, count, 0));
  UniqueImageList disabled(::ImageList_Create(cx, cy, ILC_COLOR24 | ILC_MASK, count, 0));
  if (!grey || !images || !disabled ||
      ::ImageList_AddMasked(images.Get(), bitmap, kToolBarMaskColour) < 0 ||
      ::ImageList_AddMasked(disabled.Get(), grey.Get(), kToolBarMaskColour) < 0) {
    return false;
  }
  SetBitmapSize(cx, cy);
  SetImageList(images.Get());
  SetDisabledImageList(disabled.Get());
  m_images = std::move(images);
  m_disabledImages = std::move(disabled);
  return true;
}

bool CToolBar::LoadImagesForDpi(const ToolBarImageSet* sets, int count, UINT dpi) {
  std::vector<dpi::ImageSize> sizes;
  for (int i = 0; i < count; ++i) sizes.push_back(dpi::ImageSize{sets[i].cx, sets[i].cy});
  const dpi::ImageChoice choice = dpi::ChooseImageSet(sizes.data(), count, static_cast<int>(dpi));
  if (count <= 0 || choice.size.cx <= 0 || choice.size.cy <= 0) return false;
  const ToolBarImageSet& set = sets[choice.set];
  UniqueBitmap bitmap = LoadDib(set.bitmap);
  BITMAP info{};
  if (!bitmap || ::GetObjectW(bitmap.Get(), sizeof(info), &info) == 0 || set.cx <= 0) return false;
  const int cells = info.bmWidth / set.cx;
  if (choice.size.cx != set.cx || choice.size.cy != set.cy) {
    bitmap = ScaleCells(bitmap.Get(), cells, set.cx, set.cy, choice.size.cx, choice.size.cy);
    if (!bitmap) return false;
  }
  return SetImages(bitmap.Get(), choice.size.cx, choice.size.cy, cells);
}

// Rebar.

bool CReBarCtrl::Create(HWND parent, DWORD style, UINT id, DWORD exStyle) {
  return CreateControl(*this, REBARCLASSNAMEW, parent, style, id, exStyle);
}

HWND CReBarCtrl::GetBandChild(UINT band) const {
  REBARBANDINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = RBBIM_CHILD;
  return GetBandInfo(band, info) ? info.hwndChild : nullptr;
}

bool CReBar::Create(HWND parent, DWORD controlStyle, UINT id) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CCS_NODIVIDER |
                      CCS_TOP | RBS_VARHEIGHT | controlStyle;
  return CReBarCtrl::Create(parent, style, id);
}

bool CReBar::AddBar(CWindow& bar, DWORD bandStyle, const wchar_t* text) {
  if (!bar.IsWindow()) return false;
  ::SetParent(bar, m_hWnd);
  SIZE size{};
  wchar_t className[32] = {};
  ::GetClassNameW(bar, className, 32);
  if (std::wstring(className) == TOOLBARCLASSNAMEW) {
    ::SendMessageW(bar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
  } else {
    const RECT rc = bar.GetWindowRect();
    size = SIZE{rc.right - rc.left, rc.bottom - rc.top};
  }
  REBARBANDINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask =
      RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_IDEALSIZE | RBBIM_TEXT;
  info.fStyle = bandStyle;
  info.hwndChild = bar;
  info.lpText = const_cast<wchar_t*>(text != nullptr ? text : L"");
  info.cxMinChild = 0;
  info.cyMinChild = size.cy;
  info.cx = size.cx;
  info.cxIdeal = size.cx;
  return InsertBand(-1, info);
}

LRESULT CReBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITMENUPOPUP:
    case WM_MENUSELECT:
      return ::SendMessageW(GetParent(), message, wParam, lParam);
    default:
      return CReBarCtrl::WindowProc(message, wParam, lParam);
  }
}

// Status bar.

bool CStatusBarCtrl::Create(HWND parent, DWORD style, UINT id) {
  return CreateControl(*this, STATUSCLASSNAMEW, parent, style, id);
}

void CStatusBarCtrl::SetText(int pane, const std::string& text) const {
  SendMessage(SB_SETTEXTW, pane, reinterpret_cast<LPARAM>(Cp932ToWide(text).c_str()));
}

std::string CStatusBarCtrl::GetText(int pane) const {
  const int length = LOWORD(SendMessage(SB_GETTEXTLENGTHW, pane));
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessage(SB_GETTEXTW, pane, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return WideToCp932(text);
}

bool CStatusBar::SetIndicators(const UINT* ids, int count) {
  m_indicators.clear();
  const int margin = ScaleToWindow(m_hWnd, 12);
  HDC dc = ::GetDC(m_hWnd);
  HGDIOBJ old = ::SelectObject(dc, GetFont() ? GetFont() : ::GetStockObject(DEFAULT_GUI_FONT));
  for (int i = 0; i < count; ++i) {
    const std::string text = LoadResourceString(ids[i]);
    const std::wstring wide = Cp932ToWide(text);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    m_indicators.push_back(Indicator{ids[i], text, extent.cx + margin, false});
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);
  ResizePanes(GetClientRect().right);
  ShowIdleText();
  UpdateIndicators();
  return true;
}

void CStatusBar::ResizePanes(int width) {
  std::vector<int> edges(m_indicators.size() + 1);
  int right = width;
  for (std::size_t i = m_indicators.size(); i > 0; --i) {
    edges[i] = right;
    right -= m_indicators[i - 1].width;
  }
  edges[0] = right > 0 ? right : 0;
  if (!m_indicators.empty()) edges.back() = -1;  // the last pane reaches the right edge
  SetParts(static_cast<int>(edges.size()), edges.data());
  for (std::size_t i = 0; i < m_indicators.size(); ++i) {
    SetText(static_cast<int>(i) + 1, m_indicators[i].on ? m_indicators[i].text : std::string());
  }
}

void CStatusBar::ShowIdleText() const {
  SetMessageText(LoadResourceString(QV_IDS_IDLE_MESSAGE));
}

void CStatusBar::UpdateIndicators() {
  for (std::size_t i = 0; i < m_indicators.size(); ++i) {
    Indicator& indicator = m_indicators[i];
    int key = 0;
    switch (indicator.id) {
      case QV_ID_INDICATOR_CAPS:
        key = VK_CAPITAL;
        break;
      case QV_ID_INDICATOR_NUM:
        key = VK_NUMLOCK;
        break;
      case QV_ID_INDICATOR_SCRL:
        key = VK_SCROLL;
        break;
      case QV_ID_INDICATOR_KANA:
        key = VK_KANA;
        break;
      default:
        continue;
    }
    const bool on = (::GetKeyState(key) & 1) != 0;
    if (on == indicator.on) continue;  // idle time stays cheap: repaint on change only
    indicator.on = on;
    SetText(static_cast<int>(i) + 1, on ? indicator.text : std::string());
  }
}

// Tab control.

bool CTabCtrl::Create(HWND parent, DWORD style, UINT id, DWORD exStyle) {
  return CreateControl(*this, WC_TABCONTROLW, parent, style, id, exStyle);
}

std::string CTabCtrl::GetItemText(int index) const {
  wchar_t buffer[256] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = buffer;
  item.cchTextMax = 256;
  if (!GetItem(index, item)) return {};
  return WideToCp932(buffer);
}

// List view.

bool CListViewCtrl::Create(HWND parent, DWORD style, UINT id, DWORD exStyle) {
  return CreateControl(*this, WC_LISTVIEWW, parent, style, id, exStyle);
}

int CListViewCtrl::InsertColumn(int index, const std::string& text, int width) const {
  std::wstring wide = Cp932ToWide(text);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = wide.data();
  column.cx = width;
  column.iSubItem = index;
  return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column)));
}

int CListViewCtrl::InsertItem(int index, const std::string& text) const {
  std::wstring wide = Cp932ToWide(text);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = wide.data();
  return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListViewCtrl::SetItemText(int index, int column, const std::string& text) const {
  std::wstring wide = Cp932ToWide(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  return SendMessage(LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item)) != 0;
}

std::string CListViewCtrl::GetItemText(int index, int column) const {
  wchar_t buffer[512] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = 512;
  SendMessage(LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
  return WideToCp932(buffer);
}

// Rich edit.

bool CRichEditCtrl::Create(HWND parent, DWORD style, UINT id, DWORD exStyle) {
  return CreateControl(*this, L"RichEdit20W", parent, style, id, exStyle);
}

void CRichEditCtrl::ReplaceSel(const std::string& text, bool canUndo) const {
  SendMessage(EM_REPLACESEL, canUndo ? TRUE : FALSE,
              reinterpret_cast<LPARAM>(Cp932ToWide(text).c_str()));
}

void CRichEditCtrl::AppendText(const std::string& text) const {
  const LONG end = GetTextLength();
  SetSel(end, end);
  ReplaceSel(text);
}

}  // namespace qv
