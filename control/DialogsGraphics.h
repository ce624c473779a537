// The graphics option pages: windowed or full screen with the engine's display modes, and the advanced page
// with the engine choice, light, map stretching, the platform pointer and the frame-rate limit; their
// factories.
#pragma once

#include "control/DialogsFrame.h"
#include "gui/DialogElements.h"
#include "state/Preferences.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class THorizontalScrollBox;
class TListBox;

using TSetViewModeFunction = void (*)(int32_t Mode); // 1 windowed, 2 full screen

// The text of one display-mode line: "800*600, 16 Bits" or "800*600, 16 Bits, 60 Hz".
void FormatDisplayMode(char* Buffer, size_t Size, const TDisplayMode& Mode);

class TGraphicsOptionsDialog : public TParentComponent {
public:
    TGraphicsOptionsDialog(TOpenURLFunction OpenURL, TSetViewModeFunction SetViewMode,
                           TComponent* MainWindow);
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override; // 1 applies, 407 advanced, 701 help, others end

    TOpenURLFunction OpenURL;
    TSetViewModeFunction SetViewMode;
    TComponent* MainWindow; // only handed on to the advanced page
    TCheckBox* Fullscreen;
    TListBox* Resolutions;
    std::unique_ptr<TDisplayMode[]> DisplayModes; // line i shows DisplayModes[i]
    int32_t NumberOfDisplayModes = 0;
};

class TAdvancedGraphicsOptionsDialog : public TParentComponent {
public:
    TAdvancedGraphicsOptionsDialog(TOpenURLFunction OpenURL, TComponent* MainWindow);
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    void handleEvent(int32_t Identifier) override; // 1 stores, 2 undoes the preview, 30 previews, 701 help

    // Shows the engine that really runs (0 DirectDraw, 1 OpenGL, 2 Direct3D 9) as the pressed button.
    void selectRunningEngine();
    int32_t getFramerate() const;

    TOpenURLFunction OpenURL;
    TComponent* MainWindow; // receives the engine buttons' 800 to 802 and 9
    TRadioButtonGroup EngineGroup;
    TTextButton* EngineButtons[3]; // DirectX5, DirectX9, OpenGL
    TCheckBox* LightEffects;
    TCheckBox* NoStretching;
    TCheckBox* WindowsMousepointer;
    THorizontalScrollBox* Framerate; // 10 to 200, 201 no limit
};

TModalDialog* CreateGraphicsOptionsDialog(TOpenURLFunction OpenURL, TSetViewModeFunction SetViewMode,
                                          TComponent* MainWindow);
TModalDialog* CreateAdvancedGraphicsOptionsDialog(TOpenURLFunction OpenURL, TComponent* MainWindow);
