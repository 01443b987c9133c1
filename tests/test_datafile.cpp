#include "TestBoards.h"
#include "model/DataFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sys/stat.h>
#include <sstream>
#include <unistd.h>

namespace ttt {
namespace {

// A sound table with negative values in the pattern rows.
GameData sample() { return test::makeData({{4, -1, -1}, {15, -1, -1}, {3, -1, -1}, {10, 10, -1}, {0, -1, -1}}); }

std::vector<std::string> fields() {
    std::vector<std::string> out;
    for (int16 v : dataFields(sample()))
        out.push_back(std::to_string(v));
    return out;
}

std::string join(const std::vector<std::string> &f, const std::string &sep) {
    std::string out;
    for (std::size_t i = 0; i < f.size(); ++i)
        out += (i ? sep : "") + f[i];
    return out;
}

LoadResult load(const std::string &text) {
    std::istringstream in(text);
    return readData(in, "kubix.dat");
}

// Every layout loads the same tables, and every number reads as the value it writes: field 341
// (row 6, value b) is set to each.
TEST(DataFile, EveryLayoutAndEveryWayOfWritingANumber) {
    const auto f = fields();
    const std::string zeros(5000, '0');
    std::vector<std::pair<std::string, int>> cases = {
        {join(f, ","), -1}, {join(f, "\n") + "\n", -1}, {join(f, "\r\n"), -1}, {join(f, " , \t"), -1}, {join(f, "\r"), -1},
        {formatData(sample()), -1}, {"\xEF\xBB\xBF" + join(f, ","), -1}, // an editor's byte-order mark
        {join(f, ",") + ",7,8,9", -1}, {join(f, ",") + "\nnot a number,,", -1}, {join(f, ",\r\n"), -1}, // nothing after 366 is read
    };
    for (const std::string &value : std::vector<std::string>{"32767", "-32768", "-0", "+5", zeros + "3", "-" + zeros + "3", zeros,
                                                              zeros + "32767", "-" + zeros + "32768"}) {
        auto g = f;
        g[340] = value;
        cases.push_back({join(g, ","), std::stoi(value)});
    }
    for (const auto &[text, value] : cases) {
        const LoadResult r = load(text);
        ASSERT_TRUE(r.data) << r.error << "\ntext: " << text.substr(0, 40);
        GameData expected = sample();
        expected.patterns(2, 6) = static_cast<int16>(value);
        EXPECT_EQ(*r.data, expected) << text.substr(0, 40);
    }
}

// Each bad input stops the load with a message naming the file, and for a bad field its text line,
// its number and what it is.
TEST(DataFile, RefusesBadInputAndSaysWhere) {
    struct Case {
        int field; // 0: `value` is the whole text
        std::string value, expected;
        int reported = 0; // the field the message points at, when not the bad one
    };
    auto f = fields();
    f.pop_back();
    const std::string zeros(40, '0');
    const Case cases[] = {
        {7, "abc", "line 7, field 7 (line table entry 7 (line 2, cell 3)): \"abc\" is not a decimal integer"},
        {7, "-", "not a decimal integer"},
        {7, std::string("1\0", 2), "\"1\\x00\" is not a decimal integer"},
        {7, "\xC3\xA9", "\"\\xc3\\xa9\" is not a decimal integer"},
        {330, "32768", "does not fit a 16-bit integer"},
        {330, std::string(40, '9'), "\"999999999999999999999999...\" does not fit"},
        {330, std::string(40, '9') + "x", "not a decimal integer"},
        {330, zeros + "32768", "does not fit a 16-bit integer"},
        {330, zeros + "1-", "not a decimal integer"},
        {304, "65", "65 is not a cell"},
        {305, "0", "field 305 (fallback cell 1): 0 is not a cell"},
        {324, "-3", "field 324 (fallback cell 20): -3 is not a cell"},
        {4, "5", "line 1 of the table (cells 1 2 3 5) is not a straight line", 1},
        {325, "x", "field 325 (pattern row 1, value a): \"x\""},
        {325, "3", "pattern row 1 must have a = 4"},
        {328, "10", "field 328 (pattern row 2, value a): pattern row 2 must have a = 15"},
        {0, "", "ends after 0 fields"},
        {0, " \r\n\t \n\n", "ends after 0 fields (line 4)"},
        {0, " ,\r\n", "or a comma before the first number"},
        {0, "\xEF\xBB\xBF", "ends after 0 fields"},
        {0, ",,", "empty"},
        {0, join(f, "\n") + "\n", "ends after 365 fields (line 366); it needs 366"},
        {0, "\xEF\xBB" + join(fields(), ","), "field 1 (line table entry 1 (line 1, cell 1)): \"\\xef\\xbb1\""},
        {0, join(fields(), ",").insert(100, ",,"), "the field is empty"},
        {0, join(fields(), ",").replace(0, 7, "9,10,11,12"), "(cells 9 10 11 12) repeats line 1;"},
    };
    for (const Case &c : cases) {
        std::string text = c.value;
        if (c.field > 0) {
            auto all = fields();
            all[static_cast<std::size_t>(c.field - 1)] = c.value;
            text = join(all, "\n");
        }
        const LoadResult r = load(text);
        EXPECT_FALSE(r.data) << c.expected;
        EXPECT_NE(r.error.find(c.expected), std::string::npos) << r.error;
        EXPECT_EQ(r.error.rfind("kubix.dat", 0), 0u) << r.error;
        if (c.field > 0) {
            const std::string at = std::to_string(c.reported ? c.reported : c.field);
            EXPECT_NE(r.error.find("kubix.dat, line " + at + ", field " + at + " ("), std::string::npos) << r.error;
        }
    }
    auto bad = fields();
    bad[9] = "x";
    for (const std::string sep : {"\r\n", "\r", "\n", ",\r\n"})
        EXPECT_NE(load(join(bad, sep)).error.find("kubix.dat, line 10, field 10"), std::string::npos) << "CR-LF is one line end";
}

TEST(DataFile, FilesOnDisk) {
    const auto dir = std::filesystem::temp_directory_path() / ("ttt_datafile_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "folder" / kDataFileName);
    EXPECT_NE(readDataFile(dir / kDataFileName).error.find("kubix.dat: cannot be opened: No such file"), std::string::npos);
    EXPECT_NE(readDataFile(dir / "folder" / kDataFileName).error.find("it is a folder"), std::string::npos);
    {
        std::ofstream out(dir / "digits", std::ios::binary);
        for (int i = 0; i < 10; ++i)
            out << std::string(1 << 20, '9');
    }
    const LoadResult digits = readDataFile(dir / "digits"); // one field, never held whole
    EXPECT_NE(digits.error.find("field 1 "), std::string::npos);
    EXPECT_LT(digits.error.size(), 300u);
    // Neither a pipe nor an endless device is read: each is refused at once, naming what it is.
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir / "zero");
    for (const auto &[file, kind] : {std::pair{"pipe", "a named pipe"}, {"zero", "a character device"}}) {
        const auto start = std::chrono::steady_clock::now();
        const LoadResult r = readDataFile(dir / file);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << file;
        EXPECT_NE(r.error.find(std::string(file) + ": cannot be read: it is " + kind), std::string::npos) << r.error;
    }
    std::filesystem::remove_all(dir);
}

// A stream of junk without end (NUL bytes, as from a device or a sparse file) is read only as far
// as the message shows it.
TEST(DataFile, StopsAtAFieldThatCannotBeANumber) {
    struct Endless : std::streambuf {
        int_type underflow() override {
            served += sizeof buf;
            setg(buf, buf, buf + sizeof buf);
            return 0;
        }
        char buf[64] = {};
        std::size_t served = 0;
    } endless;
    std::istream in(&endless);
    const LoadResult r = readData(in, "kubix.dat");
    EXPECT_NE(r.error.find("field 1 (line table entry 1 (line 1, cell 1)): \"\\x00\\x00"), std::string::npos) << r.error;
    EXPECT_NE(r.error.find("...\" is not a decimal integer"), std::string::npos) << r.error;
    EXPECT_LE(endless.served, 64u);
}

} // namespace
} // namespace ttt
