#include "report.h"

#include "line_reader.h"

void Report::clear_progress()
{
    if (progress_shown_) {
        fprintf(out_, "\r%60s\r", "");
        progress_shown_ = false;
    }
}

/* One message line, to the listener or the stream. */
void Report::emit(const std::string &text)
{
    if (listener_) {
        listener_->line(text);
        return;
    }
    clear_progress();
    fprintf(out_, "%s\n", text.c_str());
}

static std::string placed(const std::string &file, long line, const std::string &reason)
{
    return line < 0 ? file + ": " + reason : file + ":" + std::to_string(line) + ": " + reason;
}

void Report::error(const std::string &file, long line, const std::string &reason)
{
    errors_++;
    emit(placed(file, line, reason));
}

void Report::error(const std::string &placed_text)
{
    errors_++;
    emit(placed_text);
}

void Report::note(const std::string &file, long line, const std::string &reason)
{
    notes_++;
    if (quiet_)
        return;
    emit(placed(file, line, reason));
}

void Report::say(const std::string &text)
{
    emit(text);
}

void Report::progress(const LineReader &reader)
{
    progress(base_name(reader.path()), reader.progress());
}

void Report::progress(const std::string &what, double fraction)
{
    if (listener_) {
        listener_->progress(what, fraction);
        if (listener_->stop_requested())
            stopped_ = true;
        return;
    }
    if (!progress_on_ || quiet_)
        return;
    int percent = (int)(fraction * 100);
    if (percent == last_percent_ && progress_shown_)
        return;
    last_percent_ = percent;
    fprintf(out_, "\r  reading %s: %3d%%", what.c_str(), percent);
    fflush(out_);
    progress_shown_ = true;
}

void Report::end_progress()
{
    clear_progress();
    last_percent_ = -1;
}
