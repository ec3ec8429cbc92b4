// The image-blending entries of msimg32.dll, reached only when the library and the entry exist;
// 0 otherwise.
#pragma once

#include <windows.h>

#include "QuorvelLExport.h"

extern "C" {
QUORVELL_EXPORT BOOL GradientFillByDLL(HDC hdc, PTRIVERTEX vertices, ULONG vertexCount, PVOID mesh,
                                       ULONG meshCount, ULONG mode);
QUORVELL_EXPORT BOOL TransparentBltByDLL(HDC hdcDest, int xDest, int yDest, int wDest, int hDest,
                                         HDC hdcSrc, int xSrc, int ySrc, int wSrc, int hSrc,
                                         UINT transparent);
QUORVELL_EXPORT BOOL AlphaBlendByDLL(HDC hdcDest, int xDest, int yDest, int wDest, int hDest,
                                     HDC hdcSrc, int xSrc, int ySrc, int wSrc, int hSrc,
                                     BLENDFUNCTION blend);
}

// Tests replace the library so that a missing library or entry can be shown; null restores it.
QUORVELL_EXPORT void SetImageLibraryForTesting(const wchar_t* fileName);
