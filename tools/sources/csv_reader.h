/*
 * A reader of CSV files as RFC 4180 writes them, with columns found by the
 * names in the header row.
 *
 *   - fields are separated by commas; a record ends with the line;
 *   - a field in double quotes may hold commas, line ends and doubled
 *     quotes ("" stands for one "); a line end inside quotes is kept as LF;
 *   - lenient where files stray from the rule: a quote inside an unquoted
 *     field, or text after a closing quote, is kept as it is;
 *   - a quoted field still open at the end of the file, or longer than
 *     record_room, is fatal: what follows could not be trusted.
 *
 * CsvRecordBuilder is the parsing alone, fed line by line; CsvReader reads
 * a file (plain or gzip) through a LineReader and reports as the tools do.
 */
#ifndef PELMORA_TOOLS_CSV_READER_H
#define PELMORA_TOOLS_CSV_READER_H

#include <string>
#include <string_view>
#include <vector>

#include "convert/facilities.h"
#include "common/line_reader.h"
#include "common/report.h"
#include "xplane.h"

typedef std::vector<std::string> CsvRecord;

class CsvRecordBuilder {
public:
    /* Longest record kept, in bytes; a quoted field that runs longer is
     * taken as a quote that never closes. */
    static constexpr size_t record_room = 1024 * 1024;

    /* Adds one line (without its line end).  True when it completes a
     * record, which fields() then holds until the next add_line. */
    bool add_line(std::string_view line);
    /* True while a quoted field is open: the record goes on on the next line. */
    bool in_quotes() const { return in_quotes_; }
    /* True when an open quoted field outgrew record_room. */
    bool overflowed() const { return overflowed_; }
    const CsvRecord &fields() const { return fields_; }

private:
    CsvRecord fields_;
    std::string field_;
    size_t bytes_ = 0;
    bool in_quotes_ = false;
    bool was_quoted_ = false;           /* the current field began with a quote */
    bool overflowed_ = false;
};

class CsvReader {
public:
    CsvReader(Report &report, ReadOutcome *outcome) : report_(report), outcome_(outcome) {}

    /* Opens the file, reads the header and finds the named columns (count
     * of them, in the order of the caller's column enum); optional ones may
     * be missing.  False, with the outcome's fatal message, when the file
     * cannot be read or a required column is missing. */
    bool open(const std::string &path, const char *const *names, const bool *required,
              size_t count);
    /* The next record; false at the end or on a fatal error (then the
     * outcome's fatal message is set). */
    bool next(CsvRecord *record);

    /* The field of a column: empty when the column is missing or the record
     * is short. */
    const std::string &field(const CsvRecord &record, int column) const;
    /* True when the header has the column (an optional one may lack). */
    bool has_column(int column) const { return columns_[column] >= 0; }
    /* False, with the record reported, when it has fewer fields than the
     * header: its fields may have shifted. */
    bool complete(const CsvRecord &record);
    SourceLine here() const { return SourceLine{in_.path(), line_}; }
    void bad_row(const std::string &reason) { report_.error(in_.path(), line_, reason); }
    void finish();

private:
    void fail(long line, const std::string &reason);

    Report &report_;
    ReadOutcome *outcome_;
    LineReader in_;
    CsvRecordBuilder builder_;
    std::vector<int> columns_;
    size_t header_fields_ = 0;
    long line_ = 0;                     /* where the last record began */
    std::string empty_;
};

#endif
