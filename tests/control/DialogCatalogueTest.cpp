// The catalogue of the modal windows, entry by entry: each event type of the catalogue opens its window
// through the idle pass's dispatch from parameters made as their posters make them, in a game with the
// game screen shown; a dialog is framed and centred, a context menu keeps its place.
#include "GameDialogFixture.h"

#include "control/DialogsCatalogue.h"
#include "gui/DialogElementsEdit.h"
#include "screen/ContextMenus.h"
#include "state/Creatures.h"
#include "state/CreaturesBuddies.h"
#include "state/CreaturesPlayer.h"
#include "state/Inventory.h"
#include "state/Map.h"
#include "state/MapAutomap.h"
#include "state/StatusReports.h"
#include "state/Talk.h"
#include "state/TalkRouting.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <utility>

namespace {

constexpr uint32_t FRIEND = 77;

// The skills window's side of its menu.
class TSkillsHost : public TSkillsMenuHost {
public:
    void arrangeBars() override {}
};

template <typename T> intptr_t Block(const T& Value) {
    T* Copy = static_cast<T*>(NewMessageBlock(sizeof(T)));
    *Copy = Value;
    return MessageParameter(Copy);
}

intptr_t HeapText(const char* Text) { return MessageParameter(NewMessageText(Text)); }

class DialogCatalogue : public GameScreenDialogTest {
protected:
    void SetUp() override {
        GameScreenDialogTest::SetUp();
        ResetBuddyList();
        AddBuddy(FRIEND, "Dunja", true);
        SetDragSource({COINS, 10, 0}, 2, 32000, 32001, 7);
        SetDropPosition(32001, 32001, 7);
        SetLookTarget({SIGN, 0, 0}, 1, 32000, 32001, 7);
        SetUseTarget({SIGN, 0, 0}, 1, 32000, 32001, 7);
        ClearErrorReports();
        StartErrorReport("Crash");
        Field = std::make_unique<TEditField>(20, false);
    }
    void TearDown() override {
        ClearErrorReports();
        GameScreenDialogTest::TearDown();
    }

    // The event's parameters, heap blocks as their posters allocate them; the dispatch frees them.
    std::pair<intptr_t, intptr_t> parameters(int32_t Type) {
        switch (Type) {
        case MESSAGE_MESSAGEBOX:
        case MESSAGE_MESSAGEBOX2:
            return {MessageParameter("Sorry"), HeapText("A text.")};
        case MESSAGE_WAITINGLIST:
            return {HeapText("Too many players online."), 5};
        case MESSAGE_YESNOBOX:
        case MESSAGE_LOGOUTBOX: {
            intptr_t Record[4] = {MessageParameter("Warning"), MessageParameter("Sure?"),
                                  MessageParameter(GetMainWindow()), 506};
            intptr_t* Copy = static_cast<intptr_t*>(NewMessageBlock(sizeof(Record)));
            std::copy(std::begin(Record), std::end(Record), Copy);
            return {MessageParameter(Copy), 0};
        }
        case MESSAGE_WAITFORCHARACTERS:
            return {20, 0};
        case MESSAGE_CHARACTERLIST:
            return {300, 0};
        case MESSAGE_LINKWARNING:
        case MESSAGE_ACCOUNTDATAWARNING:
            return {MessageParameter("Warning"), 0};
        case MESSAGE_EDITTEXT: {
            intptr_t* Texts = static_cast<intptr_t*>(NewMessageBlock(2 * sizeof(intptr_t)));
            Texts[0] = HeapText("Ardan");
            Texts[1] = HeapText("Chapter one");
            return {Block(std::array<int32_t, 3>{7, BOOK, 0}), MessageParameter(Texts)};
        }
        case MESSAGE_EDITLIST:
            return {Block(std::array<int32_t, 2>{1, 9}), HeapText("Dunja")};
        case MESSAGE_OUTFIT:
            return {Block(std::array<int32_t, 7>{1, 10, 20, 30, 40, 1, 8}), 0};
        case MESSAGE_CHANNELLIST:
            return {Block(std::array<uint32_t, 2>{1, 3}), 0};
        case MESSAGE_EDITVIP:
            return {FRIEND, 0};
        case MESSAGE_GAMEMASTERRULEVIOLATION:
            return {HeapText("Brenna"), 0};
        case MESSAGE_NEWMAPMARK:
            return {Block(TCoordinate{32000, 32000, 7}), 0};
        case MESSAGE_EDITMAPMARK:
            return {Block(TCoordinate{32000, 32000, 7}), Block(TMapMark{32000, 32000, 3, "Depot"})};
        case MESSAGE_DOWNLOAD:
            return {MessageParameter("Ebrun.spr"), 1000};
        case MESSAGE_BATTLEMENU:
            return {PLAYER, 0};
        case MESSAGE_VIPMENU:
            return {FRIEND, 0};
        case MESSAGE_EDITFIELDMENU:
            return {MessageParameter(Field.get()), 0};
        case MESSAGE_MAPMARKMENU:
            return {Block(TMarkMenuData{32000, 32000, 7, {}}), 0};
        case MESSAGE_SKILLSMENU:
            return {MessageParameter(static_cast<TSkillsMenuHost*>(&Skills)), 0};
        default:
            return {0, 0};
        }
    }

    std::unique_ptr<TEditField> Field;
    TSkillsHost Skills;
};

} // namespace

TEST_F(DialogCatalogue, EveryEntryOpensItsWindowFromTheParametersOfItsEvent) {
    for (const TCatalogueEntry& Entry : GetWindowCatalogue()) {
        SCOPED_TRACE("event " + std::to_string(Entry.Type));
        const auto [Param1, Param2] = parameters(Entry.Type);
        SetMousePosition(40, 50);
        AddMessage(Entry.Type, Param1, Param2);
        ProcessMessages();
        ASSERT_NE(GetModalWindow(), nullptr);
        if (Entry.Type < MESSAGE_OBJECTMENU) {
            ASSERT_NE(Dialog(), nullptr);
            EXPECT_NE(Dialog()->_Caption[0], 0);
            EXPECT_EQ(GetActionState(), ACTIONSTATE_DIALOG);
            EXPECT_EQ(Dialog()->X, std::max(400 - Dialog()->Width / 2, 0));
        } else {
            EXPECT_NE(dynamic_cast<TContextMenu*>(GetModalWindow()), nullptr);
            EXPECT_EQ(GetActionState(), ACTIONSTATE_CONTEXTMENU);
            EXPECT_EQ(GetModalWindow()->X, 40);
        }
        SetActionState(ACTIONSTATE_NONE);
        ProcessMessages(); // the finished window goes
        EXPECT_EQ(GetModalWindow(), nullptr);
        ClearMessages(); // what a window queued when it opened or closed
    }
    EXPECT_EQ(FindWindowOpener(MESSAGE_ADDVIPNAME), nullptr) << "an event that opens no window";
}
