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

// The automap panel's skins, which the help texts and the mark dialog show too; each button's pressed face is
// the skin after it, and a map mark's icon is SKIN_MAP_MARKS plus the mark's type.
enum AUTOMAP_SKIN : int32_t {
    SKIN_AUTOMAP_ROSE = 65,
    SKIN_AUTOMAP_ZOOM_IN = 66,
    SKIN_AUTOMAP_ZOOM_OUT = 68,
    SKIN_AUTOMAP_FLOOR_UP = 70,
    SKIN_AUTOMAP_FLOOR_DOWN = 72,
    SKIN_MAP_MARKS = 74,
};

// The nine-piece frame of the start screen's panel and the help popup, in the frame constructor's order: top
// left, top, top right, left, right, bottom left, bottom, bottom right, centre.
inline constexpr int32_t POPUP_FRAME_SKINS[9] = {52, 58, 53, 56, 57, 54, 59, 55, 60};

// The combat controls' positions in one of their two layouts.
struct TCombatLayout {
    int32_t Width = 0, Height = 0;
    TSkinPoint Offensive, Balanced, Defensive, Stand, Chase, SecureMode, Stop, Options, Help;
};

// The groups in screen-element order, every member a 32-bit word or a few of them.
struct TSkinProperties {
    // What the frame drawing uses: the pointer shapes' hot spots and the tool tip.
    struct {
        TSkinPoint PointerHotSpots[6]; // shapes 1 to 6: the pixel of the skin that points
        TDefaultTextFormat TooltipFormat;
        int32_t TooltipMargin = 0;
        TSkinColor TooltipBackground;
        TSkinColor TooltipFrame;
    } Frame;

    // The map view: border around the picture, least picture size, the hint button.
    struct {
        int32_t Border = 0;
        int32_t MinimumWidth = 0, MinimumHeight = 0;
        TSkinRectangle HintButton; // placeChild rectangle
    } MapView;

    // Popups of the start screen and the game: help menu, hints, info panel; the text style of the boxes.
    struct {
        TSkinRectangle HelpMenu; // body size; rows RowDistance apart, labels at LabelX
        int32_t HelpMenuRowDistance = 0;
        int32_t HelpMenuLabelX = 0;
        TSkinRectangle HintsBody;
        TSkinRectangle InfoPanel;
        TDefaultTextFormat MessageFormat;
    } Popups;

    // The start screen: the title picture stretched over it and the framed panel of buttons.
    struct {
        int32_t TitlePicture = 0;
        int32_t TitleWidth = 0, TitleHeight = 0; // the part of the picture that is stretched
        TSkinRectangle Panel;                    // its position is a moveChild position
        int32_t ButtonRows[5] = {};
        int32_t ButtonSkinUp = 0, ButtonSkinDown = 0;
        int32_t PanelFrame[9] = {}; // frame skins in the frame constructor's order, centre last
        int32_t PanelMargin = 0;
    } StartScreen;

    // The main window's layout, the context menus and the help popup.
    struct {
        int32_t SideBarWidth = 0;
        int32_t SplitterHeight = 0;
    } MainWindow;

    struct {
        TDefaultTextFormat TextFormat;
        TSkinColor HighlightColor;
        int32_t TextInset = 0;
        int32_t ShortcutGap = 0;
        int32_t SeparatorHeight = 0;
        TSkinRectangle Margins;
    } ContextMenu;

