// windows_exception: its reason, the system message behind ": ", what(), copying and its place in the chain.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "config/mapped_file_view.h"
#include "config/windows_exception.h"
#include "tests/support/temp_folder.h"

namespace kelvane {
namespace {

using win::windows_exception;

constexpr std::uint32_t kCodeWithoutMessage = 0x2000BEEF;   // the customer bit: no system text exists for it

// The system's text for a code, fetched here independently, with its final period and line end removed.
std::string SystemText(DWORD code)
{
    char buffer[512];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_MAX_WIDTH_MASK, nullptr, code,
                                        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, sizeof(buffer), nullptr);
    std::string text(buffer, length);
    while (!text.empty() && std::string("\t\r\n .").find(text.back()) != std::string::npos)
        text.pop_back();
    return text;
}

TEST(WindowsException, OutOfMemoryCodesDropTheReason)
{
    // The system's codes, not the product's names for them, so a wrong number there fails here.
    for (const std::uint32_t code : {std::uint32_t{ERROR_OUTOFMEMORY}, static_cast<std::uint32_t>(E_OUTOFMEMORY)}) {
        const windows_exception failure("Failed to map view of file", code);
        EXPECT_STREQ(failure.reason(), "");
        EXPECT_STREQ(failure.what(), "Out of memory");
        EXPECT_EQ(failure.code(), code);
    }
}

TEST(WindowsException, ReasonGetsTheSystemMessageAppendedAfterAColon)
{
    const std::string message = SystemText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(message.empty());
    const windows_exception failure("Failed to open file for mapping", ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(std::string(failure.what()), "Failed to open file for mapping: " + message);
    const char last = std::string(failure.what()).back();
    EXPECT_TRUE(last != '.' && last != '\n' && last != '\r' && last != ' ' && last != '\t');
}

TEST(WindowsException, WithoutAReasonWhatFallsBackToTheMessageOrAGenericText)
{
    const windows_exception known(nullptr, ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(known.reason(), "");
    const char* const first = known.what();
    EXPECT_EQ(std::string(first), SystemText(ERROR_FILE_NOT_FOUND));
    // Fetched once and kept: a second call hands back the same text, not a new fetch.
    EXPECT_EQ(static_cast<const void*>(known.what()), static_cast<const void*>(first));

    const windows_exception unknown("", kCodeWithoutMessage);
    EXPECT_STREQ(unknown.what(), "Windows system error");
    const windows_exception unknownWithReason("Failed to open file mapping", kCodeWithoutMessage);
    EXPECT_STREQ(unknownWithReason.what(), "Failed to open file mapping");
}

TEST(WindowsException, LongReasonsAreKeptWholeAndCopiesKeepReasonAndCode)
{
    const std::string longReason(300, 'r');
    const windows_exception original(longReason.c_str(), kCodeWithoutMessage);
    EXPECT_EQ(std::string(original.what()), longReason);

    const windows_exception copy(original);
    EXPECT_EQ(std::string(copy.what()), longReason);
    EXPECT_NE(copy.what(), original.what());
    EXPECT_EQ(copy.code(), kCodeWithoutMessage);

    // A message fetched by what() is not carried over: the copy fetches its own.
    const windows_exception noReason(nullptr, ERROR_ACCESS_DENIED);
    const std::string fetched = noReason.what();
    windows_exception assigned("short", kCodeWithoutMessage);
    assigned = noReason;
    EXPECT_EQ(std::string(assigned.what()), fetched);
    EXPECT_EQ(assigned.code(), static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
    assigned = original;
    EXPECT_EQ(std::string(assigned.what()), longReason);
}

TEST(WindowsException, MappingFailuresAreCaughtAsEveryBaseOfTheChain)
{
    test::TempFolder folder;
    ASSERT_TRUE(folder.ok()) << "cannot create a temporary folder, error " << folder.error();
    const std::wstring missing = folder / L"missing.wtf";
    try {
        MappedFileView view(missing.c_str());
        FAIL() << "a missing file was mapped";
    } catch (const windows_exception& failure) {
        EXPECT_EQ(failure.code(), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
        EXPECT_EQ(std::string(failure.what()).rfind("Failed to open file for mapping: ", 0), 0u) << failure.what();
    }
    EXPECT_THROW(MappedFileView view(missing.c_str()), os_exception);
    EXPECT_THROW(MappedFileView view(missing.c_str()), project_exception);
    EXPECT_THROW(MappedFileView view(missing.c_str()), std::exception);
}

}  // namespace
}  // namespace kelvane
