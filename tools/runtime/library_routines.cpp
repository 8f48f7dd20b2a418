/*
 * The library routines behind std::map, std::set and std::unordered_map that
 * the library keeps out of its headers: the red-black tree's steps and
 * rebalancing, and the hash table's choice of bucket counts.  The 32-bit
 * Windows programs define them here, built with their own flags, so that the
 * library's copies (built for the Pentium Pro and later) are not linked in.
 *
 * The bucket counts are the library's own (its table of primes and its
 * rule), so that an unordered container holds and visits its entries in the
 * same order as before; the tree's balancing decides only its shape, never
 * the order of its entries.  tests/tools/library_routines_test.cpp holds both
 * against the native library.
 *
 * The routines are written once, under names of their own
 * (library_routines.h); on 32-bit Windows the library's names call them.
 */
#include "library_routines.h"

#include <math.h>

#include <unordered_map>

namespace library_routines {

/* The library's bucket counts: these primes (the last one repeated as the
 * end), of which a request takes the first not below it. */
static const unsigned long primes[] = {
    2, 3, 5, 7, 11, 13,
    17, 19, 23, 29, 31, 37,
    41, 43, 47, 53, 59, 61,
    67, 71, 73, 79, 83, 89,
    97, 103, 109, 113, 127, 137,
    139, 149, 157, 167, 179, 193,
    199, 211, 227, 241, 257, 277,
    293, 313, 337, 359, 383, 409,
    439, 467, 503, 541, 577, 619,
    661, 709, 761, 823, 887, 953,
    1031, 1109, 1193, 1289, 1381, 1493,
    1613, 1741, 1879, 2029, 2179, 2357,
    2549, 2753, 2971, 3209, 3469, 3739,
    4027, 4349, 4703, 5087, 5503, 5953,
    6427, 6949, 7517, 8123, 8783, 9497,
    10273, 11113, 12011, 12983, 14033, 15173,
    16411, 17749, 19183, 20753, 22447, 24281,
    26267, 28411, 30727, 33223, 35933, 38873,
    42043, 45481, 49201, 53201, 57557, 62233,
    67307, 72817, 78779, 85229, 92203, 99733,
    107897, 116731, 126271, 136607, 147793, 159871,
    172933, 187091, 202409, 218971, 236897, 256279,
    277261, 299951, 324503, 351061, 379787, 410857,
    444487, 480881, 520241, 562841, 608903, 658753,
    712697, 771049, 834181, 902483, 976369, 1056323,
    1142821, 1236397, 1337629, 1447153, 1565659, 1693859,
    1832561, 1982627, 2144977, 2320627, 2510653, 2716249,
    2938679, 3179303, 3439651, 3721303, 4026031, 4355707,
    4712381, 5098259, 5515729, 5967347, 6456007, 6984629,
    7556579, 8175383, 8844859, 9569143, 10352717, 11200489,
    12117689, 13109983, 14183539, 15345007, 16601593, 17961079,
    19431899, 21023161, 22744717, 24607243, 26622317, 28802401,
    31160981, 33712729, 36473443, 39460231, 42691603, 46187573,
    49969847, 54061849, 58488943, 63278561, 68460391, 74066549,
    80131819, 86693767, 93793069, 101473717, 109783337, 118773397,
    128499677, 139022417, 150406843, 162723577, 176048909, 190465427,
    206062531, 222936881, 241193053, 260944219, 282312799, 305431229,
    330442829, 357502601, 386778277, 418451333, 452718089, 489790921,
    529899637, 573292817, 620239453, 671030513, 725980837, 785430967,
    849749479, 919334987, 994618837, 1076067617, 1164186217, 1259520799,
    1362662261, 1474249943, 1594975441, 1725587117, 1866894511, 2019773507,
    2185171673, 2364114217, 2557710269, 2767159799, 2993761039, 3238918481,
    3504151727, 3791104843, 4101556399, 4294967291, 4294967291,
};
static const unsigned prime_count = sizeof primes / sizeof primes[0] - 1;
static const unsigned char first_buckets[] = {2, 2, 2, 3, 5, 5, 7, 7, 11, 11, 11, 11, 13, 13};

size_t next_bucket_count(float max_load, size_t *next_resize, size_t n)
{
    if (n < sizeof first_buckets) {
        if (n == 0)
            return 1; /* nothing allocated yet: the first insertion allocates */
        *next_resize = (size_t)floor(first_buckets[n] * (double)max_load);
        return first_buckets[n];
    }
    /* The first prime not below n, searched from the seventh on and short of
     * the last, so that anything past the last but one gets the last. */
    const unsigned long *low = primes + 6;
    size_t count = (size_t)(primes + prime_count - 1 - low);
    while (count > 0) {
        size_t half = count / 2;
        if (low[half] < n) {
            low += half + 1;
            count -= half + 1;
        } else {
            count = half;
        }
    }
    if (low == primes + prime_count - 1)
        *next_resize = (size_t)-1; /* the largest count: never grow again */
    else
        *next_resize = (size_t)floor(*low * (double)max_load);
    return *low;
}

bool need_rehash(float max_load, size_t *next_resize, size_t buckets, size_t elements,
                 size_t inserted, size_t *new_buckets)
{
    if (elements + inserted <= *next_resize)
        return false;
    /* Nothing allocated so far: at least 11 buckets to start with. */
    size_t wanted = elements + inserted;
    if (*next_resize == 0 && wanted < 11)
        wanted = 11;
    double min_buckets = wanted / (double)max_load;
    if (min_buckets >= buckets) {
        size_t at_least = (size_t)floor(min_buckets) + 1;
        if (at_least < buckets * 2)
            at_least = buckets * 2;
        *new_buckets = next_bucket_count(max_load, next_resize, at_least);
        return true;
    }
    *next_resize = (size_t)floor(buckets * (double)max_load);
    return false;
}

Node *increment(Node *x)
{
    if (x->_M_right) {
        x = x->_M_right;
        while (x->_M_left)
            x = x->_M_left;
    } else {
        Node *y = x->_M_parent;
        while (x == y->_M_right) {
            x = y;
            y = y->_M_parent;
        }
        /* At the root with the header as its parent: the header is next. */
        if (x->_M_right != y)
            x = y;
    }
    return x;
}

Node *decrement(Node *x)
{
    if (x->_M_color == std::_S_red && x->_M_parent->_M_parent == x) {
        x = x->_M_right; /* the header: its previous is the rightmost */
    } else if (x->_M_left) {
        Node *y = x->_M_left;
        while (y->_M_right)
            y = y->_M_right;
        x = y;
    } else {
        Node *y = x->_M_parent;
        while (x == y->_M_left) {
            x = y;
            y = y->_M_parent;
        }
        x = y;
    }
    return x;
}

static void rotate_left(Node *x, Node *&root)
{
    Node *y = x->_M_right;
    x->_M_right = y->_M_left;
    if (y->_M_left)
        y->_M_left->_M_parent = x;
    y->_M_parent = x->_M_parent;
    if (x == root)
        root = y;
    else if (x == x->_M_parent->_M_left)
        x->_M_parent->_M_left = y;
    else
        x->_M_parent->_M_right = y;
    y->_M_left = x;
    x->_M_parent = y;
}

static void rotate_right(Node *x, Node *&root)
{
    Node *y = x->_M_left;
    x->_M_left = y->_M_right;
    if (y->_M_right)
        y->_M_right->_M_parent = x;
    y->_M_parent = x->_M_parent;
    if (x == root)
        root = y;
    else if (x == x->_M_parent->_M_right)
        x->_M_parent->_M_right = y;
    else
        x->_M_parent->_M_left = y;
    y->_M_right = x;
    x->_M_parent = y;
}

static bool black(const Node *x)
{
    return !x || x->_M_color == std::_S_black;
}

void insert_and_rebalance(bool left, Node *x, Node *p, Node &header)
{
    Node *&root = header._M_parent;
    x->_M_parent = p;
    x->_M_left = 0;
    x->_M_right = 0;
    x->_M_color = std::_S_red;
    if (left) {
        p->_M_left = x; /* also the leftmost when p is the header */
        if (p == &header) {
            header._M_parent = x;
            header._M_right = x;
        } else if (p == header._M_left) {
            header._M_left = x;
        }
    } else {
        p->_M_right = x;
        if (p == header._M_right)
            header._M_right = x;
    }
    while (x != root && x->_M_parent->_M_color == std::_S_red) {
        Node *grand = x->_M_parent->_M_parent;
        if (x->_M_parent == grand->_M_left) {
            Node *uncle = grand->_M_right;
            if (!black(uncle)) {
                x->_M_parent->_M_color = std::_S_black;
                uncle->_M_color = std::_S_black;
                grand->_M_color = std::_S_red;
                x = grand;
            } else {
                if (x == x->_M_parent->_M_right) {
                    x = x->_M_parent;
                    rotate_left(x, root);
                }
                x->_M_parent->_M_color = std::_S_black;
                grand->_M_color = std::_S_red;
                rotate_right(grand, root);
            }
        } else {
            Node *uncle = grand->_M_left;
            if (!black(uncle)) {
                x->_M_parent->_M_color = std::_S_black;
                uncle->_M_color = std::_S_black;
                grand->_M_color = std::_S_red;
                x = grand;
            } else {
                if (x == x->_M_parent->_M_left) {
                    x = x->_M_parent;
                    rotate_right(x, root);
                }
                x->_M_parent->_M_color = std::_S_black;
                grand->_M_color = std::_S_red;
                rotate_left(grand, root);
            }
        }
    }
    root->_M_color = std::_S_black;
}

Node *rebalance_for_erase(Node *z, Node &header)
{
    Node *&root = header._M_parent;
    Node *&leftmost = header._M_left;
    Node *&rightmost = header._M_right;
    Node *y = z;
    Node *x = 0;
    Node *x_parent = 0;

    if (!y->_M_left) {
        x = y->_M_right; /* at most one child; x may be null */
    } else if (!y->_M_right) {
        x = y->_M_left; /* exactly one child */
    } else {
        y = y->_M_right; /* two children: y is z's successor */
        while (y->_M_left)
            y = y->_M_left;
        x = y->_M_right;
    }
    if (y != z) {
        /* y takes z's place */
        z->_M_left->_M_parent = y;
        y->_M_left = z->_M_left;
        if (y != z->_M_right) {
            x_parent = y->_M_parent;
            if (x)
                x->_M_parent = y->_M_parent;
            y->_M_parent->_M_left = x;
            y->_M_right = z->_M_right;
            z->_M_right->_M_parent = y;
        } else {
            x_parent = y;
        }
        if (root == z)
            root = y;
        else if (z->_M_parent->_M_left == z)
            z->_M_parent->_M_left = y;
        else
            z->_M_parent->_M_right = y;
        y->_M_parent = z->_M_parent;
        std::_Rb_tree_color color = y->_M_color;
        y->_M_color = z->_M_color;
        z->_M_color = color;
        y = z; /* the node taken out */
    } else {
        x_parent = y->_M_parent;
        if (x)
            x->_M_parent = y->_M_parent;
        if (root == z)
            root = x;
        else if (z->_M_parent->_M_left == z)
            z->_M_parent->_M_left = x;
        else
            z->_M_parent->_M_right = x;
        if (leftmost == z) {
            if (!z->_M_right) {
                leftmost = z->_M_parent; /* the header when z was the root */
            } else {
                Node *m = x;
                while (m->_M_left)
                    m = m->_M_left;
                leftmost = m;
            }
        }
        if (rightmost == z) {
            if (!z->_M_left) {
                rightmost = z->_M_parent;
            } else {
                Node *m = x;
                while (m->_M_right)
                    m = m->_M_right;
                rightmost = m;
            }
        }
    }
    if (y->_M_color != std::_S_red) {
        while (x != root && black(x)) {
            if (x == x_parent->_M_left) {
                Node *w = x_parent->_M_right;
                if (w->_M_color == std::_S_red) {
                    w->_M_color = std::_S_black;
                    x_parent->_M_color = std::_S_red;
                    rotate_left(x_parent, root);
                    w = x_parent->_M_right;
                }
                if (black(w->_M_left) && black(w->_M_right)) {
                    w->_M_color = std::_S_red;
                    x = x_parent;
                    x_parent = x_parent->_M_parent;
                } else {
                    if (black(w->_M_right)) {
                        w->_M_left->_M_color = std::_S_black;
                        w->_M_color = std::_S_red;
                        rotate_right(w, root);
                        w = x_parent->_M_right;
                    }
                    w->_M_color = x_parent->_M_color;
                    x_parent->_M_color = std::_S_black;
                    if (w->_M_right)
                        w->_M_right->_M_color = std::_S_black;
                    rotate_left(x_parent, root);
                    break;
                }
            } else {
                Node *w = x_parent->_M_left;
                if (w->_M_color == std::_S_red) {
                    w->_M_color = std::_S_black;
                    x_parent->_M_color = std::_S_red;
                    rotate_right(x_parent, root);
                    w = x_parent->_M_left;
                }
                if (black(w->_M_right) && black(w->_M_left)) {
                    w->_M_color = std::_S_red;
                    x = x_parent;
                    x_parent = x_parent->_M_parent;
                } else {
                    if (black(w->_M_left)) {
                        w->_M_right->_M_color = std::_S_black;
                        w->_M_color = std::_S_red;
                        rotate_left(w, root);
                        w = x_parent->_M_left;
                    }
                    w->_M_color = x_parent->_M_color;
                    x_parent->_M_color = std::_S_black;
                    if (w->_M_left)
                        w->_M_left->_M_color = std::_S_black;
                    rotate_right(x_parent, root);
                    break;
                }
            }
        }
        if (x)
            x->_M_color = std::_S_black;
    }
    return y;
}

}  // namespace library_routines

