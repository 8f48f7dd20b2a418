/* The library's tree and hash-table routines, under names of their own: see
 * library_routines.cpp. */
#ifndef PELMORA_RUNTIME_LIBRARY_ROUTINES_H
#define PELMORA_RUNTIME_LIBRARY_ROUTINES_H

#include <stddef.h>

#include <bits/stl_tree.h>

namespace library_routines {

typedef std::_Rb_tree_node_base Node;

/* The hash table's bucket count for at least n entries' worth of buckets,
 * and the element count at which it grows next (*next_resize). */
size_t next_bucket_count(float max_load, size_t *next_resize, size_t n);
/* Whether a table of `buckets` buckets holding `elements` grows before
 * `inserted` more go in, and to how many buckets (*new_buckets). */
bool need_rehash(float max_load, size_t *next_resize, size_t buckets, size_t elements,
                 size_t inserted, size_t *new_buckets);

/* The red-black tree: the next and previous node in order, a node's
 * insertion below p (on its left or right) with the rebalancing, and a
 * node's removal (it returns the node to free). */
Node *increment(Node *x);
Node *decrement(Node *x);
void insert_and_rebalance(bool left, Node *x, Node *p, Node &header);
Node *rebalance_for_erase(Node *z, Node &header);

}  // namespace library_routines

#endif
