// What every common control wrapper shares: the controls library, and creation of a control
// window that its object then owns.
#pragma once

#include <windows.h>

#include "framework/WindowBase.h"

namespace qv {

// Registers the common control classes once per process.
void InitCommonControlClasses();

// Creates a control of a system class at a zero rectangle; the object owns and subclasses it.
bool CreateControl(CWindowBase& control, const wchar_t* className, HWND parent, DWORD style,
                   UINT id, DWORD exStyle = 0);

}  // namespace qv
