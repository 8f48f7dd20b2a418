/*
 * strtod for the 32-bit Windows programs: the C runtime DLL's reads decimal
 * numbers as the C library everywhere does, but not the other forms C99
 * gave it, which the programs built elsewhere read (and then refuse or take
 * by their own rules): infinity and NaN by name ("inf", "infinity", "nan",
 * "nan(...)", in any case) and hexadecimal numbers ("0x1.8p3").  Those are
 * read here; everything else is the runtime's.
 */
#include <windows.h>

#include <ctype.h>
#include <errno.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>

/* (stdlib.h makes strtod a name for mingw's own in C; this is strtod.) */
#undef strtod

/* The C runtime DLL's own strtod (PELMORA_C_RUNTIME_DLL names the DLL),
 * found once: its import would bring the import library's strtod too. */
typedef double(__cdecl *strtod_call)(const char *, char **);

static double runtime_strtod(const char *text, char **end)
{
    static strtod_call call;
    if (!call)
        call = (strtod_call)(void *)GetProcAddress(GetModuleHandleA(PELMORA_C_RUNTIME_DLL),
                                                  "strtod");
    return call(text, end);
}

static int starts_with_word(const char *text, const char *word)
{
    for (; *word; text++, word++)
        if (tolower((unsigned char)*text) != *word)
            return 0;
    return 1;
}

static int hex_digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = (char)tolower((unsigned char)c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

/* m times 2 to the e, in exact steps (the C library's ldexp here is
 * built for the later processors). */
static double scaled(double m, long e)
{
    for (; e > 0 && m != 0 && m != HUGE_VAL; e -= e > 60 ? 60 : e)
        m *= (double)(1ULL << (e > 60 ? 60 : e));
    for (; e < 0 && m != 0; e += -e > 60 ? 60 : -e)
        m /= (double)(1ULL << (-e > 60 ? 60 : -e));
    return m;
}

/* 0x[digits][.digits][p[sign]digits], at least one digit; *end after it. */
static int read_hex(const char *at, double *value, const char **end)
{
    double mantissa = 0;
    long exponent = 0;
    int digits = 0;
    at += 2;
    for (; hex_digit(*at) >= 0; at++, digits++)
        mantissa = mantissa * 16 + hex_digit(*at);
    if (*at == '.')
        for (at++; hex_digit(*at) >= 0; at++, digits++) {
            mantissa = mantissa * 16 + hex_digit(*at);
            exponent -= 4;
        }
    if (!digits)
        return 0;
    if (*at == 'p' || *at == 'P') {
        const char *p = at + 1;
        int negative = *p == '-';
        if (*p == '+' || *p == '-')
            p++;
        if (isdigit((unsigned char)*p)) {
            long power = 0;
            for (; isdigit((unsigned char)*p); p++)
                if (power < 100000)
                    power = power * 10 + (*p - '0');
            exponent += negative ? -power : power;
            at = p;
        }
    }
    *value = scaled(mantissa, exponent);
    if (*value == HUGE_VAL || (*value == 0 && mantissa != 0))
        errno = ERANGE;
    *end = at;
    return 1;
}

double __cdecl strtod(const char *text, char **end)
{
    const char *at = text;
    while (isspace((unsigned char)*at))
        at++;
    int negative = *at == '-';
    const char *unsigned_at = at + (*at == '+' || *at == '-');
    double value;
    const char *after = 0;
    if (starts_with_word(unsigned_at, "inf")) {
        value = HUGE_VAL;
        after = unsigned_at + (starts_with_word(unsigned_at, "infinity") ? 8 : 3);
    } else if (starts_with_word(unsigned_at, "nan")) {
        value = NAN;
        after = unsigned_at + 3;
        if (*after == '(') {
            const char *close = after + 1;
            while (isalnum((unsigned char)*close) || *close == '_')
                close++;
            if (*close == ')')
                after = close + 1;
        }
    } else if (unsigned_at[0] == '0' && (unsigned_at[1] == 'x' || unsigned_at[1] == 'X') &&
               read_hex(unsigned_at, &value, &after)) {
    } else {
        return runtime_strtod(text, end);
    }
    if (end)
        *end = (char *)after;
    return negative ? -value : value;
}
