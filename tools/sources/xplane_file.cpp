#include "xplane_file.h"

#include <math.h>

static const long row_end = 99;
static const long progress_every_lines = 8192;

void XPlaneFile::fail(const std::string &reason)
{
    outcome_->fatal = in_.path() + ":" + std::to_string(in_.line_number()) + ": " + reason;
    outcome_->lines = in_.line_number();
}

/* The next line that is neither blank nor a # comment; false at the end. */
bool XPlaneFile::next_content(Fields *fields)
{
    std::string_view line;
    while (in_.next(&line)) {
        /* A byte-order mark is no part of the first line's text. */
        if (in_.line_number() == 1 && line.substr(0, 3) == "\xEF\xBB\xBF")
            line.remove_prefix(3);
        fields->assign(line);
        if (fields->size() > 0 && (*fields)[0][0] != '#')
            return true;
    }
    return false;
}

bool XPlaneFile::open(const std::string &path, const char *kind, const long *versions,
                      size_t count)
{
    if (!in_.open(path)) {
        outcome_->fatal = path + ": " + in_.error();
        return false;
    }
    /* Files come with or without the origin letter (I for PC, A for Mac)
     * and with blank or comment lines before the version line. */
    Fields head;
    bool got = next_content(&head);
    if (got && head.size() == 1 && (head[0] == "I" || head[0] == "A"))
        got = next_content(&head);
    if (!got || !parse_long(head[0], &version_) || version_ < 100) {
        fail(in_.failed() ? in_.error()
                          : std::string("not an ") + kind +
                                " file: a version line (e.g. 1100 Version ...) is expected,"
                                " after an optional I or A line");
        return false;
    }
    for (size_t i = 0; i < count; i++)
        if (versions[i] == version_)
            return true;
    std::string supported;
    for (size_t i = 0; i < count; i++)
        supported += (i ? ", " : "") + std::to_string(versions[i]);
    fail(std::string("unsupported ") + kind + " version " + std::to_string(version_) +
         " (this converter reads " + supported + ")");
    return false;
}

bool XPlaneFile::next_row(long *code, Fields *fields)
{
    std::string_view line;
    while (in_.next(&line)) {
        outcome_->lines = in_.line_number();
        if (in_.line_number() % progress_every_lines == 0) {
            report_.progress(in_);
            if (report_.stopped()) {
                fail("stopped before the end");
                return false;
            }
        }
        /* The row code alone: most rows of a world file (taxiways, signs,
         * frequencies) are passed over unsplit; the readers split the rows
         * they take. */
        fields->assign(line, 1);
        if (fields->size() == 0 || (*fields)[0][0] == '#')
            continue;
        if (in_.line_was_cut()) {
            bad_row("line longer than " + std::to_string(LineReader::line_room) +
                    " characters: skipped");
            continue;
        }
        if (!parse_long((*fields)[0], code)) {
            bad_row("row code '" + std::string((*fields)[0].substr(0, 16)) + "' is not a number");
            continue;
        }
        if (*code == row_end)
            return false;
        return true;
    }
    report_.end_progress();
    if (in_.failed())
        fail(in_.error());
    else
        without_end_ = true;            /* some files ship without the closing 99 */
    return false;
}

void XPlaneFile::pass_over(long code, bool known)
{
    Unused &u = unused_[code];
    if (u.rows++ == 0) {
        u.first_line = in_.line_number();
        u.known = known;
    }
}

void XPlaneFile::finish()
{
    report_.end_progress();
    std::string text = in_.path() + ": " + std::to_string(in_.line_number()) + " lines read";
    if (without_end_)
        text += " (no closing 99 line)";
    report_.say(text);
    /* Rows this reader has no use for, by row code: the format's own rows
     * that carry nothing for the data files, and codes it does not know
     * (newer versions add some). */
    for (bool known : {true, false}) {
        std::string list;
        for (const auto &u : unused_)
            if (u.second.known == known)
                list += (list.empty() ? "" : ", ") + std::to_string(u.first) + " x" +
                        std::to_string(u.second.rows) +
                        (known ? "" : " (first on line " + std::to_string(u.second.first_line) + ")");
        if (!list.empty())
            report_.say(in_.path() + (known ? ": rows not needed, by row code: "
                                            : ": rows of codes not known here, passed over: ") +
                        list);
    }
}

bool is_known(long code, const long *codes, size_t count)
{
    for (size_t i = 0; i < count; i++)
        if (codes[i] == code)
            return true;
    return false;
}

bool parse_position(std::string_view lat_text, std::string_view lon_text, double *lat,
                           double *lon)
{
    return parse_double(lat_text, lat) && parse_double(lon_text, lon) && fabs(*lat) <= 90 &&
           fabs(*lon) <= 180;
}

