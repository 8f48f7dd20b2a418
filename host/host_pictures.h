/* The host's own pictures for the sample gauges' bitmap ids. */
#ifndef PELMORA_HOST_PICTURES_H
#define PELMORA_HOST_PICTURES_H

#include <windows.h>
#include <stdint.h>

/* Pixels of this colour are left out when a moving part is drawn. */
const COLORREF transparent_colour = RGB(255, 0, 255);

/* A picture of the host's own for a bitmap id of the sample gauges, made
 * once per call; 0 for any other id. */
HBITMAP host_picture(uint32_t id);

#endif
