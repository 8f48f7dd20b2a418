/*
 * The setup window's dialog procedure: each message to one handler.  Every
 * action is one button the pilot presses; nothing is remembered between
 * runs, so the window shows only what it finds on the disk now.
 */
#include "setup_window.h"

#include <commctrl.h>

#include <vector>

#include "controls.h"
#include "files.h"
#include "selection/facility_file.h"
#include "setup_ids.h"
#include "shell.h"
#include "sources/scenery_library.h"

static const char *const source_kind_names[source_kinds] = {
    "This simulator's scenery", "World data that comes with this package",
    "X-Plane 11 or 12 folder", "FlightGear FGData folder", "OurAirports folder (CSV files)",
    "apt.dat file (and nav.dat)"};

static int source_kind(HWND dialog)
{
    LRESULT kind = SendDlgItemMessageA(dialog, IDC_SOURCE_KIND, CB_GETCURSEL, 0, 0);
    return kind < 0 || kind >= source_kinds ? source_bundled : (int)kind;
}

static bool is_file(const std::string &path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

/* The package's world data files beside the program. */
static bool bundled_here()
{
    return is_file(program_folder() + RUNWAY_FILE_NAME) &&
           is_file(program_folder() + NAVAID_FILE_NAME);
}

/* The scenery library of a simulator folder (one with GAUGES): its
 * scenery.cfg, or the later release's where that keeps it; empty when
 * there is none. */
static std::string scenery_cfg_of(const std::string &simulator, bool simulator_ok,
                                  std::vector<std::string> *looked)
{
    looked->clear();
    return simulator_ok ? find_scenery_cfg(simulator, looked) : std::string();
}

static void set_log(SetupWindow &w)
{
    /* Older systems hold at most 64 KB in an edit box: keep the latest lines. */
    const size_t keep = 30000;
    if (w.log.size() > keep) {
        size_t cut = w.log.find('\n', w.log.size() - keep);
        w.log.erase(0, cut == std::string::npos ? w.log.size() - keep : cut + 1);
    }
    HWND box = GetDlgItem(w.dialog, IDC_LOG);
    SetWindowTextA(box, w.log.c_str());
    SendMessageA(box, EM_SETSEL, (WPARAM)w.log.size(), (LPARAM)w.log.size());
    SendMessageA(box, EM_SCROLLCARET, 0, 0);
}

static void say(SetupWindow &w, const std::string &text)
{
    w.log += text + "\r\n";
    set_log(w);
}

/* ---- Simulator folder and the gauge ---- */

static bool simulator_checked(SetupWindow &w)
{
    bool ok = false;
    SetDlgItemTextA(w.dialog, IDC_SIM_STATUS,
                    describe_simulator_folder(control_text(w.dialog, IDC_SIM_DIR), &ok).c_str());
    EnableWindow(GetDlgItem(w.dialog, IDC_INSTALL), ok);
    return ok;
}

static void install(SetupWindow &w)
{
    bool ok = false;
    std::string text = install_gauge(program_folder() + "GAUGES\\PELMORA.GAU",
                                     control_text(w.dialog, IDC_SIM_DIR), &ok);
    SetDlgItemTextA(w.dialog, IDC_INSTALL_STATUS, text.c_str());
    simulator_checked(w);
}

static void browse_simulator(SetupWindow &w)
{
    std::string folder;
    if (pick_folder(w.dialog, "The simulator's folder (the one with GAUGES in it):",
                    control_text(w.dialog, IDC_SIM_DIR), folder))
        SetDlgItemTextA(w.dialog, IDC_SIM_DIR, folder.c_str());
}

/* ---- World data ---- */

/* What each source kind lets the pilot set: the two first need nothing but
 * the simulator folder; the package's own files take no filter. */
static void enable_inputs(SetupWindow &w)
{
    int kind = source_kind(w.dialog);
    bool nav = kind == source_ourairports || kind == source_files;
    bool source = kind != source_bundled;
    EnableWindow(GetDlgItem(w.dialog, IDC_NAV), nav);
    EnableWindow(GetDlgItem(w.dialog, IDC_NAV_BROWSE), nav);
    EnableWindow(GetDlgItem(w.dialog, IDC_NAV_LABEL), nav);
    for (int id : {IDC_SOURCE, IDC_SOURCE_BROWSE, IDC_PREFIXES, IDC_HARD_ONLY, IDC_ICAO_ONLY})
        EnableWindow(GetDlgItem(w.dialog, id), source);
}

/* The source field for the kinds whose source the window knows: the
 * simulator's scenery.cfg, the program's own folder.  A text the window put
 * there goes again when the pilot turns to a kind of their own choosing. */
static void fill_source(SetupWindow &w, bool simulator_ok)
{
    int kind = source_kind(w.dialog);
    std::string text;
    if (kind == source_scenery) {
        std::vector<std::string> looked;
        text = scenery_cfg_of(control_text(w.dialog, IDC_SIM_DIR), simulator_ok, &looked);
    } else if (kind == source_bundled) {
        text = program_folder();
    } else {
        if (control_text(w.dialog, IDC_SOURCE) != w.filled_source || w.filled_source.empty())
            return;
    }
    w.filled_source = text;
    SetDlgItemTextA(w.dialog, IDC_SOURCE, text.c_str());
}

/* The kind a pilot who has not chosen one gets: the simulator's own
 * scenery where its folder has a scenery library, else the world data that
 * comes with the package, which needs nothing. */
static void choose_default_source(SetupWindow &w, bool simulator_ok)
{
    if (w.source_picked)
        return;
    std::vector<std::string> looked;
    int kind = !scenery_cfg_of(control_text(w.dialog, IDC_SIM_DIR), simulator_ok, &looked).empty()
                   ? source_scenery
               : bundled_here() ? source_bundled
                                : source_scenery;
    SendDlgItemMessageA(w.dialog, IDC_SOURCE_KIND, CB_SETCURSEL, kind, 0);
    enable_inputs(w);
}

static void simulator_changed(SetupWindow &w)
{
    bool ok = simulator_checked(w);
    choose_default_source(w, ok);
    fill_source(w, ok);
}

static void source_kind_picked(SetupWindow &w)
{
    w.source_picked = true;
    enable_inputs(w);
    fill_source(w, simulator_checked(w));
}

static void browse_source(SetupWindow &w)
{
    int kind = source_kind(w.dialog);
    std::string start = control_text(w.dialog, IDC_SOURCE), chosen;
    bool ok = kind == source_files
                  ? pick_file(w.dialog, "apt.dat",
                              "apt.dat (*.dat, *.gz)\0*.dat;*.gz\0All files\0*.*\0\0", start, chosen)
              : kind == source_scenery
                  ? pick_file(w.dialog, "The simulator's scenery.cfg",
                              "scenery.cfg\0scenery.cfg\0Configuration files (*.cfg)\0*.cfg\0\0",
                              start, chosen)
                  : pick_folder(w.dialog, source_kind_names[kind], start, chosen);
    if (ok)
        SetDlgItemTextA(w.dialog, IDC_SOURCE, chosen.c_str());
}

static void browse_nav(SetupWindow &w)
{
    std::string chosen;
    if (pick_file(w.dialog, "nav.dat", "nav.dat (*.dat, *.gz)\0*.dat;*.gz\0All files\0*.*\0\0",
                  control_text(w.dialog, IDC_NAV), chosen))
        SetDlgItemTextA(w.dialog, IDC_NAV, chosen.c_str());
}

static void set_running(SetupWindow &w, bool running)
{
    static const int inputs[] = {IDC_SIM_DIR, IDC_SIM_BROWSE, IDC_SOURCE_KIND, IDC_SOURCE,
                                 IDC_SOURCE_BROWSE, IDC_PREFIXES, IDC_HARD_ONLY, IDC_ICAO_ONLY,
                                 IDC_MAKE};
    for (int id : inputs)
        EnableWindow(GetDlgItem(w.dialog, id), !running);
    EnableWindow(GetDlgItem(w.dialog, IDC_STOP), running);
    if (running) {
        EnableWindow(GetDlgItem(w.dialog, IDC_NAV), FALSE);
        EnableWindow(GetDlgItem(w.dialog, IDC_NAV_BROWSE), FALSE);
        EnableWindow(GetDlgItem(w.dialog, IDC_INSTALL), FALSE);
        SendMessageA(w.dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(w.dialog, IDC_STOP), TRUE);
    } else {
        enable_inputs(w);
        simulator_checked(w);
        /* The focus leaves the disabled Cancel for Make data files. */
        SendMessageA(w.dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(w.dialog, IDC_MAKE), TRUE);
    }
}

static std::string listed(const std::vector<std::string> &paths)
{
    std::string text;
    for (const std::string &path : paths)
        text += (text.empty() ? "" : ", ") + path;
    return text;
}

static void make_data_files(SetupWindow &w)
{
    w.log.clear();
    std::string simulator = control_text(w.dialog, IDC_SIM_DIR);
    std::string source = control_text(w.dialog, IDC_SOURCE);
    if (!simulator_checked(w)) {
        say(w, "Choose the simulator's folder first (section 1): the data files go there.");
        return;
    }
    int kind = source_kind(w.dialog);
    std::string error;
    if (kind == source_bundled) {
        SendDlgItemMessageA(w.dialog, IDC_PROGRESS, PBM_SETPOS, 0, 0);
        say(w, "Installing the world data that comes with this package ...");
        if (!w.run.start_install(w.dialog, program_folder(), simulator, error)) {
            say(w, error);
            return;
        }
        set_running(w, true);
        return;
    }
    if (source.empty() && kind == source_scenery) {
        std::vector<std::string> looked;
        scenery_cfg_of(simulator, true, &looked);
        say(w, "No scenery.cfg found (looked for " + listed(looked) +
                   "). Browse... to the simulator's scenery.cfg, or choose \"" +
                   source_kind_names[source_bundled] + "\", which needs nothing else.");
        return;
    }
    if (source.empty()) {
        say(w, "Choose where the world data comes from first.");
        return;
    }
    ConversionRequest request = make_request(
        kind, source, control_text(w.dialog, IDC_NAV), control_text(w.dialog, IDC_PREFIXES),
        IsDlgButtonChecked(w.dialog, IDC_HARD_ONLY) == BST_CHECKED,
        IsDlgButtonChecked(w.dialog, IDC_ICAO_ONLY) == BST_CHECKED, simulator);
    SendDlgItemMessageA(w.dialog, IDC_PROGRESS, PBM_SETPOS, 0, 0);
    say(w, (kind == source_scenery ? "Reading the simulator's scenery library " : "Reading ") +
               source + " ...");
    if (!w.run.start(w.dialog, request, error)) {
        say(w, error);
        return;
    }
    set_running(w, true);
}

static void conversion_done(SetupWindow &w)
{
    w.run.finish();
    w.log += w.run.take_lines();
    const ConversionResult &result = w.run.result();
    std::string simulator = control_text(w.dialog, IDC_SIM_DIR);
    if (result.status == conversion_failed) {
        SendDlgItemMessageA(w.dialog, IDC_PROGRESS, PBM_SETPOS, 0, 0);
        say(w, result.stopped ? "Cancelled: your data files are as they were."
                              : "Nothing written: your data files are as they were.");
        if (!result.stopped && source_kind(w.dialog) == source_scenery)
            say(w, std::string("Where the simulator's scenery cannot be read (the releases up to "
                               "2002 keep their navaids in an older format), choose \"") +
                       source_kind_names[source_bundled] + "\": it needs nothing else.");
    } else if (w.run.unchanged()) {
        SendDlgItemMessageA(w.dialog, IDC_PROGRESS, PBM_SETPOS, 1000, 0);
        say(w, "Done: the data files in " + simulator + " are these already; nothing changed.");
    } else {
        SendDlgItemMessageA(w.dialog, IDC_PROGRESS, PBM_SETPOS, 1000, 0);
        const char *skipped = source_kind(w.dialog) == source_scenery
                                  ? "Done, some damaged files or records of the scenery skipped "
                                    "(listed above). "
                                  : "Done, some bad rows of the source skipped (listed above). ";
        say(w, std::string(result.status == conversion_bad_rows ? skipped : "Done. ") +
                   "The new data files are in " + simulator + " (the lines above say which).");
    }
    set_running(w, false);
}

/* ---- The window ---- */

static void init(SetupWindow &w)
{
    for (const char *name : source_kind_names)
        SendDlgItemMessageA(w.dialog, IDC_SOURCE_KIND, CB_ADDSTRING, 0, (LPARAM)name);
    SendDlgItemMessageA(w.dialog, IDC_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, 1000));
    simulator_changed(w);
    w.panel.dialog = w.dialog;
    panel_line_init(w.panel);
}

