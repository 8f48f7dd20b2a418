#include "tokens.h"

#include <math.h>
#include <stdio.h>

/* ---- Transliteration ---- */

/* Latin letters with marks, by code point range, to their plain letters.
 * Everything outside the table that is not ASCII separates words. */
struct Transliteration {
    unsigned first, last;
    const char *ascii;
};

static const Transliteration transliterations[] = {
    {0xC0, 0xC5, "A"}, {0xC6, 0xC6, "AE"}, {0xC7, 0xC7, "C"}, {0xC8, 0xCB, "E"},
    {0xCC, 0xCF, "I"}, {0xD0, 0xD0, "D"}, {0xD1, 0xD1, "N"}, {0xD2, 0xD6, "O"},
    {0xD8, 0xD8, "O"}, {0xD9, 0xDC, "U"}, {0xDD, 0xDD, "Y"}, {0xDE, 0xDE, "TH"},
    {0xDF, 0xDF, "SS"}, {0xE0, 0xE5, "A"}, {0xE6, 0xE6, "AE"}, {0xE7, 0xE7, "C"},
    {0xE8, 0xEB, "E"}, {0xEC, 0xEF, "I"}, {0xF0, 0xF0, "D"}, {0xF1, 0xF1, "N"},
    {0xF2, 0xF6, "O"}, {0xF8, 0xF8, "O"}, {0xF9, 0xFC, "U"}, {0xFD, 0xFD, "Y"},
    {0xFE, 0xFE, "TH"}, {0xFF, 0xFF, "Y"},
    /* Latin Extended-A: pairs of capital and small letter */
    {0x100, 0x105, "A"}, {0x106, 0x10D, "C"}, {0x10E, 0x111, "D"}, {0x112, 0x11B, "E"},
    {0x11C, 0x123, "G"}, {0x124, 0x127, "H"}, {0x128, 0x131, "I"}, {0x132, 0x133, "IJ"},
    {0x134, 0x135, "J"}, {0x136, 0x138, "K"}, {0x139, 0x142, "L"}, {0x143, 0x14B, "N"},
    {0x14C, 0x151, "O"}, {0x152, 0x153, "OE"}, {0x154, 0x159, "R"}, {0x15A, 0x161, "S"},
    {0x162, 0x167, "T"}, {0x168, 0x173, "U"}, {0x174, 0x175, "W"}, {0x176, 0x178, "Y"},
    {0x179, 0x17E, "Z"}, {0x17F, 0x17F, "S"},
    /* Romanian comma-below letters */
    {0x218, 0x219, "S"}, {0x21A, 0x21B, "T"},
};

static const char *transliterate(unsigned code_point)
{
    for (const Transliteration &t : transliterations)
        if (code_point >= t.first && code_point <= t.last)
            return t.ascii;
    return 0;
}

/* Decodes one character at text[*i] and moves *i past it.  A byte that does
 * not start a valid UTF-8 sequence is taken as a Latin-1 character. */
static unsigned next_code_point(std::string_view text, size_t *i)
{
    unsigned char c = (unsigned char)text[*i];
    if (c < 0x80) {
        (*i)++;
        return c;
    }
    int extra = 0;                      /* continuation bytes the lead byte announces */
    if (c >= 0xC2 && c < 0xE0)
        extra = 1;
    else if (c >= 0xE0 && c < 0xF0)
        extra = 2;
    else if (c >= 0xF0 && c < 0xF5)
        extra = 3;
    if (extra == 0 || *i + extra >= text.size()) {
        (*i)++;
        return c;
    }
    unsigned cp = c & (0x3F >> extra);
    for (int k = 1; k <= extra; k++) {
        unsigned char d = (unsigned char)text[*i + k];
        if ((d & 0xC0) != 0x80) {
            (*i)++;
            return c;
        }
        cp = (cp << 6) | (d & 0x3F);
    }
    *i += extra + 1;
    return cp;
}

static bool is_kept_mark(char c)
{
    return c == '-' || c == '/' || c == '.' || c == '&' || c == '\'';
}

std::string name_token(std::string_view text, size_t room)
{
    std::string out;
    bool pending_break = false;
    size_t i = 0;
    while (i < text.size()) {
        unsigned cp = next_code_point(text, &i);
        std::string piece;
        if (cp < 0x80) {
            char c = (char)cp;
            if (c >= 'a' && c <= 'z')
                c = (char)(c - 'a' + 'A');
            if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || is_kept_mark(c))
                piece.assign(1, c);
        } else if (const char *ascii = transliterate(cp)) {
            piece = ascii;
        }
        if (piece.empty()) {
            pending_break = !out.empty();
            continue;
        }
        if (pending_break)
            out += '_';
        pending_break = false;
        out += piece;
    }
    if (out.size() > room)
        out.resize(room);
    while (!out.empty() && out.back() == '_')
        out.pop_back();
    return out.empty() ? "-" : out;
}

std::string ident_token(std::string_view text, size_t room)
{
    std::string out;
    for (char c : text) {
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
        if (((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) && out.size() < room)
            out += c;
    }
    return out.empty() ? "-" : out;
}

bool is_icao_style(std::string_view code)
{
    if (code.size() != 4)
        return false;
    for (char c : code)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            return false;
    return true;
}

std::string upper_ascii(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
    return out;
}

std::string frequency_text(long mhz_hundredths)
{
    if (mhz_hundredths < 10000 || mhz_hundredths > 99999)
        return std::string();
    char buf[16];
    snprintf(buf, sizeof buf, "%03ld.%02ld", mhz_hundredths / 100, mhz_hundredths % 100);
    return buf;
}

std::string course_text(double degrees)
{
    if (degrees < 0)
        return "000";
    long whole = (long)floor(degrees + 0.5) % 360;
    if (whole == 0)
        whole = 360;
    char buf[8];
    snprintf(buf, sizeof buf, "%03ld", whole);
    return buf;
}

/* ---- Navaid names ---- */

static const char *const type_words[] = {
    "VORTAC", "VOR-DME", "VOR/DME", "VOR", "NDB-DME", "NDB/DME", "NDB",
};

std::string_view strip_type_word(std::string_view name)
{
    for (const char *word : type_words) {
        std::string_view w(word);
        if (name.size() > w.size() + 1 && upper_ascii(name.substr(name.size() - w.size())) == w &&
            name[name.size() - w.size() - 1] == ' ') {
            std::string_view rest = name.substr(0, name.size() - w.size());
            while (!rest.empty() && rest.back() == ' ')
                rest.remove_suffix(1);
            return rest;
        }
    }
    return name;
}
