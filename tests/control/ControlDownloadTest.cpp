// The controller's event cases 63 to 72 on their own: the character switch, installs that work and that
// fail, the patcher hand-over, and the pass holding the queue behind event 64.
#include "control/ControlDownload.h"
#include "control/Control.h"
#include "foundation/Exception.h"
#include "foundation/ScriptPatch.h"
#include "network/Communication.h"
#include "state/Events.h"
#include "state/Status.h"
#include "tests/foundation/TempDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

int PatcherStarts = 0;

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

// Records every event the pass takes and acts on the download cases.
class TDownloadActions : public TMessageActions {
public:
    bool hasModalWindow() override { return false; }
    void destroyModalWindow() override {}
    bool isMouseCaptured() override { return false; }
    void performMessage(int32_t Type, intptr_t, intptr_t) override {
        Performed.push_back(Type);
        PerformDownloadEvent(Type);
    }
    void placeModalWindow(bool) override {}
    void moveCreatures() override {}
    void drawFrame() override { Frames++; }

    std::vector<int32_t> Performed;
    int Frames = 0;
};

class ControlDownload : public ::testing::Test {
protected:
    void SetUp() override {
        Home = fs::current_path();
        fs::current_path(Directory.file(""));
        InitStatus(0, NoWarning);
        InitControlConnection(nullptr);
        PatcherStarts = 0;
        SetStartPatcherCallback([] { PatcherStarts++; });
    }
    void TearDown() override {
        SetStartPatcherCallback(nullptr);
        SetGraphicsSignatureGetters(nullptr, nullptr);
        ExitStatus();
        fs::current_path(Home);
    }
    static void Write(const std::string& Name, const std::string& Text) {
        std::ofstream(Name, std::ios::binary) << Text;
    }
    static std::string Read(const std::string& Name) {
        std::ifstream In(Name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
    }

    TTempDirectory Directory;
    fs::path Home;
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

TEST_F(ControlDownload, InstallReplacesTheFileAndKeepsTheQueue) {
    Write("Ebrun.dat", "old objects");
    Write("Ebrun.da_", "new objects");
    AddMessage(MESSAGE_RELOADOBJECTS, 0, 0);
    ASSERT_TRUE(PerformDownloadEvent(MESSAGE_INSTALLOBJECTS));
    EXPECT_EQ(Read("Ebrun.dat"), "new objects");
    EXPECT_FALSE(fs::exists("Ebrun.da_"));
    EXPECT_EQ(PeekMessageType(), MESSAGE_RELOADOBJECTS);

    Write("Patch.ex_", "#!/bin/sh\n");
    fs::permissions("Patch.ex_", fs::perms::owner_exec, fs::perm_options::add);
    ASSERT_TRUE(PerformDownloadEvent(MESSAGE_INSTALLPATCHER));
    EXPECT_EQ(Read(PATCHER_FILE_NAME), "#!/bin/sh\n");
    EXPECT_NE(fs::status(PATCHER_FILE_NAME).permissions() & fs::perms::owner_exec, fs::perms::none);
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

TEST_F(ControlDownload, PatcherStartEndsThePass) {
    TDownloadActions Actions;
    AddMessage(MESSAGE_STARTPATCHER, 0, 0);
    AddMessage(MESSAGE_CHANGECHARACTER, 0, 0);
    DispatchMessages(Actions);
    EXPECT_EQ(PatcherStarts, 1);
    EXPECT_EQ(Actions.Frames, 0);
    EXPECT_EQ(PeekMessageType(), MESSAGE_CHANGECHARACTER);

    SetStartPatcherCallback(nullptr);
    std::string Text;
    try {
        PerformDownloadEvent(MESSAGE_STARTPATCHER);
    } catch (const TMyException& Error) {
        Text = Error.getText();
    }
    EXPECT_NE(Text.find("exception occurred (Type = 72)"), std::string::npos) << Text;
    EXPECT_NE(Text.find("StartPatcher!=NULL"), std::string::npos) << Text;
}

TEST_F(ControlDownload, QueueWaitsBehindTheDisconnect) {
    Write("Ebrun.dat", "old");
    Write("Ebrun.da_", "new");
    AddMessage(MESSAGE_WAITFORDISCONNECT, 0, 0);
    AddMessage(MESSAGE_INSTALLOBJECTS, 0, 0);
    AddMessage(MESSAGE_CHANGECHARACTER, 0, 0);
    SetConnectionState(CONNECTIONSTATE_LOGIN);
    TDownloadActions Actions;
    DispatchMessages(Actions);
    EXPECT_TRUE(Actions.Performed.empty());
    EXPECT_EQ(Read("Ebrun.dat"), "old");

    SetConnectionState(CONNECTIONSTATE_OFFLINE);
    DispatchMessages(Actions);
    EXPECT_EQ(Actions.Performed, std::vector<int32_t>({MESSAGE_INSTALLOBJECTS, MESSAGE_CHANGECHARACTER,
                                                       MESSAGE_CONNECTLOGIN, MESSAGE_LOADINGCHARACTERS}));
    EXPECT_EQ(Read("Ebrun.dat"), "new");
}

TEST_F(ControlDownload, OtherEventsAreNotTaken) {
    for (int32_t Type :
         {MESSAGE_MESSAGEBOX, MESSAGE_DOWNLOAD, MESSAGE_CONNECTLOGIN, MESSAGE_WAITFORDISCONNECT})
        EXPECT_FALSE(PerformDownloadEvent(Type)) << Type;
}
