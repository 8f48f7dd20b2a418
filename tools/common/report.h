/*
 * What the converter tells its user: one `file:line: reason` line per finding
 * on standard error, counters for the closing summary, and the progress
 * indicator.
 *
 * Two kinds of finding:
 *   - errors: rows that could not be read (short rows, bad numbers, unknown
 *     row codes).  Each skips its row; any error makes the exit status 1.
 *   - notes: facts of the data worth knowing (a duplicate airport, a
 *     localizer that joins no runway, an offset localizer).  They do not
 *     change the exit status, and --quiet hides them.
 * Fatal problems (I/O, unsupported version, wrong format, damaged gzip) are
 * not reported here: they stop the run in the caller.
 */
#ifndef PELMORA_TOOLS_REPORT_H
#define PELMORA_TOOLS_REPORT_H

#include <stdio.h>

#include <string>

class LineReader;

/* A receiver of what a run reports, for a caller that shows it elsewhere
 * than on a stream (a window): whole message lines, the progress through
 * the file being read, and whether the run is to stop. */
class ReportListener {
public:
    virtual ~ReportListener() {}
    virtual void line(const std::string &text) = 0;
    /* fraction: 0 to 1 through file (its name without folders). */
    virtual void progress(const std::string &file, double fraction) = 0;
    /* Asked at every progress step; true makes the run stop early. */
    virtual bool stop_requested() = 0;
};

class Report {
public:
    explicit Report(FILE *out = stderr) : out_(out) {}

    /* Messages and progress go to listener instead of the stream. */
    void set_listener(ReportListener *listener) { listener_ = listener; }
    /* True once the listener has asked the run to stop: the readers then end
     * early and the run writes nothing. */
    bool stopped() const { return stopped_; }
    /* Asks the listener now, between progress steps: a stop asked for at
     * any moment before the files are committed is honoured. */
    bool poll_stop()
    {
        if (listener_ && listener_->stop_requested())
            stopped_ = true;
        return stopped_;
    }

    void set_quiet(bool quiet) { quiet_ = quiet; }
    void set_progress(bool on) { progress_on_ = on; }

    /* line negative: a place that is no line (file holds it, e.g. "X.BGL:
     * offset 1234"), written as "file: reason". */
    void error(const std::string &file, long line, const std::string &reason);
    void note(const std::string &file, long line, const std::string &reason);
    /* An error whose text names its own place ("scenery.cfg:12: ..."). */
    void error(const std::string &placed_text);
    /* A message that names no line (whole-file facts). */
    void say(const std::string &text);

    long errors() const { return errors_; }
    long notes() const { return notes_; }

    /* Redraws the progress line of a terminal at most once per percent. */
    void progress(const LineReader &reader);
    /* The same for a reader that moves by other steps (files of a folder):
     * fraction 0 to 1, what names the file being read. */
    void progress(const std::string &what, double fraction);
    void end_progress();

private:
    void clear_progress();
    void emit(const std::string &text);

    FILE *out_;
    ReportListener *listener_ = nullptr;
    bool stopped_ = false;
    bool quiet_ = false;
    bool progress_on_ = false;
    bool progress_shown_ = false;
    int last_percent_ = -1;
    long errors_ = 0;
    long notes_ = 0;
};

#endif
