// The right-click menus of the game screen (a framed list of entries shown as the modal window) and the
// help popup of help mode with its placement beside the hovered element.
#pragma once

#include "gui/GUI.h"
#include "state/MapAutomap.h"
#include "state/Objects.h"

#include <cstdint>

class TEditField;
class TMarkupTextBox;
class TTalkLine;
class TTextBuffer;

// ---- Menu base ----

// The event numbers of the menu entries. A menu kind takes those of the entries it offers; where two kinds
// offer the same action the number is the same, and two numbers stand for different actions in different
// kinds (the channel tab's server-message entry, the text and edit menus' "Copy").
enum MENU_EVENT : int32_t {
    // Objects and creatures.
    MENU_LOOK = 10001,
    MENU_USE = 10002,
    MENU_USE_WITH = 10003,
    MENU_ATTACK = 10004,
    MENU_STOP_ATTACK = 10005,
    MENU_FOLLOW = 10006,
    MENU_STOP_FOLLOW = 10007,
    MENU_SET_OUTFIT = 10008,
    MENU_MOVE_UP = 10010,
    MENU_OPEN_HERE = 10011, // a container inside a container, in its window
    MENU_OPEN_NEW_WINDOW = 10012,
    MENU_TRADE_WITH = 10013,
    MENU_ROTATE = 10014,
    // Other players.
    MENU_ADD_TO_VIP = 10015,
    MENU_INVITE_TO_CHANNEL = 10016,
    MENU_EXCLUDE_FROM_CHANNEL = 10017,
    MENU_INVITE_TO_PARTY = 10018,
    MENU_JOIN_PARTY = 10019,
    MENU_LEAVE_PARTY = 10020,
    MENU_REVOKE_INVITATION = 10021,
    MENU_PASS_LEADERSHIP = 10022,
    MENU_RULE_VIOLATION = 10023,
    MENU_MESSAGE_TO = 10100,
    MENU_IGNORE = 10101, // or unignore
    // Channels and requests.
    MENU_SERVER_MESSAGES = 10100, // show or hide them in the tab shown
    MENU_SAVE_CHANNEL = 10102,
    MENU_CLOSE_CHANNEL = 10103,
    MENU_CLEAR_CHANNEL = 10105,
    MENU_PROCESS_REQUEST = 10106,
    MENU_REMOVE_REQUEST = 10107,
    // Texts.
    MENU_PASTE = 10200,
    MENU_CUT = 10201,
    MENU_DELETE = 10202,
    MENU_COPY = 10203,               // the selection
    MENU_COPY_CREATURE_NAME = 10203, // of the object and battle-list menus
    MENU_COPY_NAME = 10204,
    MENU_COPY_MESSAGE = 10205,
    MENU_SELECT_ALL = 10206,
    // The VIP list.
    MENU_NEW_VIP = 10300,
    MENU_REMOVE_VIP = 10301,
    MENU_EDIT_VIP = 10302,
    MENU_MESSAGE_TO_VIP = 10303,
    MENU_SORT_BY_NAME = 10304,
    MENU_SORT_BY_TYPE = 10305,
    MENU_SORT_BY_STATUS = 10306,
    MENU_OFFLINE_VIPS = 10307, // show or hide them
    // Automap marks.
    MENU_SET_MARK = 10400,
    MENU_EDIT_MARK = 10401,
    MENU_DELETE_MARK = 10403,
    // Skill bars, each shown or hidden: level, magic level, then the skills from MENU_FIRST_SKILL_BAR.
    MENU_LEVEL_BAR = 10500,
    MENU_MAGIC_LEVEL_BAR = 10501,
    MENU_FIRST_SKILL_BAR = 10502,
    MENU_SHOW_ALL_BARS = 10509,
    MENU_HIDE_ALL_BARS = 10510,
};

class TContextMenuEntry : public TLeafComponent {
public:
    // Shortcut NULL: none. Texts longer than the fields are cut.
    TContextMenuEntry(const char* _Text, const char* _Shortcut, TComponent* Target, int32_t Identifier);
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;

    char Text[50];
    char Shortcut[20]; // "" when there is none
    TNotification Binding;
};

// Built whole in the kind's constructor, which ends with layout. Any left release, a right click or Escape
// ends the menu (action state none); a release on an entry first fires the entry's event into handleEvent.
class TContextMenu : public TParentComponent {
public:
    TContextMenu();

