// The end request of a session manager (SIGTERM) in game: the frame window closes without the logout box and
// the message loop ends.
#include "DialogFixture.h"

#include "control/MainFrm.h"
#include "platform/App.h"

#include <csignal>

namespace {

// Idles until the loop ends; gives up after many passes, so that a lost request fails instead of hanging.
class TIdler : public TIdleHandler {
public:
    bool onIdle(int32_t) override {
        if (++Passes == 1000) PostQuitMessage(-1);
        return false;
    }
    int32_t Passes = 0;
};

using EndRequest = DialogTest;

} // namespace

TEST_F(EndRequest, InGameTheWindowClosesWithoutAskingAndTheLoopEnds) {
    static const TModuleStart NoStarts[1] = {{"none", [] {}}};
    static const TModuleStop NoStops[1] = {{"none", [] {}, 0}};
    SetModuleTables(NoStarts, 0, NoStops, 0);
    ExitMainWindow(); // the frame window makes its own
    auto Frame = std::make_unique<CMainFrame>(false);
    ASSERT_TRUE(Frame->create());
    SetMainAppWindow(Frame->getAppWindow());
    HandleEndRequests(QuitProgram);
    SetConnectionState(CONNECTIONSTATE_GAME);

    raise(SIGTERM);
    TIdler Idle;
    EXPECT_EQ(RunMessageLoop(Idle), 0);
    EXPECT_TRUE(Frame->getAppWindow()->isDestroyed());
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(GetMessageCount(), 0) << "no logout box was asked for";

    HandleEndRequests(nullptr);
    SetForceClose(false);
    SetConnectionState(CONNECTIONSTATE_OFFLINE);
    SetMainAppWindow(nullptr);
    Frame.reset();
    SetModuleTables(nullptr, 0, nullptr, 0);
}
