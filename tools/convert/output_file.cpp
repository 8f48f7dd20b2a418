#include "output_files.h"

#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

#include <random>
#include <utility>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "output_names.h"
#include "selection/facility_file.h"

using file_ops::Kind;

/* ---- Interruption ----
 * SIGINT and SIGTERM remove the temporary files that exist at that moment
 * and end the run.  The handler only unlinks paths stored beforehand, as
 * only async-signal-safe calls may run there.  While files are being renamed
 * in, the signal waits until the renames are done or undone, so that an
 * interruption never splits the pair. */

static const int max_temp_files = 4;
static char temp_files[max_temp_files][4096];
static volatile sig_atomic_t renaming = 0;
static volatile sig_atomic_t deferred_signal = 0;

static void remove_temp_files()
{
    for (int i = 0; i < max_temp_files; i++)
        if (temp_files[i][0]) {
#ifdef _WIN32
            remove(temp_files[i]);
#else
            unlink(temp_files[i]);
#endif
        }
}

static void on_interrupt(int signal_number)
{
    if (renaming) {
        deferred_signal = signal_number;
        signal(signal_number, on_interrupt);
        return;
    }
    remove_temp_files();
    signal(signal_number, SIG_DFL);
    raise(signal_number);
}

static void install_handlers()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    /* A signal the run was started to ignore stays ignored. */
    if (signal(SIGINT, on_interrupt) == SIG_IGN)
        signal(SIGINT, SIG_IGN);
    if (signal(SIGTERM, on_interrupt) == SIG_IGN)
        signal(SIGTERM, SIG_IGN);
}

static void register_temp(const std::string &path)
{
    install_handlers();
    for (int i = 0; i < max_temp_files; i++)
        if (!temp_files[i][0] && !path.empty() && path.size() < sizeof temp_files[i]) {
            /* The first byte last: the handler sees the whole path or none. */
            memcpy(temp_files[i] + 1, path.c_str() + 1, path.size());
            temp_files[i][0] = path[0];
            return;
        }
}

static void unregister_temp(const std::string &path)
{
    for (int i = 0; i < max_temp_files; i++)
        if (temp_files[i][0] && path == temp_files[i])
            temp_files[i][0] = 0;
}

void begin_renaming() { renaming = 1; }

void end_renaming()
{
    renaming = 0;
    int pending = deferred_signal;
    if (pending) {
        deferred_signal = 0;
        remove_temp_files();
        signal(pending, SIG_DFL);
        raise(pending);
    }
}

/* ---- Names ---- */

std::string output_path(const std::string &directory, const std::string &name)
{
    return directory.empty() ? name : directory + "/" + name;
}

std::string make_run_name()
{
    static std::mt19937_64 random = [] {
        uint64_t seed = (uint64_t)time(0) ^ ((uint64_t)file_ops::current_process_id() << 32);
#if __cpp_exceptions
        try {
            std::random_device device;
            seed ^= ((uint64_t)device() << 32) ^ device();
        } catch (...) {
        }
#else
        /* Built without exceptions (the 32-bit Windows programs, whose C
         * runtime has no random source): the processor time so far as well.
         * The names need not be secret: each file is created exclusively. */
        seed ^= (uint64_t)clock() << 16;
#endif
        return std::mt19937_64(seed);
    }();
    static const char symbols[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string letters;
    for (int i = 0; i < run_letters; i++)
        letters += symbols[random() % 36];
    return std::to_string(file_ops::current_process_id()) + "-" + letters;
}

/* ---- One file ---- */

static const size_t buffer_size = 1 << 16;

bool OutputFile::open(const std::string &directory, const char *name, bool crlf,
                      std::string *error)
{
    for (int attempt = 0; attempt < name_attempts; attempt++) {
        bool exists = false;
        if (open_as(directory, name, make_run_name(), crlf, &exists, error))
            return true;
        if (!exists)
            return false;
    }
    *error = output_path(directory, name) + ": no free temporary name beside it";
    return false;
}

bool OutputFile::open_as(const std::string &directory, const char *name, const std::string &run,
                         bool crlf, bool *exists, std::string *error)
{
    discard();
    name_ = name;
    directory_ = directory;
    final_path_ = output_path(directory, name);
    temp_path_ = final_path_ + "." + run + partial_suffix;
    crlf_ = crlf;
    lines_ = 0;
    buffer_.clear();
    write_error_.clear();
    switch (file_.create_exclusive(temp_path_)) {
    case file_ops::RawFile::Created::ok:
        register_temp(temp_path_);
        return true;
    case file_ops::RawFile::Created::exists:
        *exists = true;
        *error = temp_path_ + ": exists";
        return false;
    default:
        *error = temp_path_ + ": cannot create: " + file_ops::last_error_text();
        return false;
    }
}

void OutputFile::write_line(const std::string &line)
{
    if (!file_.is_open())
        return;
    buffer_ += line;
    buffer_ += crlf_ ? "\r\n" : "\n";
    lines_++;
    if (buffer_.size() >= buffer_size)
        flush_buffer();
}

void OutputFile::flush_buffer()
{
    if (write_error_.empty() && !buffer_.empty() && !file_.write(buffer_.data(), buffer_.size()))
        write_error_ = file_ops::last_error_text();
    buffer_.clear();
}

bool OutputFile::finish(std::string *error)
{
    if (finished_)
        return true;
    if (!file_.is_open())
        return true;
    flush_buffer();
    if (write_error_.empty() && !file_.sync())
        write_error_ = "cannot sync: " + file_ops::last_error_text();
    if (!file_.close() && write_error_.empty())
        write_error_ = "cannot close: " + file_ops::last_error_text();
    if (!write_error_.empty()) {
        *error = name_ + ": cannot write " + temp_path_ + ": " + write_error_;
        file_ops::remove_file(temp_path_);
        unregister_temp(temp_path_);
        return false;
    }
    finished_ = true;
    return true;
}

bool OutputFile::replace(std::string *error)
{
    if (!file_ops::replace_file(temp_path_, final_path_)) {
        *error = final_path_ + ": cannot replace: " + file_ops::last_error_text();
        return false;
    }
    unregister_temp(temp_path_);
    finished_ = false;
    return true;
}

void OutputFile::keep_temp()
{
    unregister_temp(temp_path_);
    finished_ = false;
}

bool OutputFile::commit(std::string *error)
{
    if (!is_open())
        return true;
    if (!finish(error))
        return false;
    begin_renaming();
    bool ok = replace(error);
    if (ok)
        file_ops::sync_directory(directory_);
    else
        discard();
    end_renaming();
    return ok;
}

void OutputFile::discard()
{
    if (!is_open())
        return;
    file_.close();
    finished_ = false;
    file_ops::remove_file(temp_path_);
    unregister_temp(temp_path_);
}

