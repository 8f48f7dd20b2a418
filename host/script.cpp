/*
 * Scripts drive the host the way a pilot would: click a gauge, type into the
 * selection dialog, choose entries, close it, and check what the dialog, the
 * aircraft and the event log show.  One step runs per timer tick, so the
 * steps go on inside the module's own message loop while its dialog is open.
 *
 * The text is read by script_parser.cpp; the commands are in script_panel.cpp,
 * script_dialog.cpp and script_world.cpp, and the flow of the steps (repeat,
 * end, wait, echo, quit) here.  A failed check prints
 * "FILE:LINE: what: got X, expected Y" and the host then exits with status 1.
 */
#include "script.h"

#include <windows.h>

#include <stdio.h>

#include "host.h"
#include "script_commands.h"
#include "script_parser.h"

namespace {

std::string script_name;
std::vector<Step> steps;
size_t next_step = 0;
DWORD retry_started = 0;                /* when a waiting step first ran */
DWORD step_started = 0;                 /* when the running step first ran */
const DWORD retry_limit_ms = 20000;

/* A repeat ... end loop that runs: the step after its repeat, and how many
 * more times its body runs after this one. */
struct Loop {
    size_t body;
    long remaining;
};
std::vector<Loop> loops;

/* The end that closes the repeat at step index. */
size_t matching_end(size_t index)
{
    int depth = 0;
    for (size_t i = index + 1; i < steps.size(); i++) {
        if (steps[i].words[0] == "repeat")
            depth++;
        else if (steps[i].words[0] == "end" && depth-- == 0)
            return i;
    }
    fail("'repeat' without its 'end'");
}

void add_flow_commands(CommandTable &table)
{
    table.insert({
        {"repeat", [](const Step &s) {
             /* repeat N ... end: the steps between run N times. */
             long n = number(s, 1);
             if (n <= 0)
                 next_step = matching_end(next_step - 1) + 1;
             else
                 loops.push_back({next_step, n - 1});
             return done;
         }},
        {"end", [](const Step &) {
             if (loops.empty())
                 fail("'end' without 'repeat'");
             if (loops.back().remaining-- > 0)
                 next_step = loops.back().body;
             else
                 loops.pop_back();
             return done;
         }},
        {"wait", [](const Step &s) {
             return GetTickCount() - step_started >= (DWORD)number(s, 1) ? done : retry;
         }},
        {"echo", [](const Step &s) {
             printf("%s\n", word(s, 1).c_str());
             return done;
         }},
        {"quit", [](const Step &) {
             if (host.callbacks_running > 0)
                 fail("a callback is still running (the dialog is open)");
             if (host.window)
                 DestroyWindow(host.window);
             return done;
         }},
    });
}

const CommandTable &commands()
{
    static const CommandTable table = [] {
        CommandTable t;
        add_panel_commands(t);
        add_dialog_commands(t);
        add_world_commands(t);
        add_simulator_commands(t);
        add_flow_commands(t);
        return t;
    }();
    return table;
}

} // namespace

bool load_script(const char *path, std::string &error)
{
    script_name = path;
    return parse_script(path, commands(), steps, error);
}

bool script_finished()
{
    return next_step >= steps.size();
}

void finish_script()
{
    while (!script_finished()) {
        size_t before = next_step;
        script_tick();
        if (next_step == before)
            Sleep(10);
    }
}

void script_tick()
{
    if (script_finished())
        return;
    size_t index = next_step;
    const Step &s = steps[index];
    step_started = retry_started ? retry_started : GetTickCount();
    retry_started = 0;
    /* Steps after this one may run inside it, while it waits in the module. */
    next_step = index + 1;
    Outcome outcome = done;
    try {
        outcome = commands().at(s.words[0])(s);
        if (outcome == retry && GetTickCount() - step_started > retry_limit_ms)
            fail("'" + s.words[0] + "' still not satisfied after " +
                 std::to_string(retry_limit_ms / 1000) + " s");
    } catch (const Failure &f) {
        fprintf(stderr, "%s:%d: %s\n", script_name.c_str(), s.line, f.text.c_str());
        fflush(stderr);
        host.failures++;
        outcome = done;
    }
    if (outcome == retry) {
        next_step = index;
        retry_started = step_started;
    }
}
