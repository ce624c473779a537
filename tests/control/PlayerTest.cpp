// The command line's keywords, the PROGRAM_ERROR text, and the crash report written and read back.
#include "control/Player.h"
#include "foundation/Exception.h"
#include "state/StatusReports.h"
#include "tests/foundation/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

struct TParsed {
    bool Gamemaster = false;
    int32_t Engine = -1;
};

TParsed Parse(const char* Line) {
    TParsed Result;
    ParseCommandLine(Line, Result.Gamemaster, Result.Engine);
    return Result;
}

TMyException Failure() {
    try {
        CHECK(1 == 2);
    } catch (const TMyException& Error) {
        return TMyException(__FILE__, __LINE__, "exception occurred", "", 0, "", 0, Error);
    }
    return TMyException(__FILE__, __LINE__, "none", "", 0, "", 0, "");
}

std::string ReportText() {
    FILE* File = tmpfile();
    WriteErrorReportText(File, Failure());
    std::string Text;
    rewind(File);
    for (int c; (c = fgetc(File)) != EOF;)
        Text += static_cast<char>(c);
    fclose(File);
    return Text;
}

} // namespace

TEST(CommandLine, EngineTakesTheNextValue) {
    EXPECT_EQ(Parse("engine 2").Engine, 2);
    EXPECT_EQ(Parse("engine").Engine, -1);
    EXPECT_EQ(Parse("engine abc").Engine, 0);
    EXPECT_EQ(Parse("ENGINE\t-1").Engine, -1);
    EXPECT_EQ(Parse("engine 1x").Engine, 1);
}

TEST(CommandLine, HostAndPortValuesAreDropped) {
    TParsed Result = Parse("host example port 7171 gamemaster");
    EXPECT_TRUE(Result.Gamemaster);
    EXPECT_EQ(Result.Engine, -1);
    EXPECT_TRUE(Parse("host gamemaster").Gamemaster); // a keyword is never taken as a value
}

TEST(CommandLine, GamemasterKeepsAPendingEngineValue) {
    TParsed Result = Parse("engine GameMaster 1");
    EXPECT_TRUE(Result.Gamemaster);
    EXPECT_EQ(Result.Engine, 1);
}

TEST(CommandLine, ALongLineIsCutAt1023Characters) {
    std::string Line(1015, ' ');
    Line += "engine 12345"; // "engine 1" fits, the rest is cut
    EXPECT_EQ(Parse(Line.c_str()).Engine, 1);
}

TEST(ProgramError, MessageCarriesTheCodeAndTheAdvice) {
    const std::string Text = ProgramErrorMessage(2);
    EXPECT_EQ(Text.rfind(GetProgramErrorText(2), 0), 0u);
    EXPECT_NE(Text.find(" (Error Code 2)\r\n\r\n" + GetProgramErrorAdvice(2)), std::string::npos);
}

TEST(CrashReport, LinesOfAReportWithoutMainWindow) {
    const std::string Text = ReportText();
    EXPECT_EQ(Text.rfind("\n+" + std::string(63, '-') + "\nDebug Assertion 7.72 PlayerTest.cpp ", 0), 0u);
    EXPECT_NE(Text.find("\nWindows Version: "), std::string::npos);
    EXPECT_NE(Text.find("\nGraphic Engine: 0\n"), std::string::npos);
    EXPECT_NE(Text.find("\nLast Packet Types: 000 000 000 000 000 000 000 000 000 000\n"), std::string::npos);
    EXPECT_EQ(Text.find("Last Packet:"), std::string::npos);
    EXPECT_EQ(Text.find("Player Position"), std::string::npos);
    EXPECT_NE(Text.find("assertion failed"), std::string::npos);
    // The closing dashes end the report without a line feed.
    EXPECT_EQ(Text.substr(Text.size() - 65), "\n" + std::string(64, '-'));
}

TEST(CrashReport, TwoReportsReadBackAsTwoRecords) {
    const TWorkingDirectory Directory; // error.txt is read from the working directory
    ClearErrorReports();
    {
        FILE* File = fopen("error.txt", "w");
        WriteErrorReportText(File, Failure());
        WriteErrorReportText(File, Failure());
        fclose(File);
    }
    ReadErrorReports();
    EXPECT_EQ(GetErrorReports(), 2);
    EXPECT_EQ(std::string(GetErrorReportTitle(1)).rfind("Debug Assertion 7.72 PlayerTest.cpp", 0), 0u);
    EXPECT_NE(std::string(GetErrorReportText(0)).find("Last Packet Types:"), std::string::npos);
    ClearErrorReports();
}

// A line beyond what a record holds (2047 characters) is cut and its rest skipped: the reports behind it are
// read all the same.
TEST(CrashReport, AnOverlongLineIsCutAndTheReportsBehindItAreRead) {
    const TWorkingDirectory Directory; // error.txt is read from the working directory
    ClearErrorReports();
    {
        FILE* File = fopen("error.txt", "w");
        WriteErrorReportText(File,
                             TMyException(__FILE__, __LINE__, "long", "", 0, "", 0, std::string(3000, 'x')));
        WriteErrorReportText(File, Failure());
        WriteErrorReportText(File, Failure());
        fclose(File);
    }
    ReadErrorReports();
    ASSERT_EQ(GetErrorReports(), 3);
    const std::string Long = GetErrorReportText(0);
    EXPECT_EQ(Long.size(), 2047u);
    EXPECT_EQ(Long.substr(Long.size() - 100), std::string(100, 'x'));
    for (int32_t i = 1; i <= 2; i++)
        EXPECT_NE(std::string(GetErrorReportText(i)).find("assertion failed"), std::string::npos) << i;
    ClearErrorReports();
}

TEST(CrashReport, APipeUnderTheNameHoldsNoReportAndIsNoWait) {
    const TWorkingDirectory Directory; // error.txt is read from the working directory
    ClearErrorReports();
    EXPECT_TRUE(ReturnsBesideAPipe("error.txt", [] { ReadErrorReports(); }));
    EXPECT_EQ(GetErrorReports(), 0);
}

TEST(CrashReport, TruncatedLinesAndMissingDashesAreKeptApart) {
    const TWorkingDirectory Directory; // error.txt is read from the working directory
    ClearErrorReports();
    {
        std::ofstream File("error.txt", std::ios::binary);
        File << "\n+---\nFirst title\nMon Jan  1 00:00:00 2024\nPlayer Position: [\n"
             << "+---\nSecond title\nTue Jan  2 00:00:00 2024\nline\n----";
    }
    ReadErrorReports();
    ASSERT_EQ(GetErrorReports(), 2);
    EXPECT_STREQ(GetErrorReportTitle(0), "First title");
    EXPECT_STREQ(GetErrorReportText(0), "Player Position: [ (truncated input line)");
    EXPECT_STREQ(GetErrorReportTitle(1), "Second title");
    EXPECT_STREQ(GetErrorReportText(1), "line");
    ClearErrorReports();
}
