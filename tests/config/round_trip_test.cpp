// Generated files: every one loads, and Save then Load gives back exactly the entries with non-empty values.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "config/game_config_file.h"
#include "tests/support/temp_folder.h"

namespace kelvane {
namespace {

using test::TempGameFolder;

constexpr unsigned kSeed = 20240611;
constexpr int kFiles = 300;

// What the written form can carry: "SET <name> <value>" CR LF reads back as the same entry only when the name
// is non-empty without blanks or line ends (it ends at the first blank), and the value is non-empty, holds no
// CR or LF (the line is cut there) and does not start with a blank (blanks after the name are dropped).
bool SurvivesSaveAndLoad(const ConfigEntry& entry)
{
    return !entry.name.empty() && entry.name.find_first_of(" \t\r\n") == std::string::npos && !entry.value.empty() &&
           entry.value.find_first_of("\r\n") == std::string::npos && entry.value[0] != ' ' && entry.value[0] != '\t';
}

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    int Below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }

    // Bytes that matter to the rules, much more often than chance would give them.
    std::string Piece()
    {
        static const std::string kPieces[] = {"SET ", "SET", "S", "E", "T", " ", "  ", "\t", "\r", "\r\n", "\n",
                                              std::string(1, '\0'), "\"", "\"0\"", "set ", "x", "name", "0"};
        switch (Below(4)) {
        case 0:
            return std::string(1, static_cast<char>(Below(256)));
        case 1:
            return std::string(1, static_cast<char>(0x80 + Below(128)));
        default:
            return kPieces[Below(static_cast<int>(std::size(kPieces)))];
        }
    }

    std::string File()
    {
        std::string bytes = Below(8) == 0 ? "\xEF\xBB\xBF" : "";
        const int pieces = Below(10) == 0 ? 5000 : Below(200);
        for (int i = 0; i < pieces; ++i) {
            bytes += Piece();
            if (Below(50) == 0)
                bytes += std::string(static_cast<std::size_t>(Below(4000)), static_cast<char>('a' + Below(26)));
        }
        return bytes;
    }

    // Wide text whose bytes the written form carries, with units up to 0xFFFF besides ASCII.
    std::wstring Text(bool spacesInside)
    {
        static const wchar_t kUnits[] = L"aZ09\"_.-\x00E9\x03A9\x6F22\xD83D\xDE00\xFFFF";
        std::wstring text;
        const int length = 1 + Below(12);
        for (int i = 0; i < length; ++i) {
            if (spacesInside && i > 0 && Below(5) == 0)
                text += Below(2) ? L' ' : L'\t';
            else
                text += kUnits[Below(static_cast<int>(std::size(kUnits)) - 1)];
        }
        return text;
    }

private:
    std::mt19937 random_;
};

TEST(RoundTrip, GeneratedFilesLoadAndSaveBackTheirNonEmptySettings)
{
    Generator generate(kSeed);
    for (int file = 0; file < kFiles; ++file) {
        SCOPED_TRACE("file " + std::to_string(file) + " of seed " + std::to_string(kSeed));
        const std::string bytes = generate.File();
        TempGameFolder game(bytes);
        GameConfigFile doc;
        ASSERT_EQ(doc.Load(game.configPath().c_str()), !bytes.empty());

        // The rules of reading only ever make entries that the written form carries, or ones with no value.
        for (const ConfigEntry& entry : doc.entries())
            ASSERT_TRUE(entry.value.empty() || SurvivesSaveAndLoad(entry)) << entry.name << " / " << entry.value;

        const int changes = generate.Below(4);
        for (int i = 0; i < changes; ++i) {
            const std::wstring name = generate.Text(false);
            doc.SetValue(name.c_str(), generate.Below(4) == 0 ? L"" : generate.Text(true).c_str());
        }

        std::vector<ConfigEntry> expected;
        for (const ConfigEntry& entry : doc.entries()) {
            if (!entry.value.empty())
                expected.push_back(entry);
        }
        ASSERT_TRUE(doc.Save());
        std::string written;   // one "SET <name> <value>" CR LF line for each entry that has a value
        for (const ConfigEntry& entry : expected)
            written.append("SET ").append(entry.name).append(" ").append(entry.value).append("\r\n");
        ASSERT_EQ(game.config(), written);

        GameConfigFile reread;
        ASSERT_EQ(reread.Load(game.configPath().c_str()), !expected.empty());
        ASSERT_EQ(reread.entries(), expected);
    }
}

}  // namespace
}  // namespace kelvane
