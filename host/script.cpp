/*
 * Scripts drive the host the way a pilot would: click a gauge, type into the
 * selection dialog, choose entries, close it, and check what the dialog, the
 * aircraft and the event log show.  One step runs per timer tick, so the
 * steps go on inside the module's own message loop while its dialog is open.
 *
 * A line is a command and its words; "double quotes" hold blanks, \n and \"
 * inside them.  '#' starts a comment line.  A failed check prints
 * "FILE:LINE: what: got X, expected Y" and the host then exits with status 1.
 */
#include "host.h"

#include <psapi.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <functional>
#include <map>

#include "selection/selection_ids.h"

namespace {

struct Step {
    int line;
    std::vector<std::string> words;
};

std::string script_name;
std::vector<Step> steps;
size_t next_step = 0;
size_t event_mark = 0;                  /* events before this are not checked */
DWORD retry_started = 0;                /* when a waiting step first ran */
DWORD step_started = 0;                 /* when the running step first ran */
const DWORD retry_limit_ms = 20000;
std::vector<HWND> made_windows;

enum Outcome { done, retry };

struct Failure {
    std::string text;
};

const std::map<std::string, int> control_ids = {
    {"IDC_RESULTS", IDC_RESULTS}, {"IDC_ICAO", IDC_ICAO},         {"IDC_PICK", IDC_PICK},
    {"IDC_EXIT", IDC_EXIT},       {"IDC_FIND", IDC_FIND},         {"IDC_AIRPORTS", IDC_AIRPORTS},
    {"IDC_NAVAIDS", IDC_NAVAIDS}, {"IDC_HDG", IDC_HDG},           {"IDC_ALT", IDC_ALT},
    {"IDC_IAS", IDC_IAS},         {"IDC_MACH", IDC_MACH},         {"IDC_VS", IDC_VS},
};

[[noreturn]] void fail(const std::string &text)
{
    throw Failure{text};
}

void expect_equal(const std::string &what, const std::string &got, const std::string &expected)
{
    if (got != expected)
        fail(what + ": got \"" + got + "\", expected \"" + expected + "\"");
}

void expect_equal(const std::string &what, long got, long expected)
{
    if (got != expected)
        fail(what + ": got " + std::to_string(got) + ", expected " + std::to_string(expected));
}

const std::string &word(const Step &s, size_t i)
{
    if (i >= s.words.size())
        fail("'" + s.words[0] + "' needs more words");
    return s.words[i];
}

long number(const Step &s, size_t i)
{
    const std::string &w = word(s, i);
    char *end = 0;
    long value = strtol(w.c_str(), &end, 0);
    if (*end)
        fail("not a number: " + w);
    return value;
}

/* A top-level dialog of this thread with that caption (other programs on the
 * same desktop may show windows of their own). */
HWND find_own_window(const char *caption, HWND after = 0)
{
    for (HWND w = after; (w = FindWindowExA(0, w, "#32770", caption)) != 0;)
        if (GetWindowThreadProcessId(w, 0) == GetCurrentThreadId())
            return w;
    return 0;
}

HWND find_dialog()
{
    return find_own_window(SELECTION_CAPTION);
}

HWND need_dialog()
{
    HWND dialog = find_dialog();
    if (!dialog)
        fail("the selection dialog is not open");
    return dialog;
}

int control_id(const std::string &name)
{
    auto found = control_ids.find(name);
    if (found == control_ids.end())
        fail("unknown control " + name);
    return found->second;
}

HWND control(const Step &s, size_t i)
{
    HWND c = GetDlgItem(need_dialog(), control_id(word(s, i)));
    if (!c)
        fail("no control " + word(s, i));
    return c;
}

std::string class_of(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool is_combo(HWND c)
{
    return lstrcmpiA(class_of(c).c_str(), "ComboBox") == 0;
}

/* Where typed characters go: a combo box's own edit field. */
HWND typing_target(HWND c)
{
    if (is_combo(c)) {
        HWND edit = FindWindowExA(c, 0, "Edit", 0);
        if (edit)
            return edit;
    }
    return c;
}

std::string window_text(HWND w)
{
    int n = GetWindowTextLengthA(w);
    std::string text(n + 1, '\0');
    GetWindowTextA(w, &text[0], n + 1);
    text.resize(lstrlenA(text.c_str()));
    return text;
}

int list_count(HWND c)
{
    return (int)SendMessageA(c, is_combo(c) ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
}

std::string list_item(HWND c, int index)
{
    bool combo = is_combo(c);
    LRESULT n = SendMessageA(c, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0);
    if (n < 0)
        fail("no entry " + std::to_string(index));
    std::string text(n + 1, '\0');
    SendMessageA(c, combo ? CB_GETLBTEXT : LB_GETTEXT, index, (LPARAM)&text[0]);
    text.resize(n);
    return text;
}

std::string message_box_text(HWND box)
{
    /* The message text is the static control with id 0xFFFF. */
    char text[256] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

void post_key(HWND target, const std::string &name)
{
    static const std::map<std::string, UINT> keys = {
        {"escape", VK_ESCAPE}, {"enter", VK_RETURN}, {"down", VK_DOWN}, {"up", VK_UP},
        {"tab", VK_TAB},
    };
    SetFocus(target);
    if (name == "backspace") {
        PostMessageA(target, WM_CHAR, '\b', 1);
        return;
    }
    auto found = keys.find(name);
    if (found == keys.end())
        fail("unknown key " + name);
    PostMessageA(target, WM_KEYDOWN, found->second, 1);
    PostMessageA(target, WM_KEYUP, found->second, 0xC0000001);
}

void double_click_entry(HWND list, int index)
{
    if (SendMessageA(list, LB_SETCURSEL, index, 0) == LB_ERR)
        fail("no entry " + std::to_string(index));
    RECT item;
    SendMessageA(list, LB_GETITEMRECT, index, (LPARAM)&item);
    LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    HWND dialog = GetParent(list);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    if (IsWindow(list))
        SendMessageA(list, WM_LBUTTONUP, 0, at);
    (void)dialog;
}

bool write_file(const std::string &name, const std::string &text)
{
    FILE *f = fopen(name.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
    return fclose(f) == 0 && ok;
}

double real_number(const Step &s, size_t i)
{
    const std::string &w = word(s, i);
    char *end = 0;
    double value = strtod(w.c_str(), &end);
    if (end == w.c_str() || *end)
        fail("not a number: " + w);
    return value;
}

void expect_close(const std::string &what, double got, double expected)
{
    double tolerance = 1e-9 * (fabs(expected) > 1 ? fabs(expected) : 1);
    if (!(fabs(got - expected) <= tolerance)) {
        char text[160];
        snprintf(text, sizeof text, "%s: got %.10g, expected %.10g", what.c_str(), got, expected);
        fail(text);
    }
}

/* The nth element of a kind in the tree of the gauge named by word 1, and
 * what the latest update pass made of it. */
ElementBase *updated_element(const Step &s, uint32_t kind, int nth, const char *kind_name,
                             ElementResult &result)
{
    PlacedGauge *g = find_gauge(word(s, 1).c_str());
    if (!g)
        fail("no gauge " + word(s, 1));
    ElementBase *e = g->header->elements ? find_element(g->header->elements[0], kind, nth) : 0;
    if (!e)
        fail("gauge " + word(s, 1) + " has no " + kind_name + " " + std::to_string(nth));
    if (!element_result(e, result))
        fail("the " + std::string(kind_name) + " of " + word(s, 1) + " has not been updated");
    return e;
}

/* ---- timing and robustness ---- */

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

double elapsed_ms(const LARGE_INTEGER &start, const LARGE_INTEGER &stop)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (double)(stop.QuadPart - start.QuadPart) * 1000.0 / (double)frequency.QuadPart;
}

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

/* A small fixed generator: a seed gives the same bytes on every machine. */
unsigned random_below(unsigned long long &state, unsigned n)
{
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return (unsigned)((state >> 33) % n);
}

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

typedef std::function<Outcome(const Step &)> Command;

const std::map<std::string, Command> &commands()
{
    static const std::map<std::string, Command> table = {
        /* ---- the panel ---- */
        {"click", [](const Step &s) {
             PlacedGauge *g = find_gauge(word(s, 1).c_str());
             if (!g)
                 fail("no gauge " + word(s, 1));
             if (!click_gauge(*g, (int)number(s, 2), (int)number(s, 3), mouse_left_single))
                 printf("click %s %ld %ld: no callback\n", word(s, 1).c_str(), number(s, 2), number(s, 3));
             return done;
         }},
        {"expect-gauges", [](const Step &s) {
             std::string got, expected;
             for (PlacedGauge &g : host.gauges)
                 got += std::string(got.empty() ? "" : " ") + g.header->name;
             for (size_t i = 1; i < s.words.size(); i++)
                 expected += std::string(i > 1 ? " " : "") + s.words[i];
             expect_equal("gauges", got, expected);
             return done;
         }},
        {"lifecycle", [](const Step &s) {
             static const std::map<std::string, LifecycleStep> names = {
                 {"query", step_query}, {"install", step_install}, {"initialize", step_initialize},
                 {"update", step_update}, {"generate", step_generate}, {"draw", step_draw},
                 {"kill", step_kill}};
             auto found = names.find(word(s, 1));
             if (found == names.end())
                 fail("unknown lifecycle routine " + word(s, 1));
             run_lifecycle(found->second, 0);
             return done;
         }},
        {"expect-own-elements", [](const Step &) {
             /* Every routine that ran handed over its own gauge's element. */
             for (PlacedGauge &g : host.gauges)
                 for (int k = 0; k < lifecycle_steps; k++) {
                     ElementBase *e = g.handed[k];
                     if (!e)
                         fail(std::string("gauge ") + g.header->name + ": routine " +
                              std::to_string(k) + " handed no element");
                     if (e != g.header->elements[0] || e->gauge != g.header)
                         fail(std::string("gauge ") + g.header->name + ": routine " +
                              std::to_string(k) + " handed the element of " +
                              (e->gauge ? e->gauge->name : "no gauge"));
                 }
             return done;
         }},
        {"expect-return", [](const Step &s) {
             if (host.callbacks_running > 0)
                 return retry;
             if (!host.have_callback_result)
                 fail("no callback has returned");
             expect_equal("callback result", host.last_callback_result, number(s, 1));
             return done;
         }},
        {"set", [](const Step &s) {
             if (!set_aircraft_variable(host.aircraft, (uint32_t)number(s, 1), atof(word(s, 2).c_str())))
                 fail("unknown variable " + word(s, 1));
             run_lifecycle(step_update, 0);
             redraw_panel();
             return done;
         }},
        {"expect-var", [](const Step &s) {
             VariableRef v = {};
             v.id = (uint32_t)number(s, 1);
             if (!read_aircraft_variable(host.aircraft, &v))
                 fail("unknown variable " + word(s, 1));
             double got = v.id == var_fuel_selector ? v.value.integer : v.value.number;
             if (got != atof(word(s, 2).c_str()))
                 fail("variable " + word(s, 1) + ": got " + std::to_string(got) + ", expected " + word(s, 2));
             return done;
         }},
        /* ---- the sample gauges ---- */
        {"update", [](const Step &) {
             run_lifecycle(step_update, 0);
             redraw_panel();
             return done;
         }},
        {"expect-needle", [](const Step &s) {
             /* GAUGE VALUE [X Y]: the callback's value, and the dial point
              * the needle turns to, to the nearest pixel. */
             ElementResult r;
             ElementBase *e = updated_element(s, element_needle, 1, "needle", r);
             expect_close("needle of " + word(s, 1), r.value, real_number(s, 2));
             if (s.words.size() > 3) {
                 const NeedleElement *n = reinterpret_cast<const NeedleElement *>(e);
                 double x = 0, y = 0;
                 if (!dial_point(n->scale, n->scale_count, r.value, x, y))
                     fail("the needle of " + word(s, 1) + " has no dial points");
                 expect_equal("needle of " + word(s, 1) + " points at x", lround(x), number(s, 3));
                 expect_equal("needle of " + word(s, 1) + " points at y", lround(y), number(s, 4));
             }
             return done;
         }},
        {"expect-icon", [](const Step &s) {
             /* GAUGE INDEX: the picture index the first icon's callback returned. */
             ElementResult r;
             updated_element(s, element_icon, 1, "icon", r);
             expect_close("icon of " + word(s, 1), r.value, real_number(s, 2));
             return done;
         }},
        {"expect-string", [](const Step &s) {
             /* GAUGE TEXT [VALUE]: what the first string's callback wrote and returned. */
             ElementResult r;
             updated_element(s, element_string, 1, "string", r);
             expect_equal("text of " + word(s, 1), r.text, word(s, 2));
             if (s.words.size() > 3)
                 expect_close("string value of " + word(s, 1), r.value, real_number(s, 3));
             return done;
         }},
        {"expect-slider", [](const Step &s) {
             /* GAUGE N DX DY: how far slider N (from 1) has moved, pixels. */
             ElementResult r;
             updated_element(s, element_slider, (int)number(s, 2), "slider", r);
             expect_close("slider " + word(s, 2) + " of " + word(s, 1) + " x", r.dx, real_number(s, 3));
             expect_close("slider " + word(s, 2) + " of " + word(s, 1) + " y", r.dy, real_number(s, 4));
             return done;
         }},
        /* ---- the event log ---- */
        {"clear-events", [](const Step &) {
             event_mark = host.events.size();
             return done;
         }},
        {"expect-events", [](const Step &s) {
             if (host.callbacks_running > 0 && find_dialog())
                 return retry;
             std::string got, expected;
             for (size_t i = event_mark; i < host.events.size(); i++)
                 got += (got.empty() ? "" : " ") + host.events[i];
             for (size_t i = 1; i < s.words.size(); i++)
                 expected += (i > 1 ? " " : "") + s.words[i];
             expect_equal("events", got, expected);
             return done;
         }},
        /* ---- the selection dialog ---- */
        {"expect-dialog", [](const Step &s) {
             bool want_open = word(s, 1) == "open";
             if ((find_dialog() != 0) != want_open)
                 return retry;
             return done;
         }},
        {"expect-caption", [](const Step &s) {
             expect_equal("caption", window_text(need_dialog()), word(s, 1));
             return done;
         }},
        {"expect-dialog-count", [](const Step &s) {
             long n = 0;
             for (HWND w = 0; (w = find_own_window(SELECTION_CAPTION, w)) != 0;)
                 n++;
             expect_equal("open selection dialogs", n, number(s, 1));
             return done;
         }},
        {"type", [](const Step &s) {
             HWND target = typing_target(control(s, 1));
             SetFocus(target);
             for (char c : word(s, 2))
                 SendMessageA(target, WM_CHAR, (unsigned char)c, 1);
             return done;
         }},
        {"settext", [](const Step &s) {
             SendMessageA(control(s, 1), WM_SETTEXT, 0, (LPARAM)word(s, 2).c_str());
             return done;
         }},
        {"key", [](const Step &s) {
             post_key(typing_target(control(s, 1)), word(s, 2));
             return done;
         }},
        {"pick", [](const Step &s) {
             /* What choosing an entry tells the dialog: the selection, then
              * CBN_SELCHANGE from the combo box. */
             HWND combo = control(s, 1);
             if (SendMessageA(combo, CB_SETCURSEL, number(s, 2), 0) == CB_ERR)
                 fail("no entry " + word(s, 2));
             SendMessageA(GetParent(combo), WM_COMMAND,
                          MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), (LPARAM)combo);
             return done;
         }},
        {"dblclick", [](const Step &s) {
             double_click_entry(control(s, 1), (int)number(s, 2));
             return done;
         }},
        {"button", [](const Step &s) {
             SendMessageA(control(s, 1), BM_CLICK, 0, 0);
             return done;
         }},
        {"command", [](const Step &s) {
             /* A bare WM_COMMAND: id and notification code. */
             SendMessageA(need_dialog(), WM_COMMAND, MAKEWPARAM(number(s, 1), number(s, 2)), 0);
             return done;
         }},
        {"message", [](const Step &s) {
             SendMessageA(need_dialog(), (UINT)number(s, 1), (WPARAM)number(s, 2), 0);
             return done;
         }},
        {"close", [](const Step &) {
             SendMessageA(need_dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
             return done;
         }},
        {"wm-close", [](const Step &) {
             SendMessageA(need_dialog(), WM_CLOSE, 0, 0);
             return done;
         }},
        {"expect-count", [](const Step &s) {
             expect_equal(word(s, 1) + " entries", list_count(control(s, 1)), number(s, 2));
             return done;
         }},
        {"expect-item", [](const Step &s) {
             HWND c = control(s, 1);
             int index = (int)number(s, 2);
             if (index >= list_count(c))
                 fail(word(s, 1) + " has no entry " + word(s, 2));
             expect_equal(word(s, 1) + " entry " + word(s, 2), list_item(c, index), word(s, 3));
             return done;
         }},
        {"expect-items", [](const Step &s) {
             /* The whole list, every entry in order. */
             HWND c = control(s, 1);
             std::string got, expected;
             for (int i = 0; i < list_count(c); i++)
                 got += "[" + list_item(c, i) + "]";
             for (size_t i = 2; i < s.words.size(); i++)
                 expected += "[" + s.words[i] + "]";
             expect_equal(word(s, 1) + " entries", got, expected);
             return done;
         }},
        {"save-items", [](const Step &s) {
             /* CONTROL FILE: the list's selection, its text and every entry
              * in order, one a line, to compare two runs. */
             HWND c = control(s, 1);
             long selected = (long)SendMessageA(c, is_combo(c) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
             std::string text = "selected " + std::to_string(selected) + "\ntext " +
                                window_text(c) + "\n";
             for (int i = 0; i < list_count(c); i++)
                 text += list_item(c, i) + "\n";
             if (!write_file(word(s, 2), text))
                 fail("cannot write " + word(s, 2));
             return done;
         }},
        {"expect-text", [](const Step &s) {
             expect_equal(word(s, 1) + " text", window_text(control(s, 1)), word(s, 2));
             return done;
         }},
        {"expect-selected", [](const Step &s) {
             HWND c = control(s, 1);
             long got = (long)SendMessageA(c, is_combo(c) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
             expect_equal(word(s, 1) + " selection", got, number(s, 2));
             return done;
         }},
        {"expect-checked", [](const Step &s) {
             expect_equal(word(s, 1) + " checked",
                          (long)IsDlgButtonChecked(need_dialog(), control_id(word(s, 1))), number(s, 2));
             return done;
         }},
        {"expect-focus", [](const Step &s) {
             HWND focus = GetFocus(), c = control(s, 1);
             if (focus != c && GetParent(focus) != c)
                 fail("focus is not in " + word(s, 1));
             return done;
         }},
        {"expect-control", [](const Step &s) {
             HWND c = control(s, 1);
             if (lstrcmpiA(class_of(c).c_str(), word(s, 2).c_str()) != 0)
                 fail(word(s, 1) + ": class " + class_of(c) + ", expected " + word(s, 2));
             if (s.words.size() > 3)
                 expect_equal(word(s, 1) + " text", window_text(c), word(s, 3));
             return done;
         }},
        {"expect-static", [](const Step &s) {
             /* A static text of the dialog, found by its words. */
             for (HWND c = GetWindow(need_dialog(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                 if (lstrcmpiA(class_of(c).c_str(), "Static") == 0 && window_text(c) == word(s, 1))
                     return done;
             fail("no static text \"" + word(s, 1) + "\"");
         }},
        {"expect-messagebox", [](const Step &s) {
             HWND box = find_own_window(word(s, 1).c_str());
             if (!box)
                 return retry;
             std::string text = message_box_text(box);
             const std::string &prefix = word(s, 2);
             SendMessageA(box, WM_COMMAND, IDOK, 0);
             if (text.compare(0, prefix.size(), prefix) != 0)
                 fail("message box text \"" + text + "\" does not begin with \"" + prefix + "\"");
             /* The rest is the error code in lower-case hexadecimal. */
             if (text.size() == prefix.size() ||
                 text.find_first_not_of("0123456789abcdef", prefix.size()) != std::string::npos)
                 fail("message box text \"" + text + "\" does not end in a hexadecimal code");
             return done;
         }},
        {"dump-controls", [](const Step &) {
             HWND dialog = need_dialog();
             HWND focus = GetFocus();
             printf("focus %p (%s, id %d), active %p, foreground %p, dialog %p\n", (void *)focus,
                    class_of(focus).c_str(), GetDlgCtrlID(focus), (void *)GetActiveWindow(),
                    (void *)GetForegroundWindow(), (void *)dialog);
             for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                 printf("  %p id %d %s \"%s\"\n", (void *)c, GetDlgCtrlID(c), class_of(c).c_str(),
                        window_text(c).c_str());
             return done;
         }},
        /* ---- timing ---- */
        {"time-settext", [](const Step &s) {
             /* The box reports EN_CHANGE inside WM_SETTEXT and the lookup runs
              * there, so this is the change's whole handling, lists filled. */
             HWND c = control(s, 1);
             LARGE_INTEGER start, stop;
             QueryPerformanceCounter(&start);
             SendMessageA(c, WM_SETTEXT, 0, (LPARAM)word(s, 2).c_str());
             QueryPerformanceCounter(&stop);
             printf("%s %.3f ms\n", word(s, 3).c_str(), elapsed_ms(start, stop));
             fflush(stdout);
             return done;
         }},
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
        {"type-random", [](const Step &s) {
             /* CONTROL N SEED [CHARACTERS]: N keystrokes at once, each a
              * character of CHARACTERS, '<' standing for a backspace; by
              * default as many backspaces as letters, so the text stays short. */
             HWND target = typing_target(control(s, 1));
             std::string keys = s.words.size() > 4 ? word(s, 4) : "KSEAGL<<<<<<";
             if (keys.empty())
                 fail("no characters to type");
             unsigned long long state = (unsigned long long)number(s, 3);
             SetFocus(target);
             for (long i = number(s, 2); i > 0; i--) {
                 char c = keys[random_below(state, (unsigned)keys.size())];
                 SendMessageA(target, WM_CHAR, c == '<' ? '\b' : (unsigned char)c, 1);
             }
             return done;
         }},
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
        {"write-file", [](const Step &s) {
             if (!write_file(word(s, 1), word(s, 2)))
                 fail("cannot write " + word(s, 1));
             return done;
         }},
        {"delete-file", [](const Step &s) {
             DeleteFileA(word(s, 1).c_str());
             return done;
         }},
        {"screenshot", [](const Step &s) {
             UpdateWindow(host.window);
             std::string error;
             if (!save_screenshot(start_relative_path(word(s, 1)).c_str(), error))
                 fail(error);
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
             DestroyWindow(host.window);
             return done;
         }},
    };
    return table;
}

/* Splits a line into words; "quoted text" is one word. */
bool split_words(const std::string &line, std::vector<std::string> &words)
{
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            i++;
        if (i >= line.size())
            break;
        std::string w;
        if (line[i] == '"') {
            for (i++; i < line.size() && line[i] != '"'; i++) {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    char e = line[++i];
                    w += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e == 'z' ? '\x1a' : e;
                } else {
                    w += line[i];
                }
            }
            if (i >= line.size())
                return false;
            i++;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
                w += line[i++];
        }
        words.push_back(w);
    }
    return true;
}

} // namespace

std::string windows_path(const std::string &path)
{
    if (!path.empty() && path[0] == '/')
        return "Z:" + path;
    return path;
}

std::string start_directory;

std::string start_relative_path(const std::string &path)
{
    bool absolute = !path.empty() && (path[0] == '/' || path[0] == '\\' ||
                                      (path.size() > 1 && path[1] == ':'));
    if (absolute || start_directory.empty())
        return windows_path(path);
    return start_directory + "\\" + path;
}

bool load_script(const char *path, std::string &error)
{
    script_name = path;
    FILE *f = fopen(windows_path(path).c_str(), "rb");
    if (!f) {
        error = std::string("cannot open script ") + path;
        return false;
    }
    char buffer[4096];
    int line = 0;
    while (fgets(buffer, sizeof buffer, f)) {
        line++;
        std::string text = buffer;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        Step s;
        s.line = line;
        if (!split_words(text, s.words)) {
            error = script_name + ":" + std::to_string(line) + ": unterminated quote";
            fclose(f);
            return false;
        }
        if (s.words.empty() || s.words[0][0] == '#')
            continue;
        if (!commands().count(s.words[0])) {
            error = script_name + ":" + std::to_string(line) + ": unknown command " + s.words[0];
            fclose(f);
            return false;
        }
        steps.push_back(s);
    }
    fclose(f);
    return true;
}

bool script_finished()
{
    return next_step >= steps.size();
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
