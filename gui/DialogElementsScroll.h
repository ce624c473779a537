// Scroll bars (a track with a draggable thumb holding a value in a range) and scroll boxes (a bar between
// two repeating arrow buttons).
#pragma once

#include "gui/GUI.h"

#include <cstdint>

class TButton;

// The design both bars share; the axis, skins, keys and whether changes are announced differ. Invariant:
// _Min <= _Max and _Value in _Min.._Max. The owner reads _Value and _PageSize directly.
class TScrollBar : public TLeafComponent {
public:
    void setSize(int32_t _Width, int32_t _Height) override;
    void arrange() override;
    bool mouseMove(int32_t X, int32_t Y) override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    bool mouseScroll(int32_t X, int32_t Y, uint32_t Kind) override;
    void keyPressed(int32_t Key) override;
    void releaseCapture(TComponent* Component) override; // ends a drag first
    void cancelCapture() override;

    // Ignored while the thumb is dragged, then limited to the range.
    void setValue(int32_t Value);

    int32_t _ButtonRange = 1; // step of a wheel notch, an arrow key and an arrow button
    int32_t _Min;
    int32_t _Max;
    int32_t _Value;
    int32_t _PageSize; // amount visible at once
    bool Pressed = false;
    bool Dragging = false;
    int32_t DragOffset = 0;
    int32_t ThumbLength = 0;   // pixels along the axis
    int32_t ThumbPosition = 0; // pixels from the start of the track
    bool PageStepping = false; // a track click steps a page instead of 1
    bool Enabled;

protected:
    struct TAxis {
        bool Vertical;
        int32_t Skins[4]; // track, start cap, middle, end cap
        int32_t BackKey, ForwardKey;
    };
    TScrollBar(const TAxis& Axis, int32_t _Min, int32_t _Max, int32_t _Value, int32_t _PageSize);
    // Clamps the value, tells the owner where the bar does, and re-lays the thumb.
    void settle();
    virtual void announce() {}

private:
    int32_t along(int32_t X, int32_t Y) const { return Axis.Vertical ? Y : X; }
    int32_t trackLength() const { return Axis.Vertical ? Height : Width; }
    bool inside(int32_t X, int32_t Y) const { return X >= 0 && X <= Width && Y >= 0 && Y <= Height; }
    void trackStep(int32_t P);

    TAxis Axis;
};

// Announces every change through its binding; placed and sized by its owner.
class THorizontalScrollBar : public TScrollBar {
public:
    THorizontalScrollBar(int32_t _Min, int32_t _Max, int32_t _Value, int32_t _PageSize, TComponent* Target,
                         int32_t Identifier);
    int32_t getMinimumWidth() const override;
    int32_t getMinimumHeight() const override;

    TNotification Notification;

protected:
    void announce() override { Notification.fire(); }
};

// Announces nothing; owners read _Value when they draw and set the range when their content changes.
class TVerticalScrollBar : public TScrollBar {
public:
    TVerticalScrollBar(int32_t x, int32_t y, int32_t width, int32_t height, int32_t _Min, int32_t _Max,
                       int32_t _Value, int32_t _PageSize);
    int32_t getMinimumWidth() const override;
    int32_t getMinimumHeight() const override;
    // Fires nothing; a value outside the range is limited to it.
    void setRange(int32_t _Min, int32_t _Max, int32_t _Value, int32_t _PageSize);
};

// A bar between a back and a forward arrow button; the wheel anywhere over the box moves the bar.
class TScrollBox : public TParentComponent {
public:
    bool mouseScroll(int32_t X, int32_t Y, uint32_t Kind) override;
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override;

    TScrollBar* Bar = nullptr;
    TButton* BackButton = nullptr;
    TButton* ForwardButton = nullptr;

protected:
    // Builds the two buttons; the derived constructor adds the bar.
    TScrollBox(int32_t _ButtonRange, const int32_t (&Skins)[4], int32_t BackIdentifier,
               int32_t ForwardIdentifier);
    void adoptBar(TScrollBar* Bar, int32_t _ButtonRange);

    int32_t BackIdentifier, ForwardIdentifier;
};

class TVerticalScrollBox : public TScrollBox {
public:
    TVerticalScrollBox(int32_t x, int32_t y, int32_t width, int32_t height, int32_t _Min, int32_t _Max,
                       int32_t _Value, int32_t _PageSize, int32_t _ButtonRange);
    // The width is fixed; a height below the buttons and the least bar grows.
    void setSize(int32_t _Width, int32_t _Height) override;
    int32_t getMinimumWidth() const override;
    int32_t getMinimumHeight() const override;
    TVerticalScrollBar* getBar() const { return static_cast<TVerticalScrollBar*>(Bar); }
};

class THorizontalScrollBox : public TScrollBox {
public:
    THorizontalScrollBox(int32_t _Min, int32_t _Max, int32_t _Value, int32_t _PageSize, int32_t _ButtonRange,
                         TComponent* Target, int32_t Identifier);
    // The height is fixed; a width below the buttons and the least bar grows.
    void setSize(int32_t _Width, int32_t _Height) override;
    int32_t getMinimumWidth() const override;
    int32_t getMinimumHeight() const override;
    THorizontalScrollBar* getBar() const { return static_cast<THorizontalScrollBar*>(Bar); }
};
