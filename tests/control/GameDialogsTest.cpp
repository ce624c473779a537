// The move count, text, list edit and outfit dialogs opened by their events and driven through the
// controller: what they show, what their OK sends, and that Cancel sends nothing.
#include "GameDialogFixture.h"

#include "control/DialogsMoveCount.h"
#include "control/DialogsOutfit.h"
#include "control/DialogsText.h"
#include "gui/DialogElementsMultiLine.h"
#include "gui/DialogElementsScroll.h"
#include "gui/DialogElementsViews.h"
#include "gui/KeyCodes.h"
#include "network/Communication.h"
#include "state/Status.h"

#include <string>

namespace {

intptr_t TextEvent(int32_t Identifier, int32_t ObjectType, const char* Author, const char* Text,
                   intptr_t& Texts) {
    int32_t* Record = static_cast<int32_t*>(NewMessageBlock(3 * sizeof(int32_t)));
    Record[0] = Identifier;
    Record[1] = ObjectType;
    intptr_t* Pair = static_cast<intptr_t*>(NewMessageBlock(2 * sizeof(intptr_t)));
    Pair[0] = MessageParameter(NewMessageText(Author));
    Pair[1] = MessageParameter(NewMessageText(Text));
    Texts = MessageParameter(Pair);
    return MessageParameter(Record);
}

} // namespace

class MoveCount : public GameDialogTest {
protected:
    TMoveCountDialog* open(int32_t Count) {
        SetDragSource({COINS, Count, 0}, 2, 32000, 32001, 7);
        SetDropPosition(65535, 64, 3);
        Open(MESSAGE_MOVECOUNT);
        return Body<TMoveCountDialog>();
    }
};

TEST_F(MoveCount, OkSendsTheChosenCountFromTheDragSourceToTheDropPlace) {
    TMoveCountDialog* Body = open(60);
    ASSERT_NE(Body, nullptr);
    EXPECT_EQ(Caption(), "Move Objects");
    EXPECT_EQ(Body->getCount(), 60);
    KeyPressed(KEY_END);
    EXPECT_EQ(Body->getCount(), 1);
    KeyPressed(KEY_HOME);
    EXPECT_EQ(Body->getCount(), 60);
    Type("5");
    EXPECT_EQ(Body->getCount(), 5);
    KeyPressed(KEY_PAGE_DOWN);
    EXPECT_EQ(Body->getCount(), 1) << "never below one piece";
    Type("25");
    EXPECT_EQ(Body->getCount(), 25);
    Type("0");
    EXPECT_EQ(Body->getCount(), 50) << "only the last two digits count";
    Type("79");
    EXPECT_EQ(Body->getCount(), 60) << "held to the stack";
    // A later drag cannot change what the open dialog sends.
    SetDragSource({COINS, 3, 0}, 0, 1, 1, 1);
    SetDropPosition(5, 5, 5);
    DrawFrame(false); // the picture shows the chosen count
    KeyPressed(KEY_ENTER);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
    EXPECT_EQ(Sent(),
              std::vector<uint8_t>(
                  TWire(120).u16(32000).u16(32001).u8(7).u16(COINS).u8(2).u16(65535).u16(64).u8(3).u8(60)));
}

TEST_F(MoveCount, CancelSendsNothingAndAStackBeyondAHundredOpensNothing) {
    ASSERT_NE(open(10), nullptr);
    Click(Dialog()->CancelButton);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(open(101), nullptr);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
    SetDragSource({0, 0, 0}, 0, 0, 0, 0);
    Open(MESSAGE_MOVECOUNT);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_TRUE(NothingSent());
}

