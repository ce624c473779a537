// The canned scenes of the engine tests: each draws one 320 x 240 picture onto SCREEN_SURFACE of the current
// engine from the generated data, to be compared with the golden hashes.
#pragma once

#include <cstdint>
#include <map>
#include <string>

inline constexpr int32_t SCENE_WIDTH = 320, SCENE_HEIGHT = 240;

void DrawSkins();
void DrawFonts();
void DrawObjects();
void DrawOutfits();
void DrawLight();

// Loads the generated data and every cache over the current engine, animations at their first phase.
void LoadSceneData();
void FreeSceneData();

// "<scene> <bits>" -> hash, from the golden file.
std::map<std::string, std::string> GoldenHashes();

struct TScene {
    const char* Name;
    void (*Draw)();
};
