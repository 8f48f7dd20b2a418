/*
 * What the output files' parts share (see output_files.h): how temporary
 * files and the old files kept aside while a pair goes in are named, and
 * the guard that holds an interruption back while files are renamed in.
 */
#ifndef PELMORA_TOOLS_OUTPUT_NAMES_H
#define PELMORA_TOOLS_OUTPUT_NAMES_H

#include <string>

static const char partial_suffix[] = ".partial";
static const char old_suffix[] = ".old";
static const int run_letters = 6;

/* name in directory ("" is the current folder). */
std::string output_path(const std::string &directory, const std::string &name);

/* Attempts at a free temporary name before giving up. */
static const int name_attempts = 100;

/* "<process id>-<6 letters or digits>": unique among live runs by the id,
 * unguessable by the letters. */
std::string make_run_name();

/* Between these two, SIGINT and SIGTERM wait: an interruption never splits
 * a pair that is being renamed in. */
void begin_renaming();
void end_renaming();

#endif
