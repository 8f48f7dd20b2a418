/*
 * Every call from the host into the module goes through CALL_MODULE.  On
 * 32-bit Windows it checks that the routine left the stack pointer where the
 * host's calling convention says it must: a routine of the module built with
 * another convention pops too much or too little, which corrupts the host's
 * stack only on 32-bit.  The host stops at once with a message and status 4
 * rather than running on with a broken stack.  (The host is built with a
 * frame pointer and without deferred pops there, so the check itself stands.)
 */
#ifndef PELMORA_MODULE_CALL_H
#define PELMORA_MODULE_CALL_H

#include <stdint.h>

#if defined(__i386__)
static inline uintptr_t host_stack_pointer()
{
    uintptr_t sp;
    __asm__ volatile("movl %%esp, %0" : "=r"(sp));
    return sp;
}

[[noreturn]] void report_unbalanced_stack(const char *what, long difference);

#define CALL_MODULE(what, call)                                                                 \
    do {                                                                                        \
        uintptr_t stack_before_ = host_stack_pointer();                                         \
        call;                                                                                   \
        uintptr_t stack_after_ = host_stack_pointer();                                          \
        if (stack_after_ != stack_before_)                                                      \
            report_unbalanced_stack(what, (long)(stack_after_ - stack_before_));                \
    } while (0)
#else
#define CALL_MODULE(what, call)                                                                 \
    do {                                                                                        \
        call;                                                                                   \
    } while (0)
#endif

#endif
