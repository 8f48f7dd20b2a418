// The panel.cfg edit: sections found, the free number, and the new line
// added with every other byte of the file kept.
#include <gtest/gtest.h>

#include "panel_cfg.h"

namespace {

const std::string crlf_file =
    "[Window Titles]\r\nWindow00=Main\r\n\r\n"
    "[Window00]\r\nfile=a.bmp\r\ngauge00=A!B, 1, 2\r\n\r\n"
    "[window01]\r\n  GAUGE01 = A!C, 3, 4\r\ngauge2=A!D\r\n// gauge00 in a comment\r\n\r\n"
    "[Vcockpit01]\r\ngauge00=A!E\r\n";

TEST(PanelCfg, SectionsAndFreeNumbers)
{
    EXPECT_EQ(window_sections(crlf_file), (std::vector<std::string>{"Window00", "window01"}));
    EXPECT_EQ(free_gauge_number(crlf_file, "Window00"), 1);
    /* Any letter case, blanks around the key, unpadded numbers; a gap is
     * filled first. */
    EXPECT_EQ(free_gauge_number(crlf_file, "WINDOW01"), 0);
    EXPECT_EQ(free_gauge_number(crlf_file, "Window09"), -1);
    std::string full = "[Window00]\n";
    for (int n = 0; n < 100; n++)
        full += "gauge" + std::to_string(n) + "=X!Y\n";
    EXPECT_EQ(free_gauge_number(full, "Window00"), -1);
    EXPECT_TRUE(section_has_gauge("[Window00]\ngauge00=pelmora!v1, 1, 2\n", "Window00", "PELMORA!V1"));
    EXPECT_FALSE(section_has_gauge(crlf_file, "Window00", "PELMORA!V1"));
    /* A mention outside a gauge key, or in another section, is no gauge. */
    EXPECT_FALSE(section_has_gauge("[Window00]\n// PELMORA!V1\n[Window01]\ngauge00=PELMORA!V1\n",
                                   "Window00", "PELMORA!V1"));
}

TEST(PanelCfg, LineFormat)
{
    EXPECT_EQ(gauge_line(2, 500, 10), "gauge02=PELMORA!V1, 500, 10");
    EXPECT_EQ(gauge_line(-1, 0, 0), "gaugeNN=PELMORA!V1, 0, 0");
}

TEST(PanelCfg, AddedAfterTheSectionsLastLineKeepingEveryOtherByte)
{
    std::string out;
    ASSERT_TRUE(add_gauge_line(crlf_file, "Window00", "gauge01=PELMORA!V1, 5, 6", out));
    std::string expected = crlf_file;
    expected.insert(expected.find("\r\n\r\n[window01]") + 2, "gauge01=PELMORA!V1, 5, 6\r\n");
    EXPECT_EQ(out, expected);

    /* LF files get LF; the comment is the section's last line. */
    std::string lf = "[Window01]\ngauge00=A!B\n// end\n\n\n[Window02]\n";
    ASSERT_TRUE(add_gauge_line(lf, "window01", "L", out));
    EXPECT_EQ(out, "[Window01]\ngauge00=A!B\n// end\nL\n\n\n[Window02]\n");

    /* An empty section at the end of a file without a last line end: the
     * file's bytes stay a prefix and it still ends without a line end. */
    std::string open_end = "[Window00]\r\ngauge00=A!B, 1, 1";
    ASSERT_TRUE(add_gauge_line(open_end, "Window00", "L", out));
    EXPECT_EQ(out, "[Window00]\r\ngauge00=A!B, 1, 1\r\nL");
    ASSERT_TRUE(add_gauge_line("[Window00]", "Window00", "L", out));
    EXPECT_EQ(out, "[Window00]\r\nL");

    /* Old Mac line ends (CR alone) are kept as such. */
    ASSERT_TRUE(add_gauge_line("[Window00]\rgauge00=A\r[Window01]\r", "Window00", "L", out));
    EXPECT_EQ(out, "[Window00]\rgauge00=A\rL\r[Window01]\r");

    /* A byte order mark before the first section stays where it is. */
    ASSERT_TRUE(add_gauge_line("\xEF\xBB\xBF[Window00]\r\n", "Window00", "L", out));
    EXPECT_EQ(out, "\xEF\xBB\xBF[Window00]\r\nL\r\n");

    std::string untouched = "unchanged";
    out = untouched;
    EXPECT_FALSE(add_gauge_line(crlf_file, "Window07", "L", out));
    EXPECT_EQ(out, untouched);
}

}  // namespace
