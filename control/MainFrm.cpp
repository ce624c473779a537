// The frame window: window messages to controller calls, capture, wheel, size, placement, view mode and the
// callbacks lent to the program.
#include "control/MainFrm.h"

#include "control/Control.h"
#include "foundation/Exception.h"
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "network/Network.h"
#include "platform/App.h"
#include "platform/Window.h"
#include "screen/MainWindow.h"
#include "state/Preferences.h"
#include "state/Status.h"

#include <vector>

namespace {

constexpr int32_t MINIMUM_WIDTH = 550, MINIMUM_HEIGHT = 450;
constexpr int32_t CENTERED_WIDTH = 600, CENTERED_HEIGHT = 450;

// Module state of the frame window, for the run.
struct {
    CMainFrame* Frame = nullptr;
    bool ForceClose = false;
    bool LeftCaptured = false, RightCaptured = false; // the button's up message is still owed
    int32_t WheelRemainder = 0;
    bool StartPatcher = false;
} Frame;

// The window's icon: the realm's crest.
constexpr int32_t ICON_PICTURE = 2;

// A rectangle of a picture as an image for the window system (0xAARRGGBB): the key colour becomes
// transparent.
std::vector<uint32_t> PicturePixels(int32_t Number, int32_t Left, int32_t Top, int32_t Width,
                                    int32_t Height) {
    const TPictureEntry& Picture = GetPictureEntry(Number);
    std::vector<uint32_t> Pixels(static_cast<size_t>(Width) * Height);
    for (int32_t y = 0; y < Height; y++)
        for (int32_t x = 0; x < Width; x++) {
            const int32_t px = Left + x, py = Top + y;
            const TMemoryCacheItem* Tile = GetMemoryPictureTile(Number, px / TILE_SIZE, py / TILE_SIZE);
            const uint8_t* p = Tile->Data + ((py % TILE_SIZE) * TILE_SIZE + px % TILE_SIZE) * 3;
            const bool Key = p[0] == Picture.KeyRed && p[1] == Picture.KeyGreen && p[2] == Picture.KeyBlue;
            Pixels[static_cast<size_t>(y) * Width + x] =
                Key ? 0 : 0xFF000000u | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
        }
    return Pixels;
}

} // namespace

int32_t TranslateKey(int32_t VirtualKey, int32_t, uint32_t Flags, uint32_t ModifierKeys) {
    const bool Extended = (Flags & KF_EXTENDED) != 0;
    if (VirtualKey >= VK_F1 && VirtualKey <= VK_F12) return KEY_F1 + (VirtualKey - VK_F1);
    switch (VirtualKey) {
    case VK_SHIFT:
        return KEY_SHIFT;
    case VK_CONTROL:
        return KEY_CTRL;
    case VK_MENU:
        return KEY_ALT;
    case VK_UP:
        return KEY_UP;
    case VK_DOWN:
        return KEY_DOWN;
    case VK_LEFT:
        return KEY_LEFT;
    case VK_RIGHT:
        return KEY_RIGHT;
    case VK_INSERT:
        return KEY_INSERT;
    case VK_DELETE:
        return KEY_DELETE;
    case VK_HOME:
        return Extended ? KEY_HOME : KEY_PAD_HOME;
    case VK_END:
        return Extended ? KEY_END : KEY_PAD_END;
    case VK_PRIOR:
        return Extended ? KEY_PAGE_UP : KEY_PAD_PAGE_UP;
    case VK_NEXT:
        return Extended ? KEY_PAGE_DOWN : KEY_PAD_PAGE_DOWN;
    case VK_RETURN:
        return (ModifierKeys & KEY_ALT) != 0 ? KEY_ENTER : 0;
    default:
        return 0;
    }
}

// ---- Construction and creation ----

CMainFrame::CMainFrame(bool Gamemaster) try {
    Frame.Frame = this;
    ModifierKeys = 0;
    SetWindowedMode(-1, -1, 0, 0, false);
    InitModules(Gamemaster);
    SetVideoMode(WINDOWED_MODE);
}
CATCH_FRAME()

CMainFrame::~CMainFrame() {
    ExitModules();
    if (Frame.Frame == this) Frame.Frame = nullptr;
}

