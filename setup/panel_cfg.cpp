#include "panel_cfg.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>

namespace {

/* One line of the text: [begin, end) without its line end, next: where the
 * following line begins. */
struct Line {
    size_t begin, end, next;
};

std::vector<Line> lines_of(const std::string &text)
{
    std::vector<Line> lines;
    /* A UTF-8 byte order mark belongs to no line. */
    size_t at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (at < text.size()) {
        size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) {
            lines.push_back({at, text.size(), text.size()});
            break;
        }
        size_t next = end + 1;
        if (text[end] == '\r' && next < text.size() && text[next] == '\n')
            next++;
        lines.push_back({at, end, next});
        at = next;
    }
    return lines;
}

std::string trimmed(const std::string &text, const Line &line)
{
    size_t b = line.begin, e = line.end;
    while (b < e && isspace((unsigned char)text[b]))
        b++;
    while (e > b && isspace((unsigned char)text[e - 1]))
        e--;
    return text.substr(b, e - b);
}

bool same_letters(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); i++)
        if (tolower((unsigned char)a[i]) != tolower((unsigned char)b[i]))
            return false;
    return true;
}

/* The section name of a "[name]" line; empty for any other line. */
std::string section_name(const std::string &line)
{
    if (line.size() < 3 || line[0] != '[' || line[line.size() - 1] != ']')
        return std::string();
    return line.substr(1, line.size() - 2);
}

/* The lines of a section after its header, up to the next header. */
bool section_range(const std::string &text, const std::vector<Line> &lines,
                   const std::string &section, size_t &first, size_t &last)
{
    for (size_t i = 0; i < lines.size(); i++) {
        if (!same_letters(section_name(trimmed(text, lines[i])), section))
            continue;
        first = i + 1;
        last = first;
        while (last < lines.size() && section_name(trimmed(text, lines[last])).empty())
            last++;
        return true;
    }
    return false;
}

/* The number of a "gaugeNN=" line, or -1. */
int gauge_number(const std::string &line)
{
    if (line.size() < 6 || !same_letters(line.substr(0, 5), "gauge"))
        return -1;
    size_t i = 5;
    int number = 0;
    while (i < line.size() && isdigit((unsigned char)line[i]) && number < 1000)
        number = number * 10 + (line[i++] - '0');
    if (i == 5)
        return -1;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        i++;
    return i < line.size() && line[i] == '=' ? number : -1;
}

}  // namespace

std::vector<std::string> window_sections(const std::string &text)
{
    std::vector<std::string> names;
    for (const Line &line : lines_of(text)) {
        std::string name = section_name(trimmed(text, line));
        if (name.size() > 6 && same_letters(name.substr(0, 6), "window") &&
            name.find_first_not_of("0123456789", 6) == std::string::npos)
            names.push_back(name);
    }
    return names;
}

int free_gauge_number(const std::string &text, const std::string &section)
{
    std::vector<Line> lines = lines_of(text);
    size_t first, last;
    if (!section_range(text, lines, section, first, last))
        return -1;
    bool used[100] = {};
    for (size_t i = first; i < last; i++) {
        int n = gauge_number(trimmed(text, lines[i]));
        if (n >= 0 && n < 100)
            used[n] = true;
    }
    for (int n = 0; n < 100; n++)
        if (!used[n])
            return n;
    return -1;
}

bool section_has_gauge(const std::string &text, const std::string &section,
                       const std::string &gauge)
{
    std::vector<Line> lines = lines_of(text);
    size_t first, last;
    if (!section_range(text, lines, section, first, last))
        return false;
    for (size_t i = first; i < last; i++) {
        std::string line = trimmed(text, lines[i]);
        if (gauge_number(line) < 0)
            continue;
        std::string value = line.substr(line.find('=') + 1);
        for (size_t at = 0; at + gauge.size() <= value.size(); at++)
            if (same_letters(value.substr(at, gauge.size()), gauge))
                return true;
    }
    return false;
}

std::string gauge_line(int number, long x, long y)
{
    char text[80];
    if (number < 0)
        snprintf(text, sizeof text, "gaugeNN=PELMORA!V1, %ld, %ld", x, y);
    else
        snprintf(text, sizeof text, "gauge%02d=PELMORA!V1, %ld, %ld", number, x, y);
    return text;
}

bool add_gauge_line(const std::string &text, const std::string &section, const std::string &line,
                    std::string &out)
{
    std::vector<Line> lines = lines_of(text);
    size_t first, last;
    if (!section_range(text, lines, section, first, last))
        return false;
    /* The file's own line end: that of its first ended line. */
    std::string ending = "\r\n";
    for (const Line &l : lines)
        if (l.next > l.end) {
            ending = text.substr(l.end, l.next - l.end);
            break;
        }
    size_t after = first - 1;   /* the header itself when the section is empty */
    for (size_t i = first; i < last; i++)
        if (!trimmed(text, lines[i]).empty())
            after = i;
    const Line &anchor = lines[after];
    std::string result = text.substr(0, anchor.next);
    if (anchor.next == anchor.end)   /* the file's last line, with no line end: */
        result += ending + line;     /* the file still ends without one */
    else
        result += line + ending + text.substr(anchor.next);
    out.swap(result);
    return true;
}
