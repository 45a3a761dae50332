// The manifest embedded in the built program: what Windows reads from it before the program runs.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/support/files.h"
#include "tests/support/program_driver.h"

namespace kelvane {
namespace {

TEST(ManifestTest, AsksForCommonControls6DpiAwarenessElevationAndNamesWindows7To11)
{
    const std::string manifest = test::EmbeddedManifest(test::ProgramPath());
    ASSERT_FALSE(manifest.empty()) << "no RT_MANIFEST resource 1 in the program";
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true"
                            "</dpiAware>"),
              std::string::npos);
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"requireAdministrator\""), std::string::npos);
    for (const char* os : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + os + "\"/>"), std::string::npos) << os;
}

}  // namespace
}  // namespace kelvane
