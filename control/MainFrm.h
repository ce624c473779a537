// The frame window: turns the window's messages into calls of the controller, keeps the modifier keys and
// the mouse buttons' capture, switches between windowed and full-screen display and lends the program its
// quit, start-patcher, view-mode and web-page callbacks.
#pragma once

#include "platform/AppWindow.h"
#include "platform/EventPump.h"

#include <cstdint>
#include <memory>

// The key code of a key message: a function key, a cursor key or a modifier; 0 for keys that arrive as
// characters or not at all. Enter counts only while Alt is held (ModifierKeys).
int32_t TranslateKey(int32_t VirtualKey, int32_t RepeatCount, uint32_t Flags, uint32_t ModifierKeys);

// The frame window's side that the network layer sends its window messages to.
class CFrameMessageTarget : public TWindowMessageTarget {
public:
    // Messages the network layer sends: the host-name look-up's answer.
    void onWindowMessage(uint32_t Message, uintptr_t WParam, uintptr_t LParam) override;
    // The answer of the asynchronous host-name look-up (WM_HOSTNAME_RESOLVED): WParam the look-up's handle,
    // the error in the high 16 bits of LParam. Continues the login with the looked-up address, or with the
    // next login server on an error; an answer outside the look-up state ends the attempt with
    // "Connection failed".
    void OnHostResolved(uintptr_t WParam, uintptr_t LParam);
};

class CMainFrame : public CFrameMessageTarget, public TFrameMessages {
public:
    // Starts every module; a failure is thrown on (a PROGRAM_ERROR unchanged).
    explicit CMainFrame(bool Gamemaster);
    // Stops every module.
    ~CMainFrame() override;

    // Makes the window and runs the creation: main window, controller hooks, placement, the 100 ms timer.
    // False when the window system refuses the window.
    bool create();
    TAppWindow* getAppWindow() const { return AppWindow.get(); }

    void onActivateApp(bool Active) override;
    void onSetCursor() override;
    void onKeyDown(int32_t VirtualKey, int32_t RepeatCount, uint32_t Flags) override;
    void onKeyUp(int32_t VirtualKey, int32_t RepeatCount, uint32_t Flags) override;
    void onChar(uint32_t Character) override;
    void onSize(int32_t Type, int32_t Width, int32_t Height) override;
    void onLButtonDown(int32_t x, int32_t y) override;
    void onLButtonDblClk(int32_t x, int32_t y) override;
    void onLButtonUp(int32_t x, int32_t y) override;
    void onRButtonDown(int32_t x, int32_t y) override;
    void onRButtonDblClk(int32_t x, int32_t y) override;
    void onRButtonUp(int32_t x, int32_t y) override;
    void onCaptureChanged() override;
    void onMouseWheel(int32_t Delta) override;
    void onTimer(int32_t Identifier) override;
    void onClose() override;
    void onDisplayChange(int32_t Width, int32_t Height) override;
    void onDestroy() override;

    // The window is closed: the message loop ends after this pass.
    void destroyWindow();
    void setViewMode(int32_t Mode);
    void centerMainWindow();
    // The window's icon, made from the crest picture of the picture file.
    void setIcon();

    uint32_t ModifierKeys = 0; // 0x200 Shift, 0x400 Ctrl, 0x800 Alt while held

private:
    void buttonDown(bool Left, void (*Handler)(int32_t, int32_t, uint32_t), int32_t x, int32_t y);
    void buttonUp(bool Left, int32_t x, int32_t y);
    void placeAtCreation();
    void makeCursors();

    std::unique_ptr<TAppWindow> AppWindow;
    TWindowPlacement Placement; // taken when leaving windowed mode
};

// Module state of the frame window, for the run.
CMainFrame* GetMainFrame();
// The next close request closes without asking.
void SetForceClose(bool Force);
int32_t GetWheelRemainder();

// The callbacks lent to the rest of the program.
void QuitProgram();
void StartPatcher();
void SetViewMode(int32_t Mode);
void OpenURL(const char* Url);
// Sets the window's cursor by GetMouseCursor, or hides it when the program draws its own pointer.
void UpdateCursor();

// The application's start-patcher flag, which StartPatcher sets.
void SetStartPatcherFlag(bool Flag);
bool GetStartPatcherFlag();
