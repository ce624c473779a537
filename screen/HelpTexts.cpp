// The help texts of the screen areas and of some kinds of objects, by help context, and their formatting
// with the skin pictures they show.
#define EBRUN_SOURCE_NAME "Help.cpp"
#include "screen/Help.h"

#include "foundation/Exception.h"
#include "gui/GUIServices.h"

#include <cstdio>
#include <iterator>

namespace {

constexpr int32_t MAX_HELP_SKINS = 9;

// Text holds one "%d" for each skin, filled in order.
struct THelpEntry {
    int32_t Context;
    const char* Text;
    int32_t Skins[MAX_HELP_SKINS] = {};
};

const THelpEntry HelpEntries[] = {
    {10,
     "<B>Automap<N>\n"
     "<br=5>The automap shows the surroundings of your character from above. Places you have seen once stay "
     "on the map, so that it grows while you explore.\n"
     "<br=5><INDENT=30><SKIN=%d><hspace=4>Zoom in: shows a smaller area in more detail.\n"
     "<br=5><SKIN=%d><hspace=4>Zoom out: shows a larger area.\n"
     "<br=5><SKIN=%d><hspace=4>Centre: shows your character's position again.\n"
     "<br=5><SKIN=%d><hspace=4>Floor up and<SKIN=%d> floor down: show the floors above and below.<INDENT=0>\n"
     "<br=5>Drag the map with the left mouse button to look at other places. Click on a field with the right "
     "mouse button to put a mark there; a mark can carry an icon and a short description.\n"
     "<br=5>Walking: a left click on the automap sends your character to that place, if a way is known.",
     {65, 70, 72, 66, 68}},
    {11,
     "<B>Status Bars<N>\n"
     "<br=5>The red bar shows your character's hit points. If they drop to zero, your character dies. Hit "
     "points regenerate slowly over time, faster when you have eaten.\n"
     "<br=5>The blue bar shows your mana, the power you need to cast spells. It regenerates like your hit "
     "points.\n"
     "<br=5>The numbers on the bars give the current values."},
    {12,
     "<B>Inventory<N>\n"
     "<br=5>The inventory shows the equipment your character wears: a helmet, an amulet, a backpack, armour, "
     "a weapon and a shield in his hands, legs, boots and a ring, and the ammunition slot.\n"
     "<br=5>To equip an item, drag it onto the matching slot. To take it off, drag it into a container or "
     "onto the map.\n"
     "<br=5>Use a container such as your backpack with the right mouse button to open it.\n"
     "<br=5>Below the slots you see your capacity, the weight you can still carry, and your soul points.\n"
     "<br=5><SKIN=%d><hspace=4>Minimises the inventory to gain room for other windows.",
     {138}},
    {13,
     "<B>Minimised Inventory<N>\n"
     "<br=5>The minimised inventory saves room on the side bar. It shows only your capacity, your soul "
     "points "
     "and the icons of the conditions your character is in.\n"
     "<br=5><SKIN=%d><hspace=4>Shows the full inventory again, so that you can change your equipment.",
     {140}},
    {14,
     "<B>Combat Controls and Other Buttons<N>\n"
     "<br=5><INDENT=30><SKIN=%d><hspace=4>Offensive fighting: more damage, less defence.\n"
     "<br=5><SKIN=%d><hspace=4>Balanced fighting.\n"
     "<br=5><SKIN=%d><hspace=4>Defensive fighting: more defence, less damage.\n"
     "<br=5><SKIN=%d><hspace=4>Stand while fighting.\n"
     "<br=5><SKIN=%d><hspace=4>Chase your opponent.\n"
     "<br=5><SKIN=%d><hspace=4>Secure mode: you cannot attack unmarked players by accident.<INDENT=0>\n"
     "<br=5><SKIN=%d><hspace=4>Minimises the combat controls.\n"
     "<br=5>The buttons below open the skills, battle and VIP windows and the options, the help and the "
     "logout.",
     {103, 105, 107, 109, 111, 113, 114}},
    {15,
     "<B>Combat Controls and Other Buttons<N>\n"
     "<br=5><INDENT=30><SKIN=%d><hspace=4>Offensive fighting.\n"
     "<br=5><SKIN=%d><hspace=4>Balanced fighting.\n"
     "<br=5><SKIN=%d><hspace=4>Defensive fighting.\n"
     "<br=5><SKIN=%d><hspace=4>Stand while fighting.\n"
     "<br=5><SKIN=%d><hspace=4>Chase your opponent.\n"
     "<br=5><SKIN=%d><hspace=4>Secure mode.<INDENT=0>\n"
     "<br=5><SKIN=%d><hspace=4>Shows the full combat controls again.\n"
     "<br=5><SKIN=%d><hspace=4>Stop: ends attacking and following.\n"
     "<br=5><SKIN=%d><hspace=4>Opens the options.",
     {103, 105, 107, 109, 111, 113, 114, 115, 117}},
    {16, "<B>Control Buttons<N>\n"
         "<br=5>These buttons open and close the windows of the side bar and the dialogs of the client.\n"
         "<br=5><b>Skills<n> shows your character's level, experience and skills.\n"
         "<br=5><b>Battle<n> lists the creatures you can see.\n"
         "<br=5><b>VIP<n> lists your friends and shows whether they are online.\n"
         "<br=5><b>Options<n> lets you change the settings of the client.\n"
         "<br=5><b>Help<n> opens the help menu with the client help, the hints and a way to ask a tutor.\n"
         "<br=5><b>Logout<n> leaves the game. You cannot log out during or shortly after a fight."},
    {17,
     "<B>Skills<N>\n"
     "<br=5>The skills window lists your character's experience, level, hit points, mana, soul points, "
     "capacity, magic level and fighting skills.\n"
     "<br=5>The bar below a value shows the progress towards its next level. Skills improve by using them."},
    {18,
     "<B>Battle<N>\n"
     "<br=5>The battle window lists the creatures and characters you can see, with their health.\n"
     "<br=5>Click on an entry to attack that creature; click again to stop. With the right mouse button you "
     "get a menu to follow it, to look at it and more.\n"
     "<br=5>The creature you attack is framed in red, the one you follow in green."},
    {19,
     "<B>VIP<N>\n"
     "<br=5>The VIP list shows your friends. Characters that are online are shown in green, the others in "
     "red.\n"
     "<br=5>To add a character, click on the list with the right mouse button and choose 'Add new VIP'. The "
     "same menu lets you remove a name or send a private message.\n"
     "<br=5>When a VIP logs in or out, a message appears in the console."},
    {20,
     "<B>Open Containers<N>\n"
     "<br=5>This window shows what a container holds. Drag items into it or out of it to move them.\n"
     "<br=5>Use an item with the right mouse button, or look at it with Shift and a click.\n"
     "<br=5><SKIN=%d><hspace=4>Opens the container that holds this one.",
     {126}},
    {21,
     "<B>Trade<N>\n"
     "<br=5>The trade window shows your offer and the offer of your trade partner. To offer an item, use it "
     "with the right mouse button and choose 'Trade with ...', then click on the other player.\n"
     "<br=5>Look at every item of the offer before you accept. The trade is only done when both players "
     "accept; press 'Cancel' to end it."},
    {22,
     "<B>Console<N>\n"
     "<br=5>The console shows what characters near you say, messages of the game and the texts of the "
     "channels you have joined. Type a text into the line at the bottom and press Enter to say it.\n"
     "<br=5><INDENT=30><SKIN=%d><hspace=4>Talk mode: say, whisper or yell.\n"
     "<br=5><SKIN=%d><hspace=4>Opens a new channel.\n"
     "<br=5><SKIN=%d><hspace=4>Closes the current channel.<INDENT=0>\n"
     "<br=5>Use the arrow keys Up and Down to repeat what you said before.",
     {197, 199, 201}},
    {23,
     "<B>Console Channels<N>\n"
     "<br=5>Every channel you have joined has its own tab. Click on a tab to read and talk in that channel.\n"
     "<br=5><INDENT=30><SKIN=%d><hspace=4>A tab with new messages.\n"
     "<br=5><SKIN=%d><hspace=4>The active tab.\n"
     "<br=5><SKIN=%d><hspace=4>Scrolls the tabs to the left and<SKIN=%d> to the right.<INDENT=0>\n"
     "<br=5>Click on a tab with the right mouse button to close it or to save its messages.",
     {195, 192, 188, 190}},
    {1000,
     "<B>Creatures<N>\n"
     "<br=5>This is a creature or another character. Look at it with Shift and a click. To attack it, click "
     "on it with the right mouse button while holding Ctrl, or click its entry in the battle window."},
    {1001,
     "<B>Your Character<N>\n"
     "<br=5>This is you. Click on a field to walk there, or use the arrow keys. Ctrl and an arrow key turns "
     "your character."},
    {1002,
     "<B>Containers<N>\n"
     "<br=5>This is a container. Use it with the right mouse button to open it; its contents appear in a "
     "window on the side bar."},
    {1100, "<B>Ladders<N>\n"
           "<br=5>To climb up a ladder, use it with the right mouse button while you stand next to it."},
    {1101, "<B>Sewer Grates<N>\n"
           "<br=5>Sewer grates lead down into the sewers. Use the grate with the right mouse button to climb "
           "down."},
    {1102, "<B>Dungeon Floor<N>\n"
           "<br=5>Below this floor lies a dungeon. Sometimes a shovel is needed to open a hole into it."},
    {1103, "<B>Levers<N>\n"
           "<br=5>Use a lever with the right mouse button to pull it."},
    {1104, "<B>Doors<N>\n"
           "<br=5>Use a door with the right mouse button to open or close it."},
    {1105, "<B>Special Doors<N>\n"
           "<br=5>Some doors only open for characters of a certain level or for those who solved a quest."},
    {1106, "<B>Stairs<N>\n"
           "<br=5>To climb stairs just move your character onto them."},
    {1107, "<B>Mailboxes<N>\n"
           "<br=5>Put a labelled parcel or letter into a mailbox to send it to another player."},
    {1108, "<B>Depot boxes<N>\n"
           "<br=5>Store your items safely in your depot box. Only you can open your own box."},
    {1109, "<B>Dustbins<N>\n"
           "<br=5>Throw what you do not need into a dustbin."},
    {1110, "<B>Stone Piles<N>\n"
           "<br=5>A pile of stones may hide a way down. Try a shovel or a pick."},
    {1111, "<B>Signs<N>\n"
           "<br=5>Look at a sign to read it."},
    {1112, "<B>Books and Scrolls<N>\n"
           "<br=5>Use a book or a scroll to read it."},
};

// Valid until the next GetHelpText.
char HelpTextBuffer[2048];

// Copies Text into HelpTextBuffer, each "%d" replaced by the next skin number; cut at the buffer's end.
void FormatHelpText(const THelpEntry& Entry) {
    char* Out = HelpTextBuffer;
    char* const End = HelpTextBuffer + sizeof(HelpTextBuffer) - 1;
    int32_t Skin = 0;
    for (const char* P = Entry.Text; *P != 0 && Out < End; P++) {
        if (P[0] == '%' && P[1] == 'd' && Skin < MAX_HELP_SKINS) {
            char Number[12];
            snprintf(Number, sizeof(Number), "%d", Entry.Skins[Skin++]);
            for (const char* N = Number; *N != 0 && Out < End; N++)
                *Out++ = *N;
            P++;
        } else {
            *Out++ = *P;
        }
    }
    *Out = 0;
}

} // namespace

const char* GetHelpText(int32_t Handle) {
    HelpTextBuffer[0] = 0;
    for (const THelpEntry& Entry : HelpEntries) {
        if (Entry.Context == Handle) {
            FormatHelpText(Entry);
            return HelpTextBuffer;
        }
    }
    CHECK_TEXT(false, "unknown handle", Handle);
    return HelpTextBuffer;
}

const char* GetCurrentHelpText() { return GetHelpText(GetHelpContext()); }

int32_t GetHelpTextCount() { return static_cast<int32_t>(std::size(HelpEntries)); }

int32_t GetHelpTextContext(int32_t Index) {
    CHECK(In(Index, 0, GetHelpTextCount() - 1), Index);
    return HelpEntries[Index].Context;
}
