// The 44 teaching texts against the table of their titles, opening words, skins and stored lengths, and
// each laid out with the generated fonts in the box that shows it.
#include "screen/Help.h"

#include "graphics/graphics.h"
#include "gui/DialogElementsText.h"
#include "gui/DialogElementsViews.h"
#include "gui/SkinProperties.h"
#include "state/EventHints.h"
#include "tests/foundation/TempDirectory.h"
#include "tests/graphics/GraphicsTest.h"
#include "tests/state/StateTest.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Skins = std::vector<int32_t>;

struct THintRow {
    const char* Title;
    const char* Opening; // with the bold line's mark-up where the text has one
    int32_t Length;
};

// Index Number - 1.
const THintRow HintRows[EVENTHELPS] = {
    {"First Login",
     "<b>Welcome to Ebrun!<n>\n<br=5>Greetings wanderer! You are about to enter the mysterious world of "
     "Ebrun.",
     1311},
    {"NPC Mirabald", "You have met an NPC (Non-Player-Character) called Mirabald.", 741},
    {"Brackwold Crossroad", "You have taken your first steps into the village of Brackwold.", 1071},
    {"NPC Hesketh", "The academy is the village's main building. It is run by Hesketh.", 387},
    {"Buying & Selling", "In this shop you can trade with an NPC.", 657},
    {"Underground", "You have now entered a dungeon.", 1139},
    {"First Experience Points",
     "<b>Congratulations!<n>\n<br=5>You have gained your first experience points (XP)!", 669},
    {"Advancing to Level 2", "You advanced to Level 2!", 658},
    {"First Skill Advance",
     "You can check your character's current abilities by pressing the button labelled 'Skills'", 543},
    {"Reaching Level 8", "Characters of Level 8 or higher may leave Brackwold and choose a vocation.", 1455},
    {"Continent",
     "<b>Congratulations!<n>\n<br=5>You have finally mastered Brackwold and found your way to the mainland.",
     1175},
    {"Depot", "You have entered a depot - a warehouse where players can safely store items.", 1053},
    {"Player Killing", "<b>Watch out!<n>\n<br=5>You have just encountered a marked player.", 549},
    {"Level 20 and Security Information", "<b>Congratulations!<n>\n<br=5>You have reached level 20!", 1023},
};

struct THelpRow {
    int32_t Context;
    const char* Title;
    Skins SkinNumbers;
    int32_t Length; // before the skin numbers are filled in
};

const THelpRow HelpRows[] = {
    {10, "Automap", {65, 70, 72, 66, 68}, 1297},
    {11, "Status Bars", {}, 520},
    {12, "Inventory", {138}, 1244},
    {13, "Minimised Inventory", {140}, 853},
    {14, "Combat Controls and Other Buttons", {103, 105, 107, 109, 111, 113, 114}, 1286},
    {15, "Combat Controls and Other Buttons", {103, 105, 107, 109, 111, 113, 114, 115, 117}, 1261},
    {16, "Control Buttons", {}, 983},
    {17, "Skills", {}, 469},
    {18, "Battle", {}, 606},
    {19, "VIP", {}, 724},
    {20, "Open Containers", {126}, 716},
    {21, "Trade", {}, 706},
    {22, "Console", {197, 199, 201}, 1130},
    {23, "Console Channels", {195, 192, 188, 190}, 1106},
    {1000, "Creatures", {}, 448},
    {1001, "Your Character", {}, 269},
    {1002, "Containers", {}, 286},
    {1100, "Ladders", {}, 187},
    {1101, "Sewer Grates", {}, 293},
    {1102, "Dungeon Floor", {}, 239},
    {1103, "Levers", {}, 153},
    {1104, "Doors", {}, 154},
    {1105, "Special Doors", {}, 239},
    {1106, "Stairs", {}, 70},
    {1107, "Mailboxes", {}, 284},
    {1108, "Depot boxes", {}, 455},
    {1109, "Dustbins", {}, 146},
    {1110, "Stone Piles", {}, 301},
    {1111, "Signs", {}, 91},
    {1112, "Books and Scrolls", {}, 110},
};

Skins SkinsOf(const char* Text) {
    Skins Numbers;
    for (const char* P = Text; (P = std::strstr(P, "<SKIN=")) != nullptr; P++)
        Numbers.push_back(std::atoi(P + 6));
    return Numbers;
}

// The stored length: each filled-in skin number counted as the two characters of its "%d".
int32_t StoredLength(const char* Text, const Skins& Numbers) {
    int32_t Length = static_cast<int32_t>(std::strlen(Text));
    for (int32_t Skin : Numbers)
        Length -= static_cast<int32_t>(std::to_string(Skin).size()) - 2;
    return Length;
}

bool WithinTenPercent(int32_t Length, int32_t Target) { return std::abs(Length - Target) * 10 <= Target; }

} // namespace

