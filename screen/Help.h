// The texts that teach a new player: the event hints with their titles, the help texts of the screen areas
// and objects, and the bodies of the help menu and of the list of hints already seen.
#pragma once

#include "gui/GUI.h"

#include <cstdint>

class TListBox;

// The help contexts with a text: screen areas, things on the map, and the object helps that object types
// with the LENSHELP flag carry. 0 is no context.
enum HELP_CONTEXT : int32_t {
    HELP_AUTOMAP = 10,
    HELP_STATUS_BARS = 11,
    HELP_INVENTORY = 12,
    HELP_SMALL_INVENTORY = 13,
    HELP_COMBAT = 14,
    HELP_SMALL_COMBAT = 15,
    HELP_GENERAL_CONTROLS = 16,
    HELP_SKILLS = 17,
    HELP_BATTLE = 18,
    HELP_VIP = 19,
    HELP_CONTAINERS = 20,
    HELP_TRADE = 21,
    HELP_CONSOLE = 22,
    HELP_CONSOLE_CHANNELS = 23,
    HELP_CREATURE = 1000,
    HELP_OWN_CHARACTER = 1001,
    HELP_CONTAINER_ON_MAP = 1002,
    HELP_LADDERS = 1100,
    HELP_SEWER_GRATES = 1101,
    HELP_DUNGEON_FLOOR = 1102,
    HELP_LEVERS = 1103,
    HELP_DOORS = 1104,
    HELP_SPECIAL_DOORS = 1105,
    HELP_STAIRS = 1106,
    HELP_MAILBOXES = 1107,
    HELP_DEPOT_BOXES = 1108,
    HELP_DUSTBINS = 1109,
    HELP_STONE_PILES = 1110,
    HELP_SIGNS = 1111,
    HELP_BOOKS = 1112,
};

// Title and mark-up text of hint 1..EVENTHELPS; both check "In(Number,1,EVENTHELPS)". Static texts.
const char* GetEventHelpTitle(int32_t Number);
const char* GetEventHelpText(int32_t Number);
// The hint whose title equals Title without regard to case, -1 when none does.
int32_t FindEventHelp(const char* Title);

// The mark-up help text of a help context with its skin numbers filled in, in one static buffer of 2048
// bytes that the next call overwrites. A context without a text fails "unknown handle" with the buffer
// emptied.
const char* GetHelpText(int32_t Handle);
const char* GetCurrentHelpText(); // the text of the current help context
int32_t GetHelpTextCount();       // the contexts with a text, in table order
int32_t GetHelpTextContext(int32_t Index);

// The map view's hint button: gives it the hint texts above.
void InstallHintTexts();

// What the help menu and the hints list take: the dialog frame's OK and Cancel, and the menu's buttons.
enum HELPDIALOG_COMMAND : int32_t {
    HELPDIALOG_OK = 1,
    HELPDIALOG_CANCEL = 2,
    HELPDIALOG_CLIENT = 702,
    HELPDIALOG_HINTS = 703,
    HELPDIALOG_TUTOR = 704,
    HELPDIALOG_RULE_VIOLATION = 705,
    HELPDIALOG_MANUAL = 706,
    HELPDIALOG_FAQ = 707,
};

// The help menu: client help, hints, tutor channel, rule violation report, manual and FAQ. The frame's OK and
// Cancel (and Enter and Escape) close it; any identifier it does not know fails "unknown event".
class THelpDialog : public TParentComponent {
public:
    using TOpenURL = void (*)(const char* Url);
    explicit THelpDialog(TOpenURL OpenURL);

    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override;

    TOpenURL OpenURL;
};

// The titles of the known hints; OK (Enter, a double click) opens the selected hint in a mark-up box and
// this list again after it. Every identifier ends the dialog.
class THintsDialog : public TParentComponent {
public:
    THintsDialog();

    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override;

    TListBox* HintList;
};
