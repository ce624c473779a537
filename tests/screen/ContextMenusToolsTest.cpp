// The console-tab, request, edit-field, automap and skills menus: entries from the state of their object and
// what their entries do.
#include "gui/DialogElementsEdit.h"
#include "gui/GUIServices.h"
#include "screen/MainWindow.h"
#include "state/MapAutomap.h"
#include "state/Preferences.h"
#include "state/Talk.h"
#include "tests/foundation/Thrown.h"
#include "tests/screen/ChatFakes.h"
#include "tests/screen/MenuFixture.h"

namespace {

using Lines = std::vector<std::string>;

class ToolMenu : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        InitTalk();
    }
    void TearDown() override {
        ExitTalk();
        MenuTest::TearDown();
    }
    static Lines Texts(TTextBuffer* Buffer) {
        Lines Result;
        for (TTalkLine* Line = Buffer->seekLine(0); Line != nullptr; Line = Buffer->nextLine())
            Result.push_back(Line->AfterStamp);
        return Result;
    }
};

// ---- console tabs ----

TEST_F(ToolMenu, TheDefaultTabOffersSavingAndClearingOnly) {
    TFakeConsole Console(DefaultTextBuffer());
    AddToTextBuffer(DefaultTextBuffer(), 0, "old", TALK_SAY, "Mara", 0);
    TChannelMenu Menu(&Console, 10, 10, 800, 600);
    EXPECT_EQ(Entries(Menu), (Lines{"Save Window", "Clear Window"}));
    Choose(Menu, "Save Window");
    EXPECT_EQ(Console.Log, Lines{"save"});
    Choose(Menu, "Clear Window");
    EXPECT_EQ(DefaultTextBuffer()->getNumberOfLines(), 0);
    EXPECT_NE(ThrownText([&] { Menu.handleEvent(MENU_PROCESS_REQUEST); }).find("unknown event"),
              std::string::npos);
    EXPECT_NE(ThrownText([] { TChannelMenu None(nullptr, 0, 0, 800, 600); }).find("_ConsoleWindow!=NULL"),
              std::string::npos);
}

TEST_F(ToolMenu, TheOwnChannelTabOffersInvitingAndTheServerMessageEntryFlips) {
    TTextBuffer* Channel = CreateTextBuffer(TALK_CHANNEL_CALL, TALK_CHANNEL_CALL, nullptr, 9);
    Channel->setOwnChannel(true);
    TFakeConsole Console(Channel);
    TChannelMenu Menu(&Console, 10, 10, 800, 600);
    EXPECT_EQ(Entries(Menu), (Lines{"Invite player", "Exclude player", "-", "Close", "Show server messages",
                                    "-", "Save Window", "Clear Window"}));
    Choose(Menu, "Show server messages");
    EXPECT_TRUE(Channel->ShowServerMessages);
    EXPECT_NE(Find(TChannelMenu(&Console, 10, 10, 800, 600), "Hide server messages"), nullptr);
    Choose(Menu, "Invite player");
    Choose(Menu, "Exclude player");
    EXPECT_EQ(EventTypes(), (std::vector<int32_t>{MESSAGE_INVITE, MESSAGE_EXCLUDE}));
    Choose(Menu, "Close");
    EXPECT_EQ(Console.Log, Lines{"close"});
    TFakeConsole Queue(CreateTextBuffer(TALK_GAMEMASTER_REQUEST, TALK_SAY, nullptr, 5)); // cannot be cleared
    EXPECT_EQ(Entries(TChannelMenu(&Queue, 10, 10, 800, 600)),
              (Lines{"Close", "Show server messages", "-", "Save Window"}));
}

// ---- request queue ----

TEST_F(ToolMenu, ProcessingARequestOpensAFreshConversationWithTheRequestFirst) {
    TTextBuffer* Queue = CreateTextBuffer(TALK_GAMEMASTER_REQUEST, TALK_SAY, nullptr, 5);
    TTextBuffer* Old = CreateTextBuffer(TALK_PLAYER_ANSWER, TALK_GAMEMASTER_ANSWER, "Mara", -1);
    AddToTextBuffer(Old, 3, "an earlier talk", TALK_PLAYER_ANSWER, "Mara", 0);
    Old->setOpen(false);
    TFakeConsole Console(Queue);
    Console.View.addLine(77, TALK_GAMEMASTER_REQUEST, "Mara", "I am stuck");
    TRequestMenu Menu(&Console, 0, 10, 10, 800, 600);
    EXPECT_EQ(Entries(Menu), (Lines{"Process Mara", "Remove Mara", "-", "Copy Name", "Copy Message"}));
    Choose(Menu, "Process Mara");
    EXPECT_EQ(Console.Log, Lines{"open Mara's Report"});
    EXPECT_EQ(Texts(Old), Lines{"Mara: I am stuck"});
    EXPECT_EQ(Old->seekLine(0)->_StatementID, 77);
    EXPECT_TRUE(Old->isOpen());
    EXPECT_EQ(Sent(), TWire(155).str("Mara").Bytes);
    Choose(Menu, "Remove Mara");
    EXPECT_EQ(Sent(), TWire(156).str("Mara").Bytes);
    Choose(Menu, "Copy Name");
    EXPECT_EQ(Clipboard(), "Mara");
}

