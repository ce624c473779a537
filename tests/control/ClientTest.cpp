// The client program from outside, on an X server (run under Xvfb): its window shows the start screen as
// the software engine draws it, "Exit Game" ends it with exit code 0 after writing the options, and a missing
// sprite file ends it with the PROGRAM_ERROR text and exit code 1.
#include "tests/roads/Client.h"
#include "control/Player.h"
#include "screen/MainWindow.h"
#include "tests/roads/Reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(Client, ShowsTheStartScreenAndExitGameEndsIt) {
    TClient Client(0, {});
    ASSERT_TRUE(Client.waitForWindow());
    // Read at the start; what is there at the end the client wrote.
    fs::remove(Client.directory() / "Ebrun.cfg");

    const TImage Reference = TReference::get().startScreen(Client.width(), Client.height());
    // A picture, not a filled area: the title and the buttons show many colours.
    std::vector<uint32_t> Colours(Reference.Pixels);
    std::sort(Colours.begin(), Colours.end());
    EXPECT_GT(std::unique(Colours.begin(), Colours.end()) - Colours.begin(), 1000);
    EXPECT_TRUE(Client.waitUntil("the start screen", Client.area(),
                                 [&](const TImage& Shown) { return Shown.Pixels == Reference.Pixels; }));

    const TStartScreen* Start =
        TReference::get().mainWindow(Client.width(), Client.height(), Client.directory(), false).StartScreen;
    const TComponent* Exit = static_cast<TParentComponent*>(Start->ButtonPanel->_Window)->getLastChild();
    Client.click(RectOf(Exit).centre());
    EXPECT_EQ(Client.waitForExit(30s), 0) << Client.errors();
    EXPECT_TRUE(fs::exists(Client.directory() / "Ebrun.cfg"));
    EXPECT_FALSE(fs::exists(Client.directory() / "error.txt"));
}

TEST(Client, AMissingSpriteFileShowsTheProgramErrorAndEndsWithOne) {
    TClientSetup Setup;
    Setup.OptionsFile = false;
    Setup.DataFiles = {"Ebrun.dat", "Ebrun.pic"};
    TClient Client(0, Setup);
    EXPECT_EQ(Client.waitForExit(30s), 1);
    EXPECT_NE(Client.errors().find("Pellarune\n" + ProgramErrorMessage(2)), std::string::npos)
        << Client.errors();
    // A fatal start-up error is not a crash: no report, and the options of the modules started are written.
    EXPECT_FALSE(fs::exists(Client.directory() / "error.txt"));
    EXPECT_TRUE(fs::exists(Client.directory() / "Ebrun.cfg"));
}
