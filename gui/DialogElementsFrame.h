// Elements that shape windows: the nine-piece skinned frame around one window, and the grip that resizes
// another component while it is dragged.
#pragma once

#include "gui/GUI.h"

#include <cstdint>

// A skinned border around one child window, which it keeps inside the border. The window is the frame's
// only child and is deleted with it.
class TWindowFrame : public TParentComponent {
public:
    // The standard border: skins 26, 32, 27, 30, 31, 28, 33, 29; no centre.
    TWindowFrame(TComponent* _Window, int32_t Inset);
    // Border skins in the order top left, top, top right, left, right, bottom left, bottom, bottom right.
    TWindowFrame(TComponent* _Window, int32_t TopLeft, int32_t Top, int32_t TopRight, int32_t Left,
                 int32_t Right, int32_t BottomLeft, int32_t Bottom, int32_t BottomRight, int32_t Inset);
    // Centre: the skin tiled under the window; 0 = none.
    TWindowFrame(TComponent* _Window, int32_t TopLeft, int32_t Top, int32_t TopRight, int32_t Left,
                 int32_t Right, int32_t BottomLeft, int32_t Bottom, int32_t BottomRight, int32_t Centre,
                 int32_t Inset);

    int32_t getMinimumWidth() const override;
    int32_t getMinimumHeight() const override;
    // At least the minimum size; lays the border out and fits the window into it.
    void setSize(int32_t Width, int32_t Height) override;
    // Rebuilds the nine pieces and the window rectangle for the present size.
    void arrange() override;
    // Sizes the frame so that the window keeps its present size.
    void fitToWindow();

    TComponent* _Window;
    int32_t TopLeft, Top, TopRight, Left, Right, BottomLeft, Bottom, BottomRight;
    int32_t Centre;
    // The window's rectangle inside the frame, from the last arrange.
    int32_t WindowX = 0, WindowY = 0, WindowWidth = 0, WindowHeight = 0;
    int32_t Inset; // pixels between the border and the window on every side
};

// A grip that resizes _ToResize by the distance it is dragged, in the directions enabled. A hidden grip
// draws nothing but works the same; it requests the vertical-resize pointer (shape 2).
class TResizeHandle : public TLeafComponent {
public:
    TResizeHandle(TComponent* _ToResize, bool ResizeX, bool ResizeY, bool Hidden);

    void setSize(int32_t Width, int32_t Height) override;
    void arrange() override;
    bool mouseMove(int32_t X, int32_t Y) override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    void releaseCapture(TComponent* Component) override; // ends the drag first
    void cancelCapture() override;                       // ends the drag

    TComponent* _ToResize;
    bool Dragging = false;
    int32_t GrabX = 0, GrabY = 0; // where the drag began, in handle coordinates
    bool ResizeX, ResizeY, Hidden;

private:
    void resize(int32_t X, int32_t Y);
};
