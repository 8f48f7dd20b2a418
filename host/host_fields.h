/*
 * The host-owned fields of the module's element records, and the limits the
 * host keeps to when it walks a tree the module built.
 */
#ifndef PELMORA_HOST_FIELDS_H
#define PELMORA_HOST_FIELDS_H

#include "module/interface/host_interface.h"

/* Trees deeper than this are taken as a fault of the module (a child list
 * that leads back to its parent) and not walked further. */
const int element_depth_limit = 16;

/* A needle with more scale points than this has its count taken as a fault;
 * the host looks at no more of them. */
const uint32_t scale_point_limit = 1024;

/* Writes 0 into every host-owned field of the tree's records, as the
 * simulator writes its own words there when it takes the tree over. */
void take_host_fields(ElementBase *tree);

#endif
