#!/usr/bin/python3
"""Static check of pelmora-setup.exe (i686): it must load on Windows 95.

Reads the program's import table without loading it and holds every
imported function against the functions that Windows 95 as first shipped
exports (PROGRAM_LOAD_TIME_IMPORTS in load_time_imports.py: KERNEL32,
USER32, the shell, the common controls and dialogs of that release, and
CRTDLL.DLL, the C runtime every Windows 95 and NT has).  A program that
imports one function a system lacks does not start there at all, so
anything newer must be looked up at run time (GetProcAddress) instead.
Also checks the machine, the GUI subsystem, an OS version in the header
that Windows 95 accepts (4.0), the dialog and the version block.

With --program, the same import and header checks for one of the other
32-bit programs (the converter, the checker: console programs).

Prints one line per failed check and exits 1 on any; otherwise the number
of checks passed.

Usage: /usr/bin/python3 check_setup.py [--program] build/win32/setup/pelmora-setup.exe
"""
import os
import sys

import pefile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from load_time_imports import PROGRAM_LOAD_TIME_IMPORTS  # noqa: E402

failures = []
passed = 0


def check(what, got, expected):
    global passed
    if got == expected:
        passed += 1
    else:
        failures.append(f'check_setup: {what}: got {got}, expected {expected}')


def main(path, program=False):
    pe = pefile.PE(path)
    check('machine', hex(pe.FILE_HEADER.Machine), hex(pefile.MACHINE_TYPE['IMAGE_FILE_MACHINE_I386']))
    subsystem = 'IMAGE_SUBSYSTEM_WINDOWS_CUI' if program else 'IMAGE_SUBSYSTEM_WINDOWS_GUI'
    check('subsystem', pe.OPTIONAL_HEADER.Subsystem, pefile.SUBSYSTEM_TYPE[subsystem])
    # Windows 95 refuses programs that ask for a newer system in their header.
    check('major OS version <= 4', pe.OPTIONAL_HEADER.MajorOperatingSystemVersion <= 4, True)
    check('subsystem version <= 4.0',
          (pe.OPTIONAL_HEADER.MajorSubsystemVersion, pe.OPTIONAL_HEADER.MinorSubsystemVersion)
          <= (4, 0), True)
    for entry in pe.DIRECTORY_ENTRY_IMPORT:
        dll = entry.dll.decode().lower()
        check(f'{dll}: a DLL of Windows 95', dll in PROGRAM_LOAD_TIME_IMPORTS, True)
        for imported in entry.imports:
            name = imported.name.decode() if imported.name else f'#{imported.ordinal}'
            known = name in PROGRAM_LOAD_TIME_IMPORTS.get(dll, ())
            check(f'{dll}!{name}: on Windows 95', known, True)
    # One C runtime, the system's own: never msvcrt.dll, which Windows 95
    # did not have (it came with Visual C++ 4.2 in 1996).
    dlls = [entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT]
    check('the C runtime is CRTDLL.DLL', 'crtdll.dll' in dlls and 'msvcrt.dll' not in dlls, True)
    if program:
        return
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
    arguments = sys.argv[1:]
    as_program = arguments[:1] == ['--program']
    main(arguments[-1], as_program)
    for line in failures:
        print(line)
    print(f'check_setup: {passed} passed, {len(failures)} failed')
    sys.exit(1 if failures else 0)
