// The skin layout record: where the skinned elements put their pieces, captions and children, their text
// formats and colours. Filled once at start-up, before the first window exists, and only read afterwards.
#pragma once

#include "graphics/graphics.h"

#include <cstdint>

// Points and rectangles follow the placement rule of the containers: a negative x or y counts from the
// right or bottom edge, a width or height of 0 or less stretches to that edge less its amount.
struct TSkinPoint {
    int32_t x = 0;
    int32_t y = 0;
};

struct TSkinRectangle {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

struct TSkinColor {
    int32_t red = 0;
    int32_t green = 0;
    int32_t blue = 0;
};

// Text formats start as font 4, (224, 224, 224), left-aligned; every other word starts at 0.
struct TDefaultTextFormat : TTextFormat {
    TDefaultTextFormat() : TTextFormat{4, 224, 224, 224, LEFT_ALIGN} {}
    TDefaultTextFormat& operator=(const TTextFormat& Format) {
        TTextFormat::operator=(Format);
        return *this;
    }
};

// The groups in record order. Groups of the game screen and the dialogs are added here by the code that
// reads them.
struct TSkinProperties {
    // The framed side windows and the column that stacks them.
    struct {
        int32_t Width = 0;      // of a side panel and of the window column
        TSkinColor DragColor;   // placeholder of a window being dragged in the column
        TSkinRectangle Button4; // icon or object view in the title bar
        TSkinPoint Button2;     // close button
        TSkinPoint MinimizeButton;
        TSkinPoint Button1;     // "up" button of container windows
        TSkinRectangle Button5; // title caption
        TDefaultTextFormat TitleFormat;
        int32_t TitleHeight = 0; // height of a minimized window
        TSkinRectangle Body;
        TSkinRectangle GripHandle;
        TSkinRectangle BorderHandle;
        int32_t BodyValues[3] = {}; // read by the body builders
    } SidePanel;

    struct {
        TSkinRectangle HitpointsBar;
        TSkinRectangle ManaBar;
        TSkinRectangle HitpointsText;
        TSkinRectangle ManaText;
        TDefaultTextFormat TextFormat;
    } StatusWindow;

    struct {
        int32_t NumberOfIcons = 0; // condition icons of the inventory window
    } PlayerStates;

    struct {
        TDefaultTextFormat CountFormat;
        int32_t Margin = 0; // frame width of a framed object view
    } ObjectView;

    struct {
        TSkinPoint Logo; // icon offset inside a VIP list entry
    } BuddylistWindow;

    struct {
        int32_t MinimumHeight = 0;
        int32_t Width = 0;
        int32_t BoxMinimumHeight = 0;
        int32_t BoxWidth = 0;
    } VerticalScrollBar;

    struct {
        int32_t MinimumWidth = 0;
        int32_t Height = 0;
        int32_t BoxMinimumWidth = 0;
        int32_t BoxHeight = 0;
    } HorizontalScrollBar;

    struct {
        TDefaultTextFormat TextFormat;
        TDefaultTextFormat DisabledTextFormat;
        int32_t PressedOffset = 0; // caption shift of a pressed button
        TSkinPoint Texture;        // where an icon button draws its icon
        int32_t BlinkInterval = 0; // milliseconds
        TDefaultTextFormat ExtraFormats[3];
    } Buttons;

    struct {
        TSkinPoint Item; // the tick in the box
        TSkinRectangle Text;
        TDefaultTextFormat TextFormat;
        TDefaultTextFormat DisabledTextFormat;
    } CheckBox;

    struct {
        TSkinColor Background;
        TSkinColor DisabledBackground;
        TSkinColor Cursor;
        TDefaultTextFormat TextFormat;
        TDefaultTextFormat ReadOnlyTextFormat;
        TSkinColor Selection;
        int32_t Margin = 0;
    } EditField;

    struct {
        TSkinColor BackgroundColor;
        TDefaultTextFormat Format;
        int32_t Margin = 0;
        TSkinColor SelectionColor;
        TDefaultTextFormat SelectedFormat;
        int32_t SelectionBorder = 0;
    } ListBox;
};

extern TSkinProperties SkinProperties;

// Writes the constants; called once by the start-up chain after the skin table.
void InitSkinProperties();
