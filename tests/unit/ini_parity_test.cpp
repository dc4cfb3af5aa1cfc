// The portable store must read every settings file as the Windows profile API does. The profile API here is
// Wine's, which stands in for Windows except where it is known to differ; those cases are left out:
//  - keys under a section header "[]": Windows finds them under the empty section name, Wine never does;
//  - a quoted value of exactly 255 characters: Wine drops its last character along with the closing quote.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "settings/ini_file_store.h"
#include "settings/win32_profile_store.h"
#include "test_support.h"

namespace zelmora::testing {
namespace {

struct Query {
    std::string section;
    std::string key;
    std::string defaultValue = "<default>";
};

struct Write {
    std::string section;
    std::string key;
    std::string value;
};

// Files are written below with "\n" and run with each of these line ends.
enum class LineEnds { CrLf, Lf, Cr, Mixed };
constexpr LineEnds kAllLineEnds[] = {LineEnds::CrLf, LineEnds::Lf, LineEnds::Cr, LineEnds::Mixed};

std::string WithLineEnds(const std::string& text, LineEnds ends) {
    static constexpr const char* kCycle[] = {"\r\n", "\n", "\r"};
    std::string result;
    size_t line = 0;
    for (char c : text) {
        if (c != '\n') {
            result += c;
            continue;
        }
        switch (ends) {
            case LineEnds::CrLf:
                result += "\r\n";
                break;
            case LineEnds::Lf:
                result += "\n";
                break;
            case LineEnds::Cr:
                result += "\r";
                break;
            case LineEnds::Mixed:
                result += kCycle[line % 3];
                break;
        }
        ++line;
    }
    return result;
}

const char* Describe(LineEnds ends) {
    switch (ends) {
        case LineEnds::CrLf:
            return "CR LF";
        case LineEnds::Lf:
            return "LF";
        case LineEnds::Cr:
            return "CR";
        case LineEnds::Mixed:
            return "mixed line ends";
    }
    return "";
}

class IniParity : public ::testing::Test {
protected:
    // Both stores read the file; every query must get the same answer from each.
    void ExpectSameReads(const std::string& text, const std::vector<Query>& queries) {
        for (LineEnds ends : kAllLineEnds) {
            SCOPED_TRACE(Describe(ends));
            const std::string path = NewFile(WithLineEnds(text, ends));
            int fromFile = 0;
            for (const Query& query : queries) {
                const std::string expected = windows_.Read(query.section, query.key, query.defaultValue, path);
                EXPECT_EQ(portable_.Read(query.section, query.key, query.defaultValue, path), expected)
                    << "[" << query.section << "] " << query.key;
                fromFile += expected != query.defaultValue;
            }
            EXPECT_GT(fromFile, 0) << "no query was answered from the file";
        }
    }

    // Each store makes the same writes to its own copy of the file. Then each copy is read through both
    // stores, and all four answers to every query must agree.
    void ExpectSameReadsAfterWrites(const std::string& text, const std::vector<Write>& writes,
                                    const std::vector<Query>& queries) {
        for (LineEnds ends : kAllLineEnds) {
            SCOPED_TRACE(Describe(ends));
            const std::string portablePath = NewFile(WithLineEnds(text, ends));
            const std::string windowsPath = NewFile(WithLineEnds(text, ends));
            for (const Write& write : writes) {
                portable_.Write(write.section, write.key, write.value, portablePath);
                windows_.Write(write.section, write.key, write.value, windowsPath);
            }
            int fromFile = 0;
            for (const Query& query : queries) {
                SCOPED_TRACE("[" + query.section + "] " + query.key);
                const std::string expected = windows_.Read(query.section, query.key, query.defaultValue, windowsPath);
                EXPECT_EQ(portable_.Read(query.section, query.key, query.defaultValue, portablePath), expected);
                EXPECT_EQ(portable_.Read(query.section, query.key, query.defaultValue, windowsPath), expected);
                EXPECT_EQ(windows_.Read(query.section, query.key, query.defaultValue, portablePath), expected);
                fromFile += expected != query.defaultValue;
            }
            EXPECT_GT(fromFile, 0) << "no query was answered from the file";
        }
    }

private:
    // A fresh file for every read, so the profile API never answers from a copy it cached earlier.
    std::string NewFile(const std::string& text) {
        const std::string name = "parity-" + std::to_string(files_++) + ".ini";
        if (!text.empty())
            std::ofstream(dir_.Path() / name, std::ios::binary) << text;
        return dir_.Text(name);
    }

