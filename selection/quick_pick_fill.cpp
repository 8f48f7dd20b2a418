#include "quick_pick_fill.h"

#include <string.h>

namespace {

/* Room for an entry that this way takes; a longer one sends the fill the
 * other way.  Every entry the searches build fits. */
const int stored_room = 512;

/* An entry as the list keeps and compares it: in the letter case of the
 * box's style (as CB_ADDSTRING changes it), in wide characters of the ANSI
 * code page. */
struct StoredEntry {
    char text[stored_room];
    WCHAR wide[stored_room];
    bool plain;                 /* 7-bit text only */
};

bool is_plain(const char *text)
{
    for (; *text; text++)
        if ((unsigned char)*text >= 0x80)
            return false;
    return true;
}

/* The letter case the box's style gives 7-bit text. */
void change_plain_case(char *text, bool upper, bool lower)
{
    for (; *text; text++) {
        char c = *text;
        if (upper && c >= 'a' && c <= 'z')
            *text = (char)(c - 'a' + 'A');
        else if (lower && c >= 'A' && c <= 'Z')
            *text = (char)(c - 'A' + 'a');
    }
}

bool make_stored(const char *entry, bool upper, bool lower, StoredEntry *out)
{
    const size_t length = strlen(entry);
    if (length >= (size_t)stored_room)
        return false;
    memcpy(out->text, entry, length + 1);
    out->plain = is_plain(entry);
    if (out->plain) {
        change_plain_case(out->text, upper, lower);
        for (size_t i = 0; i <= length; i++)
            out->wide[i] = (WCHAR)(unsigned char)out->text[i];
        return true;
    }
    if (upper)
        CharUpperA(out->text);
    else if (lower)
        CharLowerA(out->text);
    return MultiByteToWideChar(CP_ACP, 0, out->text, -1, out->wide, stored_room) > 0;
}

/* The list's comparison of two entries: CompareString in its locale,
 * letter case ignored; 0 when the system fails it. */
int list_compare(LCID locale, const StoredEntry &a, const StoredEntry &b)
{
    return CompareStringW(locale, NORM_IGNORECASE, a.wide, -1, b.wide, -1);
}

/* Puts the sorted held entries right by the list's own comparison, as an
 * insertion sort that has almost nothing to move.  False when two entries
 * are equal to the list but differ, or when the corrections go over budget. */
bool check_order(HWND combo, HeldEntries &held, bool upper, bool lower)
{
    const LCID locale = (LCID)SendMessageA(combo, CB_GETLOCALE, 0, 0);
    size_t budget = 4096 + held.count() / 8;
    StoredEntry previous, current, other;     /* previous: the entry before place i */
    if (held.count() == 0 || !make_stored(held.entry(0), upper, lower, &previous))
        return held.count() == 0;
    for (size_t i = 1; i < held.count(); i++) {
        if (!make_stored(held.entry(i), upper, lower, &current))
            return false;
        int r = list_compare(locale, previous, current);
        if (r == CSTR_EQUAL && wcscmp(previous.wide, current.wide) != 0)
            return false;
        if (r == CSTR_LESS_THAN || r == CSTR_EQUAL) {
            previous = current;
            continue;
        }
        if (r != CSTR_GREATER_THAN)
            return false;
        /* The model erred: move the entry back past every entry after it. */
        size_t j = i - 1;
        for (; j > 0; j--) {
            if (budget-- == 0 || !make_stored(held.entry(j - 1), upper, lower, &other))
                return false;
            r = list_compare(locale, other, current);
            if (r == CSTR_EQUAL && wcscmp(other.wide, current.wide) != 0)
                return false;
            if (r == CSTR_LESS_THAN || r == CSTR_EQUAL)
                break;
            if (r != CSTR_GREATER_THAN)
                return false;
        }
        held.move_back(i, j);
    }
    return true;
}

/* The list box that holds the combo box's entries, or 0 when the system
 * does not say.  The combo box hands every entry on to this list; sent there
 * directly, an entry costs about half as much.  GetComboBoxInfo is looked up
 * when it is needed: Windows 95 and NT 4.0 lack it, and a module that named
 * it among its imports would not load there at all. */
HWND list_of(HWND combo)
{
    typedef BOOL(WINAPI * ComboBoxInfoGetter)(HWND, COMBOBOXINFO *);
#ifdef PELMORA_WITHOUT_COMBO_BOX_INFO
    FARPROC found = 0;                  /* a test build: a system without it */
#else
    HMODULE user = GetModuleHandleA("USER32.DLL");
    FARPROC found = user ? GetProcAddress(user, "GetComboBoxInfo") : 0;
#endif
    ComboBoxInfoGetter get_info =
        reinterpret_cast<ComboBoxInfoGetter>(reinterpret_cast<void (*)()>(found));
    COMBOBOXINFO info;
    info.cbSize = sizeof info;
    if (get_info && get_info(combo, &info) && info.hwndList)
        return info.hwndList;
    return 0;
}

}  // namespace

/* Every entry sorts after the one before it (or equals it in every
 * character): 7-bit text goes straight to the end, in the case that
 * CB_ADDSTRING would store; the rest takes CB_ADDSTRING, whose search of the
 * list ends at the end.  Each answer is checked: CB_ERR, CB_ERRSPACE, LB_ERR
 * and LB_ERRSPACE are all below zero. */
class ComboAtItsEnd : public HeldEntryList {
public:
    ComboAtItsEnd(HWND combo, bool upper, bool lower)
        : combo_(combo), list_(list_of(combo)), upper_(upper), lower_(lower)
    {
    }
    bool add_entry(const char *entry) override
    {
        LRESULT index;
        if (is_plain(entry)) {
            strcpy(text_, entry);
            change_plain_case(text_, upper_, lower_);
            if (list_)
                index = SendMessageA(list_, LB_INSERTSTRING, (WPARAM)-1, (LPARAM)text_);
            else
                index = SendMessageA(combo_, CB_INSERTSTRING, (WPARAM)-1, (LPARAM)text_);
        } else {
            index = SendMessageA(combo_, CB_ADDSTRING, 0, (LPARAM)entry);
        }
        return index >= 0;
    }

private:
    HWND combo_, list_;
    bool upper_, lower_;
    char text_[stored_room];
};

HeldFillResult add_held_in_list_order(HWND combo, HeldEntries &held, bool upper, bool lower)
{
    held.sort();
    if (!check_order(combo, held, upper, lower))
        return held_not_in_order;
    ComboAtItsEnd list(combo, upper, lower);
    return add_held_entries(held, list) == held.count() ? held_added : held_list_full;
}
