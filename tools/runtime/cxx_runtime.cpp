/*
 * The few C++ runtime routines the 32-bit Windows programs call, in place of
 * the compiler's library copies, which come built for the Pentium Pro and
 * later (and bring the exception machinery with them).  These programs are
 * built without exceptions: what the library would throw (a string or a
 * vector asked to grow past its size limit, a failed allocation) ends the
 * program here with the message the library's terminate handler prints,
 * which is what an uncaught exception did.  The data files are never left
 * half-written by that: a run's new files go in only when both are complete,
 * and the next run clears what a stopped one left.
 *
 * Also here: the guard of a function's static objects, made once even when
 * two threads (the setup window's and its conversion's) reach it together.
 */
#include <windows.h>

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

#include <new>

extern "C" {
#include "start.h"
}

[[noreturn]] static void stop(const char *type, const char *what)
{
    char message[400];
    _snprintf(message, sizeof message - 1,
              "terminate called after throwing an instance of '%s'\n  what():  %s\n", type, what);
    message[sizeof message - 1] = 0;
    fputs(message, stderr);
    if (pelmora_show_fatal)
        pelmora_show_fatal(message);
    abort();
}

void *operator new(size_t size)
{
    void *memory = malloc(size ? size : 1);
    if (!memory)
        stop("std::bad_alloc", "std::bad_alloc");
    return memory;
}

void *operator new[](size_t size)
{
    return operator new(size);
}

void *operator new(size_t size, const std::nothrow_t &) noexcept
{
    return malloc(size ? size : 1);
}

void *operator new[](size_t size, const std::nothrow_t &) noexcept
{
    return malloc(size ? size : 1);
}

void operator delete(void *memory) noexcept
{
    free(memory);
}

void operator delete[](void *memory) noexcept
{
    free(memory);
}

void operator delete(void *memory, size_t) noexcept
{
    free(memory);
}

void operator delete[](void *memory, size_t) noexcept
{
    free(memory);
}

namespace std {

void __throw_bad_alloc()
{
    stop("std::bad_alloc", "std::bad_alloc");
}

void __throw_bad_array_new_length()
{
    stop("std::bad_array_new_length", "std::bad_array_new_length");
}

void __throw_length_error(const char *what)
{
    stop("std::length_error", what);
}

void __throw_logic_error(const char *what)
{
    stop("std::logic_error", what);
}

void __throw_invalid_argument(const char *what)
{
    stop("std::invalid_argument", what);
}

void __throw_out_of_range(const char *what)
{
    stop("std::out_of_range", what);
}

void __throw_out_of_range_fmt(const char *format, ...)
{
    /* The library's messages use %s, %zu and %lu only (a size_t and an
     * unsigned long are both 32 bits here). */
    char what[256];
    size_t n = 0;
    va_list arguments;
    va_start(arguments, format);
    for (const char *at = format; *at && n + 12 < sizeof what; at++) {
        if (at[0] == '%' && at[1] == 's') {
            for (const char *text = va_arg(arguments, const char *); *text && n + 1 < sizeof what;)
                what[n++] = *text++;
            at++;
        } else if (at[0] == '%' && (at[1] == 'z' || at[1] == 'l') && at[2] == 'u') {
            char digits[12];
            int count = 0;
            unsigned long value = va_arg(arguments, unsigned long);
            do
                digits[count++] = (char)('0' + value % 10);
            while (value /= 10);
            while (count)
                what[n++] = digits[--count];
            at += 2;
        } else {
            what[n++] = *at;
        }
    }
    va_end(arguments);
    what[n] = 0;
    stop("std::out_of_range", what);
}

void __throw_bad_function_call()
{
    stop("std::bad_function_call", "bad_function_call");
}

} // namespace std

/* A function's static object is made under one lock that every such object
 * shares (a thread making one can reach another, hence a lock the holder
 * may take again: a critical section).  The guard's first byte says it is
 * made; the compiler's code reads it before calling here. */
static CRITICAL_SECTION statics_lock;

extern "C" void pelmora_runtime_start(void)
{
    InitializeCriticalSection(&statics_lock);
}

extern "C" int __cxa_guard_acquire(long long *guard)
{
    if (*(volatile char *)guard)
        return 0;
    EnterCriticalSection(&statics_lock);
    if (*(volatile char *)guard) {
        LeaveCriticalSection(&statics_lock);
        return 0;
    }
    return 1;
}

extern "C" void __cxa_guard_release(long long *guard)
{
    *(volatile char *)guard = 1;
    LeaveCriticalSection(&statics_lock);
}

extern "C" void __cxa_guard_abort(long long *)
{
    LeaveCriticalSection(&statics_lock);
}
