// The tab control in a frame: tabs bound to pane windows, closed by the mouse and by its menu,
// and switching the frame's main pane.
#include "WindowTestSupport.h"
#include "widgets/MyTabCtrl.h"

namespace {

constexpr UINT kTabCountChanged = 5000;
constexpr UINT kActivated = 6000;

int g_panesDeleted = 0;

// A window for a tab; the tab control deletes it when its tab is closed.
class Pane : public qv::CWindowBase {
 public:
  ~Pane() override { ++g_panesDeleted; }
};

// Records the context menus the control opens.
class TestTab : public CMyTabCtrl {
 public:
  std::vector<std::vector<std::string>> menus;

 protected:
  LRESULT OnInitMenuPopup(HMENU menu, UINT, bool) override {
    menus.push_back(qvtest::MenuTexts(menu));
    return Default();
  }
};

class TabCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_panesDeleted = 0;
    ASSERT_TRUE(frame.Open(RECT{50, 50, 650, 450}));
    ASSERT_TRUE(tab.Create(frame, 0x50000420, 1010));
    tab.MoveWindow(RECT{0, 0, 600, 30});
    tab.SetwParamAfterTabCountChange(kTabCountChanged);
    tab.SetwParamAfterActivate(kActivated);
  }
  void TearDown() override {
    // Tabs that are still open keep their panes; the test owns them then.
    for (int i = tab.GetItemCount() - 1; i >= 0; --i) delete PaneAt(i);
  }

  // Tabs for panes that are children of the frame; the first one is the main pane.
  void AddTabs(int count) {
    for (int i = 0; i < count; ++i) {
      auto* pane = new Pane;
      const UINT id = i == 0 ? qv::kFirstPaneId : 100 + i;
      EXPECT_TRUE(qv::CreateControl(*pane, L"Static", frame, WS_CHILD | WS_VISIBLE, id));
      ASSERT_EQ(i, tab.AddHandle(pane));
      tab.SetItemText(i, "タブ" + std::to_string(i));
    }
    frame.commands.clear();
  }
  Pane* PaneAt(int index) { return reinterpret_cast<Pane*>(tab.GetItemData(index)); }
  void Click(UINT message, int index) {
    RECT rc{};
    EXPECT_TRUE(tab.GetItemRect(index, rc));
    tab.SendMessage(message, message == WM_MBUTTONDOWN ? MK_MBUTTON : 0, qvtest::CenterParam(rc));
  }
  // The context menu's keys are waiting in the queue when the menu opens.
  void RightClickChoosing(int index, std::initializer_list<UINT> keys) {
    for (UINT key : keys) qvtest::PostKey(tab, WM_KEYDOWN, key);
    Click(WM_RBUTTONDOWN, index);
    qvtest::DrainQueue();
  }

  qvtest::TestFrame frame;
  TestTab tab;
};

TEST_F(TabCtrlTest, AWindowHasOneTabAtMostAndItemDataHoldsWholePointers) {
  AddTabs(2);
  EXPECT_EQ(-1, tab.AddHandle(PaneAt(1)));
  Pane other;
  tab.RemoveHandle(&other);  // a window without a tab changes nothing, nor does the refused one
  EXPECT_EQ(2, tab.GetItemCount());
  EXPECT_TRUE(frame.commands.empty());
  EXPECT_EQ(-1, tab.GetItemPos(&other));

  const LPARAM wide = static_cast<LPARAM>(~static_cast<ULONG_PTR>(0) >> 1);
  const LPARAM kept = tab.GetItemData(1);
  EXPECT_TRUE(tab.SetItemData(1, wide));
  EXPECT_EQ(wide, tab.GetItemData(1));
  EXPECT_FALSE(tab.SetItemData(2, 1));
  EXPECT_EQ(0, tab.GetItemData(7));
  tab.SetItemData(1, kept);
}

