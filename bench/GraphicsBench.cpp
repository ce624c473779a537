// Speed of a whole game frame at 1024 x 768 on the generated data: the main window in game with the map of
// 15 x 11 fields over three floors, 50 creatures and the light of a night, the console full of text and the
// side bar with its panels and battle list. Each figure is a ratio to a memcpy of one frame measured in the
// same run, the median of 5 rounds; a round takes the median of many frames. The software engine at 32 and at
// 16 bits per pixel (the frame drawn, its parts, and its presentation), then the other two engines with
// presentation, whose drawing the graphics device may finish only when the frame is shown.
#include "bench/BenchArguments.h"
#include "graphics/Engine.h"
#include "graphics/SurfaceCommon.h"
#include "graphics/SurfaceGL.h"
#include "graphics/graphics.h"
#include "graphics/surfaceDX9.h"
#include "platform/Display.h"
#include "platform/QuadDevice.h"
#include "platform/Window.h"
#include "screen/ConsoleWindow.h"
#include "screen/MainWindow.h"
#include "screen/MapWindow.h"
#include "state/Creatures.h"
#include "state/Inventory.h"
#include "state/Map.h"
#include "state/MapAutomap.h"
#include "state/Objects.h"
#include "state/Preferences.h"
#include "state/Talk.h"
#include "state/TalkFilter.h"
#include "state/TalkRouting.h"
#include "tests/screen/MapWorld.h"
#include "tools/datagen/Catalog.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace Catalog;

constexpr int32_t WIDTH = 1024, HEIGHT = 768, FRAMES = 60, ROUNDS = 5;
constexpr uint32_t PLAYER = 0x10000001;

double MedianMilliseconds(const std::function<void()>& Frame) {
    for (int i = 0; i < 5; i++) // warm the caches
        Frame();
    std::vector<double> Times;
    for (int i = 0; i < FRAMES; i++) {
        const auto Start = std::chrono::steady_clock::now();
        Frame();
        Times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start).count());
    }
    std::nth_element(Times.begin(), Times.begin() + FRAMES / 2, Times.end());
    return Times[FRAMES / 2];
}

// The median over ROUNDS rounds of each measured piece's time divided by a memcpy of the frame timed in the
// same round.
std::vector<double> MedianRatios(size_t FrameBytes, const std::vector<std::function<void()>>& Measures) {
    std::vector<uint8_t> From(FrameBytes, 1), To(FrameBytes);
    const auto Copy = [&] {
        std::memcpy(To.data(), From.data(), FrameBytes);
        From[To[FrameBytes / 2] % FrameBytes]++; // keeps the copy from being optimised away
    };
    std::vector<std::vector<double>> Ratios(Measures.size());
    for (int Round = 0; Round < ROUNDS; Round++) {
        const double Memcpy = MedianMilliseconds(Copy);
        for (size_t p = 0; p < Measures.size(); p++)
            Ratios[p].push_back(MedianMilliseconds(Measures[p]) / Memcpy);
    }
    std::vector<double> Medians;
    for (std::vector<double>& R : Ratios) {
        std::sort(R.begin(), R.end());
        Medians.push_back(R[ROUNDS / 2]);
    }
    return Medians;
}

TCreature& AddCreature(uint32_t ID, int32_t rx, int32_t ry, int32_t Outfit, const char* Name) {
    TCreature& C = PlaceCreature(ID, rx, ry, Name);
    C.OutfitType = Outfit;
    C.OutfitHead = static_cast<int32_t>(ID % 133);
    C.OutfitBody = static_cast<int32_t>(ID * 7 % 133);
    C.OutfitLegs = static_cast<int32_t>(ID * 13 % 133);
    C.OutfitFeet = static_cast<int32_t>(ID * 31 % 133);
    C.HealthPercent = static_cast<int32_t>(ID * 17 % 100 + 1);
    return C;
}