    TempDir dir_;
    int files_ = 0;
    IniFileStore portable_;
    Win32ProfileStore windows_;
};

const std::string kOddLines =
    "; written by hand\n"
    "Orphan=before any section\n"
    "[Auto]\n"
    "; Del=9\n"
    ";Time=8\n"
    "Del=1\n"
    "NoEquals\n"
    "Time\n"
    "Time=15\n"
    "=no key\n"
    "[Broken\n"
    "After=2\n"
    "Broken]=3\n"
    "\n"
    "[Cls]  ; the totals\n"
    "TGB=0\n";

const std::string kDuplicates =
    "[Auto]\n"
    "Time=1\n"
    "TIME=2\n"
    "Del=3\n"
    "[Cls]\n"
    "TGB=4\n"
    "[auto]\n"
    "Time=5\n"
    "ALoad=6\n";

TEST_F(IniParity, SectionsAndKeysPresentMissingOrInOtherCase) {
    ExpectSameReads("[Auto]\nDel=1\nTime=15\n[Cls]\nTGB=0\nTKB=250\n", {{"Auto", "Del"},
                                                                        {"Auto", "Time"},
                                                                        {"Auto", "ALoad"},
                                                                        {"Other", "Del"},
                                                                        {"auto", "DEL"},
                                                                        {"CLS", "tkb"},
                                                                        {"Cls", "Del"},
                                                                        {"Auto", "TGB"}});
}

TEST_F(IniParity, TheFirstOfDuplicateKeysAndSectionsCounts) {
    ExpectSameReads(kDuplicates, {{"Auto", "Time"}, {"Auto", "Del"}, {"AUTO", "ALoad"}, {"Cls", "TGB"}});
}

TEST_F(IniParity, BlanksAndQuotes) {
    ExpectSameReads(
        "   [Auto]   \n"
        "  Time  =  12  \n"
        "Del\t=\t7\t\n"
        "ALoad =\n"
        "Quoted = \"two words\"\n"
        "Single='single'\n"
        "Padded=\" inner blanks kept \"\n"
        "Mismatched='x\"\n"
        "Unclosed=\"abc\n"
        "Lone=\"\n"
        "EmptyQuotes=\"\"\n"
        "Inner=a \"b\" c\n"
        "[ Cls ]\n"
        "TGB=3\n",
        {{"Auto", "Time"},
         {"Auto", "Del"},
         {"Auto", "ALoad"},
         {"Auto", "Quoted"},
         {"Auto", "Single"},
         {"Auto", "Padded"},
         {"Auto", "Mismatched"},
         {"Auto", "Unclosed"},
         {"Auto", "Lone"},
         {"Auto", "EmptyQuotes"},
         {"Auto", "Inner"},
         {"Cls", "TGB"}});
}

TEST_F(IniParity, CommentsLinesWithoutEqualsAndUnclosedSectionHeaders) {
    ExpectSameReads(kOddLines, {{"Auto", "Del"},
                                {"Auto", "Time"},
                                {"Auto", "NoEquals"},
                                {"Auto", "Orphan"},
                                {"Auto", "After"},
                                {"Broken", "After"},
                                {"Auto", "Broken]"},
                                {"Cls", "TGB"}});
}

TEST_F(IniParity, LongValuesAndDefaults) {
    const std::string longValue(300, 'v');
    ExpectSameReads("[Auto]\nLong=" + longValue + "\nLongQuoted=\"" + std::string(300, 'w') + "\"\nShort=s\n",
                    {{"Auto", "Long"},
                     {"Auto", "LongQuoted"},
                     {"Auto", "Short", std::string(300, 'd')},
                     {"Auto", "Missing", std::string(300, 'd')},
                     {"Auto", "Missing", "fallback  "},
                     {"Auto", "Missing", "one two  "},
                     {"Auto", "Missing", "  leading"},
                     {"Auto", "Missing", ""}});
}

TEST_F(IniParity, ReadsAfterWritingANewFile) {
    ExpectSameReadsAfterWrites(
        "",
        {{"Auto", "Del", "1"},
         {"Auto", "Time", "15"},
         {"Cls", "TGB", "0"},
         {"Auto", "ALoad", "0"},
         {"Auto", "Long", std::string(300, 'x')}},
        {{"Auto", "Del"}, {"Auto", "Time"}, {"Auto", "ALoad"}, {"Cls", "TGB"}, {"Cls", "Del"}, {"Auto", "Long"}});
}

TEST_F(IniParity, ReadsAfterWritingNewSectionsNewKeysAndReplacements) {
    ExpectSameReadsAfterWrites(kOddLines,
                               {{"Auto", "Added", "5"},
                                {"auto", "DEL", "0"},
                                {"Auto", "NoEquals", "now"},
                                {"Auto", "After", "4"},
                                {"New", "Key", "v"},
                                {"Cls", "TGB", "  padded  "},
                                {"Cls", "TKB", "\"quoted\""}},
                               {{"Auto", "Added"},
                                {"Auto", "Del"},
                                {"Auto", "NoEquals"},
                                {"Auto", "After"},
                                {"Auto", "Time"},
                                {"Auto", "Orphan"},
                                {"Broken", "After"},
                                {"New", "Key"},
                                {"Cls", "TGB"},
                                {"Cls", "TKB"}});
    ExpectSameReadsAfterWrites(kDuplicates, {{"AUTO", "ALoad", "7"}, {"Auto", "Time", "9"}},
                               {{"Auto", "Time"}, {"Auto", "ALoad"}, {"Auto", "Del"}, {"Cls", "TGB"}});
}

}  // namespace
}  // namespace zelmora::testing

#endif  // _WIN32
