#include "script_commands.h"

#include <stdio.h>

#include "dialog_access.h"
#include "selection/selection_ids.h"

namespace {

double elapsed_ms(const LARGE_INTEGER &start, const LARGE_INTEGER &stop)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (double)(stop.QuadPart - start.QuadPart) * 1000.0 / (double)frequency.QuadPart;
}

} // namespace

void add_dialog_commands(CommandTable &table)
{
    table.insert({
        /* ---- the selection dialog ---- */
        {"expect-dialog", [](const Step &s) {
             bool want_open = word(s, 1) == "open";
             if ((find_dialog() != 0) != want_open)
                 return retry;
             return done;
         }},
        {"expect-caption", [](const Step &s) {
             expect_equal("caption", window_text(need_dialog()), word(s, 1));
             return done;
         }},
        {"expect-dialog-count", [](const Step &s) {
             long n = 0;
             for (HWND w = 0; (w = find_own_window(SELECTION_CAPTION, w)) != 0;)
                 n++;
             expect_equal("open selection dialogs", n, number(s, 1));
             return done;
         }},
        {"type", [](const Step &s) {
             HWND target = typing_target(control(s, 1));
             SetFocus(target);
             for (char c : word(s, 2))
                 SendMessageA(target, WM_CHAR, (unsigned char)c, 1);
             return done;
         }},
        {"settext", [](const Step &s) {
             SendMessageA(control(s, 1), WM_SETTEXT, 0, (LPARAM)word(s, 2).c_str());
             return done;
         }},
        {"key", [](const Step &s) {
             post_key(typing_target(control(s, 1)), word(s, 2));
             return done;
         }},
        {"pick", [](const Step &s) {
             /* What choosing an entry tells the dialog: the selection, then
              * CBN_SELCHANGE from the combo box. */
             HWND combo = control(s, 1);
             if (SendMessageA(combo, CB_SETCURSEL, number(s, 2), 0) == CB_ERR)
                 fail("no entry " + word(s, 2));
             SendMessageA(GetParent(combo), WM_COMMAND,
                          MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), (LPARAM)combo);
             return done;
         }},
        {"dblclick", [](const Step &s) {
             double_click_entry(control(s, 1), (int)number(s, 2));
             return done;
         }},
        {"button", [](const Step &s) {
             SendMessageA(control(s, 1), BM_CLICK, 0, 0);
             return done;
         }},
        {"command", [](const Step &s) {
             /* A bare WM_COMMAND: id and notification code. */
             SendMessageA(need_dialog(), WM_COMMAND, MAKEWPARAM(number(s, 1), number(s, 2)), 0);
             return done;
         }},
        {"message", [](const Step &s) {
             SendMessageA(need_dialog(), (UINT)number(s, 1), (WPARAM)number(s, 2), 0);
             return done;
         }},
        {"close", [](const Step &) {
             SendMessageA(need_dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
             return done;
         }},
        {"wm-close", [](const Step &) {
             SendMessageA(need_dialog(), WM_CLOSE, 0, 0);
             return done;
         }},
        {"expect-count", [](const Step &s) {
             expect_equal(word(s, 1) + " entries", list_count(control(s, 1)), number(s, 2));
             return done;
         }},
        {"expect-item", [](const Step &s) {
             HWND c = control(s, 1);
             int index = (int)number(s, 2);
             if (index >= list_count(c))
                 fail(word(s, 1) + " has no entry " + word(s, 2));
             expect_equal(word(s, 1) + " entry " + word(s, 2), list_item(c, index), word(s, 3));
             return done;
         }},
        {"expect-items", [](const Step &s) {
             /* The whole list, every entry in order. */
             HWND c = control(s, 1);
             std::string got, expected;
             for (int i = 0; i < list_count(c); i++)
                 got += "[" + list_item(c, i) + "]";
             for (size_t i = 2; i < s.words.size(); i++)
                 expected += "[" + s.words[i] + "]";
             expect_equal(word(s, 1) + " entries", got, expected);
             return done;
         }},
        {"save-items", [](const Step &s) {
             /* CONTROL FILE: the list's selection, its text and every entry
              * in order, one a line, to compare two runs. */
             HWND c = control(s, 1);
             long selected = (long)SendMessageA(c, is_combo(c) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
             std::string text = "selected " + std::to_string(selected) + "\ntext " +
                                window_text(c) + "\n";
             for (int i = 0; i < list_count(c); i++)
                 text += list_item(c, i) + "\n";
             if (!write_file(word(s, 2), text))
                 fail("cannot write " + word(s, 2));
             return done;
         }},
        {"expect-text", [](const Step &s) {
             expect_equal(word(s, 1) + " text", window_text(control(s, 1)), word(s, 2));
             return done;
         }},
        {"expect-selected", [](const Step &s) {
             HWND c = control(s, 1);
             long got = (long)SendMessageA(c, is_combo(c) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
             expect_equal(word(s, 1) + " selection", got, number(s, 2));
             return done;
         }},
        {"expect-checked", [](const Step &s) {
             expect_equal(word(s, 1) + " checked",
                          (long)IsDlgButtonChecked(need_dialog(), control_id(word(s, 1))), number(s, 2));
             return done;
         }},
        {"expect-focus", [](const Step &s) {
             HWND focus = GetFocus(), c = control(s, 1);
             if (focus != c && GetParent(focus) != c)
                 fail("focus is not in " + word(s, 1));
             return done;
         }},
        {"expect-control", [](const Step &s) {
             HWND c = control(s, 1);
             if (lstrcmpiA(class_of(c).c_str(), word(s, 2).c_str()) != 0)
                 fail(word(s, 1) + ": class " + class_of(c) + ", expected " + word(s, 2));
             if (s.words.size() > 3)
                 expect_equal(word(s, 1) + " text", window_text(c), word(s, 3));
             return done;
         }},
        {"expect-static", [](const Step &s) {
             /* A static text of the dialog, found by its words. */
             for (HWND c = GetWindow(need_dialog(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                 if (lstrcmpiA(class_of(c).c_str(), "Static") == 0 && window_text(c) == word(s, 1))
                     return done;
             fail("no static text \"" + word(s, 1) + "\"");
         }},
        {"expect-messagebox", [](const Step &s) {
             HWND box = find_own_window(word(s, 1).c_str());
             if (!box)
                 return retry;
             std::string text = message_box_text(box);
             const std::string &prefix = word(s, 2);
             SendMessageA(box, WM_COMMAND, IDOK, 0);
             if (text.compare(0, prefix.size(), prefix) != 0)
                 fail("message box text \"" + text + "\" does not begin with \"" + prefix + "\"");
             /* The rest is the error code in lower-case hexadecimal. */
             if (text.size() == prefix.size() ||
                 text.find_first_not_of("0123456789abcdef", prefix.size()) != std::string::npos)
                 fail("message box text \"" + text + "\" does not end in a hexadecimal code");
             return done;
         }},
        {"dump-controls", [](const Step &) {
             HWND dialog = need_dialog();
             HWND focus = GetFocus();
             printf("focus %p (%s, id %d), active %p, foreground %p, dialog %p\n", (void *)focus,
                    class_of(focus).c_str(), GetDlgCtrlID(focus), (void *)GetActiveWindow(),
                    (void *)GetForegroundWindow(), (void *)dialog);
             for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                 printf("  %p id %d %s \"%s\"\n", (void *)c, GetDlgCtrlID(c), class_of(c).c_str(),
                        window_text(c).c_str());
             return done;
         }},
        /* ---- timing and typing at speed ---- */
        {"time-settext", [](const Step &s) {
             /* The box reports EN_CHANGE inside WM_SETTEXT and the lookup runs
              * there, so this is the change's whole handling, lists filled. */
             HWND c = control(s, 1);
             LARGE_INTEGER start, stop;
             QueryPerformanceCounter(&start);
             SendMessageA(c, WM_SETTEXT, 0, (LPARAM)word(s, 2).c_str());
             QueryPerformanceCounter(&stop);
             printf("%s %.3f ms\n", word(s, 3).c_str(), elapsed_ms(start, stop));
             fflush(stdout);
             return done;
         }},
        {"type-random", [](const Step &s) {
             /* CONTROL N SEED [CHARACTERS]: N keystrokes at once, each a
              * character of CHARACTERS, '<' standing for a backspace; by
              * default as many backspaces as letters, so the text stays short. */
             HWND target = typing_target(control(s, 1));
             std::string keys = s.words.size() > 4 ? word(s, 4) : "KSEAGL<<<<<<";
             if (keys.empty())
                 fail("no characters to type");
             unsigned long long state = (unsigned long long)number(s, 3);
             SetFocus(target);
             for (long i = number(s, 2); i > 0; i--) {
                 char c = keys[random_below(state, (unsigned)keys.size())];
                 SendMessageA(target, WM_CHAR, c == '<' ? '\b' : (unsigned char)c, 1);
             }
             return done;
         }},
    });
}
