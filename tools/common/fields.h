/*
 * The fields of a line and the numbers in them.
 *
 * Fields splits a line on blanks and tabs and remembers where each field
 * starts, so a row handler can take "the rest of the line" (airport and
 * navaid names contain blanks).
 */
#ifndef PELMORA_TOOLS_FIELDS_H
#define PELMORA_TOOLS_FIELDS_H

#include <stddef.h>

#include <string_view>
#include <vector>

/* The blank- or tab-separated fields of one line. */
class Fields {
public:
    explicit Fields(std::string_view line = std::string_view()) { assign(line); }
    /* Splits another line, reusing the storage: its first `most` fields
     * only, when a caller needs no more to decide (a row code). */
    void assign(std::string_view line, size_t most = (size_t)-1);
    /* The whole line last assigned. */
    std::string_view line() const { return line_; }

    size_t size() const { return fields_.size(); }
    std::string_view operator[](size_t i) const { return fields_[i]; }
    /* The text from field i to the end of the line, outer blanks trimmed;
     * empty when the line has fewer fields. */
    std::string_view rest(size_t i) const;

private:
    std::string_view line_;
    std::vector<std::string_view> fields_;
};

/* Whole-field number parsing: the field must be a number and nothing else. */
bool parse_double(std::string_view text, double *value);
bool parse_long(std::string_view text, long *value);

#endif
