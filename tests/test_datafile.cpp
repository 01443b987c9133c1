#include "TestBoards.h"
#include "model/DataFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace ttt {
namespace {

std::vector<std::string> fieldsOf(const GameData &data) {
    std::vector<std::string> out;
    for (int16 v : dataFields(data))
        out.push_back(std::to_string(v));
    return out;
}

std::string join(const std::vector<std::string> &fields, const std::string &sep) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i)
        out += (i ? sep : "") + fields[i];
    return out;
}

LoadResult load(const std::string &text) {
    std::istringstream in(text);
    return readData(in, "kubix.dat");
}

// A sound table with a negative value in the pattern rows.
GameData sample() { return test::makeData({{4, -1, -1}, {15, -1, -1}, {3, -1, -1}, {10, 10, -1}, {0, -1, -1}}); }

TEST(DataFile, EveryLayoutLoadsTheSameTables) {
    const auto fields = fieldsOf(sample());
    const std::string layouts[] = {
        join(fields, ","),                 // one line, commas
        join(fields, "\n") + "\n",         // one value per line
        join(fields, "\r\n") + "\r\n",     // saved on another system
        join(fields, " , \t"),             // blanks around commas
        formatData(sample()),              // the shipped layout
        "\xEF\xBB\xBF" + join(fields, ","), // an editor's byte-order mark
        join(fields, "\r"),                // old-style CR line ends
    };
    for (const auto &text : layouts) {
        const LoadResult r = load(text);
        ASSERT_TRUE(r.data) << r.error << "\nlayout: " << text.substr(0, 40);
        EXPECT_EQ(*r.data, sample());
        EXPECT_EQ(r.data->patterns(2, 3), -1);
    }
}

TEST(DataFile, ReadsNothingAfterThe366thField) {
    const auto fields = fieldsOf(sample());
    for (const std::string tail : {",7,8,9", "\nnot a number at all", ",,,", "\n99999999999"}) {
        const LoadResult r = load(join(fields, ",") + tail);
        ASSERT_TRUE(r.data) << r.error;
        EXPECT_EQ(*r.data, sample());
    }
}

TEST(DataFile, ShortFileFailsAndSaysHowManyFieldsItHad) {
    auto fields = fieldsOf(sample());
    fields.pop_back();
    const LoadResult r = load(join(fields, "\n") + "\n");
    EXPECT_FALSE(r.data);
    EXPECT_NE(r.error.find("kubix.dat"), std::string::npos) << r.error;
    EXPECT_NE(r.error.find("after 365 fields"), std::string::npos) << r.error;
    EXPECT_NE(r.error.find("366"), std::string::npos) << r.error;

    for (const std::string text : {"", " \n\t\r\n", ",,"}) {
        const LoadResult e = load(text);
        EXPECT_FALSE(e.data) << "text: " << text;
        EXPECT_FALSE(e.error.empty());
    }
}

TEST(DataFile, MissingOrUnreadableFileNamesTheFile) {
    const auto dir = std::filesystem::temp_directory_path() / "ttt_datafile_test";
    std::filesystem::create_directories(dir);
    const LoadResult missing = readDataFile(dir / "kubix.dat");
    EXPECT_FALSE(missing.data);
    EXPECT_NE(missing.error.find("kubix.dat"), std::string::npos);
    EXPECT_NE(missing.error.find("No such file"), std::string::npos) << missing.error;

    const LoadResult folder = readDataFile(dir);
    EXPECT_FALSE(folder.data);
    EXPECT_NE(folder.error.find("folder"), std::string::npos) << folder.error;

    {
        std::ofstream(dir / "kubix.dat") << formatData(sample());
    }
    const LoadResult fine = readDataFile(dir / "kubix.dat");
    ASSERT_TRUE(fine.data) << fine.error;
    EXPECT_EQ(*fine.data, sample());
    std::filesystem::remove_all(dir);
}

