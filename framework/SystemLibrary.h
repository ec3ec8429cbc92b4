// Libraries looked up at run time come from the system directory only, never from the
// current directory or the program's search path.
#pragma once

#include <string>

#include "framework/Handles.h"

namespace qv {

UniqueModule LoadSystemLibrary(const wchar_t* fileName);

// The full file name of the running program, however long; empty when the system gives none.
std::wstring RunningProgramPath();

// The entry of a loaded library as a typed function pointer, or null.
template <typename Function>
Function GetEntry(const UniqueModule& module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module.Get(), name)));
}

}  // namespace qv
