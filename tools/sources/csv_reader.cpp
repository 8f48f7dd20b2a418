#include "csv_reader.h"

/* ---- The parsing ---- */

bool CsvRecordBuilder::add_line(std::string_view line)
{
    if (!in_quotes_) {
        fields_.clear();
        field_.clear();
        bytes_ = 0;
        was_quoted_ = false;
    } else {
        field_ += '\n';                 /* the line end belongs to the quoted field */
    }
    bytes_ += line.size() + 1;
    if (bytes_ > record_room) {
        overflowed_ = true;
        return false;
    }
    for (size_t i = 0; i < line.size(); i++) {
        char c = line[i];
        if (in_quotes_) {
            if (c != '"') {
                field_ += c;
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                field_ += '"';          /* a doubled quote stands for one */
                i++;
            } else {
                in_quotes_ = false;
            }
        } else if (c == ',') {
            fields_.push_back(std::move(field_));
            field_.clear();
            was_quoted_ = false;
        } else if (c == '"' && field_.empty() && !was_quoted_) {
            in_quotes_ = true;
            was_quoted_ = true;
        } else {
            field_ += c;                /* a stray quote or text after the closing one */
        }
    }
    if (in_quotes_)
        return false;
    fields_.push_back(std::move(field_));
    field_.clear();
    return true;
}

/* ---- The file ---- */

void CsvReader::fail(long line, const std::string &reason)
{
    outcome_->fatal = in_.path() + ":" + std::to_string(line) + ": " + reason;
}

bool CsvReader::next(CsvRecord *record)
{
    std::string_view line;
    long first = 0;
    while (in_.next(&line)) {
        if (in_.line_number() == 1 && line.substr(0, 3) == "\xEF\xBB\xBF")
            line.remove_prefix(3);
        if (in_.line_number() % 8192 == 0) {
            report_.progress(in_);
            if (report_.stopped()) {
                fail(in_.line_number(), "stopped before the end");
                return false;
            }
        }
        if (!builder_.in_quotes())
            first = in_.line_number();
        if (in_.line_was_cut()) {
            fail(in_.line_number(), "line longer than " +
                                        std::to_string(LineReader::line_room) +
                                        " characters: not a CSV file of this kind?");
            return false;
        }
        if (builder_.add_line(line)) {
            if (!builder_.in_quotes() && line.empty() && builder_.fields().size() == 1)
                continue;               /* a blank line holds no record */
            line_ = first;
            *record = builder_.fields();
            return true;
        }
        if (builder_.overflowed()) {
            fail(first, "a quoted field runs on for more than " +
                            std::to_string(CsvRecordBuilder::record_room) +
                            " bytes: a quote that never closes?");
            return false;
        }
    }
    report_.end_progress();
    if (in_.failed())
        fail(in_.line_number(), in_.error());
    else if (builder_.in_quotes())
        fail(first, "a quoted field is not closed: is the file cut short?");
    return false;
}

bool CsvReader::open(const std::string &path, const char *const *names, const bool *required,
                     size_t count)
{
    if (!in_.open(path)) {
        outcome_->fatal = path + ": " + in_.error();
        return false;
    }
    CsvRecord header;
    if (!next(&header)) {
        if (outcome_->fatal.empty())
            fail(1, "empty file: a header line is expected");
        return false;
    }
    header_fields_ = header.size();
    std::string missing;
    for (size_t c = 0; c < count; c++) {
        int at = -1;
        for (size_t h = 0; h < header.size(); h++)
            if (header[h] == names[c])
                at = (int)h;
        if (at < 0 && required[c])
            missing += (missing.empty() ? "'" : ", '") + std::string(names[c]) + "'";
        columns_.push_back(at);
    }
    if (!missing.empty()) {
        fail(line_, "missing column " + missing + ": not an OurAirports file of this kind?");
        return false;
    }
    return true;
}

const std::string &CsvReader::field(const CsvRecord &record, int column) const
{
    int at = columns_[column];
    return at >= 0 && (size_t)at < record.size() ? record[at] : empty_;
}

bool CsvReader::complete(const CsvRecord &record)
{
    if (record.size() >= header_fields_)
        return true;
    bad_row("record has " + std::to_string(record.size()) + " fields, the header " +
            std::to_string(header_fields_) + ": skipped");
    return false;
}

void CsvReader::finish()
{
    report_.say(in_.path() + ": " + std::to_string(in_.line_number()) + " lines read");
}
