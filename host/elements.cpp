/*
 * The host's element services: walking an element tree, filling variable
 * references, running value callbacks and drawing each kind of element.
 *
 * What an update pass makes of an element (the callback's value, a slider's
 * displacement, a string's text) is kept here, in a table keyed by the
 * element's address, not in the record's host-owned words: an icon record has
 * none, and one place for every kind keeps drawing and the scripts' checks
 * simple.  The records are written only where the module expects it: the
 * values of their variable references and a string's text pointer.
 *
 * Not interpreted: failure rules (no failures are simulated), image flags,
 * an icon's switching mode and a string's highlight colour.  A needle's turn
 * limit is not applied either; it points at its value at once.
 *
 * Positions: every element, children included, is placed relative to its
 * gauge's origin, and so are a needle's dial points.  Pictures of moving
 * parts (needles, sliders, icons) leave out their magenta pixels.
 */
#include "host.h"
#include "module_call.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <map>

namespace {

/* Trees deeper than this are taken as a fault of the module (a child list
 * that leads back to its parent) and not walked further. */
const int tree_depth_limit = 16;

/* A string element may ask for at most this many characters. */
const uint32_t string_length_limit = 4096;

/* Bytes after a string buffer that a callback must leave alone. */
const size_t guard_size = 16;
const unsigned char guard_byte = 0xA5;

/* A slider never moves further than this, whatever its variable says. */
const double slider_travel_limit = 10000.0;

/* A string's box is drawn no larger than this along either side. */
const uint32_t box_size_limit = 4096;

const COLORREF transparent_colour = RGB(255, 0, 255);

struct ElementState {
    bool updated = false;
    double value = 0;               /* the value callback's result */
    double dx = 0, dy = 0;          /* a slider's displacement */
    std::vector<char> text;         /* a string's buffer, then its guard bytes */
};

std::map<const ElementBase *, ElementState> states;
std::map<uint32_t, HBITMAP> pictures;

/* A picture's pixels as 0x00RRGGBB, top row first. */
struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> colour;
};
std::map<uint32_t, Pixels> pixel_cache;

void fill_variable(VariableRef &v)
{
    if (v.id == 0)
        return;
    if (!read_aircraft_variable(host.aircraft, &v))
        v.value.number = 0; /* a variable this aircraft does not have reads as 0 */
}

const char *gauge_name(const ElementBase *e)
{
    return e->gauge && e->gauge->name ? e->gauge->name : "(no gauge)";
}

void host_failure(const ElementBase *e, const char *what)
{
    fprintf(stderr, "host failure: %s string element: %s\n", gauge_name(e), what);
    fflush(stderr);
    host.failures++;
}

void update_needle(NeedleElement *n, ElementState &state)
{
    fill_variable(n->variable);
    if (n->callback)
        CALL_MODULE("needle value callback", state.value = n->callback(n));
    else
        state.value = n->variable.value.number;
}

void update_icon(IconElement *icon, ElementState &state)
{
    fill_variable(icon->variable);
    state.value = 0.0;
    if (icon->callback)
        CALL_MODULE("icon value callback", state.value = icon->callback(icon));
}

double slider_travel(const VariableRef &v, double scale)
{
    if (v.id == 0)
        return 0;
    double travel = v.value.number * scale;
    if (!(travel == travel))
        return 0;
    if (travel > slider_travel_limit)
        return slider_travel_limit;
    if (travel < -slider_travel_limit)
        return -slider_travel_limit;
    return travel;
}

void update_slider(SliderElement *s, ElementState &state)
{
    fill_variable(s->x_variable);
    fill_variable(s->y_variable);
    state.dx = slider_travel(s->x_variable, s->x_scale);
    state.dy = slider_travel(s->y_variable, s->y_scale);
}

void update_string(StringElement *s, ElementState &state)
{
    for (VariableRef &v : s->variables)
        fill_variable(v);
    if (s->max_length > string_length_limit) {
        char what[96];
        snprintf(what, sizeof what, "asks for %lu characters, more than the host's %lu",
                 (unsigned long)s->max_length, (unsigned long)string_length_limit);
        host_failure(&s->base, what);
        state.text.assign(guard_size + 1, 0);
        s->text = 0;
        return;
    }
    /* A fresh, empty buffer of max_length + 1 bytes with the guard after it. */
    size_t room = (size_t)s->max_length + 1;
    state.text.assign(room + guard_size, (char)guard_byte);
    memset(state.text.data(), 0, room);
    s->text = state.text.data();
    state.value = 0.0;
    if (s->callback)
        CALL_MODULE("string value callback", state.value = s->callback(s));
    char *text = state.text.data();
    for (size_t i = room; i < room + guard_size; i++)
        if ((unsigned char)text[i] != guard_byte) {
            host_failure(&s->base, "the callback wrote past the end of the text buffer");
            break;
        }
    if (memchr(text, 0, room) == 0)
        host_failure(&s->base, "the callback left the text without its terminating NUL");
    text[room - 1] = 0;
}

