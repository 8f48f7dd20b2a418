/*
 * A whole data file through the module's reader, one read at a time.  Each
 * finding goes to the sink as soon as it is known; nothing is kept per line
 * but the state of the line being read, and the codes of the runway file
 * (for repeats) in a table of bounded size.
 */
#include <errno.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include <memory>

#include "check.h"
#include "check_codes.h"
#include "selection/facility_file.h"
#include "selection/searches.h"

static const unsigned char ctrl_z = 26;
static const long long progress_step = 4LL << 20;
static const size_t read_room = (size_t)line_limit - 1;

static bool has_token_char(const char *text, size_t length)
{
    for (size_t i = 0; i < length; i++)
        if (text[i] && !is_blank_char(text[i]))
            return true;
    return false;
}

/* A lone CR followed, within the same read, by a token: the module takes
 * the CR for a blank, so the text after it runs on as part of this record.
 * (CR LF pairs have been read as LF already: any CR left is lone.) */
static bool cr_joins_records(const char *text, size_t length)
{
    const char *cr = static_cast<const char *>(memchr(text, '\r', length));
    return cr && has_token_char(cr, length - (size_t)(cr - text));
}

/* Nearly every other byte is NUL, the bytes between them rarely: ASCII
 * letters in UTF-16, in either byte order. */
static bool looks_utf16(const char *text, size_t length)
{
    size_t at[2] = {0, 0};
    for (size_t i = 0; i < length; i++)
        if (!text[i])
            at[i & 1]++;
    size_t pairs = length / 2;
    size_t most = at[0] > at[1] ? at[0] : at[1];
    size_t least = at[0] > at[1] ? at[1] : at[0];
    return most >= 2 && most * 4 >= pairs * 3 && least * 4 <= pairs;
}

namespace {

class FileChecker {
public:
    FileChecker(DataKind kind, FindingSink *sink) : kind_(kind), sink_(sink) {}

    /* One read of the module's reader, terminated (it may hold NULs). */
    void piece(const char *text, size_t length);
    /* The end of the file; returns the number of lines. */
    long finish();
    /* The line a Ctrl-Z right after the last read is on (after finish). */
    long line_after_last_read() const
    {
        return last_read_ended_lf_ ? line_.number : line_.number - 1;
    }
    void emit(long line, FindingKind kind, const std::string &reason)
    {
        sink_->finding(Finding{line, reason, kind});
    }

private:
    void first_piece(const char *text, size_t length);
    void check_record(const char *text);
    void count_runs(const char *text, size_t length);
    void end_line();
    void emit(FindingKind kind, const std::string &reason) { emit(line_.number, kind, reason); }

    struct LineState {
        long number = 1;
        bool continuation = false;      /* the next read continues this line */
        long reads = 0;
        bool split_reported = false;
        bool nul_reported = false;
        bool utf16 = false;
        long runs = 0;                  /* runs of tokens between lone CRs */
        bool in_run = false;
        char first_code[leading_field_room + 1] = "";
    };

