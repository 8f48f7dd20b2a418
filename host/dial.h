/*
 * Where the moving parts of the sample gauges point: a needle's dial point
 * and an icon's picture.  Portable, so the native tests run it.
 */
#ifndef PELMORA_HOST_DIAL_H
#define PELMORA_HOST_DIAL_H

#include <stdint.h>

#include "module/interface/host_interface.h"

/* The dial point of a needle's value: between the two neighbouring scale
 * points that hold it, in proportion; beyond the ends, the nearer end; not a
 * number, the first point.  False without scale points. */
bool dial_point(const ScalePoint *points, uint32_t count, double value, double &x, double &y);

/* The picture an icon shows for a callback value: truncated, held within
 * 0 .. picture_count - 1 (not a number: 0). */
int icon_picture(uint32_t picture_count, double value);

#endif
