/* Paths as the host is given them: Unix paths under Wine, relative outputs. */
#ifndef PELMORA_HOST_PATHS_H
#define PELMORA_HOST_PATHS_H

#include <string>

/* Paths given as Unix paths under Wine become Z: paths. */
std::string windows_path(const std::string &path);

/* The folder the host was started in; relative paths of outputs (such as
 * screenshots) are taken from there, not from the simulator folder. */
extern std::string start_directory;
std::string start_relative_path(const std::string &path);

#endif
