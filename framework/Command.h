// Commands: targets that carry them out, and update rules that enable and check the menu items
// and toolbar buttons that stand for them.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace qv {

// One menu item or toolbar button, as an update rule sees it.
class CCommandUI {
 public:
  explicit CCommandUI(UINT id) : m_nID(id) {}
  virtual ~CCommandUI() = default;
  UINT Id() const { return m_nID; }
  virtual void Enable(bool on) = 0;
  virtual void SetCheck(bool on) = 0;

 private:
  UINT m_nID;
};

class CCommandTarget {
 public:
  virtual ~CCommandTarget() = default;
  // True when the command was carried out here.
  virtual bool OnCommand(UINT id);
  // True when an update rule of this target decided the item's state.
  virtual bool OnUpdateCommand(CCommandUI& ui);
  // True when this target carries the command out (an item without a rule is then enabled).
  virtual bool HasCommand(UINT id) const;
};

// Commands as a table: an action and an optional update rule for one identifier or a range.
class CCommandTable : public CCommandTarget {
 public:
  using Action = std::function<void(UINT id)>;
  using UpdateRule = std::function<void(CCommandUI& ui)>;

  void Add(UINT id, Action action, UpdateRule update = {}) {
    AddRange(id, id, std::move(action), std::move(update));
  }
  void AddRange(UINT first, UINT last, Action action, UpdateRule update = {});

  bool OnCommand(UINT id) override;
  bool OnUpdateCommand(CCommandUI& ui) override;
  bool HasCommand(UINT id) const override;

 private:
  struct Entry {
    UINT first;
    UINT last;
    Action action;
    UpdateRule update;
  };
  const Entry* Find(UINT id) const;

  std::vector<Entry> m_entries;
};

// The items of a drop-down menu, updated when it opens.
class CMenuItemUI : public CCommandUI {
 public:
  CMenuItemUI(HMENU menu, UINT id) : CCommandUI(id), m_hMenu(menu) {}
  void Enable(bool on) override;
  void SetCheck(bool on) override;

 private:
  HMENU m_hMenu;
};

// A toolbar button, updated at idle time.
class CToolButtonUI : public CCommandUI {
 public:
  CToolButtonUI(HWND toolBar, UINT id) : CCommandUI(id), m_hWndToolBar(toolBar) {}
  void Enable(bool on) override;
  void SetCheck(bool on) override;

 private:
  HWND m_hWndToolBar;
};

}  // namespace qv
