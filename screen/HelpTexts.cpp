// The help texts of the screen areas and of some kinds of objects, by help context, and their formatting
// with the skin pictures they show.
#include "gui/DialogWindow.h"
#include "gui/SkinProperties.h"
#include "screen/ConsoleWindow.h"
#include "screen/ContentWindowsCombat.h"
#include "screen/ContentWindowsContainer.h"
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
    {HELP_AUTOMAP,
     "<B>Automap<N>\n"
     "<br=5><FONT=4>The automap draws every field your character has seen, one coloured point per field, "
     "with a white cross where you stand. It follows you as you walk, and what you have explored is kept "
     "for your next visit.\n"
     "<br=5>Click on a place of the map to walk there by the shortest way you know. Click with the right "
     "mouse button to set a mark there, or to edit or delete the mark under the mouse pointer; a mark "
     "carries an icon and a note, and resting the pointer on it shows the note.\n"
     "<br=5><SKIN=%d><INDENT=49><FONT=2>Compass rose <FONT=4>Click on one of its arms to scroll the map in "
     "that direction, or hold Alt and press an arrow key. Click on its middle to follow your character "
     "again; the map also comes back to you as soon as you take a step.<FONT=2><INDENT=0>\n"
     "<br=5><SKIN=%d><hspace=4><SKIN=%d><INDENT=50><FONT=2>Higher and lower floor <FONT=4>(Alt+PageUp, "
     "Alt+PageDown) show the floor above or below.<FONT=2><INDENT=0>\n"
     "<br=5><SKIN=%d><hspace=4><SKIN=%d><INDENT=50><FONT=2>Zoom in and out <FONT=4>(Alt+End, Alt+Home) "
     "show fewer fields drawn larger, or more drawn smaller.<FONT=2><INDENT=0>\n"
     "<br=5><FONT=4>\"Centre\" shows your own position and floor again. The zoom you chose is kept in your "
     "options, and the marks you set stay on the map until you delete them.",
     {SKIN_AUTOMAP_ROSE, SKIN_AUTOMAP_FLOOR_UP, SKIN_AUTOMAP_FLOOR_DOWN, SKIN_AUTOMAP_ZOOM_IN,
      SKIN_AUTOMAP_ZOOM_OUT}},
    {HELP_STATUS_BARS,
     "<B>Status Bars<N>\n"
     "<br=5><FONT=4>The upper bar, beside the heart, shows your hit points: the damage you can still take. "
     "The number at its right is the present value, and the bar shrinks as you lose them. When they reach "
     "zero your character dies. They come back slowly by themselves, and faster after a meal.\n"
     "<br=5>The lower bar, beside the drop, shows your mana, the power that spells use up. It refills in "
     "the same way.\n"
     "<br=5>Both maximum values grow with each level; the skills window (Ctrl+S) lists them as well."},
    {HELP_INVENTORY,
     "<B>Inventory<N>\n"
     "<br=5><FONT=4>The ten slots show what your character wears and holds: the helmet at the top, the "
     "amulet on its left and the backpack on its right, the armour in the middle between the two hands, "
     "the legs and the boots below it, the ring at the lower left and the belt for ammunition at the lower "
     "right.\n"
     "<br=5>Drag an item onto a slot to equip it, and from a slot into a container or onto the map to take "
     "it off. When you drop a stack, Ctrl moves all of it, Shift one piece, and without a key you are "
     "asked how many.\n"
     "<br=5>Click on an item with the right mouse button for its menu. Shift and a click looks at it, Ctrl "
     "and a click uses it; a backpack used this way opens in a window of its own. While you hold an item "
     "to use with something, click on a slot to use it on what you wear there.\n"
     "<br=5>Below the slots, \"Soul\" gives your soul points and \"Cap\" the weight you can still carry. "
     "The icons under them show what affects you, such as poison, fire, a magic shield, haste or a fight "
     "that keeps you from logging out; rest the mouse pointer on an icon to read what it means.\n"
     "<br=5><SKIN=%d><INDENT=18><FONT=2>Minimise inventory <FONT=4>folds the panel into a narrow strip "
     "that leaves room for other windows.<FONT=2><INDENT=0>",
     {SKIN_MINIMIZE}},
    {HELP_SMALL_INVENTORY,
     "<B>Minimised Inventory<N>\n"
     "<br=5><FONT=4>The minimised inventory takes up little room on the side bar. Your equipment is hidden "
     "but still worn, and the strip still shows your capacity (\"Cap\"), your soul points (\"Soul\") and "
     "the icons of the conditions you are in; rest the mouse pointer on an icon to read it.\n"
     "<br=5>The field behind \"Cap\" and \"Soul\" takes items: drag an item onto it from the map or a "
     "container, and it goes into a slot that fits it. With a stack, Ctrl moves all of it, Shift one "
     "piece, and without a key you are asked how many.\n"
     "<br=5>The small combat controls beside it work like the large ones; their last two buttons open the "
     "options and the help menu.\n"
     "<br=5><SKIN=%d><INDENT=18><FONT=2>Maximise inventory <FONT=4>shows the full inventory with all ten "
     "slots again, so that you can change what you wear.<FONT=2><INDENT=0>",
     {SKIN_RESTORE}},
    {HELP_COMBAT,
     "<B>Combat Controls and Other Buttons<N>\n"
     "<br=5><FONT=4>These buttons decide how you fight. The pressed button of each group is the mode in "
     "force; a change is saved with your options and sent to the game at once.\n"
     "<br=5><SKIN=%d><INDENT=26><FONT=2>Offensive fighting <FONT=4>hits harder but guards "
     "less.<FONT=2><INDENT=0>\n"
     "<br=5><SKIN=%d><INDENT=26><FONT=2>Balanced fighting <FONT=4>lies in between.<FONT=2><INDENT=0>\n"
     "<br=5><SKIN=%d><INDENT=26><FONT=2>Defensive fighting <FONT=4>guards best but hits "
     "softer.<FONT=2><INDENT=0>\n"
     "<br=5><SKIN=%d><INDENT=26><FONT=2>Stand while fighting <FONT=4>keeps you in "
     "place.<FONT=2><INDENT=0>\n"
     "<br=5><SKIN=%d><INDENT=26><FONT=2>Chase opponent <FONT=4>follows the creature you "
     "attack.<FONT=2><INDENT=0>\n"
     "<br=5><SKIN=%d><INDENT=26><FONT=2>Secure mode on: <FONT=4>you cannot attack unmarked "
     "characters.<FONT=2><INDENT=0>\n"
     "<br=5><SKIN=%d><INDENT=26><FONT=2>Secure mode off: <FONT=4>you can attack any "
     "character.<FONT=2><INDENT=0>\n"
     "<br=5><FONT=4>If you walk yourself while chasing, the client switches to standing; \"Auto Chase "
     "Off\" in the options turns this off.\n"
     "<br=5>\"Stop\" (Escape) ends an attack, stops following and cancels your walk. \"Options\" opens the "
     "options, \"Help\" the help menu with this help, the hints, the tutors and the manual.",
     {SKIN_OFFENSIVE, SKIN_BALANCED, SKIN_DEFENSIVE, SKIN_STAND, SKIN_CHASE, SKIN_SECURE_ON,
      SKIN_SECURE_OFF}},
    {HELP_SMALL_COMBAT,
     "<B>Combat Controls and Other Buttons<N>\n"
     "<br=5><FONT=4>The small form of the combat controls, shown with the minimised inventory. Its six "
     "mode buttons sit in two rows of three; the pressed button of each group is the mode in force. A "
     "change is saved with your options and sent to the game at once, and the large form shows the same "
     "modes.\n"
     "<br=5><SKIN=%d><hspace=2><SKIN=%d><hspace=2><SKIN=%d><INDENT=70><FONT=2>Fight mode <FONT=4>Offensive "
     "fighting hits harder but guards less, defensive fighting guards best, and balanced fighting lies in "
     "between.<FONT=2><INDENT=0>\n"
     "<br=5><SKIN=%d><hspace=2><SKIN=%d><INDENT=48><FONT=2>Chase mode <FONT=4>Stand while fighting keeps "
     "you in place; chase opponent follows the creature you attack.<FONT=2><INDENT=0>\n"
     "<br=5><SKIN=%d><hspace=2><SKIN=%d><INDENT=48><FONT=2>Secure mode <FONT=4>When on, as on the left, "
     "you cannot attack unmarked characters; when off, you can attack any character.<FONT=2><INDENT=0>\n"
     "<br=5><SKIN=%d><hspace=2><SKIN=%d><INDENT=48><FONT=2>Options, Help <FONT=4>open the options and the "
     "help menu.<FONT=2><INDENT=0>\n"
     "<br=5><FONT=4>\"Stop\" (Escape) ends an attack, stops following and cancels your walk. If you walk "
     "yourself while chasing, the client switches to standing, unless \"Auto Chase Off\" is turned off in "
     "the options.",
     {SKIN_OFFENSIVE, SKIN_BALANCED, SKIN_DEFENSIVE, SKIN_STAND, SKIN_CHASE, SKIN_SECURE_ON, SKIN_SECURE_OFF,
      SKIN_SMALL_OPTIONS, SKIN_SMALL_HELP}},
    {HELP_GENERAL_CONTROLS,
     "<B>Control Buttons<N>\n"
     "<br=5><FONT=4>These buttons open and close the windows in the column below the side bar. A button "
     "looks pressed while its window is open.\n"
     "<br=5><FONT=2>Skills <FONT=4>(Ctrl+S) shows your level, experience and skills.\n"
     "<br=5><FONT=2>Battle <FONT=4>(Ctrl+B) lists the creatures around you.\n"
     "<br=5><FONT=2>VIP <FONT=4>(Ctrl+P) lists your friends and whether they are online.\n"
     "<br=5><FONT=2>Logout <FONT=4>asks whether you really want to leave the game; Ctrl+L or Ctrl+Q leave "
     "at once. You cannot leave while you are in a fight; an icon below your equipment shows when that is "
     "so.\n"
     "<br=5>Each window has a button to close it and one to fold it up; drag its lower edge to change its "
     "height. Windows that were open are opened again at your next login. When the column has no room for "
     "a new window, the others give up some of theirs. The panels of the side bar above can be moved too: "
     "drag one by an empty spot to another place."},
    {HELP_SKILLS,
     "<B>Skills<N>\n"
     "<br=5><FONT=4>The skills window lists your experience, level, hit points, mana, soul points, "
     "capacity and magic level, and below them your skills in fist, club, sword, axe and distance "
     "fighting, shielding and fishing.\n"
     "<br=5>The bar under a level shows the way to the next level; rest the mouse pointer on it to read "
     "how many percent are left. A right click lets you show or hide each bar. When the window is too "
     "short for all lines, scroll it with the mouse wheel."},
    {HELP_BATTLE,
     "<B>Battle<N>\n"
     "<br=5><FONT=4>The battle window lists the creatures and characters around you, each with its health "
     "bar and its marks.\n"
     "<br=5>Click on a line to attack that creature, and again to stop. Shift and a click looks at it; a "
     "right click, or Ctrl and a click, opens its menu.\n"
     "<br=5>The attacked creature is framed red and the followed one green, here and on the map. The line "
     "under the mouse pointer is framed white, and so is its creature on the map.\n"
     "<br=5>Holding an item to use with something, click on a monster's line to use it on that creature. "
     "After \"Trade with ...\", click on a player's line to offer him the trade."},
    {HELP_VIP,
     "<B>VIP<N>\n"
     "<br=5><FONT=4>The VIP list holds the characters you want to keep track of. Names in green are "
     "online, names in red are not; a name turns white for a moment when its character logs in.\n"
     "<br=5>Double-click on a name to write to that character in a console tab of its own.\n"
     "<br=5>Click with the right mouse button for a menu: add a new VIP, edit one (an icon, a note and "
     "whether you are told when he logs in), remove him, send him a message, copy his name, or sort the "
     "list and hide the characters who are offline. To add a player you see, use \"Add to VIP list\" from "
     "his own menu on the map. A name too long for the window shows in full when the mouse pointer rests "
     "on it. The list is kept for your next login."},
    {HELP_CONTAINERS,
     "<B>Open Containers<N>\n"
     "<br=5><FONT=4>This window shows what a container holds. Drag items into it, out of it or within it "
     "to move them; with a stack, Ctrl moves all of it, Shift one piece, and without a key you are asked "
     "how many.\n"
     "<br=5>A right click on an item opens its menu. Shift and a click looks at it, Ctrl and a click uses "
     "it; a container inside opens in this same window, while \"Open in new window\" from its menu gives "
     "it a window of its own.\n"
     "<br=5><SKIN=%d><INDENT=18><FONT=2>Show higher container <FONT=4>goes back to the container that "
     "holds this one.<FONT=2><INDENT=0>\n"
     "<br=5><FONT=4>Closing the window closes the container. Use the mouse wheel or the bar at the right "
     "to scroll a large one, or drag the window's lower edge.",
     {SKIN_HIGHER_CONTAINER}},
    {HELP_TRADE,
     "<B>Trade<N>\n"
     "<br=5><FONT=4>To trade with a player, click on an item with the right mouse button, choose \"Trade "
     "with ...\" and then click on the player, on the map or in the battle window.\n"
     "<br=5>Your offer is on the left, your partner's on the right, each under its owner's name. Click on "
     "an item in either offer to look at it before you agree.\n"
     "<br=5>Once both offers are made, \"Accept\" appears. The items change hands only when both of you "
     "have accepted; if the other side changes the offer, you must accept again. \"Reject\", \"Cancel\" or "
     "closing the window ends the trade, and nothing changes hands.\n"
     "<br=5>Scroll with the mouse wheel when an offer holds more items than the window shows."},
    {HELP_CONSOLE,
     "<B>Console<N>\n"
     "<br=5><FONT=4>The console shows what is said around you, the messages of the game and the talk of "
     "the channels you have joined. Type into the line at the bottom and press Enter to speak.\n"
     "<br=5>In the tab \"Default\" the button before the line shows how loud you speak. Each click moves "
     "it on from say to yell to whisper; yelling and whispering last for one line.\n"
     "<br=5><SKIN=%d><INDENT=22><FONT=2>Say: <FONT=4>heard by those near you.<FONT=2><INDENT=0>\n"
     "<br=5><SKIN=%d><INDENT=22><FONT=2>Whisper: <FONT=4>only for those beside you.<FONT=2><INDENT=0>\n"
     "<br=5><SKIN=%d><INDENT=22><FONT=2>Yell: <FONT=4>heard far away.<FONT=2><INDENT=0>\n"
     "<br=5><FONT=4>To write to one player, begin the line with his name between asterisks, for example "
     "*Jonas* hello.\n"
     "<br=5>Up and Down bring back what you typed before. F1 to F12, also with Shift or Ctrl, insert your "
     "hotkey texts; Ctrl+K edits them.\n"
     "<br=5>Select text with the mouse and press Ctrl+C to copy it. A right click on a line offers to copy "
     "it, to write to its speaker or to ignore him. Drag the bar between the map and the console to change "
     "its height.",
     {SKIN_SAY, SKIN_WHISPER, SKIN_YELL}},
    {HELP_CONSOLE_CHANNELS,
     "<B>Console Channels<N>\n"
     "<br=5><FONT=4>Each channel and conversation has a tab above the console. Click on a tab to show it; "
     "a red caption means unread text. Drag a tab to move it, press Tab or Shift+Tab to change tabs and "
     "Ctrl+D for \"Default\". When there are more tabs than fit, arrows at the ends bring in the hidden "
     "ones.\n"
     "<br=5><SKIN=%d><INDENT=22><FONT=2>Open new channel <FONT=4>(Ctrl+O): join a channel or start a "
     "private talk.<FONT=2><INDENT=0>\n"
     "<br=5><SKIN=%d><INDENT=22><FONT=2>Ignore <FONT=4>(Ctrl+I): the lists of players you ignore or allow. "
     "It lights up when it has hidden a message.<FONT=2><INDENT=0>\n"
     "<br=5><SKIN=%d><INDENT=22><FONT=2>Close this channel <FONT=4>(Ctrl+E)<FONT=2><INDENT=0>\n"
     "<br=5><SKIN=%d><INDENT=22><FONT=2>Server messages <FONT=4>(Ctrl+M): show them in this tab "
     "too.<FONT=2><INDENT=0>\n"
     "<br=5><FONT=4>A right click on a tab lets you save its text to a file or clear it. Your own private "
     "channel's menu also lets you invite players or exclude them. The tab \"Default\" cannot be closed. "
     "The channels you leave open are joined again at your next login.",
     {SKIN_OPEN_CHANNEL, SKIN_IGNORE, SKIN_CLOSE_CHANNEL, SKIN_SERVER_MESSAGES}},
    {HELP_CREATURE,
     "<B>Creatures<N>\n"
     "<br=5>This is a creature or another character. Click on it with the right mouse button for a menu: "
     "look at it, attack or follow it, or, for a player, write to him, add him to your VIP list or invite "
     "him to a party. Shift and a right click looks at once, Alt and a right click attacks. Ctrl+N changes "
     "which names and health bars are shown over creatures. The creature you attack is framed red, the one "
     "you follow green."},
    {HELP_OWN_CHARACTER,
     "<B>Your Character<N>\n"
     "<br=5>This is you. Click on a field to walk there, or use the arrow keys; Ctrl and an arrow key "
     "turns you, and Escape stops you. A right click on yourself lets you change your outfit or leave a "
     "party. Your hit points are shown by the bar over your head."},
    {HELP_CONTAINER_ON_MAP,
     "<B>Containers<N>\n"
     "<br=5>This is a container. Click on it with the right mouse button and choose \"Open\", or hold Ctrl "
     "while you click, to see its contents in a window on the right. Drag items onto it to put them in, or "
     "out of its window to take them out. A container can hold other containers."},
    {HELP_LADDERS,
     "<B>Ladders<N>\n"
     "<br=5>A ladder leads up to the floor above. Stand right next to it and use it: hold Ctrl and click "
     "on it with the right mouse button, or choose \"Use\" from its menu."},
    {HELP_SEWER_GRATES,
     "<B>Sewer Grates<N>\n"
     "<br=5>A sewer grate leads down into the sewers under the streets. Use it to climb down: hold Ctrl "
     "and click on it with the right mouse button. It is dark down there and rats live in it, so bring a "
     "torch and some food. Ladders lead back up to the street above."},
    {HELP_DUNGEON_FLOOR,
     "<B>Dungeon Floor<N>\n"
     "<br=5>A dungeon lies below this floor. Where the ground is loose, a shovel opens a hole: choose "
     "\"Use with ...\" from the shovel's menu, then click on the ground. Holes and stairs into the dungeon "
     "may be close by as well."},
    {HELP_LEVERS,
     "<B>Levers<N>\n"
     "<br=5>Use a lever to pull it: hold Ctrl and click on it with the right mouse button. Watch what "
     "changes around you: a lever may open a way."},
    {HELP_DOORS,
     "<B>Doors<N>\n"
     "<br=5>Use a door to open or close it: hold Ctrl and click on it with the right mouse button. Some "
     "doors are locked and only open with the right key."},
    {HELP_SPECIAL_DOORS,
     "<B>Special Doors<N>\n"
     "<br=5>This door opens only for characters who have reached a certain level or finished a certain "
     "quest. Look at it to learn what it asks of you: hold Shift and click on it with the right mouse "
     "button. Once it lets you, walk through."},
    {HELP_STAIRS, "<B>Stairs<N>\n"
                  "<br=5>To climb stairs just move your character onto them."},
    {HELP_MAILBOXES,
     "<B>Mailboxes<N>\n"
     "<br=5>A mailbox sends letters and parcels to other players. Write the receiver's name and town on "
     "the label, then drag the letter or parcel onto the mailbox. It arrives in the receiver's depot in "
     "that town. A parcel can carry items, a letter only the text you wrote on it."},
    {HELP_DEPOT_BOXES,
     "<B>Depot boxes<N>\n"
     "<br=5>This is your depot box. Only you can open it, and what you put in it is safe, even when your "
     "character dies. Every town keeps its own box for you, so your items stay where you left them.\n"
     "<br=5>Open it with Ctrl and a right click, or choose \"Open\" from its menu. Its contents appear in "
     "a window on the right; drag items between that window and your backpack to store them or take them "
     "out. A depot box can hold containers too."},
    {HELP_DUSTBINS,
     "<B>Dustbins<N>\n"
     "<br=5>Drag an item onto a dustbin to get rid of it. What you throw away is gone for good, so look "
     "twice before you let go of it."},
    {HELP_STONE_PILES,
     "<B>Stone Piles<N>\n"
     "<br=5>A pile of stones may hide a hole that leads down. Choose \"Use with ...\" from the menu of a "
     "shovel or a pick, then click on the pile to clear it away. Without such a tool you cannot pass. "
     "Merchants sell both tools; a shovel also digs holes into loose ground where a way leads down."},
    {HELP_SIGNS, "<B>Signs<N>\n"
                 "<br=5>Hold Shift and click on a sign with the right mouse button to read it."},
    {HELP_BOOKS,
     "<B>Books and Scrolls<N>\n"
     "<br=5>Use a book or a scroll to read what is written in it. You can write in some of them."},
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
