/*
 * The bottom layer of the data tools: the lines of a file (fields.h splits
 * them).
 *
 * LineReader streams one input file, plain or gzip-compressed (zlib reads a
 * plain file as it is), and hands out its lines one at a time:
 *   - a line ends at LF, CR LF or a CR alone; the line end is not part of it;
 *   - lines are numbered from 1, for the `file:line: reason` messages;
 *   - a line longer than line_room is cut there and flagged, never overrun;
 *   - damaged compressed data (a cut or corrupt .gz) ends the file with an
 *     error: error() then holds the reason, and the caller must stop.
 */
#ifndef PELMORA_TOOLS_LINE_READER_H
#define PELMORA_TOOLS_LINE_READER_H

#include <stddef.h>

#include <string>
#include <string_view>
#include <vector>

class LineReader {
public:
    /* Longest line kept; no data row of any supported source comes near it. */
    static constexpr size_t line_room = 64 * 1024;

    LineReader();
    ~LineReader();
    LineReader(const LineReader &) = delete;
    LineReader &operator=(const LineReader &) = delete;

    /* Opens path for reading; false with error() set when it cannot. */
    bool open(const std::string &path);

    /* The next line, valid until the next call.  False at the end of the file
     * and on a read error (then failed() is true). */
    bool next(std::string_view *line);

    long line_number() const { return number_; }
    bool line_was_cut() const { return cut_; }   /* the last line exceeded line_room */
    bool failed() const { return !error_.empty(); }
    const std::string &error() const { return error_; }
    const std::string &path() const { return path_; }

    /* How far through the file the reader is, 0 to 1 (by raw bytes read). */
    double progress() const;

private:
    bool refill();

    void *gz_;                          /* gzFile, kept opaque here */
    std::string path_;
    std::string error_;
    std::vector<char> buffer_;
    size_t pos_, len_;
    bool eof_;
    bool pending_cr_;                   /* last line ended in CR: skip one LF */
    std::string line_;
    long number_;
    bool cut_;
    long long size_;                    /* raw file size, 0 when unknown */
};

/* The data file's name without its directory, for messages. */
std::string base_name(const std::string &path);

#endif
