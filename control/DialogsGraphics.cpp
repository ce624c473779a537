// The graphics option pages: windowed or full screen with the engine's display modes, and the advanced page
// with the engine choice, light, map stretching, the platform pointer and the frame-rate limit; their
// factories.
#include "control/DialogsGraphics.h"

#include "control/Control.h"
#include "foundation/Exception.h"
#include "graphics/Engine.h"
#include "graphics/Surface.h"
#include "graphics/graphics.h"
#include "gui/DialogElementsList.h"
#include "gui/DialogElementsScroll.h"
#include "gui/SkinProperties.h"
#include "screen/MessageTexts.h"
#include "state/Events.h"
#include "state/Status.h"

#include <cstdio>

namespace {

constexpr int32_t ADVANCED = 407;
constexpr int32_t FRAMERATE_MOVED = 30;
constexpr int32_t NO_FRAMERATE_LIMIT = 201;
constexpr int32_t RELAYOUT = 9; // the main window lays itself out again

// The engine buttons in their order on the page, with the engine each one stands for.
struct TEngineButton {
    const char* Caption;
    int32_t x;
    int32_t Identifier;
    const char* ToolTip;
    int32_t Engine;
};
const TEngineButton EngineButtonList[3] = {
    {"DirectX5", 0, 800, MessageTexts[TEXT_TIP_DIRECTX5], ENGINE_DIRECTDRAW},
    {"DirectX9", 70, 801, MessageTexts[TEXT_TIP_DIRECTX9], ENGINE_DIRECT3D9},
    {"OpenGL", 140, 802, MessageTexts[TEXT_TIP_OPENGL], ENGINE_OPENGL},
};
constexpr uint8_t CAN_OPENGL = 1, CAN_DIRECT3D9 = 2;

const TTextFormat& TextStyle() { return SkinProperties.Popups.MessageFormat; }

} // namespace

void FormatDisplayMode(char* Buffer, size_t Size, const TDisplayMode& Mode) {
    char Suffix[32] = "";
    if (Mode.Refresh != 0) snprintf(Suffix, sizeof(Suffix), ", %d Hz", Mode.Refresh);
    snprintf(Buffer, Size, "%d*%d, %d Bits%s", Mode.Width, Mode.Height, Mode.Depth, Suffix);
}

// ---- TGraphicsOptionsDialog ----

TGraphicsOptionsDialog::TGraphicsOptionsDialog(TOpenURLFunction OpenURL, TSetViewModeFunction SetViewMode,
                                               TComponent* MainWindow) try
    : OpenURL(OpenURL), SetViewMode(SetViewMode), MainWindow(MainWindow) {
    TComponent::setSize(200, 185);
    Fullscreen = PlaceCheckBox(this, "Fullscreen", 0, 0, 0, GetVideoMode() == FULLSCREEN_MODE);
    PlaceLabel(this, MessageTexts[TEXT_AVAILABLE_RESOLUTIONS], 0, 35);
    Resolutions = new TListBox(nullptr, 0, nullptr, 0);
    addChild(Resolutions);
    placeChild(Resolutions, 0, 50, 0, 104);
    PlaceLabel(this, MessageTexts[TEXT_ADVANCED_SETTINGS], 0, 171);
    TTextButton* Advanced = new TTextButton(0, 0, "Advanced", 18, 19, this, ADVANCED, nullptr);
    addChild(Advanced);
    moveChild(Advanced, -86, 167);

    NumberOfDisplayModes = GetSurface()->GetDisplayModes(DisplayModes);
    for (int32_t i = 0; i < NumberOfDisplayModes; i++) {
        char Line[80];
        FormatDisplayMode(Line, sizeof(Line), DisplayModes[i]);
        Resolutions->addLine(Line);
    }
    Resolutions->select(0);
    // Refresh is not compared: the last line of the stored size and depth wins.
    const TDisplayMode* Stored = GetFullscreenMode();
    for (int32_t i = 0; Stored != nullptr && i < NumberOfDisplayModes; i++) {
        const TDisplayMode& Mode = DisplayModes[i];
        if (Mode.Width == Stored->Width && Mode.Height == Stored->Height && Mode.Depth == Stored->Depth)
            Resolutions->select(i);
    }
}
CATCH_FRAME()

