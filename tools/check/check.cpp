#include "check.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <memory>

#include "selection/facility_file.h"
#include "selection/searches.h"

static const int runway_tokens = 2 + max_runways;   /* code, name, descriptors */
static const int descriptor_parts = 5;
static const size_t course_digits_room = 3;
static const size_t ndb_frequency_room = 9;         /* whole kHz the tuning reads */

/* The radio bands, in hundredths of a megahertz and in kilohertz.  The
 * localizer band is the NAV radio's whole band, as the converter takes it:
 * sources hold localizers above 111.95 MHz (a few paired with a VOR's
 * channel), and the module tunes them all the same. */
static const long localizer_low = 10800, localizer_high = 11795;
static const long vor_low = 10800, vor_high = 11795;
static const long ndb_low = 190, ndb_high = 1750;

const char *finding_kind_name(FindingKind kind)
{
    static const char *const names[(int)FindingKind::count] = {
        "other",
        "token longer than its room",
        "line longer than 989 characters",
        "Ctrl-Z before the end",
        "NUL byte",
        "lone CR",
        "UTF-8 byte-order mark",
        "UTF-16 text",
        "blank line",
        "lower-case letters",
        "repeated code",
        "too many codes to compare",
        "more than 20 runway descriptors",
        "runway descriptor short of five parts",
        "frequency not ddd.dd or whole kHz",
        "frequency outside its band",
        "course not whole degrees from 1 to 360",
        "navaid short of four fields",
        "navaid type other than VOR or NDB",
    };
    int i = (int)kind;
    return i >= 0 && i < (int)FindingKind::count ? names[i] : names[0];
}

/* Text of a token for a message: quoted, long ones shortened, bytes other
 * than printable ASCII written as \xHH. */
