#include "script_commands.h"

#include <windows.h>
#include <psapi.h>

#include <stdio.h>

#include "host.h"
#include "paths.h"
#include "window.h"

namespace {

std::vector<HWND> made_windows;

/* The host process's memory, in KB.  Private bytes are the commit charge,
 * PagefileUsage (Wine leaves PrivateUsage at 0; Windows gives both alike). */
struct MemoryFigures {
    size_t working_set, peak_working_set, private_bytes;
};

MemoryFigures memory_now()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        fail("cannot read the process's memory figures");
    return {counters.WorkingSetSize / 1024, counters.PeakWorkingSetSize / 1024,
            counters.PagefileUsage / 1024};
}

std::map<std::string, MemoryFigures> memory_marks;

/* Bytes of every value but Ctrl-Z, which would end the file at once and
 * leave the rest unread. */
bool write_noise(const std::string &name, long bytes, unsigned long long seed)
{
    FILE *f = fopen(name.c_str(), "wb");
    if (!f)
        return false;
    unsigned long long state = seed;
    char block[4096];
    bool ok = true;
    for (long done = 0; ok && done < bytes;) {
        size_t n = (size_t)(bytes - done < (long)sizeof block ? bytes - done : (long)sizeof block);
        for (size_t i = 0; i < n; i++) {
            unsigned c = random_below(state, 255);
            block[i] = (char)(c < 26 ? c : c + 1);
        }
        ok = fwrite(block, 1, n, f) == n;
        done += (long)n;
    }
    return fclose(f) == 0 && ok;
}

bool append_repeated(const std::string &name, const std::string &text, long count)
{
    FILE *f = fopen(name.c_str(), "ab");
    if (!f)
        return false;
    bool ok = true;
    for (long i = 0; ok && i < count; i++)
        ok = fwrite(text.data(), 1, text.size(), f) == text.size();
    return fclose(f) == 0 && ok;
}

} // namespace

void add_world_commands(CommandTable &table)
{
    table.insert({
        /* ---- memory ---- */
        {"print-memory", [](const Step &s) {
             MemoryFigures m = memory_now();
             memory_marks[word(s, 1)] = m;
             printf("%s memory: working set %lu KB (peak %lu KB), private %lu KB\n",
                    word(s, 1).c_str(), (unsigned long)m.working_set,
                    (unsigned long)m.peak_working_set, (unsigned long)m.private_bytes);
             fflush(stdout);
             return done;
         }},
        {"expect-memory-growth", [](const Step &s) {
             /* MARK KB: private memory has grown by at most KB since print-memory MARK. */
             auto mark = memory_marks.find(word(s, 1));
             if (mark == memory_marks.end())
                 fail("no memory figures named " + word(s, 1));
             long growth = (long)memory_now().private_bytes - (long)mark->second.private_bytes;
             if (growth > number(s, 2))
                 fail("private memory grew by " + std::to_string(growth) + " KB since " +
                      word(s, 1) + ", expected at most " + word(s, 2) + " KB");
             return done;
         }},
        /* ---- files ---- */
        {"write-noise", [](const Step &s) {
             if (!write_noise(word(s, 1), number(s, 2), (unsigned long long)number(s, 3)))
                 fail("cannot write " + word(s, 1));
             return done;
         }},
        {"copy-file", [](const Step &s) {
             if (!CopyFileA(word(s, 1).c_str(), word(s, 2).c_str(), FALSE))
                 fail("cannot copy " + word(s, 1) + " to " + word(s, 2));
             return done;
         }},
        {"append-repeated", [](const Step &s) {
             /* FILE TEXT COUNT: TEXT added COUNT times to the end of FILE. */
             if (!append_repeated(word(s, 1), word(s, 2), number(s, 3)))
                 fail("cannot write " + word(s, 1));
             return done;
         }},
        {"write-file", [](const Step &s) {
             if (!write_file(word(s, 1), word(s, 2)))
                 fail("cannot write " + word(s, 1));
             return done;
         }},
        {"delete-file", [](const Step &s) {
             DeleteFileA(word(s, 1).c_str());
             return done;
         }},
        /* ---- the world around ---- */
        {"make-window", [](const Step &s) {
             HWND w = CreateWindowExA(0, "STATIC", word(s, 1).c_str(), WS_OVERLAPPED, 0, 0, 100, 50,
                                      0, 0, GetModuleHandleA(0), 0);
             if (!w)
                 fail("cannot make a window");
             made_windows.push_back(w);
             return done;
         }},
        {"destroy-windows", [](const Step &) {
             for (HWND w : made_windows)
                 DestroyWindow(w);
             made_windows.clear();
             return done;
         }},
        {"screenshot", [](const Step &s) {
             UpdateWindow(host.window);
             std::string error;
             if (!save_screenshot(start_relative_path(word(s, 1)).c_str(), error))
                 fail(error);
             return done;
         }},
    });
}
