/*
 * The texts the module formats, through the functions that format them, run
 * under Wine: format_text (module/interface/text_format.cpp, over the C
 * runtime DLL's _vsnprintf: msvcrt.dll in this 64-bit build), CRTDLL.DLL's
 * own _vsnprintf (the shipped 32-bit module's C runtime: the same texts, and
 * the way it cuts a text that does not fit, on which format_text relies),
 * USER32's wsprintfA (the creation error's box), and the module's column
 * writer of the entry formats.  Every case gives the characters that C's
 * snprintf gives.
 *
 * Prints one line per failed case and exits 1 on any; otherwise the number
 * of cases passed.
 */
#include <windows.h>

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "module/interface/text_format.h"
#include "selection/searches.h"

namespace {

int passed, failed;

void expect(const char *what, const char *got, const char *want)
{
    if (strcmp(got, want) == 0) {
        passed++;
        return;
    }
    failed++;
    printf("text_format: %s: got \"%s\", expected \"%s\"\n", what, got, want);
}

void expect_number(const char *what, long long got, long long want)
{
    char got_text[32], want_text[32];
    snprintf(got_text, sizeof got_text, "%lld", got);
    snprintf(want_text, sizeof want_text, "%lld", want);
    expect(what, got_text, want_text);
}

typedef int(__cdecl *Vsnprintf)(char *, size_t, const char *, va_list);
Vsnprintf crtdll_vsnprintf;

/* CRTDLL's _vsnprintf with count characters at most; out is filled with
 * '#' first, so that what it leaves unwritten shows. */
int crtdll_format(char *out, size_t room, size_t count, const char *format, ...)
{
    memset(out, '#', room - 1);
    out[room - 1] = 0;
    va_list arguments;
    va_start(arguments, format);
    int n = crtdll_vsnprintf(out, count, format, arguments);
    va_end(arguments);
    return n;
}

/* One text through format_text, in the room it has in the module. */
#define CUT(what, want, room, ...)                                                      \
    do {                                                                                \
        char text[room];                                                                \
        format_text(text, sizeof text, __VA_ARGS__);                                    \
        expect(what " (format_text)", text, want);                                      \
    } while (0)

/* One text through format_text and, whole, through CRTDLL. */
#define BOTH(what, want, room, ...)                                                     \
    do {                                                                                \
        CUT(what, want, room, __VA_ARGS__);                                             \
        if (crtdll_vsnprintf) {                                                         \
            char whole[200];                                                            \
            int n = crtdll_format(whole, sizeof whole, sizeof whole - 1, __VA_ARGS__);  \
            if (n >= 0)                                                                 \
                whole[n] = 0;                                                           \
            expect(what " (CRTDLL)", n >= 0 ? whole : "(cut)", want);                  \
        }                                                                               \
    } while (0)

void temperature_and_presets()
{
    /* The temperature readout: "%3d" of a value in -99..999, in 4 characters. */
    BOTH("%3d of -99", "-99", 4, "%3d", -99);
    BOTH("%3d of -5", " -5", 4, "%3d", -5);
    BOTH("%3d of 0", "  0", 4, "%3d", 0);
    BOTH("%3d of 7", "  7", 4, "%3d", 7);
    BOTH("%3d of 42", " 42", 4, "%3d", 42);
    BOTH("%3d of 999", "999", 4, "%3d", 999);
    /* A readout shorter than three characters cuts the text. */
    CUT("%3d of 123 in 2", "12", 3, "%3d", 123);
    CUT("%3d of -5 in 1", " ", 2, "%3d", -5);
    CUT("%3d of 7 in 0", "", 1, "%3d", 7);
    /* The autopilot presets' entries. */
    BOTH("%0*d 3 of 10", "010", 8, "%0*d", 3, 10);
    BOTH("%0*d 3 of 360", "360", 8, "%0*d", 3, 360);
    BOTH("%0*d 5 of 1000", "01000", 8, "%0*d", 5, 1000);
    BOTH("%0*d 5 of 60000", "60000", 8, "%0*d", 5, 60000);
    BOTH("%0*d 2 of 0", "00", 8, "%0*d", 2, 0);
    BOTH("%0*d 4 of 7000", "7000", 8, "%0*d", 4, 7000);
}

void entries()
{
    /* The entry formats' printf forms, as entry_printf_format writes them. */
    char form[64];
    entry_printf_format(short_entry_format, form, sizeof form);
    expect("short entry format", form, "%6s %s");
    entry_printf_format(long_entry_format, form, sizeof form);
    expect("long entry format", form, "%-10s %-32s %-6s %-6s");
    entry_printf_format(runway_line_format, form, sizeof form);
    expect("runway line format", form, "%-4s %-4s %-7s %-4s %7s");

    struct Short {
        const char *code, *name, *want;
    };
    const Short shorts[] = {
        {"KSEA", "SEATTLE-TACOMA_INTL", "  KSEA SEATTLE-TACOMA_INTL"},
        {"ABCDEFGH", "X", "ABCDEFGH X"},
        {"", "", "       "},
        {"EDDM", "M\xdcNCHEN", "  EDDM M\xdcNCHEN"},
    };
    for (const Short &s : shorts) {
        BOTH("%6s %s", s.want, entry_room, "%6s %s", s.code, s.name);
        char entry[entry_room];
        format_short_entry(entry, sizeof entry, s.code, s.name);
        expect("short entry", entry, s.want);
    }

    struct Long {
        const char *code, *name, *type, *frequency, *want;
    };
    const Long longs[] = {
        {"SEA", "SEATTLE", "VOR", "116.80",
         "SEA        SEATTLE                          VOR    116.80"},
        {"BF", "NOLLA", "NDB", "362", "BF         NOLLA                            NDB    362   "},
    };
    for (const Long &l : longs) {
        BOTH("%-10s %-32s %-6s %-6s", l.want, entry_room, "%-10s %-32s %-6s %-6s", l.code, l.name,
             l.type, l.frequency);
        char entry[entry_room];
        format_long_entry(entry, sizeof entry, l.code, l.name, l.type, l.frequency);
        expect("long entry", entry, l.want);
    }

    struct Runway {
        const char *descriptor, *want;
        const char *parts[5];
    };
    const Runway runways[] = {
        {"16L_ISNQ_11796_110.30_164", "16L  ISNQ 110.30  164    11796",
         {"16L", "ISNQ", "110.30", "164", "11796"}},
        {"34R_-_11796_0_344", "34R  -    0       344    11796", {"34R", "-", "0", "344", "11796"}},
    };
    for (const Runway &r : runways) {
        BOTH("%-4s %-4s %-7s %-4s %7s", r.want, entry_room, "%-4s %-4s %-7s %-4s %7s",
             r.parts[0], r.parts[1], r.parts[2], r.parts[3], r.parts[4]);
        RunwayDescriptor runway;
        read_runway_descriptor(r.descriptor, &runway);
        char line[entry_room];
        format_runway_line(line, sizeof line, &runway);
        expect("runway line", line, r.want);
    }
}

/* What format_text relies on: CRTDLL's _vsnprintf writes at most its count
 * of characters, terminates only when the text is shorter, and says -1
 * when the text is longer. */
void crtdll_cutting()
{
    if (!crtdll_vsnprintf)
        return;
    char out[8];
    int n = crtdll_format(out, sizeof out, 3, "%3d", 42);
    expect_number("CRTDLL: a text that fills its count: length", n, 3);
    expect("CRTDLL: a text that fills its count: no zero", out, " 42####");
    n = crtdll_format(out, sizeof out, 2, "%3d", 123);
    expect_number("CRTDLL: a longer text: length", n, -1);
    expect("CRTDLL: a longer text: cut, no zero", out, "12#####");
    n = crtdll_format(out, sizeof out, 5, "%3d", 1);
    expect_number("CRTDLL: a shorter text: length", n, 3);
    expect("CRTDLL: a shorter text: terminated", out, "  1");
}

void creation_error()
{
    struct Error {
        DWORD code;
        const char *want;
    };
    const Error errors[] = {
        {0, "Error x0"}, {1407, "Error x57f"}, {0x80070005, "Error x80070005"},
        {0xFFFFFFFF, "Error xffffffff"},
    };
    for (const Error &e : errors) {
        char text[100];
        wsprintfA(text, "Error x%x", e.code);
        expect("wsprintfA Error x%x", text, e.want);
    }
}

}  // namespace

int main()
{
    HMODULE crtdll = LoadLibraryA("crtdll.dll");
    crtdll_vsnprintf = crtdll ? (Vsnprintf)(void *)GetProcAddress(crtdll, "_vsnprintf") : 0;
    if (!crtdll_vsnprintf) {
        failed++;
        printf("text_format: crtdll.dll's _vsnprintf: not found\n");
    }
    temperature_and_presets();
    entries();
    crtdll_cutting();
    creation_error();
    if (failed) {
        printf("text_format: %d of %d cases failed\n", failed, passed + failed);
        return 1;
    }
    printf("text_format: %d cases passed\n", passed);
    return 0;
}
