#include "module_call.h"

#include <windows.h>

#include <stdio.h>

#if defined(__i386__)
void report_unbalanced_stack(const char *what, long difference)
{
    fprintf(stderr, "pelmora-host: the module's %s left the stack pointer %ld bytes off: "
                    "its calling convention does not match the host's\n", what, difference);
    fflush(stderr);
    ExitProcess(4);
}
#endif
