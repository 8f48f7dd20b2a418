/*
 * Paths as the simulators' folders and scenery.cfg write them: either
 * separator accepted, this system's written when joining.
 */
#ifndef PELMORA_TOOLS_PATHS_H
#define PELMORA_TOOLS_PATHS_H

#include <string>

namespace paths {

#ifdef _WIN32
const char separator = '\\';
#else
const char separator = '/';
#endif

inline bool is_separator(char c) { return c == '/' || c == '\\'; }

/* folder, then name, with one separator between them. */
std::string join(const std::string &folder, const std::string &name);

/* Rooted: a leading separator, or a drive letter and its colon. */
bool is_absolute(const std::string &path);

/* A folder, or a link to one: it can be listed ("." at least). */
bool is_folder(const std::string &path);

}  // namespace paths

#endif
