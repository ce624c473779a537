// The push-button family: skinned buttons that fire a notification when released over them, with colour,
// icon, blinking, caption, toggle and multi-state variants, and radio groups of buttons.
#pragma once

#include "foundation/Container.h"
#include "gui/GUI.h"

#include <cstdint>
#include <vector>

class TButton;

// Buttons of which one shows as held down. The group does not own its buttons; it must outlive them.
struct TRadioButtonGroup {
    TButton* Selected = nullptr; // the owner may set it directly
    TDynamicArray<TButton*> Members{0, 0, 4, nullptr};
    int32_t Count = 0;
};

// A skinned push button, sized to its up skin. Pressing captures the mouse; releasing over the button
// fires the binding, releasing elsewhere fires nothing. ToolTip is not copied.
class TButton : public TLeafComponent {
public:
    // Repeat: the binding fires again on every held-button tick while pressed over the button.
    TButton(int32_t x, int32_t y, int32_t SkinUp, int32_t SkinDown, TComponent* Target, int32_t Identifier,
            const char* ToolTip, bool Repeat);

    bool mouseMove(int32_t X, int32_t Y) override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    bool mouseScroll(int32_t X, int32_t Y, uint32_t Kind) override;
    void getToolTip(int32_t X, int32_t Y) override;
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    void releaseCapture(TComponent* Component) override; // ends the press first
    void cancelCapture() override;                       // ends the press
    // Shown held down: its group's selected member, or pressed with the pointer over it.
    virtual bool isPressed() const;

    void setSkins(int32_t _ButtonUp, int32_t _ButtonDown);
    void setEnabled(bool Flag) { Enabled = Flag; }
    bool isEnabled() const { return Enabled; }
    // Joins Group once ("RadioButtonGroup==NULL").
    void setRadioButtonGroup(TRadioButtonGroup* Group);

    int32_t _ButtonUp;
    int32_t _ButtonDown;
    bool Pressed = false; // the left button went down here and is not yet released
    bool Inside = false;  // the pointer is over the button
    bool Repeat;
    TNotification Notification;
    TRadioButtonGroup* RadioButtonGroup = nullptr;
    const char* ToolTip;
    bool Enabled = true; // a disabled button ignores presses

protected:
    // A release over the button: updates the variant's state and answers the binding to fire. The binding
    // fires after this returns, as the last thing the button does: its target may end the button.
    virtual TNotification click();
    bool hits(int32_t X, int32_t Y) const { return X >= 0 && X < Width && Y >= 0 && Y < Height; }
};

// Fills its rectangle with a colour, then draws the face over it.
class TColorButton : public TButton {
public:
    TColorButton(int32_t x, int32_t y, int32_t Red, int32_t Green, int32_t Blue, int32_t SkinUp,
                 int32_t SkinDown, TComponent* Target, int32_t Identifier, const char* ToolTip);
    void draw(int32_t Surface, int32_t X, int32_t Y) override;

    int32_t Red, Green, Blue;
};

// Draws an icon skin at its own size on the face.
class TIconButton : public TButton {
public:
    TIconButton(int32_t x, int32_t y, int32_t Icon, int32_t SkinUp, int32_t SkinDown, TComponent* Target,
                int32_t Identifier, const char* ToolTip);
    void draw(int32_t Surface, int32_t X, int32_t Y) override;

    int32_t Icon;
};

// Swaps between two pairs of faces every blink interval; the swap happens when the button is drawn.
class TBlinkingButton : public TButton {
public:
    TBlinkingButton(int32_t x, int32_t y, int32_t FirstSkinUp, int32_t FirstSkinDown, int32_t SecondSkinUp,
                    int32_t SecondSkinDown, TComponent* Target, int32_t Identifier, const char* ToolTip);
    void draw(int32_t Surface, int32_t X, int32_t Y) override;

    int32_t NextSwap; // millisecond clock of the next swap
    int32_t Phase = 2;
    int32_t FirstSkinUp, FirstSkinDown, SecondSkinUp, SecondSkinDown;
};

// A button with a caption of fewer than 50 characters, centred on the face.
// Faces of buttons in the skin table, each pressed face the skin after it.
enum BUTTON_SKIN : int32_t {
    SKIN_TEXT_BUTTON = 12,   // 43 x 20
    SKIN_MIDDLE_BUTTON = 16, // 58 x 20
    SKIN_WIDE_BUTTON = 18,   // 86 x 20
    SKIN_ICON_BUTTON = 24,   // 16 x 16, under an icon
};

class TTextButton : public TButton {
public:
    TTextButton(int32_t x, int32_t y, const char* _Text, int32_t SkinUp, int32_t SkinDown, TComponent* Target,
                int32_t Identifier, const char* ToolTip);
    // The standard face, SKIN_TEXT_BUTTON.
    TTextButton(int32_t x, int32_t y, const char* _Text, TComponent* Target, int32_t Identifier,
                const char* ToolTip);
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    // A longer caption is cut to 49 characters.
    virtual void setText(const char* _Text);

    char _Text[50];
};

// An on/off state flipped by every click before the binding fires; shown pressed while on, with a tool tip
// for each state. Base is TButton or TTextButton.
template <typename Base> class TToggling : public Base {
public:
    template <typename... Arguments>
    explicit TToggling(const char* ToolTipOff, const char* ToolTipOn, bool State, Arguments... BaseArguments)
        : Base(BaseArguments...), State(State), ToolTipOff(ToolTipOff), ToolTipOn(ToolTipOn) {}

    bool isPressed() const override { return Base::isPressed() || State; }
    void getToolTip(int32_t X, int32_t Y) override;

    bool State;
    const char* ToolTipOff;
    const char* ToolTipOn;

protected:
    TNotification click() override {
        State = !State;
        return Base::click();
    }
};

class TToggleButton : public TToggling<TButton> {
public:
    TToggleButton(int32_t x, int32_t y, int32_t SkinUp, int32_t SkinDown, TComponent* Target,
                  int32_t Identifier, const char* ToolTipOff, const char* ToolTipOn, bool State);
};

class TTextToggleButton : public TToggling<TTextButton> {
public:
    TTextToggleButton(int32_t x, int32_t y, const char* _Text, int32_t SkinUp, int32_t SkinDown,
                      TComponent* Target, int32_t Identifier, const char* ToolTipOff, const char* ToolTipOn,
                      bool State);
};

// One state of a multi-state button: its faces and what a click in it fires.
struct TButtonState {
    int32_t SkinUp;
    int32_t SkinDown;
    TNotification Notification;
};

// Cycles through Count states: a click fires the current state's binding and moves to the next state,
// whose faces it then shows.
class TMultiStateButton : public TButton {
public:
    TMultiStateButton(int32_t x, int32_t y, const char* ToolTip, int32_t Count, const TButtonState* States);
    // Back to state 0 without firing.
    void resetState();
    int32_t getState() const { return Current; }

    int32_t Current = 0;
    int32_t Count;
    std::vector<TButtonState> States;

protected:
    TNotification click() override;
};
