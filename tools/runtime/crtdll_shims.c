/*
 * The C runtime functions that the 32-bit programs (and the mingw pieces
 * linked into them) call under msvcrt.dll's names, for CRTDLL.DLL, which
 * has them under older names or not at all.  Each is what the msvcrt.dll
 * function does, as far as these programs use it.
 */
#include <windows.h>

#include <errno.h>
#include <io.h>
#include <stdint.h>
#include <stdio.h>
#include <sys/stat.h>
#include <time.h>

/* CRTDLL's own _stat, _fstat and _lseek: its struct _stat is msvcrt's
 * struct _stat32, field for field. */
extern int __cdecl crtdll_stat(const char *, struct _stat32 *) __asm__("__stat");
extern int __cdecl crtdll_fstat(int, struct _stat32 *) __asm__("__fstat");
extern long __cdecl crtdll_lseek(int, long, int) __asm__("__lseek");

int __cdecl _stat32(const char *path, struct _stat32 *st)
{
    return crtdll_stat(path, st);
}

/* The 64-bit sizes from the system (files past 2 GB). */
int __cdecl _fstat64(int fd, struct _stat64 *st)
{
    struct _stat32 small;
    if (crtdll_fstat(fd, &small) != 0)
        return -1;
    st->st_dev = small.st_dev;
    st->st_ino = small.st_ino;
    st->st_mode = small.st_mode;
    st->st_nlink = small.st_nlink;
    st->st_uid = small.st_uid;
    st->st_gid = small.st_gid;
    st->st_rdev = small.st_rdev;
    st->st_size = (unsigned long)small.st_size;
    st->st_atime = small.st_atime;
    st->st_mtime = small.st_mtime;
    st->st_ctime = small.st_ctime;
    if (small.st_mode & _S_IFREG) {
        DWORD high = 0;
        DWORD low = GetFileSize((HANDLE)_get_osfhandle(fd), &high);
        if (low != INVALID_FILE_SIZE || GetLastError() == NO_ERROR)
            st->st_size = ((long long)high << 32) | low;
    }
    return 0;
}

/* Callers that take it as a DLL's function go through this pointer. */
int(__cdecl *fstat64_import)(int, struct _stat64 *) __asm__("__imp___fstat64") = _fstat64;

/* Positions within the first 2 GB (zlib asks where its file starts and
 * moves within what it read). */
long long __cdecl _lseeki64(int fd, long long offset, int origin)
{
    if (offset != (long)offset) {
        errno = EINVAL;
        return -1;
    }
    return crtdll_lseek(fd, (long)offset, origin);
}

/* Only zlib's gzopen_w names it, which these programs never call. */
int __cdecl _wopen(const wchar_t *path, int flags, ...)
{
    (void)path;
    (void)flags;
    errno = ENOENT;
    return -1;
}
int(__cdecl *wopen_import)(const wchar_t *, int, ...) __asm__("__imp___wopen") = _wopen;

/* time and gmtime: CRTDLL's time_t is msvcrt's 32-bit one. */
extern __time32_t(__cdecl *crtdll_time)(__time32_t *) __asm__("__imp__time");
extern struct tm *(__cdecl *crtdll_gmtime)(const __time32_t *) __asm__("__imp__gmtime");

static __time32_t __cdecl time32(__time32_t *t)
{
    return crtdll_time(t);
}

static struct tm *__cdecl gmtime32(const __time32_t *t)
{
    return crtdll_gmtime(t);
}

__time32_t(__cdecl *time32_import)(__time32_t *) __asm__("__imp___time32") = time32;
struct tm *(__cdecl *gmtime32_import)(const __time32_t *) __asm__("__imp___gmtime32") = gmtime32;

/* A thread the C runtime DLL serves as its own: CRTDLL.DLL sets up a
 * thread's data when the system tells it of the new thread.  (Windows 95
 * wants the id's address.) */
uintptr_t __cdecl _beginthreadex(void *security, unsigned stack_size,
                                 unsigned(__stdcall *start)(void *), void *argument,
                                 unsigned flags, unsigned *id)
{
    DWORD thread_id = 0;
    HANDLE thread = CreateThread((LPSECURITY_ATTRIBUTES)security, stack_size,
                                 (LPTHREAD_START_ROUTINE)(void *)start, argument, flags,
                                 &thread_id);
    if (!thread) {
        errno = EAGAIN;
        return 0;
    }
    if (id)
        *id = thread_id;
    return (uintptr_t)thread;
}
uintptr_t(__cdecl *beginthreadex_import)(void *, unsigned, unsigned(__stdcall *)(void *), void *,
                                         unsigned, unsigned *) __asm__("__imp___beginthreadex") =
    _beginthreadex;
