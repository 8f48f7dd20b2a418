/*
 * Plain shell calls of Windows 95 and later: SHBrowseForFolder without the
 * newer dialog style (which needs shell 5), GetOpenFileName with the size of
 * its first structure (which every version takes), the clipboard.
 */
#include "shell.h"

#include <commdlg.h>
#include <shlobj.h>
#include <string.h>

static int CALLBACK folder_picker_event(HWND picker, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data)
        SendMessageA(picker, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

bool pick_folder(HWND owner, const char *title, const std::string &start, std::string &chosen)
{
    char path[MAX_PATH] = "";
    BROWSEINFOA info;
    memset(&info, 0, sizeof info);
    info.hwndOwner = owner;
    info.pszDisplayName = path;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = folder_picker_event;
    info.lParam = start.empty() ? 0 : (LPARAM)start.c_str();
    LPITEMIDLIST list = SHBrowseForFolderA(&info);
    if (!list)
        return false;
    bool ok = SHGetPathFromIDListA(list, path) != 0;
    IMalloc *memory = 0;
    if (SUCCEEDED(SHGetMalloc(&memory))) {
        memory->Free(list);
        memory->Release();
    }
    if (ok)
        chosen = path;
    return ok;
}

bool pick_file(HWND owner, const char *title, const char *filter, const std::string &start,
               std::string &chosen)
{
    char path[MAX_PATH] = "";
    OPENFILENAMEA ofn;
    memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrTitle = title;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (start.size() < sizeof path)
        strcpy(path, start.c_str());
    if (!GetOpenFileNameA(&ofn))
        return false;
    chosen = path;
    return true;
}

bool copy_text(HWND owner, const std::string &text)
{
    if (!OpenClipboard(owner))
        return false;
    bool ok = false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (memory) {
        char *to = (char *)GlobalLock(memory);
        if (to) {
            memcpy(to, text.c_str(), text.size() + 1);
            GlobalUnlock(memory);
            ok = SetClipboardData(CF_TEXT, memory) != 0;
        }
        if (!ok)
            GlobalFree(memory);
    }
    CloseClipboard();
    return ok;
}
