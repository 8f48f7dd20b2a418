#include "paths.h"

std::string windows_path(const std::string &path)
{
    if (!path.empty() && path[0] == '/')
        return "Z:" + path;
    return path;
}

std::string start_directory;

std::string start_relative_path(const std::string &path)
{
    bool absolute = !path.empty() && (path[0] == '/' || path[0] == '\\' ||
                                      (path.size() > 1 && path[1] == ':'));
    if (absolute || start_directory.empty())
        return windows_path(path);
    return start_directory + "\\" + path;
}
