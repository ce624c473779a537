// Shared set-up of the dialog tests: the software engine with the generated data files, the skins, the real
// main window with the controller's event dispatch, and helpers that click and type through the controller's
// input routing.
#pragma once

#include "control/Control.h"
#include "control/DialogsFrame.h"
#include "foundation/sysinc.h"
#include "graphics/graphics.h"
#include "gui/DialogElements.h"
#include "gui/GUIServices.h"
#include "gui/SkinProperties.h"
#include "screen/MainWindow.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "tests/foundation/TempDirectory.h"
#include "tests/graphics/GraphicsTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

inline std::vector<std::string> OpenedPages;
// The test's millisecond clock, advanced by Ticks.
inline uint32_t FakeClock = 0;

class DialogTest : public ::testing::Test {
protected:
    static bool NoWarning() { return true; }

    void SetUp() override {
        FakeClock = GetSystemTimer();
        SetMillisecondTimer([] { return FakeClock; });
        for (const char* Name : {"Ebrun.spr", "Ebrun.pic"})
            std::filesystem::copy_file(std::filesystem::path(EBRUN_DATA_DIR) / Name, Name);
        Engine = std::make_unique<TTestEngine>(TDisplayFaults(), 800, 600);
        InitStatus(0, NoWarning);
        ClearMessages();
        ResetShortcuts();
        InitGraphics(1 << 20);
        InitSkins();
        InitSkinProperties();
        InitVideoCache();
        OpenedPages.clear();
        InitMainWindow(800, 600, nullptr, nullptr, [](const char* Url) { OpenedPages.push_back(Url); });
        SetHeldMouseEvent(0, 0);
        TimerTick(); // the tick counter leaves 0
    }
    void TearDown() override {
        ExitMainWindow();
        ClearMessages();
        ExitSkins();
        ExitGraphics();
        Engine.reset();
        ExitStatus();
        SetMillisecondTimer(nullptr);
    }

    static TModalDialog* Dialog() { return dynamic_cast<TModalDialog*>(GetModalWindow()); }
    template <typename T> static T* Body() {
        return Dialog() != nullptr ? dynamic_cast<T*>(Dialog()->_Dialog) : nullptr;
    }

    // A click (press and release) at the middle of Component, in screen coordinates.
    static void Click(const TComponent* Component) {
        int32_t x = Component->Width / 2, y = Component->Height / 2;
        for (const TComponent* C = Component; C != nullptr; C = C->Parent)
            x += C->X, y += C->Y;
        LeftButtonDown(x, y, 0);
        LeftButtonUp(x, y, 0);
    }
    static void Type(const std::string& Text) {
        for (char c : Text)
            KeyPressed(static_cast<unsigned char>(c));
    }
    // Ticks of 100 ms for the component timers.
    static void Ticks(int32_t Count) {
        for (int32_t i = 0; i < Count; i++) {
            FakeClock += 100;
            TimerTick();
        }
    }
    static std::vector<int32_t> QueuedTypes() {
        std::vector<int32_t> Types;
        std::vector<TMessage> Events;
        while (GetMessageCount() > 0) {
            TMessage Event;
            PopMessage(Event.Type, Event.Param1, Event.Param2);
            Types.push_back(Event.Type);
            Events.push_back(Event);
        }
        for (const TMessage& Event : Events)
            AddMessage(Event.Type, Event.Param1, Event.Param2);
        return Types;
    }

    TWorkingDirectory Directory;
    std::unique_ptr<TTestEngine> Engine;
};
