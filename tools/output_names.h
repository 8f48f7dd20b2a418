/*
 * How the converter names its temporary files and the old files it keeps
 * aside while a pair goes in (see output_files.h).
 */
#ifndef PELMORA_TOOLS_OUTPUT_NAMES_H
#define PELMORA_TOOLS_OUTPUT_NAMES_H

#include <string>

static const char partial_suffix[] = ".partial";
static const char old_suffix[] = ".old";
static const int run_letters = 6;

/* name in directory ("" is the current folder). */
std::string output_path(const std::string &directory, const std::string &name);

#endif