bool CMainFrame::create() try {
    AppWindow = TAppWindow::create("Pellarune", CENTERED_WIDTH, CENTERED_HEIGHT, this);
    if (!AppWindow) return false;
    AppWindow->setMinimumClientSize(MINIMUM_WIDTH, MINIMUM_HEIGHT);
    int32_t Width = 0, Height = 0;
    AppWindow->getClientSize(Width, Height);
    InitMainWindow(Width, Height, QuitProgram, ::SetViewMode, OpenURL);
    InitControl(AppWindow.get(), this);
    makeCursors();
    placeAtCreation();
    AppWindow->setTimer(1, 100);
    return true;
}
CATCH_FRAME()

void CMainFrame::makeCursors() {
    // The program's own cross hair (use-with, trade-with, dragging) and help pointer.
    const struct {
        TCursorShape Shape;
        int32_t Skin;
    } Made[] = {{CURSOR_CUSTOM1, 4}, {CURSOR_CUSTOM2, 6}};
    for (const auto& Cursor : Made) {
        const TSkin& Rect = GetSkin(Cursor.Skin);
        const TSkinPoint& Hot = SkinProperties.Frame.PointerHotSpots[Cursor.Skin - 1];
        std::vector<uint32_t> Pixels = PicturePixels(SKIN_PICTURE, Rect.x, Rect.y, Rect.Width, Rect.Height);
        AppWindow->createCustomCursor(Cursor.Shape, Pixels.data(), Rect.Width, Rect.Height, Hot.x, Hot.y);
    }
}

void CMainFrame::setIcon() {
    if (!AppWindow) return;
    const TPictureEntry& Crest = GetPictureEntry(ICON_PICTURE);
    const int32_t Width = Crest.TilesX * TILE_SIZE, Height = Crest.TilesY * TILE_SIZE;
    std::vector<uint32_t> Pixels = PicturePixels(ICON_PICTURE, 0, 0, Width, Height);
    AppWindow->setIcon(Pixels.data(), Width, Height);
}

void CMainFrame::placeAtCreation() {
    int32_t x = 0, y = 0, Width = 0, Height = 0, ScreenWidth = 0, ScreenHeight = 0;
    bool Maximized = false;
    GetWindowedMode(x, y, Width, Height, Maximized);
    if (GetScreenSize(ScreenWidth, ScreenHeight) && x >= 0 && y >= 0 && x + Width <= ScreenWidth &&
        y + Height <= ScreenHeight)
        AppWindow->moveWindow(x, y, Width, Height);
    else
        centerMainWindow();
}

void CMainFrame::centerMainWindow() {
    int32_t FrameWidth = 0, FrameHeight = 0, Left = 0, Top = 0, ScreenWidth = 0, ScreenHeight = 0;
    AppWindow->getFrameSize(FrameWidth, FrameHeight, Left, Top);
    const int32_t Width = CENTERED_WIDTH + FrameWidth, Height = CENTERED_HEIGHT + FrameHeight;
    if (!GetScreenSize(ScreenWidth, ScreenHeight)) {
        ScreenWidth = Width;
        ScreenHeight = Height;
    }
    const int32_t x = (ScreenWidth - Width) / 2, y = (ScreenHeight - Height) / 2;
    SetWindowedMode(x, y, Width, Height, false);
    AppWindow->moveWindow(x, y, Width, Height);
}

// ---- Messages ----

void CFrameMessageTarget::onWindowMessage(uint32_t Message, uintptr_t WParam, uintptr_t LParam) {
    if (Message == WM_HOSTNAME_RESOLVED) OnHostResolved(WParam, LParam);
}

void CFrameMessageTarget::OnHostResolved(uintptr_t WParam, uintptr_t LParam) try {
    ReceiveHostnameAnswer(WParam, LParam);
}
CATCH_FRAME()

void CMainFrame::onActivateApp(bool) try {
    ModifierKeys = 0;
    if (GetVideoMode() == FULLSCREEN_MODE) setViewMode(WINDOWED_MODE);
}
CATCH_FRAME()

void CMainFrame::onSetCursor() try { UpdateCursor(); }
CATCH_FRAME()

void CMainFrame::onKeyDown(int32_t VirtualKey, int32_t RepeatCount, uint32_t Flags) try {
    const int32_t Code = TranslateKey(VirtualKey, RepeatCount, Flags, ModifierKeys);
    if (Code == KEY_SHIFT || Code == KEY_CTRL || Code == KEY_ALT) ModifierKeys |= static_cast<uint32_t>(Code);
    if (Code == KEY_F1 + 3 && (ModifierKeys & KEY_ALT) != 0) { // Alt+F4
        onClose();
        return;
    }
    if (Code == 0) return;
    KeyPressed(static_cast<int32_t>(ModifierKeys | static_cast<uint32_t>(Code)));
}
CATCH_FRAME(VirtualKey)

