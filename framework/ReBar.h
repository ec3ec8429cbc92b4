// The rebar control, and the framework's rebar that takes other bars as bands.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/Controls.h"

namespace qv {

class CReBarCtrl : public CWindowBase {
 public:
  bool Create(HWND parent, DWORD style, UINT id, DWORD exStyle = 0);

  UINT GetBandCount() const { return static_cast<UINT>(SendMessage(RB_GETBANDCOUNT)); }
  bool GetBandInfo(UINT band, REBARBANDINFOW& info) const {
    return SendMessage(RB_GETBANDINFOW, band, reinterpret_cast<LPARAM>(&info)) != 0;
  }
  bool SetBandInfo(UINT band, REBARBANDINFOW& info) const {
    return SendMessage(RB_SETBANDINFOW, band, reinterpret_cast<LPARAM>(&info)) != 0;
  }
  bool InsertBand(int index, REBARBANDINFOW& info) const {
    return SendMessage(RB_INSERTBANDW, index, reinterpret_cast<LPARAM>(&info)) != 0;
  }
  bool GetRect(UINT band, RECT& rc) const {
    return SendMessage(RB_GETRECT, band, reinterpret_cast<LPARAM>(&rc)) != 0;
  }
  bool MoveBand(UINT from, UINT to) const { return SendMessage(RB_MOVEBAND, from, to) != 0; }
  void PushChevron(UINT band, LPARAM appValue = 0) const {
    SendMessage(RB_PUSHCHEVRON, band, appValue);
  }
  UINT GetBarHeight() const { return static_cast<UINT>(SendMessage(RB_GETBARHEIGHT)); }
  HWND GetBandChild(UINT band) const;
};

// The framework's rebar: a control bar at the top of a frame. Menus that a band's child opens
// with the rebar as owner reach the frame's update rules and prompts, as the child's commands
// and notifications do.
class CReBar : public CReBarCtrl {
 public:
  // The frame's default rebar styles plus the given control styles.
  bool Create(HWND parent, DWORD controlStyle, UINT id);
  // Makes the bar a child of the rebar and adds it as a band of the given style.
  bool AddBar(CWindow& bar, DWORD bandStyle, const wchar_t* text = L"");

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace qv
