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

ConversionStatus failed(Report &report, ConversionResult *result, const std::string &why)
{
    result->stopped = report.stopped();
    report.say((result->stopped ? std::string("stopped") : why) + "\nnothing written");
    return result->status = conversion_failed;
}

/* Longest line the gauge reads as one record. */
const size_t record_room = 989;

/* What is wrong with one line of a data file as the gauge would read it,
 * by pelmora-check's rules for a record; empty when nothing. */
std::string line_fault(std::string_view line, DataKind kind, long number)
{
    if (line.size() > record_room)
        return "longer than the " + std::to_string(record_room) + " characters the gauge reads";
    for (char c : line)
        if ((unsigned char)c < 0x20 && c != '\t')
            return "a control byte in the text";
    std::vector<Finding> findings;
    std::string record(line);
    if (kind == DataKind::runways)
        check_runway_record(record.c_str(), number, &findings);
    else
        check_navaid_record(record.c_str(), number, &findings);
    return findings.empty() ? std::string() : findings[0].reason;
}

/* The file's lines into out, each read as the gauge reads it first, the
 * progress reported; false with *error (damage, a read error) or on a
 * stop. */
bool copy_checked(const std::string &path, DataKind kind, OutputFile &out, Report &report,
                  long *lines, std::string *error)
{
    LineReader reader;
    if (!reader.open(path)) {
        *error = "cannot read " + path + ": " + reader.error();
        return false;
    }
    std::string_view line;
    while (reader.next(&line)) {
        std::string fault = reader.line_was_cut() ? "a line far too long"
                                                  : line_fault(line, kind, reader.line_number());
        if (!fault.empty()) {
            *error = path + " is damaged (line " + std::to_string(reader.line_number()) + ": " +
                     fault + "): unpack the zip again";
            return false;
        }
        out.write_line(std::string(line));
        report.progress(reader);
        if (report.stopped())
            return false;
    }
    if (reader.failed()) {
        *error = "cannot read " + path + ": " + reader.error();
        return false;
    }
    *lines = reader.line_number();
    if (*lines == 0)
        *error = path + " is empty: unpack the zip again";
    return *lines > 0;
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
    struct DataFile {
        const char *name;
        DataKind kind;
        std::string from, to;
        long lines;
    } parts[2] = {{RUNWAY_FILE_NAME, DataKind::runways, "", "", 0},
                  {NAVAID_FILE_NAME, DataKind::navaids, "", "", 0}};
    for (DataFile &p : parts) {
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

    /* Each line read as the gauge reads it on its way: nothing goes in from
     * a damaged or cut file. */
    OutputPair pair;
    std::string error;
    if (!pair.open(to_dir, true, true, true, &error))
        return failed(report, result, error);
    OutputFile *outs[2] = {&pair.runways, &pair.navaids};
    for (int i = 0; i < 2; i++)
        if (!copy_checked(parts[i].from, parts[i].kind, *outs[i], report, &parts[i].lines,
                          &error)) {
            pair.discard();
            return failed(report, result, error);
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
    for (const DataFile &p : parts)
        report.say("wrote " + p.to + " (" + std::to_string(p.lines) + " lines)");
    return result->status = conversion_clean;
}
