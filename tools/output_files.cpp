#include "output_files.h"

#include <errno.h>
#include <signal.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include "selection/facility_file.h"

/* Temporary files to remove when the run is interrupted. */
static const int max_partial_files = 2;
static char partial_files[max_partial_files][4096];

static void remove_partial_files(int signal_number)
{
    for (int i = 0; i < max_partial_files; i++)
        if (partial_files[i][0])
            remove(partial_files[i]);
    signal(signal_number, SIG_DFL);
    raise(signal_number);
}

static void register_partial(const std::string &path, bool add)
{
    for (int i = 0; i < max_partial_files; i++) {
        if (add && !partial_files[i][0] && path.size() < sizeof partial_files[i]) {
            memcpy(partial_files[i], path.c_str(), path.size() + 1);
            signal(SIGINT, remove_partial_files);
            signal(SIGTERM, remove_partial_files);
            return;
        }
        if (!add && path == partial_files[i]) {
            partial_files[i][0] = 0;
            return;
        }
    }
}

bool OutputFile::open(const std::string &directory, const char *name, bool crlf,
                      std::string *error)
{
    final_path_ = directory.empty() ? std::string(name) : directory + "/" + name;
    temp_path_ = final_path_ + ".partial";
    crlf_ = crlf;
    stream_ = fopen(temp_path_.c_str(), "wb");
    if (!stream_) {
        *error = temp_path_ + ": " + strerror(errno);
        return false;
    }
    register_partial(temp_path_, true);
    return true;
}

void OutputFile::write_line(const std::string &line)
{
    if (fputs(line.c_str(), stream_) < 0 || fputs(crlf_ ? "\r\n" : "\n", stream_) < 0)
        write_failed_ = true;
    lines_++;
}

static bool replace_file(const std::string &from, const std::string &to)
{
#ifdef _WIN32
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return rename(from.c_str(), to.c_str()) == 0;
#endif
}

bool OutputFile::commit(std::string *error)
{
    if (!stream_)
        return true;
    bool ok = !write_failed_ && fflush(stream_) == 0 && !ferror(stream_);
    ok = fclose(stream_) == 0 && ok;
    stream_ = 0;
    if (!ok) {
        *error = temp_path_ + ": write failed: " + strerror(errno);
    } else if (!replace_file(temp_path_, final_path_)) {
        *error = final_path_ + ": cannot replace: " + strerror(errno);
        ok = false;
    }
    if (!ok)
        remove(temp_path_.c_str());
    register_partial(temp_path_, false);
    return ok;
}

void OutputFile::discard()
{
    if (!stream_)
        return;
    fclose(stream_);
    stream_ = 0;
    remove(temp_path_.c_str());
    register_partial(temp_path_, false);
}

bool OutputPair::open(const std::string &directory, bool crlf, bool with_runways,
                      bool with_navaids, std::string *error)
{
    if (with_runways && !runways.open(directory, RUNWAY_FILE_NAME, crlf, error))
        return false;
    if (with_navaids && !navaids.open(directory, NAVAID_FILE_NAME, crlf, error)) {
        runways.discard();
        return false;
    }
    return true;
}

bool OutputPair::commit(std::string *error)
{
    return runways.commit(error) && navaids.commit(error);
}

void OutputPair::discard()
{
    runways.discard();
    navaids.discard();
}
