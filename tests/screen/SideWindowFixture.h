// Shared set-up of the side-window tests: the drawing bench, the game state, the queued events, and a
// loopback game server that reads back what the windows send.
#pragma once

#include "graphics/Engine.h"
#include "gui/DialogWindow.h"
#include "state/Creatures.h"
#include "state/CreaturesBuddies.h"
#include "state/CreaturesPlayer.h"
#include "state/Events.h"
#include "state/Inventory.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "tests/gui/SkinScreen.h"
#include "tests/network/SenderFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

class SideWindowTest : public SenderTest {
protected:
    void SetUp() override {
        SenderTest::SetUp();
        ClearMessages();
        ResetInventory();
        ResetBuddyList();
        SetAttackTarget(0);
        SetFollowTarget(0);
        SetAimedCreature(0);
        SetActionState(ACTIONSTATE_NONE);
        SetTooltip(nullptr);
    }
    void TearDown() override {
        Window.reset();
        ClearMessages();
        SenderTest::TearDown();
    }

    // The body of the framed window made by Create, which the fixture keeps.
    template <typename TBody> TBody& open(TDialogWindow* (*Create)()) {
        Window.reset(Create());
        auto* Body = dynamic_cast<TBody*>(Window->Body);
        EXPECT_NE(Body, nullptr);
        return *Body;
    }
    static std::vector<int32_t> EventTypes() {
        std::vector<int32_t> Types;
        for (const TQueuedEvent& Event : TakeEvents())
            Types.push_back(Event.Type);
        return Types;
    }
    // The pixel a colour becomes on the screen surface.
    uint32_t shade(int32_t Red, int32_t Green, int32_t Blue) {
        GetSurface()->FillRectangle(SCREEN_SURFACE, 639, 479, 1, 1, Red, Green, Blue);
        return Screen.pixel(639, 479);
    }
    static std::string Tooltip() { return GetTooltip() != nullptr ? GetTooltip() : ""; }

    TSkinScreen Screen;
    std::unique_ptr<TDialogWindow> Window;
};
