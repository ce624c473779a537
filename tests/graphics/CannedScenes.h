// Canned scenes drawn from the generated data through whichever engine is current, and the hash their golden
// images are kept as.
#pragma once

#include "graphics/Surface.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

inline constexpr int32_t SCENE_WIDTH = 320, SCENE_HEIGHT = 240;

void DrawSkins();
void DrawFonts();
void DrawObjects();
void DrawOutfits();
// The boxes the last DrawObjects or DrawOutfits drew its objects and outfits into.
const std::vector<TRectangle>& ObjectBoxes();
// The map's light pass as the game draws it: the fields in TEMP_SURFACE, its grid of shaded quads over them
// (reaching past the surface), then the whole map picture stretched onto the screen.
void DrawLight();

// Loads the generated data files and builds the caches, fonts and skins on the current engine, with every
// animation at its first phase; UnloadSceneData undoes it.
void LoadSceneData();
void UnloadSceneData();

// FNV-1a over Height rows of RowBytes bytes, Pitch bytes apart.
uint64_t SceneHash(const uint8_t* Pixels, int32_t RowBytes, int32_t Pitch, int32_t Height);

// "<scene> <kind>" -> hash, from the golden file; WriteGoldenHashes writes them all back.
std::map<std::string, std::string> GoldenHashes();
void WriteGoldenHashes(const std::map<std::string, std::string>& Hashes);
