"""The functions the shipped module may import, per DLL."""

# What the module may import: the simulator runs on Windows 95 and NT 4.0,
# whose loader refuses a module that names a function the system lacks.  Each
# DLL the module may name, with every function it may take from it; all of
# them are there on both systems, as first shipped, at load time.  A function
# newer than that (GetModuleHandleExA: XP; GetComboBoxInfo: 98 and NT 4.0
# SP6) is looked up at run time with GetProcAddress instead, with a fallback.
#
# CompareStringW is exported by Windows 95's KERNEL32 too, as a stub that
# fails: the module loads, and the quick pick then adds its entries one by
# one.  (MultiByteToWideChar is a real function there.)
#
# The C runtime is CRTDLL.DLL, the system's own, in the system folder of
# every Windows 95 and NT (msvcrt.dll came with Visual C++ 4.2 in 1996,
# after Windows 95: a Windows 95 without a program that installed it would
# refuse the module).  Its entries here are from what is generally known of
# the exports of Windows 95's and NT 3.x/4.0's CRTDLL.DLL, kept to the
# long-standing functions that every release of it has: the C89 library's
# memory, string and stream functions, the two wide-character compares, and
# Microsoft C's bounded formatting (_snprintf, _vsnprintf), which its
# runtime has had since long before either system.  A function not listed
# fails the check until someone confirms Windows 95's CRTDLL.DLL has it.
LOAD_TIME_IMPORTS = {
    'kernel32.dll': {
        'CompareStringA', 'CompareStringW', 'FreeLibrary', 'GetLastError', 'GetModuleFileNameA',
        'GetModuleHandleA', 'GetProcAddress', 'LoadLibraryA', 'MultiByteToWideChar',
        'VirtualQuery', 'lstrcpynA', 'lstrlenA'},
    'user32.dll': {
        'CharLowerA', 'CharUpperA', 'CheckDlgButton', 'CreateDialogParamA', 'DestroyWindow',
        'DispatchMessageA', 'FindWindowA', 'FindWindowExA', 'GetDlgItem', 'GetDlgItemTextA',
        'GetMessageA', 'GetWindowLongA', 'GetWindowTextA', 'InvalidateRect', 'IsDialogMessageA',
        'IsDlgButtonChecked', 'IsWindow', 'MessageBoxA', 'PostMessageA', 'PostQuitMessage',
        'SendDlgItemMessageA', 'SendMessageA', 'SetFocus', 'SetForegroundWindow',
        'TranslateMessage', 'wsprintfA'},
    'crtdll.dll': {
        '_snprintf', '_vsnprintf', 'abort', 'atoi', 'calloc', 'fclose', 'fopen', 'fread', 'free',
        'fwrite', 'malloc', 'memchr', 'memcmp', 'memcpy', 'memmove', 'memset', 'realloc',
        'sprintf', 'strchr', 'strcmp', 'strcpy', 'strlen', 'strncmp', 'strstr', 'vsprintf',
        'wcscmp', 'wcslen'},
}
