/*
 * The selection dialog: one dialog procedure that routes each message to one
 * handler.  The searches and the tuning are portable code; this file gives
 * them the dialog's lists through ListControl and the simulator's key events
 * through KeyEventSink.
 */
#include "launcher.h"

#include <string.h>

#include "../module/interface/imports.h"
#include "quick_pick_fill.h"
#include "searches.h"
#include "selection_ids.h"
#include "tuning.h"

int airport_mode_flag;
int navaid_mode_flag;

/* ---- The dialog's lists behind ListControl ---- */

/* The length of a text of 7-bit characters only; -1 for any other text. */
static int length_if_7bit(const char *text)
{
    int n = 0;
    for (; text[n]; n++)
        if ((unsigned char)text[n] >= 0x80)
            return -1;
    return n;
}

/* Either list of the dialog: the list box IDC_RESULTS or the quick-pick
 * list of the combo box IDC_PICK.  While a search fills it, redrawing is off
 * and a selection is applied once at the end: only the final state shows.
 *
 * A sorted combo box inserts every entry after a search of its list; in a
 * fill from a file in quick-pick order that search always ends at the end.
 * So an entry that sorts after the list's last entry goes straight to the end
 * (CB_INSERTSTRING), by the list's own comparison (CompareString in the
 * list's locale, letter case ignored), with the letter case that the box's
 * style would give it.  Only 7-bit text goes that way, where neither the
 * conversion to wide characters nor the change of case can differ from the
 * control's; the rest, and an entry equal to the last, take CB_ADDSTRING.
 * The list ends the same as with CB_ADDSTRING for every entry.
 *
 * Windows 9x's lists hold at most 32,767 entries.  Every add's answer is
 * checked (CB_ERR, CB_ERRSPACE, LB_ERR, LB_ERRSPACE): at the first refusal
 * the list is full, refuses every entry until it is emptied, and says so to
 * the search.  A sorted list keeps the entries it took in its order; a held
 * fill then holds the first entries of the list's order. */
class DialogList : public ListControl, private HeldEntryList {
public:
    DialogList(HWND control, bool combo) : control_(control), combo_(combo)
    {
        LONG style = combo ? GetWindowLongA(control, GWL_STYLE) : 0;
        sorted_ = (style & CBS_SORT) != 0;
        upper_ = (style & CBS_UPPERCASE) != 0;
        lower_ = (style & CBS_LOWERCASE) != 0;
    }

