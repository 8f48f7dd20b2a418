#include "dial.h"

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
