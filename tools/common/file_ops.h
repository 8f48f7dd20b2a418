/*
 * The few file-system operations the converter's output files rest on, for
 * POSIX and for Windows: a file created exclusively and written unbuffered,
 * a replacing rename, a second name for an old file, the listing of a folder
 * and whether a process still runs.  Every failing call leaves the system's
 * reason in last_error_text().
 */
#ifndef PELMORA_TOOLS_FILE_OPS_H
#define PELMORA_TOOLS_FILE_OPS_H

#include <stddef.h>

#include <string>
#include <vector>

namespace file_ops {

/* A file opened for writing only, by create_exclusive. */
class RawFile {
public:
    RawFile() {}
    RawFile(const RawFile &) = delete;
    RawFile &operator=(const RawFile &) = delete;
    ~RawFile() { close(); }

    enum class Created { ok, exists, failed };
    /* Creates path, which must not exist in any form (a symbolic link at the
     * name counts as existing and is never followed). */
    Created create_exclusive(const std::string &path);
    bool is_open() const;
    bool write(const char *data, size_t size);
    /* Pushes what was written to the disk itself (fsync, FlushFileBuffers). */
    bool sync();
    bool close();

private:
#ifdef _WIN32
    void *handle_ = 0;
#else
    int fd_ = -1;
#endif
};

/* The reason for the last failure, as the system words it. */
std::string last_error_text();

enum class Kind { none, file, other };
/* What is at path, without following a symbolic link there (a link is a
 * "file": it can be renamed and removed as one). */
Kind kind_of(const std::string &path);

/* Renames from over to, replacing whatever file is there in one step. */
bool replace_file(const std::string &from, const std::string &to);

/* Gives the file at path a second name, aside (a hard link; where the
 * file system has none, an exclusive copy made and synced).  aside must not
 * exist. */
bool keep_aside(const std::string &path, const std::string &aside);

bool remove_file(const std::string &path);

/* Makes the folder's entries durable after renames (POSIX; a no-op on
 * Windows, whose renames are written through). */
void sync_directory(const std::string &directory);

/* The names in a folder ("" is the current one); empty when unreadable. */
std::vector<std::string> list_directory(const std::string &directory);

long current_process_id();
/* False only when the system says no process has that id. */
bool process_running(long pid);

}  // namespace file_ops

#endif
