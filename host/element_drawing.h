/* Drawing an element tree as its latest update pass left it. */
#ifndef PELMORA_HOST_ELEMENT_DRAWING_H
#define PELMORA_HOST_ELEMENT_DRAWING_H

#include <windows.h>

#include "module/interface/host_interface.h"

/* Draws the tree with the gauge's origin at (x, y). */
void draw_element_tree(HDC dc, ElementBase *element, int x, int y);

#endif