static void command(SetupWindow &w, int id, int code)
{
    switch (id) {
    case IDC_SIM_DIR: if (code == EN_CHANGE) simulator_changed(w); break;
    case IDC_SIM_BROWSE: browse_simulator(w); break;
    case IDC_INSTALL: install(w); break;
    case IDC_SOURCE_KIND: if (code == CBN_SELCHANGE) source_kind_picked(w); break;
    case IDC_SOURCE_BROWSE: browse_source(w); break;
    case IDC_NAV_BROWSE: browse_nav(w); break;
    case IDC_MAKE: make_data_files(w); break;
    case IDC_STOP:
        w.run.stop();
        EnableWindow(GetDlgItem(w.dialog, IDC_STOP), FALSE);
        say(w, "Stopping ...");
        break;
    case IDC_X:
    case IDC_Y: if (code == EN_CHANGE) panel_line_update(w.panel); break;
    case IDC_WINDOW: if (code == CBN_SELCHANGE) panel_line_update(w.panel); break;
    case IDC_PANEL_CFG: if (code == EN_CHANGE) panel_file_chosen(w.panel); break;
    case IDC_PANEL_BROWSE: panel_browse(w.panel); break;
    case IDC_COPY: panel_copy_line(w.panel); break;
    case IDC_ADD_LINE: panel_add_line(w.panel); break;
    case IDCANCEL:
        /* A running conversion stops and writes nothing. */
        w.run.stop();
        w.run.finish();
        EndDialog(w.dialog, 0);
        break;
    }
}

INT_PTR CALLBACK setup_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    SetupWindow *w = (SetupWindow *)GetWindowLongPtrA(dialog, DWLP_USER);
    switch (message) {
    case WM_INITDIALOG:
        w = (SetupWindow *)lparam;
        w->dialog = dialog;
        SetWindowLongPtrA(dialog, DWLP_USER, (LONG_PTR)w);
        init(*w);
        return TRUE;
    case WM_COMMAND:
        if (w)
            command(*w, LOWORD(wparam), HIWORD(wparam));
        return TRUE;
    case WM_SETUP_LINES:
        if (w) {
            w->log += w->run.take_lines();
            set_log(*w);
        }
        return TRUE;
    case WM_SETUP_PROGRESS:
        SendDlgItemMessageA(dialog, IDC_PROGRESS, PBM_SETPOS, wparam, 0);
        return TRUE;
    case WM_SETUP_DONE:
        if (w)
            conversion_done(*w);
        return TRUE;
    }
    return FALSE;
}