    DataKind kind_;
    FindingSink *sink_;
    LineState line_;
    bool file_utf16_ = false;
    const char *utf16_mark_ = 0;
    CodeTable codes_;
    bool codes_full_reported_ = false;
    bool last_read_ended_lf_ = true;
    std::vector<Finding> record_findings_;
};

void FileChecker::piece(const char *text, size_t length)
{
    last_read_ended_lf_ = text[length - 1] == '\n';
    const bool ends_line = last_read_ended_lf_ || length < read_room;
    line_.reads++;
    if (!line_.continuation) {
        first_piece(text, length);
    } else if (!line_.split_reported) {
        emit(FindingKind::split_line,
             "line longer than " + std::to_string(read_room) +
                 " characters: the reader splits it and reads the rest as lines of their own");
        line_.split_reported = true;
    }
    if (!line_.utf16) {
        if (!line_.nul_reported && memchr(text, 0, length)) {
            emit(FindingKind::nul_byte, "NUL byte: the rest of the line is not read");
            line_.nul_reported = true;
        }
        count_runs(text, length);
    }
    if (ends_line)
        end_line();
    else
        line_.continuation = true;
}

void FileChecker::first_piece(const char *text, size_t length)
{
    const unsigned char *u = reinterpret_cast<const unsigned char *>(text);
    const bool utf16_mark =
        length >= 2 && ((u[0] == 0xFF && u[1] == 0xFE) || (u[0] == 0xFE && u[1] == 0xFF));
    if (line_.number == 1 && utf16_mark) {
        file_utf16_ = true;
        utf16_mark_ = u[0] == 0xFF ? "FF FE" : "FE FF";
    }
    LeadingFields f;
    read_leading_fields(text, &f);
    memcpy(line_.first_code, f.code, sizeof line_.first_code);
    if (file_utf16_ || (memchr(text, 0, length) && looks_utf16(text, length))) {
        line_.utf16 = true;
        std::string what = line_.number == 1 && utf16_mark_
                               ? std::string("UTF-16 text (byte-order mark ") + utf16_mark_ + ")"
                               : std::string("UTF-16 text (NUL bytes between the letters)");
        emit(FindingKind::utf16,
             what + ": the module reads a byte per character and its tokens stop at the first "
                    "NUL, so it reads this line as " +
                 (f.code[0] ? "the code " + shown_token(f.code, strlen(f.code)) + " alone"
                            : std::string("a blank line")));
        return;
    }
    static const char utf8_mark[] = "\xEF\xBB\xBF";
    if (strncmp(f.code, utf8_mark, 3) == 0) {
        const char *rest = f.code + 3;
        emit(FindingKind::utf8_bom,
             "UTF-8 byte-order mark (bytes EF BB BF) at the start of the code: the module reads "
             "it as part of the code, so " +
                 (rest[0] ? shown_token(rest, strlen(rest)) + " is never found"
                          : std::string("the mark alone is this line's code")));
    }
    if (cr_joins_records(text, length))
        return;                         /* reported with its count at the end of the line */
    check_record(text);
}

void FileChecker::check_record(const char *text)
{
    record_findings_.clear();
    if (kind_ == DataKind::runways)
        check_runway_record(text, line_.number, &record_findings_);
    else
        check_navaid_record(text, line_.number, &record_findings_);
    for (const Finding &f : record_findings_)
        sink_->finding(f);
    if (kind_ != DataKind::runways || !line_.first_code[0])
        return;
    long previous = 0;
    switch (codes_.note(line_.first_code, line_.number, &previous)) {
    case CodeTable::Result::repeated:
        emit(FindingKind::repeated_code,
             "code " + shown_token(line_.first_code, strlen(line_.first_code)) +
                 " also on line " + std::to_string(previous) +
                 ": only the runways of the last one are listed");
        break;
    case CodeTable::Result::full:
        if (!codes_full_reported_)
            emit(FindingKind::code_table_full,
                 "more than " + std::to_string(CodeTable::most_codes) +
                     " different codes: from here on only codes seen before are compared for "
                     "repeats");
        codes_full_reported_ = true;
        break;
    case CodeTable::Result::added:
        break;
    }
}

/* Counts the runs of tokens that lone CRs separate. */
void FileChecker::count_runs(const char *text, size_t length)
{
    if (!memchr(text, '\r', length)) {
        if (!line_.in_run && has_token_char(text, length)) {
            line_.runs++;
            line_.in_run = true;
        }
        return;
    }
    for (size_t i = 0; i < length; i++) {
        char c = text[i];
        if (c == '\r') {
            line_.in_run = false;
        } else if (c && !is_blank_char(c) && !line_.in_run) {
            line_.runs++;
            line_.in_run = true;
        }
    }
}

void FileChecker::end_line()
{
    if (line_.runs > 1) {
        const bool runways = kind_ == DataKind::runways;
        std::string first = shown_token(line_.first_code, strlen(line_.first_code));
        std::string reason = "lone CRs (classic Mac line ends) between " +
                             std::to_string(line_.runs) + (runways ? " airports" : " navaids") +
                             ": the module takes CR for a blank and reads them as ";
        if (line_.reads == 1)
            reason += (runways ? "one airport, " : "one navaid, ") + first;
        else
            reason += std::to_string(line_.reads) + (runways ? " airports" : " navaids") +
                      ", one per " + std::to_string(read_room) + "-character read, the first " +
                      first;
        if (runways)
            reason += std::string(", with the codes, names and runways of the others as ") +
                      (line_.reads == 1 ? "its runways" : "their runways");
        emit(FindingKind::lone_cr, reason);
    }
    LineState next;
    next.number = line_.number + 1;
    line_ = next;
}

long FileChecker::finish()
{
    if (line_.continuation)
        end_line();
    return line_.number - 1;
}

/* The module's reader stops at the first Ctrl-Z.  A regular file (total is
 * its size) is scanned again for it, to say where it is and what it hides;
 * other streams, which may not end, are not read again. */
static void check_ctrl_z(FILE *stream, long long total, FileChecker *checker)
{
    if (total < 0 || fseek(stream, 0, SEEK_SET) != 0) {
        clearerr(stream);
        if (!feof(stream) && fgetc(stream) != EOF)
            checker->emit(checker->line_after_last_read(), FindingKind::ctrl_z,
                          "Ctrl-Z (byte 26) before the end: what follows it is never read");
        return;
    }
    static unsigned char block[64 * 1024];
    long line = 1;
    long long offset = 0;
    size_t n;
    while ((n = fread(block, 1, sizeof block, stream)) > 0) {
        const unsigned char *z = static_cast<const unsigned char *>(memchr(block, ctrl_z, n));
        const size_t scan = z ? (size_t)(z - block) : n;
        for (const unsigned char *p = block;
             (p = static_cast<const unsigned char *>(memchr(p, '\n', scan - (size_t)(p - block))));
             p++)
            line++;
        if (z) {
            long long after = total - (offset + (long long)scan) - 1;
            if (after > 0)
                checker->emit(line, FindingKind::ctrl_z,
                              "Ctrl-Z (byte 26) before the end: the " + std::to_string(after) +
                                  " bytes after it are never read");
            return;
        }
        offset += (long long)n;
    }
}

static long long stream_size(FILE *stream)
{
#ifdef _WIN32
    struct _stat64 st;
    if (_fstat64(_fileno(stream), &st) != 0 || !(st.st_mode & _S_IFREG))
        return -1;
#else
    struct stat st;
    if (fstat(fileno(stream), &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
#endif
    return (long long)st.st_size;
}

}  // namespace

bool check_data_stream(FILE *stream, DataKind kind, FindingSink *sink, CheckSummary *summary,
                       std::string *error)
{
    std::unique_ptr<FacilityFile> file(new FacilityFile);
    file->stream = stream;
    file->pos = file->len = 0;
    file->at_end = false;
    const long long total = stream_size(stream);
    FileChecker checker(kind, sink);
    char piece[line_buffer_room];
    long long bytes = 0, next_progress = progress_step;
    FacilityLine line;
    while (facility_next_line(file.get(), &line, line_limit)) {
        memcpy(piece, line.text, line.length);
        piece[line.length] = 0;
        checker.piece(piece, line.length);
        bytes += (long long)line.length;
        if (bytes >= next_progress) {
            sink->progress(bytes, total);
            next_progress += progress_step;
        }
    }
    const bool failed = ferror(stream) != 0;
    const int failure = errno;
    file->stream = 0;                   /* the caller's stream stays open */
    summary->lines = checker.finish();
    if (failed) {
        *error = std::string("read error: ") + strerror(failure);
        return false;
    }
    check_ctrl_z(stream, total, &checker);
    if (ferror(stream)) {
        *error = std::string("read error: ") + strerror(errno);
        return false;
    }
    return true;
}

bool check_data_file(const std::string &path, DataKind kind, FindingSink *sink,
                     CheckSummary *summary, std::string *error)
{
    FILE *stream = fopen(path.c_str(), "rb");
    if (!stream) {
        *error = strerror(errno);
        return false;
    }
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        fclose(stream);
        *error = "is a folder, not a data file";
        return false;
    }
    bool ok = check_data_stream(stream, kind, sink, summary, error);
    fclose(stream);
    return ok;
}
