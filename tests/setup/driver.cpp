/*
 * Drives pelmora-setup.exe the way a pilot would, through its real controls:
 * starts it, finds its window, and plays a script of steps (set a field's
 * text, click a button, choose a list entry by its number or text, wait for
 * what a field shows, read the clipboard, open and close a picker, take a
 * screenshot, close).
 * Every message goes to the controls themselves, across processes, as from
 * the keyboard and mouse.
 *
 *   setup-driver.exe SETUP_EXE SCRIPT
 *
 * A script line is a command and its words; $NAME is replaced by the
 * environment variable NAME.  A failed step prints "SCRIPT:LINE: what: got
 * X, expected Y"; the driver exits 1 if any failed.
 */
#include <windows.h>

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include <fstream>
#include <sstream>
#include <string>

#include "screen_area.h"
#include "setup_ids.h"

namespace {

struct Named {
    const char *name;
    int id;
};
const Named controls[] = {
    {"sim_dir", IDC_SIM_DIR}, {"sim_browse", IDC_SIM_BROWSE}, {"sim_status", IDC_SIM_STATUS},
    {"install", IDC_INSTALL}, {"install_status", IDC_INSTALL_STATUS},
    {"source_kind", IDC_SOURCE_KIND}, {"source", IDC_SOURCE}, {"source_browse", IDC_SOURCE_BROWSE},
    {"nav", IDC_NAV}, {"nav_browse", IDC_NAV_BROWSE}, {"prefixes", IDC_PREFIXES},
    {"hard_only", IDC_HARD_ONLY}, {"icao_only", IDC_ICAO_ONLY}, {"make", IDC_MAKE},
    {"cancel", IDC_STOP}, {"progress", IDC_PROGRESS}, {"log", IDC_LOG},
    {"panel_line", IDC_PANEL_LINE}, {"copy", IDC_COPY}, {"x", IDC_X}, {"y", IDC_Y},
    {"panel_cfg", IDC_PANEL_CFG}, {"panel_browse", IDC_PANEL_BROWSE}, {"window", IDC_WINDOW},
    {"add_line", IDC_ADD_LINE}, {"panel_status", IDC_PANEL_STATUS}, {"close", IDCANCEL},
};

const DWORD wait_limit_ms = 15000;

std::string script;
int line_number = 0;
int failures = 0;
HWND dialog = 0;
PROCESS_INFORMATION process;

void failed(const std::string &what)
{
    fprintf(stderr, "%s:%d: %s\n", script.c_str(), line_number, what.c_str());
    fflush(stderr);
    failures++;
}

HWND control(const std::string &name)
{
    for (const Named &n : controls)
        if (name == n.name)
            return GetDlgItem(dialog, n.id);
    failed("no control named '" + name + "'");
    return 0;
}

/* WM_GETTEXT goes to the control itself: GetWindowText does not ask a
 * window of another process. */
std::string text_of(HWND window)
{
    char text[70000] = "";
    SendMessageA(window, WM_GETTEXT, sizeof text, (LPARAM)text);
    return text;
}

std::string expand(const std::string &text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] != '$') {
            out += text[i];
            continue;
        }
        size_t end = i + 1;
        while (end < text.size() && (isalnum((unsigned char)text[end]) || text[end] == '_'))
            end++;
        char value[2048] = "";
        GetEnvironmentVariableA(text.substr(i + 1, end - i - 1).c_str(), value, sizeof value);
        out += value;
        i = end - 1;
    }
    return out;
}

void pump(DWORD ms)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG message;
        while (PeekMessageA(&message, 0, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(10);
    }
}

/* Waits until test holds; false after the limit. */
template <class Test> bool wait_for(Test test)
{
    DWORD start = GetTickCount();
    while (!test()) {
        if (GetTickCount() - start > wait_limit_ms)
            return false;
        pump(10);
    }
    return true;
}

BOOL CALLBACK find_window(HWND window, LPARAM found)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    if (pid == process.dwProcessId && strcmp(title, SETUP_CAPTION) == 0 && IsWindowVisible(window)) {
        *(HWND *)found = window;
        return FALSE;
    }
    return TRUE;
}

/* A window of the setup process other than its main window: a picker. */
BOOL CALLBACK find_other(HWND window, LPARAM found)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == process.dwProcessId && window != dialog && IsWindowVisible(window)) {
        *(HWND *)found = window;
        return FALSE;
    }
    return TRUE;
}

HWND other_window()
{
    HWND found = 0;
    EnumWindows(find_other, (LPARAM)&found);
    return found;
}

bool screenshot(const std::string &path)
{
    RECT r;
    GetWindowRect(dialog, &r);
    return save_screen_area(path.c_str(), r.left, r.top, r.right - r.left, r.bottom - r.top);
}

