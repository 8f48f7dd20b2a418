/*
 * The data-file checker: reads a "Prwydata.txt" or "Pnavdata.txt" through the
 * module's own reader (selection/facility_file.h), so it sees each line,
 * piece and token exactly as a search does, and lists what a search would
 * get wrong:
 *   - a token longer than its room (the module cuts it);
 *   - a line over 989 characters (the module splits it; the rest reads as a
 *     record of its own);
 *   - a Ctrl-Z before the last byte (the module stops there), a NUL byte (the
 *     module's tokens stop there);
 *   - line ends and encodings the module does not know: lone CRs (classic
 *     Mac text, read as blanks, so records run together), a UTF-8
 *     byte-order mark (read as part of the first code), UTF-16 text (read a
 *     byte at a time, every NUL ending the line's tokens);
 *   - runway descriptors with fewer than five parts, frequencies not of the
 *     form ddd.dd (or 0) or outside the localizer band, courses that are not
 *     whole degrees from 1 to 360, more than 20 descriptors;
 *   - navaid lines short of their four fields, VOR frequencies not ddd.dd or
 *     outside the VOR band, other frequencies not whole kHz or outside the
 *     NDB band, types other than VOR and NDB (any type but VOR is tuned on
 *     the ADF);
 *   - codes or names with lower-case letters (codes are found only by the
 *     exact test, names not at all), blank lines;
 *   - in the runway file, a code that comes again (the exact test lists only
 *     the last one's runways).
 *
 * A file is checked as it is read: findings go out one by one, in line
 * order, and the memory used does not grow with the file.
 */
#ifndef PELMORA_TOOLS_CHECK_H
#define PELMORA_TOOLS_CHECK_H

#include <stdio.h>

#include <string>
#include <vector>

enum class DataKind { runways, navaids };

/* What a finding is about; repeats of one kind can be counted rather than
 * listed. */
enum class FindingKind {
    other,
    too_long_token,
    split_line,
    ctrl_z,
    nul_byte,
    lone_cr,
    utf8_bom,
    utf16,
    blank_line,
    lower_case,
    repeated_code,
    code_table_full,
    too_many_runways,
    descriptor_parts,
    frequency_form,
    frequency_band,
    course,
    navaid_fields,
    navaid_type,
    count
};

/* A few words naming the kind, for "... and N more of this kind". */
const char *finding_kind_name(FindingKind kind);

struct Finding {
    long line;                          /* physical line, from 1 */
    std::string reason;
    FindingKind kind = FindingKind::other;
};

/* A token's text for a message: quoted, shortened past 24 characters, bytes
 * other than printable ASCII written as \xHH. */
std::string shown_token(const char *start, size_t length);

/* The kind a file's name gives ("Prwydata.txt", "Pnavdata.txt", in any
 * letter case and any directory); false for any other name. */
bool data_kind_from_name(const std::string &path, DataKind *kind);

/* Checks one record as the module reads it: text is one piece of at most 989
 * characters (a line end may be included).  Findings carry number. */
void check_runway_record(const char *text, long number, std::vector<Finding> *findings);
void check_navaid_record(const char *text, long number, std::vector<Finding> *findings);

/* Where the findings of a file go, as they are found. */
class FindingSink {
public:
    virtual ~FindingSink() = default;
    virtual void finding(const Finding &f) = 0;
    /* Now and then while a file is read: bytes read so far and the file's
     * size (-1 when it has none, as for a pipe). */
    virtual void progress(long long bytes_read, long long total)
    {
        (void)bytes_read;
        (void)total;
    }
};

struct CheckSummary {
    long lines = 0;
};

/* Checks a whole file, sending findings to sink in line order; false with
 * error set when it cannot be read (findings sent until then stand). */
bool check_data_file(const std::string &path, DataKind kind, FindingSink *sink,
                     CheckSummary *summary, std::string *error);

/* The same for a stream open for reading in binary; a stream that cannot
 * seek is read once (a Ctrl-Z is then reported without its byte count). */
bool check_data_stream(FILE *stream, DataKind kind, FindingSink *sink, CheckSummary *summary,
                       std::string *error);

/* Passes on the first `cap` findings of each kind and counts the rest. */
class CappedSink : public FindingSink {
public:
    CappedSink(FindingSink *out, long cap) : out_(out), cap_(cap) {}
    void finding(const Finding &f) override;
    void progress(long long bytes_read, long long total) override
    {
        out_->progress(bytes_read, total);
    }
    long total() const { return total_; }
    /* Findings of kind k held back. */
    long held_back(FindingKind k) const;

private:
    FindingSink *out_;
    long cap_;
    long total_ = 0;
    long seen_[(int)FindingKind::count] = {};
};

#endif
