// The internal event queue: events posted by handlers, windows and dialogs, taken by the controller's
// dispatcher.
#pragma once

#include <cstddef>
#include <cstdint>

// Event types. Where an event carries heap parameters, the poster allocates them with NewMessageText or
// NewMessageBlock and gives up ownership when posting.
enum MESSAGE_TYPE : int32_t {
    MESSAGE_NONE = 0,              // empty queue
    MESSAGE_MESSAGEBOX = 1,        // title (static), heap text
    MESSAGE_MESSAGEBOX2 = 2,       // title (static), heap text
    MESSAGE_LOADINGCHARACTERS = 3, // "Connecting": the character list is being loaded
    MESSAGE_CONNECTINGGAME = 4,    // "Connecting": to the game world
    MESSAGE_WAITINGLIST = 5,       // heap text, seconds to wait
    MESSAGE_YESNOBOX = 6,          // heap record of four words: title, text, target, event
    MESSAGE_LOGOUTBOX = 7,         // heap record of two text pointers
    MESSAGE_LOGINDIALOG = 8,
    MESSAGE_WAITFORCHARACTERS = 9,   // time-out
    MESSAGE_CHARACTERLIST = 10,      // countdown in tenths of a second
    MESSAGE_LINKWARNING = 11,        // title (static)
    MESSAGE_ACCOUNTDATAWARNING = 12, // title (static)
    MESSAGE_MOVECOUNT = 13,
    MESSAGE_EDITTEXT = 14, // heap text, heap record of two heap texts
    MESSAGE_EDITLIST = 15, // heap texts
    MESSAGE_OUTFIT = 16,   // heap outfit data
    MESSAGE_BUGREPORT = 17,
    MESSAGE_CHANNELLIST = 18, // heap channel list, heap block or 0
    MESSAGE_INVITE = 19,
    MESSAGE_EXCLUDE = 20,
    MESSAGE_IGNORELIST = 21,
    MESSAGE_RULEVIOLATION = 22,
    MESSAGE_ADDVIP = 23,
    MESSAGE_EDITVIP = 24,       // VIP entry
    MESSAGE_ADDVIPNAME = 25,    // heap name
    MESSAGE_REMOVEVIPNAME = 26, // heap name
    MESSAGE_INFORMATION = 27,
    MESSAGE_GAMEMASTERRULEVIOLATION = 28, // heap texts, each or 0
    MESSAGE_NEWMAPMARK = 29,              // mark place
    MESSAGE_EDITMAPMARK = 30,             // mark place
    MESSAGE_HELP = 31,
    MESSAGE_HINTS = 32,
    MESSAGE_OPTIONS = 33,
    MESSAGE_NETWORKOPTIONS = 34,
    MESSAGE_GRAPHICSOPTIONS = 35,
    MESSAGE_ADVANCEDGRAPHICSOPTIONS = 36,
    MESSAGE_CONSOLEOPTIONS = 37,
    MESSAGE_HOTKEYOPTIONS = 38,
    MESSAGE_GENERALOPTIONS = 39,
    MESSAGE_MESSAGEOFTHEDAY = 40,
    MESSAGE_DOWNLOAD = 41, // file name (static), size
    MESSAGE_ERRORREPORTDIALOG = 42,
    MESSAGE_SENDERRORREPORTS = 43,
    MESSAGE_USEWITHCURSOR = 44,
    MESSAGE_TRADEWITHCURSOR = 45,
    MESSAGE_HELPCURSOR = 46,
    MESSAGE_OPENPRIVATECHANNEL = 47, // 0, heap name
    MESSAGE_OPENCHANNEL = 48,        // channel, heap name
    MESSAGE_OPENOWNCHANNEL = 49,     // channel, heap name
    MESSAGE_OPENREQUESTQUEUE = 50,   // channel of the registered request queue, 0
    MESSAGE_OPENREQUEST = 51,        // heap question
    MESSAGE_OBJECTMENU = 52,         // the first context menu; every type from here on is one
    MESSAGE_BATTLEMENU = 53,
    MESSAGE_VIPMENU = 54,
    MESSAGE_CHATTEXTMENU = 55,
    MESSAGE_CHANNELTABMENU = 56,
    MESSAGE_REQUESTCHANNELMENU = 57,
    MESSAGE_EDITFIELDMENU = 58,
    MESSAGE_MAPMARKMENU = 59,
    MESSAGE_SKILLSMENU = 60,
    MESSAGE_CONNECTLOGIN = 61,
    MESSAGE_CONNECTGAME = 62,
    MESSAGE_CHANGECHARACTER = 63,
    MESSAGE_WAITFORDISCONNECT = 64,
    MESSAGE_INSTALLOBJECTS = 65,
    MESSAGE_INSTALLSPRITES = 66,
    MESSAGE_INSTALLPICTURES = 67,
    MESSAGE_INSTALLPATCHER = 68,
    MESSAGE_RELOADOBJECTS = 69,
    MESSAGE_RELOADSPRITES = 70,
    MESSAGE_RELOADPICTURES = 71,
    MESSAGE_STARTPATCHER = 72,
};

