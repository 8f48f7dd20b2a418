#include "fields.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>

void Fields::assign(std::string_view line, size_t most)
{
    line_ = line;
    fields_.clear();
    size_t i = 0;
    const size_t n = line.size();
    while (i < n && fields_.size() < most) {
        while (i < n && (line[i] == ' ' || line[i] == '\t'))
            i++;
        if (i >= n)
            break;
        size_t s = i;
        while (i < n && line[i] != ' ' && line[i] != '\t')
            i++;
        fields_.push_back(line.substr(s, i - s));
    }
}

std::string_view Fields::rest(size_t i) const
{
    if (i >= fields_.size())
        return std::string_view();
    size_t start = (size_t)(fields_[i].data() - line_.data());
    std::string_view r = line_.substr(start);
    while (!r.empty() && (r.back() == ' ' || r.back() == '\t'))
        r.remove_suffix(1);
    return r;
}

/* The field as a C string in buf, for strtod and strtol; false when it is
 * empty or too long to be a number of ours. */
static bool field_text(std::string_view text, char *buf, size_t room)
{
    if (text.empty() || text.size() >= room)
        return false;
    memcpy(buf, text.data(), text.size());
    buf[text.size()] = 0;
    errno = 0;
    return true;
}

bool parse_double(std::string_view text, double *value)
{
    char buf[64], *end;
    if (!field_text(text, buf, sizeof buf))
        return false;
    double v = strtod(buf, &end);
    if (*end || errno == ERANGE || v != v)
        return false;
    *value = v;
    return true;
}

bool parse_long(std::string_view text, long *value)
{
    char buf[32], *end;
    if (!field_text(text, buf, sizeof buf))
        return false;
    long v = strtol(buf, &end, 10);
    if (*end || errno == ERANGE)
        return false;
    *value = v;
    return true;
}

