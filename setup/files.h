/*
 * The setup window's file work: the simulator folder looked at, the gauge
 * installed with a backup of a different one, a text file read whole, and a
 * file replaced by new contents after a backup.  Plain Win32 calls that
 * every Windows from 98 on has.
 */
#ifndef PELMORA_SETUP_FILES_H
#define PELMORA_SETUP_FILES_H

#include <string>

/* What a simulator folder holds, in a sentence for the window; ok is set
 * when it has a GAUGES folder. */
std::string describe_simulator_folder(const std::string &folder, bool *ok);

/* The folder of the running program, with a trailing backslash. */
std::string program_folder();

/* The first free backup name for path: path + ".bak", then
 * <name>-2<.ext>.bak, -3, ...; never the name of an existing file. */
std::string backup_name(const std::string &path);

/* Copies the module into folder\GAUGES; returns the sentence for the
 * window; ok is set on success (also when it was there already). */
std::string install_gauge(const std::string &module, const std::string &folder, bool *ok);

bool read_whole_file(const std::string &path, std::string &out, size_t limit);

/* Writes contents to path after keeping its old bytes under a backup name
 * (returned in backup); the sentence for a failure, empty on success. */
std::string replace_with_backup(const std::string &path, const std::string &contents,
                                std::string &backup);

#endif
