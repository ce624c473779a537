// The inventory panels of the side bar: the equipment window with its ten body slots inside the full panel,
// and the minimised panel with its drop field. Both carry the combat controls, the capacity and soul labels
// and the bar of condition icons.
#pragma once

#include "gui/DialogWindow.h"

#include <cstdint>

// The ten body slots. Everything shown is read from the inventory at each frame; the window keeps nothing.
class TInventoryWindow : public TParentComponent {
public:
    // Target (the main window, not owned) receives 23 from the minimise button.
    explicit TInventoryWindow(TComponent* Target);

    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override; // a slot's object as drag source
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;   // drop, use-with, modified click
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override;     // look, use or object menu
    bool getHelpContext(int32_t X, int32_t Y) override;

    // Body position 1 to 10 whose slot frame holds the point (0 to 34 from its corner each way), or 0.
    int32_t getSlotAt(int32_t X, int32_t Y) const;
};

// The minimised panel: a drop field that takes objects dragged onto it into any suitable body slot.
class TMinimisedInventoryWindow : public TContentWindow {
public:
    TMinimisedInventoryWindow();

    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    bool getHelpContext(int32_t X, int32_t Y) override;
};

// The full panel (kind INVENTORY_WINDOW) and the minimised one (SMALL_INVENTORY_WINDOW); Target is the
// main window, which swaps them on 23 and 24 and acts on the combat controls' 8, 32 and 701.
TContentWindow* CreateInventoryPanel(TComponent* Target);
TContentWindow* CreateSmallInventoryPanel(TComponent* Target);
