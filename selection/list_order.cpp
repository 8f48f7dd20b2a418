#include "list_order.h"

#include <stdlib.h>
#include <string.h>

#include <algorithm>

/* ---- The order ---- */

namespace {

/* Characters with a weight of their own, lightest first; the characters of
 * one string weigh the same (a letter and its other case). */
const char *const weighed[] = {
    "\x20", "\xa0", "\x09", "\x0a", "\x0b", "\x0c", "\x0d", "\x21", "\x22", "\x23", "\x24",
    "\x25", "\x26", "\x28", "\x29", "\x2a", "\x2c", "\x2e", "\x2f", "\x3a", "\x3b", "\x3f",
    "\x40", "\x5b", "\x5c", "\x5d", "\x5e\x88", "\x5f", "\x60", "\x7b", "\x7c", "\x7d", "\x7e",
    "\xa1", "\xa6", "\xa8", "\xaf", "\xb4", "\xb8", "\xbf", "\x98", "\x91", "\x92", "\x82",
    "\x93", "\x94", "\x84", "\x8b", "\x9b", "\xa2", "\xa3", "\xa4", "\xa5", "\x80", "\x2b",
    "\x3c", "\x3d", "\x3e", "\xb1", "\xab", "\xbb", "\xd7", "\xf7", "\xa7", "\xa9", "\xac",
    "\xae", "\xb0", "\xb5", "\xb6", "\xb7", "\x85", "\x86", "\x87", "\x95", "\x89", "\x81",
    "\x8d", "\x8f", "\x90", "\x9d", "\x30", "\xbc", "\xbd", "\xbe", "\x31", "\xb9", "\x32",
    "\xb2", "\x33", "\xb3", "\x34", "\x35", "\x36", "\x37", "\x38", "\x39", "\x41\x61", "\xaa",
    "\xc1\xe1", "\xc0\xe0", "\xc2\xe2", "\xc4\xe4", "\xc3\xe3", "\xc5\xe5", "\xc6\xe6",
    "\x42\x62", "\x43\x63", "\xc7\xe7", "\x44\x64", "\xd0\xf0", "\x45\x65", "\xc9\xe9",
    "\xc8\xe8", "\xca\xea", "\xcb\xeb", "\x46\x66", "\x83", "\x47\x67", "\x48\x68", "\x49\x69",
    "\xcd\xed", "\xcc\xec", "\xce\xee", "\xcf\xef", "\x4a\x6a", "\x4b\x6b", "\x4c\x6c",
    "\x4d\x6d", "\x4e\x6e", "\xd1\xf1", "\x4f\x6f", "\xba", "\xd3\xf3", "\xd2\xf2", "\xd4\xf4",
    "\xd6\xf6", "\xd5\xf5", "\xd8\xf8", "\x8c\x9c", "\x50\x70", "\x51\x71", "\x52\x72",
    "\x53\x73", "\x8a\x9a", "\xdf", "\x54\x74", "\xde\xfe", "\x99", "\x55\x75", "\xda\xfa",
    "\xd9\xf9", "\xdb\xfb", "\xdc\xfc", "\x56\x76", "\x57\x77", "\x58\x78", "\x59\x79",
    "\xdd\xfd", "\x9f\xff", "\x5a\x7a", "\x8e\x9e",
};

/* Characters passed over at first, lightest first. */
const char passed_over[] =
    "\x01\x02\x03\x04\x05\x06\x07\x08\x0e\x0f\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1a"
    "\x1b\x1c\x1d\x1e\x1f\x7f\x27\x2d\x96\x97";

/* Accented letters and the plain letter they weigh as at the first level. */
const char *const accented[][2] = {
    {"\xaa\xc0\xc1\xc2\xc3\xc4\xc5\xe0\xe1\xe2\xe3\xe4\xe5", "A"}, {"\xc7\xe7", "C"},
    {"\xc8\xc9\xca\xcb\xe8\xe9\xea\xeb", "E"}, {"\xcc\xcd\xce\xcf\xec\xed\xee\xef", "I"},
    {"\xd1\xf1", "N"}, {"\xba\xd2\xd3\xd4\xd5\xd6\xd8\xf2\xf3\xf4\xf5\xf6\xf8", "O"},
    {"\x8a\x9a", "S"}, {"\xd9\xda\xdb\xdc\xf9\xfa\xfb\xfc", "U"}, {"\x9f\xdd\xfd\xff", "Y"},
    {"\x8e\x9e", "Z"},
};

struct Weights {
    unsigned char full[256];    /* level 2: 0 for a character without weight */
    unsigned char base[256];    /* level 1 */
    unsigned char later[256];   /* level 3: the passed-over characters */