class TextDialogs : public GameDialogTest {
protected:
    TTextDialog* openText(int32_t ObjectType, const char* Author, const char* Text) {
        intptr_t Texts = 0;
        intptr_t Record = TextEvent(4711, ObjectType, Author, Text, Texts);
        Open(MESSAGE_EDITTEXT, Record, Texts);
        return Body<TTextDialog>();
    }
    static std::string Introduction(TComponent* Body) {
        for (TComponent* C = Body->getFirstChild(); C != nullptr; C = C->getNext())
            if (auto* Label = dynamic_cast<TTextLabel*>(C)) return Label->getText();
        return "";
    }
};

TEST_F(TextDialogs, AWritableTextIsEditedAndSentWhole) {
    TTextDialog* Body = openText(BOOK, "Anna", "Hello");
    ASSERT_NE(Body, nullptr);
    EXPECT_EQ(Caption(), "Edit Text");
    EXPECT_EQ(Introduction(Body), "You read the following, written by\nAnna.\nYou can enter new text.");
    ASSERT_NE(Dialog()->CancelButton, nullptr);
    Type(" world");
    KeyPressed(KEY_ENTER); // a line break in the text, not OK
    Type("!");
    EXPECT_NE(GetModalWindow(), nullptr);
    Click(Dialog()->OkButton);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(137).u32(4711).str("Hello world\n!")));
}

TEST_F(TextDialogs, WriteOnceTextsAreEditableOnlyWhileEmpty) {
    TTextDialog* Body = openText(LETTER, "", "");
    ASSERT_NE(Body, nullptr);
    EXPECT_EQ(Caption(), "Edit Text");
    EXPECT_EQ(Introduction(Body), "It is currently empty.\nYou can enter new text.");
    Type("Dear Bert");
    Click(Dialog()->OkButton);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(137).u32(4711).str("Dear Bert")));

    Body = openText(LETTER, "", "Dear Bert");
    ASSERT_NE(Body, nullptr);
    EXPECT_EQ(Caption(), "Show Text");
    EXPECT_EQ(Introduction(Body), "You read the following.");
    EXPECT_EQ(Dialog()->CancelButton, nullptr);
    Type("xyz");
    EXPECT_STREQ(Body->TextField->getText(), "Dear Bert");
    KeyPressed(KEY_ENTER); // as OK: only closes
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_TRUE(NothingSent());
}

TEST_F(TextDialogs, ALongServerTextIsShownWholeButSentOnlyAsFarAsOneMessageCarries) {
    const std::string Long(3000, 'a');
    ASSERT_NE(openText(SIGN, "", ""), nullptr);
    EXPECT_EQ(Introduction(Body<TTextDialog>()), "It is empty.");
    KeyPressed(KEY_ESCAPE);
    TTextDialog* Body = openText(SIGN, "", Long.c_str());
    ASSERT_NE(Body, nullptr);
    EXPECT_EQ(Body->TextField->getText(), Long);
    Click(Dialog()->OkButton); // only closes: the next message sent is the book's
    ASSERT_NE(openText(BOOK, "", Long.c_str()), nullptr);
    Click(Dialog()->OkButton);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(137).u32(4711).str(std::string(EDIT_TEXT_LIMIT, 'a'))));
}

TEST_F(TextDialogs, TheListIsEditedAndSentWithItsTypeAndIdentifier) {
    int32_t* Record = static_cast<int32_t*>(NewMessageBlock(2 * sizeof(int32_t)));
    Record[0] = 3;
    Record[1] = 77;
    Open(MESSAGE_EDITLIST, MessageParameter(Record), MessageParameter(NewMessageText("Anna")));
    ASSERT_NE(Body<TListEditDialog>(), nullptr);
    EXPECT_EQ(Caption(), "Edit List");
    KeyPressed(KEY_ENTER);
    Type("Bert");
    Click(Dialog()->OkButton);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(138).u8(3).u32(77).str("Anna\nBert")));

    // A server list longer than the field opens cut to it; Cancel sends nothing.
    Record = static_cast<int32_t*>(NewMessageBlock(2 * sizeof(int32_t)));
    Open(MESSAGE_EDITLIST, MessageParameter(Record),
         MessageParameter(NewMessageText(std::string(2500, 'x').c_str())));
    ASSERT_NE(Body<TListEditDialog>(), nullptr);
    EXPECT_EQ(Body<TListEditDialog>()->TextField->getLength(), 1999);
    Click(Dialog()->CancelButton);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_TRUE(NothingSent());
}