// Each bad value, put in place of one field of a sound file written one value per line, must stop
// the load with a message naming the file line, the field and what is wrong.
TEST(DataFile, RefusesBadValuesWithTheirPlace) {
    struct Case {
        int field;
        std::string value;
        std::string expected;
        int reported = 0; // the field the message points at, when not the bad one
    };
    const Case cases[] = {
        {7, "abc", "\"abc\" is not a decimal integer"},
        {7, "1.5", "is not a decimal integer"},
        {7, "0x10", "is not a decimal integer"},
        {7, "1e3", "is not a decimal integer"},
        {7, "-", "is not a decimal integer"},
        {7, std::string("1\0", 2), "\"1\\x00\" is not a decimal integer"},
        {330, "32768", "does not fit a 16-bit integer"},
        {330, "-32769", "does not fit a 16-bit integer"},
        {330, std::string(40, '9'), "does not fit a 16-bit integer"},
        {330, std::string(40, '9') + "x", "is not a decimal integer"},
        {330, std::string(40, '0') + "32768", "does not fit a 16-bit integer"},
        {330, std::string(40, '0') + "100000", "does not fit a 16-bit integer"},
        {330, std::string(40, '0') + "1-", "is not a decimal integer"},
        {1, "0", "0 is not a cell"},
        {304, "65", "65 is not a cell"},
        {305, "0", "fallback cell 1"},
        {324, "-3", "-3 is not a cell"},
        {4, "5", "line 1 of the table (cells 1 2 3 5) is not a straight line", 1},
        {325, "3", "pattern row 1 must have a = 4"},
        {328, "10", "pattern row 2 must have a = 15"},
    };
    for (const Case &c : cases) {
        auto fields = fieldsOf(sample());
        fields[static_cast<std::size_t>(c.field - 1)] = c.value;
        const LoadResult r = load(join(fields, "\n"));
        EXPECT_FALSE(r.data) << "field " << c.field << " = " << c.value;
        EXPECT_NE(r.error.find(c.expected), std::string::npos) << r.error;
        const int at = c.reported ? c.reported : c.field;
        const std::string place = "kubix.dat, line " + std::to_string(at) + ", field " + std::to_string(at) + " (";
        EXPECT_NE(r.error.find(place), std::string::npos) << r.error;
    }
}

TEST(DataFile, SignsAndRangeEnds) {
    auto fields = fieldsOf(sample());
    const std::string zeros(40, '0');
    const std::pair<std::string, int> values[] = {{"32767", 32767}, {"-32768", -32768}, {"-0", 0}, {"+5", 5},
                                                  {zeros + "3", 3}, {"-" + zeros + "3", -3}, {zeros, 0},
                                                  {zeros + "32767", 32767}, {"-" + zeros + "32768", -32768}};
    for (auto [text, value] : values) {
        fields[340] = text; // row 6, value b
        const LoadResult r = load(join(fields, ","));
        ASSERT_TRUE(r.data) << r.error;
        EXPECT_EQ(r.data->patterns(2, 6), value) << text;
    }
}

TEST(DataFile, RefusesARepeatedLineAndNamesBoth) {
    auto fields = fieldsOf(sample());
    for (int i = 0; i < 4; ++i)
        fields[static_cast<std::size_t>(8 + i)] = fields[static_cast<std::size_t>(i)]; // line 3 := line 1
    const LoadResult r = load(join(fields, ","));
    EXPECT_FALSE(r.data);
    EXPECT_NE(r.error.find("line 3 of the table"), std::string::npos) << r.error;
    EXPECT_NE(r.error.find("repeats line 1"), std::string::npos) << r.error;
}

TEST(DataFile, EmptyFieldBetweenCommasIsRefused) {
    auto fields = fieldsOf(sample());
    const std::string text = join(fields, "\r\n");
    const std::size_t at = text.find("\r\n", 100);
    const LoadResult r = load(text.substr(0, at) + ",," + text.substr(at));
    EXPECT_FALSE(r.data);
    EXPECT_NE(r.error.find("empty"), std::string::npos) << r.error;
    // One comma at the end of a text line is only a separator.
    const LoadResult ok = load(join(fields, ",\r\n"));
    EXPECT_TRUE(ok.data) << ok.error;
}

TEST(DataFile, CountsCrLfAsOneLineAndCrAloneAsOne) {
    auto fields = fieldsOf(sample());
    fields[9] = "x";
    for (const std::string sep : {"\r\n", "\r", "\n"}) {
        const LoadResult r = load(join(fields, sep));
        EXPECT_NE(r.error.find("kubix.dat, line 10, field 10"), std::string::npos) << r.error;
    }
}

TEST(DataFile, ShippedFileLoadsCleanly) {
    const LoadResult r = readDataFile(TTT_SHIPPED_DATA);
    ASSERT_TRUE(r.data) << r.error;
    EXPECT_EQ(checkData(*r.data, "shipped"), "");
    // The first 16 fallback cells are those on seven lines: the corners and the inner cube.
    for (int i = 1; i <= 16; ++i)
        EXPECT_TRUE(onSevenLines(r.data->prefcells(i))) << "fallback " << i << " is cell " << r.data->prefcells(i);
}

} // namespace
} // namespace ttt
