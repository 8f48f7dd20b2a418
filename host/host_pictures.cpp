/*
 * The host's own pictures for the sample gauges' bitmap ids.  The module
 * carries only the selection button's picture; these stand in for the rest.
 * Sizes fit the gauges' records: the mouse areas, the slider positions, the
 * needle's pivot and dial points, the readout's box and the unit marker.
 * Magenta (255, 0, 255) is left out when a moving part is drawn, so the
 * markers and the needle use it around their shapes.
 */
#include "host_pictures.h"

#include "dial.h"
#include "dib.h"

#include <math.h>

namespace {

const COLORREF face_colour = RGB(30, 30, 36);
const COLORREF frame_colour = RGB(105, 105, 114);
const COLORREF ink = RGB(225, 225, 225);
const COLORREF dim_ink = RGB(150, 150, 158);
const COLORREF marker_colour = RGB(255, 210, 0);
const COLORREF trim_colour = RGB(0, 200, 255);
const double pi = 3.14159265358979323846;

/* A picture being drawn: a 32-bit DIB selected into a memory DC. */
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill) : width_(width), height_(height)
    {
        void *bits = 0;
        dc_ = CreateCompatibleDC(0);
        bitmap_ = create_dib32(dc_, width, height, &bits);
        old_ = bitmap_ ? SelectObject(dc_, bitmap_) : 0;
        rect(0, 0, width, height, fill);
    }
    ~Canvas()
    {
        if (old_)
            SelectObject(dc_, old_);
        if (bitmap_)
            DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    /* The finished picture; the canvas lets go of it. */
    HBITMAP finish()
    {
        GdiFlush();
        SelectObject(dc_, old_);
        old_ = 0;
        HBITMAP done = bitmap_;
        bitmap_ = 0;
        return done;
    }

    void rect(int left, int top, int right, int bottom, COLORREF colour)
    {
        RECT r = {left, top, right, bottom};
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc_, &r, brush);
        DeleteObject(brush);
    }
    /* A rounded frame around the whole picture. */
    void frame(COLORREF fill, COLORREF edge)
    {
        rect(0, 0, width_, height_, RGB(0x30, 0x30, 0x34));
        shape(edge, fill, 2, [&] { RoundRect(dc_, 1, 1, width_ - 1, height_ - 1, 10, 10); });
    }
    void box(int left, int top, int right, int bottom, COLORREF fill, COLORREF edge)
    {
        shape(edge, fill, 1, [&] { Rectangle(dc_, left, top, right, bottom); });
    }
    void line(double x0, double y0, double x1, double y1, COLORREF colour, int width)
    {
        shape(colour, colour, width, [&] {
            MoveToEx(dc_, (int)lround(x0), (int)lround(y0), 0);
            LineTo(dc_, (int)lround(x1), (int)lround(y1));
        });
    }
    void circle(int cx, int cy, int r, COLORREF fill, COLORREF edge)
    {
        shape(edge, fill, 1, [&] { Ellipse(dc_, cx - r, cy - r, cx + r + 1, cy + r + 1); });
    }
    void polygon(const POINT *points, int count, COLORREF colour)
    {
        shape(colour, colour, 1, [&] { Polygon(dc_, points, count); });
    }
    void text(const char *words, int left, int top, int right, int bottom, int height, int weight,
              COLORREF colour)
    {
        HFONT font = CreateFontA(-height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                 ANTIALIASED_QUALITY, 0, "Tahoma");
        HGDIOBJ old = SelectObject(dc_, font);
        SetBkMode(dc_, TRANSPARENT);
        SetTextColor(dc_, colour);
        RECT r = {left, top, right, bottom};
        DrawTextA(dc_, words, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
        SelectObject(dc_, old);
        DeleteObject(font);
    }

private:
    template <typename Draw> void shape(COLORREF edge, COLORREF fill, int width, Draw draw)
    {
        HPEN pen = CreatePen(PS_SOLID, width, edge);
        HBRUSH brush = CreateSolidBrush(fill);
        HGDIOBJ old_pen = SelectObject(dc_, pen), old_brush = SelectObject(dc_, brush);
        draw();
        SelectObject(dc_, old_pen);
        SelectObject(dc_, old_brush);
        DeleteObject(pen);
        DeleteObject(brush);
    }

    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

/* ---- "Control_Surfaces": four scales and their markers ---- */

HBITMAP control_surfaces_background()
{
    Canvas c(136, 94, face_colour);
    c.frame(face_colour, frame_colour);
    /* Left: a vertical scale at x 18 for the marker at x 20, y 44 (centre 47). */
    c.line(18, 14, 18, 81, dim_ink, 1);
    for (int y = 17; y <= 77; y += 10)
        c.line(y == 47 ? 9 : 13, y, 18, y, y == 47 ? ink : dim_ink, 1);
    c.text("AIL", 0, 82, 44, 93, 9, FW_BOLD, dim_ink);
    /* Top: a horizontal scale at y 4 for the marker at x 95 (centre 98). */
    c.line(64, 4, 133, 4, dim_ink, 1);
    for (int x = 68; x <= 128; x += 10)
        c.line(x, 0, x, 4, x == 98 ? ink : dim_ink, 1);
    c.text("RUD", 40, 2, 62, 13, 9, FW_BOLD, dim_ink);
    /* Middle: a vertical scale at x 96 for the marker at x 98, y 46 (centre 49). */
    c.line(96, 22, 96, 77, dim_ink, 1);
    for (int y = 28; y <= 70; y += 7)
        c.line(y == 49 ? 86 : 91, y, 96, y, y == 49 ? ink : dim_ink, 1);
    c.text("ELV", 60, 42, 86, 56, 9, FW_BOLD, dim_ink);
    /* Bottom: a horizontal scale at y 92 for the marker at x 94, y 83 (centre 97). */
    c.line(64, 92, 133, 92, dim_ink, 1);
    for (int x = 73; x <= 121; x += 8)
        c.line(x, 88, x, 92, x == 97 ? ink : dim_ink, 1);
    c.text("TRM", 40, 81, 62, 92, 9, FW_BOLD, dim_ink);
    return c.finish();
}

/* A marker pointing left at the scale: 12 x 7, the tip at 0, 3. */
HBITMAP marker_left()
{
    Canvas c(12, 7, transparent_colour);
    const POINT tip[] = {{0, 3}, {11, 0}, {11, 6}};
    c.polygon(tip, 3, marker_colour);
    return c.finish();
}

/* A marker 7 x 10 pointing up (tip at 3, 0) or down (tip at 3, 9). */
HBITMAP marker_vertical(bool up, COLORREF colour)
{
    Canvas c(7, 10, transparent_colour);
    const POINT tip_up[] = {{3, 0}, {6, 9}, {0, 9}};
    const POINT tip_down[] = {{0, 0}, {6, 0}, {3, 9}};
    c.polygon(up ? tip_up : tip_down, 3, colour);
    return c.finish();
}

/* ---- "Fuel": the dial and the needle ---- */

/* The dial picture sits at x 9 in its gauge; its marks follow the needle's
 * dial points, which are given in the gauge (pivot at 150, 150). */
const int dial_left = 9;
const double pivot_x = 150, pivot_y = 150;
const ScalePoint fuel_marks[] = {
    {30, 182, 0.0, {0, 0}}, {119, 47, 25.0, {0, 0}}, {246, 93, 50.0, {0, 0}}, {241, 221, 75.0, {0, 0}},
};
const double fuel_full = 75.0;

HBITMAP fuel_dial()
{
    Canvas c(260, 240, face_colour);
    c.frame(RGB(14, 14, 18), frame_colour);
    /* The scale's outer edge, then a tick every 5 and a number every 25. */
    double last_x = 0, last_y = 0;
    for (int v = 0; v <= (int)fuel_full; v++) {
        double x, y;
        dial_point(fuel_marks, 4, v, x, y);
        x -= dial_left;
        if (v > 0)
            c.line(last_x, last_y, x, y, v <= 10 ? RGB(220, 40, 40) : dim_ink, 2);
        last_x = x;
        last_y = y;
    }
    for (int v = 0; v <= (int)fuel_full; v += 5) {
        double x, y;
        dial_point(fuel_marks, 4, v, x, y);
        double ux = x - pivot_x, uy = y - pivot_y, length = sqrt(ux * ux + uy * uy);
        ux /= length;
        uy /= length;
        x -= dial_left;
        bool major = v % 25 == 0;
        double tick = major ? 14 : 7;
        c.line(x - ux * tick, y - uy * tick, x, y, major ? ink : dim_ink, major ? 3 : 1);
        if (major) {
            char number[8];
            wsprintfA(number, "%d", v);
            int lx = (int)lround(x - ux * 28), ly = (int)lround(y - uy * 28);
            c.text(number, lx - 14, ly - 8, lx + 14, ly + 8, 14, FW_BOLD, ink);
        }
    }
    int cx = (int)pivot_x - dial_left, cy = (int)pivot_y;
    c.text("FUEL", cx - 30, cy + 28, cx + 30, cy + 44, 13, FW_BOLD, ink);
    c.text("GAL", cx - 30, cy + 44, cx + 30, cy + 58, 10, FW_NORMAL, dim_ink);
    return c.finish();
}

/* The needle points right from its pivot at 6, 12 (the hub's centre). */
HBITMAP fuel_needle()
{
    Canvas c(112, 25, transparent_colour);
    const POINT shaft[] = {{6, 9}, {98, 11}, {108, 12}, {98, 13}, {6, 15}};
    c.polygon(shaft, 5, RGB(255, 140, 0));
    c.circle(6, 12, 5, RGB(190, 190, 196), RGB(90, 90, 96));
    return c.finish();
}

/* ---- "Fuel_Selector": the knob in its four pictures ---- */

/* Picture k points at the k-th mark, left to right over the top. */
const double knob_angle_degrees[selector_knob_pictures] = {-90, -30, 30, 90};
const char *const knob_labels[selector_knob_pictures] = {"OFF", "L", "R", "BOTH"};

HBITMAP selector_knob(int picture)
{
    Canvas c(39, 48, RGB(40, 40, 46));
    const int cx = 19, cy = 18;
    for (double degrees : knob_angle_degrees) {
        double a = degrees * pi / 180;
        c.line(cx + 15 * sin(a), cy - 15 * cos(a), cx + 18 * sin(a), cy - 18 * cos(a), dim_ink, 2);
    }
    c.circle(cx, cy, 12, RGB(105, 105, 112), RGB(175, 175, 182));
    double a = knob_angle_degrees[picture] * pi / 180;
    c.line(cx, cy, cx + 11 * sin(a), cy - 11 * cos(a), RGB(250, 250, 250), 3);
    c.circle(cx, cy, 2, RGB(60, 60, 66), RGB(60, 60, 66));
    c.text(knob_labels[picture], 0, 35, 39, 48, 11, FW_BOLD, ink);
    return c.finish();
}

/* ---- "Temperature": the frame, and the unit letters ---- */

HBITMAP temperature_background()
{
    Canvas c(124, 47, face_colour);
    c.frame(face_colour, frame_colour);
    /* A thermometer at the left. */
    c.box(10, 8, 17, 33, RGB(215, 215, 215), RGB(150, 150, 158));
    c.rect(12, 18, 15, 34, RGB(220, 40, 40));
    c.circle(13, 36, 5, RGB(220, 40, 40), RGB(150, 150, 158));
    /* Frames around the readout (28, 9, 60 x 29) and the unit letter (99, 9). */
    c.box(26, 7, 90, 40, RGB(0, 0, 0), frame_colour);
    c.box(97, 7, 119, 40, RGB(0, 0, 0), frame_colour);
    return c.finish();
}

HBITMAP unit_letter(const char *letter)
{
    Canvas c(18, 29, RGB(0, 0, 0));
    c.text(letter, 0, 0, 18, 29, 20, FW_BOLD, ink);
    return c.finish();
}

} // namespace

HBITMAP host_picture(uint32_t id)
{
    if (id - picture_selector_knob < selector_knob_pictures)
        return selector_knob((int)(id - picture_selector_knob));
    switch (id) {
    case picture_control_surfaces: return control_surfaces_background();
    case picture_aileron_marker: return marker_left();
    case picture_rudder_marker: return marker_vertical(true, marker_colour);
    case picture_elevator_marker: return marker_left();
    case picture_trim_marker: return marker_vertical(false, trim_colour);
    case picture_fuel_dial: return fuel_dial();
    case picture_fuel_needle: return fuel_needle();
    case picture_temperature: return temperature_background();
    case picture_unit_letter: return unit_letter("F");
    case picture_unit_letter + 1: return unit_letter("C");
    }
    return 0;
}
