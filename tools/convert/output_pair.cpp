/*
 * The runway file and the navaid file of one run, put in place as a pair.
 */
#include <utility>

#include "output_files.h"
#include "output_names.h"
#include "selection/facility_file.h"

using file_ops::Kind;

/* The order of a pair's commit, which clean_leftovers (output_recovery.cpp)
 * relies on:
 *   1. both temporary files complete and synced (OutputPair::commit);
 *   2. first's old file gets a second name, "<first>.<run>.old";
 *   3. first's temporary file is renamed over first;
 *   4. second's temporary file is renamed over second;
 *   5. the ".old" name is removed.
 * If 4 fails, the ".old" file is renamed back over first. */
bool OutputPair::commit_in_turn(OutputFile &first, OutputFile &second, std::string *error)
{
    std::string why;
    std::string aside;
    if (file_ops::kind_of(first.path()) == Kind::file) {
        const std::string &temp = first.temp_path();
        aside = temp.substr(0, temp.size() - (sizeof partial_suffix - 1)) + old_suffix;
        if (!file_ops::keep_aside(first.path(), aside)) {
            *error = "nothing written: " + first.path() + ": cannot keep the old file aside as " +
                     aside + ": " + file_ops::last_error_text();
            discard();
            return false;
        }
        file_ops::sync_directory(directory_);
    }
    if (!first.replace(&why)) {
        if (!aside.empty())
            file_ops::remove_file(aside);
        discard();
        *error = "nothing written: " + why;
        return false;
    }
    if (second.replace(&why)) {
        file_ops::sync_directory(directory_);
        if (!aside.empty())
            file_ops::remove_file(aside);
        return true;
    }

    /* The second cannot go in: the first goes back to what it was. */
    if (aside.empty()) {
        if (file_ops::remove_file(first.path())) {
            second.discard();
            file_ops::sync_directory(directory_);
            *error = "nothing written: " + why + "; " + first.path() +
                     " taken out again (there was none before)";
            return false;
        }
        second.discard();
        *error = first.path() + " written (new), " + second.path() + " not: " + why +
                 "; the new " + first.path() + " could not be taken out again: " +
                 file_ops::last_error_text();
        return false;
    }
    if (file_ops::replace_file(aside, first.path())) {
        second.discard();
        file_ops::sync_directory(directory_);
        *error = "nothing written: " + why + "; " + first.path() + " put back as it was";
        return false;
    }
    /* The temporary second file stays too: with the ".old" file it tells the
     * next run to put the old first file back (clean_leftovers). */
    std::string put_back_failure = file_ops::last_error_text();
    second.keep_temp();
    *error = first.path() + " written (new), " + second.path() + " left as it was: " + why +
             "; the old " + first.path() + " could not be put back (" + put_back_failure +
             "): it is kept as " + aside + ", and the next run puts it back";
    return false;
}

bool OutputPair::open(const std::string &directory, bool crlf, bool with_runways,
                      bool with_navaids, std::string *error)
{
    discard();
    directory_ = directory;
    clean_leftovers(directory);
    for (int attempt = 0; attempt < name_attempts; attempt++) {
        const std::string run = make_run_name();
        bool exists = false;
        if (with_runways &&
            !runways.open_as(directory, RUNWAY_FILE_NAME, run, crlf, &exists, error)) {
            if (exists)
                continue;
            return false;
        }
        if (with_navaids &&
            !navaids.open_as(directory, NAVAID_FILE_NAME, run, crlf, &exists, error)) {
            runways.discard();
            if (exists)
                continue;
            return false;
        }
        return true;
    }
    *error = output_path(directory, RUNWAY_FILE_NAME) + ": no free temporary name beside it";
    return false;
}

bool OutputPair::commit(std::string *error)
{
    OutputFile *files[2];
    int count = 0;
    for (OutputFile *file : {&runways, &navaids})
        if (file->is_open())
            files[count++] = file;
    std::string why;
    for (int i = 0; i < count; i++)
        if (!files[i]->finish(&why)) {
            discard();
            *error = "nothing written: " + why;
            return false;
        }
    if (count < 2) {
        if (count == 1 && !files[0]->commit(&why)) {
            *error = "nothing written: " + why;
            return false;
        }
        return true;
    }
    /* The first to go in is one whose old file can be kept aside: the
     * runway file, unless only the navaid file has an old one. */
    if (file_ops::kind_of(files[0]->path()) != Kind::file &&
        file_ops::kind_of(files[1]->path()) == Kind::file)
        std::swap(files[0], files[1]);
    begin_renaming();
    bool ok = commit_in_turn(*files[0], *files[1], error);
    end_renaming();
    return ok;
}

void OutputPair::discard()
{
    runways.discard();
    navaids.discard();
}
