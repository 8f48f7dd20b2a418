/*
 * pelmora-host: the stand-in simulator.
 *
 *   pelmora-host [--sim DIR] [--install MODULE] [--data DIR] [--script FILE]
 *                [--log FILE] [--timeout SECONDS]
 *
 * DIR is the simulator folder and becomes the current directory; the module
 * is loaded from its GAUGES folder.  --install copies a module there first,
 * --data copies the two data files.  Without --sim the folder "sim" beside
 * the program is used.
 */
#include "host.h"
#include "module_loader.h"
#include "paths.h"
#include "script.h"
#include "window.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void usage()
{
    fprintf(stderr, "usage: pelmora-host [--sim DIR] [--install MODULE] [--data DIR] "
                    "[--script FILE] [--log FILE] [--timeout SECONDS]\n");
}

static bool copy_into(const std::string &from, const std::string &to, bool required)
{
    if (CopyFileA(from.c_str(), to.c_str(), FALSE))
        return true;
    if (required)
        fprintf(stderr, "pelmora-host: cannot copy %s to %s (error %lu)\n", from.c_str(), to.c_str(),
                GetLastError());
    return !required;
}

/* Creates a folder and every folder above it that is missing. */
static void make_directories(const std::string &path)
{
    for (size_t i = 3; i <= path.size(); i++)
        if (i == path.size() || path[i] == '\\' || path[i] == '/')
            CreateDirectoryA(path.substr(0, i).c_str(), 0);
}

/* A crash inside the module ends the host with a message and status 5 at
 * once, rather than waiting for a debugger. */
static LONG WINAPI report_crash(EXCEPTION_POINTERS *info)
{
    fprintf(stderr, "pelmora-host: crashed: exception 0x%08lX at address %p\n",
            info->ExceptionRecord->ExceptionCode, info->ExceptionRecord->ExceptionAddress);
    fflush(stderr);
    ExitProcess(5);
}

static DWORD timeout_seconds = 120;

static DWORD WINAPI watchdog(LPVOID)
{
    Sleep(timeout_seconds * 1000);
    fprintf(stderr, "pelmora-host: timed out after %lu s\n", timeout_seconds);
    fflush(stderr);
    ExitProcess(3);
}

int main(int argc, char **argv)
{
    std::string sim, install, data, script, log, error;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        bool has_value = i + 1 < argc;
        if (a == "--sim" && has_value) sim = windows_path(argv[++i]);
        else if (a == "--install" && has_value) install = windows_path(argv[++i]);
        else if (a == "--data" && has_value) data = windows_path(argv[++i]);
        else if (a == "--script" && has_value) script = argv[++i];
        else if (a == "--log" && has_value) log = windows_path(argv[++i]);
        else if (a == "--timeout" && has_value) timeout_seconds = (DWORD)atoi(argv[++i]);
        else {
            usage();
            return 2;
        }
    }
    if (sim.empty()) {
        char exe[MAX_PATH];
        GetModuleFileNameA(0, exe, MAX_PATH);
        char *slash = strrchr(exe, '\\');
        if (slash)
            *slash = 0;
        sim = std::string(exe) + "\\sim";
    }
    char here[MAX_PATH];
    if (GetCurrentDirectoryA(MAX_PATH, here))
        start_directory = here;
    if (!script.empty() && !load_script(script.c_str(), error)) {
        fprintf(stderr, "pelmora-host: %s\n", error.c_str());
        return 2;
    }
    make_directories(sim + "\\GAUGES");
    if (!install.empty() && !copy_into(install, sim + "\\GAUGES\\PELMORA.GAU", true))
        return 2;
    if (!data.empty()) {
        copy_into(data + "\\Prwydata.txt", sim + "\\Prwydata.txt", false);
        copy_into(data + "\\Pnavdata.txt", sim + "\\Pnavdata.txt", false);
    }
    if (!SetCurrentDirectoryA(sim.c_str())) {
        fprintf(stderr, "pelmora-host: cannot enter %s\n", sim.c_str());
        return 2;
    }
    if (!log.empty()) {
        host.log_path = log;
        DeleteFileA(log.c_str());
    }
    if (timeout_seconds)
        CreateThread(0, 0, watchdog, 0, 0, 0);
    SetUnhandledExceptionFilter(report_crash);

    if (!load_module(error)) {
        fprintf(stderr, "pelmora-host: %s\n", error.c_str());
        return 2;
    }
    place_gauges();
    printf("pelmora-host: %s, %u gauges\n", sim.c_str(), (unsigned)host.gauges.size());
    fflush(stdout);
    if (!create_host_window(SW_SHOWNORMAL, script_tick)) {
        fprintf(stderr, "pelmora-host: cannot create the window\n");
        return 2;
    }
    MSG message;
    while (GetMessageA(&message, 0, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    /* The quit that ended the loop, and its code: a script checks them in
     * the steps it has left, which run now, without a loop. */
    host.loop_ended = true;
    host.quit_code = (int)message.wParam;
    printf("pelmora-host: the message loop received its quit, code %d\n", host.quit_code);
    fflush(stdout);
    finish_script();
    unload_module();
    if (host.failures)
        fprintf(stderr, "pelmora-host: %d check(s) failed\n", host.failures);
    return host.failures ? 1 : 0;
}
