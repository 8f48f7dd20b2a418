/*
 * The converter's output files: each written to a temporary name beside its
 * final place and renamed over it only when complete.
 */
#ifndef PELMORA_TOOLS_OUTPUT_FILES_H
#define PELMORA_TOOLS_OUTPUT_FILES_H

#include <stdio.h>

#include <string>

/* One output file, written to a temporary name beside its final place and
 * renamed over it only by commit. */
class OutputFile {
public:
    ~OutputFile() { discard(); }
    bool open(const std::string &directory, const char *name, bool crlf, std::string *error);
    bool is_open() const { return stream_ != 0; }
    void write_line(const std::string &line);
    bool commit(std::string *error);
    void discard();
    long lines() const { return lines_; }
    const std::string &path() const { return final_path_; }

private:
    FILE *stream_ = 0;
    std::string temp_path_, final_path_;
    bool crlf_ = true;
    bool write_failed_ = false;
    long lines_ = 0;
};

/* The runway file and the navaid file of one run. */
struct OutputPair {
    OutputFile runways, navaids;

    bool open(const std::string &directory, bool crlf, bool with_runways, bool with_navaids,
              std::string *error);
    bool commit(std::string *error);
    void discard();
};

#endif
