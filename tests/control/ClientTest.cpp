// The client program from outside, on an X server (run under Xvfb): its window shows the start screen as
// the software engine draws it, "Exit Game" ends it with exit code 0 after writing the options, and a missing
// sprite file ends it with the PROGRAM_ERROR text and exit code 1.
#include "control/Player.h"
#include "graphics/Engine.h"
#include "graphics/SurfaceDX.h"
#include "graphics/graphics.h"
#include "gui/SkinProperties.h"
#include "platform/Screenshot.h"
#include "platform/Window.h"
#include "screen/MainWindow.h"
#include "tests/control/ClientProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

using namespace client;

// The start screen of the given size drawn by the software engine on a hidden window; also where the centre
// of the "Exit Game" button lies.
struct TReference {
    std::vector<uint32_t> Pixels;
    int32_t ExitX = 0, ExitY = 0;
};

TReference DrawReference(const fs::path& Directory, int32_t Width, int32_t Height) {
    TReference Reference;
    const fs::path Previous = fs::current_path();
    fs::current_path(Directory);
    std::unique_ptr<TWindow> Window = TWindow::create("reference", Width, Height, false);
    EXPECT_NE(Window, nullptr) << GetPlatformError();
    if (!Window) return Reference;
    StartGraphicEngine(Window.get(), 0);
    TSurfaceDX* Engine = dynamic_cast<TSurfaceDX*>(GetSurface());
    Engine->InitSurfaces();
    Engine->ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false);
    InitGraphics(0xA00000);
    InitSkins();
    InitSkinProperties();
    InitVideoCache();
    InitMainWindow(Width, Height, nullptr, nullptr, nullptr);
    TMainWindow* Root = GetMainWindow();
    Root->draw(SCREEN_SURFACE, 0, 0);
    const TPixelSurface* Screen = Engine->getPixels(SCREEN_SURFACE);
    for (int32_t y = 0; y < Height; y++)
        for (int32_t x = 0; x < Width; x++)
            Reference.Pixels.push_back(Screen->getPixel(x, y) & 0xFFFFFF);
    const TWindowFrame* Panel = Root->StartScreen->ButtonPanel;
    const TComponent* Exit = static_cast<TParentComponent*>(Panel->_Window)->getLastChild();
    Reference.ExitX = Panel->X + Panel->_Window->X + Exit->X + Exit->Width / 2;
    Reference.ExitY = Panel->Y + Panel->_Window->Y + Exit->Y + Exit->Height / 2;
    ExitMainWindow();
    ExitSkins();
    ExitGraphics();
    Engine->ExitSurfaces();
    SurfaceExitInstance();
    fs::current_path(Previous);
    return Reference;
}

int32_t CountDifferences(const std::vector<uint32_t>& Shown, const std::vector<uint32_t>& Expected) {
    if (Shown.size() != Expected.size()) return -1;
    int32_t Count = 0;
    for (size_t i = 0; i < Shown.size(); i++)
        Count += Shown[i] != Expected[i];
    return Count;
}

} // namespace

TEST(Client, ShowsTheStartScreenAndExitGameEndsIt) {
    const fs::path Directory = WorkDirectory("start", {"Ebrun.dat", "Ebrun.spr", "Ebrun.pic"});
    const pid_t Child = StartClient(Directory, {{"SDL_VIDEODRIVER", "x11"}});
    const TGeometry Window = FindClientWindow();
    ASSERT_GT(Window.Width, 0) << "no client window";

    const TReference Reference = DrawReference(Directory, Window.Width, Window.Height);
    ASSERT_FALSE(Reference.Pixels.empty());
    // A picture, not a filled area: the title and the buttons show many colours.
    std::vector<uint32_t> Colours(Reference.Pixels);
    std::sort(Colours.begin(), Colours.end());
    EXPECT_GT(std::unique(Colours.begin(), Colours.end()) - Colours.begin(), 1000);
    // The first frames may still be on their way to the screen.
    int32_t Differences = -1;
    std::vector<uint32_t> Shown;
    for (int Attempt = 0; Attempt < 200 && Differences != 0; Attempt++) {
        if (ReadScreenArea(Window.x, Window.y, Window.Width, Window.Height, Shown))
            Differences = CountDifferences(Shown, Reference.Pixels);
        if (Differences != 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(Differences, 0);

    Command("xdotool mousemove --sync " + std::to_string(Window.x + Reference.ExitX) + " " +
            std::to_string(Window.y + Reference.ExitY) + " click 1");
    EXPECT_EQ(WaitForExit(Child, 30), 0);
    EXPECT_TRUE(fs::exists(Directory / "Ebrun.cfg"));
    EXPECT_FALSE(fs::exists(Directory / "error.txt"));
    fs::remove_all(Directory);
}

TEST(Client, AMissingSpriteFileShowsTheProgramErrorAndEndsWithOne) {
    const fs::path Directory = WorkDirectory("nospr", {"Ebrun.dat", "Ebrun.pic"});
    const pid_t Child = StartClient(Directory, {{"SDL_VIDEODRIVER", "dummy"}});
    EXPECT_EQ(WaitForExit(Child, 30), 1);
    const std::string Text = ReadFile(Directory / "stderr.txt");
    EXPECT_NE(Text.find("Pellarune\n" + ProgramErrorMessage(2)), std::string::npos) << Text;
    // A fatal start-up error is not a crash: no report, and the options of the modules started are written.
    EXPECT_FALSE(fs::exists(Directory / "error.txt"));
    EXPECT_TRUE(fs::exists(Directory / "Ebrun.cfg"));
    fs::remove_all(Directory);
}
