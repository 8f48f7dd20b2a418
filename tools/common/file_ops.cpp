#include "file_ops.h"

#include <errno.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace file_ops {

static std::string folder_or_current(const std::string &directory)
{
    return directory.empty() ? std::string(".") : directory;
}

#ifdef _WIN32

std::string last_error_text()
{
    DWORD code = GetLastError();
    char text[256] = "";
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, 0, code,
                             0, text, sizeof text, 0);
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == '.'))
        text[--n] = 0;
    return n > 0 ? std::string(text) : "error " + std::to_string((unsigned long)code);
}

RawFile::Created RawFile::create_exclusive(const std::string &path)
{
    close();
    /* CREATE_NEW fails on any existing entry, a reparse point included. */
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, 0);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        return code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS ? Created::exists
                                                                         : Created::failed;
    }
    handle_ = h;
    return Created::ok;
}

bool RawFile::is_open() const { return handle_ != 0; }

bool RawFile::write(const char *data, size_t size)
{
    while (size > 0) {
        DWORD chunk = size > (1u << 30) ? (1u << 30) : (DWORD)size, done = 0;
        if (!WriteFile((HANDLE)handle_, data, chunk, &done, 0) || done == 0)
            return false;
        data += done;
        size -= done;
    }
    return true;
}

bool RawFile::sync() { return FlushFileBuffers((HANDLE)handle_) != 0; }

bool RawFile::close()
{
    if (!handle_)
        return true;
    bool ok = CloseHandle((HANDLE)handle_) != 0;
    handle_ = 0;
    return ok;
}

Kind kind_of(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Kind::none;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::other : Kind::file;
}

/* MoveFileExA and CreateHardLinkA are looked up when first needed: the
 * setup window links this code and must load on Windows 98, whose KERNEL32
 * has no CreateHardLinkA and whose MoveFileExA does not work. */
typedef void (*AnyFunction)();
static AnyFunction kernel_function(const char *name)
{
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    return kernel ? (AnyFunction)GetProcAddress(kernel, name) : 0;
}

bool replace_file(const std::string &from, const std::string &to)
{
    typedef BOOL(WINAPI * MoveEx)(LPCSTR, LPCSTR, DWORD);
    static MoveEx move_ex = (MoveEx)kernel_function("MoveFileExA");
    if (move_ex) {
        if (move_ex(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED)
            return false;
    }
    /* Windows 9x has no replacing rename: the old file goes aside under a
     * name of this run's own (the temporary name, lengthened), the new one is
     * renamed in, and only then is the old one removed; when the new one
     * cannot go in, the old one is put back, so a failure loses nothing.  A
     * stop between the calls leaves the old file under the aside name, a
     * moment's window these systems cannot close. */
    const std::string aside = from + ".was";
    DeleteFileA(aside.c_str());
    bool had_old = MoveFileA(to.c_str(), aside.c_str()) != 0;
    if (!had_old && GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    if (!MoveFileA(from.c_str(), to.c_str())) {
        DWORD error = GetLastError();
        if (had_old)
            MoveFileA(aside.c_str(), to.c_str());
        SetLastError(error);
        return false;
    }
    if (had_old)
        DeleteFileA(aside.c_str());
    return true;
}

bool keep_aside(const std::string &path, const std::string &aside)
{
    typedef BOOL(WINAPI * HardLink)(LPCSTR, LPCSTR, LPSECURITY_ATTRIBUTES);
    static HardLink hard_link = (HardLink)kernel_function("CreateHardLinkA");
    if (hard_link && hard_link(aside.c_str(), path.c_str(), 0))
        return true;
    /* FAT and some network shares have no hard links: a copy, then. */
    return CopyFileA(path.c_str(), aside.c_str(), TRUE) != 0;
}

bool remove_file(const std::string &path) { return DeleteFileA(path.c_str()) != 0; }

void sync_directory(const std::string &) {}

std::vector<std::string> list_directory(const std::string &directory)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder_or_current(directory) + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

long current_process_id() { return (long)GetCurrentProcessId(); }

bool process_running(long pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, (DWORD)pid);
    /* Before Vista that right is unknown and refused: ask for the older one. */
    if (!process && GetLastError() == ERROR_ACCESS_DENIED)
        process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, (DWORD)pid);
    if (!process)
        return GetLastError() != ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    bool running = !GetExitCodeProcess(process, &code) || code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

#else

std::string last_error_text() { return strerror(errno); }

RawFile::Created RawFile::create_exclusive(const std::string &path)
{
    close();
    /* O_EXCL: the name must be new; a symbolic link there makes it fail
     * rather than be followed.  O_NOFOLLOW says the same once more. */
    fd_ = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd_ >= 0)
        return Created::ok;
    return errno == EEXIST ? Created::exists : Created::failed;
}

bool RawFile::is_open() const { return fd_ >= 0; }

bool RawFile::write(const char *data, size_t size)
{
    while (size > 0) {
        ssize_t done = ::write(fd_, data, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            if (done == 0)
                errno = ENOSPC;
            return false;
        }
        data += done;
        size -= (size_t)done;
    }
    return true;
}

bool RawFile::sync() { return fsync(fd_) == 0; }

bool RawFile::close()
{
    if (fd_ < 0)
        return true;
    bool ok = ::close(fd_) == 0;
    fd_ = -1;
    return ok;
}

Kind kind_of(const std::string &path)
{
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        return Kind::none;
    return S_ISREG(st.st_mode) || S_ISLNK(st.st_mode) ? Kind::file : Kind::other;
}

bool replace_file(const std::string &from, const std::string &to)
{
    return rename(from.c_str(), to.c_str()) == 0;
}

static bool copy_aside(const std::string &path, const std::string &aside)
{
    int in = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    RawFile out;
    const bool created = out.create_exclusive(aside) == RawFile::Created::ok;
    bool ok = created;
    char block[65536];
    ssize_t n;
    while (ok && (n = read(in, block, sizeof block)) != 0) {
        if (n < 0)
            ok = errno == EINTR;
        else
            ok = out.write(block, (size_t)n);
    }
    ok = ok && out.sync();
    ok = out.close() && ok;
    const int reason = errno;
    ::close(in);
    if (!ok && created)
        unlink(aside.c_str());
    errno = reason;
    return ok;
}

bool keep_aside(const std::string &path, const std::string &aside)
{
    if (link(path.c_str(), aside.c_str()) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    /* File systems without hard links (FAT, some network shares): a copy. */
    return copy_aside(path, aside);
}

bool remove_file(const std::string &path) { return unlink(path.c_str()) == 0; }

void sync_directory(const std::string &directory)
{
    int fd = open(folder_or_current(directory).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        ::close(fd);
    }
}

std::vector<std::string> list_directory(const std::string &directory)
{
    std::vector<std::string> names;
    DIR *dir = opendir(folder_or_current(directory).c_str());
    if (!dir)
        return names;
    while (struct dirent *entry = readdir(dir))
        names.push_back(entry->d_name);
    closedir(dir);
    return names;
}

long current_process_id() { return (long)getpid(); }

bool process_running(long pid)
{
    return pid > 0 && (kill((pid_t)pid, 0) == 0 || errno != ESRCH);
}

#endif

}  // namespace file_ops