// One event. The parameters are pointer-sized, so a number, a static text or a heap block fits either.
struct TMessage {
    int32_t Type = MESSAGE_NONE;
    intptr_t Param1 = 0;
    intptr_t Param2 = 0;
};

inline intptr_t MessageParameter(const void* Pointer) { return reinterpret_cast<intptr_t>(Pointer); }
template <typename T> T* MessagePointer(intptr_t Parameter) { return reinterpret_cast<T*>(Parameter); }

// Heap blocks that travel with an event: from the moment of posting they belong to the event; the dispatcher
// frees them after the event's action, ClearMessages when the queue is emptied.
char* NewMessageText(const char* Text); // terminated copy; NULL gives an empty text
void* NewMessageBlock(size_t Bytes);    // zero-filled
void FreeMessageBlock(void* Block);     // NULL does nothing
// Frees what an event of Type owns: types 1, 2 and 47 to 50 Param2; 5, 6, 7, 16, 25, 26 and 51 Param1; 14
// Param1, the two texts of the record Param2 points to, then the record; 15 both; 18 Param1 and Param2; 28
// both. NULL parameters are skipped; other types own nothing.
void FreeMessageParameters(int32_t Type, intptr_t Param1, intptr_t Param2);

// Queue, first in first out. Type 0 is refused: at the front it would stall every event behind it.
int32_t AddMessage(int32_t Type, intptr_t Param1, intptr_t Param2);         // the new count
int32_t AddPriorityMessage(int32_t Type, intptr_t Param1, intptr_t Param2); // at the front; the new count
int32_t PeekMessageType();                                                  // MESSAGE_NONE when empty
bool IsMessageQueued(int32_t Type);                                         // an event of Type waits
// The first event's values, all 0 when the queue is empty; ownership of heap parameters passes to the caller.
void PopMessage(int32_t& Type, intptr_t& Param1, intptr_t& Param2);
// Empties the queue and frees every queued event's heap parameters.
void ClearMessages();
int32_t GetMessageCount();

// What the dispatching pass needs of the client control and the game screen, filled in by the controller.
class TMessageActions {
public:
    virtual ~TMessageActions() = default;
    virtual bool hasModalWindow() = 0;
    // The modal window has finished: destroy it, clear the slot, activate the console input, draw a frame.
    virtual void destroyModalWindow() = 0;
    virtual bool isMouseCaptured() = 0;
    // Acts on an event of type 1..72 other than 64, which the pass handles itself. The pass frees the heap
    // parameters right after, so an action copies what it keeps.
    virtual void performMessage(int32_t Type, intptr_t Param1, intptr_t Param2) = 0;
    // The action opened a modal window: centre a dialog or keep a context menu at the mouse, and deactivate
    // the console input.
    virtual void placeModalWindow(bool IsContextMenu) = 0;
    // In game, once per pass: advance the creatures and send the walk path when they ask for it.
    virtual void moveCreatures() = 0;
    virtual void drawFrame() = 0;
};

// One dispatching pass: destroys a finished modal window, then takes events while no modal window is open and
// nothing holds the mouse capture; an event that opens a dialog sets action state 10, one that opens a
// context menu 11. Event 64 while connected goes back to the front and ends the taking; event 72 ends the
// pass at once. In game the creatures move; last a frame is drawn. A type outside 1..72 throws "unknown
// message type".
void DispatchMessages(TMessageActions& Actions);
