#include "selection/facility_file.h"

#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "selection/searches.h"
#include "test_support.h"

namespace {

/* Every read of a file, in order, as the searches see them. */
std::vector<std::string> read_all(const char *name)
{
    std::vector<std::string> lines;
    FacilityFile *file = new FacilityFile();
    EXPECT_TRUE(facility_open(file, name));
    char line[line_buffer_room];
    while (facility_read_line(file, line, line_limit))
        lines.push_back(line);
    facility_close(file);
    delete file;
    return lines;
}

class ReaderTest : public ScratchFolder {};

TEST_F(ReaderTest, TextModeLineEnds)
{
    write_file("a.txt", "one\r\ntwo\rthree\nlast");
    EXPECT_EQ(read_all("a.txt"), (std::vector<std::string>{"one\n", "two\rthree\n", "last"}));
    /* A CR LF split across two of the reader's blocks still reads as LF. */
    std::string big(facility_block_room - 1, 'x');
    for (size_t i = 100; i < big.size(); i += 101)
        big[i] = '\n';
    big += "\r\nend\r";
    write_file("b.txt", big);
    std::vector<std::string> lines = read_all("b.txt");
    EXPECT_EQ(lines[lines.size() - 2].back(), '\n');
    EXPECT_EQ(lines[lines.size() - 2].find('\r'), std::string::npos);
    EXPECT_EQ(lines.back(), "end\r");
}

TEST_F(ReaderTest, CtrlZEndsTheFile)
{
    write_file("end.txt", "KSEA SEATTLE\n\x1a");
    EXPECT_EQ(read_all("end.txt"), std::vector<std::string>{"KSEA SEATTLE\n"});
    write_file("middle.txt", "KSEA SEATTLE\nKBFI BO\x1a" "EING\nKPAE PAINE\n");
    EXPECT_EQ(read_all("middle.txt"), (std::vector<std::string>{"KSEA SEATTLE\n", "KBFI BO"}));
}

/* The Windows reader's memchr looks a machine word at a time: it finds what
 * memchr finds, from every alignment, at every place within a word, among
 * bytes of every value. */
TEST(FindByte, AgreesWithMemchr)
{
    for (int c : {0x0a, 0x1a, 0x00, 0x80, 0xff, 0x01}) {
        /* Bytes of many values, high ones among them, none of them c; then c
         * at one place (or none), and again five bytes on. */
        for (int place = -1; place < 40; place++) {
            unsigned char bytes[64];
            for (size_t i = 0; i < sizeof bytes; i++) {
                bytes[i] = (unsigned char)(c + 1 + 37 * i);
                if (bytes[i] == c)
                    bytes[i] ^= 0x80;
            }
            if (place >= 0)
                bytes[place] = bytes[place + 5] = (unsigned char)c;
            for (size_t start = 0; start < 16; start++) {
                for (size_t n = 0; start + n <= sizeof bytes; n++) {
                    const unsigned char *p = bytes + start;
                    ASSERT_EQ(find_byte_by_words(p, n, (unsigned char)c), memchr(p, c, n))
                        << "byte " << c << " at " << place << ", from " << start << ", " << n;
                }
            }
        }
    }
}

/* Line ends and Ctrl-Z after heads of 0 to 23 bytes, among bytes of every
 * value that are neither (the search itself is tested above). */
TEST_F(ReaderTest, LineEndsAndCtrlZAmongBytesOfEveryValue)
{
    std::string noise;
    for (int c = 1; c < 256; c++)
        if (c != '\n' && c != '\r' && c != 0x1a)
            noise += (char)c;
    for (size_t at = 0; at < 24; at++) {
        std::string head = noise.substr(at % 7, at);
        write_file("lf.txt", head + "\n" + noise + "\n");
        EXPECT_EQ(read_all("lf.txt"), (std::vector<std::string>{head + "\n", noise + "\n"}))
            << "line end after " << at << " bytes";
        write_file("z.txt", noise + "\n" + head + "\x1a" + "KSEA\n");
        std::vector<std::string> want{noise + "\n"};
        if (!head.empty())
            want.push_back(head);
        EXPECT_EQ(read_all("z.txt"), want) << "Ctrl-Z after " << at << " bytes";
    }
}

TEST_F(ReaderTest, LongLinesComeInPieces)
{
    write_file("long.txt", std::string(1500, 'A') + "\nB\n");
    std::vector<std::string> lines = read_all("long.txt");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::string(989, 'A'));
    EXPECT_EQ(lines[1], std::string(511, 'A') + "\n");
    EXPECT_EQ(lines[2], "B\n");
    /* 988 characters and the LF fill one read exactly. */
    write_file("exact.txt", std::string(988, 'C') + "\nD");
    EXPECT_EQ(read_all("exact.txt").size(), 2u);
}