    void arrange() override; // the nine frame pieces for the present size
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override;
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Event) override;

    // Checks "Text!=NULL", "strlen(Text)<50" and "Shortcut==NULL || strlen(Shortcut)<20".
    void AddEntry(int32_t Event, const char* Text, const char* Shortcut = nullptr);
    void addSeparator();
    // Stacks the children, frames them and places the menu at the pointer (X, Y) inside the parent's size,
    // flipping left or up where it would reach the edge.
    void layout(int32_t X, int32_t Y, int32_t ParentWidth, int32_t ParentHeight);

    int32_t EntryWidth = 0;
    bool SeparatorPending = false; // a separator goes in before the next entry
    bool NoEntries = true;
};

// ---- Help popup ----

class THelpPopup : public TParentComponent {
public:
    // HelpText: mark-up; checks "HelpText!=NULL".
    explicit THelpPopup(const char* HelpText);

    // Sizes are made 3 modulo 4, then kept within 43 x 43 to 322 x 447.
    void setSize(int32_t Width, int32_t Height) override;
    int32_t getMinimumWidth() const override;
    int32_t getMinimumHeight() const override;
    void arrange() override;
    void keyPressed(int32_t) override {}
    void handleEvent(int32_t) override {}

    TMarkupTextBox* TextBox; // a child
};

// True when the popup fits at (x, y) with 3 pixels to every edge of Parent; a candidate x or y of 0 becomes 3
// first, in the caller's variables.
bool FitsInParent(int32_t& x, int32_t& y, int32_t Width, int32_t Height, const TComponent& Parent);
// Places the popup beside the help rectangle (GetHelpRectangle) inside Parent, else in a top corner away
// from the pointer.
void PlacePopup(THelpPopup& Popup, const TComponent& Parent);

// ---- Object menu (event 52) ----

// Acts on copies of the look target, the use target and the menu creature taken when it is built.
class TObjectMenu : public TContextMenu {
public:
    TObjectMenu(int32_t X, int32_t Y, int32_t ParentWidth, int32_t ParentHeight);
    void handleEvent(int32_t Event) override;

    TObject LookedObject;
    int32_t LookedObjectPosition = 0;
    int32_t LookedObjectX = 0, LookedObjectY = 0, LookedObjectZ = 0;
    TObject UsedObject;
    int32_t UsedObjectPosition = 0;
    int32_t UsedObjectX = 0, UsedObjectY = 0, UsedObjectZ = 0;
    uint32_t MenuCreature = 0;
};

// ---- Battle-list, VIP and chat-line menus (events 53 to 55) ----

class TCreatureMenu : public TContextMenu {
public:
    TCreatureMenu(uint32_t CreatureID, int32_t X, int32_t Y, int32_t ParentWidth, int32_t ParentHeight);
    void handleEvent(int32_t Event) override;

    uint32_t CreatureID;
};

class TBuddyMenu : public TContextMenu {
public:
    // CharacterID 0: the click hit no VIP line.
    TBuddyMenu(uint32_t CharacterID, int32_t X, int32_t Y, int32_t ParentWidth, int32_t ParentHeight);
    void handleEvent(int32_t Event) override;

    uint32_t _CharacterID;
};

// What the chat-line and request menus need of the console's text view; the console's view provides it.
class TChatTextView {
public:
    virtual ~TChatTextView() = default;
    // The line shown on display line LineNumber; NULL when there is none or the buffer allows no selection.
    virtual TTalkLine* getTalkLine(int32_t LineNumber) = 0;
    virtual TTextBuffer* getTextBuffer() const = 0;
    virtual bool hasSelection() = 0;
    virtual const char* getSelectedText() = 0; // owned by the view; NULL without a selection
    virtual bool selectAll() = 0;              // false when the rows cannot be selected now
};

// What the channel-tab and request menus need of the console window; the console provides it.
class TChatConsole {
public:
    virtual ~TChatConsole() = default;
    virtual TTextBuffer* getCurrentTextBuffer() = 0;
    // The shown tab's server-message flag; not for the default tab.
    virtual bool getServerMessages() = 0;
    virtual void setServerMessages(bool On) = 0;
    virtual void closeCurrentTab() = 0;
    virtual bool saveCurrentChannel() = 0; // false when the file cannot be opened or written
    virtual TTextBuffer* openChannel(int32_t ReceiveMode, int32_t SendMode, const char* Name,
                                     int32_t ChannelID, const char* Caption) = 0;
    virtual TChatTextView* getTextView() = 0;
};

class TTextMenu : public TContextMenu {
public:
    TTextMenu(TChatTextView* TextWindow, int32_t LineNumber, int32_t X, int32_t Y, int32_t ParentWidth,
              int32_t ParentHeight);
    void handleEvent(int32_t Event) override;

