#include "controls.h"

std::string control_text(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    int length = GetWindowTextLengthA(control);
    std::string text(length + 1, '\0');
    int got = GetWindowTextA(control, &text[0], length + 1);
    text.resize(got > 0 ? got : 0);
    size_t b = text.find_first_not_of(" \t\""), e = text.find_last_not_of(" \t\"");
    return b == std::string::npos ? std::string() : text.substr(b, e - b + 1);
}