TEST_F(ReaderTest, MissingFileAndDirectory)
{
    FacilityFile *file = new FacilityFile();
    EXPECT_FALSE(facility_open(file, "Prwydata.txt"));
    /* A folder in the file's place reads as an empty file (or does not open). */
    ASSERT_EQ(mkdir("folder", 0755), 0);
    char line[line_buffer_room];
    if (facility_open(file, "folder")) {
        EXPECT_FALSE(facility_read_line(file, line, line_limit));
    }
    facility_close(file);
    delete file;
}

/* The first line of the data file that facility_open_data finds, or "" when
 * it finds none. */
std::string first_line_found(const char *name)
{
    FacilityFile *file = new FacilityFile();
    char line[line_buffer_room] = "";
    if (facility_open_data(file, name))
        facility_read_line(file, line, line_limit);
    facility_close(file);
    delete file;
    return line;
}

TEST_F(ReaderTest, DataFileInTheCurrentFolderElseTheSimulatorFolder)
{
    ASSERT_EQ(mkdir("sim", 0755), 0);
    write_file("sim/Prwydata.txt", "SIM\n");
    EXPECT_EQ(first_line_found("Prwydata.txt"), "");    /* no folder set: no second look */
    set_facility_folder("sim");
    EXPECT_EQ(first_line_found("Prwydata.txt"), "SIM\n");
    set_facility_folder("sim/");
    EXPECT_EQ(first_line_found("Prwydata.txt"), "SIM\n");
    /* The current folder's own file comes first. */
    write_file("Prwydata.txt", "HERE\n");
    EXPECT_EQ(first_line_found("Prwydata.txt"), "HERE\n");
    /* Neither has it. */
    EXPECT_EQ(first_line_found("Pnavdata.txt"), "");
    /* A folder longer than its room is not kept; nothing is cut or overrun. */
    std::string deep = "sim";
    while (deep.size() <= facility_folder_room)
        deep += "/x";
    set_facility_folder(deep.c_str());
    remove("Prwydata.txt");
    EXPECT_EQ(first_line_found("Prwydata.txt"), "");
    std::string longest(facility_folder_room, 'd');
    set_facility_folder(longest.c_str());
    EXPECT_EQ(first_line_found(std::string(400, 'n').c_str()), "");
    set_facility_folder("");
}

std::string folder_of(const char *module_path, size_t room = 260)
{
    char folder[300];
    memset(folder, 'x', sizeof folder);
    simulator_folder_of(module_path, folder, room);
    return folder;
}

TEST(SimulatorFolder, TheFolderThatHoldsGauges)
{
    EXPECT_EQ(folder_of("C:\\SIM\\GAUGES\\PELMORA.GAU"), "C:\\SIM");
    EXPECT_EQ(folder_of("C:\\Flight Sim\\gauges\\pelmora.gau"), "C:\\Flight Sim");
    EXPECT_EQ(folder_of("C:\\GAUGES\\PELMORA.GAU"), "C:\\");
    EXPECT_EQ(folder_of("\\\\server\\share\\GAUGES\\PELMORA.GAU"), "\\\\server\\share");
    EXPECT_EQ(folder_of("Z:/work/sim/GAUGES/PELMORA.GAU"), "Z:/work/sim");
    /* Another folder name, no folder, a name that only begins alike. */
    EXPECT_EQ(folder_of("C:\\SIM\\PANELS\\PELMORA.GAU"), "");
    EXPECT_EQ(folder_of("C:\\SIM\\GAUGES2\\PELMORA.GAU"), "");
    EXPECT_EQ(folder_of("C:\\SIM\\GAUGE\\PELMORA.GAU"), "");
    EXPECT_EQ(folder_of("PELMORA.GAU"), "");
    EXPECT_EQ(folder_of("\\GAUGES\\PELMORA.GAU"), "");
    EXPECT_EQ(folder_of(""), "");
    /* A folder that does not fit is not cut: none. */
    EXPECT_EQ(folder_of("C:\\SIM\\GAUGES\\PELMORA.GAU", 7), "C:\\SIM");
    EXPECT_EQ(folder_of("C:\\SIM\\GAUGES\\PELMORA.GAU", 6), "");
}