TEST_F(ToolMenu, ARequestMenuBelowTheLinesIsOneEmptyEntryThatDoesNothing) {
    TFakeConsole Console(CreateTextBuffer(TALK_GAMEMASTER_REQUEST, TALK_SAY, nullptr, 5));
    Console.View.addLine(0, TALK_GAMEMASTER_REQUEST, nullptr, "no speaker");
    for (int32_t Line : {0, 3}) {
        TRequestMenu Menu(&Console, Line, 10, 10, 800, 600);
        EXPECT_EQ(Entries(Menu), Lines{""});
        Choose(Menu, "");
        Menu.handleEvent(MENU_PROCESS_REQUEST);
    }
    EXPECT_TRUE(NothingSent());
    EXPECT_TRUE(Console.Log.empty());
}

// ---- edit fields ----

TEST_F(ToolMenu, EditFieldEntriesFollowSelectionClipboardAndReadOnly) {
    SetClipboardText("");
    TEditField Field(30, false);
    Field.setText("hello world");
    EXPECT_EQ(Entries(TEditMenu(&Field, 10, 10, 800, 600)), Lines{"Select All"});
    SetClipboardText("pasted");
    Field.SelectionStart = 0;
    Field.SelectionLength = 5;
    TEditMenu Menu(&Field, 10, 10, 800, 600);
    EXPECT_EQ(Entries(Menu), (Lines{"Cut", "Copy", "Paste", "-", "Delete", "-", "Select All"}));
    Choose(Menu, "Cut");
    EXPECT_STREQ(Field.getText(), " world");
    EXPECT_EQ(Clipboard(), "hello");
    Choose(Menu, "Select All");
    EXPECT_TRUE(Field.hasSelection());

    TEditField ReadOnly(30, true);
    ReadOnly.setText("fixed");
    ReadOnly.SelectionStart = 0;
    ReadOnly.SelectionLength = 2;
    EXPECT_EQ(Entries(TEditMenu(&ReadOnly, 10, 10, 800, 600)), (Lines{"Copy", "-", "Select All"}));
    EXPECT_NE(ThrownText([&] { Menu.handleEvent(MENU_SERVER_MESSAGES); }).find("unknown event"),
              std::string::npos);
}

// ---- automap marks ----

// The automap posts its record in a heap block, which the menu takes over.
// The event's record, freed after the menu is built as the dispatcher frees it: the menu keeps a copy.
struct TMarkRecord {
    explicit TMarkRecord(const TMarkMenuData& Record)
        : Data(static_cast<TMarkMenuData*>(NewMessageBlock(sizeof(TMarkMenuData)))) {
        *Data = Record;
    }
    ~TMarkRecord() { FreeMessageBlock(Data); }
    TMarkMenuData* Data;
};

TEST_F(ToolMenu, AFieldWithoutMarkOffersSettingOneAndAMarkEditingOrDeleting) {
    TMarkMenu Empty(TMarkRecord({VX, VY, VZ, {}}).Data, 10, 10, 800, 600);
    EXPECT_EQ(Entries(Empty), Lines{"Set Mark"});
    Choose(Empty, "Set Mark");
    int32_t NewType;
    intptr_t Field, NoMark;
    PopMessage(NewType, Field, NoMark);
    EXPECT_EQ(NewType, MESSAGE_NEWMAPMARK);
    EXPECT_EQ(MessagePointer<TCoordinate>(Field)->x, VX);
    EXPECT_EQ(NoMark, 0);
    FreeMessageBlock(MessagePointer<void>(Field)); // as the dispatcher frees it

    AddMapMark(TCoordinate{VX + 1, VY, VZ}, "cave", 3);
    TMarkMenu Menu(TMarkRecord({VX + 1, VY, VZ, TMapMark{VX + 1, VY, 3, "cave"}}).Data, 10, 10, 800, 600);
    EXPECT_EQ(Entries(Menu), (Lines{"Edit Mark", "Delete Mark"}));
    Choose(Menu, "Edit Mark");
    int32_t Type;
    intptr_t Param1, Param2;
    PopMessage(Type, Param1, Param2);
    EXPECT_EQ(Type, MESSAGE_EDITMAPMARK);
    EXPECT_EQ(MessagePointer<TCoordinate>(Param1)->x, VX + 1);
    EXPECT_STREQ(MessagePointer<TMapMark>(Param2)->Text, "cave");
    FreeMessageBlock(MessagePointer<void>(Param1));
    FreeMessageBlock(MessagePointer<void>(Param2));
    Choose(Menu, "Delete Mark");
    TDynamicArray<TMapMark> Marks{0, 0, 10};
    int32_t Count = 0;
    GetAutomapMarks((VX + 1) / 256, VY / 256, VZ, Marks, Count);
    ASSERT_EQ(Count, 1);
    EXPECT_EQ(Marks.at(0).x, 0); // deleted
    EXPECT_NE(ThrownText([] { TMarkMenu None(nullptr, 0, 0, 800, 600); }).find("_Data!=NULL"),
              std::string::npos);
}

