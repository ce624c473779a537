// The small display elements of the inventory panels: the capacity and soul-point labels and the bar of
// condition icons. They read the player's values at drawing time and keep no copy.
#pragma once

#include "gui/GUI.h"

#include <cstdint>

// "Cap:" over the player's capacity; the owner gives position and size.
class TCapacityLabel : public TLeafComponent {
public:
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
};

// "Soul:" over the player's soul points; the owner gives position and size.
class TSoulLabel : public TLeafComponent {
public:
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
};

// The row of icons of the player's active states, left to right in a fixed order. The large bar belongs to
// the inventory panel, the small one to the minimised inventory.
class TPlayerStatesBar : public TLeafComponent {
public:
    explicit TPlayerStatesBar(bool islarge);

    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    // The text of the state under the point, in the bar's coordinates.
    void getToolTip(int32_t X, int32_t Y) override;

    // Active states that show an icon, at most MaxIcons.
    int32_t countIcons() const;
    // Position of the icon under the point (the first that holds it), or -1.
    int32_t getIconAt(int32_t X, int32_t Y) const;

    bool IsLarge;
    int32_t MaxIcons;
};

// Icon skin of the Position-th active state (0-based, in display order); 0 when fewer states are active.
// Position must lie in 0 to SkinProperties.PlayerStates.NumberOfIcons - 1.
int32_t GetConditionIconSkin(int32_t Position);
