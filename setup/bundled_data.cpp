#include "bundled_data.h"

#include <stdio.h>
#include <string.h>

#include <vector>

#include "check/check.h"
#include "common/line_reader.h"
#include "convert/output_files.h"
#include "selection/facility_file.h"

namespace {

std::string joined(const std::string &folder, const char *name)
{
    if (folder.empty())
        return name;
    char last = folder[folder.size() - 1];
    return folder + (last == '/' || last == '\\' ? "" : "/") + name;
}

/* Whether the two files hold the same bytes; false when either cannot be
 * read. */
bool same_bytes(const std::string &a, const std::string &b)
{
    FILE *fa = fopen(a.c_str(), "rb");
    FILE *fb = fa ? fopen(b.c_str(), "rb") : nullptr;
    bool same = fa && fb;
    std::vector<char> ba(65536), bb(65536);
    while (same) {
        size_t na = fread(ba.data(), 1, ba.size(), fa);
        size_t nb = fread(bb.data(), 1, bb.size(), fb);
        if (na != nb || memcmp(ba.data(), bb.data(), na) != 0 || ferror(fa) || ferror(fb))
            same = false;
        else if (na == 0)
            break;
    }
    if (fa)
        fclose(fa);
    if (fb)
        fclose(fb);
    return same;
}

/* The first finding of a file and how many there are. */
class FirstFinding : public FindingSink {
public:
    void finding(const Finding &f) override
    {
        if (count_++ == 0)
            first_ = f;
    }
    long count() const { return count_; }
    const Finding &first() const { return first_; }

private:
    long count_ = 0;
    Finding first_;
};

ConversionStatus failed(Report &report, ConversionResult *result, const std::string &why)
{
    result->stopped = report.stopped();
    report.say((result->stopped ? std::string("stopped") : why) + "\nnothing written");
    return result->status = conversion_failed;
}

/* The file's lines into out, one by one, the progress reported. */
bool copy_lines(const std::string &path, OutputFile &out, Report &report, std::string *error)
{
    LineReader reader;
    if (!reader.open(path)) {
        *error = reader.error();
        return false;
    }
    std::string_view line;
    while (reader.next(&line)) {
        out.write_line(std::string(line));
        report.progress(reader);
        if (report.stopped())
            return false;
    }
    if (reader.failed()) {
        *error = reader.error();
        return false;
    }
    return true;
}

}  // namespace

std::string bundled_data_cycle(const std::string &from_dir)
{
    FILE *f = fopen(joined(from_dir, BUNDLED_README_NAME).c_str(), "rb");
    if (!f)
        return std::string();
    char text[8192];
    size_t n = fread(text, 1, sizeof text - 1, f);
    fclose(f);
    text[n] = '\0';
    const char *at = strstr(text, "data cycle ");
    if (!at)
        return std::string();
    at += strlen("data cycle ");
    size_t length = strspn(at, "0123456789.");
    while (length > 0 && at[length - 1] == '.')
        length--;
    return std::string(at, length);
}

ConversionStatus install_bundled_data(const std::string &from_dir, const std::string &to_dir,
                                      Report &report, ConversionResult *result, bool *unchanged)
{
    *result = ConversionResult();
    *unchanged = false;
    struct Part {
        const char *name;
        DataKind kind;
        std::string from, to;
        long lines;
    } parts[2] = {{RUNWAY_FILE_NAME, DataKind::runways, "", "", 0},
                  {NAVAID_FILE_NAME, DataKind::navaids, "", "", 0}};
    for (Part &p : parts) {
        p.from = joined(from_dir, p.name);
        p.to = joined(to_dir, p.name);
        if (file_ops::kind_of(p.from) != file_ops::Kind::file)
            return failed(report, result,
                          std::string("this package has no ") + p.name + " beside the program (" +
                              p.from + "): unpack the whole zip and run the program from there");
    }
    if (same_bytes(parts[0].from, parts[0].to) && same_bytes(parts[1].from, parts[1].to)) {
        *unchanged = true;
        report.say("the data files in " + to_dir +
                   " are the world data that comes with this package already: nothing changed");
        return result->status = conversion_clean;
    }

    /* Read through first, as the gauge reads them: nothing goes in from a
     * damaged or cut file. */
    for (Part &p : parts) {
        FirstFinding findings;
        CheckSummary summary;
        std::string error;
        if (!check_data_file(p.from, p.kind, &findings, &summary, &error))
            return failed(report, result, "cannot read " + p.from + ": " + error);
        if (findings.count() > 0)
            return failed(report, result,
                          p.from + " is damaged (" + std::to_string(findings.count()) +
                              (findings.count() == 1 ? " finding" : " findings") + "; line " +
                              std::to_string(findings.first().line) + ": " +
                              findings.first().reason + "): unpack the zip again");
        if (summary.lines == 0)
            return failed(report, result, p.from + " is empty: unpack the zip again");
        p.lines = summary.lines;
        if (report.poll_stop())
            return failed(report, result, "");
    }

    OutputPair pair;
    std::string error;
    if (!pair.open(to_dir, true, true, true, &error))
        return failed(report, result, error);
    OutputFile *outs[2] = {&pair.runways, &pair.navaids};
    for (int i = 0; i < 2; i++)
        if (!copy_lines(parts[i].from, *outs[i], report, &error)) {
            pair.discard();
            return failed(report, result, "cannot read " + parts[i].from + ": " + error);
        }
    /* The last moment a stop is honoured: after it the pair goes in. */
    if (report.poll_stop()) {
        pair.discard();
        return failed(report, result, "");
    }
    if (!pair.commit(&error)) {
        report.say(error); /* says what was written */
        return result->status = conversion_failed;
    }
    result->airports_written = parts[0].lines;
    result->navaids_written = parts[1].lines;
    std::string cycle = bundled_data_cycle(from_dir);
    result->summary = "world data that comes with this package: " +
                      std::to_string(parts[0].lines) + " airports, " +
                      std::to_string(parts[1].lines) + " navaids" +
                      (cycle.empty() ? std::string(" (real-world frequencies")
                                     : ", data cycle " + cycle +
                                           " (real-world frequencies of that cycle") +
                      ", not your simulator's; " + BUNDLED_README_NAME + " says more)";
    report.say(result->summary);
    for (const Part &p : parts)
        report.say("wrote " + p.to + " (" + std::to_string(p.lines) + " lines)");
    return result->status = conversion_clean;
}
