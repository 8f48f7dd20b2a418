/*
 * The selection dialog's searches: the ICAO lookup, the name search and the
 * quick pick.  Portable: they reach the dialog's two lists only through
 * ListControl, which the dialog implements with its controls and the tests
 * with an array.
 */
#ifndef PELMORA_SEARCHES_H
#define PELMORA_SEARCHES_H

#include <stddef.h>

#include "facility_file.h"

/* One list of the dialog: the quick-pick combo box or the results list box. */
class ListControl {
public:
    virtual void clear() = 0;
    /* Adds an entry; false when the list refuses it.  A list of the window
     * system holds a bounded number of entries (32,767 on Windows 9x, whose
     * lists count in 16 bits): once full, it refuses every entry until it is
     * emptied, and a search offers it no more but reads its file on. */
    virtual bool add(const char *entry) = 0;
    virtual void select(int index) = 0;
    virtual int count() = 0;
    virtual int selected() = 0;           /* -1 when nothing is selected */
    /* Copies entry index into out (room characters + zero); false when there
     * is no such entry or it does not fit whole. */
    virtual bool text(int index, char *out, size_t room) = 0;
    /* Brackets a pass that adds many entries, so a list may defer its work. */
    virtual void begin_fill() {}
    virtual void end_fill() {}
protected:
    ~ListControl() {}
};

/* ---- Entry rooms ---- */

/* Room of any entry the searches build: the longest long entry of four
 * 39-character fields is 159 characters, so no entry is ever cut. */
const size_t entry_room = 160;

/* Room of the typed ICAO text: no code is longer, so a longer text matches
 * nothing. */
const size_t typed_text_room = 39;

/* Room of the name search text and of the quick pick's first word. */
const size_t search_text_room = 29;
const size_t pick_word_room = 49;

/* ---- Entry formats ----
 *
 * The three kinds of list entry, each a row of columns separated by one
 * blank.  A column has a minimum width, padded with blanks: positive pads on
 * the left (right-aligned), negative on the right (left-aligned, printf's "-"
 * flag), 0 not at all; a longer text is never cut.  These tables are the
 * formats' one definition: the entries are written from them, and
 * entry_printf_format gives the same format for printf. */
const int entry_max_columns = 5;
struct EntryFormat {
    int count;
    int widths[entry_max_columns];
};
/* short entry (quick-pick list): code right-aligned in 6, then the name */
const EntryFormat short_entry_format = {2, {6, 0}};
/* long entry (results list): code, name, type, frequency */
const EntryFormat long_entry_format = {4, {-10, -32, -6, -6}};
/* runway line: designator, identifier, frequency, course, length */
const EntryFormat runway_line_format = {5, {-4, -4, -7, -4, 7}};

/* The printf format of an entry format ("%6s %s" for the short entry), cut to
 * room - 1 characters. */
void entry_printf_format(const EntryFormat &format, char *out, size_t room);

void format_short_entry(char *out, size_t room, const char *code, const char *name);
void format_long_entry(char *out, size_t room, const char *code, const char *name,
                       const char *third, const char *fourth);
/* A runway line; a part the descriptor lacks shows as "-". */
void format_runway_line(char *out, size_t room, const RunwayDescriptor *runway);

/* ---- Searches ---- */

/* The ICAO lookup, run on every change of the ICAO box: empties both lists,
 * reads the file of the mode through and lists prefix and exact matches.
 * typed is the box's whole text. */
void icao_lookup(const char *typed, bool airport_mode, ListControl &pick, ListControl &results);

/* FIND: lists the records whose code equals the first word of search_text
 * (case-insensitive) or whose name contains it (case-exact).  Airports are
 * added to the quick-pick list, navaids replace the results list. */
void name_search(const char *search_text, bool airport_mode, ListControl &pick,
                 ListControl &results);

/* The quick pick: the first word of the chosen quick-pick entry, the code to
 * put into the ICAO box.  False when there is no chosen entry or no word. */
bool quick_pick_code(ListControl &pick, char *code, size_t room);

/* Letter comparisons of the searches. */
bool equals_ignoring_case(const char *a, const char *b);   /* A-Z only */
bool has_prefix(const char *text, const char *prefix);     /* case-exact */

#endif
