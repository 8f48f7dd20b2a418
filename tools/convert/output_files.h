/*
 * The converter's output files.  Each is written to a temporary file of its
 * own beside its final place, created exclusively under a unique name, and
 * put in place by a rename only once complete and on the disk.  The runway
 * file and the navaid file go in as one pair: either both new files replace
 * the old ones, or the old pair stays.
 *
 * Temporary names:  <final name>.<process id>-<6 letters or digits>.partial
 * Old file aside:   <final name>.<process id>-<same letters>.old
 * A run that is killed leaves these behind; the next run in that folder
 * clears them (see OutputPair::clean_leftovers).
 */
#ifndef PELMORA_TOOLS_OUTPUT_FILES_H
#define PELMORA_TOOLS_OUTPUT_FILES_H

#include <string>

#include "common/file_ops.h"

/* One output file, written to a temporary name beside its final place and
 * renamed over it only by commit. */
class OutputFile {
public:
    ~OutputFile() { discard(); }
    bool open(const std::string &directory, const char *name, bool crlf, std::string *error);
    bool is_open() const { return file_.is_open() || finished_; }
    void write_line(const std::string &line);
    /* Alone: the file, complete and synced, replaces the final one. */
    bool commit(std::string *error);
    /* Removes the temporary file; the final one is left as it was. */
    void discard();
    long lines() const { return lines_; }
    const std::string &path() const { return final_path_; }
    const std::string &temp_path() const { return temp_path_; }

private:
    friend struct OutputPair;
    /* Creates the temporary file under run's name; false with *exists set
     * when that name is taken. */
    bool open_as(const std::string &directory, const char *name, const std::string &run,
                 bool crlf, bool *exists, std::string *error);
    /* Writes out what is buffered, syncs and closes: the file is complete. */
    bool finish(std::string *error);
    /* Puts the finished file in place. */
    bool replace(std::string *error);
    /* Leaves the finished temporary file where it is, for the next run. */
    void keep_temp();
    void flush_buffer();

    file_ops::RawFile file_;
    std::string buffer_;
    std::string name_, directory_, temp_path_, final_path_;
    std::string write_error_;
    bool crlf_ = true;
    bool finished_ = false;
    long lines_ = 0;
};

/* The runway file and the navaid file of one run. */
struct OutputPair {
    OutputFile runways, navaids;

    /* Clears what killed runs left in directory, then creates the
     * temporary files of those asked for. */
    bool open(const std::string &directory, bool crlf, bool with_runways, bool with_navaids,
              std::string *error);
    /* Both files complete and synced, then renamed in, one after the other;
     * if the second cannot be, the first old file is put back.  On failure
     * *error says what was written and what was left: it begins "nothing
     * written: " exactly when no final file changed. */
    bool commit(std::string *error);
    void discard();

    /* What killed runs left in directory: temporary files are removed, and a
     * run killed between its two renames has its first old file put back,
     * so that the pair is the old pair again.  Files of running processes
     * are left alone.  Returns the number of names cleared. */
    static int clean_leftovers(const std::string &directory);

private:
    /* Renames first, then second in, keeping first's old file aside until
     * both are in place. */
    bool commit_in_turn(OutputFile &first, OutputFile &second, std::string *error);

    std::string directory_;
};

#endif