// ---- skills window ----

class TSkillsWindowProbe : public TSkillsMenuHost {
public:
    ~TSkillsWindowProbe() override = default;
    void arrangeBars() override { Arranged++; }
    int32_t Arranged = 0;
};

TEST_F(ToolMenu, SkillBarTogglesAndTheAllEntriesRearrangeTheWindow) {
    TSkillsWindowProbe Window;
    TSkillsMenu Menu(&Window, 10, 10, 800, 600);
    EXPECT_EQ(Window.SkillsMenu, &Menu);
    EXPECT_EQ(Entries(Menu),
              (Lines{"Hide Level", "Hide Magic Level", "Hide Fist Fighting", "Hide Club Fighting",
                     "Hide Sword Fighting", "Hide Axe Fighting", "Hide Distance Fighting", "Hide Shielding",
                     "Hide Fishing", "-", "Show all Skill Bars", "Hide all Skill Bars"}));
    Choose(Menu, "Hide Fishing");
    EXPECT_FALSE(GetSkillBar(6));
    EXPECT_TRUE(GetSkillBar(5));
    Choose(Menu, "Hide all Skill Bars");
    EXPECT_EQ(Window.Arranged, 2);
    const Lines Hidden = Entries(TSkillsMenu(&Window, 10, 10, 800, 600));
    EXPECT_EQ(Lines(Hidden.begin(), Hidden.begin() + 9),
              (Lines{"Show Level", "Show Magic Level", "Show Fist Fighting", "Show Club Fighting",
                     "Show Sword Fighting", "Show Axe Fighting", "Show Distance Fighting", "Show Shielding",
                     "Show Fishing"}));
    Choose(Menu, "Show all Skill Bars");
    EXPECT_TRUE(GetLevelBar() && GetMagLevelBar() && GetSkillBar(0) && GetSkillBar(6));
    EXPECT_NE(ThrownText([&] { Menu.handleEvent(10511); }).find("unknown event"), std::string::npos);
}

TEST_F(ToolMenu, EitherTheSkillsWindowOrItsMenuMayGoFirst) {
    auto Window = std::make_unique<TSkillsWindowProbe>();
    TSkillsMenu Menu(Window.get(), 10, 10, 800, 600);
    Window.reset();
    Choose(Menu, "Hide Level"); // no window left to arrange
    EXPECT_FALSE(GetLevelBar());
    TSkillsWindowProbe Other;
    std::make_unique<TSkillsMenu>(&Other, 10, 10, 800, 600).reset();
    EXPECT_EQ(Other.SkillsMenu, nullptr);
}

} // namespace

namespace {

// ---- opening through the controller's factories ----

class OpenMenu : public ToolMenu {
protected:
    void SetUp() override {
        ToolMenu::SetUp();
        SetActionState(ACTIONSTATE_NONE);
        InitMainWindow(
            640, 480, [] {}, [](int32_t) {}, [](const char*) {});
    }
    void TearDown() override {
        ExitMainWindow();
        ToolMenu::TearDown();
    }
};

TEST_F(OpenMenu, OpenersBuildEachMenuAtThePointerKeptInsideTheMainWindow) {
    SetMousePosition(635, 475);
    std::unique_ptr<TComponent> Menu(OpenBuddyMenu(0, 0));
    ASSERT_NE(dynamic_cast<TBuddyMenu*>(Menu.get()), nullptr);
    EXPECT_EQ(Menu->X + Menu->getWidth(), 635);
    EXPECT_EQ(Menu->Y + Menu->getHeight(), 475);
    SetMousePosition(20, 30);
    TSkillsWindowProbe Window;
    Menu.reset(OpenSkillsMenu(MessageParameter(static_cast<TSkillsMenuHost*>(&Window)), 0));
    EXPECT_EQ(Window.SkillsMenu, Menu.get());
    EXPECT_EQ(Menu->X, 20);
    EXPECT_EQ(Menu->Y, 30);
    // Without a chat console the console's menus are not built.
    EXPECT_EQ(OpenChannelMenu(0, 0), nullptr);

    THelpPopup Popup("Help");
    SetHelpOrigin(300, 200);
    SetHelpExtent(20, 20);
    PlaceHelpPopupInWindow(&Popup, GetMainWindow());
    EXPECT_EQ(Popup.X, 300 - Popup.getWidth() - 3);
}

} // namespace
