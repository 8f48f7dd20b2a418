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


# What the 32-bit programs (pelmora-setup.exe, pelmora-convert.exe,
# pelmora-check.exe) may import: the same rule, for Windows 95 as first
# shipped (and NT 4.0).  Their C runtime is CRTDLL.DLL too
# (tools/runtime/: their own start-up and the few calls mapped onto
# CRTDLL's names).  The entries come from the Win32 API reference's
# requirements of each function (all of these are marked as there from
# Windows 95 and NT 3.1/3.5 on), and for CRTDLL.DLL from the functions of
# Microsoft's C run-time library that its release in Windows 95 and NT
# exports: the C89 library's, the low-level I/O (_open, _read, _lseek,
# _fstat, _get_osfhandle, ...) and the start-up's __GetMainArgs, which that
# runtime has had since before either system.  The common controls are
# COMCTL32.DLL 4.00's (Windows 95: InitCommonControls and the progress bar's
# PBM_SETRANGE and PBM_SETPOS; not InitCommonControlsEx, 4.70), the shell's
# SHELL32.DLL 4.00's (the folder picker without the newer dialog style, which
# needs 5.0), the common dialogs' the first 32-bit release's (the open
# dialog with the structure size of that release).  OLE32.DLL's COM calls
# are looked up at run time (setup/main.cpp).  A function not listed fails
# the check until someone confirms Windows 95 has it.
PROGRAM_LOAD_TIME_IMPORTS = {
    'kernel32.dll': {
        'CloseHandle', 'CopyFileA', 'CreateFileA', 'CreateThread', 'DeleteCriticalSection',
        'DeleteFileA', 'EnterCriticalSection', 'FindClose', 'FindFirstFileA', 'FindNextFileA',
        'FlushFileBuffers', 'FormatMessageA', 'GetCommandLineA', 'GetCurrentProcessId',
        'GetExitCodeProcess', 'GetFileAttributesA', 'GetFileSize', 'GetLastError',
        'GetModuleFileNameA', 'GetModuleHandleA', 'GetProcAddress', 'GetStartupInfoA',
        'GlobalAlloc', 'GlobalFree', 'GlobalLock', 'GlobalUnlock', 'InitializeCriticalSection',
        'LeaveCriticalSection', 'LoadLibraryA', 'MoveFileA', 'OpenProcess', 'ReadFile',
        'SetFilePointer', 'SetLastError', 'Sleep', 'WaitForSingleObject', 'WriteFile'},
    'user32.dll': {
        'CloseClipboard', 'DialogBoxParamA', 'EmptyClipboard', 'EnableWindow', 'EndDialog',
        'GetDlgItem', 'GetDlgItemInt', 'GetWindowLongA', 'GetWindowTextA',
        'GetWindowTextLengthA', 'IsDlgButtonChecked', 'MessageBoxA', 'OpenClipboard',
        'PostMessageA', 'SendDlgItemMessageA', 'SendMessageA', 'SetClipboardData',
        'SetDlgItemTextA', 'SetFocus', 'SetWindowLongA', 'SetWindowTextA'},
    'comctl32.dll': {'InitCommonControls'},
    'comdlg32.dll': {'GetOpenFileNameA'},
    'shell32.dll': {'SHBrowseForFolderA', 'SHGetMalloc', 'SHGetPathFromIDListA'},
    'crtdll.dll': {
        '__GetMainArgs', '_close', '_errno', '_fileno', '_fstat', '_get_osfhandle', '_iob',
        '_isatty', '_lseek', '_open', '_read', '_snprintf', '_stat', '_vsnprintf', '_write',
        'abort', 'atoi', 'atol', 'calloc', 'clearerr', 'clock', 'exit', 'fclose', 'feof',
        'ferror', 'fflush', 'fgetc', 'fopen', 'fprintf', 'fputc', 'fputs', 'fread', 'free',
        'fseek', 'fwrite', 'getenv', 'gmtime', 'isalnum', 'isspace', 'malloc', 'memchr', 'memcmp', 'memcpy',
        'memmove', 'memset', 'printf', 'raise', 'realloc', 'remove', 'signal', 'sscanf',
        'strchr', 'strcmp', 'strcpy', 'strerror', 'strlen', 'strncmp', 'strspn', 'strstr', 'strtod',
        'strtol', 'time', 'tolower', 'wcstombs'},
}