#ifdef PELMORA_LIBRARY_ROUTINES

/* The library's names, for the programs built with them (the 32-bit Windows
 * programs). */
namespace std {

_Rb_tree_node_base *_Rb_tree_increment(_Rb_tree_node_base *x) throw()
{
    return library_routines::increment(x);
}

const _Rb_tree_node_base *_Rb_tree_increment(const _Rb_tree_node_base *x) throw()
{
    return library_routines::increment(const_cast<_Rb_tree_node_base *>(x));
}

_Rb_tree_node_base *_Rb_tree_decrement(_Rb_tree_node_base *x) throw()
{
    return library_routines::decrement(x);
}

const _Rb_tree_node_base *_Rb_tree_decrement(const _Rb_tree_node_base *x) throw()
{
    return library_routines::decrement(const_cast<_Rb_tree_node_base *>(x));
}

void _Rb_tree_insert_and_rebalance(const bool left, _Rb_tree_node_base *x, _Rb_tree_node_base *p,
                                   _Rb_tree_node_base &header) throw()
{
    library_routines::insert_and_rebalance(left, x, p, header);
}

_Rb_tree_node_base *_Rb_tree_rebalance_for_erase(_Rb_tree_node_base *const z,
                                                 _Rb_tree_node_base &header) throw()
{
    return library_routines::rebalance_for_erase(z, header);
}

namespace __detail {

std::size_t _Prime_rehash_policy::_M_next_bkt(std::size_t n) const
{
    return library_routines::next_bucket_count(_M_max_load_factor, &_M_next_resize, n);
}

std::pair<bool, std::size_t> _Prime_rehash_policy::_M_need_rehash(std::size_t buckets,
                                                                  std::size_t elements,
                                                                  std::size_t inserted) const
{
    std::size_t new_buckets = 0;
    bool grow = library_routines::need_rehash(_M_max_load_factor, &_M_next_resize, buckets,
                                              elements, inserted, &new_buckets);
    return {grow, new_buckets};
}

}  // namespace __detail
}  // namespace std

#endif
