/*
 * The host's element services: walking an element tree, filling variable
 * references, running value callbacks and drawing each kind of element.
 */
#include "host.h"

#include <map>

static std::map<uint32_t, HBITMAP> pictures;

HBITMAP gauge_picture(uint32_t id)
{
    if (id == no_bitmap)
        return 0;
    auto found = pictures.find(id);
    if (found != pictures.end())
        return found->second;
    HBITMAP bitmap = (HBITMAP)LoadImageA(host.module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0,
                                         LR_CREATEDIBSECTION);
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

static void draw_picture(HDC dc, uint32_t id, int x, int y)
{
    HBITMAP bitmap = gauge_picture(id);
    if (!bitmap)
        return;
    SIZE size = picture_size(id);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(dc, x, y, size.cx, size.cy, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void update_element_tree(ElementBase *element)
{
    if (!element)
        return;
    if (element->children)
        for (ElementBase **child = element->children; *child; child++)
            update_element_tree(*child);
}

void draw_element_tree(HDC dc, ElementBase *element, int x, int y)
{
    if (!element)
        return;
    switch (element->kind) {
    case element_static_image:
        draw_picture(dc, element->bitmap, x + element->x, y + element->y);
        break;
    default:
        break;
    }
    if (element->children)
        for (ElementBase **child = element->children; *child; child++)
            draw_element_tree(dc, *child, x, y);
}
