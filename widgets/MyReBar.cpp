#include "widgets/MyReBar.h"

#include "framework/Application.h"
#include "framework/Cp932.h"
#include "framework/ToolBar.h"
#include "framework/UserHandles.h"
#include "widgets/ChevronLayout.h"
#include "widgets/MenuBar.h"

namespace {

qv::chevron::Rect ToRect(const RECT& rc) {
  return {rc.left, rc.top, rc.right, rc.bottom};
}

// Removes the borrowed sub-menus from a pop-up menu before it goes, so that they survive it.
struct BorrowingMenuTraits {
  using Type = HMENU;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type menu) noexcept {
    while (::GetMenuItemCount(menu) > 0) ::RemoveMenu(menu, 0, MF_BYPOSITION);
    ::DestroyMenu(menu);
  }
};
using BorrowingMenu = qv::UniqueResource<BorrowingMenuTraits>;

}  // namespace

CMyReBar::CMyReBar() = default;

CMyReBar::~CMyReBar() = default;

UINT CMyReBar::GetBandPos(const qv::CWindow& child) const {
  const UINT count = GetBandCount();
  for (UINT i = 0; i < count; ++i) {
    if (GetBandChild(i) == child.Handle()) return i;
  }
  return count;
}

LRESULT CMyReBar::OnContextMenu(HWND, POINT screenPoint) {
  qv::CApplication* app = qv::CApplication::Current();
  HWND main = app != nullptr ? app->MainWindowHandle() : nullptr;
  if (main != nullptr) {
    ::PostMessageW(main, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd),
                   MAKELPARAM(screenPoint.x, screenPoint.y));
  }
  return 0;
}

bool CMyReBar::OnReflectedNotify(NMHDR* header, LRESULT& result) {
  switch (header->code) {
    case RBN_CHEVRONPUSHED:
      OnChevronPushed(reinterpret_cast<NMREBARCHEVRON*>(header), result);
      return true;
    case RBN_CHILDSIZE:
      OnChildSize(header, result);
      return true;
    case RBN_LAYOUTCHANGED:
      OnLayoutChanged(header, result);
      return true;
    default:
      return false;
  }
}

void CMyReBar::OnChildSize(NMHDR*, LRESULT& result) {
  ::SendMessageW(GetParent(), WM_SIZE, 0, 0);
  result = 0;
}

void CMyReBar::OnLayoutChanged(NMHDR* header, LRESULT& result) {
  OnChildSize(header, result);
}

void CMyReBar::OnChevronPushed(NMREBARCHEVRON* chevron, LRESULT& result) {
  result = 0;
  const HWND child = GetBandChild(chevron->uBand);
  RECT band{};
  if (child == nullptr || !GetRect(chevron->uBand, band)) return;

  // The part of the band that shows the child, in the child's client coordinates.
  const qv::chevron::Rect area =
      qv::chevron::VisibleArea(ToRect(band), chevron->rc.right - chevron->rc.left);
  RECT visible{area.left, area.top, area.right, area.bottom};
  visible = MapRectTo(child, visible);
  const POINT point = ClientToScreen(POINT{chevron->rc.left, chevron->rc.bottom});

  qv::CWindowBase* object = qv::CWindowBase::FromHandle(child);
  if (auto* toolBar = dynamic_cast<qv::CToolBar*>(object)) {
    if (!m_pChevronPopup) {
      auto popup = std::make_unique<CChevronPopup>();
      if (!popup->CreatePopup(m_hWnd)) return;
      m_pChevronPopup = std::move(popup);
    }
    m_pChevronPopup->ShowPopup(GetParent(), *toolBar, visible, point);
    return;
  }
  auto* menuBar = dynamic_cast<CMenuBar*>(object);
  if (menuBar == nullptr) return;  // a band of another kind has nothing to show

  BorrowingMenu popup(::CreatePopupMenu());
  if (!popup) return;
  const HMENU menu = menuBar->GetMenu();
  const int count = menuBar->GetButtonCount();
  for (int i = 0; i < count; ++i) {
    RECT button{};
    if (!menuBar->GetItemRect(i, button)) continue;
    if (qv::chevron::IsWhollyVisible(ToRect(button), ToRect(visible))) continue;
    wchar_t text[256] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
    ::AppendMenuW(popup.Get(), MF_POPUP | MF_STRING,
                  reinterpret_cast<UINT_PTR>(::GetSubMenu(menu, i)), text);
  }
  // The program runs on systems that all animate menus this way.
  ::TrackPopupMenu(popup.Get(), TPM_VERPOSANIMATION, point.x, point.y, 0, m_hWnd, nullptr);
  PostMessage(WM_NULL);
}
