#include "check.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "selection/facility_file.h"
#include "selection/searches.h"

static const int runway_tokens = 2 + max_runways;   /* code, name, descriptors */
static const int descriptor_parts = 5;
static const size_t course_digits_room = 3;
static const size_t ndb_frequency_room = 9;         /* whole kHz the tuning reads */
static const unsigned char ctrl_z = 26;

/* Text of a token for a message: quoted, long ones shortened. */
static std::string shown(const char *start, size_t length)
{
    const size_t show = 24;
    if (length <= show)
        return "'" + std::string(start, length) + "'";
    return "'" + std::string(start, show) + "...'";
}

static std::string shown(const char *text)
{
    return shown(text, strlen(text));
}

static void add(std::vector<Finding> *findings, long line, const std::string &reason)
{
    findings->push_back(Finding{line, reason});
}

static bool has_lower_case(const char *start, size_t length)
{
    for (size_t i = 0; i < length; i++)
        if (start[i] >= 'a' && start[i] <= 'z')
            return true;
    return false;
}

static bool all_digits(const char *s, size_t length)
{
    if (length == 0)
        return false;
    for (size_t i = 0; i < length; i++)
        if (s[i] < '0' || s[i] > '9')
            return false;
    return true;
}

/* Three digits, a point and two digits: the form the tuning takes apart at
 * fixed places. */
static bool is_mhz_text(const char *s)
{
    return strlen(s) == 6 && all_digits(s, 3) && s[3] == '.' && all_digits(s + 4, 2);
}

static void check_room(std::vector<Finding> *findings, long number, const char *what,
                       const char *start, size_t length, size_t room)
{
    if (length > room)
        add(findings, number,
            std::string(what) + " " + shown(start, length) + " is " + std::to_string(length) +
                " characters: only " + std::to_string(room) + " are read");
}

static void check_code_and_name(std::vector<Finding> *findings, long number, int index,
                                const char *start, size_t length)
{
    if (index == 0 && has_lower_case(start, length))
        add(findings, number,
            "code " + shown(start, length) + " has lower-case letters: only the exact test finds it");
    if (index == 1 && has_lower_case(start, length))
        add(findings, number,
            "name " + shown(start, length) +
                " has lower-case letters: the name search, typed in upper case, misses them");
}

/* The parts of one descriptor as the module reads it: cut to its work room,
 * underscores from the second character on turned into blanks. */
static void check_descriptor(const char *descriptor, int runway, long number,
                             std::vector<Finding> *findings)
{
    char work[descriptor_work_room + 1];
    copy_field(work, descriptor_work_room, descriptor, strlen(descriptor));
    for (char *p = work + (work[0] ? 1 : 0); *p; p++)
        if (*p == '_')
            *p = ' ';
    static const char *const part_names[descriptor_parts] = {"part 1", "part 2", "part 3",
                                                            "frequency", "course"};
    static const size_t part_rooms[descriptor_parts] = {part1_room, part2_room, part3_room,
                                                        frequency_room, course_room};
    const std::string where = "runway " + std::to_string(runway) + " " + shown(descriptor);
    const char *cursor = work;
    const char *start;
    size_t length;
    int parts = 0;
    while (parts < descriptor_parts && next_token(&cursor, &start, &length)) {
        check_room(findings, number, (where + " " + part_names[parts]).c_str(), start, length,
                   part_rooms[parts]);
        parts++;
    }
    if (parts < descriptor_parts) {
        add(findings, number,
            where + " has " + std::to_string(parts) +
                " parts: five are expected (designator_ident_length_frequency_course)");
        return;
    }
    RunwayDescriptor rw;
    read_runway_descriptor(descriptor, &rw);
    if (strcmp(rw.frequency, "0") != 0 && !is_mhz_text(rw.frequency))
        add(findings, number,
            where + " frequency " + shown(rw.frequency) +
                " is not three digits, a point and two digits (nor 0)");
    size_t course_length = strlen(rw.course);
    if (!all_digits(rw.course, course_length) || course_length > course_digits_room ||
        atoi(rw.course) > 360)
        add(findings, number,
            where + " course " + shown(rw.course) + " is not whole degrees (up to 360)");
}

void check_runway_record(const char *text, long number, std::vector<Finding> *findings)
{
    const char *cursor = text;
    const char *start;
    size_t length;
    int tokens = 0;
    while (next_token(&cursor, &start, &length)) {
        if (tokens == 0)
            check_room(findings, number, "code", start, length, airport_code_room);
        else if (tokens == 1)
            check_room(findings, number, "name", start, length, airport_name_room);
        else if (tokens < runway_tokens)
            check_room(findings, number,
                       ("runway " + std::to_string(tokens - 1)).c_str(), start, length,
                       tokens - 2 < 2 ? runway_room_first : runway_room);
        check_code_and_name(findings, number, tokens, start, length);
        tokens++;
    }
    if (tokens == 0) {
        add(findings, number, "blank line: reads as an airport without a code");
        return;
    }
    if (tokens > runway_tokens)
        add(findings, number,
            std::to_string(tokens - 2) + " runway descriptors: only the first " +
                std::to_string(max_runways) + " are read");
    std::unique_ptr<AirportRecord> record(new AirportRecord);
    read_airport_record(text, record.get());
    for (int i = 0; i < record->runway_count; i++)
        check_descriptor(record->runways[i], i + 1, number, findings);
}