    TChatTextView* _TextWindow;
    int32_t _LineNumber;
};

// The reported chat statement that the chat-line menu posts with event 28: one heap block, freed with
// FreeMessageBlock like the event's other parameters. The message text follows the record in the block.
struct TReportedStatement {
    int32_t StatementID;
    int32_t Mode;
    char Speaker[30];
};
TReportedStatement* NewReportedStatement(int32_t StatementID, int32_t Mode, const char* Speaker,
                                         const char* Message);
const char* GetReportedMessage(const TReportedStatement& Statement);

// ---- Channel-tab, request, edit-field, automap and skills menus (events 56 to 60) ----

class TChannelMenu : public TContextMenu {
public:
    TChannelMenu(TChatConsole* ConsoleWindow, int32_t X, int32_t Y, int32_t ParentWidth,
                 int32_t ParentHeight);
    void handleEvent(int32_t Event) override;

    TChatConsole* _ConsoleWindow;
    bool _ShowServerMessages = false; // what the server-message entry sets
};

class TRequestMenu : public TContextMenu {
public:
    TRequestMenu(TChatConsole* ConsoleWindow, int32_t LineNumber, int32_t X, int32_t Y, int32_t ParentWidth,
                 int32_t ParentHeight);
    void handleEvent(int32_t Event) override;

    TChatConsole* _ConsoleWindow;
    int32_t _LineNumber;
};

class TEditMenu : public TContextMenu {
public:
    TEditMenu(TEditField* Edit, int32_t X, int32_t Y, int32_t ParentWidth, int32_t ParentHeight);
    void handleEvent(int32_t Event) override;

    TEditField* _Edit;
};

// The automap's menu record: the clicked field and the mark under the pointer (x and y 0: none).
struct TMarkMenuData {
    int32_t x, y, z;
    TMapMark Mark;
};

class TMarkMenu : public TContextMenu {
public:
    // Data: the event's heap block (the dispatcher frees it); the menu keeps a copy.
    TMarkMenu(TMarkMenuData* Data, int32_t X, int32_t Y, int32_t ParentWidth, int32_t ParentHeight);
    void handleEvent(int32_t Event) override;

    TMarkMenuData _Data{};
};

class TSkillsMenu;

// The skills window's side of its menu: the window derives from this. Whichever of the two goes first
// clears the other's pointer.
class TSkillsMenuHost {
public:
    TSkillsMenuHost() = default;
    TSkillsMenuHost(const TSkillsMenuHost&) = delete;
    TSkillsMenuHost& operator=(const TSkillsMenuHost&) = delete;
    // Shows the bars chosen in the options at once.
    virtual void arrangeBars() = 0;

    TSkillsMenu* SkillsMenu = nullptr;

protected:
    virtual ~TSkillsMenuHost();
};

class TSkillsMenu : public TContextMenu {
public:
    TSkillsMenu(TSkillsMenuHost* SkillsWindow, int32_t X, int32_t Y, int32_t ParentWidth,
                int32_t ParentHeight);
    ~TSkillsMenu() override;
    void handleEvent(int32_t Event) override;

    TSkillsMenuHost* _SkillsWindow = nullptr;
};

// ---- Opening ----

// Each builds its menu at the pointer inside the main window from the parameters of its event (52 to 60):
// 53 the creature ID, 54 the VIP character ID or 0, 55 and 57 the display line, 58 the TEditField, 59 a
// TMarkMenuData heap block (copied), 60 the skills window as its TSkillsMenuHost. NULL when there is no main
// window, or for 55 to 57 while the console is not a TChatConsole.
TComponent* OpenObjectMenu(intptr_t Param1, intptr_t Param2);
TComponent* OpenCreatureMenu(intptr_t CreatureID, intptr_t Param2);
TComponent* OpenBuddyMenu(intptr_t CharacterID, intptr_t Param2);
TComponent* OpenTextMenu(intptr_t Line, intptr_t Param2);
TComponent* OpenChannelMenu(intptr_t Param1, intptr_t Param2);
TComponent* OpenRequestMenu(intptr_t Line, intptr_t Param2);
TComponent* OpenEditMenu(intptr_t Edit, intptr_t Param2);
TComponent* OpenMarkMenu(intptr_t Data, intptr_t Param2);
TComponent* OpenSkillsMenu(intptr_t Window, intptr_t Param2);
// The help popup's placement when the main window changes: Popup must be a THelpPopup, Root the main window.
void PlaceHelpPopupInWindow(TComponent* Popup, TComponent* Root);
