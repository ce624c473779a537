// Tests of the error-report records and of the clipboard guard with its link pattern.
#include "state/StatusReports.h"
#include "state/StatusClipboard.h"

#include "foundation/sysinc.h"
#include "state/Status.h"
#include "tests/foundation/Thrown.h"

#include <gtest/gtest.h>
#include <string>

namespace {

int32_t Warnings = 0;
bool WarningAnswer = true;

bool RecordWarning() {
    Warnings++;
    return WarningAnswer;
}

class StatusReports : public ::testing::Test {
protected:
    void SetUp() override {
        Warnings = 0;
        WarningAnswer = true;
        InitStatus(0, RecordWarning);
    }
    void TearDown() override { ExitStatus(); }

    static std::string Clipboard() {
        const char* Text = GetClipboardText();
        return Text != nullptr ? Text : "unreadable";
    }
};

} // namespace

TEST_F(StatusReports, LinesJoinFieldsAreCutAndClearingEmptiesEveryRecord) {
    AddErrorReportLine("dropped: no report yet");
    EXPECT_EQ(GetErrorReports(), 0);
    StartErrorReport(std::string(80, 'T').c_str());
    SetErrorReportTime("Mon Jan  1 10:00:00 2024\n and more");
    AddErrorReportLine("first");
    AddErrorReportLine("second");
    SetErrorReportComment(std::string(600, 'c').c_str());
    EXPECT_EQ(std::string(GetErrorReportTitle(0)), std::string(63, 'T'));
    EXPECT_STREQ(GetErrorReportTime(0), "Mon Jan  1 10:00:00 2024\n");
    EXPECT_STREQ(GetErrorReportText(0), "first\nsecond");
    EXPECT_EQ(std::string(GetErrorReportComment(0)), "Comment: " + std::string(502, 'c'));
    StartErrorReport("Second");
    AddErrorReportLine(std::string(3000, 'x').c_str());
    AddErrorReportLine("beyond the end");
    EXPECT_EQ(std::string(GetErrorReportText(1)), std::string(2047, 'x'));
    EXPECT_EQ(GetErrorReports(), 2);
    EXPECT_STREQ(GetErrorReportTitle(-1), "");
    EXPECT_STREQ(GetErrorReportTitle(2), "");
    ClearErrorReports();
    EXPECT_EQ(GetErrorReports(), 0);
    StartErrorReport("Third");
    EXPECT_STREQ(GetErrorReportTitle(0), "Third");
    EXPECT_STREQ(GetErrorReportText(0), "");
}

TEST_F(StatusReports, TheLinkPatternFindsAddresses) {
    const char* const Links[] = {
        "visit shop.example.com today",
        "connect to 10.0.0.1",
        "example.org",
        "see www%2eexample%2ecom",
        "ab.cd",
        "Look At WWW.Example.COM",
        "http://host.de/path",
        "the x.travel? page",
        "(1.2.3.4)",
        "game.example.net:7171",
        "someone@mail.museum.",
        "a-b.c-d.co.uk",
        "line\nend.info\r",
        "20%sale.biz",
    };
    for (const char* Text : Links)
        EXPECT_TRUE(ContainsLink(Text)) << Text;
    const char* const Harmless[] = {
        "version 7.72",    "nodes 1.2.3",
        "examplecom",      "example.comx is no address",
        "example.xyz",     "12345.1.1.1",
        "hello_world.com", "shop.com_",
        "4 out of 5.5",    "",
    };
    for (const char* Text : Harmless)
        EXPECT_FALSE(ContainsLink(Text)) << Text;
}

TEST_F(StatusReports, ALongTextIsStillSearchedToTheEnd) {
    // Chat lines that make the matcher work hardest, more work in all than one match may do, then an address.
    std::string Line;
    for (int32_t i = 0; i < 127; i++)
        Line += "a.";
    std::string Text;
    for (int32_t i = 0; i < 6; i++)
        Text += Line + "\n";
    EXPECT_TRUE(ContainsLink((Text + "see x.com").c_str()));
    // A run too long for the matcher to judge is taken for a link rather than let through unwarned.
    EXPECT_TRUE(ContainsLink(std::string(3000, 'a').c_str()));
    EXPECT_FALSE(ContainsLink(std::string(900, 'a').c_str()));
}

TEST_F(StatusReports, LinksAreHeldBehindTheWarning) {
    ASSERT_TRUE(CopyTextToClipboard("plain text"));
    EXPECT_EQ(Clipboard(), "plain text");
    EXPECT_EQ(Warnings, 0);

    WarningAnswer = false;
    EXPECT_FALSE(CopyTextToClipboard("Go To Shop.Example.COM now"));
    EXPECT_EQ(Warnings, 1);
    EXPECT_EQ(Clipboard(), "plain text");
    ASSERT_TRUE(CopyTaintedClipboardText());
    EXPECT_EQ(Clipboard(), "Go To Shop.Example.COM now"); // the held text keeps its case

    // Only the given bytes are copied and checked.
    ASSERT_TRUE(CopyToClipboard("word x.de", 4));
    EXPECT_EQ(Clipboard(), "word");
    EXPECT_EQ(Warnings, 1);
}