void check_navaid_record(const char *text, long number, std::vector<Finding> *findings)
{
    static const char *const field_names[] = {"code", "name", "type", "frequency"};
    const char *cursor = text;
    const char *start;
    size_t length;
    int tokens = 0;
    while (tokens < 4 && next_token(&cursor, &start, &length)) {
        check_room(findings, number, field_names[tokens], start, length, navaid_field_room);
        check_code_and_name(findings, number, tokens, start, length);
        tokens++;
    }
    if (tokens == 0) {
        add(findings, number, "blank line: lists as an empty navaid");
        return;
    }
    if (tokens < 4) {
        add(findings, number,
            std::to_string(tokens) + " fields: four are expected (code name type frequency)");
        return;
    }
    NavaidRecord navaid;
    read_navaid_record(text, &navaid);
    if (equals_ignoring_case(navaid.type, "VOR")) {
        if (!is_mhz_text(navaid.frequency))
            add(findings, number,
                "VOR frequency " + shown(navaid.frequency) +
                    " is not three digits, a point and two digits");
        return;
    }
    if (!equals_ignoring_case(navaid.type, "NDB"))
        add(findings, number,
            "type " + shown(navaid.type) + " is not VOR: it is tuned on the ADF as an NDB");
    size_t n = strlen(navaid.frequency);
    if (!all_digits(navaid.frequency, n) || n > ndb_frequency_room)
        add(findings, number, "NDB frequency " + shown(navaid.frequency) + " is not whole kHz");
}

bool data_kind_from_name(const std::string &path, DataKind *kind)
{
    size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (equals_ignoring_case(name.c_str(), RUNWAY_FILE_NAME))
        *kind = DataKind::runways;
    else if (equals_ignoring_case(name.c_str(), NAVAID_FILE_NAME))
        *kind = DataKind::navaids;
    else
        return false;
    return true;
}

/* The bytes that the module's reader treats specially: a Ctrl-Z before the
 * last byte and NUL bytes.  Lines are counted by LF, as the reader does. */
static bool scan_bytes(const std::string &path, std::vector<Finding> *findings,
                       std::string *error)
{
    FILE *f = fopen(path.c_str(), "rb");
    if (!f) {
        *error = strerror(errno);
        return false;
    }
    unsigned char block[64 * 1024];
    long line = 1, last_nul_line = 0;
    long long offset = 0, ctrl_z_at = -1;
    long ctrl_z_line = 0;
    size_t n;
    while ((n = fread(block, 1, sizeof block, f)) > 0) {
        for (size_t i = 0; i < n && ctrl_z_at < 0; i++) {
            if (block[i] == ctrl_z) {
                ctrl_z_at = offset + (long long)i;
                ctrl_z_line = line;
            } else if (block[i] == 0 && last_nul_line != line) {
                add(findings, line, "NUL byte: the rest of the line is not read");
                last_nul_line = line;
            } else if (block[i] == '\n') {
                line++;
            }
        }
        offset += (long long)n;
    }
    bool read_error = ferror(f) != 0;
    fclose(f);
    if (read_error) {
        *error = "read error";
        return false;
    }
    if (ctrl_z_at >= 0 && ctrl_z_at + 1 < offset)
        add(findings, ctrl_z_line,
            "Ctrl-Z (byte 26) before the end: the " + std::to_string(offset - ctrl_z_at - 1) +
                " bytes after it are never read");
    return true;
}

/* Duplicate codes of the runway file, compared as the exact test does. */
static std::string folded_code(const char *line)
{
    LeadingFields f;
    read_leading_fields(line, &f);
    std::string code = f.code;
    for (char &c : code)
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
    return code;
}

bool check_data_file(const std::string &path, DataKind kind, CheckResult *result,
                     std::string *error)
{
    std::unique_ptr<FacilityFile> file(new FacilityFile);
    if (!facility_open(file.get(), path.c_str())) {
        *error = strerror(errno);
        return false;
    }
    std::vector<Finding> &findings = result->findings;
    std::unordered_map<std::string, long> first_line_of_code;
    char piece[line_buffer_room];
    long line = 1;
    bool continuation = false;          /* piece continues a split line */
    bool split_reported = false;
    while (facility_read_line(file.get(), piece, line_limit)) {
        size_t length = strlen(piece);
        bool ends_line = length < (size_t)(line_limit - 1) || piece[length - 1] == '\n';
        if (continuation && !split_reported) {
            add(&findings, line,
                "line longer than " + std::to_string(line_limit - 1) +
                    " characters: the reader splits it and reads the rest as lines of their own");
            split_reported = true;
        }
        if (!continuation) {
            if (kind == DataKind::runways) {
                check_runway_record(piece, line, &findings);
                std::string code = folded_code(piece);
                if (!code.empty()) {
                    auto seen = first_line_of_code.emplace(code, line);
                    if (!seen.second) {
                        add(&findings, line,
                            "code '" + code + "' also on line " +
                                std::to_string(seen.first->second) +
                                ": only the runways of the last one are listed");
                        seen.first->second = line;
                    }
                }
            } else {
                check_navaid_record(piece, line, &findings);
            }
        }
        if (ends_line) {
            line++;
            continuation = false;
            split_reported = false;
        } else {
            continuation = true;
        }
    }
    facility_close(file.get());
    result->lines = line - 1 + (continuation ? 1 : 0);
    if (!scan_bytes(path, &findings, error))
        return false;
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding &a, const Finding &b) { return a.line < b.line; });
    return true;
}
