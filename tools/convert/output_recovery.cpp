/*
 * Clearing what killed runs left in the output folder, and putting back an
 * old file when a run was killed between its pair's two renames.
 */
#include <stdlib.h>
#include <string.h>

#include <map>

#include "output_files.h"
#include "output_names.h"
#include "selection/facility_file.h"

using file_ops::Kind;

/* ---- What killed runs leave behind ----
 * A name is a leftover when it reads "<final>.<pid>-<letters>.partial" or
 * "<final>.<pid>-<letters>.old", <final> being one of the two data files'
 * names, and when it is a file (or a symbolic link: removing a link never
 * touches what it points to).  Leftovers of a process that still runs are
 * another converter's files in use and are left alone; so are those that
 * carry this process's own id.  Those of a process that is gone are
 * cleared, by run:
 *   - an ".old" file whose own temporary file is gone while its partner's
 *     is still there comes from a run killed between its two renames (step
 *     3 done, step 4 not): it is renamed back over its final name, so the
 *     pair is the old pair again, complete;
 *   - any other ".old" file (killed before step 3 or after step 4) and
 *     every ".partial" file is removed.
 * A process id reused by a live process only delays the clearing. */

namespace {

const char *const final_names[2] = {RUNWAY_FILE_NAME, NAVAID_FILE_NAME};

struct Run {
    long pid = 0;
    bool partial[2] = {false, false};
    bool old[2] = {false, false};
};

bool ends_with(const std::string &text, const char *tail, size_t *stem)
{
    size_t n = strlen(tail);
    if (text.size() < n || text.compare(text.size() - n, n, tail) != 0)
        return false;
    *stem = text.size() - n;
    return true;
}

/* Splits a leftover's name into its file (0 runways, 1 navaids), its run
 * ("<pid>-<letters>") and its kind; false for any other name. */
bool parse_leftover(const std::string &name, int *file, std::string *run, long *pid, bool *old)
{
    size_t stem;
    if (ends_with(name, partial_suffix, &stem))
        *old = false;
    else if (ends_with(name, old_suffix, &stem))
        *old = true;
    else
        return false;
    for (int i = 0; i < 2; i++) {
        const std::string prefix = std::string(final_names[i]) + ".";
        if (name.compare(0, prefix.size(), prefix) != 0 || stem <= prefix.size())
            continue;
        *run = name.substr(prefix.size(), stem - prefix.size());
        size_t dash = run->find('-');
        if (dash == 0 || dash > 10 || run->size() != dash + 1 + run_letters)
            return false;
        for (size_t k = 0; k < run->size(); k++) {
            char c = (*run)[k];
            bool ok = k < dash ? (c >= '0' && c <= '9')
                               : k == dash || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
            if (!ok)
                return false;
        }
        *pid = atol(run->c_str());
        *file = i;
        return true;
    }
    return false;
}

}  // namespace

int OutputPair::clean_leftovers(const std::string &directory)
{
    std::map<std::string, Run> runs;
    for (const std::string &name : file_ops::list_directory(directory)) {
        int file;
        std::string run;
        long pid;
        bool old;
        if (!parse_leftover(name, &file, &run, &pid, &old) ||
            file_ops::kind_of(output_path(directory, name)) != Kind::file)
            continue;
        Run &r = runs[run];
        r.pid = pid;
        (old ? r.old : r.partial)[file] = true;
    }
    int cleared = 0;
    const long self = file_ops::current_process_id();
    for (const auto &entry : runs) {
        const Run &r = entry.second;
        if (r.pid == self || file_ops::process_running(r.pid))
            continue;
        auto leftover = [&](int file, const char *suffix) {
            return output_path(directory, final_names[file]) + "." + entry.first + suffix;
        };
        bool keep_partial[2] = {false, false};
        for (int i = 0; i < 2; i++) {
            if (!r.old[i])
                continue;
            const int other = 1 - i;
            const bool between_renames = !r.partial[i] && r.partial[other];
            if (!between_renames) {
                cleared += file_ops::remove_file(leftover(i, old_suffix));
            } else if (file_ops::replace_file(leftover(i, old_suffix),
                                              output_path(directory, final_names[i]))) {
                file_ops::sync_directory(directory);
                cleared++;
            } else {
                keep_partial[other] = true; /* the sign to try again next time */
            }
        }
        for (int i = 0; i < 2; i++)
            if (r.partial[i] && !keep_partial[i])
                cleared += file_ops::remove_file(leftover(i, partial_suffix));
    }
    return cleared;
}
