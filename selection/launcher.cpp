#include "launcher.h"

#include "selection_ids.h"

HINSTANCE dialog_instance;
HWND dialog_window;
bool dialog_active;

static const char blocking_window_title[] = "Runway Information";
static const char simulator_window_class[] = "FS98MAIN";

/* The module that holds this code: found from an address inside it, so it
 * does not matter where the simulator loaded it from or under which name. */
static HINSTANCE own_instance()
{
    HMODULE module = 0;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&open_selection_window), &module);
    return module;
}

static void show_create_error(DWORD code)
{
    char text[100];
    wsprintfA(text, "Error x%x", code);
    MessageBoxA(0, text, "CreateDialog", MB_ICONEXCLAMATION | MB_OK);
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
    HWND owner = FindWindowExA(0, 0, simulator_window_class, 0);
    dialog_window =
        CreateDialogParamA(dialog_instance, IDD_SELECTION, owner, selection_dialog_proc, 0);
    if (!dialog_window) {
        show_create_error(GetLastError());
        return 1;
    }
    dialog_active = true;
    MSG message;
    for (;;) {
        BOOL got = GetMessageA(&message, 0, 0, 0);
        if (got == 0)
            return 0;
        if (got == -1)
            return -1;
        if (!IsDialogMessageA(dialog_window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}
