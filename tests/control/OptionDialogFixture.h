// Set-up of the option, list and report dialog tests: the dialog fixture with the options file in the test
// directory, and recorders for the view-mode change and the engine switch.
#pragma once

#include "DialogFixture.h"

#include "control/DialogsGamemasterReport.h"
#include "control/DialogsGraphics.h"
#include "control/DialogsHotkeys.h"
#include "control/DialogsIgnore.h"
#include "control/DialogsMarkEditor.h"
#include "control/DialogsOptions.h"
#include "gui/DialogElementsList.h"

#include <filesystem>
#include <vector>

inline std::vector<int32_t> ViewModeCalls;
inline std::vector<int32_t> EngineSwitchCalls;

class OptionDialogTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ExitMainWindow();
        InitMainWindow(
            800, 600, nullptr, [](int32_t Mode) { ViewModeCalls.push_back(Mode); },
            [](const char* Url) { OpenedPages.push_back(Url); });
        ViewModeCalls.clear();
        EngineSwitchCalls.clear();
        SetEngineSwitch([](int32_t Engine) { EngineSwitchCalls.push_back(Engine); });
        LoadOptions();
    }
    void TearDown() override {
        SetEngineSwitch(nullptr);
        DialogTest::TearDown();
    }

    // Takes the queued events until a dialog opens; the dialog's body of type T, or NULL.
    template <typename T> static T* Open(int32_t Type, intptr_t Param1 = 0, intptr_t Param2 = 0) {
        AddMessage(Type, Param1, Param2);
        ProcessMessages();
        return Body<T>();
    }
    // The Index-th text button (in the order they were added) of a body or frame with this caption, or NULL.
    static TTextButton* Button(const TComponent* Parent, const char* Caption, size_t Index = 0) {
        std::vector<TTextButton*> Found; // the child list runs from the last added to the first
        for (TComponent* C = Parent->getFirstChild(); C != nullptr; C = C->getNext())
            if (auto* B = dynamic_cast<TTextButton*>(C); B != nullptr && std::string(B->_Text) == Caption)
                Found.insert(Found.begin(), B);
        return Index < Found.size() ? Found[Index] : nullptr;
    }
    static bool OptionsFileWritten() { return std::filesystem::exists("Ebrun.cfg"); }
};
