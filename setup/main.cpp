/*
 * pelmora-setup: one window for a pilot to install the gauge, make the world
 * data files and add the gauge to a panel.  Plain Win32 and the common
 * controls of Windows 95 and later, so that it runs from Windows 98 to 11.
 */
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "setup_ids.h"
#include "setup_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InitCommonControls();
    /* The folder picker wants COM on this thread. */
    HRESULT com = CoInitialize(0);
    SetupWindow window;
    INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETUP), 0, setup_dialog_proc,
                                     (LPARAM)&window);
    if (SUCCEEDED(com))
        CoUninitialize();
    if (result == -1) {
        MessageBoxA(0, "The setup window could not be created.", SETUP_CAPTION, MB_ICONSTOP);
        return 1;
    }
    return 0;
}