// A town at night: ground everywhere, walls, furniture and lights on the player's floor, roofs and walls on
// the two floors above (away from the player, so that they are drawn), and 50 creatures about.
void BuildWorld() {
    const int32_t Grounds[] = {GRASS, COBBLES, STONE_FLOOR, DIRT, WOOD_FLOOR};
    const int32_t Things[] = {TREE, BUSH, BARREL, CRATE, TABLE, CHAIR, BOULDER, FLOWERS, STONES, BONES};
    for (int32_t x = 0; x < MAPSIZE_X; x++)
        for (int32_t y = 0; y < MAPSIZE_Y; y++) {
            AppendMapObject(x, y, 0, {Grounds[(x / 3 + y / 4) % 5], 0, 0});
            if ((x * 7 + y * 3) % 5 == 0) AppendMapObject(x, y, 0, {Things[(x + 2 * y) % 10], 0, 0});
            if ((x * 5 + y * 11) % 13 == 0) AppendMapObject(x, y, 0, {GOLD_COINS, (x + y) % 60 + 1, 0});
            if (x < 6 && y < 5) AppendMapObject(x, y, 1, {ROOF, 0, 0});
            if (x == 13 && y < 6) AppendMapObject(x, y, 1, {STONE_WALL_V, 0, 0});
            if (x >= 11 && y == 11) AppendMapObject(x, y, 2, {STONE_WALL_H, 0, 0});
        }
    for (const auto [x, y, Type] : {std::array{3, 8, TORCH},
                                    {12, 3, STREET_LAMP},
                                    {6, 10, CAMPFIRE},
                                    {14, 9, CANDLESTICK},
                                    {2, 11, STREET_LAMP}})
        AppendMapObject(x, y, 0, {Type, 0, 0});
    AddCreature(PLAYER, 8, 6, OUTFIT_KNIGHT, "Hero").LightBrightness = 3;
    const int32_t Outfits[] = {OUTFIT_CITIZEN, OUTFIT_MAGE, OUTFIT_HUNTER,   OUTFIT_NOBLE,
                               OUTFIT_RAT,     OUTFIT_WOLF, OUTFIT_SKELETON, OUTFIT_DRAGON};
    for (uint32_t i = 1; i < 50; i++) {
        char Name[16];
        snprintf(Name, sizeof Name, "Creature %u", i);
        const int32_t rx = 1 + static_cast<int32_t>(i * 7 % 15), ry = 1 + static_cast<int32_t>(i * 5 % 11);
        AddCreature(0x40000000 + i, rx == 8 && ry == 6 ? 9 : rx, ry, Outfits[i % 8], Name);
    }
    SetAmbientLight(-1, 0);
    SetAmbientLight(40, 215);
    for (int32_t Line = 0; Line < 40; Line++) {
        char Text[96], Speaker[16];
        snprintf(Speaker, sizeof Speaker, "Creature %d", Line % 49 + 1);
        snprintf(Text, sizeof Text, "the market opens at dawn, bring %d gold coins.", Line * 13 % 100);
        AddToTextBuffer(DefaultTextBuffer(), 0, Text, TALK_SAY, Speaker, 0);
    }
    for (int32_t Position = 1; Position <= 10; Position++)
        SetBodyObject(Position, {Position % 2 ? SWORD : SHIELD, 0, 0});
}

// The data files are read from where the build generates them.
void StartModules() {
    if (chdir(EBRUN_DATA_DIR) != 0) {
        std::fprintf(stderr, "no data directory %s\n", EBRUN_DATA_DIR);
        std::exit(1);
    }
    InitObjects();
    InitMapViewModules(10485760, 1000, 1000, 7, PLAYER);
    InitTalk();
    InitAutomap();
    InitInventory();
    SetLightEffects(true);
    SetNoStretching(false);
    ClearOpenDialogs();
    for (int32_t Identifier : {3, 4, 1, 5, 7, 6})
        AddOpenDialog(Identifier);
    BuildWorld();
    InitMainWindow(WIDTH, HEIGHT, nullptr, nullptr, nullptr);
    GetMainWindow()->setGameScreen(true);
}

void StopModules() {
    ExitMainWindow();
    ExitTalk();
    ExitMapViewModules();
    ExitObjects();
}

// As the controller begins each frame: the engine kept in its video mode, which also ends the report of
// renewed surfaces that the map view and the caches would otherwise rebuild for.
void BeginFrame() {
    GetSurface()->ChangeVideoMode(GetWindowHandle(), WINDOWED_MODE, nullptr, false);
    if (GetSurface()->SurfacesRenewed(1)) ResetVideoCache();
}

void DrawGameFrame() {
    BeginFrame();
    GetMainWindow()->draw(SCREEN_SURFACE, 0, 0);
}

// The engine on a hidden window of the offscreen driver, its surfaces made for a display of Bits bits.
std::unique_ptr<TWindow> StartEngine(int32_t Engine, int32_t Bits) {
    ResetEngineModule();
    ResetOptions();
    TDisplayFaults Display;
    Display.DisplayBits = Bits;
    SetDisplayFaults(Display);
    TQuadDeviceFaults Device;
    Device.Driver = "opengl";
    SetQuadDeviceFaults(Device);
    std::unique_ptr<TWindow> Window = TWindow::create("bench", WIDTH, HEIGHT, false);
    if (!Window) {
        std::fprintf(stderr, "no window: %s\n", GetPlatformError());
        std::exit(1);
    }
    RegisterEngineBackEnds();
    StartGraphicEngine(Window.get(), Engine);
    GetSurface()->InitSurfaces();
    if (!GetSurface()->ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false)) {
        std::fprintf(stderr, "engine %d cannot draw here\n", Engine);
        std::exit(1);
    }
    return Window;
}

