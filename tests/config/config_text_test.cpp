// The config.wtf line rules, entry splitting and written form, checked on byte literals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/config_text.h"

namespace kelvane {
namespace {

using namespace std::string_literals;

std::vector<ConfigEntry> Entries(std::string_view bytes)
{
    std::vector<ConfigEntry> entries;
    AppendEntries(bytes, entries);
    return entries;
}

struct LineCase {
    std::string line;
    bool setting;
    std::string name;
    std::string value;
};

TEST(ConfigText, EachExampleLineGivesItsEntryOrIsSkipped)
{
    const LineCase cases[] = {
        {"SET textureCacheSize \"256\"\r\n", true, "textureCacheSize", "\"256\""},
        {"SET synchronizeMacros \"0\"\n", true, "synchronizeMacros", "\"0\""},
        {"SET   synchronizeConfig   \"1\"  ", true, "synchronizeConfig", "\"1\"  "},
        {"SET synchronizeBindings 0 1", true, "synchronizeBindings", "0 1"},
        {"SET textureCacheSize", true, "textureCacheSize", ""},
        {"SET", false, "", ""},
        {"  SET synchronizeConfig \"0\"", true, "SET", "synchronizeConfig \"0\""},
        {"x SET y", true, "x", "SET y"},
        {"set textureCacheSize \"256\"", false, "", ""},
        {"SET\ttextureCacheSize \"256\"", false, "", ""},
        {"", false, "", ""},
        {"# SETTINGS", false, "", ""},
        {"SETSET \t name\tvalue with\ttabs\r trailing", true, "name", "value with\ttabs"},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE("line: " + c.line);
        const std::vector<ConfigEntry> entries = Entries(c.line);
        if (!c.setting) {
            EXPECT_TRUE(entries.empty());
            continue;
        }
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].name, c.name);
        EXPECT_EQ(entries[0].value, c.value);
    }
}

TEST(ConfigText, SettingLineIsStrippedOfSetLettersAndBlanksAndCutAtTheFirstLineEnd)
{
    EXPECT_EQ(IsSettingLine("SET a b\rc"), std::optional<std::string_view>("a b"));
    EXPECT_EQ(IsSettingLine("TESSET \t\nname v"), std::optional<std::string_view>("name v"));
    EXPECT_EQ(IsSettingLine("SET "), std::optional<std::string_view>(""));
    EXPECT_EQ(IsSettingLine("Set a b"), std::nullopt);
    // A line cut out of a file never holds LF, but a stripped one may begin with it after the letters.
    const ConfigEntry entry = ParseEntry("\t name \t\n value ");
    EXPECT_EQ(entry.name, "name");
    EXPECT_EQ(entry.value, "value ");
    const ConfigEntry bare = ParseEntry("onlyName");
    EXPECT_EQ(bare.name, "onlyName");
    EXPECT_EQ(bare.value, "");
}

TEST(ConfigText, CrLfAndLfFilesGiveIdenticalEntries)
{
    const std::string lf = "SET a \"1\"\n# comment\n\nSET b 2 \nSET c\"x\" y\nSET d \"4\"";
    std::string crlf;
    for (char c : lf)
        crlf += c == '\n' ? "\r\n"s : std::string(1, c);
    const std::vector<ConfigEntry> fromLf = Entries(lf);
    ASSERT_EQ(fromLf.size(), 4u);
    EXPECT_EQ(fromLf, Entries(crlf));
    EXPECT_EQ(fromLf[3].value, "\"4\"");   // the last line needs no line end
}

TEST(ConfigText, CarriageReturnsAloneDoNotEndLines)
{
    const std::vector<ConfigEntry> entries = Entries("SET a \"1\"\rSET b \"2\"\rSET c \"3\"\r");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "a");
    EXPECT_EQ(entries[0].value, "\"1\"");
}

TEST(ConfigText, ByteOrderMarkIsPartOfTheFirstLine)
{
    const std::vector<ConfigEntry> entries = Entries("\xEF\xBB\xBFSET textureCacheSize \"256\"\r\nSET a b\r\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "\xEF\xBB\xBFSET");
    EXPECT_EQ(entries[0].value, "textureCacheSize \"256\"");
    EXPECT_EQ(entries[1].name, "a");
}

TEST(ConfigText, NulBytesAreOrdinaryBytesOfTheirLine)
{
    const std::string bytes = "SET a\0b \"x\0y\"\nSET c d"s;   // the entries view these bytes
    const std::vector<ConfigEntry> entries = Entries(bytes);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "a\0b"s);
    EXPECT_EQ(entries[0].value, "\"x\0y\""s);
}

TEST(ConfigText, CountingSettingLinesAgreesWithTheEntriesRead)
{
    const std::string bytes = "SET a \"1\"\r\n# x SET\nSET  b\t2 3\r\n\nx SET y\nSET c\rSET d\nSET last \"9\"";
    EXPECT_EQ(Entries(bytes).size(), 5u);
    EXPECT_EQ(CountSettingLines(bytes), 5u);
    EXPECT_EQ(CountSettingLines(bytes + "\n"), 5u);
}

TEST(ConfigText, LineEndsAndBlanksAreFoundAtEveryPlaceInALongLine)
{
    // The searches look at many bytes a step: each place of a blank, CR and LF must still be found exactly.
    for (std::size_t length = 1; length <= 40; ++length) {
        SCOPED_TRACE("length " + std::to_string(length));
        const std::string name(length, 'n');
        const std::string value(length, 'v');
        const std::string bytes = "SET " + name + "\t" + value + "\r" + name + "\nSET " + value + " x\n" + name;
        const std::vector<ConfigEntry> expected = {{name, value}, {value, "x"}};
        EXPECT_EQ(Entries(bytes), expected);
        EXPECT_EQ(CountLineFeeds(bytes), 2u);
        EXPECT_EQ(CountSettingLines(bytes), 2u);
    }
}

TEST(ConfigText, WrittenFormIsSetLinesWithCrLfForNonEmptyValuesOnly)
{
    const std::vector<ConfigEntry> entries = {
        {"textureCacheSize", "\"256\""}, {"gone", ""}, {"b", "0 1  "}, {"n\xC3\xA9", "\"\xE2\x82\xAC\""}};
    EXPECT_EQ(WrittenForm(entries),
              "SET textureCacheSize \"256\"\r\nSET b 0 1  \r\nSET n\xC3\xA9 \"\xE2\x82\xAC\"\r\n");
    EXPECT_EQ(WrittenForm({}), "");
    EXPECT_EQ(WrittenForm({{"a", ""}, {"b", ""}}), "");
}

}  // namespace
}  // namespace kelvane