void update_tree(ElementBase *e, int depth)
{
    if (!e || depth > tree_depth_limit)
        return;
    ElementState &state = states[e];
    switch (e->kind) {
    case element_needle: update_needle(reinterpret_cast<NeedleElement *>(e), state); break;
    case element_icon: update_icon(reinterpret_cast<IconElement *>(e), state); break;
    case element_slider: update_slider(reinterpret_cast<SliderElement *>(e), state); break;
    case element_string: update_string(reinterpret_cast<StringElement *>(e), state); break;
    default: break;
    }
    state.updated = true;
    if (e->children)
        for (ElementBase **child = e->children; *child; child++)
            update_tree(*child, depth + 1);
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

const ElementState *state_of(const ElementBase *e)
{
    auto found = states.find(e);
    return found != states.end() && found->second.updated ? &found->second : 0;
}

void draw_needle(HDC dc, const NeedleElement *n, int x, int y)
{
    const ElementState *state = state_of(&n->base);
    double tx, ty;
    if (!dial_point(n->scale, n->scale_count, state ? state->value : 0.0, tx, ty))
        return;
    double angle = atan2(ty - n->base.y, tx - n->base.x);
    draw_turned(dc, n->base.bitmap, x + n->base.x, y + n->base.y, n->base.offset_x, n->base.offset_y, angle);
}

void draw_slider(HDC dc, const SliderElement *s, int x, int y)
{
    const ElementState *state = state_of(&s->base);
    int dx = state ? (int)lround(state->dx) : 0, dy = state ? (int)lround(state->dy) : 0;
    draw_turned(dc, s->base.bitmap, x + s->base.x + dx, y + s->base.y + dy, 0, 0, 0.0);
}

void draw_icon(HDC dc, const IconElement *icon, int x, int y)
{
    if (icon->base.bitmap == no_bitmap)
        return;
    const ElementState *state = state_of(&icon->base);
    int index = icon_picture(icon->picture_count, state ? state->value : 0.0);
    draw_turned(dc, icon->base.bitmap + (uint32_t)index, x + icon->base.x, y + icon->base.y, 0, 0, 0.0);
}

void draw_string(HDC dc, const StringElement *s, int x, int y)
{
    const ElementState *state = state_of(&s->base);
    int width = (int)(s->box_width < box_size_limit ? s->box_width : box_size_limit);
    int height = (int)(s->box_height < box_size_limit ? s->box_height : box_size_limit);
    RECT box = {x + s->base.x, y + s->base.y, x + s->base.x + width, y + s->base.y + height};
    HBRUSH background = CreateSolidBrush(s->background_colour & 0xFFFFFF);
    FillRect(dc, &box, background);
    DeleteObject(background);
    if (!state || state->text.empty())
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
    const char *text = state->text.data();
    DrawTextA(dc, text, lstrlenA(text), &box, flags);
    SelectObject(dc, old);
    DeleteObject(font);
}

void draw_tree(HDC dc, ElementBase *e, int x, int y, int depth)
{
    if (!e || depth > tree_depth_limit)
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

ElementBase *find_in_tree(ElementBase *e, uint32_t kind, int &nth, int depth)
{
    if (!e || depth > tree_depth_limit)
        return 0;
    if (e->kind == kind && --nth == 0)
        return e;
    if (e->children)
        for (ElementBase **child = e->children; *child; child++)
            if (ElementBase *found = find_in_tree(*child, kind, nth, depth + 1))
                return found;
    return 0;
}

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

bool dial_point(const ScalePoint *points, uint32_t count, double value, double &x, double &y)
{
    if (!points || count == 0)
        return false;
    const ScalePoint *hit = &points[0];
    if (!(value == value) || count == 1) {
        x = hit->x;
        y = hit->y;
        return true;
    }
    /* The first pair of neighbouring points whose values hold the value; a
     * value beyond the dial points at the nearer end. */
    for (uint32_t i = 0; i + 1 < count; i++) {
        const ScalePoint &a = points[i], &b = points[i + 1];
        double low = a.value < b.value ? a.value : b.value, high = a.value < b.value ? b.value : a.value;
        if (value >= low && value <= high) {
            double t = high > low ? (value - a.value) / (b.value - a.value) : 0.0;
            x = a.x + t * (b.x - a.x);
            y = a.y + t * (b.y - a.y);
            return true;
        }
    }
    const ScalePoint &first = points[0], &last = points[count - 1];
    bool rising = last.value >= first.value;
    hit = (value < first.value) == rising ? &first : &last;
    x = hit->x;
    y = hit->y;
    return true;
}

int icon_picture(uint32_t picture_count, double value)
{
    if (picture_count == 0 || !(value >= 0))
        return 0;
    if (value >= picture_count - 1)
        return (int)(picture_count - 1);
    return (int)value;
}

void update_element_tree(ElementBase *element)
{
    update_tree(element, 0);
}

void draw_element_tree(HDC dc, ElementBase *element, int x, int y)
{
    draw_tree(dc, element, x, y, 0);
}

ElementBase *find_element(ElementBase *tree, uint32_t kind, int nth)
{
    if (nth < 1)
        return 0;
    return find_in_tree(tree, kind, nth, 0);
}

bool element_result(const ElementBase *element, ElementResult &result)
{
    const ElementState *state = state_of(element);
    if (!state)
        return false;
    result.value = state->value;
    result.dx = state->dx;
    result.dy = state->dy;
    result.text = state->text.empty() ? "" : state->text.data();
    return true;
}
