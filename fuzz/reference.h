/*
 * Plain models of the data-file rules, for the fuzz targets to hold the
 * module's code against: written for clarity, byte by byte, with the
 * standard library, from the rules alone.
 *
 *   - text mode: a Ctrl-Z ends the file; CR LF reads as LF, a lone CR stays;
 *   - a read takes at most limit - 1 characters, the LF included, so a
 *     longer line comes in pieces;
 *   - a line's text ends at its first zero byte (it is a C string);
 *   - tokens are separated by runs of blank, tab, CR, LF, vertical tab and
 *     form feed, and each is cut to the room of its field.
 */
#ifndef PELMORA_FUZZ_REFERENCE_H
#define PELMORA_FUZZ_REFERENCE_H

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <algorithm>
#include <string>
#include <vector>

#include "selection/searches.h"
#include "tests/array_list.h"

namespace reference {

/* The reads of a file, in order, each with its exact bytes. */
inline std::vector<std::string> lines(const std::string &bytes, int limit)
{
    std::string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); i++) {
        char c = bytes[i];
        if (c == '\x1a')
            break;
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;       /* the LF that follows stands for the pair */
        text += c;
    }
    std::vector<std::string> reads;
    std::string read;
    for (char c : text) {
        read += c;
        if (c == '\n' || (int)read.size() == limit - 1) {
            reads.push_back(read);
            read.clear();
        }
    }
    if (!read.empty())
        reads.push_back(read);
    return reads;
}

inline bool is_white(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

/* The first count tokens of a line's text, each cut to its room; missing
 * ones are empty. */
inline std::vector<std::string> tokens(const std::string &line, const std::vector<size_t> &rooms)
{
    std::string text = line.substr(0, line.find('\0'));
    std::vector<std::string> out(rooms.size());
    size_t i = 0, k = 0;
    while (k < rooms.size()) {
        while (i < text.size() && is_white(text[i]))
            i++;
        if (i >= text.size())
            break;
        size_t start = i;
        while (i < text.size() && !is_white(text[i]))
            i++;
        out[k] = text.substr(start, std::min(i - start, rooms[k]));
        k++;
    }
    return out;
}

/* The printf format of an entry format. */
inline std::string printf_format(const EntryFormat &entry_format)
{
    char out[64];
    entry_printf_format(entry_format, out, sizeof out);
    return out;
}

/* An entry as snprintf writes it with the entry format's printf format. */
inline std::string format(const EntryFormat &entry_format, const std::vector<std::string> &fields)
{
    const std::string printf_form = printf_format(entry_format);
    const char *format = printf_form.c_str();
    char out[1024];
    switch (fields.size()) {
    case 2: snprintf(out, sizeof out, format, fields[0].c_str(), fields[1].c_str()); break;
    case 4:
        snprintf(out, sizeof out, format, fields[0].c_str(), fields[1].c_str(), fields[2].c_str(),
                 fields[3].c_str());
        break;
    default:
        snprintf(out, sizeof out, format, fields[0].c_str(), fields[1].c_str(), fields[2].c_str(),
                 fields[3].c_str(), fields[4].c_str());
        break;
    }
    return out;
}

/* The runway lines of an airport line. */
inline std::vector<std::string> runway_lines(const std::string &line)
{
    std::vector<size_t> rooms = {15, 39, 39, 39};
    rooms.resize(22, 79);
    std::vector<std::string> record = tokens(line, rooms);
    std::vector<std::string> out;
    for (int r = 2; r < 22 && !record[r].empty(); r++) {
        std::string work = record[r].substr(0, 79);
        for (size_t i = 1; i < work.size(); i++)
            if (work[i] == '_')
                work[i] = ' ';
        std::vector<std::string> p = tokens(work, {27, 15, 27, 27, 27});
        for (std::string &part : p)
            if (part.empty())
                part = "-";
        /* designator, identifier, frequency, course, length */
        out.push_back(format(runway_line_format, {p[0], p[1], p[3], p[4], p[2]}));
    }
    return out;
}

inline char fold(char c)
{
    return c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c;
}

inline bool same_ignoring_case(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); i++)
        if (fold(a[i]) != fold(b[i]))
            return false;
    return true;
}

}  // namespace reference

/* The array list is the tests' own stand-in for a dialog list. */
/* Stops the run with a message when a check fails. */
#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            abort();                                                                       \
        }                                                                                  \
    } while (0)

#endif
