/* The start of the 32-bit Windows programs: see start.c. */
#ifndef PELMORA_RUNTIME_START_H
#define PELMORA_RUNTIME_START_H

enum { console_program = 1, window_program = 2 };

/* Resets the x87 unit, tells the C runtime DLL the kind of program and gets
 * the arguments. */
void pelmora_start(int kind, int *argc, char ***argv, char ***env);

/* Runs the handlers registered with atexit, last first, then exits. */
void pelmora_exit(int status);

/* Readies the C++ runtime routines (cxx_runtime.cpp) before any code of
 * the program runs. */
void pelmora_runtime_start(void);

/* Shows a message that ends the program where a window program's pilot sees
 * it (set by the window program's entry; the console programs print to the
 * error stream only). */
extern void (*pelmora_show_fatal)(const char *message);

#endif
