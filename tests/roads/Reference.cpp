// The client's drawing and layout code in the test process, on the software engine over a hidden window of
// the dummy video driver.
#include "tests/roads/Reference.h"

#include "graphics/Engine.h"
#include "graphics/SurfaceDX.h"
#include "gui/GUIServices.h"
#include "gui/SkinProperties.h"
#include "platform/Window.h"
#include "screen/MainWindow.h"
#include "screen/MapWindow.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/Events.h"
#include "state/Inventory.h"
#include "state/Map.h"
#include "state/MapAutomap.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/TalkRouting.h"

#include <cstdlib>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

// Large enough for any client area the harness makes and any text a client shows on one line.
constexpr int32_t SURFACE_WIDTH = 1280, SURFACE_HEIGHT = 1024;
// Where captures are drawn: room for glyphs that reach left of or above their origin.
constexpr int32_t CAPTURE_MARGIN = 16;
constexpr uint32_t MODEL_PLAYER_ID = 0x10000001;

} // namespace

struct TReference::TEngine {
    std::unique_ptr<TWindow> Window;
    TSurfaceDX* Surface = nullptr;

    void fill(uint32_t Colour, int32_t Width, int32_t Height) {
        Surface->FillRectangle(SCREEN_SURFACE, 0, 0, Width, Height, Colour >> 16 & 0xFF, Colour >> 8 & 0xFF,
                               Colour & 0xFF);
    }
    uint32_t pixel(int32_t x, int32_t y) const {
        return Surface->getPixels(SCREEN_SURFACE)->getPixel(x, y) & 0xFFFFFF;
    }
};

TReference& TReference::get() {
    // Never destroyed: the modules it drives keep tables of their own that static destruction may end first.
    static TReference* Reference = new TReference;
    return *Reference;
}

TReference::TReference() : Engine(std::make_unique<TEngine>()) {
    // The clients get the X server; this process draws on a window nobody sees.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    Engine->Window = TWindow::create("reference", SURFACE_WIDTH, SURFACE_HEIGHT, false);
    if (!Engine->Window) throw std::runtime_error(std::string("no reference window: ") + GetPlatformError());
    InDirectory(EBRUN_DATA_DIR, [&] {
        ResetOptions();
        StartGraphicEngine(Engine->Window.get(), 0);
        Engine->Surface = dynamic_cast<TSurfaceDX*>(GetSurface());
        Engine->Surface->InitSurfaces();
        Engine->Surface->ChangeVideoMode(Engine->Window.get(), WINDOWED_MODE, nullptr, false);
        InitGraphics(0xA00000);
        InitSkins();
        InitSkinProperties();
        InitVideoCache();
    });
}

template <typename Painter>
TPattern TReference::capture(const std::string& Name, int32_t Width, int32_t Height, Painter&& Paint) {
    constexpr uint32_t Backgrounds[2] = {0x000000, 0xFFFFFF};
    const int32_t AreaWidth = std::min(Width + 2 * CAPTURE_MARGIN, SURFACE_WIDTH),
                  AreaHeight = std::min(Height + 2 * CAPTURE_MARGIN, SURFACE_HEIGHT);
    std::vector<uint32_t> First;
    for (uint32_t Background : Backgrounds) {
        Engine->fill(Background, AreaWidth, AreaHeight);
        Paint(CAPTURE_MARGIN, CAPTURE_MARGIN);
        if (First.empty()) {
            for (int32_t y = 0; y < AreaHeight; y++)
                for (int32_t x = 0; x < AreaWidth; x++)
                    First.push_back(Engine->pixel(x, y));
        }
    }
    TPattern Pattern;
    Pattern.Name = Name;
    int32_t Left = AreaWidth, Top = AreaHeight, Right = -1, Bottom = -1;
    std::vector<TPattern::TPixel> Kept;
    for (int32_t y = 0; y < AreaHeight; y++)
        for (int32_t x = 0; x < AreaWidth; x++) {
            const uint32_t Colour = Engine->pixel(x, y);
            if (Colour != First[static_cast<size_t>(y) * AreaWidth + x]) continue;
            Kept.push_back({static_cast<int16_t>(x), static_cast<int16_t>(y), Colour});
            Left = std::min(Left, x), Top = std::min(Top, y);
            Right = std::max(Right, x), Bottom = std::max(Bottom, y);
        }
    if (Kept.empty()) throw std::runtime_error("nothing drawn for " + Name);
    for (TPattern::TPixel& Pixel : Kept) {
        Pixel.x = static_cast<int16_t>(Pixel.x - Left);
        Pixel.y = static_cast<int16_t>(Pixel.y - Top);
    }
    Pattern.Width = Right - Left + 1;
    Pattern.Height = Bottom - Top + 1;
    Pattern.Origin = {CAPTURE_MARGIN - Left, CAPTURE_MARGIN - Top};
    Pattern.Pixels = std::move(Kept);
    return Pattern;
}

