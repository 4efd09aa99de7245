// Image lists, as the common controls provide them: equally sized images kept in the list's own
// copy, each with a mask, drawn transparently where the mask says so.
#pragma once

#include "platform/gdi/WinGdi.h"

inline constexpr UINT ILC_MASK = 0x0001;
inline constexpr UINT ILC_COLOR = 0x0000;
inline constexpr UINT ILC_COLOR8 = 0x0008;
inline constexpr UINT ILC_COLOR16 = 0x0010;
inline constexpr UINT ILC_COLOR24 = 0x0018;
inline constexpr UINT ILC_COLOR32 = 0x0020;

inline constexpr UINT ILD_NORMAL = 0x0000;
inline constexpr UINT ILD_TRANSPARENT = 0x0001;
inline constexpr UINT ILD_BLEND25 = 0x0002;
inline constexpr UINT ILD_FOCUS = ILD_BLEND25;
inline constexpr UINT ILD_BLEND50 = 0x0004;
inline constexpr UINT ILD_SELECTED = ILD_BLEND50;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
// Adds the images of a bitmap (one per cx pixels of its width); returns the index of the first,
// or -1. ImageList_Add takes a mask bitmap (non-black pixels are transparent) or none;
// ImageList_AddMasked makes pixels of the colour mask transparent.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF mask);
// ILD_NORMAL and ILD_TRANSPARENT draw through the mask; ILD_FOCUS and ILD_SELECTED also blend
// the image 25 % or 50 % toward the highlight colour.
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC hdc, int x, int y, UINT style);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
