// Test hooks of the engine's Windows adapters.
#pragma once

#include "QuorvelLExport.h"

// The library that the memory counters are read through ("psapi.dll"); tests name a missing
// one. Null restores it.
QUORVELL_EXPORT void SetCounterLibraryForTesting(const wchar_t* fileName);