TPattern TReference::text(const std::string& Text, const TTextFormat& Format) {
    const int32_t Width = GetStringWidth(Format.Font, Text.c_str()),
                  Height = GetTextHeight(Format.Font, Text.c_str());
    return capture("text \"" + Text + "\"", Width, Height, [&](int32_t x, int32_t y) {
        PrintText(SCREEN_SURFACE, x, y, Format.Font, Format.Red, Format.Green, Format.Blue, Text.c_str(),
                  LEFT_ALIGN);
    });
}

TPattern TReference::component(TComponent& Component, const std::string& Name) {
    return capture(Name, Component.getWidth(), Component.getHeight(),
                   [&](int32_t x, int32_t y) { Component.draw(SCREEN_SURFACE, x, y); });
}

TPattern TReference::skin(int32_t Skin) {
    const TSkin& Piece = GetSkin(Skin);
    return capture("skin " + std::to_string(Skin), Piece.Width, Piece.Height, [&](int32_t x, int32_t y) {
        DrawSkin(SCREEN_SURFACE, x, y, Piece.Width, Piece.Height, Skin, 0, 0);
    });
}

TPattern TReference::pointer(int32_t Shape) {
    // The pointer shapes are the skins of their numbers.
    TPattern Pattern = skin(Shape);
    Pattern.Name = "pointer " + std::to_string(Shape);
    const TSkinPoint& Hot = SkinProperties.Frame.PointerHotSpots[Shape - 1];
    Pattern.Origin = {Pattern.Origin.x + Hot.x, Pattern.Origin.y + Hot.y};
    return Pattern;
}

TImage TReference::startScreen(int32_t Width, int32_t Height) {
    dropMainWindow();
    InitMainWindow(Width, Height, nullptr, nullptr, nullptr);
    MainWindowBuilt = true;
    GetMainWindow()->draw(SCREEN_SURFACE, 0, 0);
    TImage Image{{0, 0, Width, Height}, {}};
    for (int32_t y = 0; y < Height; y++)
        for (int32_t x = 0; x < Width; x++)
            Image.Pixels.push_back(Engine->pixel(x, y));
    dropMainWindow();
    return Image;
}

TMainWindow& TReference::mainWindow(int32_t Width, int32_t Height, const fs::path& Directory,
                                    bool GameScreen) {
    dropMainWindow();
    InDirectory(Directory, [] { LoadOptions(); });
    InitTalk();
    ClearMessages();
    ResetShortcuts();
    SetActionState(ACTIONSTATE_NONE);
    InitAutomap();
    InitInventory();
    InitCreatures();
    InitMap(nullptr);
    InitMainWindow(Width, Height, nullptr, nullptr, nullptr);
    MainWindowBuilt = true;
    if (GameScreen) {
        NewCreature(0, MODEL_PLAYER_ID);
        SetPlayerID(MODEL_PLAYER_ID);
        GetMainWindow()->setGameScreen(true);
    }
    return *GetMainWindow();
}

void TReference::dropMainWindow() {
    if (!MainWindowBuilt) return;
    MainWindowBuilt = false;
    ExitMainWindow();
    SetPlayerID(0);
    ClearMessages();
    ExitTalk();
    ResetOptions();
}

TRect RectOf(const TComponent* Component) {
    TRect Rect{0, 0, Component->getWidth(), Component->getHeight()};
    for (const TComponent* C = Component; C != nullptr; C = C->getParent()) {
        Rect.x += C->X;
        Rect.y += C->Y;
    }
    return Rect;
}

TRect FieldArea(TMainWindow& Main, int32_t dx, int32_t dy) {
    TMapView* View = static_cast<TMapWindow*>(Main.MapWindow)->_MapView;
    const TRect Area = RectOf(View);
    // The run of view points, across or down, that the view maps to the field.
    auto Run = [&](int32_t Length, int32_t Wanted, bool Across) {
        int32_t First = -1, Last = -1;
        for (int32_t i = 0; i < Length; i++) {
            int32_t rx = 0, ry = 0, rz = 0;
            View->getField(Across ? i : 0, Across ? 0 : i, rx, ry, rz);
            if ((Across ? rx : ry) != Wanted) continue;
            if (First < 0) First = i;
            Last = i;
        }
        if (First < 0) throw std::out_of_range("the field lies outside the map view");
        return std::pair{First, Last - First + 1};
    };
    int32_t PlayerX = 0, PlayerY = 0, rz = 0;
    View->getField(View->getWidth() / 2, View->getHeight() / 2, PlayerX, PlayerY, rz);
    const auto [x, Width] = Run(View->getWidth(), PlayerX + dx, true);
    const auto [y, Height] = Run(View->getHeight(), PlayerY + dy, false);
    return {Area.x + x, Area.y + y, Width, Height};
}

TPoint FieldCentre(TMainWindow& Main, int32_t dx, int32_t dy) { return FieldArea(Main, dx, dy).centre(); }
