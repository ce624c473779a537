// The error report dialog and the download progress opened by their events: the reports shown, what Send
// and Cancel keep, and how long the progress stays and how it ends.
#include "DialogFixture.h"

#include "control/DialogsDownload.h"
#include "control/DialogsErrorReport.h"
#include "gui/DialogElementsControls.h"
#include "gui/DialogElementsMultiLine.h"
#include "gui/KeyCodes.h"
#include "state/Status.h"
#include "state/StatusReports.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace {

void AddReport(const char* Title, const char* Time, const char* Line) {
    StartErrorReport(Title);
    SetErrorReportTime(Time);
    AddErrorReportLine(Line);
}

} // namespace

class ErrorReport : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ClearErrorReports();
        std::ofstream("error.txt") << "report\n";
    }
    void TearDown() override {
        ClearErrorReports();
        DialogTest::TearDown();
    }
};

TEST_F(ErrorReport, ShowsEveryRecordAndSendKeepsThemWithTheCommentInTheLast) {
    AddReport("Crash A", "Mon Dec  7 09:00:00 2026", "line a");
    AddReport("Crash B", "Mon Dec  7 09:05:00 2026", "line b");
    AddMessage(MESSAGE_ERRORREPORTDIALOG, 0, 0);
    ProcessMessages();
    TErrorReportDialog* Report = Body<TErrorReportDialog>();
    ASSERT_NE(Report, nullptr);
    EXPECT_STREQ(Dialog()->_Caption, "Error Report");
    EXPECT_STREQ(Report->Reports->getText(),
                 "Crash A\nMon Dec  7 09:00:00 2026\nline a\n\nCrash B\nMon Dec  7 09:05:00 2026\nline b");
    Type("walking"); // the comment has the focus
    Click(Dialog()->OkButton);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(GetErrorReports(), 2);
    EXPECT_STREQ(GetErrorReportComment(0), "");
    EXPECT_STREQ(GetErrorReportComment(1), "Comment: walking");
    EXPECT_TRUE(std::filesystem::exists("error.txt"));
}

TEST_F(ErrorReport, EscapeDiscardsTheReportsAndTheFile) {
    AddReport("Crash", "now", "text");
    AddMessage(MESSAGE_ERRORREPORTDIALOG, 0, 0);
    ProcessMessages();
    ASSERT_NE(Body<TErrorReportDialog>(), nullptr);
    KeyPressed(KEY_ESCAPE);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(GetErrorReports(), 0);
    EXPECT_FALSE(std::filesystem::exists("error.txt"));
}

// Sending removes the file the reports came from; a pipe or a directory under its name is none.
TEST_F(ErrorReport, SendingRemovesTheFileButNoPipeOrDirectory) {
    const auto SendAndSeeKept = [] {
        AddMessage(MESSAGE_SENDERRORREPORTS, 0, 0);
        ProcessMessages();
        return std::filesystem::exists("error.txt");
    };
    EXPECT_FALSE(SendAndSeeKept());
    ASSERT_EQ(mkfifo("error.txt", 0600), 0);
    EXPECT_TRUE(SendAndSeeKept());
    std::filesystem::remove("error.txt");
    std::filesystem::create_directory("error.txt");
    EXPECT_TRUE(SendAndSeeKept());
}

class DownloadDialog : public DialogTest {
protected:
    void TearDown() override {
        SetPatchProgress(-1);
        DialogTest::TearDown();
    }
    static TDownloadDialog* open(const char* Name) {
        AddPriorityMessage(MESSAGE_DOWNLOAD, MessageParameter(Name), 1234);
        ProcessMessages();
        return Body<TDownloadDialog>();
    }
    static void Wait(int32_t Milliseconds) {
        FakeClock += static_cast<uint32_t>(Milliseconds);
        DrawFrame(false);
    }
};

TEST_F(DownloadDialog, TheLabelNamesTheFileRegardlessOfCase) {
    TDownloadDialog* Download = open("EBRUN.PIC");
    ASSERT_NE(Download, nullptr);
    EXPECT_STREQ(Dialog()->_Caption, "Updating ... Please wait");
    EXPECT_STREQ(Download->Label->getText(), "Downloading new pictures");
    KeyPressed(KEY_ESCAPE);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_STREQ(open("Ebrun.exe")->Label->getText(), "Downloading Ebrun.exe");
    Body<TDownloadDialog>()->handleEvent(99); // ignored
    EXPECT_NE(GetModalWindow(), nullptr);
}

TEST_F(DownloadDialog, AQuickDownloadShowsAFullBarUntilTwoSecondsHavePassed) {
    SetPatchProgress(40);
    TDownloadDialog* Download = open("Ebrun.spr");
    ASSERT_NE(Download, nullptr);
    EXPECT_EQ(Download->ShownProgress, 40);
    SetPatchProgress(-1);
    Wait(500);
    EXPECT_TRUE(Download->Finished);
    EXPECT_EQ(Download->ShownProgress, 100);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_DIALOG);
    Wait(1400);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_DIALOG);
    Wait(200);
    ProcessMessages();
    EXPECT_EQ(GetModalWindow(), nullptr);
}

TEST_F(DownloadDialog, AbortAfterTheDownloadOnlyCloses) {
    SetPatchProgress(-1);
    ASSERT_NE(open("Ebrun.dat"), nullptr);
    Wait(10);
    AddMessage(MESSAGE_RELOADOBJECTS, 0, 0); // queued behind the dialog; an abort would drop it
    KeyPressed(KEY_ENTER);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(QueuedTypes(), std::vector<int32_t>{MESSAGE_RELOADOBJECTS});
    ClearMessages();
}
