#include "screen_area.h"

#include <windows.h>

#include <stdio.h>

bool save_screen_area(const char *path, int left, int top, int width, int height)
{
    HDC screen = GetDC(0);
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    void *bits = 0;
    HBITMAP shot = CreateDIBSection(screen, (BITMAPINFO *)&info, DIB_RGB_COLORS, &bits, 0, 0);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, shot);
    BitBlt(dc, 0, 0, width, height, screen, left, top, SRCCOPY);
    GdiFlush();
    DWORD stride = ((DWORD)width * 3 + 3) & ~3u;
    DWORD size = stride * (DWORD)height;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + size;
    FILE *out = fopen(path, "wb");
    bool ok = out && bits && fwrite(&file, sizeof file, 1, out) == 1 &&
              fwrite(&info, sizeof info, 1, out) == 1 && fwrite(bits, 1, size, out) == size;
    if (out)
        fclose(out);
    SelectObject(dc, old);
    DeleteObject(shot);
    DeleteDC(dc);
    ReleaseDC(0, screen);
    return ok;
}