    Weights()
    {
        memset(this, 0, sizeof *this);
        unsigned char w = 0;
        for (const char *chars : weighed) {
            w++;
            for (const char *c = chars; *c; c++)
                full[(unsigned char)*c] = base[(unsigned char)*c] = w;
        }
        for (const auto &row : accented)
            for (const char *c = row[0]; *c; c++)
                base[(unsigned char)*c] = base[(unsigned char)row[1][0]];
        w = 0;
        for (const char *c = passed_over; *c; c++)
            later[(unsigned char)*c] = ++w;
    }
};

const Weights weights;

/* Compares the weighed characters of a and b by one table.  With
 * by_position, characters the table weighs that stand further into their
 * string sort first (the pass over what the others passed over). */
int compare_weighed(const unsigned char *a, const unsigned char *b, const unsigned char *table,
                    bool by_position)
{
    const unsigned char *const a0 = a, *const b0 = b;
    for (;;) {
        while (*a && !table[*a])
            a++;
        while (*b && !table[*b])
            b++;
        if (!*a || !*b)
            return *a ? 1 : *b ? -1 : 0;
        if (by_position && a - a0 != b - b0)
            return a - a0 < b - b0 ? 1 : -1;
        if (table[*a] != table[*b])
            return table[*a] < table[*b] ? -1 : 1;
        a++;
        b++;
    }
}

}  // namespace

int list_order_compare(const char *a, const char *b)
{
    const unsigned char *ua = (const unsigned char *)a, *ub = (const unsigned char *)b;
    int r = compare_weighed(ua, ub, weights.base, false);
    if (r == 0)
        r = compare_weighed(ua, ub, weights.full, false);
    if (r == 0)
        r = compare_weighed(ua, ub, weights.later, true);
    return r;
}

/* ---- The entries of one fill ---- */

void HeldEntries::start()
{
    release();
    holding_ = true;
}

bool HeldEntries::allocate()
{
    const size_t offsets = max_entries * sizeof(uint32_t);
    block_ = (char *)malloc(2 * offsets + max_text_bytes);
    if (!block_)
        return false;
    order_ = (uint32_t *)block_;
    spare_ = (uint32_t *)(block_ + offsets);
    text_ = block_ + 2 * offsets;
    return true;
}

bool HeldEntries::add(const char *entry)
{
    if (!holding_)
        return false;
    const size_t size = strlen(entry) + 1;
    if (count_ == max_entries || size > max_text_bytes - text_used_ || (!block_ && !allocate())) {
        holding_ = false;
        return false;
    }
    memcpy(text_ + text_used_, entry, size);
    order_[count_++] = (uint32_t)text_used_;
    text_used_ += size;
    return true;
}

void HeldEntries::sort()
{
    /* Bottom-up merge sort: stable, and a run already in order costs one
     * comparison per merge, so a file in list order sorts in linear time. */
    uint32_t *from = order_, *to = spare_;
    for (size_t width = 1; width < count_; width *= 2) {
        for (size_t lo = 0; lo < count_; lo += 2 * width) {
            const size_t mid = lo + width < count_ ? lo + width : count_;
            const size_t hi = lo + 2 * width < count_ ? lo + 2 * width : count_;
            if (mid == hi || list_order_compare(text_ + from[mid - 1], text_ + from[mid]) <= 0) {
                memcpy(to + lo, from + lo, (hi - lo) * sizeof *to);   /* already in order */
                continue;
            }
            size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi)
                to[k++] = list_order_compare(text_ + from[j], text_ + from[i]) < 0 ? from[j++]
                                                                                 : from[i++];
            while (i < mid)
                to[k++] = from[i++];
            while (j < hi)
                to[k++] = from[j++];
        }
        uint32_t *t = from;
        from = to;
        to = t;
    }
    if (from != order_)
        memcpy(order_, from, count_ * sizeof *order_);
}

void HeldEntries::restore_arrival_order()
{
    /* Entries are stored one after another as they come. */
    std::sort(order_, order_ + count_);
}

void HeldEntries::move_back(size_t i, size_t j)
{
    const uint32_t moved = order_[i];
    memmove(order_ + j + 1, order_ + j, (i - j) * sizeof *order_);
    order_[j] = moved;
}

size_t add_held_entries(const HeldEntries &held, HeldEntryList &list)
{
    size_t added = 0;
    while (added < held.count() && list.add_entry(held.entry(added)))
        added++;
    return added;
}

void HeldEntries::release()
{
    free(block_);
    block_ = text_ = 0;
    order_ = spare_ = 0;
    holding_ = false;
    count_ = text_used_ = 0;
}
