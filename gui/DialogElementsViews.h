// Passive picture elements: one skin at its own size, an object in a square, an outfit in a square. None of
// them takes pointer presses, so a click falls through to the component below.
#pragma once

#include "gui/GUI.h"
#include "state/Objects.h"

#include <cstdint>

class TSkinImage : public TLeafComponent {
public:
    explicit TSkinImage(int32_t Skin); // sized to the skin
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    bool mouseMove(int32_t X, int32_t Y) override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override;
    bool mouseScroll(int32_t X, int32_t Y, uint32_t Kind) override;

    int32_t Skin;
};

// An object picture with its count in a square; Framed draws skin 102 around it and shrinks the picture by
// the frame margin. The owner sizes it; a non-square size fails its draw.
class TObjectView : public TLeafComponent {
public:
    // Background: red, green, blue handed to the scaled sprite drawing (copied; NULL: black).
    TObjectView(TObject Object, const int32_t* Background, bool Framed);
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    bool mouseMove(int32_t X, int32_t Y) override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override;

    bool Framed;
    int32_t Background[3];
    TObject Object;
};

// A creature outfit in four colours in a square.
class TOutfitView : public TLeafComponent {
public:
    // ColorData: four outfit colour numbers, head, body, legs, feet; Background as for TObjectView. Mode
    // is kept for the owner.
    TOutfitView(int32_t LookType, int32_t Mode, const int32_t* ColorData, const int32_t* Background);
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    bool mouseMove(int32_t X, int32_t Y) override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override;

    void setLookType(int32_t LookType) { this->LookType = LookType; }
    // Mask 1 to 4: head, body, legs or feet.
    void setMask(int32_t Mask, int32_t Color);

    int32_t LookType;
    int32_t Colors[4];
    int32_t Mode;
    int32_t Background[3];
};