void CMainFrame::onKeyUp(int32_t VirtualKey, int32_t RepeatCount, uint32_t Flags) {
    const int32_t Code = TranslateKey(VirtualKey, RepeatCount, Flags, ModifierKeys);
    if (Code == KEY_SHIFT || Code == KEY_CTRL || Code == KEY_ALT)
        ModifierKeys &= ~static_cast<uint32_t>(Code);
}

void CMainFrame::onChar(uint32_t Character) try {
    if ((ModifierKeys & KEY_CTRL) != 0 && (ModifierKeys & KEY_ALT) == 0) {
        if (Character >= 1 && Character <= 26)
            KeyPressed(static_cast<int32_t>(ModifierKeys | (Character + 96)));
        return;
    }
    if (Character < 256) KeyPressed(static_cast<int32_t>(ModifierKeys | Character));
}
CATCH_FRAME(Character)

void CMainFrame::onSize(int32_t Type, int32_t Width, int32_t Height) try {
    if (Type == SIZE_MINIMIZED) return;
    if (Width < MINIMUM_WIDTH || Height < MINIMUM_HEIGHT) {
        Width = std::max(Width, MINIMUM_WIDTH);
        Height = std::max(Height, MINIMUM_HEIGHT);
        ResizeScreen(Width, Height);
        if (AppWindow) {
            const TWindowPlacement Now = AppWindow->getPlacement();
            int32_t FrameWidth = 0, FrameHeight = 0, Left = 0, Top = 0;
            AppWindow->getFrameSize(FrameWidth, FrameHeight, Left, Top);
            AppWindow->moveWindow(Now.x, Now.y, Width + FrameWidth, Height + FrameHeight);
        }
        return;
    }
    ResizeScreen(Width, Height);
}
CATCH_FRAME(Width, Height)

void CMainFrame::buttonDown(bool Left, void (*Handler)(int32_t, int32_t, uint32_t), int32_t x, int32_t y) {
    Handler(x, y, ModifierKeys);
    bool& Mine = Left ? Frame.LeftCaptured : Frame.RightCaptured;
    const bool Other = Left ? Frame.RightCaptured : Frame.LeftCaptured;
    Mine = true;
    if (!Other && AppWindow) AppWindow->setCapture();
}

void CMainFrame::buttonUp(bool Left, int32_t x, int32_t y) {
    bool& Mine = Left ? Frame.LeftCaptured : Frame.RightCaptured;
    if (!Mine) return;
    (Left ? LeftButtonUp : RightButtonUp)(x, y, ModifierKeys);
    Mine = false;
    const bool Other = Left ? Frame.RightCaptured : Frame.LeftCaptured;
    if (!Other && AppWindow) AppWindow->releaseCapture();
}

void CMainFrame::onLButtonDown(int32_t x, int32_t y) try { buttonDown(true, LeftButtonDown, x, y); }
CATCH_FRAME(x, y)

void CMainFrame::onLButtonDblClk(int32_t x, int32_t y) try { buttonDown(true, LeftButtonDoubleClick, x, y); }
CATCH_FRAME(x, y)

void CMainFrame::onLButtonUp(int32_t x, int32_t y) try { buttonUp(true, x, y); }
CATCH_FRAME(x, y)

void CMainFrame::onRButtonDown(int32_t x, int32_t y) try { buttonDown(false, RightButtonDown, x, y); }
CATCH_FRAME(x, y)

void CMainFrame::onRButtonDblClk(int32_t x, int32_t y) try { buttonDown(false, RightButtonDown, x, y); }
CATCH_FRAME(x, y)

void CMainFrame::onRButtonUp(int32_t x, int32_t y) try { buttonUp(false, x, y); }
CATCH_FRAME(x, y)

void CMainFrame::onCaptureChanged() try {
    int32_t x = 0, y = 0;
    if (AppWindow) AppWindow->getCursorPosition(x, y);
    if (Frame.LeftCaptured) {
        Frame.LeftCaptured = false;
        LeftButtonUp(x, y, ModifierKeys);
    }
    if (Frame.RightCaptured) {
        Frame.RightCaptured = false;
        RightButtonUp(x, y, ModifierKeys);
    }
}
CATCH_FRAME()

