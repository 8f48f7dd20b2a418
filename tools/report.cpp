#include "report.h"

#include "line_reader.h"

void Report::clear_progress()
{
    if (progress_shown_) {
        fprintf(out_, "\r%60s\r", "");
        progress_shown_ = false;
    }
}

void Report::error(const std::string &file, long line, const std::string &reason)
{
    errors_++;
    clear_progress();
    fprintf(out_, "%s:%ld: %s\n", file.c_str(), line, reason.c_str());
}

void Report::note(const std::string &file, long line, const std::string &reason)
{
    notes_++;
    if (quiet_)
        return;
    clear_progress();
    fprintf(out_, "%s:%ld: %s\n", file.c_str(), line, reason.c_str());
}

void Report::say(const std::string &text)
{
    clear_progress();
    fprintf(out_, "%s\n", text.c_str());
}

void Report::progress(const LineReader &reader)
{
    if (!progress_on_ || quiet_)
        return;
    int percent = (int)(reader.progress() * 100);
    if (percent == last_percent_ && progress_shown_)
        return;
    last_percent_ = percent;
    fprintf(out_, "\r  reading %s: %3d%%", base_name(reader.path()).c_str(), percent);
    fflush(out_);
    progress_shown_ = true;
}

void Report::end_progress()
{
    clear_progress();
    last_percent_ = -1;
}
