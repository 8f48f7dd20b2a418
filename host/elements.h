/*
 * The update pass of the element services, and what it made of each element.
 */
#ifndef PELMORA_HOST_ELEMENTS_H
#define PELMORA_HOST_ELEMENTS_H

#include <stdint.h>

#include "module/interface/host_interface.h"

/* Fills the variable references of the tree and runs its value callbacks. */
void update_element_tree(ElementBase *element);

/* The nth (from 1) element of a kind in a tree, depth first; 0 when none. */
ElementBase *find_element(ElementBase *tree, uint32_t kind, int nth);

/* What the latest update pass made of an element. */
struct ElementResult {
    double value = 0;           /* the value callback's result */
    double dx = 0, dy = 0;      /* a slider's displacement, pixels */
    const char *text = "";      /* a string's text */
};
/* False (and result untouched) when the element has not been updated yet. */
bool element_result(const ElementBase *element, ElementResult &result);

#endif
