/* The entry of the console programs (the converter, the checker). */
#include <stdlib.h>

#include "start.h"

int __cdecl main(int, char **, char **);

/* The linker's default entry of a console program. */
void mainCRTStartup(void)
{
    int argc;
    char **argv, **env;
    pelmora_start(console_program, &argc, &argv, &env);
    pelmora_exit(main(argc, argv, env));
}
