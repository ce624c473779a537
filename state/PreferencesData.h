// The options store's variables, shared by the store and its file reader and writer only.
#pragma once

#include "foundation/Container.h"
#include "state/Preferences.h"

#include <cstdint>
#include <memory>

struct TContentWindowPair {
    int32_t Id;
    int32_t Value;
};

// A growable list of the store: slots 0.. in use up to Count.
template <typename T> struct TOptionList {
    TDynamicArray<T> Items;
    int32_t Count = 0;

    TOptionList() : Items(0, 9, 10) {}
    explicit TOptionList(const T& Init) : Items(0, 9, 10, Init) {}
    void append(const T& Item) { Items.at(Count++) = Item; }
    bool contains(const T& Item) {
        for (int32_t i = 0; i < Count; i++)
            if (Items.at(i) == Item) return true;
        return false;
    }
};

// The plain values, copyable so that a reset can start from a fresh record.
struct TOptionValues {
    bool TestServer = false;
    int32_t VideoMode = 1;
    TDisplayMode FullscreenMode{};
    bool WindowsMousepointer = true;
    bool LightEffects = true;
    bool TextualEffects = true;
    int32_t CreatureInfo = 2;
    int32_t NoStretching = 2; // 0 no, 1 yes, 2 not yet decided
    int32_t ConfineFramerate = 0;
    int32_t Engine = -1;
    int32_t WindowedX = 0, WindowedY = 0, WindowedWidth = 600, WindowedHeight = 400;
    bool WindowedMaximized = false;
    int32_t ConsoleHeight = 0;
    int32_t AutomapZoom = 2;
    int32_t BuddySortmethods[3] = {2, 1, 0};
    bool BuddyHideOffline = false;
    int32_t LastMotD = 0;
    bool InfoMessages = false;
    bool EventMessages = true;
    bool StatusMessages = false;
    bool TimeStamps = false;
    bool PrivateMessages = true;
    bool ClassicControl = false;
    bool AutoChaseOff = true;
    int32_t AttackMode = 2;
    int32_t ChaseMode = 0;
    bool SecureMode = true;
    bool ShowNewHints = true;
    bool LevelBar = true;
    bool MagLevelBar = true;
    bool SkillBars[SKILLBARS] = {true, true, true, true, true, true, true};
    char Hotkeys[HOTKEYS][HOTKEY_LENGTH] = {};
    bool HotkeyAutoSend[HOTKEYS] = {};
};

// Exists for the whole run; LoadOptions resets it and fills it from the file.
struct TOptionsData {
    TOptionValues Values;
    TOptionList<TContentWindowPair> ContentWindow;
    TOptionList<int32_t> OpenDialogs{-1};
    TOptionList<int32_t> OpenChannel;
    TOptionList<int32_t> KnownHints;
    TOptionList<TBuddy> Buddies;

    std::unique_ptr<char[]> MessageOfTheDay; // NULL: none received
};

TOptionsData& Options();