void TGraphicsOptionsDialog::keyPressed(int32_t Key) {
    if (Key == KEY_ENTER)
        handleEvent(DIALOG_OK);
    else if (Key == KEY_ESCAPE)
        handleEvent(DIALOG_CANCEL);
    else if (Key == KEY_UP || Key == KEY_DOWN)
        Resolutions->keyPressed(Key);
}

void TGraphicsOptionsDialog::handleEvent(int32_t Identifier) try {
    switch (Identifier) {
    case DIALOG_OK: {
        const bool WasFull = GetVideoMode() == FULLSCREEN_MODE, WantFull = Fullscreen->isChecked();
        const int32_t Line = Resolutions->getSelection();
        const bool HasLine = Line >= 0 && Line < NumberOfDisplayModes;
        if (HasLine) SetFullscreenMode(DisplayModes[Line]);
        // Full screen needs a mode; leaving it does not.
        if (WasFull != WantFull && !(WantFull && !HasLine) && SetViewMode != nullptr)
            SetViewMode(WantFull ? FULLSCREEN_MODE : WINDOWED_MODE);
        if (GetGraphicEngine() == ENGINE_DIRECT3D9 && WantFull) ResizeScreen(0, 0);
        SetActionState(ACTIONSTATE_NONE);
        break;
    }
    case ADVANCED:
        AddPriorityMessage(MESSAGE_GRAPHICSOPTIONS, 0, 0);
        AddPriorityMessage(MESSAGE_ADVANCEDGRAPHICSOPTIONS, MessageParameter(MainWindow), 0);
        SetActionState(ACTIONSTATE_NONE);
        break;
    case DIALOG_HELP:
        OpenSitePage(OpenURL, TEXT_URL_GRAPHICS_OPTIONS);
        break;
    default:
        SetActionState(ACTIONSTATE_NONE);
        break;
    }
}
CATCH_FRAME(Identifier)

// ---- TAdvancedGraphicsOptionsDialog ----

TAdvancedGraphicsOptionsDialog::TAdvancedGraphicsOptionsDialog(TOpenURLFunction OpenURL,
                                                               TComponent* MainWindow) try
    : OpenURL(OpenURL), MainWindow(MainWindow) {
    TComponent::setSize(200, 213);
    PlaceLabel(this, MessageTexts[TEXT_SELECT_ENGINE], 0, 0);
    for (int32_t i = 0; i < 3; i++) {
        const TEngineButton& B = EngineButtonList[i];
        EngineButtons[i] = new TTextButton(B.x, 15, B.Caption, 16, 17, MainWindow, B.Identifier, B.ToolTip);
        addChild(EngineButtons[i]);
        EngineButtons[i]->setRadioButtonGroup(&EngineGroup);
    }
    LightEffects = PlaceCheckBox(this, "Show Light Effects", 0, 51, 0, GetLightEffects());
    if (!GetSurface()->SupportsLightEffects()) LightEffects->setEnabled(false);
    NoStretching = PlaceCheckBox(this, "Don't stretch/shrink the Map", 0, 86, 0, GetNoStretching());
    WindowsMousepointer = PlaceCheckBox(this, "Windows Mouse Pointer", 0, 121, 0, GetWindowsMousepointer());
    Framerate = new THorizontalScrollBox(10, NO_FRAMERATE_LIMIT, 10, 11, 1, this, FRAMERATE_MOVED);
    addChild(Framerate);
    placeChild(Framerate, 0, 181, 0, 12);
    const int32_t Stored = GetConfineFramerate();
    Framerate->Bar->setValue(Stored < 10 ? NO_FRAMERATE_LIMIT : Stored);

    const uint8_t Capabilities = GetEngineCapabilities();
    if (GetVideoMode() == FULLSCREEN_MODE) {
        for (TTextButton* Button : EngineButtons)
            Button->setEnabled(false);
    } else {
        EngineButtons[1]->setEnabled((Capabilities & CAN_DIRECT3D9) != 0);
        EngineButtons[2]->setEnabled((Capabilities & CAN_OPENGL) != 0);
    }
    selectRunningEngine();
}
CATCH_FRAME()

