/*
 * The panel line: the gauge entry a pilot adds to a panel configuration,
 * shown with its next free number when a panel.cfg is chosen, copied to the
 * clipboard, or added to the chosen window section of that file after a
 * backup, every other byte of the file kept.
 */
#include "panel_line.h"

#include "controls.h"
#include "files.h"
#include "panel_cfg.h"
#include "setup_ids.h"
#include "shell.h"

static const size_t panel_file_limit = 4u << 20;

static std::string chosen_section(PanelLine &p)
{
    HWND box = GetDlgItem(p.dialog, IDC_WINDOW);
    LRESULT index = SendMessageA(box, CB_GETCURSEL, 0, 0);
    if (index < 0)
        return std::string();
    char name[256] = "";
    if (SendMessageA(box, CB_GETLBTEXTLEN, index, 0) >= (LRESULT)sizeof name)
        return std::string();
    SendMessageA(box, CB_GETLBTEXT, index, (LPARAM)name);
    return name;
}

static std::string current_line(PanelLine &p)
{
    BOOL x_ok = FALSE, y_ok = FALSE;
    UINT x = GetDlgItemInt(p.dialog, IDC_X, &x_ok, FALSE);
    UINT y = GetDlgItemInt(p.dialog, IDC_Y, &y_ok, FALSE);
    std::string section = chosen_section(p);
    int number = p.read && !section.empty() ? free_gauge_number(p.text, section) : -1;
    return gauge_line(number, x_ok ? (long)x : 0, y_ok ? (long)y : 0);
}

void panel_line_init(PanelLine &p)
{
    SetDlgItemTextA(p.dialog, IDC_X, "0");
    SetDlgItemTextA(p.dialog, IDC_Y, "0");
    panel_line_update(p);
    SetDlgItemTextA(p.dialog, IDC_PANEL_STATUS,
                    "Add this line to a [WindowNN] section of the aircraft's panel.cfg, NN the "
                    "next free number there; x, y: the button's left and top on that window.");
}

void panel_line_update(PanelLine &p)
{
    SetDlgItemTextA(p.dialog, IDC_PANEL_LINE, current_line(p).c_str());
}

void panel_file_chosen(PanelLine &p)
{
    HWND box = GetDlgItem(p.dialog, IDC_WINDOW);
    std::string was = chosen_section(p);
    SendMessageA(box, CB_RESETCONTENT, 0, 0);
    std::string path = control_text(p.dialog, IDC_PANEL_CFG);
    p.read = !path.empty() && read_whole_file(path, p.text, panel_file_limit);
    std::string status;
    if (path.empty())
        status = "";
    else if (!p.read)
        status = "Cannot read " + path + ".";
    else {
        for (const std::string &name : window_sections(p.text))
            SendMessageA(box, CB_ADDSTRING, 0, (LPARAM)name.c_str());
        if (SendMessageA(box, CB_GETCOUNT, 0, 0) > 0) {
            /* The section chosen before, when the file still has it. */
            LRESULT again = was.empty() ? CB_ERR
                                        : SendMessageA(box, CB_FINDSTRINGEXACT, (WPARAM)-1,
                                                       (LPARAM)was.c_str());
            SendMessageA(box, CB_SETCURSEL, again == CB_ERR ? 0 : again, 0);
            status = "Choose the window section, then Add line. The file is kept as a "
                     ".bak backup first.";
        } else {
            status = "No [WindowNN] section in this file: is it a panel.cfg?";
        }
    }
    EnableWindow(GetDlgItem(p.dialog, IDC_ADD_LINE), SendMessageA(box, CB_GETCOUNT, 0, 0) > 0);
    SetDlgItemTextA(p.dialog, IDC_PANEL_STATUS, status.c_str());
    panel_line_update(p);
}

void panel_browse(PanelLine &p)
{
    std::string chosen;
    if (pick_file(p.dialog, "The aircraft's panel.cfg",
                  "panel.cfg\0panel.cfg\0Panel configurations (*.cfg)\0*.cfg\0\0",
                  control_text(p.dialog, IDC_PANEL_CFG), chosen))
        SetDlgItemTextA(p.dialog, IDC_PANEL_CFG, chosen.c_str());
}

void panel_copy_line(PanelLine &p)
{
    std::string line = current_line(p);
    SetDlgItemTextA(p.dialog, IDC_PANEL_STATUS,
                    copy_text(p.dialog, line) ? ("Copied: " + line).c_str()
                                              : "Could not open the clipboard.");
}

void panel_add_line(PanelLine &p)
{
    /* The file as it is now, not as it was when chosen. */
    panel_file_chosen(p);
    std::string section = chosen_section(p);
    std::string path = control_text(p.dialog, IDC_PANEL_CFG), changed, backup, status;
    std::string line = current_line(p);
    if (!p.read || section.empty())
        return;
    if (section_has_gauge(p.text, section, "PELMORA!V1"))
        status = "[" + section + "] has a PELMORA!V1 line already: the file is not changed.";
    else if (free_gauge_number(p.text, section) < 0 ||
             !add_gauge_line(p.text, section, line, changed))
        status = "[" + section + "] has no free gauge number: the file is not changed.";
    else {
        status = replace_with_backup(path, changed, backup);
        if (status.empty())
            status = "Added " + line + " to [" + section + "]. The file as it was is kept as " +
                     backup.substr(backup.find_last_of("\\/") + 1) + ".";
    }
    /* Read again: the line shown gets the next number. */
    std::string keep = status;
    panel_file_chosen(p);
    SetDlgItemTextA(p.dialog, IDC_PANEL_STATUS, keep.c_str());
}
