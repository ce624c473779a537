// The option dialogs (options, general, graphics, advanced graphics, console, network, hotkeys), the ignore
// and white lists, the automap mark editor and the gamemaster's rule violation report.
#pragma once

#include "screen/ContextMenus.h"

#include "control/Dialogs.h"
#include "gui/DialogElements.h"
#include "gui/DialogElementsControls.h"
#include "gui/DialogElementsList.h"
#include "screen/ContextMenus.h"
#include "state/MapAutomap.h"
#include "state/Preferences.h"

#include <cstdint>
#include <memory>

class THorizontalScrollBox;
class TTalkLine;

using TSetViewModeFunction = void (*)(int32_t Mode); // 1 windowed, 2 full screen

// Opens Path (with its query) on the game's web site; nothing without a function.
void OpenSitePage(TOpenURLFunction OpenURL, const char* Path);

// Helpers of the bodies: a label in the dialog text style, a check box; a width of 0 reaches the right edge.
TTextLabel* PlaceLabel(TParentComponent* Body, const char* Text, int32_t x, int32_t y, int32_t Height = 14);
TCheckBox* PlaceCheckBox(TParentComponent* Body, const char* Caption, int32_t x, int32_t y, int32_t Width,
                         bool Checked);
// The failed check "unknown event" of a body's handler.
[[noreturn]] void UnknownEvent(int32_t Event);

class TOptionsDialog : public TParentComponent {
public:
    TOptionsDialog();
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override; // a row queues its page and 33; 1 and 2 save and end
};

class TGeneralOptionsDialog : public TParentComponent {
public:
    explicit TGeneralOptionsDialog(TOpenURLFunction OpenURL);
    void handleEvent(int32_t Identifier) override; // 1 stores, 2 ends, 701 help

    TOpenURLFunction OpenURL;
    TCheckBox* ClassicControl;
    TCheckBox* AutoChaseOff;
    TCheckBox* ShowHints;
    TCheckBox* CreatureNames;
    TCheckBox* TextualEffects;
};

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

class TConsoleOptionsDialog : public TParentComponent {
public:
    explicit TConsoleOptionsDialog(TOpenURLFunction OpenURL);
    void handleEvent(int32_t Identifier) override; // 1 stores, 701 help, others end

    TOpenURLFunction OpenURL;
    TCheckBox* Boxes[5]; // info, event, status messages, time stamps, private messages
};

class TNetworkOptionsDialog : public TParentComponent {
public:
    explicit TNetworkOptionsDialog(TOpenURLFunction OpenURL);
    void handleEvent(int32_t Identifier) override; // 1 stores, 701 help, others end

    TOpenURLFunction OpenURL;
    TCheckBox* TestServer;
};

class THotkeyOptionsDialog : public TParentComponent {
public:
    explicit THotkeyOptionsDialog(TOpenURLFunction OpenURL);
    void keyPressed(int32_t Key) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    void handleEvent(int32_t Identifier) override; // 1 stores all, 2 drops, 11 selects

    // Writes list line Number from the working copy ("In(Number,0,HOTKEYS-1)").
    void formatLine(int32_t Number);

    char HotkeyText[HOTKEYS][HOTKEY_LENGTH] = {};
    bool HotkeyAutoSend[HOTKEYS] = {};
    int32_t SelectedHotkey = -1;
    TTextList* List;
    TEditField* EditField;
    TCheckBox* AutoSend;
    TOpenURLFunction OpenURL; // kept, not used

private:
    void storeAutoSend();
    void showAutoSend(bool Checked);
};

// One name of the ignore or the white list, as the dialog keeps it.
struct TListEntry {
    char Name[30];
    uint8_t Permanent;
};

class TIgnoreListDialog : public TParentComponent {
public:
    TIgnoreListDialog();
    void keyPressed(int32_t Key) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    void
    handleEvent(int32_t Identifier) override; // 602 stores, 11 selects, 709/710 and 712/713 add and delete

    // One half of the dialog.
    struct TSide {
        TDynamicArray<TListEntry> Entries{0, 9, 10, TListEntry{}};
        TTextList* List = nullptr;
        TCheckBox* Permanent = nullptr;
        TCheckBox* Active = nullptr;
    };
    TSide Ignore, White;
    TCheckBox* IgnoreYelling;
    TCheckBox* IgnorePrivate;
    TCheckBox* AllowVIPs;

private:
    void fill(TSide& Side, std::unique_ptr<char[]> Names, bool (*Flag)(const char*));
    void takeSelected(TSide& Side); // the selected line into its entry, with the side's permanent box
    void add(TSide& Side, TSide& Other);
    void remove(TSide& Side);
    void store(TSide& Side, void (*Add)(const char*, bool));
};

class TMarkEditDialog : public TParentComponent {
public:
    // Takes over both heap blocks (NewMessageBlock); Mark NULL for a new mark. "_Coordinate != NULL".
    TMarkEditDialog(TCoordinate* _Coordinate, TMapMark* _Mark);
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override; // 1 stores the mark, 2 ends

    TCoordinate Coordinate;
    TMapMark Mark;
    TEditField* Description;
    TRadioButtonGroup TypeGroup;
    TIconButton* TypeButtons[14];
};

// The chat line that event 28 carries is the chat-line menu's TReportedStatement (screen/ContextMenus.h).

class TGamemasterRuleViolationDialog : public TParentComponent {
public:
    TGamemasterRuleViolationDialog(const char* Name, const TReportedStatement* Statement);
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override; // 1 reports, 2 ends, 21 a reason was chosen

    int32_t getSelectedReason();
    int32_t getSelectedAction();
    void updateActions();

    int32_t ReasonIDs[50];
    uint32_t StatementID = 0;
    TFocusGroup FocusGroup;
    TEditField* NameField;
    TEditField* StatementField;
    TEditField* CommentField;
    TListBox* Reasons;
    TListBox* Actions;
    TCheckBox* IPBanishment;
};

// Sets the window factories of the dialogs above.
void RegisterOptionDialogs();
