// Shared set-up of the context-menu tests: a game session on loopback whose sends are read back, fonts and
// skins of the drawing bench, item types with the flags the menus read, and readers of a menu's entries.
#pragma once

#include "foundation/sysinc.h"
#include "network/CommunicationSend.h"
#include "screen/ContextMenus.h"
#include "state/Creatures.h"
#include "state/CreaturesBuddies.h"
#include "state/CreaturesPlayer.h"
#include "state/Events.h"
#include "state/Inventory.h"
#include "state/Status.h"
#include "state/TalkRouting.h"
#include "tests/gui/SkinScreen.h"
#include "tests/network/SenderFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Item types of the menu tests.
enum TMenuType : int32_t {
    BAG = 101,    // container (4), can be picked up (16)
    ROPE = 102,   // used with another object (7), can be picked up
    APPLE = 103,  // can be picked up
    COINS = 104,  // cumulative (5), can be picked up
    STATUE = 105, // cannot be moved (13) though flagged for pick-up, rotates (20)
};

class MenuTest : public SenderTest {
protected:
    void SetUp() override {
        SenderTest::SetUp();
        TDatFile File;
        File.addItem().bank(150);
        File.addItem().flag(DAT_CONTAINER).flag(16);
        File.addItem().flag(DAT_USEWITH).flag(16);
        File.addItem().flag(16);
        File.addItem().flag(DAT_CUMULATIVE).flag(16);
        File.addItem().flag(DAT_UNMOVE).flag(16).flag(20);
        File.addOutfit();
        File.addEffect();
        File.addMissile();
        LoadDatFile(File);
        ClearMessages();
        ResetInventory();
        ClearRights();
        ClearIgnoreList();
        ResetBuddyList();
        SetPlayerState(0);
        SetAttackTarget(0);
        SetFollowTarget(0);
        SetActionState(ACTIONSTATE_CONTEXTMENU);
    }
    void TearDown() override {
        ClearMessages();
        SenderTest::TearDown();
    }

    // The entries top to bottom: "Text", "Text Shortcut" or "-" for a separator line.
    static std::vector<std::string> Entries(const TContextMenu& Menu) {
        std::vector<std::string> Lines;
        for (TComponent* Child = Menu.getFirstChild(); Child != nullptr; Child = Child->getNext()) {
            auto* Entry = dynamic_cast<TContextMenuEntry*>(Child);
            if (Entry == nullptr)
                Lines.push_back("-");
            else
                Lines.push_back(Entry->Shortcut[0] != 0 ? std::string(Entry->Text) + " " + Entry->Shortcut
                                                        : std::string(Entry->Text));
        }
        return Lines;
    }
    static TContextMenuEntry* Find(const TContextMenu& Menu, const std::string& Text) {
        for (TComponent* Child = Menu.getFirstChild(); Child != nullptr; Child = Child->getNext())
            if (auto* Entry = dynamic_cast<TContextMenuEntry*>(Child);
                Entry != nullptr && Text == Entry->Text)
                return Entry;
        return nullptr;
    }
    // Releases the left button on the entry with this text, as the player does; the menu closes.
    static void Choose(TContextMenu& Menu, const std::string& Text) {
        TContextMenuEntry* Entry = Find(Menu, Text);
        ASSERT_NE(Entry, nullptr) << Text;
        SetActionState(ACTIONSTATE_CONTEXTMENU);
        EXPECT_TRUE(Menu.leftButtonUp(Entry->X + 1, Entry->Y + 1, 0));
        EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
    }

    // A creature record in the table: a player below FIRST_NONPLAYER_ID, else a monster or NPC.
    static TCreature& AddCreature(uint32_t ID, const char* Name, int32_t PartyFlag = 0) {
        TCreature& Creature = *NewCreature(0, ID);
        CopyString(Creature.Name, Name);
        Creature.PARTYFlag = PartyFlag;
        return Creature;
    }
    static std::string Clipboard() {
        const char* Text = GetClipboardText();
        return Text != nullptr ? Text : "unreadable";
    }
    // The event types queued since the last call; their heap parameters freed.
    static std::vector<int32_t> EventTypes() {
        std::vector<int32_t> Types;
        for (const TQueuedEvent& Event : TakeEvents())
            Types.push_back(Event.Type);
        return Types;
    }

    TSkinScreen Screen;
};