    struct {
        int32_t MinimumWidth = 0, MinimumHeight = 0;
        int32_t MaximumWidth = 0, MaximumHeight = 0;
        TSkinRectangle TextMargins;
        int32_t SizeStep = 0, SizeRemainder = 0;
        int32_t Distance = 0; // from the pointer
    } HelpPopup;

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
        int32_t Height = 0; // panel height; the width is the side panel's
        TSkinRectangle MapFrame;
        TSkinRectangle View;
        TSkinPoint ZoomIn, ZoomOut, FloorUp, FloorDown; // buttons, skins up then down
        int32_t ZoomInSkins[2] = {}, ZoomOutSkins[2] = {}, FloorUpSkins[2] = {}, FloorDownSkins[2] = {};
        TSkinPoint CentreButton;
        TSkinPoint Rose;
        int32_t RoseSkin = 0;
        int32_t MarkSkin = 0; // first map-mark icon; a mark's type is added
    } Automap;

    struct {
        int32_t Height = 0;
        TSkinPoint SkillsButton, BattleButton, VIPButton, LogoutButton;
        int32_t ToggleSkinUp = 0, ToggleSkinDown = 0;
        int32_t ToggleWidth = 0, ToggleHeight = 0;
    } GeneralControls;

    struct {
        int32_t Height = 0;      // panel with the equipment window
        int32_t SmallHeight = 0; // minimised panel
        TSkinRectangle Window;   // equipment window in the panel
        TSkinPoint SmallCombatControls;
        TSkinRectangle CapacityLabel, SoulLabel, StatesBar; // in the equipment window
        int32_t SlotFrameSkin = 0;
        TSkinRectangle DropField; // of the minimised panel
    } InventoryWindow;

    struct {
        TSkinRectangle LargeBar;   // icon row of the inventory window's bar
        TSkinRectangle SmallBar;   // icon row of the minimised inventory's bar
        int32_t NumberOfIcons = 0; // condition icons of the inventory window
        int32_t IconPitch = 0;
    } PlayerStates;

    struct {
        TDefaultTextFormat CountFormat;
        int32_t Margin = 0; // frame width of a framed object view
    } ObjectView;

    struct {
        TCombatLayout Maximised, Minimised;
    } CombatControls;

    // Capacity and soul labels: caption and number, both centred on the same x.
    struct {
        TSkinPoint Caption, Number;
        TDefaultTextFormat CaptionFormat, NumberFormat;
    } SmallLabels;

    struct {
        int32_t Height = 0;
        TSkinRectangle HitpointsBar;
        TSkinRectangle ManaBar;
        TSkinRectangle HitpointsText;
        TSkinRectangle ManaText;
        TDefaultTextFormat TextFormat;
    } StatusWindow;

    struct {
        int32_t Margin = 0;         // above the first and below the last line
        int32_t ProgressHeight = 0; // added to a line with a progress bar
    } SkillsWindow;

    struct {
        int32_t LineHeight = 0;
        int32_t OutfitSize = 0;
    } BattleWindow;

    struct {
        int32_t Width = 0, Height = 0; // at construction
        int32_t MinimumHeight = 0;
        TSkinRectangle OwnLabel, PartnerLabel;
        TDefaultTextFormat HeaderFormat;
        int32_t SeparatorX = 0, SeparatorWidth = 0;
        int32_t RowHeight = 0;
    } TradeWindow;

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

    // The console: children placed by setSize and the buttons of its frame.
    struct {
        TSkinRectangle TabBar, Input, Text;
        int32_t MinimumHeight = 0;
        TSkinPoint TalkModeButton, CloseButton, ServerMessagesButton, IgnoreButton, OpenChannelButton;
        TSkinPoint MoveRightButton, MoveLeftButton;
        TDefaultTextFormat TalkFormat;   // input line with the talk-mode button
        TDefaultTextFormat NoTalkFormat; // input line without it
    } Console;

    struct {
        int32_t Width = 0, Height = 0;
        int32_t CaptionMargin = 0; // each side, for fitting the caption
        TSkinPoint Caption;        // origin of the centred caption
        TDefaultTextFormat SelectedFormat, UnselectedFormat, UnreadFormat, FlashFormat;
        int32_t SelectedSkin = 0, UnselectedSkin = 0;
        int32_t FlashLength = 0;   // ticks
        TSkinColor SelectionColor; // of the text view
        TSkinRectangle TextView;   // in the text window
    } ConsoleTab;

    // The modal dialog frame around a dialog body.
    struct {
        TDefaultTextFormat CaptionFormat;
        TSkinRectangle BodyMargins; // fitToChild margins around the body
        int32_t MinimumWidth = 0, MinimumHeight = 0;
        int32_t ButtonSkinUp = 0, ButtonSkinDown = 0;
        int32_t ButtonWidth = 0, ButtonHeight = 0;
    } DialogFrame;
};

extern TSkinProperties SkinProperties;

// Writes the constants; called once by the start-up chain after the skin table.
void InitSkinProperties();
