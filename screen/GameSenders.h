// The client messages of the game that the screen sends, and the controller's engine switch: reached through
// this table until the protocol's senders exist. A call of a sender that is not filled in fails with "sender
// not available"; nothing is sent silently.
#pragma once

#include <cstdint>

struct TGameSenders {
    void (*WalkPath)() = nullptr;
    void (*StopWalk)() = nullptr;
    void (*TurnNorth)() = nullptr;
    void (*TurnEast)() = nullptr;
    void (*TurnSouth)() = nullptr;
    void (*TurnWest)() = nullptr;
    void (*Cancel)() = nullptr;
    void (*Logout)() = nullptr;
    void (*JoinChannel)(int32_t ChannelID) = nullptr;
    void (*ErrorReport)(const char* Title, const char* Time, const char* Text, const char* Comment) = nullptr;
    // The controller's engine switch (0 DirectDraw, 1 OpenGL, 2 Direct3D 9).
    void (*ChangeEngine)(int32_t Engine) = nullptr;
};

void SetGameSenders(const TGameSenders& Senders);
const TGameSenders& GetGameSenders();
