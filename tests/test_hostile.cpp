#include "model/DataFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

namespace ttt {
namespace {

std::string soundFile() {
    std::ifstream in(TTT_SHIPPED_DATA, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Puts `field` in place of the first number of the pattern table (field 325, row 1's a).
std::string withFirstPatternValue(const std::string &field) {
    std::string text = soundFile();
    std::istringstream in(text);
    std::string out, line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        if (++lineNo == 78) // 76 lines of the cube, the fallback cells, then row 1
            line = field + line.substr(line.find(','));
        out += line + "\n";
    }
    return out;
}

LoadResult load(const std::string &text) {
    std::istringstream in(text);
    return readData(in, "kubix.dat");
}

// Each hostile input either loads a definite table or fails with a message; none crashes or hangs.
TEST(HostileFiles, LoadOrFailWithAMessage) {
    struct Case {
        std::string name;
        std::string text;
        bool loads;
    };
    std::string crOnly = soundFile();
    std::replace(crOnly.begin(), crOnly.end(), '\n', '\r');
    std::string withNul = soundFile();
    withNul[withNul.find(',')] = '\0';
    const Case cases[] = {
        {"empty file", "", false},
        {"only separators", " ,\r\n\t \n\n", false},
        {"byte-order mark alone", "\xEF\xBB\xBF", false},
        {"byte-order mark before a sound file", "\xEF\xBB\xBF" + soundFile(), true},
        {"half a byte-order mark", "\xEF\xBB" + soundFile(), false},
        {"NUL byte inside", withNul, false},
        {"CR-only line ends", crOnly, true},
        {"-0 in row 1", withFirstPatternValue("-0"), false}, // loads as 0, and row 1 must be 4
        {"+4 in row 1", withFirstPatternValue("+4"), true},
        {"32767", withFirstPatternValue("32767"), false},
        {"-32768", withFirstPatternValue("-32768"), false},
        {"non-ASCII bytes", withFirstPatternValue("\xC3\xA9"), false},
    };
    for (const Case &c : cases) {
        const LoadResult r = load(c.text);
        EXPECT_EQ(r.data.has_value(), c.loads) << c.name << ": " << r.error;
        EXPECT_EQ(r.error.empty(), c.loads) << c.name;
        if (!c.loads) {
            EXPECT_EQ(r.error.rfind("kubix.dat", 0), 0u) << c.name << ": " << r.error;
        }
    }
    EXPECT_NE(load(withFirstPatternValue("32768")).error.find("does not fit"), std::string::npos);
    EXPECT_NE(load(withFirstPatternValue("32767")).error.find("row 1 must have a = 4"), std::string::npos);
}

TEST(HostileFiles, TenMegabytesOfDigitsIsOneFieldTooLarge) {
    const auto path = std::filesystem::temp_directory_path() / ("ttt_digits_" + std::to_string(::getpid()));
    {
        std::ofstream out(path, std::ios::binary);
        const std::string block(1 << 20, '9');
        for (int i = 0; i < 10; ++i)
            out << block;
    }
    const LoadResult r = readDataFile(path);
    std::filesystem::remove(path);
    EXPECT_FALSE(r.data);
    EXPECT_NE(r.error.find("field 1 "), std::string::npos) << r.error;
    EXPECT_NE(r.error.find("does not fit"), std::string::npos) << r.error;
    EXPECT_LT(r.error.size(), 300u) << "the message must not quote the whole field";
}

TEST(HostileFiles, AFolderNamedLikeTheFile) {
    const auto dir = std::filesystem::temp_directory_path() / ("ttt_folder_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "kubix.dat");
    const LoadResult folder = readDataFile(dir / "kubix.dat");
    std::filesystem::remove_all(dir);
    EXPECT_FALSE(folder.data);
    EXPECT_NE(folder.error.find("folder"), std::string::npos) << folder.error;
}

TEST(HostileFiles, AFileWithoutReadPermission) {
    const auto dir = std::filesystem::temp_directory_path() / ("ttt_perm_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto file = dir / "kubix.dat";
    std::ofstream(file) << soundFile();
    std::filesystem::permissions(file, std::filesystem::perms::none);
    const bool root = ::geteuid() == 0;
    const LoadResult locked = readDataFile(file);
    std::filesystem::remove_all(dir);
    if (root)
        GTEST_SKIP() << "running as root, who may read any file: an unreadable file cannot be made here";
    EXPECT_FALSE(locked.data);
    EXPECT_NE(locked.error.find("Permission denied"), std::string::npos) << locked.error;
}

} // namespace
} // namespace ttt
