/*
 * The start of the 32-bit Windows programs (the converter, the checker and
 * the setup window), in place of the compiler's own start-up objects: those
 * come built for the Pentium Pro and later, and their first instructions
 * would already stop an original Pentium.  What is done here is what a
 * program of ours needs before main or WinMain: the x87 unit reset to the
 * state the compiler's start-up leaves (64-bit precision), the C runtime DLL
 * told what kind of program this is and asked for the arguments, and, with
 * main's result, the handlers registered with atexit (the static
 * destructors among them) run and exit, which flushes the streams.
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

void (*pelmora_show_fatal)(const char *message);

/* The handlers registered with atexit (the static objects' destructors
 * among them), run last first by pelmora_exit.  A table of our own: CRTDLL's
 * list serves the DLL's own exit. */
enum { handler_room = 128 };
static void(__cdecl *handlers[handler_room])(void);
static int handler_count;

int __cdecl atexit(void(__cdecl *handler)(void))
{
    if (handler_count == handler_room)
        return -1;
    handlers[handler_count++] = handler;
    return 0;
}

void pelmora_exit(int status)
{
    while (handler_count > 0)
        handlers[--handler_count]();
    exit(status);
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