TEST_F(TabCtrlTest, DoubleMiddleAndMenuCloseEveryTabButTab0AndNoneInStaticTabMode) {
  AddTabs(6);
  for (int index : {0, 2}) {  // tab 0, then tab 2 in static tab mode
    Click(WM_LBUTTONDBLCLK, index);
    Click(WM_MBUTTONDOWN, index);
    RightClickChoosing(index, {VK_ESCAPE});
    tab.SetStaticTabMode(TRUE);
  }
  EXPECT_EQ(2, tab.GetCurSel());  // the right click selected the tab
  // A right click on tab 0 only selects it; in static tab mode the menu is empty.
  EXPECT_EQ((std::vector<std::vector<std::string>>{{}}), tab.menus);
  tab.SetStaticTabMode(FALSE);
  EXPECT_EQ(6, tab.GetItemCount());
  EXPECT_EQ(0, frame.CountCommands(kTabCountChanged));

  // The same clicks close the other tabs, and their windows with them.
  Click(WM_LBUTTONDBLCLK, 5);
  EXPECT_EQ(5, tab.GetItemCount());
  Click(WM_MBUTTONDOWN, 4);
  EXPECT_EQ(4, tab.GetItemCount());
  RightClickChoosing(1, {VK_DOWN, VK_RETURN});  // "閉じる"
  EXPECT_EQ(3, tab.GetItemCount());
  EXPECT_EQ("タブ2", tab.GetItemText(1));
  EXPECT_EQ(0, tab.GetCurSel());  // the selection moved to the tab before
  EXPECT_EQ(3, g_panesDeleted);

  RightClickChoosing(2, {VK_DOWN, VK_DOWN, VK_RETURN});  // "全て閉じる"
  EXPECT_EQ(1, tab.GetItemCount());
  EXPECT_EQ("タブ0", tab.GetItemText(0));
  EXPECT_EQ(5, g_panesDeleted);
  EXPECT_EQ(5, frame.CountCommands(kTabCountChanged));  // one for each closed tab
  ASSERT_EQ(3u, tab.menus.size());
  EXPECT_EQ((std::vector<std::string>{"閉じる", "全て閉じる"}), tab.menus[2]);
}

TEST_F(TabCtrlTest, TheActiveTabsWindowBecomesTheMainPane) {
  AddTabs(3);
  Pane* first = PaneAt(0);
  Pane* third = PaneAt(2);
  const int thirdId = third->GetDlgCtrlID();
  // Activating the current main pane, or no window, does nothing.
  EXPECT_EQ(FALSE, tab.ActivateWindow(first));
  EXPECT_EQ(FALSE, tab.ActivateWindow(nullptr));
  EXPECT_TRUE(frame.commands.empty());

  // A click selects a tab; its notification comes back to the control, which activates it.
  Click(WM_LBUTTONDOWN, 2);
  EXPECT_EQ(2, tab.GetCurSel());
  EXPECT_EQ(qv::kFirstPaneId, third->GetDlgCtrlID());
  EXPECT_EQ(thirdId, first->GetDlgCtrlID());
  EXPECT_TRUE(third->IsWindowVisible());
  EXPECT_FALSE(first->IsWindowVisible());
  const RECT client = frame.GetClientRect();
  const RECT placed = third->MapRectTo(frame, third->GetClientRect());
  EXPECT_EQ(client.right, placed.right);
  EXPECT_EQ(client.bottom, placed.bottom);
  ASSERT_EQ(1, frame.CountCommands(kActivated));
  EXPECT_EQ(reinterpret_cast<LPARAM>(third), frame.commands.back().second);

  EXPECT_EQ(TRUE, tab.ActivateWindow(first));
  EXPECT_EQ(qv::kFirstPaneId, first->GetDlgCtrlID());
  EXPECT_EQ(thirdId, third->GetDlgCtrlID());
  EXPECT_EQ(2, frame.CountCommands(kActivated));

  EXPECT_EQ(2, tab.SetCurSelEx(PaneAt(1)));
  EXPECT_EQ(1, tab.GetCurSel());
  Pane stranger;
  EXPECT_EQ(-1, tab.SetCurSelEx(&stranger));
}

TEST_F(TabCtrlTest, SetFontsUsesTheTallerFontAndKeepsACopy) {
  HFONT small = ::CreateFontW(-10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma");
  HFONT large = ::CreateFontW(-20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma");
  // The "taller" font is the one whose signed height value is greater.
  tab.SetFonts(small, large);
  ::DeleteObject(small);  // the control holds a copy: the caller may delete its fonts
  ::DeleteObject(large);
  LOGFONTW font{};
  ASSERT_TRUE(::GetObjectW(tab.GetFont(), sizeof(font), &font));
  EXPECT_EQ(-10, font.lfHeight);
}

}  // namespace
