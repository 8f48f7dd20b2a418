/*
 * Read before every C++ source of the 32-bit Windows programs (-include):
 * the library's class templates that its own binary carries ready-made
 * (std::string above all) are made in each of our objects instead, with our
 * compiler flags, so that none of the library's copies, built for the
 * Pentium Pro and later, is linked in.
 */
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE 0

/* The C runtime DLL's printf family rather than the compiler's own, which the
 * library's configuration asks for (and which brings floating-point
 * formatting built for the later processors). */
#undef __USE_MINGW_ANSI_STDIO
#define __USE_MINGW_ANSI_STDIO 0
