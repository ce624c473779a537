// The controller's event cases on their own: the character switch, installs that fail and the patcher
// hand-over.
#include "control/ControlDownload.h"
#include "control/Control.h"
#include "control/MainFrm.h"
#include "control/Player.h"
#include "foundation/Exception.h"
#include "foundation/ScriptPatch.h"
#include "network/Communication.h"
#include "state/Events.h"
#include "state/Status.h"
#include "tests/foundation/TempDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

bool NoWarning() { return true; }

// The events left in the queue: types, and the title and text of message boxes.
struct TEvent {
    int32_t Type;
    std::string Title = "", Text = "";
    bool operator==(const TEvent&) const = default;
};
std::vector<TEvent> TakeEvents() {
    std::vector<TEvent> Events;
    while (GetMessageCount() > 0) {
        int32_t Type;
        intptr_t Param1, Param2;
        PopMessage(Type, Param1, Param2);
        TEvent Event{Type, "", ""};
        if (Type == MESSAGE_MESSAGEBOX) {
            Event.Title = MessagePointer<char>(Param1);
            Event.Text = MessagePointer<char>(Param2);
        }
        FreeMessageParameters(Type, Param1, Param2);
        Events.push_back(Event);
    }
    return Events;
}

class ControlDownload : public ::testing::Test {
protected:
    void SetUp() override {
        InitStatus(0, NoWarning);
        InitControlConnection(nullptr);
    }
    void TearDown() override {
        SetStartPatcherFlag(false);
        SetForceClose(false);
        SetGraphicsSignatureGetters(nullptr, nullptr);
        ExitStatus();
    }
    static void Write(const std::string& Name, const std::string& Text) {
        std::ofstream(Name, std::ios::binary) << Text;
    }
    static std::string Read(const std::string& Name) {
        std::ifstream In(Name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
    }

    TWorkingDirectory Directory;
};

} // namespace

TEST_F(ControlDownload, CharacterSwitchLogsInAgainOnceOffline) {
    ASSERT_TRUE(PerformDownloadEvent(MESSAGE_CHANGECHARACTER));
    EXPECT_EQ(TakeEvents(), std::vector<TEvent>({{MESSAGE_CONNECTLOGIN}, {MESSAGE_LOADINGCHARACTERS}}));
    SetConnectionState(CONNECTIONSTATE_LOGIN);
    ASSERT_TRUE(PerformDownloadEvent(MESSAGE_CHANGECHARACTER));
    EXPECT_TRUE(IsCharacterSwitchPending());
    EXPECT_EQ(GetMessageCount(), 0);
}

TEST_F(ControlDownload, FailedInstallTellsTheUserAndDoesNotLogInAgain) {
    // no new version at all
    Write("Ebrun.spr", "old sprites");
    AddMessage(MESSAGE_RELOADSPRITES, 0, 0);
    AddMessage(MESSAGE_CHANGECHARACTER, 0, 0);
    ASSERT_TRUE(PerformDownloadEvent(MESSAGE_INSTALLSPRITES));
    EXPECT_EQ(TakeEvents(),
              std::vector<TEvent>({{MESSAGE_MESSAGEBOX, "Error", "Cannot patch file Ebrun.spr."}}));
    EXPECT_EQ(Read("Ebrun.spr"), "old sprites");

    // a new version that cannot be renamed over the old file
    Write("Ebrun.pic", "old pictures");
    fs::create_directory("Ebrun.pi_");
    AddMessage(MESSAGE_RELOADPICTURES, 0, 0);
    ASSERT_TRUE(PerformDownloadEvent(MESSAGE_INSTALLPICTURES));
    EXPECT_EQ(TakeEvents(),
              std::vector<TEvent>({{MESSAGE_MESSAGEBOX, "Error", "Cannot patch file Ebrun.pic."}}));
    EXPECT_EQ(Read("Ebrun.pic"), "old pictures");
}

TEST_F(ControlDownload, PatcherStartHasTheWindowCloseForThePatcher) {
    ASSERT_FALSE(GetStartPatcherFlag());
    ASSERT_TRUE(PerformDownloadEvent(MESSAGE_STARTPATCHER));
    EXPECT_TRUE(GetStartPatcherFlag()) << "the patcher starts after the message loop";
}

TEST_F(ControlDownload, TheInstalledPatcherIsTheProgramThatTakesTheClientsPlace) {
    // What a download of file 4 leaves beside the old patcher: a new version that tells who ran it.
    const std::string Script = "#!/bin/sh\necho \"$0 $$\" > started.txt\n";
    ASSERT_TRUE(WritePatchedFile(PATCHER_FILE_NAME, reinterpret_cast<const uint8_t*>(Script.data()),
                                 static_cast<int32_t>(Script.size())));
    const pid_t Child = fork();
    ASSERT_GE(Child, 0);
    if (Child == 0) {
        // The client's part: events 68 and 72, then the end of its message loop.
        PerformDownloadEvent(MESSAGE_INSTALLPATCHER);
        PerformDownloadEvent(MESSAGE_STARTPATCHER);
        _exit(100 + HandOverToPatcher(0));
    }
    int Status = 0;
    ASSERT_EQ(waitpid(Child, &Status, 0), Child);
    ASSERT_TRUE(WIFEXITED(Status));
    EXPECT_EQ(WEXITSTATUS(Status), 0) << "the patcher, not the client, ended the process";
    EXPECT_EQ(Read("started.txt"),
              "./" + std::string(PATCHER_FILE_NAME) + " " + std::to_string(Child) + "\n");
    EXPECT_EQ(Read(PATCHER_FILE_NAME), Script);
}
