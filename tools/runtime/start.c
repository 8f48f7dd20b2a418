/*
 * The start of the 32-bit Windows programs (the converter, the checker and
 * the setup window), in place of the compiler's own start-up objects: those
 * come built for the Pentium Pro and later, and their first instructions
 * would already stop an original Pentium.  What is done here is what a
 * program of ours needs before main or WinMain: the x87 unit reset to the
 * state the compiler's start-up leaves (64-bit precision), the C runtime DLL
 * told what kind of program this is and asked for the arguments, and exit
 * with main's result, which runs the handlers registered with atexit (the
 * static destructors among them) and flushes the streams.
 *
 * Static constructors run from main's own prologue (__main, which the
 * compiler calls there), as with the compiler's start-up.
 */
#include <windows.h>

#include <stdlib.h>

#include "start.h"

/* The C runtime DLL's own start-up entries (both CRTDLL.DLL and msvcrt.dll
 * have them; the import library of the former supplies the names the
 * latter uses). */
typedef struct {
    int newmode;
} start_info;
extern void __cdecl __set_app_type(int);
extern int __cdecl __getmainargs(int *, char ***, char ***, int, start_info *);
extern _onexit_t __cdecl _onexit(_onexit_t);

void (*pelmora_show_fatal)(const char *message);

int __cdecl atexit(void (__cdecl *handler)(void))
{
    return _onexit((_onexit_t)handler) ? 0 : -1;
}

void pelmora_start(int kind, int *argc, char ***argv, char ***env)
{
    start_info info = {0};
    __asm__ __volatile__("fninit");
    __set_app_type(kind);
    pelmora_runtime_start();
    /* No wildcard expansion: a file name is taken as typed. */
    __getmainargs(argc, argv, env, 0, &info);
}

