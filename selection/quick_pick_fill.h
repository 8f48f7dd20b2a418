/*
 * A fill of the quick-pick list in the list's own order: the window system's
 * side of selection/list_order.h.
 */
#ifndef PELMORA_QUICK_PICK_FILL_H
#define PELMORA_QUICK_PICK_FILL_H

#include <windows.h>

#include "list_order.h"

/* Adds the held entries to the empty sorted combo box combo, whose style
 * turns entries into upper (or lower) case, so that each goes straight to
 * the end of its list: the entries are put in list order, checked pair by
 * pair against the list's own comparison and set right where the model
 * erred, then added in that order.  The list ends exactly as if every entry
 * had been added with CB_ADDSTRING as it came.
 *
 * held_not_in_order, with nothing added, when that cannot be promised: two
 * entries the list holds equal but that read differently (their order would
 * depend on how they came), too many corrections, or an entry too long; the
 * caller then adds them as they came, in the held order of arrival.
 * held_list_full when the list refused an entry (Windows 9x's lists hold
 * 32,767): it keeps the entries before it, the first ones of the order, and
 * nothing more is added. */
enum HeldFillResult { held_added, held_list_full, held_not_in_order };
HeldFillResult add_held_in_list_order(HWND combo, HeldEntries &held, bool upper, bool lower);

#endif