class OutfitDialog : public GameDialogTest {
protected:
    TOutfitDialog* open(int32_t Look, int32_t Feet) {
        int32_t* Record = static_cast<int32_t*>(NewMessageBlock(7 * sizeof(int32_t)));
        const int32_t Values[7] = {Look, 1, 2, 3, Feet, 134, 128}; // reversed, and beyond the known looks
        memcpy(Record, Values, sizeof(Values));
        SetOutfitRequested(true);
        Open(MESSAGE_OUTFIT, MessageParameter(Record));
        return Body<TOutfitDialog>();
    }
};

TEST_F(OutfitDialog, PartsAndColoursChangeOnlyThePreviewPartChosen) {
    TOutfitDialog* Body = open(200, 140);
    ASSERT_NE(Body, nullptr);
    EXPECT_FALSE(GetOutfitRequested());
    EXPECT_EQ(Caption(), "Select Outfit");
    EXPECT_EQ(Body->LookType, 132) << "the nearest end of the allowed range, held to the known looks";
    EXPECT_EQ(Body->ColorGroup.Selected, Body->ColorButtons[1]) << "the head's colour";
    Click(Body->PartButtons[2]);
    EXPECT_EQ(Body->PartGroup.Selected, Body->PartButtons[2]);
    EXPECT_EQ(Body->ColorGroup.Selected, Body->ColorButtons[3]);
    Click(Body->ColorButtons[57]);
    EXPECT_EQ(Body->Colors[2], 57);
    EXPECT_EQ(Body->OutfitView->Colors[0], 1);
    EXPECT_EQ(Body->OutfitView->Colors[2], 57);
    Click(Body->PartButtons[3]);
    EXPECT_EQ(Body->ColorGroup.Selected, nullptr) << "colour 140 lies beyond the palette";
    Click(Body->PartButtons[0]);
    EXPECT_EQ(Body->ColorGroup.Selected, Body->ColorButtons[1]);
    for (TComponent* C = Body->getFirstChild(); C != nullptr; C = C->getNext())
        if (auto* Button = dynamic_cast<TTextButton*>(C);
            Button != nullptr && std::string(Button->_Text) == "Next")
            Click(Button); // on the last look: the first
    EXPECT_EQ(Body->OutfitView->LookType, 128);
    KeyPressed(KEY_ENTER);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(211).u16(128).u8(1).u8(2).u8(57).u8(140)));
}

TEST_F(OutfitDialog, CancelSendsNothing) {
    ASSERT_NE(open(130, 4), nullptr);
    EXPECT_EQ(Body<TOutfitDialog>()->LookType, 130);
    Click(Dialog()->CancelButton);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_TRUE(NothingSent());
}

using HelpDialogs = GameDialogTest;

TEST_F(HelpDialogs, TheHelpMenuHasOnlyOkAndTheHintsListOkAndCancel) {
    Open(MESSAGE_HELP);
    EXPECT_EQ(Caption(), "Help");
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_NE(Dialog()->OkButton, nullptr);
    EXPECT_EQ(Dialog()->CancelButton, nullptr);
    Click(Dialog()->OkButton);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_EQ(GetActionState(), ACTIONSTATE_NONE);
    Open(MESSAGE_HINTS);
    EXPECT_EQ(Caption(), "Hints for Pellar");
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_NE(Dialog()->CancelButton, nullptr);
    Click(Dialog()->CancelButton);
    EXPECT_EQ(GetModalWindow(), nullptr);
    EXPECT_TRUE(NothingSent());
}
