/* The entry of the setup window, a Windows program. */
#include <windows.h>

#include <stdlib.h>

#include "start.h"

static void show_fatal(const char *message)
{
    MessageBoxA(0, message, "Pelmora", MB_ICONSTOP);
}

/* WinMain gets the command line after the program's name, as the system's
 * own start-up gives it. */
void WinMainCRTStartup(void)
{
    int argc;
    char **argv, **env;
    pelmora_start(window_program, &argc, &argv, &env);
    pelmora_show_fatal = show_fatal;
    char *line = GetCommandLineA();
    int quoted = 0;
    while (*line && (quoted || (unsigned char)*line > ' ')) {
        if (*line == '"')
            quoted = !quoted;
        line++;
    }
    while (*line && (unsigned char)*line <= ' ')
        line++;
    STARTUPINFOA startup;
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    pelmora_exit(WinMain(GetModuleHandleA(0), 0, line, show));
}
