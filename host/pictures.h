/*
 * The pictures the gauges name, by bitmap id: the module's own resource, else
 * the host's stand-in.  Loaded once and kept while the host runs.
 */
#ifndef PELMORA_HOST_PICTURE_STORE_H
#define PELMORA_HOST_PICTURE_STORE_H

#include <windows.h>
#include <stdint.h>

#include <vector>

/* The picture of a bitmap id; 0 when there is none. */
HBITMAP gauge_picture(uint32_t id);
/* Its size; 0 x 0 when there is none. */
SIZE picture_size(uint32_t id);

/* A picture's pixels as 0x00RRGGBB, top row first. */
struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> colour;
};
/* The pixels of a bitmap id; 0 when there is no picture. */
const Pixels *picture_pixels(uint32_t id);

#endif
