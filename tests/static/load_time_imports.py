"""The functions the shipped module may import, per DLL."""

# What the module may import: the simulator runs on Windows 95 and NT 4.0,
# whose loader refuses a module that names a function the system lacks.  Each
# DLL the module may name, with every function it may take from it; all of
# them are there on both systems at load time.  A function newer than that
# (GetModuleHandleExA: XP; GetComboBoxInfo: 98 and NT 4.0 SP6) is looked up
# at run time with GetProcAddress instead, with a fallback.
#
# The wide-character functions below are exported by Windows 95's KERNEL32
# too, as stubs that fail: the module loads, and its callers fall back (the
# quick pick adds entries one by one when CompareStringW fails; the C
# runtime's code page query falls back to setlocale when GetModuleHandleW
# fails).  msvcrt.dll is the system's C runtime: in the system folder of
# NT 4.0, and on Windows 95 from OSR2 on or with the Visual C++ run-time
# redistributable; every function listed is in its first release (4.20).
LOAD_TIME_IMPORTS = {
    'kernel32.dll': {
        'CompareStringA', 'CompareStringW', 'DeleteCriticalSection', 'EnterCriticalSection',
        'FreeLibrary', 'GetCurrentThreadId', 'GetLastError', 'GetModuleFileNameA',
        'GetModuleHandleA', 'GetModuleHandleW', 'GetProcAddress', 'InitializeCriticalSection',
        'IsDBCSLeadByteEx', 'LeaveCriticalSection', 'LoadLibraryA', 'MultiByteToWideChar',
        'Sleep', 'TlsGetValue', 'VirtualProtect', 'VirtualQuery', 'WideCharToMultiByte',
        'lstrcpynA', 'lstrlenA'},
    'user32.dll': {
        'CharLowerA', 'CharUpperA', 'CheckDlgButton', 'CreateDialogParamA', 'DestroyWindow',
        'DispatchMessageA', 'FindWindowA', 'FindWindowExA', 'GetDlgItem', 'GetDlgItemTextA',
        'GetMessageA', 'GetWindowLongA', 'GetWindowTextA', 'InvalidateRect', 'IsDialogMessageA',
        'IsDlgButtonChecked', 'IsWindow', 'MessageBoxA', 'PostMessageA', 'PostQuitMessage',
        'SendDlgItemMessageA', 'SendMessageA', 'SetFocus', 'SetForegroundWindow',
        'TranslateMessage', 'wsprintfA'},
    'msvcrt.dll': {
        '__mb_cur_max', '_amsg_exit', '_errno', '_initterm', '_iob', '_lock', '_unlock', 'abort',
        'atoi', 'calloc', 'fclose', 'fopen', 'fputc', 'fread', 'free', 'fwrite', 'localeconv',
        'malloc', 'memchr', 'memcmp', 'memcpy', 'memmove', 'memset', 'realloc', 'setlocale',
        'strchr', 'strcmp', 'strcpy', 'strerror', 'strlen', 'strncmp', 'strstr', 'vfprintf',
        'wcscmp', 'wcslen'},
}
