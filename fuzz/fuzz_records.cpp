/*
 * A line's records and the entries made from them, on arbitrary bytes:
 *   - the leading fields, the airport and navaid records and the runway
 *     descriptors are the model's tokens, cut to their rooms, whether read
 *     from a C string or from a line of the reader (zero bytes included);
 *   - the short and long entries and the runway line are snprintf's with
 *     the entry formats, byte for byte, for every room up to the entry room.
 *
 * Input: the line's bytes.
 */
#include <stdint.h>

#include "reference.h"
#include "selection/facility_file.h"
#include "selection/searches.h"

static std::vector<size_t> airport_rooms()
{
    std::vector<size_t> rooms = {airport_code_room, airport_name_room};
    for (int i = 0; i < max_runways; i++)
        rooms.push_back(i < 2 ? runway_room_first : runway_room);
    return rooms;
}

static void check_entry_formats(const std::vector<std::string> &f)
{
    char got[entry_room + 8], want[entry_room + 8];
    const std::string short_form = reference::printf_format(short_entry_format);
    const std::string long_form = reference::printf_format(long_entry_format);
    for (size_t room = 0; room <= entry_room; room++) {
        memset(got, 'x', sizeof got);
        memset(want, 'x', sizeof want);
        format_short_entry(got, room, f[0].c_str(), f[1].c_str());
        snprintf(want, room, short_form.c_str(), f[0].c_str(), f[1].c_str());
        FUZZ_CHECK(memcmp(got, want, sizeof got) == 0);
        format_long_entry(got, room, f[0].c_str(), f[1].c_str(), f[2].c_str(), f[3].c_str());
        snprintf(want, room, long_form.c_str(), f[0].c_str(), f[1].c_str(), f[2].c_str(),
                 f[3].c_str());
        FUZZ_CHECK(memcmp(got, want, sizeof got) == 0);
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 4 * line_buffer_room)
        return 0;
    const std::string line((const char *)data, size);
    const std::string text = line.substr(0, line.find('\0'));
    const FacilityLine view = {line.data(), line.size()};

    LeadingFields a, b;
    read_leading_fields(text.c_str(), &a);
    read_leading_fields(view, &b);
    std::vector<std::string> f = reference::tokens(line, {39, 39, 39, 39});
    FUZZ_CHECK(f[0] == a.code && f[1] == a.name && f[2] == a.third && f[3] == a.fourth);
    FUZZ_CHECK(f[0] == b.code && f[1] == b.name && f[2] == b.third && f[3] == b.fourth);
    check_entry_formats(f);

    NavaidRecord navaid;
    read_navaid_record(text.c_str(), &navaid);
    FUZZ_CHECK(f[0] == navaid.code && f[1] == navaid.name && f[2] == navaid.type &&
               f[3] == navaid.frequency);

    AirportRecord airport;
    read_airport_record(text.c_str(), &airport);
    std::vector<std::string> r = reference::tokens(line, airport_rooms());
    FUZZ_CHECK(r[0] == airport.code && r[1] == airport.name);
    int count = 0;
    while (count < max_runways && !r[2 + count].empty())
        count++;
    FUZZ_CHECK(airport.runway_count == count);
    for (int i = 0; i < max_runways; i++)
        FUZZ_CHECK(r[2 + i] == airport.runways[i]);

    std::vector<std::string> lines = reference::runway_lines(line);
    FUZZ_CHECK((int)lines.size() == count);
    for (int i = 0; i < count; i++) {
        RunwayDescriptor runway;
        read_runway_descriptor(airport.runways[i], &runway);
        char got[entry_room];
        format_runway_line(got, sizeof got, &runway);
        FUZZ_CHECK(lines[i] == got);
    }
    return 0;
}
