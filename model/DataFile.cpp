#include "model/DataFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

namespace ttt {

namespace {

constexpr int kFirstPref = kLineEntries + 1;          // field 305
constexpr int kFirstPattern = kLineEntries + kPrefCells + 1; // field 325

bool isBlank(int ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }
bool isSeparator(int ch) { return isBlank(ch) || ch == ','; }

// What field n (1..366) is, in words.
std::string describeField(int n) {
    std::ostringstream s;
    if (n < kFirstPref) {
        s << "line table entry " << n << " (line " << (n - 1) / 4 + 1 << ", cell " << (n - 1) % 4 + 1 << ")";
    } else if (n < kFirstPattern) {
        s << "fallback cell " << n - kFirstPref + 1;
    } else {
        const int i = n - kFirstPattern;
        s << "pattern row " << i / 3 + 1 << ", value " << "abc"[i % 3];
    }
    return s.str();
}

// A field's text as it can be shown in a message: quoted, short, with odd bytes escaped.
std::string showToken(const std::string &token, bool truncated) {
    std::string out = "\"";
    for (unsigned char ch : token) {
        if (ch >= 0x20 && ch < 0x7f && ch != '"' && ch != '\\') {
            out += static_cast<char>(ch);
        } else {
            static const char hex[] = "0123456789abcdef";
            out += "\\x";
            out += hex[ch >> 4];
            out += hex[ch & 15];
        }
    }
    if (truncated)
        out += "...";
    return out + "\"";
}

// Locations of fields in the file, for messages; empty when checking tables in memory.
using FieldLines = std::array<int, kDataFields + 1>;

std::string where(const std::string &name, const FieldLines *fieldLines, int field) {
    std::ostringstream s;
    s << name;
    if (fieldLines)
        s << ", line " << (*fieldLines)[static_cast<std::size_t>(field)];
    s << ", field " << field << " (" << describeField(field) << ")";
    return s.str();
}

std::string cellsText(const Line &cells) {
    std::ostringstream s;
    for (std::size_t i = 0; i < cells.size(); ++i)
        s << (i ? " " : "") << cells[i];
    return s.str();
}

std::string check(const GameData &data, const std::string &name, const FieldLines *fieldLines) {
    for (int n = 1; n <= kLineEntries; ++n) {
        const int v = data.lines(n);
        if (v < 1 || v > kCells)
            return where(name, fieldLines, n) + ": " + std::to_string(v) + " is not a cell (cells are 1 to 64)";
    }
    for (int i = 1; i <= kPrefCells; ++i) {
        const int v = data.prefcells(i);
        if (v < 1 || v > kCells)
            return where(name, fieldLines, kLineEntries + i) + ": " + std::to_string(v) +
                   " is not a cell (cells are 1 to 64)";
    }

    std::map<Line, int> seen; // sorted cells -> the line of the table that holds them
    const auto &straight = straightLines();
    for (int L = 1; L <= kLines; ++L) {
        Line cells{};
        for (int i = 0; i < 4; ++i)
            cells[static_cast<std::size_t>(i)] = data.lines(4 * L - 3 + i);
        const Line given = cells;
        std::sort(cells.begin(), cells.end());
        const std::string head = where(name, fieldLines, 4 * L - 3) + ": line " + std::to_string(L) +
                                 " of the table (cells " + cellsText(given) + ")";
        if (!std::binary_search(straight.begin(), straight.end(), cells))
            return head + " is not a straight line of the cube";
        if (auto [it, fresh] = seen.emplace(cells, L); !fresh)
            return head + " repeats line " + std::to_string(it->second) +
                   "; the table must hold each of the 76 lines once";
    }

    if (data.patterns(1, 1) != 4)
        return where(name, fieldLines, kFirstPattern) + ": pattern row 1 must have a = 4 (a line of four user marks), not " +
               std::to_string(data.patterns(1, 1));
    if (data.patterns(1, 2) != 15)
        return where(name, fieldLines, kFirstPattern + 3) +
               ": pattern row 2 must have a = 15 (three computer marks and an empty cell), not " +
               std::to_string(data.patterns(1, 2));
    return {};
}

// Reads fields one at a time, keeping count of the file's lines.
class FieldReader {
  public:
    explicit FieldReader(std::streambuf &buf) : buf_(buf) {
        // A byte-order mark from an editor is not part of the first field.
        static const char bom[] = "\xEF\xBB\xBF";
        int matched = 0;
        while (matched < 3 && buf_.sgetc() == static_cast<unsigned char>(bom[matched])) {
            buf_.sbumpc();
            ++matched;
        }
        if (matched > 0 && matched < 3)
            pending_ = std::string(bom, static_cast<std::size_t>(matched)); // not a mark after all
    }

