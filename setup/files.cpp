#include "files.h"

#include <windows.h>

#include "common/file_ops.h"

namespace {

bool is_folder(const std::string &path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool is_file(const std::string &path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string joined(const std::string &folder, const char *name)
{
    if (!folder.empty() && folder[folder.size() - 1] != '\\' && folder[folder.size() - 1] != '/')
        return folder + "\\" + name;
    return folder + name;
}

std::string file_part(const std::string &path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

/* Copies from to a new backup name of to; the name used, empty on failure. */
std::string copy_to_backup(const std::string &path)
{
    for (int attempt = 0; attempt < 1000; attempt++) {
        std::string backup = backup_name(path);
        if (CopyFileA(path.c_str(), backup.c_str(), TRUE))
            return backup;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return std::string();
    }
    return std::string();
}

}  // namespace

std::string program_folder()
{
    char path[MAX_PATH] = "";
    DWORD n = GetModuleFileNameA(0, path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return ".\\";
    std::string folder(path, n);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::string describe_simulator_folder(const std::string &folder, bool *ok)
{
    *ok = false;
    if (folder.empty())
        return "Choose the folder that holds the simulator's program.";
    if (is_file(folder))
        return folder + " is a file, not a folder.";
    if (!is_folder(folder))
        return "There is no folder " + folder + ".";
    if (!is_folder(joined(folder, "GAUGES")))
        return "No GAUGES folder here: this is not the simulator's own folder. Choose the "
               "folder that holds the simulator's program and its GAUGES folder.";
    *ok = true;
    std::string text = "Found the GAUGES folder. ";
    text += is_file(joined(folder, "GAUGES\\PELMORA.GAU")) ? "PELMORA.GAU is in it. "
                                                            : "PELMORA.GAU is not in it yet. ";
    bool runways = is_file(joined(folder, "Prwydata.txt"));
    bool navaids = is_file(joined(folder, "Pnavdata.txt"));
    text += runways && navaids ? "Both data files are there."
            : runways          ? "Prwydata.txt is there, Pnavdata.txt is not."
            : navaids          ? "Pnavdata.txt is there, Prwydata.txt is not."
                               : "No data files yet.";
    return text;
}

std::string backup_name(const std::string &path)
{
    std::string name = path + ".bak";
    size_t slash = path.find_last_of("\\/");
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        dot = path.size();
    for (int n = 2; GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES; n++)
        name = path.substr(0, dot) + "-" + std::to_string(n) + path.substr(dot) + ".bak";
    return name;
}

bool read_whole_file(const std::string &path, std::string &out, size_t limit)
{
    out.clear();
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, 0);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(h, buffer, sizeof buffer, &got, 0) != 0) && got > 0) {
        if (out.size() + got > limit) {
            ok = false;
            SetLastError(ERROR_FILE_TOO_LARGE);
            break;
        }
        out.append(buffer, got);
    }
    CloseHandle(h);
    return ok;
}

std::string install_gauge(const std::string &module, const std::string &folder, bool *ok)
{
    *ok = false;
    const size_t limit = 64u << 20;
    std::string fresh, installed;
    if (!read_whole_file(module, fresh, limit))
        return "Cannot read " + module + " (" + file_ops::last_error_text() +
               "). Unpack the whole zip and run pelmora-setup.exe from there.";
    std::string gauges = joined(folder, "GAUGES");
    if (!is_folder(gauges))
        return "No GAUGES folder in " + folder + ": nothing installed.";
    std::string target = joined(gauges, "PELMORA.GAU");
    if (!is_file(target)) {
        if (!CopyFileA(module.c_str(), target.c_str(), TRUE))
            return "Could not copy PELMORA.GAU into GAUGES: " + file_ops::last_error_text() + ".";
        *ok = true;
        return "Installed PELMORA.GAU into GAUGES.";
    }
    if (!read_whole_file(target, installed, limit))
        return "Cannot read the PELMORA.GAU already in GAUGES (" + file_ops::last_error_text() +
               "): nothing changed.";
    if (installed == fresh) {
        *ok = true;
        return "PELMORA.GAU is already installed (the same file): nothing to do.";
    }
    std::string backup = copy_to_backup(target);
    if (backup.empty())
        return "Could not keep the PELMORA.GAU already in GAUGES (" +
               file_ops::last_error_text() + "): nothing changed.";
    if (!CopyFileA(module.c_str(), target.c_str(), FALSE))
        return "Could not copy PELMORA.GAU into GAUGES (" + file_ops::last_error_text() +
               "; is the simulator running?). The earlier one is also kept as " +
               file_part(backup) + ".";
    *ok = true;
    return "Installed PELMORA.GAU. The different PELMORA.GAU that was there is kept as GAUGES\\" +
           file_part(backup) + ".";
}

std::string replace_with_backup(const std::string &path, const std::string &contents,
                                std::string &backup)
{
    backup = copy_to_backup(path);
    if (backup.empty())
        return "Could not make a backup of " + path + " (" + file_ops::last_error_text() +
               "): the file is not changed.";
    std::string fresh;
    file_ops::RawFile out;
    for (int n = 0; n < 1000; n++) {
        fresh = path + ".pelmora-" + std::to_string(n);
        file_ops::RawFile::Created c = out.create_exclusive(fresh);
        if (c == file_ops::RawFile::Created::ok)
            break;
        if (c == file_ops::RawFile::Created::failed)
            return "Could not write beside " + path + " (" + file_ops::last_error_text() +
                   "): the file is not changed.";
    }
    if (!out.is_open())
        return "Could not write beside " + path + ": the file is not changed.";
    bool written = out.write(contents.data(), contents.size()) && out.sync();
    bool closed = out.close();
    if (!written || !closed || !file_ops::replace_file(fresh, path)) {
        std::string reason = file_ops::last_error_text();
        file_ops::remove_file(fresh);
        return "Could not write " + path + " (" + reason + "): the file is not changed.";
    }
    return std::string();
}
