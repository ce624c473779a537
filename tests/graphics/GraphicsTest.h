// Test helpers of the graphics layer: tiny sprite and picture files built in memory, and the software engine
// started on a hidden window with every module of the layer.
#pragma once

#include "graphics/SurfaceDX.h"
#include "platform/Display.h"
#include "platform/Window.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A decoded 32 x 32 tile: red, green, blue per pixel, rows top to bottom.
using TTile = std::array<uint8_t, 3072>;

TTile FilledTile(uint8_t Red, uint8_t Green, uint8_t Blue);
void SetTilePixel(TTile& Tile, int32_t x, int32_t y, uint8_t Red, uint8_t Green, uint8_t Blue);

// u16 DataSize and the runs of Tile: key pixels become transparent runs, the rest coloured pixels.
std::vector<uint8_t> EncodeRuns(const TTile& Tile, const uint8_t Key[3]);

// A sprite: its key and the coded runs, or an empty sprite (offset 0).
struct TTestSprite {
    bool Empty = false;
    uint8_t Key[3] = {255, 0, 255};
    std::vector<uint8_t> Runs; // u16 DataSize and the runs, as written
};
TTestSprite SpriteOf(const TTile& Tile, uint8_t KeyRed = 255, uint8_t KeyGreen = 0, uint8_t KeyBlue = 255);
std::vector<uint8_t> SpriteFileBytes(const std::vector<TTestSprite>& Sprites,
                                     uint32_t Signature = 0x5350524Bu);

// A picture: tiles row by row, each coded runs.
struct TTestPicture {
    int32_t TilesX = 0, TilesY = 0;
    uint8_t Key[3] = {255, 0, 255};
    std::vector<std::vector<uint8_t>> Tiles;
};
// A picture whose pixel (x, y) has the colour Paint(x, y); Paint answers the key colour for transparent
// pixels.
TTestPicture PictureOf(int32_t TilesX, int32_t TilesY,
                       const std::function<std::array<uint8_t, 3>(int32_t, int32_t)>& Paint);
std::vector<uint8_t> PictureFileBytes(const std::vector<TTestPicture>& Pictures,
                                      uint32_t Signature = 0x5049434Bu);

void WriteFile(const std::string& Name, const std::vector<uint8_t>& Bytes);

// The catch of a failing call: the PROGRAM_ERROR code (0 when none) or the exception's text.
int32_t ProgramErrorOf(const std::function<void()>& Body);
std::string ExceptionTextOf(const std::function<void()>& Body);

// The software engine as the module's engine object on a hidden window, with its surfaces made.
class TTestEngine {
public:
    explicit TTestEngine(const TDisplayFaults& Faults = TDisplayFaults(), int32_t Width = 640,
                         int32_t Height = 480);
    ~TTestEngine();
    TSurfaceDX& engine() { return *Engine; }
    TWindow* window() { return Window.get(); }
    // Pixel of a surface as red << 16 | green << 8 | blue (5-6-5 widened by repeating the top bits).
    uint32_t pixel(int32_t Surface, int32_t x, int32_t y);

private:
    std::unique_ptr<TWindow> Window;
    TSurfaceDX* Engine = nullptr;
};
