#include "pictures.h"

#include <map>

#include "host.h"
#include "host_pictures.h"

namespace {

std::map<uint32_t, HBITMAP> pictures;
std::map<uint32_t, Pixels> pixel_cache;

} // namespace

HBITMAP gauge_picture(uint32_t id)
{
    if (id == no_bitmap)
        return 0;
    auto found = pictures.find(id);
    if (found != pictures.end())
        return found->second;
    HBITMAP bitmap = (HBITMAP)LoadImageA(host.module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0,
                                         LR_CREATEDIBSECTION);
    if (!bitmap)
        bitmap = host_picture(id);
    pictures[id] = bitmap;
    return bitmap;
}

SIZE picture_size(uint32_t id)
{
    SIZE size = {0, 0};
    HBITMAP bitmap = gauge_picture(id);
    BITMAP info;
    if (bitmap && GetObjectA(bitmap, sizeof info, &info)) {
        size.cx = info.bmWidth;
        size.cy = info.bmHeight;
    }
    return size;
}

const Pixels *picture_pixels(uint32_t id)
{
    auto found = pixel_cache.find(id);
    if (found != pixel_cache.end())
        return found->second.width ? &found->second : 0;
    Pixels &p = pixel_cache[id];
    HBITMAP bitmap = gauge_picture(id);
    SIZE size = picture_size(id);
    if (!bitmap || size.cx <= 0 || size.cy <= 0)
        return 0;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> colour((size_t)size.cx * size.cy);
    HDC dc = CreateCompatibleDC(0);
    int rows = GetDIBits(dc, bitmap, 0, size.cy, colour.data(), &info, DIB_RGB_COLORS);
    DeleteDC(dc);
    if (rows != size.cy)
        return 0;
    for (uint32_t &c : colour)
        c &= 0xFFFFFF;
    p.width = size.cx;
    p.height = size.cy;
    p.colour.swap(colour);
    return &p;
}
