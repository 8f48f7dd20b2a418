#include "launcher.h"

#include "facility_file.h"
#include "selection_ids.h"

HINSTANCE dialog_instance;
HWND dialog_window;
bool dialog_active;
bool loop_waiting;

static const char blocking_window_title[] = "Runway Information";
static const char simulator_window_class[] = "FS98MAIN";

/* The module that holds this code: the allocation that holds one of its
 * addresses starts at its image, which is its instance handle.  So it does
 * not matter where the simulator loaded it from or under which name.  (The
 * look-up by address that newer systems offer is missing on the oldest ones
 * the simulator runs on; this one is there on all of them.) */
static HINSTANCE own_instance()
{
    MEMORY_BASIC_INFORMATION info;
    if (VirtualQuery(reinterpret_cast<LPCVOID>(&own_instance), &info, sizeof info) != sizeof info)
        return 0;
    return static_cast<HINSTANCE>(info.AllocationBase);
}

/* The module keeps itself loaded from its first click until the process
 * ends.  The simulator may let go of it (FreeLibrary, on a change of
 * aircraft) while the window is open and this loop, the dialog procedure or
 * an error box of ours is on its thread's stack; without a reference of our
 * own the image would go at once and the next message would run unmapped
 * code.  The reference is never given back: code of the module cannot unload
 * it and then return, and nothing outside the module runs on this thread
 * after the click returns that could do it for us.  Taken once, so a second
 * click adds nothing. */
static void hold_own_module(HINSTANCE instance, const char *path)
{
    static bool held;
    if (held || !instance || !path[0])
        return;
    held = LoadLibraryA(path) == instance;
}

static void show_create_error(DWORD code)
{
    char text[100];
    wsprintfA(text, "Error x%x", code);
    MessageBoxA(0, text, "CreateDialog", MB_ICONEXCLAMATION | MB_OK);
}

/* Runs the window's messages, and every other message of the thread, until
 * the window is gone.  The loop ends on the dialog's own flag, never on a
 * quit message: closing the window posts none.  A quit that arrives here was
 * posted by the simulator, to end itself: the window closes as any close
 * does, and the quit goes back into the queue with its exit code for the
 * simulator's own loop, which receives it once the click has returned. */
static int32_t run_dialog_loop()
{
    MSG message;
    while (dialog_active) {
        loop_waiting = true;
        BOOL got = GetMessageA(&message, 0, 0, 0);
        loop_waiting = false;
        if (got == -1)
            return -1;
        if (got == 0) {
            if (dialog_active && IsWindow(dialog_window))
                DestroyWindow(dialog_window);
            PostQuitMessage(static_cast<int>(message.wParam));
            return 0;
        }
        if (!IsDialogMessageA(dialog_window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return 0;
}

int32_t HOSTCALL open_selection_window(MousePoint *, uint32_t)
{
    if (FindWindowA(0, blocking_window_title))
        return 0;
    /* A click while the dialog is open raises it instead of nesting a second. */
    if (dialog_active && IsWindow(dialog_window)) {
        SetForegroundWindow(dialog_window);
        return 0;
    }
    dialog_instance = own_instance();
    char path[MAX_PATH + 1];
    DWORD length = dialog_instance ? GetModuleFileNameA(dialog_instance, path, MAX_PATH) : 0;
    path[length < MAX_PATH ? length : 0] = 0;
    hold_own_module(dialog_instance, path);
    char folder[MAX_PATH];
    simulator_folder_of(path, folder, sizeof folder);
    set_facility_folder(folder);

    HWND owner = FindWindowExA(0, 0, simulator_window_class, 0);
    dialog_window =
        CreateDialogParamA(dialog_instance, IDD_SELECTION, owner, selection_dialog_proc, 0);
    if (!dialog_window) {
        /* A window that was never fully created sent nothing and posted
         * nothing, so the box stays until the pilot closes it. */
        show_create_error(GetLastError());
        return 1;
    }
    return run_dialog_loop();
}
