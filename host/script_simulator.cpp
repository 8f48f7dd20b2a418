/*
 * What the simulator itself does while the selection window is open, on the
 * thread that runs the module's loop: it quits (a quit message with an exit
 * code), its main window goes, it lets go of the module on a change of
 * aircraft, it opens modal boxes of its own, another program's hook refuses
 * a control, its file dialogs change the current folder.  And what a script
 * checks afterwards: the quit its own loop received, whether the module is
 * still mapped, what its modal box returned.
 */
#include "script_commands.h"

#include <windows.h>

#include <stdio.h>

#include "dialog_access.h"
#include "host.h"
#include "module_loader.h"
#include "panel.h"
#include "selection/selection_ids.h"

namespace {

/* ---- A control refused at its creation, as a hook of another program or
 * an exhausted USER heap would ---- */

HHOOK refusing_hook = 0;
int refused_control = 0;

bool is_selection_dialog(HWND window)
{
    char name[16] = "", caption[64] = "";
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, caption, sizeof caption);
    return lstrcmpA(name, "#32770") == 0 && lstrcmpA(caption, SELECTION_CAPTION) == 0;
}

LRESULT CALLBACK refuse_creation(int code, WPARAM wparam, LPARAM lparam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA *c = reinterpret_cast<CBT_CREATEWNDA *>(lparam)->lpcs;
        if ((c->style & WS_CHILD) && (INT_PTR)c->hMenu == refused_control &&
            is_selection_dialog(c->hwndParent)) {
            printf("refused the creation of control %d\n", refused_control);
            fflush(stdout);
            return 1;
        }
    }
    return CallNextHookEx(refusing_hook, code, wparam, lparam);
}

void stop_refusing()
{
    if (refusing_hook)
        UnhookWindowsHookEx(refusing_hook);
    refusing_hook = 0;
}

} // namespace

void add_simulator_commands(CommandTable &table)
{
    table.insert({
        /* ---- the simulator's end ---- */
        {"post-quit", [](const Step &s) {
             /* CODE: the simulator quits, as from its own menu. */
             PostQuitMessage((int)number(s, 1));
             return done;
         }},
        {"destroy-main-window", [](const Step &s) {
             /* CODE: the main window goes; its procedure posts the quit with CODE. */
             if (!host.window)
                 fail("the main window is gone already");
             host.main_window_quit_code = (int)number(s, 1);
             DestroyWindow(host.window);
             return done;
         }},
        {"expect-quit", [](const Step &s) {
             /* CODE: the host's own loop has received its quit, with CODE. */
             if (!host.loop_ended)
                 return retry;
             expect_equal("exit code of the quit", host.quit_code, number(s, 1));
             return done;
         }},
        {"expect-host-running", [](const Step &) {
             if (host.loop_ended)
                 fail("the host's message loop has received a quit");
             if (!host.window || !IsWindow(host.window))
                 fail("the host's main window is gone");
             return done;
         }},
        /* ---- the module ---- */
        {"release-module", [](const Step &) {
             /* A change of aircraft: the gauges killed, the module let go of. */
             if (!host.module)
                 fail("the module is not loaded");
             unload_module();
             printf("the host let go of the module\n");
             fflush(stdout);
             redraw_panel();
             return done;
         }},
        {"load-module", [](const Step &) {
             std::string error;
             if (!load_module(error))
                 fail(error);
             place_gauges();
             redraw_panel();
             return done;
         }},
        {"expect-module", [](const Step &s) {
             /* mapped | unmapped: whether the module's image is still in the process. */
             bool mapped = GetModuleHandleA(host.module_path.c_str()) != 0;
             expect_equal("module", mapped ? "mapped" : "unmapped", word(s, 1));
             return done;
         }},
        /* ---- the simulator's own modal boxes ---- */
        {"modal-box", [](const Step &s) {
             /* TITLE: a message box of the simulator's, owned by its main
              * window; the steps after this one run inside its loop. */
             host.modal_boxes_running++;
             int result = MessageBoxA(host.window, "A box of the simulator's own",
                                      word(s, 1).c_str(), MB_OKCANCEL);
             host.modal_boxes_running--;
             host.last_modal_result = result;
             printf("modal box \"%s\" returned %d\n", word(s, 1).c_str(), result);
             fflush(stdout);
             return done;
         }},
        {"expect-box", [](const Step &s) {
             /* TITLE open | closed: a box of this thread with that caption, now. */
             bool open = find_own_window(word(s, 1).c_str()) != 0;
             expect_equal("box \"" + word(s, 1) + "\"", open ? "open" : "closed", word(s, 2));
             return done;
         }},
        {"close-box", [](const Step &s) {
             /* TITLE: the pilot presses the box's OK button. */
             HWND box = find_own_window(word(s, 1).c_str());
             if (!box)
                 return retry;
             SendMessageA(box, WM_COMMAND, IDOK, 0);
             return done;
         }},
        {"expect-modal-result", [](const Step &s) {
             /* N: what the last of the host's message boxes returned (1: OK). */
             if (host.modal_boxes_running > 0)
                 return retry;
             expect_equal("modal box result", host.last_modal_result, number(s, 1));
             return done;
         }},
        /* ---- a control refused ---- */
        {"refuse-control", [](const Step &s) {
             /* ID: the selection dialog's control ID cannot be created. */
             stop_refusing();
             refused_control = (int)number(s, 1);
             refusing_hook = SetWindowsHookExA(WH_CBT, refuse_creation, 0, GetCurrentThreadId());
             if (!refusing_hook)
                 fail("cannot set the hook");
             return done;
         }},
        {"allow-controls", [](const Step &) {
             stop_refusing();
             return done;
         }},
        /* ---- the current folder ---- */
        {"make-folder", [](const Step &s) {
             if (!CreateDirectoryA(word(s, 1).c_str(), 0) && GetLastError() != ERROR_ALREADY_EXISTS)
                 fail("cannot make the folder " + word(s, 1));
             return done;
         }},
        {"change-folder", [](const Step &s) {
             if (!SetCurrentDirectoryA(word(s, 1).c_str()))
                 fail("cannot enter " + word(s, 1));
             return done;
         }},
    });
}
