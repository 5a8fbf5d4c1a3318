// Module resources: finding and loading them (FindResourceW, LoadResource, LockResource,
// SizeofResource), string tables (LoadStringW), bitmaps (LoadBitmapW) and LoadImageW, with the
// resource types RT_* and the image loading flags. Resources are found through the instance
// handle of the module that carries them.
#pragma once

#include "windef.h"

#define RT_CURSOR MAKEINTRESOURCEW(1)
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_MENU MAKEINTRESOURCEW(4)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_FONTDIR MAKEINTRESOURCEW(7)
#define RT_FONT MAKEINTRESOURCEW(8)
#define RT_ACCELERATOR MAKEINTRESOURCEW(9)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_MESSAGETABLE MAKEINTRESOURCEW(11)
#define RT_GROUP_CURSOR MAKEINTRESOURCEW(12)
#define RT_GROUP_ICON MAKEINTRESOURCEW(14)
#define RT_VERSION MAKEINTRESOURCEW(16)

#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2

#define LR_DEFAULTCOLOR 0x00000000
#define LR_MONOCHROME 0x00000001
#define LR_LOADFROMFILE 0x00000010
#define LR_LOADTRANSPARENT 0x00000020
#define LR_DEFAULTSIZE 0x00000040
#define LR_CREATEDIBSECTION 0x00002000
#define LR_SHARED 0x00008000

// The resource `name` of `type` in `module`; null with ERROR_RESOURCE_TYPE_NOT_FOUND or
// ERROR_RESOURCE_NAME_NOT_FOUND when the module has none. Names and types are numbers
// (MAKEINTRESOURCEW), strings, or "#123" strings meaning the number 123.
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL resourceData);
DWORD SizeofResource(HMODULE module, HRSRC resource);
// Resources are part of their module's image: there is nothing to free.
BOOL FreeResource(HGLOBAL resourceData);

// Copies string `id` into buffer (at most bufferMax - 1 units and a terminator) and returns
// its length; 0 when there is no such string. With bufferMax 0, stores in *buffer a read-only
// pointer to the string in the module (not terminated) and returns its length.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax);

// A bitmap object holding bitmap resource `name`; null when there is none.
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);

// IMAGE_BITMAP or IMAGE_ICON resource `name`; cx, cy choose an icon's size (0 with
// LR_DEFAULTSIZE or for bitmaps: the image's own size). Destroy with DeleteObject or
// DestroyIcon.
HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags);
