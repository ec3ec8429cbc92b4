// Owners for the user-interface handles the window program holds: menus, hooks, GDI objects,
// icons and image lists.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/UniqueResource.h"

namespace qv {

struct MenuTraits {
  using Type = HMENU;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::DestroyMenu(h); }
};
using UniqueMenu = UniqueResource<MenuTraits>;

struct HookTraits {
  using Type = HHOOK;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::UnhookWindowsHookEx(h); }
};
using UniqueHook = UniqueResource<HookTraits>;

template <typename Handle>
struct GdiObjectTraits {
  using Type = Handle;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::DeleteObject(h); }
};
using UniqueFont = UniqueResource<GdiObjectTraits<HFONT>>;
using UniqueBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;
using UniqueBrush = UniqueResource<GdiObjectTraits<HBRUSH>>;

// A memory device context.
struct MemoryDCTraits {
  using Type = HDC;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::DeleteDC(h); }
};
using UniqueMemoryDC = UniqueResource<MemoryDCTraits>;

struct IconTraits {
  using Type = HICON;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::DestroyIcon(h); }
};
using UniqueIcon = UniqueResource<IconTraits>;

struct ImageListTraits {
  using Type = HIMAGELIST;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::ImageList_Destroy(h); }
};
using UniqueImageList = UniqueResource<ImageListTraits>;

}  // namespace qv
