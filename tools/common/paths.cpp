#include "paths.h"

#include "file_ops.h"

namespace paths {

std::string join(const std::string &folder, const std::string &name)
{
    if (folder.empty())
        return name;
    return is_separator(folder.back()) ? folder + name : folder + separator + name;
}

bool is_absolute(const std::string &path)
{
    if (!path.empty() && is_separator(path[0]))
        return true;
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool is_folder(const std::string &path)
{
    return file_ops::kind_of(path) != file_ops::Kind::none &&
           !file_ops::list_directory(path).empty();
}

}  // namespace paths
