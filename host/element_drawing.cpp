/*
 * Drawing an element tree as its latest update pass left it.  Every element,
 * children included, is placed relative to its gauge's origin, and so are a
 * needle's dial points.  Pictures of moving parts (needles, sliders, icons)
 * leave out their magenta pixels.  Not drawn: failures, image flags, an
 * icon's switching mode and a string's highlight colour; a needle's turn
 * limit is not applied either, it points at its value at once.
 */
#include "element_drawing.h"

#include <math.h>
#include <string.h>

#include "dial.h"
#include "dib.h"
#include "elements.h"
#include "host_fields.h"
#include "host_pictures.h"
#include "pictures.h"

namespace {

/* A string's box is drawn no larger than this along either side. */
const uint32_t box_size_limit = 4096;

/* Draws a picture turned by angle (radians, clockwise on the screen) about
 * its pivot pixel (ox, oy), with that pixel at (x, y), leaving out the
 * magenta pixels.  The area under it is copied out, painted in and copied
 * back, so this works on any device context. */
void draw_turned(HDC dc, uint32_t id, int x, int y, int ox, int oy, double angle)
{
    const Pixels *p = picture_pixels(id);
    if (!p)
        return;
    const double c = cos(angle), s = sin(angle);
    const double px = x + 0.5, py = y + 0.5;        /* the pivot's centre on the screen */
    const double qx = ox + 0.5, qy = oy + 0.5;      /* and within the picture */
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    const double corners[4][2] = {{0, 0}, {(double)p->width, 0}, {0, (double)p->height},
                                  {(double)p->width, (double)p->height}};
    for (const auto &k : corners) {
        double cx = px + c * (k[0] - qx) - s * (k[1] - qy);
        double cy = py + s * (k[0] - qx) + c * (k[1] - qy);
        left = cx < left ? cx : left;
        right = cx > right ? cx : right;
        top = cy < top ? cy : top;
        bottom = cy > bottom ? cy : bottom;
    }
    int x0 = (int)floor(left), y0 = (int)floor(top);
    int w = (int)ceil(right) - x0, h = (int)ceil(bottom) - y0;
    if (w <= 0 || h <= 0)
        return;
    void *bits = 0;
    HBITMAP area = create_dib32(dc, w, h, &bits);
    if (!area)
        return;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, area);
    BitBlt(memory, 0, 0, w, h, dc, x0, y0, SRCCOPY);
    GdiFlush();
    uint32_t *out = static_cast<uint32_t *>(bits);
    for (int row = 0; row < h; row++)
        for (int col = 0; col < w; col++) {
            /* Each screen pixel's centre, turned back into the picture. */
            double dx = x0 + col + 0.5 - px, dy = y0 + row + 0.5 - py;
            double sx = c * dx + s * dy + qx, sy = -s * dx + c * dy + qy;
            if (sx < 0 || sy < 0 || sx >= p->width || sy >= p->height)
                continue;
            uint32_t colour = p->colour[(size_t)(int)sy * p->width + (int)sx];
            /* 0x00RRGGBB against COLORREF's 0x00BBGGRR: magenta reads the same. */
            if (colour != transparent_colour)
                out[(size_t)row * w + col] = colour;
        }
    BitBlt(dc, x0, y0, w, h, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(area);
    DeleteDC(memory);
}

void draw_picture(HDC dc, uint32_t id, int x, int y)
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

void draw_needle(HDC dc, const NeedleElement *n, int x, int y)
{
    ElementResult r;
    element_result(&n->base, r);
    double tx, ty;
    if (!dial_point(n->scale, n->scale_count, r.value, tx, ty))
        return;
    double angle = atan2(ty - n->base.y, tx - n->base.x);
    draw_turned(dc, n->base.bitmap, x + n->base.x, y + n->base.y, n->base.offset_x, n->base.offset_y, angle);
}

void draw_slider(HDC dc, const SliderElement *s, int x, int y)
{
    ElementResult r;
    element_result(&s->base, r);
    int dx = (int)lround(r.dx), dy = (int)lround(r.dy);
    draw_turned(dc, s->base.bitmap, x + s->base.x + dx, y + s->base.y + dy, 0, 0, 0.0);
}

void draw_icon(HDC dc, const IconElement *icon, int x, int y)
{
    if (icon->base.bitmap == no_bitmap)
        return;
    ElementResult r;
    element_result(&icon->base, r);
    int index = icon_picture(icon->picture_count, r.value);
    draw_turned(dc, icon->base.bitmap + (uint32_t)index, x + icon->base.x, y + icon->base.y, 0, 0, 0.0);
}

void draw_string(HDC dc, const StringElement *s, int x, int y)
{
    int width = (int)(s->box_width < box_size_limit ? s->box_width : box_size_limit);
    int height = (int)(s->box_height < box_size_limit ? s->box_height : box_size_limit);
    RECT box = {x + s->base.x, y + s->base.y, x + s->base.x + width, y + s->base.y + height};
    HBRUSH background = CreateSolidBrush(s->background_colour & 0xFFFFFF);
    FillRect(dc, &box, background);
    DeleteObject(background);
    ElementResult r;
    if (!element_result(&s->base, r) || !*r.text)
        return;
    char face[font_face_room + 1];
    memcpy(face, s->font_face, font_face_room);
    face[font_face_room] = 0;
    int font_height = height * 4 / 5;
    HFONT font = CreateFontA(font_height > 0 ? -font_height : 0, 0, 0, 0, (int)s->font_weight, 0, 0, 0,
                             (DWORD)(s->char_set & 0xFF), 0, 0, 0, 0, face);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, s->text_colour & 0xFFFFFF);
    /* Flags that would write into the text or only measure it are dropped. */
    UINT flags = s->draw_flags & ~(UINT)(DT_MODIFYSTRING | DT_CALCRECT);
    DrawTextA(dc, r.text, lstrlenA(r.text), &box, flags);
    SelectObject(dc, old);
    DeleteObject(font);
}

void draw_tree(HDC dc, ElementBase *e, int x, int y, int depth)
{
    if (!e || depth > element_depth_limit)
        return;
    switch (e->kind) {
    case element_static_image: draw_picture(dc, e->bitmap, x + e->x, y + e->y); break;
    case element_needle: draw_needle(dc, reinterpret_cast<NeedleElement *>(e), x, y); break;
    case element_slider: draw_slider(dc, reinterpret_cast<SliderElement *>(e), x, y); break;
    case element_icon: draw_icon(dc, reinterpret_cast<IconElement *>(e), x, y); break;
    case element_string: draw_string(dc, reinterpret_cast<StringElement *>(e), x, y); break;
    default: break;
    }
    if (e->children)
        for (ElementBase **child = e->children; *child; child++)
            draw_tree(dc, *child, x, y, depth + 1);
}

} // namespace

void draw_element_tree(HDC dc, ElementBase *element, int x, int y)
{
    draw_tree(dc, element, x, y, 0);
}