std::string shown_token(const char *start, size_t length)
{
    const size_t show = 24;
    std::string out = "'";
    for (size_t i = 0; i < length && i < show; i++) {
        unsigned char c = (unsigned char)start[i];
        if (c >= 0x20 && c < 0x7f && c != '\\') {
            out += (char)c;
        } else {
            char hex[8];
            snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out + (length > show ? "...'" : "'");
}

static std::string shown(const char *start, size_t length)
{
    return shown_token(start, length);
}

static std::string shown(const char *text)
{
    return shown(text, strlen(text));
}

static void add(std::vector<Finding> *findings, long line, FindingKind kind,
                const std::string &reason)
{
    findings->push_back(Finding{line, reason, kind});
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

/* The value of ddd.dd text in hundredths of a megahertz. */
static long mhz_hundredths(const char *s)
{
    return atol(s) * 100 + atol(s + 4);
}

static std::string band_text(long low, long high)
{
    char text[96];
    snprintf(text, sizeof text, "%ld.%02ld-%ld.%02ld MHz", low / 100, low % 100, high / 100,
             high % 100);
    return text;
}

/* what() names the token; it is called only when there is something to say. */
template <class Name>
static void check_room(std::vector<Finding> *findings, long number, Name what,
                       const char *start, size_t length, size_t room)
{
    if (length > room)
        add(findings, number, FindingKind::too_long_token,
            what() + " " + shown(start, length) + " is " + std::to_string(length) +
                " characters: only " + std::to_string(room) + " are read");
}

static void check_code_and_name(std::vector<Finding> *findings, long number, int index,
                                const char *start, size_t length)
{
    if (index == 0 && has_lower_case(start, length))
        add(findings, number, FindingKind::lower_case,
            "code " + shown(start, length) +
                " has lower-case letters: only the exact test finds it");
    if (index == 1 && has_lower_case(start, length))
        add(findings, number, FindingKind::lower_case,
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
    static const char *const part_names[descriptor_parts] = {"designator", "identifier",
                                                            "length", "frequency", "course"};
    static const size_t part_rooms[descriptor_parts] = {
        runway_designator_room, runway_identifier_room, runway_length_room, frequency_room,
        course_room};
    auto where = [&] { return "runway " + std::to_string(runway) + " " + shown(descriptor); };
    const char *cursor = work;
    const char *start;
    size_t length;
    int parts = 0;
    while (parts < descriptor_parts && next_token(&cursor, &start, &length)) {
        check_room(findings, number, [&] { return where() + " " + part_names[parts]; }, start,
                   length,
                   part_rooms[parts]);
        parts++;
    }
    if (parts < descriptor_parts) {
        add(findings, number, FindingKind::descriptor_parts,
            where() + " has " + std::to_string(parts) +
                " parts: five are expected (designator_ident_length_frequency_course)");
        return;
    }
    RunwayDescriptor rw;
    read_runway_descriptor(descriptor, &rw);
    const bool no_localizer = strcmp(rw.frequency, "0") == 0;
    if (!no_localizer && !is_mhz_text(rw.frequency)) {
        add(findings, number, FindingKind::frequency_form,
            where() + " frequency " + shown(rw.frequency) +
                " is not three digits, a point and two digits (nor 0)");
    } else if (!no_localizer) {
        long f = mhz_hundredths(rw.frequency);
        if (f < localizer_low || f > localizer_high)
            add(findings, number, FindingKind::frequency_band,
                where() + " frequency " + shown(rw.frequency) + " is outside the localizer band " +
                    band_text(localizer_low, localizer_high) +
                    ": the module tunes NAV1 to it all the same");
    }
    /* Without a localizer nothing is tuned, the course included, so a course
     * of 0 there (unknown) does no harm. */
    size_t course_length = strlen(rw.course);
    int course = atoi(rw.course);
    if (!all_digits(rw.course, course_length) || course_length > course_digits_room ||
        course > 360 || (course == 0 && !no_localizer))
        add(findings, number, FindingKind::course,
            where() + " course " + shown(rw.course) + " is not whole degrees from 1 to 360");
}

void check_runway_record(const char *text, long number, std::vector<Finding> *findings)
{
    const char *cursor = text;
    const char *start;
    size_t length;
    int tokens = 0;
    while (next_token(&cursor, &start, &length)) {
        auto name = [&] {
            return tokens == 0 ? std::string("code")
                   : tokens == 1 ? std::string("name")
                                 : "runway " + std::to_string(tokens - 1);
        };
        if (tokens == 0)
            check_room(findings, number, name, start, length, airport_code_room);
        else if (tokens == 1)
            check_room(findings, number, name, start, length, airport_name_room);
        else if (tokens < runway_tokens)
            check_room(findings, number, name, start, length,
                       tokens - 2 < 2 ? runway_room_first : runway_room);
        check_code_and_name(findings, number, tokens, start, length);
        tokens++;
    }
    if (tokens == 0) {
        add(findings, number, FindingKind::blank_line,
            "blank line: reads as an airport without a code");
        return;
    }
    if (tokens > runway_tokens)
        add(findings, number, FindingKind::too_many_runways,
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
        check_room(findings, number, [&] { return std::string(field_names[tokens]); }, start,
                   length, navaid_field_room);
        check_code_and_name(findings, number, tokens, start, length);
        tokens++;
    }
    if (tokens == 0) {
        add(findings, number, FindingKind::blank_line, "blank line: lists as an empty navaid");
        return;
    }
    if (tokens < 4) {
        add(findings, number, FindingKind::navaid_fields,
            std::to_string(tokens) + " fields: four are expected (code name type frequency)");
        return;
    }
    NavaidRecord navaid;
    read_navaid_record(text, &navaid);
    if (equals_ignoring_case(navaid.type, "VOR")) {
        if (!is_mhz_text(navaid.frequency))
            add(findings, number, FindingKind::frequency_form,
                "VOR frequency " + shown(navaid.frequency) +
                    " is not three digits, a point and two digits");
        else if (mhz_hundredths(navaid.frequency) < vor_low ||
                 mhz_hundredths(navaid.frequency) > vor_high)
            add(findings, number, FindingKind::frequency_band,
                "VOR frequency " + shown(navaid.frequency) + " is outside the VOR band " +
                    band_text(vor_low, vor_high) + ": the module tunes NAV1 to it all the same");
        return;
    }
    if (!equals_ignoring_case(navaid.type, "NDB"))
        add(findings, number, FindingKind::navaid_type,
            "type " + shown(navaid.type) + " is not VOR: it is tuned on the ADF as an NDB");
    size_t n = strlen(navaid.frequency);
    if (!all_digits(navaid.frequency, n) || n > ndb_frequency_room) {
        add(findings, number, FindingKind::frequency_form,
            "NDB frequency " + shown(navaid.frequency) + " is not whole kHz");
        return;
    }
    long khz = atol(navaid.frequency);
    if (khz < ndb_low || khz > ndb_high)
        add(findings, number, FindingKind::frequency_band,
            "NDB frequency " + shown(navaid.frequency) + " is outside the NDB band " +
                std::to_string(ndb_low) + "-" + std::to_string(ndb_high) +
                " kHz: the module " +
                (khz == 0 ? std::string("sends nothing to the ADF")
                          : "tunes the ADF to it all the same"));
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


void CappedSink::finding(const Finding &f)
{
    total_++;
    int k = (int)f.kind;
    if (k < 0 || k >= (int)FindingKind::count)
        k = 0;
    if (++seen_[k] <= cap_)
        out_->finding(f);
}

long CappedSink::held_back(FindingKind kind) const
{
    int k = (int)kind;
    if (k < 0 || k >= (int)FindingKind::count)
        return 0;
    return seen_[k] > cap_ ? seen_[k] - cap_ : 0;
}