void StopEngine() {
    GetSurface()->ExitSurfaces();
    SurfaceExitInstance();
    ResetEngineModule();
}

void Present() { GetSurface()->Present(); }

double SoftwareEngine(int32_t Bits) {
    std::unique_ptr<TWindow> Window = StartEngine(ENGINE_DIRECTDRAW, Bits);
    StartModules();
    TMainWindow* Root = GetMainWindow();
    TComponent* Map = Root->MapWindow;
    const std::vector<double> Ratios = MedianRatios(
        static_cast<size_t>(WIDTH) * HEIGHT * (Bits / 8),
        {DrawGameFrame,
         [Map] {
             BeginFrame();
             Map->draw(SCREEN_SURFACE, Map->X, Map->Y);
         },
         [Root] {
             BeginFrame();
             Root->Console->draw(SCREEN_SURFACE, Root->Console->X, Root->Console->Y);
         },
         [Root] {
             BeginFrame();
             Root->SideBarFrame->draw(SCREEN_SURFACE, Root->SideBarFrame->X, Root->SideBarFrame->Y);
             Root->DialogWindow->draw(SCREEN_SURFACE, Root->DialogWindow->X, Root->DialogWindow->Y);
         },
         Present,
         [] {
             DrawGameFrame();
             Present();
         }});
    std::printf(
        "software engine, %d bits: full frame %5.1f x memcpy (map %.1f, console %.1f, side bar %.1f); "
        "present %.1f; frame and present %.1f\n",
        Bits, Ratios[0], Ratios[1], Ratios[2], Ratios[3], Ratios[4], Ratios[5]);
    StopModules();
    StopEngine();
    return Ratios[5];
}

// The batches the engine drew since its surfaces were made.
int32_t FlushCount() {
    if (const auto* GL = dynamic_cast<const TSurfaceGL*>(GetSurface())) return GL->getFlushCount();
    if (const auto* DX9 = dynamic_cast<const TSurfaceDX9*>(GetSurface())) return DX9->getFlushCount();
    return 0;
}

// The least a frame of a device engine costs here: one textured quad over the whole frame, then presented.
void FloorFrame() {
    BeginFrame();
    GetSurface()->StretchBlit(SCREEN_SURFACE, 0, 0, WIDTH, HEIGHT, TEMP_SURFACE, 0, 0, TEMP_WIDTH,
                              TEMP_HEIGHT);
    Present();
}

void OtherEngine(int32_t Engine, const char* Name, double Software) {
    std::unique_ptr<TWindow> Window = StartEngine(Engine, 32);
    StartModules();
    const auto Frame = [] {
        DrawGameFrame();
        Present();
    };
    for (int i = 0; i < 3; i++) // the caches filled: the batches of a frame like the next
        Frame();
    const int32_t Before = FlushCount();
    Frame();
    const int32_t Flushes = FlushCount() - Before;
    const std::vector<double> Ratios =
        MedianRatios(static_cast<size_t>(WIDTH) * HEIGHT * 4, {Frame, FloorFrame});
    std::printf(
        "%s, 32 bits: frame and present %5.1f x memcpy = %.2f x the software engine = %.2f x the floor "
        "(one textured quad presented, %.1f x memcpy); %d batches a frame\n",
        Name, Ratios[0], Ratios[0] / Software, Ratios[0] / Ratios[1], Ratios[1], Flushes);
    StopModules();
    StopEngine();
}

} // namespace

int main(int argc, char** argv) {
    const TBenchArguments Arguments(
        argc, argv,
        "usage: bench_graphics [32] [16] [gl] [dx9]\n"
        "Times a game frame at 1024 x 768 in the parts named, all when none is:\n"
        "32 and 16, the software engine at that many bits per pixel; gl and dx9,\n"
        "the OpenGL and the Direct3D 9 engine, compared with the software engine\n"
        "at 32 bits, which then runs as well.\n",
        {"32", "16", "gl", "dx9"});
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    const double Software =
        Arguments.wanted("32") || Arguments.wanted("gl") || Arguments.wanted("dx9") ? SoftwareEngine(32) : 0;
    if (Arguments.wanted("16")) SoftwareEngine(16);
    if (Arguments.wanted("gl")) OtherEngine(ENGINE_OPENGL, "OpenGL", Software);
    if (Arguments.wanted("dx9")) OtherEngine(ENGINE_DIRECT3D9, "Direct3D 9", Software);
    return 0;
}
