/*
 * The conversion on a worker thread, for the setup window: the same
 * run_conversion the command-line converter runs (or the installation of
 * the world data that comes with the package, bundled_data.h), its messages
 * and progress posted to the window, and a stop the window can ask for.
 * The window stays responsive; the files are committed all or nothing.
 */
#ifndef PELMORA_SETUP_WORLD_DATA_H
#define PELMORA_SETUP_WORLD_DATA_H

#include <windows.h>

#include <string>

#include "job/conversion.h"

/* Posted to the window: new lines to take (take_lines), the progress in
 * thousandths (wParam), and the end of the run (finish, then result). */
#define WM_SETUP_LINES (WM_APP + 1)
#define WM_SETUP_PROGRESS (WM_APP + 2)
#define WM_SETUP_DONE (WM_APP + 3)

/* The request for one source kind (setup_ids.h; not source_bundled) and the
 * window's fields; the prefixes are split at commas and blanks.  For the
 * simulator's scenery, source is its scenery.cfg and output_dir the
 * simulator's folder. */
ConversionRequest make_request(int kind, const std::string &source, const std::string &nav,
                               const std::string &prefixes, bool hard_only, bool icao_only,
                               const std::string &output_dir);

class WorldDataRun {
public:
    WorldDataRun();
    ~WorldDataRun();

    /* Starts the run; false (with the reason) when no thread could start. */
    bool start(HWND window, const ConversionRequest &request, std::string &error);
    /* The same for installing the world data beside the program (from) into
     * the simulator's folder (to). */
    bool start_install(HWND window, const std::string &from, const std::string &to,
                       std::string &error);
    bool running() const { return thread_ != 0; }
    /* Asks the run to stop at its next progress step. */
    void stop();
    /* Waits for the thread after WM_SETUP_DONE (or to end it on closing). */
    void finish();
    /* The lines reported since the last call, each ended by CR LF. */
    std::string take_lines();
    const ConversionResult &result() const { return result_; }
    /* The installation found these very files there already. */
    bool unchanged() const { return unchanged_; }

private:
    friend class WindowListener;
    static unsigned __stdcall thread_main(void *self);
    bool start_thread(HWND window, std::string &error);
    void add_line(const std::string &text);

    HWND window_ = 0;
    HANDLE thread_ = 0;
    volatile LONG stop_ = 0;
    CRITICAL_SECTION lock_;
    std::string pending_;
    ConversionRequest request_;
    std::string install_from_;           /* non-empty: an installation, into request_.output_dir */
    ConversionResult result_;
    bool unchanged_ = false;
};

#endif
