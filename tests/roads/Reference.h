// The client's own drawing and layout code run in the test process on the software engine, with the data
// files the build generates: what a client should show (patterns of texts, skin pieces and pointers, the
// whole start screen) and where the parts of its screens lie.
#pragma once

#include "graphics/graphics.h"
#include "tests/roads/Screen.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

class TComponent;
class TMainWindow;

// Started on first use and kept for the process: the drawing modules are the program's single instances.
// Every call must come from the test's main thread.
class TReference {
public:
    static TReference& get();

    // A text as PrintText draws it in the format's font and colour (the alignment only moves it).
    TPattern text(const std::string& Text, const TTextFormat& Format);
    // A component as its draw draws it at its present size.
    TPattern component(TComponent& Component, const std::string& Name);
    // A skin piece at its own size.
    TPattern skin(int32_t Skin);
    // The pointer the program draws for shape 1 to 6; its Origin is moved to the hot spot, the point the
    // pointer shows.
    TPattern pointer(int32_t Shape);

    // The start screen of a client area of the given size, as the software engine draws it.
    TImage startScreen(int32_t Width, int32_t Height);

    // The main window of a client area of the given size with the options of Directory's Ebrun.cfg, showing
    // the game screen or the start screen: the layout code's answer to where things are. Valid until the
    // next call. With the game screen, the player stands at rest in the middle of the map box.
    TMainWindow& mainWindow(int32_t Width, int32_t Height, const std::filesystem::path& Directory,
                            bool GameScreen);

private:
    TReference();
    // Draws with Paint on two backgrounds and keeps the pixels that come out the same on both.
    // Width x Height is the size the drawing is expected to take.
    template <typename Painter>
    TPattern capture(const std::string& Name, int32_t Width, int32_t Height, Painter&& Paint);
    void dropMainWindow();

    struct TEngine;
    std::unique_ptr<TEngine> Engine;
    bool MainWindowBuilt = false;
};

// Runs Body in Directory, where the modules find and write their files, and returns to the present one, also
// when Body throws.
template <typename Body> void InDirectory(const std::filesystem::path& Directory, Body&& Run) {
    const std::filesystem::path Previous = std::filesystem::current_path();
    std::filesystem::current_path(Directory);
    try {
        Run();
    } catch (...) {
        std::filesystem::current_path(Previous);
        throw;
    }
    std::filesystem::current_path(Previous);
}

// A component's rectangle in its main window's client area.
TRect RectOf(const TComponent* Component);
// The view points of a map field (dx, dy) away from the player's field, as the main window's map view maps
// them to fields, and their centre; the main window must show the game screen. Without stretching, the view
// maps the margin left of and above the map to its first column and row as well: those fields' areas take
// the margin in.
TRect FieldArea(TMainWindow& Main, int32_t dx, int32_t dy);
TPoint FieldCentre(TMainWindow& Main, int32_t dx, int32_t dy);
