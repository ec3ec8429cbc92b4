// The toolbar control, and the framework's toolbar that loads its buttons and images from a
// toolbar resource.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/Controls.h"
#include "framework/UserHandles.h"

namespace qv {

class CToolBarCtrl : public CWindowBase {
 public:
  bool Create(HWND parent, DWORD style, UINT id, DWORD exStyle = 0);

  int GetButtonCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }
  bool GetButton(int index, TBBUTTON& button) const {
    return SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)) != 0;
  }
  bool AddButtons(int count, const TBBUTTON* buttons) const {
    return SendMessage(TB_ADDBUTTONSW, count, reinterpret_cast<LPARAM>(buttons)) != 0;
  }
  bool DeleteButton(int index) const { return SendMessage(TB_DELETEBUTTON, index) != 0; }
  // Adds one string (null-terminated list of one) to the string pool; its index or -1.
  int AddString(const std::wstring& text) const;
  bool GetItemRect(int index, RECT& rc) const {
    return SendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc)) != 0;
  }
  int GetHotItem() const { return static_cast<int>(SendMessage(TB_GETHOTITEM)); }
  int SetHotItem(int index) const { return static_cast<int>(SendMessage(TB_SETHOTITEM, index)); }
  bool PressButton(int id, bool press) const {
    return SendMessage(TB_PRESSBUTTON, id, MAKELPARAM(press ? TRUE : FALSE, 0)) != 0;
  }
  bool IsButtonEnabled(int id) const { return SendMessage(TB_ISBUTTONENABLED, id) != 0; }
  bool IsButtonChecked(int id) const { return SendMessage(TB_ISBUTTONCHECKED, id) != 0; }
  int HitTest(POINT pt) const {
    return static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt)));
  }
  void AutoSize() const { SendMessage(TB_AUTOSIZE); }
  bool SetBitmapSize(int cx, int cy) const {
    return SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(cx, cy)) != 0;
  }
  bool SetButtonSize(int cx, int cy) const {
    return SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(cx, cy)) != 0;
  }
  DWORD GetButtonSize() const { return static_cast<DWORD>(SendMessage(TB_GETBUTTONSIZE)); }
  SIZE GetMaxSize() const {
    SIZE size{};
    SendMessage(TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    return size;
  }
  void SetRows(int rows, bool larger, RECT& bounds) const {
    SendMessage(TB_SETROWS, MAKEWPARAM(rows, larger ? TRUE : FALSE),
                reinterpret_cast<LPARAM>(&bounds));
  }
  int GetRows() const { return static_cast<int>(SendMessage(TB_GETROWS)); }
  DWORD GetPadding() const { return static_cast<DWORD>(SendMessage(TB_GETPADDING)); }
  HIMAGELIST GetImageList() const {
    return reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETIMAGELIST));
  }
  HIMAGELIST SetImageList(HIMAGELIST list) const {
    return reinterpret_cast<HIMAGELIST>(
        SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list)));
  }
  HIMAGELIST GetDisabledImageList() const {
    return reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETDISABLEDIMAGELIST));
  }
  HIMAGELIST SetDisabledImageList(HIMAGELIST list) const {
    return reinterpret_cast<HIMAGELIST>(
        SendMessage(TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(list)));
  }
  DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(TB_GETEXTENDEDSTYLE)); }
  void SetExtendedStyle(DWORD style) const { SendMessage(TB_SETEXTENDEDSTYLE, 0, style); }
  bool SetButtonStyle(int id, BYTE style) const;
};

// One drawing of a toolbar's images: a bitmap of cells side by side and the cell size.
struct ToolBarImageSet {
  UINT bitmap;
  int cx;
  int cy;
};

// The framework's toolbar: buttons and images from a toolbar resource and a bitmap of the
// same identifier, whose light grey (192, 192, 192) is transparent.
class CToolBar : public CToolBarCtrl {
 public:
  bool LoadToolBar(UINT id);
  // Images and disabled images from the drawing made for the DPI: the sets are listed smallest
  // first, the first one for 96 DPI (dpi::ChooseImageSet). The images it had stay when the
  // bitmap cannot be loaded.
  bool LoadImagesForDpi(const ToolBarImageSet* sets, int count, UINT dpi);

 private:
  bool SetImages(HBITMAP bitmap, int cx, int cy, int count);

  UniqueImageList m_images;
  UniqueImageList m_disabledImages;
};

}  // namespace qv
