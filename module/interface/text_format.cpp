#include "text_format.h"

#include <stdarg.h>
#include <stdio.h>

int format_text(char *out, size_t room, const char *format, ...)
{
    if (room == 0)
        return 0;
    va_list arguments;
    va_start(arguments, format);
#ifdef _WIN32
    /* The runtime DLL's _vsnprintf writes at most its count, and neither
     * terminates nor says the length when the text fills or passes it. */
    int n = _vsnprintf(out, room - 1, format, arguments);
#else
    int n = vsnprintf(out, room, format, arguments);
#endif
    va_end(arguments);
    if (n < 0 || (size_t)n > room - 1)
        n = (int)(room - 1);
    out[n] = 0;
    return n;
}
