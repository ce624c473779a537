// The module start and stop: their fixed order, and a start that fails part way; the controller's start
// with the places where a lower layer calls up.
#include "control/Control.h"
#include "foundation/Exception.h"
#include "graphics/graphics.h"
#include "gui/SkinProperties.h"
#include "network/Communication.h"
#include "screen/MainWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Calls;
int32_t FailingStep = 0; // 1-based start step that throws; 0 none
bool FailWithProgramError = true;

template <int N> void Start() {
    Calls.push_back("start" + std::to_string(N));
    if (N == FailingStep) {
        if (FailWithProgramError) throw PROGRAM_ERROR(2);
        CHECK(N != FailingStep);
    }
}
template <int N> void Stop() { Calls.push_back("stop" + std::to_string(N)); }

// Start steps 1..4; the stops in an order of their own: one for something started elsewhere (0), then 3, 1,
// 4, 2.
const TModuleStart Starts[] = {{"A", Start<1>}, {"B", Start<2>}, {"C", Start<3>}, {"D", Start<4>}};
const TModuleStop Stops[] = {
    {"Outside", Stop<0>, 0}, {"C", Stop<3>, 3}, {"A", Stop<1>, 1}, {"D", Stop<4>, 4}, {"B", Stop<2>, 2},
};

class Modules : public ::testing::Test {
protected:
    void SetUp() override {
        Calls.clear();
        FailingStep = 0;
        FailWithProgramError = true;
        SetModuleTables(Starts, 4, Stops, 5);
    }
    void TearDown() override { SetModuleTables(nullptr, 0, nullptr, 0); }
};

using TCalls = std::vector<std::string>;

} // namespace

TEST_F(Modules, StartAndStopRunInTheirFixedOrders) {
    InitModules(false);
    EXPECT_EQ(Calls, (TCalls{"start1", "start2", "start3", "start4"}));
    Calls.clear();
    ExitModules();
    EXPECT_EQ(Calls, (TCalls{"stop0", "stop3", "stop1", "stop4", "stop2"}));
    // A second stop only repeats what the start did not start.
    Calls.clear();
    ExitModules();
    EXPECT_EQ(Calls, (TCalls{"stop0"}));
}

TEST_F(Modules, AFatalErrorStopsOnlyTheModulesStartedBeforeIt) {
    FailingStep = 3;
    try {
        InitModules(false);
        FAIL() << "no error";
    } catch (const PROGRAM_ERROR& Code) {
        EXPECT_EQ(Code, 2); // passed on unchanged
    }
    // Steps 1 and 2 ran to their end; 3 failed and 4 never ran: their stops are skipped.
    EXPECT_EQ(Calls, (TCalls{"start1", "start2", "start3", "stop0", "stop1", "stop2"}));
}

TEST_F(Modules, AFailedCheckIsWrappedAndStopsNothing) {
    FailingStep = 2;
    FailWithProgramError = false;
    try {
        InitModules(false);
        FAIL() << "no error";
    } catch (const TMyException& Error) {
        EXPECT_NE(Error.getText().find("exception occurred"), std::string::npos);
        EXPECT_NE(Error.getText().find("(Step = 2)"), std::string::npos) << Error.getText();
    }
    EXPECT_EQ(Calls, (TCalls{"start1", "start2"}));
}

TEST_F(Modules, TheClientStartsItsModulesInTheDocumentedOrder) {
    int32_t StartCount = 0, StopCount = 0;
    const TModuleStart* ClientStarts = GetClientModuleStarts(StartCount);
    const TModuleStop* ClientStops = GetClientModuleStops(StopCount);
    TCalls StartNames, StopNames;
    for (int32_t i = 0; i < StartCount; i++)
        StartNames.push_back(ClientStarts[i].Name);
    for (int32_t i = 0; i < StopCount; i++) {
        StopNames.push_back(ClientStops[i].Name);
        // Each stop undoes the start of the same name, or something started outside the module start.
        if (ClientStops[i].StartStep > 0) {
            EXPECT_STREQ(ClientStarts[ClientStops[i].StartStep - 1].Name, ClientStops[i].Name);
        }
    }
    EXPECT_EQ(StartNames, (TCalls{"System", "Objects", "Map", "Inventory", "Creatures", "Status", "Help",
                                  "Options", "Talk", "Graphics", "Skins", "SkinProperties", "Network",
                                  "Communication", "Shortcuts"}));
    EXPECT_EQ(StopNames, (TCalls{"MainWindow", "Network", "Skins", "Graphics", "Engine", "Options", "Talk",
                                 "Status", "Map", "Objects", "System"}));
}

namespace {

// The main window as the frame window makes it, with every service of the frame window or without OpenURL.
class ControlStart : public ::testing::Test {
protected:
    void SetUp() override {
        InitSkins();
        InitSkinProperties();
    }
    void TearDown() override {
        ExitMainWindow();
        SetGameClientHooks(nullptr);
        SetEngineSwitch(nullptr);
        SetGraphicsSignatureGetters(nullptr, nullptr);
        ExitSkins();
    }
    static void mainWindow(TOpenURL OpenURL) {
        InitMainWindow(
            800, 600, [] {}, [](int32_t) {}, OpenURL);
    }
};

} // namespace

TEST_F(ControlStart, WiresEveryPlaceWhereALowerLayerCallsUp) {
    mainWindow([](const char*) {});
    InitControl(nullptr, nullptr);
    EXPECT_TRUE(HasGameClientHooks());
    EXPECT_TRUE(HasEngineSwitch());
    EXPECT_TRUE(HasGraphicsSignatureGetters());
}

TEST_F(ControlStart, FailsLoudlyWhileOneIsUnwired) {
    mainWindow(nullptr);
    std::string Text;
    try {
        InitControl(nullptr, nullptr);
    } catch (const TMyException& Error) {
        Text = Error.getText();
    }
    EXPECT_NE(Text.find("OpenURL!=NULL"), std::string::npos) << Text;
}
