/*
 * The order of the dialog's sorted lists, and a bounded holder of the entries
 * of one fill, so that a fill can reach the quick-pick list already in that
 * order.  Portable: the window system's side is selection/quick_pick_fill.cpp.
 */
#ifndef PELMORA_LIST_ORDER_H
#define PELMORA_LIST_ORDER_H

#include <stddef.h>
#include <stdint.h>

/* The order in which a sorted list box of the system's default locale puts
 * 8-bit text of code page 1252, letter case ignored: < 0, 0 or > 0 as a sorts
 * before, with or after b.
 *
 * It follows the window system's word sort, level by level:
 *   1. letters, digits and symbols by their weight, letter case ignored;
 *      hyphens, apostrophes, dashes and control characters are passed over,
 *      and the soft hyphen counts nowhere at all; a text that ends first
 *      sorts first;
 *   2. the same characters again, an accented letter after its plain one;
 *   3. the passed-over characters: of two texts, the one whose first such
 *      character stands earlier sorts later; at the same place the weight
 *      decides (controls, then apostrophe, hyphen, en dash, em dash), and the
 *      text with more of them sorts later.
 * Only a model: the window system's own comparison has the last word, and
 * quick_pick_fill.cpp checks every neighbour against it. */
int list_order_compare(const char *a, const char *b);

/* The entries of one fill, held in one block of fixed cap that is allocated
 * at the first entry and freed by release().  Nothing is kept between fills. */
class HeldEntries {
public:
    static constexpr size_t max_entries = 65536;
    static constexpr size_t max_text_bytes = 4u << 20;     /* entries, zeros included */

    HeldEntries() {}
    ~HeldEntries() { release(); }
    HeldEntries(const HeldEntries &) = delete;
    HeldEntries &operator=(const HeldEntries &) = delete;

    /* Starts holding; the block comes with the first entry. */
    void start();
    bool holding() const { return holding_; }
    /* Holds a copy of entry; false, holding nothing more, when the entry is
     * over the cap or the block cannot be had.  The entries held so far stay
     * until release(). */
    bool add(const char *entry);

    size_t count() const { return count_; }
    /* Entry i, in the order of arrival, or in list order after sort(). */
    const char *entry(size_t i) const { return text_ + order_[i]; }
    /* Puts the entries in list order (list_order_compare), equal entries in
     * their order of arrival. */
    void sort();
    /* Puts the entries back in their order of arrival. */
    void restore_arrival_order();
    /* Entry i moves to place j (j <= i), the entries between one place on. */
    void move_back(size_t i, size_t j);
    /* Ends holding and frees the block. */
    void release();

private:
    bool allocate();

    bool holding_ = false;
    char *block_ = 0;
    char *text_ = 0;
    uint32_t *order_ = 0, *spare_ = 0;     /* text offsets; spare for the merge */
    size_t count_ = 0, text_used_ = 0;
};

/* The list that the held entries of a fill go to, one at a time; false when
 * it refuses an entry (it is full). */
class HeldEntryList {
public:
    virtual bool add_entry(const char *entry) = 0;
protected:
    ~HeldEntryList() {}
};

/* Adds the held entries, in their present order, until the list refuses
 * one; nothing after that is offered, so the list ends with a whole
 * beginning of the order and no entry out of it.  Returns how many it took. */
size_t add_held_entries(const HeldEntries &held, HeldEntryList &list);

#endif