void TAdvancedGraphicsOptionsDialog::selectRunningEngine() {
    const int32_t Running = GetGraphicEngine();
    for (int32_t i = 0; i < 3; i++)
        if (EngineButtonList[i].Engine == Running) EngineGroup.Selected = EngineButtons[i];
}

int32_t TAdvancedGraphicsOptionsDialog::getFramerate() const { return Framerate->Bar->_Value; }

void TAdvancedGraphicsOptionsDialog::draw(int32_t Surface, int32_t X, int32_t Y) try {
    TParentComponent::draw(Surface, X, Y);
    const TTextFormat& Style = TextStyle();
    char Text[64];
    const int32_t V = getFramerate();
    if (V < NO_FRAMERATE_LIMIT)
        snprintf(Text, sizeof(Text), "Adjust framerate limit: %d", V);
    else
        snprintf(Text, sizeof(Text), "Adjust framerate limit: max");
    PrintText(Surface, X, Y + 166, Style.Font, Style.Red, Style.Green, Style.Blue, Text, LEFT_ALIGN);
    snprintf(Text, sizeof(Text), "Current framerate: %2.2f", GetSurface()->GetFramesPerSecond());
    PrintText(Surface, X, Y + 199, Style.Font, Style.Red, Style.Green, Style.Blue, Text, LEFT_ALIGN);
    selectRunningEngine();
}
CATCH_FRAME(X, Y)

void TAdvancedGraphicsOptionsDialog::handleEvent(int32_t Identifier) try {
    switch (Identifier) {
    case FRAMERATE_MOVED:
        GetSurface()->SetFrameRate(getFramerate());
        break;
    case DIALOG_CANCEL:
        GetSurface()->SetFrameRate(GetConfineFramerate());
        SetActionState(ACTIONSTATE_NONE);
        break;
    case DIALOG_OK: {
        const bool TurnsOn = !GetNoStretching() && NoStretching->isChecked();
        SetNoStretching(NoStretching->isChecked());
        SetWindowsMousepointer(WindowsMousepointer->isChecked());
        SetLightEffects(LightEffects->isChecked());
        SetConfineFramerate(getFramerate());
        GetSurface()->SetFrameRate(GetConfineFramerate());
        if (TurnsOn && MainWindow != nullptr) MainWindow->handleEvent(RELAYOUT);
        SetActionState(ACTIONSTATE_NONE);
        break;
    }
    case DIALOG_HELP:
        OpenSitePage(OpenURL, TEXT_URL_ADVANCED_GRAPHICS_OPTIONS);
        break;
    default:
        SetActionState(ACTIONSTATE_NONE);
        break;
    }
}
CATCH_FRAME(Identifier)

// ---- Factories ----

TModalDialog* CreateGraphicsOptionsDialog(TOpenURLFunction OpenURL, TSetViewModeFunction SetViewMode,
                                          TComponent* MainWindow) {
    return FrameBody("Graphics Options", new TGraphicsOptionsDialog(OpenURL, SetViewMode, MainWindow), "Ok",
                     DIALOG_OK, CANCEL_FRAME, true);
}

TModalDialog* CreateAdvancedGraphicsOptionsDialog(TOpenURLFunction OpenURL, TComponent* MainWindow) {
    return FrameBody("Advanced Graphics Options", new TAdvancedGraphicsOptionsDialog(OpenURL, MainWindow),
                     "Ok", DIALOG_OK, CANCEL_BODY, true);
}
