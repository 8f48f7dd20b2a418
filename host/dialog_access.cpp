#include "dialog_access.h"

#include <map>

#include "selection/selection_ids.h"

namespace {

const std::map<std::string, int> control_ids = {
    {"IDC_RESULTS", IDC_RESULTS}, {"IDC_ICAO", IDC_ICAO},         {"IDC_PICK", IDC_PICK},
    {"IDC_EXIT", IDC_EXIT},       {"IDC_FIND", IDC_FIND},         {"IDC_AIRPORTS", IDC_AIRPORTS},
    {"IDC_NAVAIDS", IDC_NAVAIDS}, {"IDC_HDG", IDC_HDG},           {"IDC_ALT", IDC_ALT},
    {"IDC_IAS", IDC_IAS},         {"IDC_MACH", IDC_MACH},         {"IDC_VS", IDC_VS},
};

} // namespace

/* A top-level dialog of this thread with that caption (other programs on the
 * same desktop may show windows of their own). */
HWND find_own_window(const char *caption, HWND after)
{
    for (HWND w = after; (w = FindWindowExA(0, w, "#32770", caption)) != 0;)
        if (GetWindowThreadProcessId(w, 0) == GetCurrentThreadId())
            return w;
    return 0;
}

HWND find_dialog()
{
    return find_own_window(SELECTION_CAPTION);
}

HWND need_dialog()
{
    HWND dialog = find_dialog();
    if (!dialog)
        fail("the selection dialog is not open");
    return dialog;
}

int control_id(const std::string &name)
{
    auto found = control_ids.find(name);
    if (found == control_ids.end())
        fail("unknown control " + name);
    return found->second;
}

HWND control(const Step &s, size_t i)
{
    HWND c = GetDlgItem(need_dialog(), control_id(word(s, i)));
    if (!c)
        fail("no control " + word(s, i));
    return c;
}

std::string class_of(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool is_combo(HWND c)
{
    return lstrcmpiA(class_of(c).c_str(), "ComboBox") == 0;
}

/* Where typed characters go: a combo box's own edit field. */
HWND typing_target(HWND c)
{
    if (is_combo(c)) {
        HWND edit = FindWindowExA(c, 0, "Edit", 0);
        if (edit)
            return edit;
    }
    return c;
}

std::string window_text(HWND w)
{
    int n = GetWindowTextLengthA(w);
    std::string text(n + 1, '\0');
    GetWindowTextA(w, &text[0], n + 1);
    text.resize(lstrlenA(text.c_str()));
    return text;
}

int list_count(HWND c)
{
    return (int)SendMessageA(c, is_combo(c) ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
}

std::string list_item(HWND c, int index)
{
    bool combo = is_combo(c);
    LRESULT n = SendMessageA(c, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0);
    if (n < 0)
        fail("no entry " + std::to_string(index));
    std::string text(n + 1, '\0');
    SendMessageA(c, combo ? CB_GETLBTEXT : LB_GETTEXT, index, (LPARAM)&text[0]);
    text.resize(n);
    return text;
}

std::string message_box_text(HWND box)
{
    /* The message text is the static control with id 0xFFFF. */
    char text[256] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

void post_key(HWND target, const std::string &name)
{
    static const std::map<std::string, UINT> keys = {
        {"escape", VK_ESCAPE}, {"enter", VK_RETURN}, {"down", VK_DOWN}, {"up", VK_UP},
        {"tab", VK_TAB},
    };
    SetFocus(target);
    if (name == "backspace") {
        PostMessageA(target, WM_CHAR, '\b', 1);
        return;
    }
    auto found = keys.find(name);
    if (found == keys.end())
        fail("unknown key " + name);
    PostMessageA(target, WM_KEYDOWN, found->second, 1);
    PostMessageA(target, WM_KEYUP, found->second, 0xC0000001);
}

void double_click_entry(HWND list, int index)
{
    if (SendMessageA(list, LB_SETCURSEL, index, 0) == LB_ERR)
        fail("no entry " + std::to_string(index));
    RECT item;
    SendMessageA(list, LB_GETITEMRECT, index, (LPARAM)&item);
    LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    HWND dialog = GetParent(list);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    if (IsWindow(list))
        SendMessageA(list, WM_LBUTTONUP, 0, at);
    (void)dialog;
}
