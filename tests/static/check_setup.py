#!/usr/bin/python3
"""Static check of pelmora-setup.exe (i686): it must load on Windows 98.

Reads the program's import table without loading it and holds every
imported function against the functions that Windows 98 (with the
msvcrt.dll of Windows 98 Second Edition) exports.  A program that imports
one function a system lacks does not start there at all, so anything newer
must be looked up at run time (GetProcAddress) instead.  Also checks the
machine, the GUI subsystem, an OS version in the header that Windows 98
accepts (4.0), the dialog and the version block.

Prints one line per failed check and exits 1 on any; otherwise the number
of checks passed.

Usage: /usr/bin/python3 check_setup.py build/win32/setup/pelmora-setup.exe
"""
import sys

import pefile

# What Windows 98 exports, for the functions this program may import.  The
# list is ours, from the systems' documentation; a new import that is not
# here fails the check until someone confirms Windows 98 has it.
WINDOWS_98 = {
    'kernel32.dll': '''
        CloseHandle CompareStringA CopyFileA CreateDirectoryA CreateEventA CreateFileA
        CreateMutexA CreateSemaphoreA CreateThread DeleteCriticalSection DeleteFileA
        EnterCriticalSection ExitProcess FindClose FindFirstFileA FindNextFileA
        FlushFileBuffers FormatMessageA FreeLibrary GetCommandLineA GetCurrentDirectoryA
        GetCurrentProcess GetCurrentProcessId GetCurrentThread GetCurrentThreadId
        GetExitCodeProcess GetFileAttributesA GetFileSize GetLastError GetModuleFileNameA
        GetModuleHandleA GetProcAddress GetStartupInfoA GetSystemTimeAsFileTime GetTickCount
        GetVersionExA GlobalAlloc GlobalFree GlobalLock GlobalUnlock InitializeCriticalSection
        InterlockedCompareExchange InterlockedExchange InterlockedIncrement InterlockedDecrement
        IsDBCSLeadByteEx LeaveCriticalSection LoadLibraryA LocalFree MoveFileA
        MultiByteToWideChar OpenProcess QueryPerformanceCounter ReadFile ReleaseMutex
        ReleaseSemaphore ResetEvent SetEvent SetFilePointer SetLastError
        SetUnhandledExceptionFilter Sleep TerminateProcess TlsAlloc TlsFree TlsGetValue
        TlsSetValue UnhandledExceptionFilter VirtualProtect VirtualQuery WaitForSingleObject
        WideCharToMultiByte WriteFile lstrlenA
    ''',
    'user32.dll': '''
        CloseClipboard DialogBoxParamA EmptyClipboard EnableWindow EndDialog GetDlgItem
        GetDlgItemInt GetWindowLongA GetWindowTextA GetWindowTextLengthA IsDlgButtonChecked
        MessageBoxA OpenClipboard PostMessageA SendDlgItemMessageA SendMessageA
        SetClipboardData SetDlgItemTextA SetFocus SetWindowLongA SetWindowTextA
    ''',
    'comctl32.dll': 'InitCommonControls',
    'comdlg32.dll': 'GetOpenFileNameA',
    'shell32.dll': 'SHBrowseForFolderA SHGetMalloc SHGetPathFromIDListA',
    'ole32.dll': 'CoInitialize CoUninitialize CoTaskMemFree',
    'msvcrt.dll': '''
        __getmainargs __initenv __mb_cur_max __p__acmdln __p__commode __p__fmode
        __set_app_type __setusermatherr _amsg_exit _beginthreadex _cexit _close _errno
        _initterm _iob _lock _lseeki64 _onexit _open _read _stat _unlock _wopen _write
        abort atoi atol calloc exit fclose ferror fflush fopen fprintf fputc fputs fread
        free fwrite getenv gmtime isspace localeconv malloc memchr memcmp memcpy memmove
        memset raise realloc remove setlocale signal strchr strcmp strcpy strerror strlen
        strncmp strspn strstr strtol time tolower vfprintf wcslen wcstombs
    ''',
}

# Wide-character functions that Windows 98's KERNEL32 exports as stubs
# failing with ERROR_CALL_NOT_IMPLEMENTED: the program loads, and the
# compiler's runtime, which imports them, takes its other way when they fail.
#   GetModuleHandleW, LoadLibraryW: the runtime looks for a shared libgcc
#     DLL; there is none, the linked-in copy is used.
#   CreateSemaphoreW: made for a runtime lock (frame registration, thread
#     data) and waited on only when two threads want that lock at the same
#     moment; on Windows 98 that wait fails instead of blocking.
STUBS_ON_98 = {'kernel32.dll': 'CreateSemaphoreW GetModuleHandleW LoadLibraryW'}

failures = []
passed = 0


def check(what, got, expected):
    global passed
    if got == expected:
        passed += 1
    else:
        failures.append(f'check_setup: {what}: got {got}, expected {expected}')


def main(path):
    pe = pefile.PE(path)
    check('machine', hex(pe.FILE_HEADER.Machine), hex(pefile.MACHINE_TYPE['IMAGE_FILE_MACHINE_I386']))
    check('subsystem', pe.OPTIONAL_HEADER.Subsystem, pefile.SUBSYSTEM_TYPE['IMAGE_SUBSYSTEM_WINDOWS_GUI'])
    # Windows 98 refuses programs that ask for a newer system in their header.
    check('major OS version <= 4', pe.OPTIONAL_HEADER.MajorOperatingSystemVersion <= 4, True)
    check('major subsystem version <= 4', pe.OPTIONAL_HEADER.MajorSubsystemVersion <= 4, True)
    allowed = {dll: set(names.split()) for dll, names in WINDOWS_98.items()}
    stubs = {dll: set(names.split()) for dll, names in STUBS_ON_98.items()}
    for entry in pe.DIRECTORY_ENTRY_IMPORT:
        dll = entry.dll.decode().lower()
        check(f'{dll}: a DLL of Windows 98', dll in allowed, True)
        for imported in entry.imports:
            name = imported.name.decode() if imported.name else f'#{imported.ordinal}'
            known = name in allowed.get(dll, ()) or name in stubs.get(dll, ())
            check(f'{dll}!{name}: on Windows 98', known, True)
    resources = {}
    for kind in getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None).entries if hasattr(pe, "DIRECTORY_ENTRY_RESOURCE") else []:
        resources[kind.id] = [e.id for e in kind.directory.entries]
    check('dialog 100', 100 in resources.get(pefile.RESOURCE_TYPE['RT_DIALOG'], []), True)
    check('version block', pefile.RESOURCE_TYPE['RT_VERSION'] in resources, True)
    strings = {}
    for info in getattr(pe, 'FileInfo', [[]])[0]:
        for table in getattr(info, 'StringTable', []):
            strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    check('OriginalFilename', strings.get('OriginalFilename'), 'pelmora-setup.exe')


if __name__ == '__main__':
    main(sys.argv[1])
    for line in failures:
        print(line)
    print(f'check_setup: {passed} passed, {len(failures)} failed')
    sys.exit(1 if failures else 0)