std::string clipboard_text()
{
    std::string text;
    if (!OpenClipboard(0))
        return "(clipboard not open)";
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data) {
        const char *p = (const char *)GlobalLock(data);
        if (p)
            text = p;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void step(const std::string &command, const std::string &name, const std::string &rest)
{
    if (command == "set") {
        SendMessageA(control(name), WM_SETTEXT, 0, (LPARAM)rest.c_str());
    } else if (command == "click") {
        SendMessageA(control(name), BM_CLICK, 0, 0);
    } else if (command == "choose") {
        /* As a pick in the list: the selection, then the box's notice.  The
         * entry by its number, or by the beginning of its text. */
        HWND box = control(name);
        LRESULT index = rest.find_first_not_of("0123456789") == std::string::npos
                            ? atoi(rest.c_str())
                            : SendMessageA(box, CB_FINDSTRING, (WPARAM)-1, (LPARAM)rest.c_str());
        if (index == CB_ERR) {
            failed(name + ": no entry \"" + rest + "\"");
            return;
        }
        SendMessageA(box, CB_SETCURSEL, index, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE), (LPARAM)box);
    } else if (command == "expect" || command == "expect-not") {
        HWND window = control(name);
        bool want = command == "expect";
        if (!wait_for([&] { return (text_of(window).find(rest) != std::string::npos) == want; }))
            failed(name + ": got \"" + text_of(window) + "\", expected " + (want ? "" : "no ") +
                   "\"" + rest + "\"");
    } else if (command == "enabled") {
        HWND window = control(name);
        bool want = rest == "1";
        if (!wait_for([&] { return (IsWindowEnabled(window) != 0) == want; }))
            failed(name + ": enabled " + std::to_string(!want) + ", expected " + rest);
    } else if (command == "progress") {
        /* progress NAME above|is N */
        HWND bar = control(name);
        std::istringstream words(rest);
        std::string how;
        long n = 0;
        words >> how >> n;
        auto pos = [&] { return (long)SendMessageA(bar, PBM_GETPOS, 0, 0); };
        if (!wait_for([&] { return how == "above" ? pos() > n : pos() == n; }))
            failed(name + ": at " + std::to_string(pos()) + ", expected " + how + " " +
                   std::to_string(n));
    } else if (command == "clipboard") {
        std::string got = clipboard_text();
        if (got != name + (rest.empty() ? "" : " " + rest))
            failed("clipboard: got \"" + got + "\", expected \"" + name + " " + rest + "\"");
    } else if (command == "picker") {
        /* The button opens the system's picker; it closes with Cancel and
         * the window goes on. */
        PostMessageA(control(name), BM_CLICK, 0, 0);
        HWND picker = 0;
        if (!wait_for([&] { return (picker = other_window()) != 0; })) {
            failed(name + ": no picker opened");
            return;
        }
        PostMessageA(picker, WM_COMMAND, IDCANCEL, 0);
        if (!wait_for([&] { return !IsWindow(picker); }))
            failed(name + ": the picker did not close");
    } else if (command == "screenshot") {
        pump(300);
        if (!screenshot(name))
            failed("cannot write " + name);
    } else if (command == "wait") {
        pump(atoi(name.c_str()));
    } else if (command == "close") {
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, wait_limit_ms) != WAIT_OBJECT_0)
            failed("the window did not close");
        DWORD code = 1;
        GetExitCodeProcess(process.hProcess, &code);
        if (code != 0)
            failed("exit status " + std::to_string(code) + ", expected 0");
    } else {
        failed("unknown command '" + command + "'");
    }
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: setup-driver SETUP_EXE SCRIPT\n");
        return 2;
    }
    script = argv[2];
    std::ifstream in(argv[2]);
    if (!in) {
        fprintf(stderr, "setup-driver: cannot read %s\n", argv[2]);
        return 2;
    }
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    std::string command_line = std::string("\"") + argv[1] + "\"";
    if (!CreateProcessA(argv[1], &command_line[0], 0, 0, FALSE, 0, 0, 0, &start, &process)) {
        fprintf(stderr, "setup-driver: cannot start %s (error %lu)\n", argv[1], GetLastError());
        return 2;
    }
    if (!wait_for([] { EnumWindows(find_window, (LPARAM)&dialog); return dialog != 0; })) {
        fprintf(stderr, "setup-driver: no window \"%s\"\n", SETUP_CAPTION);
        TerminateProcess(process.hProcess, 3);
        return 1;
    }
    std::string line;
    int steps = 0;
    while (std::getline(in, line)) {
        line_number++;
        if (!line.empty() && line[line.size() - 1] == '\r')
            line.resize(line.size() - 1);
        std::istringstream words(line);
        std::string command, name, rest;
        words >> command >> name;
        if (command.empty() || command[0] == '#')
            continue;
        std::getline(words >> std::ws, rest);
        step(command, expand(name), expand(rest));
        steps++;
    }
    if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 3);
        failed("the window was still open at the end of the script");
    }
    printf("%s: %d steps, %d failed\n", script.c_str(), steps, failures);
    return failures ? 1 : 0;
}
