// Test helpers of the graphics layer: tiny sprite and picture files built in memory, and the software engine
// started on a hidden window with every module of the layer.
#include "tests/graphics/GraphicsTest.h"

#include "foundation/Exception.h"
#include "graphics/Engine.h"
#include "state/Preferences.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

void Put16(std::vector<uint8_t>& Out, uint32_t Value) {
    Out.push_back(static_cast<uint8_t>(Value));
    Out.push_back(static_cast<uint8_t>(Value >> 8));
}

void Put32(std::vector<uint8_t>& Out, uint32_t Value) {
    Put16(Out, Value & 0xFFFF);
    Put16(Out, Value >> 16);
}

void Patch32(std::vector<uint8_t>& Out, size_t At, uint32_t Value) {
    for (int i = 0; i < 4; i++)
        Out[At + i] = static_cast<uint8_t>(Value >> (8 * i));
}

} // namespace

TTile FilledTile(uint8_t Red, uint8_t Green, uint8_t Blue) {
    TTile Tile;
    for (int32_t i = 0; i < 1024; i++) {
        Tile[3 * i] = Red;
        Tile[3 * i + 1] = Green;
        Tile[3 * i + 2] = Blue;
    }
    return Tile;
}

void SetTilePixel(TTile& Tile, int32_t x, int32_t y, uint8_t Red, uint8_t Green, uint8_t Blue) {
    uint8_t* P = Tile.data() + 3 * (y * 32 + x);
    P[0] = Red;
    P[1] = Green;
    P[2] = Blue;
}

std::vector<uint8_t> EncodeRuns(const TTile& Tile, const uint8_t Key[3]) {
    std::vector<uint8_t> Runs;
    auto IsKey = [&](int32_t i) {
        return Tile[3 * i] == Key[0] && Tile[3 * i + 1] == Key[1] && Tile[3 * i + 2] == Key[2];
    };
    int32_t i = 0;
    while (i < 1024) {
        int32_t Skip = 0, Count = 0;
        while (i + Skip < 1024 && IsKey(i + Skip))
            Skip++;
        if (i + Skip == 1024) break;
        while (i + Skip + Count < 1024 && !IsKey(i + Skip + Count))
            Count++;
        Put16(Runs, Skip);
        Put16(Runs, Count);
        Runs.insert(Runs.end(), Tile.begin() + 3 * (i + Skip), Tile.begin() + 3 * (i + Skip + Count));
        i += Skip + Count;
    }
    std::vector<uint8_t> Out;
    Put16(Out, static_cast<uint32_t>(Runs.size()));
    Out.insert(Out.end(), Runs.begin(), Runs.end());
    return Out;
}

TTestSprite SpriteOf(const TTile& Tile, uint8_t KeyRed, uint8_t KeyGreen, uint8_t KeyBlue) {
    TTestSprite Sprite;
    Sprite.Key[0] = KeyRed;
    Sprite.Key[1] = KeyGreen;
    Sprite.Key[2] = KeyBlue;
    Sprite.Runs = EncodeRuns(Tile, Sprite.Key);
    return Sprite;
}

std::vector<uint8_t> SpriteFileBytes(const std::vector<TTestSprite>& Sprites, uint32_t Signature) {
    std::vector<uint8_t> Out;
    Put32(Out, Signature);
    Put16(Out, static_cast<uint32_t>(Sprites.size()));
    const size_t Table = Out.size();
    Out.resize(Out.size() + 4 * Sprites.size(), 0);
    for (size_t s = 0; s < Sprites.size(); s++) {
        if (Sprites[s].Empty) continue;
        Patch32(Out, Table + 4 * s, static_cast<uint32_t>(Out.size()));
        Out.insert(Out.end(), Sprites[s].Key, Sprites[s].Key + 3);
        Out.insert(Out.end(), Sprites[s].Runs.begin(), Sprites[s].Runs.end());
    }
    return Out;
}

TTestPicture PictureOf(int32_t TilesX, int32_t TilesY,
                       const std::function<std::array<uint8_t, 3>(int32_t, int32_t)>& Paint) {
    TTestPicture Picture;
    Picture.TilesX = TilesX;
    Picture.TilesY = TilesY;
    for (int32_t ty = 0; ty < TilesY; ty++)
        for (int32_t tx = 0; tx < TilesX; tx++) {
            TTile Tile;
            for (int32_t y = 0; y < 32; y++)
                for (int32_t x = 0; x < 32; x++) {
                    std::array<uint8_t, 3> C = Paint(32 * tx + x, 32 * ty + y);
                    SetTilePixel(Tile, x, y, C[0], C[1], C[2]);
                }
            Picture.Tiles.push_back(EncodeRuns(Tile, Picture.Key));
        }
    return Picture;
}

std::vector<uint8_t> PictureFileBytes(const std::vector<TTestPicture>& Pictures, uint32_t Signature) {
    std::vector<uint8_t> Out;
    Put32(Out, Signature);
    Put16(Out, static_cast<uint32_t>(Pictures.size()));
    std::vector<size_t> Tables;
    for (const TTestPicture& P : Pictures) {
        Out.push_back(static_cast<uint8_t>(P.TilesX));
        Out.push_back(static_cast<uint8_t>(P.TilesY));
        Out.insert(Out.end(), P.Key, P.Key + 3);
        Tables.push_back(Out.size());
        Out.resize(Out.size() + 4 * P.Tiles.size(), 0);
    }
    for (size_t p = 0; p < Pictures.size(); p++)
        for (size_t t = 0; t < Pictures[p].Tiles.size(); t++) {
            Patch32(Out, Tables[p] + 4 * t, static_cast<uint32_t>(Out.size()));
            Out.insert(Out.end(), Pictures[p].Tiles[t].begin(), Pictures[p].Tiles[t].end());
        }
    return Out;
}

void WriteFile(const std::string& Name, const std::vector<uint8_t>& Bytes) {
    std::ofstream File(Name, std::ios::binary | std::ios::trunc);
    File.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
    ASSERT_TRUE(File.good()) << Name;
}

int32_t ProgramErrorOf(const std::function<void()>& Body) {
    try {
        Body();
    } catch (PROGRAM_ERROR Code) {
        return Code;
    }
    return 0;
}

std::string ExceptionTextOf(const std::function<void()>& Body) {
    try {
        Body();
    } catch (const TMyException& E) {
        return E.getText();
    }
    return "no exception";
}

TTestEngine::TTestEngine(const TDisplayFaults& Faults, int32_t Width, int32_t Height) {
    ResetEngineModule();
    ResetOptions();
    SetDisplayFaults(Faults);
    Window = TWindow::create("test", Width, Height, false);
    EXPECT_NE(Window, nullptr) << GetPlatformError();
    StartGraphicEngine(Window.get(), ENGINE_DIRECTDRAW);
    Engine = dynamic_cast<TSurfaceDX*>(GetSurface());
    Engine->InitSurfaces();
    Engine->ChangeVideoMode(Window.get(), WINDOWED_MODE, nullptr, false);
}

TTestEngine::~TTestEngine() {
    Engine->ExitSurfaces();
    SurfaceExitInstance();
    ResetEngineModule();
    ClearDisplayFaults();
}

uint32_t TTestEngine::pixel(int32_t Surface, int32_t x, int32_t y) {
    const TPixelSurface* Pixels = Engine->getPixels(Surface);
    const uint32_t Value = Pixels->getPixel(x, y);
    if (Pixels->getFormat().BytesPerPixel == 4) return Value;
    const uint32_t r = Value >> 11, g = (Value >> 5) & 63, b = Value & 31;
    return (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
}
