/* The checker on line ends and encodings the module does not read as text
 * editors do, and on its own output: findings in line order, capped per
 * kind. */
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "check/check.h"
#include "test_files.h"

namespace {

class CollectedFindings : public FindingSink {
public:
    void finding(const Finding &f) override { all.push_back(f); }
    std::vector<Finding> all;
};

struct Checked {
    std::vector<std::string> lines;     /* "line: reason" */
    long line_count = 0;
};

Checked checked(const std::string &bytes, DataKind kind)
{
    ScratchFolder dir;
    CollectedFindings collected;
    CheckSummary summary;
    std::string error;
    const char *name = kind == DataKind::runways ? "Prwydata.txt" : "Pnavdata.txt";
    EXPECT_TRUE(check_data_file(dir.write(name, bytes), kind, &collected, &summary, &error))
        << error;
    Checked result;
    for (const Finding &f : collected.all)
        result.lines.push_back(std::to_string(f.line) + ": " + f.reason);
    result.line_count = summary.lines;
    return result;
}

const char *const navaids[] = {"SEA SEATTLE VOR 116.80", "PAE PAINE VOR 110.60",
                               "BF NOLLA NDB 362",       "OLM OLYMPIA VOR 113.40",
                               "HQM HOQUIAM VOR 117.70", "EAT WENATCHEE VOR 111.80",
                               "YKM YAKIMA VOR 116.00",  "ELN ELLENSBURG VOR 117.90",
                               "PDT PENDLETON VOR 114.70", "GEG SPOKANE VOR 115.60",
                               "LW LOWELL NDB 338",      "TCM MC_CHORD NDB 274",
                               "CLM PORT_ANGELES VOR 115.20", "UBG NEWBERG VOR 117.40"};

std::string joined(const char *const *lines, size_t count, const char *end)
{
    std::string text;
    for (size_t i = 0; i < count; i++)
        text += std::string(lines[i]) + end;
    return text;
}

TEST(CheckLineEnds, ClassicMacNavaidsReadAsOne)
{
    Checked c = checked(joined(navaids, 14, "\r"), DataKind::navaids);
    EXPECT_EQ(c.line_count, 1);
    EXPECT_EQ(c.lines, (std::vector<std::string>{
                           "1: lone CRs (classic Mac line ends) between 14 navaids: the module "
                           "takes CR for a blank and reads them as one navaid, 'SEA'"}));
    /* The same records with CR LF or LF ends are clean, and so is a CR before
     * a line end, which is only white space. */
    EXPECT_TRUE(checked(joined(navaids, 14, "\r\n"), DataKind::navaids).lines.empty());
    EXPECT_TRUE(checked(joined(navaids, 14, "\r\r\n"), DataKind::navaids).lines.empty());
    EXPECT_TRUE(checked(joined(navaids, 14, "\n"), DataKind::navaids).lines.empty());
}

TEST(CheckLineEnds, ClassicMacRunwaysListOtherAirportsRunways)
{
    std::string text = "KSEA SEATTLE 16L_I_1_110.30_163\r"
                       "KBFI BOEING 13R_I_1_110.90_130\r"
                       "KPAE PAINE 16R_I_1_109.30_160\n"
                       "KRNT RENTON 16_-_1_0_160\r\n";
    Checked c = checked(text, DataKind::runways);
    EXPECT_EQ(c.line_count, 2);
    EXPECT_EQ(c.lines, (std::vector<std::string>{
                           "1: lone CRs (classic Mac line ends) between 3 airports: the module "
                           "takes CR for a blank and reads them as one airport, 'KSEA', with the "
                           "codes, names and runways of the others as its runways"}));

    /* Longer than a read: every read is an airport of its own. */
    std::string many;
    for (int i = 0; i < 40; i++)
        many += "K" + std::to_string(1000 + i) + " FIELD_" + std::to_string(i) +
                " 09_-_1000_0_090\r";
    c = checked(many, DataKind::runways);
    ASSERT_EQ(c.lines.size(), 2u);
    EXPECT_EQ(c.lines[0].rfind("1: line longer than 989 characters", 0), 0u) << c.lines[0];
    EXPECT_EQ(c.lines[1], "1: lone CRs (classic Mac line ends) between 40 airports: the module "
                          "takes CR for a blank and reads them as 2 airports, one per "
                          "989-character read, the first 'K1000', with the codes, names and "
                          "runways of the others as their runways");
}

TEST(CheckEncodings, Utf8ByteOrderMarkHidesTheFirstCode)
{
    Checked c = checked("\xEF\xBB\xBFKSEA SEATTLE 16L_I_1_110.30_163\r\nKBFI BOEING\r\n",
                        DataKind::runways);
    EXPECT_EQ(c.lines, (std::vector<std::string>{
                           "1: UTF-8 byte-order mark (bytes EF BB BF) at the start of the code: "
                           "the module reads it as part of the code, so 'KSEA' is never found"}));
    /* One in the middle (two files joined) hides that line's code as well. */
    c = checked("SEA S VOR 116.80\n\xEF\xBB\xBF" "BF S NDB 362\n", DataKind::navaids);
    ASSERT_EQ(c.lines.size(), 1u);
    EXPECT_EQ(c.lines[0].rfind("2: UTF-8 byte-order mark", 0), 0u);
}

/* ASCII text as UTF-16, little- or big-endian. */
std::string utf16(const std::string &text, bool little_endian)
{
    std::string out;
    for (char c : text) {
        out += little_endian ? c : '\0';
        out += little_endian ? '\0' : c;
    }
    return out;
}

TEST(CheckEncodings, Utf16ReadsAsBlankLines)
{
    std::string text = "SEA SEATTLE VOR 116.80\r\nBF NOLLA NDB 362\r\n";
    Checked c = checked("\xFF\xFE" + utf16(text, true), DataKind::navaids);
    const std::string seen = ": the module reads a byte per character and its tokens stop at "
                             "the first NUL, so it reads this line as ";
    EXPECT_EQ(c.lines,
              (std::vector<std::string>{
                  "1: UTF-16 text (byte-order mark FF FE)" + seen + "the code '\\xFF\\xFES' alone",
                  "2: UTF-16 text (NUL bytes between the letters)" + seen + "a blank line",
                  "3: UTF-16 text (NUL bytes between the letters)" + seen + "a blank line"}));

    /* Big-endian without a mark: found by its NUL bytes. */
    c = checked(utf16(text, false), DataKind::navaids);
    EXPECT_EQ(c.lines, (std::vector<std::string>{
                           "1: UTF-16 text (NUL bytes between the letters)" + seen + "a blank line",
                           "2: UTF-16 text (NUL bytes between the letters)" + seen + "a blank line"}));

    /* A stray NUL in ASCII text is no UTF-16. */
    c = checked(std::string("SEA SEATTLE VOR 116.80\nBF NOL\0LA NDB 362\n", 41), DataKind::navaids);
    EXPECT_EQ(c.lines, (std::vector<std::string>{
                           "2: 2 fields: four are expected (code name type frequency)",
                           "2: NUL byte: the rest of the line is not read"}));
}

TEST(CheckStream, FindingsInLineOrder)
{
    static const char bytes[] = "ksea A\nKSEA B 16L_-_1_0\nKBFI\0C\nKPAE \x1a hidden\nKRNT R\n";
    Checked c = checked(std::string(bytes, sizeof bytes - 1), DataKind::runways);
    ASSERT_EQ(c.lines.size(), 5u);
    long last = 0;
    for (const std::string &l : c.lines) {
        long line = std::stol(l);
        EXPECT_GE(line, last) << l;
        last = line;
    }
    EXPECT_EQ(c.lines.back(), "4: Ctrl-Z (byte 26) before the end: the 15 bytes after it are never read");
}

TEST(CheckStream, RepeatsFoundAmongManyCodes)
{
    std::string text;
    for (int i = 0; i < 20000; i++)
        text += "K" + std::to_string(100000 + i) + " X\n";
    text += "k100007 X\n";
    Checked c = checked(text, DataKind::runways);
    EXPECT_EQ(c.lines.back(),
              "20001: code 'k100007' also on line 8: only the runways of the last one are listed");
}

TEST(CheckStream, CappedPerKind)
{
    CollectedFindings out;
    CappedSink capped(&out, 20);
    for (int i = 0; i < 25; i++)
        capped.finding(Finding{i + 1, "a", FindingKind::lower_case});
    capped.finding(Finding{26, "b", FindingKind::blank_line});
    EXPECT_EQ(out.all.size(), 21u);
    EXPECT_EQ(out.all.back().reason, "b");
    EXPECT_EQ(capped.total(), 26);
    EXPECT_EQ(capped.held_back(FindingKind::lower_case), 5);
    EXPECT_EQ(capped.held_back(FindingKind::blank_line), 0);
}

/* A pipe, or a device that never ends, is read once: a Ctrl-Z is reported
 * without looking for the end (here with more than a block after it). */
TEST(CheckStream, CtrlZOnAStreamThatCannotSeek)
{
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        close(ends[0]);
        std::string bytes = "KSEA S\nKBFI B\x1a\n" + std::string(300000, 'X');
        ssize_t ignored = write(ends[1], bytes.data(), bytes.size());
        (void)ignored;
        _exit(0);
    }
    close(ends[1]);
    FILE *stream = fdopen(ends[0], "rb");
    ASSERT_TRUE(stream);
    CollectedFindings collected;
    CheckSummary summary;
    std::string error;
    EXPECT_TRUE(check_data_stream(stream, DataKind::runways, &collected, &summary, &error));
    fclose(stream);
    waitpid(writer, nullptr, 0);
    EXPECT_EQ(summary.lines, 2);
    ASSERT_EQ(collected.all.size(), 1u);
    EXPECT_EQ(collected.all[0].line, 2);
    EXPECT_EQ(collected.all[0].reason,
              "Ctrl-Z (byte 26) before the end: what follows it is never read");
}

TEST(CheckStream, FolderIsAnError)
{
    ScratchFolder dir;
    CollectedFindings collected;
    CheckSummary summary;
    std::string error;
    EXPECT_FALSE(check_data_file(dir.path(), DataKind::runways, &collected, &summary, &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