    enum class Status { Field, End, EmptyField };

    // Skips to the next field and reads it into token(). `first` is true for field 1, before
    // which no comma may stand.
    Status next(bool first) {
        int commas = first ? 1 : 0;
        token_.clear();
        truncated_ = false;
        number_ = Number{};
        if (pending_.empty()) {
            for (;;) {
                const int ch = buf_.sgetc();
                if (ch == std::char_traits<char>::eof())
                    return Status::End;
                if (!isSeparator(ch))
                    break;
                buf_.sbumpc();
                if (ch == ',' && ++commas > 1)
                    return Status::EmptyField;
                countLine(ch);
            }
        }
        line_ = currentLine_;
        for (char ch : pending_)
            take(ch);
        pending_.clear();
        for (;;) {
            const int ch = buf_.sgetc();
            if (ch == std::char_traits<char>::eof() || isSeparator(ch))
                break;
            // Once the field cannot be a number, read on only as far as a message shows it: an
            // endless stream of junk is not read to its end.
            if (number_.malformed && token_.size() >= kMaxToken) {
                truncated_ = true;
                break;
            }
            buf_.sbumpc();
            take(static_cast<char>(ch));
        }
        return Status::Field;
    }

    // The field as a number: its sign and its digits without leading zeros, so that a zero-padded
    // number of any length reads as what it is. Like the token, it is stored only up to a bound.
    struct Number {
        bool negative = false;
        bool digits = false;    // at least one digit
        bool malformed = false; // something besides a leading sign and digits
        std::string significant;
        std::size_t length = 0; // characters read
    };

    const std::string &token() const { return token_; }
    bool truncated() const { return truncated_; }
    const Number &number() const { return number_; }
    int line() const { return line_; }
    int currentLine() const { return currentLine_; }

  private:
    static constexpr std::size_t kMaxToken = 24;

    // A long run of digits is still consumed, but no more of it is stored than a message shows.
    void take(char ch) {
        if (token_.size() < kMaxToken)
            token_ += ch;
        else
            truncated_ = true;
        Number &n = number_;
        if (n.length++ == 0 && (ch == '-' || ch == '+')) {
            n.negative = ch == '-';
        } else if (ch < '0' || ch > '9') {
            n.malformed = true;
        } else {
            n.digits = true;
            if ((ch != '0' || !n.significant.empty()) && n.significant.size() < kMaxToken)
                n.significant += ch;
        }
    }

    void countLine(int ch) {
        if (ch == '\n' || (ch == '\r' && buf_.sgetc() != '\n'))
            ++currentLine_;
    }

