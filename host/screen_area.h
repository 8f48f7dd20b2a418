/* A part of the screen saved as a 24-bit BMP file: the host's screenshots
 * and those of the setup window's test driver. */
#ifndef PELMORA_HOST_SCREEN_AREA_H
#define PELMORA_HOST_SCREEN_AREA_H

bool save_screen_area(const char *path, int left, int top, int width, int height);

#endif
