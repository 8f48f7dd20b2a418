/*
 * The selection dialog: one dialog procedure that routes each message to one
 * handler.  The searches and the tuning are portable code; this file gives
 * them the dialog's lists through ListControl.
 */
#include "launcher.h"

#include "searches.h"
#include "selection_ids.h"
#include "tuning.h"

int airport_mode_flag;
int navaid_mode_flag;

/* ---- The dialog's lists behind ListControl ---- */

/* Either list of the dialog: the list box IDC_RESULTS or the quick-pick
 * list of the combo box IDC_PICK.  While a search fills it, redrawing is off
 * and a selection is applied once at the end: only the final state shows. */
class DialogList : public ListControl {
public:
    DialogList(HWND control, bool combo) : control_(control), combo_(combo) {}

    void clear() override
    {
        send(combo_ ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
        pending_select_ = -1;
    }
    void add(const char *entry) override
    {
        send(combo_ ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
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
    }
    void end_fill() override
    {
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

    HWND control_;
    bool combo_;
    bool filling_ = false;
    int pending_select_ = -1;
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
    if (index >= 0 && results.text(index, entry, sizeof entry - 1))
        send_tuning_events(tuning_events(entry, in_airport_mode(dialog)));
    DestroyWindow(dialog);
}

static void on_destroy(HWND dialog)
{
    char texts[preset_count][preset_text_room + 1];
    const char *text_pointers[preset_count];
    for (int i = 0; i < preset_count; i++) {
        GetWindowTextA(GetDlgItem(dialog, preset_controls[i]), texts[i], sizeof texts[i]);
        text_pointers[i] = texts[i];
    }
    send_presets(text_pointers);
    dialog_active = false;
    PostQuitMessage(0);
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
