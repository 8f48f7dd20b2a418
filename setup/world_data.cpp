#include "world_data.h"

#include <process.h>

#include "bundled_data.h"
#include "setup_ids.h"

/* Forwards what the run reports to the window, from the worker thread. */
class WindowListener : public ReportListener {
public:
    explicit WindowListener(WorldDataRun &run) : run_(run) {}
    void line(const std::string &text) override { run_.add_line(text); }
    void progress(const std::string &, double fraction) override
    {
        int permille = fraction <= 0 ? 0 : fraction >= 1 ? 1000 : (int)(fraction * 1000);
        if (permille != last_) {
            last_ = permille;
            PostMessageA(run_.window_, WM_SETUP_PROGRESS, (WPARAM)permille, 0);
        }
    }
    bool stop_requested() override { return InterlockedCompareExchange(&run_.stop_, 0, 0) != 0; }

private:
    WorldDataRun &run_;
    int last_ = -1;
};

static void split_prefixes(const std::string &text, std::vector<std::string> &out)
{
    std::string word;
    for (size_t i = 0; i <= text.size(); i++) {
        char c = i < text.size() ? text[i] : ',';
        if (c == ',' || c == ' ' || c == ';' || c == '\t') {
            if (!word.empty())
                out.push_back(word);
            word.clear();
        } else {
            word += (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
        }
    }
}

ConversionRequest make_request(int kind, const std::string &source, const std::string &nav,
                               const std::string &prefixes, bool hard_only, bool icao_only,
                               const std::string &output_dir)
{
    ConversionRequest request;
    switch (kind) {
    case source_scenery:
        request.scenery_dir = output_dir;
        request.scenery_cfg = source;
        break;
    case source_xplane: request.xplane_dir = source; break;
    case source_fgdata: request.flightgear_dir = source; break;
    case source_ourairports: request.ourairports_dir = source; break;
    default:
        if (!source.empty())
            request.apt_files.push_back(source);
        break;
    }
    if (kind == source_ourairports || kind == source_files)
        request.nav_file = nav;
    split_prefixes(prefixes, request.filters.icao_prefixes);
    request.filters.hard_only = hard_only;
    request.filters.icao_only = icao_only;
    request.output_dir = output_dir;
    return request;
}

WorldDataRun::WorldDataRun() { InitializeCriticalSection(&lock_); }

WorldDataRun::~WorldDataRun()
{
    stop();
    finish();
    DeleteCriticalSection(&lock_);
}

bool WorldDataRun::start(HWND window, const ConversionRequest &request, std::string &error)
{
    if (thread_) {
        error = "a conversion is running";
        return false;
    }
    request_ = request;
    install_from_.clear();
    return start_thread(window, error);
}

bool WorldDataRun::start_install(HWND window, const std::string &from, const std::string &to,
                                 std::string &error)
{
    if (thread_) {
        error = "a conversion is running";
        return false;
    }
    request_ = ConversionRequest();
    request_.output_dir = to;
    install_from_ = from;
    return start_thread(window, error);
}

bool WorldDataRun::start_thread(HWND window, std::string &error)
{
    window_ = window;
    result_ = ConversionResult();
    unchanged_ = false;
    InterlockedExchange(&stop_, 0);
    unsigned id = 0;
    thread_ = (HANDLE)_beginthreadex(0, 0, thread_main, this, 0, &id);
    if (!thread_) {
        error = "could not start the conversion";
        return false;
    }
    return true;
}

void WorldDataRun::stop() { InterlockedExchange(&stop_, 1); }

void WorldDataRun::finish()
{
    if (!thread_)
        return;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = 0;
}

std::string WorldDataRun::take_lines()
{
    EnterCriticalSection(&lock_);
    std::string lines;
    lines.swap(pending_);
    LeaveCriticalSection(&lock_);
    return lines;
}

/* Lines gather until the window takes them: one message per batch, so a
 * source with many bad rows cannot flood the window's queue.  Past a
 * megabyte waiting, the oldest half gives way, so the last lines (the
 * summary, what was written) always reach the window. */
void WorldDataRun::add_line(const std::string &text)
{
    std::string line;
    for (char c : text) {
        if (c == '\n')
            line += '\r';
        line += c;
    }
    EnterCriticalSection(&lock_);
    bool was_empty = pending_.empty();
    if (pending_.size() >= (1u << 20)) {
        size_t cut = pending_.find("\r\n", pending_.size() / 2);
        pending_.erase(0, cut == std::string::npos ? pending_.size() : cut + 2);
        pending_.insert(0, "(earlier lines left out)\r\n");
    }
    pending_ += line + "\r\n";
    LeaveCriticalSection(&lock_);
    if (was_empty)
        PostMessageA(window_, WM_SETUP_LINES, 0, 0);
}

unsigned __stdcall WorldDataRun::thread_main(void *self)
{
    WorldDataRun &run = *static_cast<WorldDataRun *>(self);
    Report report;
    WindowListener listener(run);
    report.set_listener(&listener);
#if __cpp_exceptions
    try {
        if (run.install_from_.empty())
            run_conversion(run.request_, report, &run.result_);
        else
            install_bundled_data(run.install_from_, run.request_.output_dir, report, &run.result_,
                                 &run.unchanged_);
    } catch (const std::exception &e) {
        run.add_line(std::string("the conversion failed: ") + e.what() + "\nnothing written");
        run.result_.status = conversion_failed;
    }
#else
    /* Built without exceptions (the 32-bit program): what would have been
     * thrown ends the program instead (tools/runtime/cxx_runtime.cpp). */
    run_conversion(run.request_, report, &run.result_);
#endif
    PostMessageA(run.window_, WM_SETUP_DONE, 0, 0);
    return 0;
}