    void clear() override
    {
        send(combo_ ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
        pending_select_ = -1;
        count_ = 0;
        full_ = false;
    }
    bool add(const char *entry) override
    {
        if (full_)
            return false;
        if (held_.holding()) {
            if (held_.add(entry))
                return true;
            add_held_as_they_came();    /* over the cap: each as it comes */
            if (full_)
                return false;
        }
        if (combo_ && sorted_ && filling_)
            return add_in_order(entry);
        if (send(combo_ ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry)) < 0)
            full_ = true;
        return !full_;
    }
    void select(int index) override
    {
        if (filling_)
            pending_select_ = index;
        else
            apply_select(index);
    }
    int count() override
    {
        return static_cast<int>(send(combo_ ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    }
    int selected() override
    {
        LRESULT index = send(combo_ ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
        return index < 0 ? -1 : static_cast<int>(index);
    }
    bool text(int index, char *out, size_t room) override
    {
        out[0] = 0;
        LRESULT length = send(combo_ ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0);
        if (length < 0 || static_cast<size_t>(length) > room)
            return false;
        send(combo_ ? CB_GETLBTEXT : LB_GETTEXT, index, reinterpret_cast<LPARAM>(out));
        return true;
    }
    void begin_fill() override
    {
        filling_ = true;
        pending_select_ = -1;
        send(WM_SETREDRAW, FALSE, 0);
        if (combo_ && sorted_) {
            /* A name search adds to what the list holds already. */
            locale_ = static_cast<LCID>(send(CB_GETLOCALE, 0, 0));
            count_ = count();
            last_plain_ = count_ > 0 && text(count_ - 1, last_, sizeof last_ - 1) &&
                          length_if_7bit(last_) >= 0;
            /* An empty list is filled in its own order at the end. */
            if (count_ == 0)
                held_.start();
        }
    }
    void end_fill() override
    {
        if (held_.holding()) {
            switch (add_held_in_list_order(control_, held_, upper_, lower_)) {
            case held_added:
                break;
            case held_list_full:
                full_ = true;
                break;
            case held_not_in_order:
                held_.restore_arrival_order();
                add_held_as_they_came();
                break;
            }
        }
        held_.release();
        filling_ = false;
        send(WM_SETREDRAW, TRUE, 0);
        if (pending_select_ >= 0)
            apply_select(pending_select_);
        InvalidateRect(control_, 0, TRUE);
    }

private:
    LRESULT send(UINT message, WPARAM wparam, LPARAM lparam)
    {
        return SendMessageA(control_, message, wparam, lparam);
    }
    void apply_select(int index)
    {
        send(combo_ ? CB_SETCURSEL : LB_SETCURSEL, index, 0);
    }

    /* Whether entry, of length 7-bit characters (-1: not such text), sorts
     * after the list's last entry. */
    bool goes_last(const char *entry, int length)
    {
        if (length < 0 || length >= static_cast<int>(entry_room))
            return false;
        if (count_ == 0)
            return true;
        return last_plain_ &&
               CompareStringA(locale_, NORM_IGNORECASE, last_, -1, entry, -1) == CSTR_LESS_THAN;
    }
    /* The held entries in their order of arrival, each as CB_ADDSTRING
     * would put it, until the list is full. */
    void add_held_as_they_came()
    {
        add_held_entries(held_, *this);
        held_.release();
    }
    bool add_entry(const char *entry) override { return add_in_order(entry); }
    /* False, the list full from now on, when the list refuses the entry. */
    bool add_in_order(const char *entry)
    {
        const int length = length_if_7bit(entry);
        LRESULT index;
        if (goes_last(entry, length)) {
            char text[entry_room];
            for (int i = 0; i <= length; i++) {
                char c = entry[i];
                if (upper_ && c >= 'a' && c <= 'z')
                    c = (char)(c - 'a' + 'A');
                else if (lower_ && c >= 'A' && c <= 'Z')
                    c = (char)(c - 'A' + 'a');
                text[i] = c;
            }
            index = send(CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
        } else {
            index = send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        }
        if (index < 0) {
            full_ = true;
            return false;
        }
        if (index == count_) {
            /* The entry is the list's last now. */
            last_plain_ = length >= 0 && length < static_cast<int>(sizeof last_);
            if (last_plain_)
                memcpy(last_, entry, (size_t)length + 1);
        }
        count_++;
        return true;
    }

    HWND control_;
    bool combo_;
    bool sorted_, upper_, lower_;       /* the combo box's style */
    bool filling_ = false;
    bool full_ = false;                 /* refused an entry since it was last emptied */
    int pending_select_ = -1;
    /* While a sorted combo box fills: its locale, its count, and its last
     * entry when that is 7-bit text that fits (last_plain_). */
    LCID locale_ = 0;
    int count_ = 0;
    bool last_plain_ = false;
    char last_[entry_room] = "";
    /* The entries of a fill of the empty quick-pick list, until its end. */
    HeldEntries held_;
};

static DialogList pick_list(HWND dialog)
{
    return DialogList(GetDlgItem(dialog, IDC_PICK), true);
}

static DialogList results_list(HWND dialog)
{
    return DialogList(GetDlgItem(dialog, IDC_RESULTS), false);
}

static bool in_airport_mode(HWND dialog)
{
    return IsDlgButtonChecked(dialog, IDC_AIRPORTS) == BST_CHECKED;
}

/* The tuning's and the presets' key events go to the simulator. */
class HostKeys : public KeyEventSink {
public:
    void send(uint32_t id, uint32_t value) override { host_services()->send_key_event(id, value); }
};

/* The preset boxes, in the order of preset_lists. */
static const int preset_controls[preset_count] = {IDC_HDG, IDC_ALT, IDC_IAS, IDC_MACH, IDC_VS};

/* ---- Handlers ---- */

static void on_init_dialog(HWND dialog)
{
    SetForegroundWindow(dialog);
    SetFocus(GetDlgItem(dialog, IDC_ICAO));
    airport_mode_flag = 1;
    char entry[16];
    for (int i = 0; i < preset_count; i++) {
        const PresetList &list = preset_lists[i];
        for (int k = 0; k < list.count; k++) {
            format_preset_entry(list, k, entry, sizeof entry);
            SendDlgItemMessageA(dialog, preset_controls[i], CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(entry));
        }
    }
    CheckDlgButton(dialog, IDC_AIRPORTS, BST_CHECKED);
    /* Fully created: from here on its destruction sends the presets, and
     * the launcher's loop runs until then. */
    dialog_active = true;
}

static void empty_lists(HWND dialog)
{
    SendDlgItemMessageA(dialog, IDC_PICK, CB_RESETCONTENT, 0, 0);
    SendDlgItemMessageA(dialog, IDC_RESULTS, LB_RESETCONTENT, 0, 0);
}

static void on_airports_clicked(HWND dialog)
{
    if (navaid_mode_flag == 1)
        empty_lists(dialog);
    airport_mode_flag = 1;
    navaid_mode_flag = 0;
}

static void on_navaids_clicked(HWND dialog)
{
    if (airport_mode_flag == 1)
        empty_lists(dialog);
    airport_mode_flag = 0;
    navaid_mode_flag = 1;
}

static void on_icao_changed(HWND dialog)
{
    /* The box sets no limit on its length; a text longer than any code
     * matches nothing, which the lookup decides from the whole text. */
    char typed[4096];
    GetDlgItemTextA(dialog, IDC_ICAO, typed, sizeof typed);
    DialogList pick = pick_list(dialog);
    DialogList results = results_list(dialog);
    icao_lookup(typed, in_airport_mode(dialog), pick, results);
}

static void on_find_clicked(HWND dialog)
{
    char search_text[search_text_room + 1];
    GetDlgItemTextA(dialog, IDC_PICK, search_text, sizeof search_text);
    DialogList pick = pick_list(dialog);
    DialogList results = results_list(dialog);
    name_search(search_text, in_airport_mode(dialog), pick, results);
}

static void on_pick_changed(HWND dialog)
{
    char code[pick_word_room + 1];
    DialogList pick = pick_list(dialog);
    if (!quick_pick_code(pick, code, pick_word_room))
        return;
    /* Replacing the text raises EN_CHANGE, and the lookup runs from there,
     * inside the combo box's own selection change. */
    HWND icao = GetDlgItem(dialog, IDC_ICAO);
    SendMessageA(icao, EM_SETSEL, 0, -1);
    SendMessageA(icao, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(code));
}

static void on_results_double_clicked(HWND dialog)
{
    DialogList results = results_list(dialog);
    char entry[entry_room];
    int index = results.selected();
    HostKeys keys;
    if (index >= 0 && results.text(index, entry, sizeof entry - 1))
        send_tuning_events(tuning_events(entry, in_airport_mode(dialog)), keys);
    DestroyWindow(dialog);
}

/* Every destruction of a fully created window sends the presets.  One that
 * was never fully created (a control refused) has no presets to read: it
 * sends nothing.  Nothing is posted to end the launcher's loop, which ends on
 * dialog_active; a quit message would reach whichever loop runs innermost,
 * the simulator's own or one of its modal boxes. */
static void on_destroy(HWND dialog)
{
    if (!dialog_active)
        return;
    char texts[preset_count][preset_text_room + 1];
    const char *text_pointers[preset_count];
    for (int i = 0; i < preset_count; i++) {
        GetWindowTextA(GetDlgItem(dialog, preset_controls[i]), texts[i], sizeof texts[i]);
        text_pointers[i] = texts[i];
    }
    HostKeys keys;
    send_presets(text_pointers, keys);
    dialog_active = false;
    /* Destroyed from another thread's message, inside the loop's wait: a
     * message of no meaning wakes the loop so that it sees the flag. */
    if (loop_waiting)
        PostMessageA(0, WM_NULL, 0, 0);
}

static void on_command(HWND dialog, int control, int notification)
{
    switch (control) {
    case IDC_AIRPORTS:
        if (notification == BN_CLICKED)
            on_airports_clicked(dialog);
        break;
    case IDC_NAVAIDS:
        if (notification == BN_CLICKED)
            on_navaids_clicked(dialog);
        break;
    case IDC_RESULTS:
        if (notification == LBN_DBLCLK)
            on_results_double_clicked(dialog);
        break;
    case IDC_ICAO:
        if (notification == EN_CHANGE)
            on_icao_changed(dialog);
        break;
    case IDC_PICK:
        if (notification == CBN_SELCHANGE)
            on_pick_changed(dialog);
        break;
    case IDC_EXIT:
        if (notification == BN_CLICKED)
            DestroyWindow(dialog);
        break;
    case IDC_FIND:
        if (notification == BN_CLICKED)
            on_find_clicked(dialog);
        break;
    }
}

INT_PTR CALLBACK selection_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        on_init_dialog(dialog);
        return FALSE;
    case WM_COMMAND:
        on_command(dialog, LOWORD(wparam), HIWORD(wparam));
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        on_destroy(dialog);
        return TRUE;
    }
    return FALSE;
}