TEST(HelpTexts, HintsHaveTheirTitlesOpeningWordsAndLengths) {
    for (int32_t Number = 1; Number <= EVENTHELPS; Number++) {
        const THintRow& Row = HintRows[Number - 1];
        SCOPED_TRACE(Row.Title);
        const char* Text = GetEventHelpText(Number);
        EXPECT_STREQ(GetEventHelpTitle(Number), Row.Title);
        EXPECT_EQ(FindEventHelp(Row.Title), Number);
        EXPECT_TRUE(std::string_view(Text).starts_with(Row.Opening));
        EXPECT_PRED2(WithinTenPercent, static_cast<int32_t>(std::strlen(Text)), Row.Length);
    }
    EXPECT_EQ(FindEventHelp("depot"), 12);
    EXPECT_EQ(FindEventHelp("Depo"), -1);
    for (int32_t Number : {0, EVENTHELPS + 1}) {
        EXPECT_TRUE(FailsWith([=] { GetEventHelpTitle(Number); }, "In(Number,1,EVENTHELPS)"));
        EXPECT_TRUE(FailsWith([=] { GetEventHelpText(Number); }, "In(Number,1,EVENTHELPS)"));
    }
}

TEST(HelpTexts, HelpTextsHaveTheirTitlesSkinsAndLengths) {
    ASSERT_EQ(GetHelpTextCount(), static_cast<int32_t>(std::size(HelpRows)));
    for (int32_t i = 0; i < GetHelpTextCount(); i++) {
        const THelpRow& Row = HelpRows[i];
        SCOPED_TRACE(Row.Context);
        EXPECT_EQ(GetHelpTextContext(i), Row.Context);
        const char* Text = GetHelpText(Row.Context);
        EXPECT_TRUE(std::string_view(Text).starts_with(std::string("<B>") + Row.Title + "<N>\n<br=5>"));
        EXPECT_EQ(SkinsOf(Text), Row.SkinNumbers);
        EXPECT_PRED2(WithinTenPercent, StoredLength(Text, Row.SkinNumbers), Row.Length);
    }
    EXPECT_STREQ(GetHelpText(1106),
                 "<B>Stairs<N>\n<br=5>To climb stairs just move your character onto them.");
}

namespace {

// The generated data files, so that the texts are measured in the fonts the client ships with.
class HelpTextLayout : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* Name : {"Ebrun.spr", "Ebrun.pic"})
            std::filesystem::copy_file(std::filesystem::path(EBRUN_DATA_DIR) / Name, Name);
        Engine = std::make_unique<TTestEngine>();
        InitGraphics(1 << 20);
        InitSkins();
        InitSkinProperties();
    }
    void TearDown() override {
        ExitSkins();
        ExitGraphics();
        Engine.reset();
    }

    // Lays Text out Width pixels wide with no height limit; fails when it takes more than Height pixels, when
    // a tag was not understood (its brackets would show) or when the skin pictures are not Expected.
    static void ExpectFits(const char* Text, int32_t Width, int32_t Height, const Skins& Expected) {
        TMarkupTextBox Box(Text);
        Box.setSize(Width, 100000);
        int32_t Bottom = 0;
        Skins Pictures;
        for (TComponent* Child = Box.getFirstChild(); Child != nullptr; Child = Child->getNext()) {
            Bottom = std::max(Bottom, Child->Y + Child->Height);
            EXPECT_LE(Child->X + Child->Width, Width);
            if (auto* Picture = dynamic_cast<TSkinImage*>(Child))
                Pictures.insert(Pictures.begin(), Picture->Skin);
            if (auto* Label = dynamic_cast<TTextLabel*>(Child)) {
                EXPECT_EQ(std::strpbrk(Label->getText(), "<>"), nullptr) << Label->getText();
            }
        }
        EXPECT_LE(Bottom, Height);
        EXPECT_EQ(Pictures, Expected);
    }

    TWorkingDirectory Directory;
    std::unique_ptr<TTestEngine> Engine;
};

} // namespace

TEST_F(HelpTextLayout, EveryTextFitsTheBoxThatShowsIt) {
    // The mark-up box of the dialog catalogue that shows a hint.
    constexpr int32_t HINT_BOX_WIDTH = 400, HINT_BOX_HEIGHT = 340;
    for (int32_t Number = 1; Number <= EVENTHELPS; Number++) {
        SCOPED_TRACE(GetEventHelpTitle(Number));
        ExpectFits(GetEventHelpText(Number), HINT_BOX_WIDTH, HINT_BOX_HEIGHT, Skins{});
    }
    // The largest help popup less its margins.
    const auto& Popup = SkinProperties.HelpPopup;
    const int32_t Width = Popup.MaximumWidth - Popup.TextMargins.x + Popup.TextMargins.width;
    const int32_t Height = Popup.MaximumHeight - Popup.TextMargins.y + Popup.TextMargins.height;
    for (const THelpRow& Row : HelpRows) {
        SCOPED_TRACE(Row.Context);
        ExpectFits(GetHelpText(Row.Context), Width, Height, Row.SkinNumbers);
    }
}