TEST(Tokens, LeadingFieldsAndAirportRecords)
{
    std::string line = "KSEA SEATTLE";
    for (int i = 3; i <= 25; i++)
        line += " R" + std::to_string(i);
    AirportRecord record;
    read_airport_record(line.c_str(), &record);
    EXPECT_STREQ(record.code, "KSEA");
    EXPECT_STREQ(record.name, "SEATTLE");
    ASSERT_EQ(record.runway_count, 20);
    EXPECT_STREQ(record.runways[0], "R3");
    EXPECT_STREQ(record.runways[19], "R22");

    read_airport_record("  KBFI\tBOEING \r\n", &record);
    EXPECT_STREQ(record.code, "KBFI");
    EXPECT_EQ(record.runway_count, 0);

    LeadingFields fields;
    read_leading_fields("\v\f ", &fields);
    EXPECT_STREQ(fields.code, "");
    EXPECT_STREQ(fields.fourth, "");

    NavaidRecord navaid;
    read_navaid_record("SEA SEATTLE VOR 116.80 EXTRA MORE", &navaid);
    EXPECT_STREQ(navaid.type, "VOR");
    EXPECT_STREQ(navaid.frequency, "116.80");
}

TEST(Tokens, OverLongTokensAreCutToTheirRoom)
{
    for (size_t n : {100u, 989u, 5000u}) {
        std::string a(n, 'A'), b(n, 'B'), c(n, 'C');
        std::string line = a + " " + b + " " + c + " " + c;
        for (int i = 0; i < 20; i++)
            line += " " + c;
        AirportRecord record;
        read_airport_record(line.c_str(), &record);
        EXPECT_EQ(strlen(record.code), airport_code_room);
        EXPECT_EQ(strlen(record.name), airport_name_room);
        EXPECT_EQ(strlen(record.runways[0]), runway_room_first);
        EXPECT_EQ(strlen(record.runways[2]), runway_room);
        NavaidRecord navaid;
        read_navaid_record(line.c_str(), &navaid);
        EXPECT_EQ(strlen(navaid.code), navaid_field_room);

        std::string descriptor = a + "_" + b + "_" + c + "_" + a + "_" + b;
        RunwayDescriptor runway;
        read_runway_descriptor(descriptor.c_str(), &runway);
        EXPECT_EQ(strlen(runway.designator), runway_designator_room);
        char entry[entry_room];
        format_runway_line(entry, sizeof entry, &runway);
        EXPECT_LT(strlen(entry), entry_room);
    }
}

TEST(Descriptors, PartsAndRunwayLine)
{
    RunwayDescriptor runway;
    read_runway_descriptor("A1_B2_C3_110.30_005", &runway);
    EXPECT_STREQ(runway.designator, "A1");
    EXPECT_STREQ(runway.identifier, "B2");
    EXPECT_STREQ(runway.length, "C3");
    EXPECT_STREQ(runway.frequency, "110.30");
    EXPECT_STREQ(runway.course, "005");
    char line[entry_room];
    format_runway_line(line, sizeof line, &runway);
    EXPECT_STREQ(line, "A1   B2   110.30  005       C3");
    EXPECT_EQ(strlen(line), 30u);

    read_runway_descriptor("_16L_X__11901_110.30_163_EXTRA", &runway);
    EXPECT_STREQ(runway.designator, "_16L");
    EXPECT_STREQ(runway.identifier, "X");
    EXPECT_STREQ(runway.length, "11901");
    EXPECT_STREQ(runway.course, "163");

    /* Parts the descriptor lacks show as "-", so the line keeps five words
     * and the frequency column never holds another part. */
    read_runway_descriptor("09_IAB_9000", &runway);
    EXPECT_STREQ(runway.frequency, "");
    format_runway_line(line, sizeof line, &runway);
    EXPECT_STREQ(line, "09   IAB  -       -       9000");
}

} // namespace
