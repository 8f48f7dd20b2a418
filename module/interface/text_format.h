/*
 * Formatted text the way the C library's snprintf gives it, through the C
 * runtime the build runs on: on Windows the system's C runtime DLL's own
 * _vsnprintf (CRTDLL.DLL for the shipped module, which every Windows 95 and
 * NT has), elsewhere vsnprintf.  One function, so that the module carries no
 * formatting code of its own compiler's runtime (whose printf and its
 * floating-point formatting are built for later processors than the
 * simulator's) and the portable core formats the same way everywhere.
 */
#ifndef PELMORA_TEXT_FORMAT_H
#define PELMORA_TEXT_FORMAT_H

#include <stddef.h>

/* Writes format's text into out, which has room characters, the zero
 * included: cut at room - 1 characters, and always terminated when room is
 * not 0 (as C's snprintf).  Returns the characters written, the zero not
 * counted (unlike snprintf, not the length the whole text would have). */
int format_text(char *out, size_t room, const char *format, ...)
#ifdef __GNUC__
    __attribute__((format(printf, 3, 4)))
#endif
    ;

#endif
