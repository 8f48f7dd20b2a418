/*
 * Where the BGL reader's bytes come from: a file read at 64-bit offsets
 * (POSIX pread; Windows ReadFile at an OVERLAPPED offset, the path in the
 * system's 8-bit code page as the other tools take it), or memory.
 */
#include <errno.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "bgl.h"
#include "bgl_records.h"
#include "common/file_ops.h"

namespace {

class MemoryBytes : public BglBytes {
public:
    MemoryBytes(const unsigned char *data, size_t size) : data_(data), size_(size) {}
    unsigned long long size() const override { return size_; }
    bool read_at(unsigned long long offset, void *buffer, size_t size) override
    {
        if (offset > size_ || size > size_ - offset)
            return false;
        memcpy(buffer, data_ + offset, size);
        return true;
    }

private:
    const unsigned char *data_;
    size_t size_;
};

/* One open file, read only. */
class FileBytes : public BglBytes {
public:
    ~FileBytes()
    {
#ifdef _WIN32
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
#else
        if (fd_ >= 0)
            close(fd_);
#endif
    }

    /* False with the system's reason in *error. */
    bool open(const std::string &path, std::string *error)
    {
#ifdef _WIN32
        handle_ = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, 0);
        LARGE_INTEGER size;
        if (handle_ == INVALID_HANDLE_VALUE || !GetFileSizeEx(handle_, &size)) {
            *error = file_ops::last_error_text();
            return false;
        }
        size_ = (unsigned long long)size.QuadPart;
#else
        fd_ = ::open(path.c_str(), O_RDONLY);
        struct stat st;
        if (fd_ < 0 || fstat(fd_, &st) != 0) {
            *error = strerror(errno);
            return false;
        }
        if (!S_ISREG(st.st_mode)) {
            *error = "not a file";
            return false;
        }
        size_ = (unsigned long long)st.st_size;
#endif
        return true;
    }

    unsigned long long size() const override { return size_; }

    bool read_at(unsigned long long offset, void *buffer, size_t size) override
    {
        unsigned char *to = (unsigned char *)buffer;
        while (size > 0) {
            size_t chunk = size > (1u << 30) ? (1u << 30) : size;
#ifdef _WIN32
            OVERLAPPED at;
            memset(&at, 0, sizeof at);
            at.Offset = (DWORD)offset;
            at.OffsetHigh = (DWORD)(offset >> 32);
            DWORD done = 0;
            if (!ReadFile(handle_, to, (DWORD)chunk, &done, &at) || done == 0)
                return false;
#else
            ssize_t done = pread(fd_, to, chunk, (off_t)offset);
            if (done < 0 && errno == EINTR)
                continue;
            if (done <= 0)
                return false;
#endif
            to += done;
            offset += (unsigned long long)done;
            size -= (size_t)done;
        }
        return true;
    }

private:
#ifdef _WIN32
    HANDLE handle_ = INVALID_HANDLE_VALUE;
#else
    int fd_ = -1;
#endif
    unsigned long long size_ = 0;
};

}  // namespace

void read_bgl_file(const std::string &path, BglFile *file)
{
    FileBytes bytes;
    std::string error;
    if (!bytes.open(path, &error)) {
        *file = BglFile();
        file->kind = BglKind::unreadable;
        bgl::add_problem(file, -1, "cannot open: " + error);
        return;
    }
    read_bgl(bytes, file);
}

void read_bgl_memory(const unsigned char *data, size_t size, BglFile *file)
{
    MemoryBytes bytes(data, size);
    read_bgl(bytes, file);
}
