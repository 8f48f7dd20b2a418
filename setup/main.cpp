/*
 * pelmora-setup: one window for a pilot to install the gauge, make the world
 * data files and add the gauge to a panel.  Plain Win32 and the common
 * controls of Windows 95 and later, so that it runs from Windows 95 to 11.
 */
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

/* COM for the folder picker, from OLE32.DLL, looked up when the program
 * starts rather than named in its imports: the program then names no DLL
 * beyond the system's core ones and its shell and common dialogs. */
typedef HRESULT(WINAPI *CoInitializeCall)(LPVOID);
typedef void(WINAPI *CoUninitializeCall)(void);

#include "setup_ids.h"
#include "setup_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InitCommonControls();
    /* The folder picker wants COM on this thread. */
    HMODULE ole = LoadLibraryA("ole32.dll");
    CoInitializeCall co_initialize =
        ole ? (CoInitializeCall)(void *)GetProcAddress(ole, "CoInitialize") : 0;
    CoUninitializeCall co_uninitialize =
        ole ? (CoUninitializeCall)(void *)GetProcAddress(ole, "CoUninitialize") : 0;
    HRESULT com = co_initialize ? co_initialize(0) : E_FAIL;
    SetupWindow window;
    INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETUP), 0, setup_dialog_proc,
                                     (LPARAM)&window);
    if (SUCCEEDED(com) && co_uninitialize)
        co_uninitialize();
    if (result == -1) {
        MessageBoxA(0, "The setup window could not be created.", SETUP_CAPTION, MB_ICONSTOP);
        return 1;
    }
    return 0;
}