void CMainFrame::onMouseWheel(int32_t Delta) try {
    const int32_t Total = Frame.WheelRemainder + static_cast<int16_t>(Delta);
    const int32_t Steps = Total / WHEEL_DELTA;
    Frame.WheelRemainder = Total - Steps * WHEEL_DELTA;
    const int32_t Direction = Total > 0 ? 1 : 2;
    for (int32_t i = 0; i < (Steps < 0 ? -Steps : Steps); i++)
        MouseWheel(GetMouseX(), GetMouseY(), Direction);
}
CATCH_FRAME(Delta)

void CMainFrame::onTimer(int32_t) try { TimerTick(); }
CATCH_FRAME()

void CMainFrame::onClose() try {
    if (Frame.ForceClose || CanCloseWindow()) destroyWindow();
}
CATCH_FRAME()

void CMainFrame::destroyWindow() {
    if (GetVideoMode() == FULLSCREEN_MODE) setViewMode(WINDOWED_MODE);
    if (AppWindow) AppWindow->destroy();
    PostQuitMessage(0);
}

void CMainFrame::onDisplayChange(int32_t Width, int32_t Height) try {
    if (GetVideoMode() != WINDOWED_MODE) return;
    int32_t ClientWidth = 0, ClientHeight = 0;
    if (AppWindow) AppWindow->getClientSize(ClientWidth, ClientHeight);
    if (ClientWidth > Width || ClientHeight > Height) centerMainWindow();
    SetDisplayChanged(true);
}
CATCH_FRAME()

void CMainFrame::onDestroy() try {
    if (!AppWindow) return;
    if (GetVideoMode() == WINDOWED_MODE) Placement = AppWindow->getPlacement();
    SetWindowedMode(Placement.x, Placement.y, Placement.Width, Placement.Height, AppWindow->isMaximized());
    AppWindow->killTimer(1);
}
CATCH_FRAME()

// ---- View mode ----

void CMainFrame::setViewMode(int32_t Mode) {
    if (AppWindow && GetVideoMode() == WINDOWED_MODE) Placement = AppWindow->getPlacement();
    SetVideoMode(Mode);
    if (!AppWindow) return;
    if (Mode == FULLSCREEN_MODE) {
        AppWindow->setPopupStyle(true);
        DrawFrame(false);
        if (GetGraphicEngine() == ENGINE_DIRECT3D9) ResizeScreen(0, 0);
        return;
    }
    AppWindow->setPopupStyle(false);
    DrawFrame(false);
    AppWindow->setPlacement(Placement);
}

// ---- Module ----

CMainFrame* GetMainFrame() { return Frame.Frame; }
void SetForceClose(bool Force) { Frame.ForceClose = Force; }
int32_t GetWheelRemainder() { return Frame.WheelRemainder; }

void QuitProgram() {
    Frame.ForceClose = true;
    if (Frame.Frame != nullptr && Frame.Frame->getAppWindow() != nullptr)
        Frame.Frame->getAppWindow()->postClose();
}

void StartPatcher() {
    Frame.StartPatcher = true;
    QuitProgram();
}

void SetViewMode(int32_t Mode) {
    if (Frame.Frame != nullptr) Frame.Frame->setViewMode(Mode);
}

void OpenURL(const char* Url) {
    if (GetVideoMode() == FULLSCREEN_MODE) SetViewMode(WINDOWED_MODE);
    OpenWebPage(Url);
}

void UpdateCursor() {
    if (Frame.Frame == nullptr || Frame.Frame->getAppWindow() == nullptr) return;
    TAppWindow* Window = Frame.Frame->getAppWindow();
    if (!GetWindowsMousepointer()) {
        Window->setCursor(CURSOR_NONE);
        return;
    }
    switch (GetMouseCursor()) {
    case 1:
        return Window->setCursor(CURSOR_ARROW);
    case 2:
        return Window->setCursor(CURSOR_SIZENS);
    case 3:
        return Window->setCursor(CURSOR_WAIT);
    case 4:
    case 5:
        return Window->setCursor(CURSOR_CUSTOM1);
    case 6:
        return Window->setCursor(CURSOR_CUSTOM2);
    default:
        return;
    }
}

void SetStartPatcherFlag(bool Flag) { Frame.StartPatcher = Flag; }
bool GetStartPatcherFlag() { return Frame.StartPatcher; }
