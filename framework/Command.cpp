#include "framework/Command.h"

#include <commctrl.h>

namespace qv {

bool CCommandTarget::OnCommand(UINT) {
  return false;
}
bool CCommandTarget::OnUpdateCommand(CCommandUI&) {
  return false;
}
bool CCommandTarget::HasCommand(UINT) const {
  return false;
}

void CCommandTable::AddRange(UINT first, UINT last, Action action, UpdateRule update) {
  m_entries.push_back(Entry{first, last, std::move(action), std::move(update)});
}

const CCommandTable::Entry* CCommandTable::Find(UINT id) const {
  for (const Entry& entry : m_entries) {
    if (entry.first <= id && id <= entry.last) return &entry;
  }
  return nullptr;
}

bool CCommandTable::OnCommand(UINT id) {
  const Entry* entry = Find(id);
  if (entry == nullptr || !entry->action) return false;
  entry->action(id);
  return true;
}

bool CCommandTable::OnUpdateCommand(CCommandUI& ui) {
  const Entry* entry = Find(ui.Id());
  if (entry == nullptr || !entry->update) return false;
  entry->update(ui);
  return true;
}

bool CCommandTable::HasCommand(UINT id) const {
  const Entry* entry = Find(id);
  return entry != nullptr && entry->action;
}

void CMenuItemUI::Enable(bool on) {
  ::EnableMenuItem(m_hMenu, Id(), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

void CMenuItemUI::SetCheck(bool on) {
  ::CheckMenuItem(m_hMenu, Id(), MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void CToolButtonUI::Enable(bool on) {
  ::SendMessageW(m_hWndToolBar, TB_ENABLEBUTTON, Id(), MAKELPARAM(on ? TRUE : FALSE, 0));
}

void CToolButtonUI::SetCheck(bool on) {
  ::SendMessageW(m_hWndToolBar, TB_CHECKBUTTON, Id(), MAKELPARAM(on ? TRUE : FALSE, 0));
}

}  // namespace qv
