/* The one kind of bitmap the host paints into pixel by pixel. */
#ifndef PELMORA_HOST_DIB_H
#define PELMORA_HOST_DIB_H

#include <windows.h>

/* A top-down 32-bit DIB section of width x height; *bits gets its pixels. */
inline HBITMAP create_dib32(HDC dc, int width, int height, void **bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, 0, 0);
}

#endif
