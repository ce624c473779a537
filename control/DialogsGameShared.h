// Helpers the game dialogs share: the label style of the dialog texts and placing a child.
#pragma once

#include "gui/DialogElementsText.h"
#include "gui/GUI.h"
#include "gui/SkinProperties.h"

#include <cstdint>

inline constexpr int32_t KEY_ENTER = 13;
inline constexpr int32_t KEY_ESCAPE = 27;

// A label in the dialogs' message style, sized by its place.
inline TTextLabel* MessageLabel(const char* Text) {
    const TTextFormat& Style = SkinProperties.Popups.MessageFormat;
    return new TTextLabel(0, 0, 1, 1, Style.Font, Style.Red, Style.Green, Style.Blue, Style.Alignment, Text,
                          false);
}

// Adds Child to Body and places it; a width of 0 reaches the right edge.
template <typename T>
T* PlaceChild(TParentComponent* Body, T* Child, int32_t x, int32_t y, int32_t w, int32_t h) {
    Body->addChild(Child);
    Body->placeChild(Child, x, y, w, h);
    return Child;
}
