// The frame's rebar: bands for the menu bar, the toolbar and the tab control, whose chevrons
// show what a band is too short to show. It also passes its context menu and its layout
// changes on to the frame.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/ReBar.h"
#include "widgets/ChevronPopup.h"
#include "widgets/WidgetsExport.h"

class QV_WIDGETS_API CMyReBar : public qv::CReBar {
 public:
  CMyReBar();
  ~CMyReBar() override;

  // The index of the first band whose child is the window; the band count when none is.
  UINT GetBandPos(const qv::CWindow& child) const;
  // The toolbar pop-up, once a toolbar band's chevron has been pushed; null before.
  CChevronPopup* GetChevronPopup() const { return m_pChevronPopup.get(); }

 protected:
  LRESULT OnContextMenu(HWND hwnd, POINT screenPoint) override;
  bool OnReflectedNotify(NMHDR* header, LRESULT& result) override;
  void OnChildSize(NMHDR* header, LRESULT& result);
  void OnLayoutChanged(NMHDR* header, LRESULT& result);
  void OnChevronPushed(NMREBARCHEVRON* chevron, LRESULT& result);

  std::unique_ptr<CChevronPopup> m_pChevronPopup;
};