    std::streambuf &buf_;
    std::string pending_;
    std::string token_;
    bool truncated_ = false;
    Number number_;
    int line_ = 1;
    int currentLine_ = 1;
};

enum class Parse { Ok, NotInteger, OutOfRange };

Parse parseInt16(const FieldReader::Number &n, int16 &out) {
    if (n.malformed || !n.digits)
        return Parse::NotInteger;
    if (n.significant.size() > 5)
        return Parse::OutOfRange;
    long value = n.significant.empty() ? 0 : std::stol(n.significant);
    if (n.negative)
        value = -value;
    if (value < -32768 || value > 32767)
        return Parse::OutOfRange;
    out = static_cast<int16>(value);
    return Parse::Ok;
}

// Where field n goes; Data is GameData or const GameData.
template <typename Data> auto &destination(Data &data, int n) {
    if (n < kFirstPref)
        return data.lines(n);
    if (n < kFirstPattern)
        return data.prefcells(n - kFirstPref + 1);
    const int i = n - kFirstPattern;
    return data.patterns(i % 3 + 1, i / 3 + 1);
}

} // namespace

LoadResult readData(std::istream &in, const std::string &name) {
    LoadResult result;
    std::streambuf *buf = in.rdbuf();
    if (!buf) {
        result.error = name + ": cannot be read";
        return result;
    }
    FieldReader reader(*buf);
    GameData data;
    FieldLines fieldLines{};
    for (int n = 1; n <= kDataFields; ++n) {
        const auto status = reader.next(n == 1);
        if (status == FieldReader::Status::End) {
            std::ostringstream s;
            s << name << ": the file ends after " << n - 1 << " field" << (n == 2 ? "" : "s") << " (line "
              << reader.currentLine() << "); it needs " << kDataFields << ": " << kLineEntries
              << " line table entries, " << kPrefCells << " fallback cells and " << 3 * kPatternRows
              << " pattern values. Field " << n << " would be " << describeField(n);
            result.error = s.str();
            return result;
        }
        fieldLines[static_cast<std::size_t>(n)] = reader.currentLine();
        if (status == FieldReader::Status::EmptyField) {
            result.error = where(name, &fieldLines, n) + ": the field is empty (two commas with no number between them" +
                           std::string(n == 1 ? ", or a comma before the first number" : "") + ")";
            return result;
        }
        fieldLines[static_cast<std::size_t>(n)] = reader.line();
        switch (parseInt16(reader.number(), destination(data, n))) {
        case Parse::Ok:
            break;
        case Parse::NotInteger:
            result.error = where(name, &fieldLines, n) + ": " + showToken(reader.token(), reader.truncated()) +
                           " is not a decimal integer";
            return result;
        case Parse::OutOfRange:
            result.error = where(name, &fieldLines, n) + ": " + showToken(reader.token(), reader.truncated()) +
                           " does not fit a 16-bit integer (-32768 to 32767)";
            return result;
        }
    }
    result.error = check(data, name, &fieldLines);
    if (result.error.empty())
        result.data = data;
    return result;
}

namespace {

// What a path that is not a regular file is, in words; empty for a regular file or one that is not
// there (opening it says why). A pipe would block the open, a device never ends.
std::string notAFile(const std::filesystem::path &path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    switch (fs::status(path, ec).type()) { // follows links
    case fs::file_type::regular:
    case fs::file_type::not_found:
    case fs::file_type::none:
        return {};
    case fs::file_type::directory:
        return "a folder";
    case fs::file_type::fifo:
        return "a named pipe";
    case fs::file_type::character:
        return "a character device";
    case fs::file_type::block:
        return "a block device";
    case fs::file_type::socket:
        return "a socket";
    default:
        return {};
    }
}

} // namespace

LoadResult readDataFile(const std::filesystem::path &path) {
    const std::string name = path.string();
    if (const std::string kind = notAFile(path); !kind.empty())
        return {std::nullopt, name + ": cannot be read: it is " + kind + ", not a file"};
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int err = errno;
        return {std::nullopt, name + ": cannot be opened: " + (err ? std::strerror(err) : "unknown error")};
    }
    LoadResult result = readData(in, name);
    if (in.bad() && result.data)
        return {std::nullopt, name + ": a read error occurred"};
    return result;
}

std::string checkData(const GameData &data, const std::string &name) { return check(data, name, nullptr); }

} // namespace ttt

namespace ttt {

std::vector<int16> dataFields(const GameData &data) {
    std::vector<int16> out;
    out.reserve(kDataFields);
    for (int n = 1; n <= kDataFields; ++n)
        out.push_back(destination(data, n));
    return out;
}

std::string formatData(const GameData &data) {
    std::ostringstream s;
    for (int L = 1; L <= kLines; ++L)
        s << data.lines(4 * L - 3) << ',' << data.lines(4 * L - 2) << ',' << data.lines(4 * L - 1) << ','
          << data.lines(4 * L) << '\n';
    for (int i = 1; i <= kPrefCells; ++i)
        s << data.prefcells(i) << (i < kPrefCells ? "," : "\n");
    for (int k = 1; k <= kPatternRows; ++k)
        s << data.patterns(1, k) << ',' << data.patterns(2, k) << ',' << data.patterns(3, k) << '\n';
    return s.str();
}

} // namespace ttt
