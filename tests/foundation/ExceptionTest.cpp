// The exception's texts, the check statements and the catch frame.
#include "foundation/Exception.h"

#include <gtest/gtest.h>

namespace {

std::string TextOf(void (*Body)()) {
    try {
        Body();
    } catch (const TMyException& E) {
        return E.getText();
    }
    return "no exception";
}

} // namespace

TEST(Exception, FirstConstructorBuildsLocationTextAndNamedValues) {
    TMyException E("Utils", 299, "assertion failed", "Position", 7, "Size", 7, "Position<=Size-1");
    EXPECT_EQ(E.getText(),
              "Utils 299: assertion failed (Position = 7) (Size = 7), reason:\nPosition<=Size-1");
    EXPECT_EQ(E.getLocation(), "Utils 299");
}

TEST(Exception, NamedValuesShownWheneverNamedAndReasonOnlyWhenGiven) {
    EXPECT_EQ(TMyException("F", 0, "t", "", 5, "B", -3, "").getText(), "F 0: t (B = -3)");
    EXPECT_EQ(TMyException("F", -1, "t", "A", -2147483647 - 1, "", 9, "").getText(),
              "F -1: t (A = -2147483648)");
}

TEST(Exception, FileNameIsCutBehindTheLastSeparator) {
    EXPECT_EQ(FileBaseName("a/b\\c"), "c");
    EXPECT_EQ(FileBaseName("c.cpp"), "c.cpp");
    EXPECT_EQ(FileBaseName("a/b/"), "a/b/");
    EXPECT_EQ(TMyException("/x/y\\Network.cpp", 12, "t", "", 0, "", 0, "").getLocation(), "Network.cpp 12");
}

TEST(Exception, SecondConstructorAlwaysAppendsTheCauseAndKeepsItsLocation) {
    TMyException Inner("In", 3, "t", "", 0, "", 0, "");
    TMyException Outer("Out", 4, "exception occurred", "", 0, "", 0, Inner);
    EXPECT_EQ(Outer.getText(), "Out 4: exception occurred, reason:\nIn 3: t");
    EXPECT_EQ(Outer.getLocation(), "In 3");
    TMyException Empty("E", 1, "", "", 0, "", 0, "");
    EXPECT_EQ(TMyException("O", 2, "x", "", 0, "", 0, Empty).getText(), "O 2: x, reason:\nE 1: ");
}

TEST(Exception, CheckThrowsTheConditionAsWrittenWithTagsAndNames) {
    int Position = 7, Size = 7;
    try {
        CHECK(Position <= Size - 1, Position, Size);
        FAIL();
    } catch (const TMyException& E) {
        std::string Expected = "assertion failed (Position = 7) (Size = 7), reason:\nPosition<=Size-1";
        EXPECT_NE(E.getText().find(Expected), std::string::npos) << E.getText();
        EXPECT_EQ(E.getText().rfind("ExceptionTest.cpp ", 0), 0u);
    }
    int bz = 120;
    try {
        CHECK_TEXT(In(bz, 0, 99), "In(bz,0, 99) [bug0000913]", bz);
        FAIL();
    } catch (const TMyException& E) {
        EXPECT_NE(E.getText().find("(bz = 120), reason:\nIn(bz,0, 99) [bug0000913]"), std::string::npos);
    }
    EXPECT_NO_THROW(CHECK(In(bz, 100, 120)));
}

namespace {

void Innermost() {
    int Size = 7;
    CHECK_TEXT(Size < 7, "Position<=Size-1", Size);
}
void Middle() try { Innermost(); }
CATCH_FRAME()
void Outer(int ObjectType, int Position) try { Middle(); }
CATCH_FRAME(ObjectType, Position)
void ThreeFrames() try { Outer(100, 3); }
CATCH_FRAME()

void ThrowsForeign(int ObjectType, int Position) try { throw 5; }
CATCH_FRAME(ObjectType, Position)
void ThrowsProgramError() try { throw PROGRAM_ERROR(4); }
CATCH_FRAME()
void NamesAnExpression(bool IPBanishment) try { throw 1; }
CATCH_FRAME((IPBanishment ? 1 : 0))

} // namespace

TEST(CatchFrame, ThreeNestedFramesGiveAFiveLineText) {
    std::string Text = TextOf(ThreeFrames);
    std::vector<std::string> Lines;
    size_t Begin = 0;
    for (size_t End; (End = Text.find('\n', Begin)) != std::string::npos; Begin = End + 1)
        Lines.push_back(Text.substr(Begin, End - Begin));
    Lines.push_back(Text.substr(Begin));
    ASSERT_EQ(Lines.size(), 5u) << Text;
    EXPECT_NE(Lines[0].find(": exception occurred, reason:"), std::string::npos);
    EXPECT_NE(Lines[1].find(": exception occurred (ObjectType = 100) (Position = 3), reason:"),
              std::string::npos);
    EXPECT_NE(Lines[2].find(": exception occurred, reason:"), std::string::npos);
    EXPECT_NE(Lines[3].find(": assertion failed (Size = 7), reason:"), std::string::npos);
    EXPECT_EQ(Lines[4], "Position<=Size-1");
    try {
        ThreeFrames();
    } catch (const TMyException& E) {
        EXPECT_EQ(Lines[3].substr(0, E.getLocation().size() + 1), E.getLocation() + ":");
    }
}

TEST(CatchFrame, ForeignExceptionsBecomeOneUnknownLineAndProgramErrorsPass) {
    try {
        ThrowsForeign(100, 3);
        FAIL();
    } catch (const TMyException& E) {
        std::string Text = E.getText();
        EXPECT_EQ(Text, E.getLocation() + ": unknown exception occurred (ObjectType = 100) (Position = 3)");
        EXPECT_EQ(E.getLocation().rfind("ExceptionTest.cpp ", 0), 0u);
    }
    try {
        NamesAnExpression(true);
        FAIL();
    } catch (const TMyException& E) {
        EXPECT_NE(E.getText().find("occurred ((IPBanishment?1:0) = 1)"), std::string::npos) << E.getText();
    }
    try {
        ThrowsProgramError();
        FAIL();
    } catch (PROGRAM_ERROR Code) {
        EXPECT_EQ(Code, 4);
    }
}

TEST(ProgramError, TextsAndAdvice) {
    EXPECT_STREQ(GetProgramErrorText(1), "Cannot find file \"Ebrun.dat\".");
    EXPECT_STREQ(GetProgramErrorText(5), "Cannot open file \"Ebrun.pic\".");
    EXPECT_STREQ(GetProgramErrorText(11), "Cannot initialize video graphics mode.");
    EXPECT_STREQ(GetProgramErrorText(12), "Video surface allocation failed.");
    EXPECT_STREQ(GetProgramErrorText(18), "Video surface allocation failed.");
    EXPECT_EQ(GetProgramErrorAdvice(6), "Please check the network settings of your system.");
    EXPECT_EQ(GetProgramErrorAdvice(18), "Please choose another video graphics mode.");
    for (int Code : {0, 19, -1}) {
        EXPECT_STREQ(GetProgramErrorText(Code), "Unknown error.");
        EXPECT_EQ(GetProgramErrorAdvice(Code),
                  std::string("Please submit a detailed bugreport including the error code number to ") +
                      SUPPORT_MAIL_ADDRESS + ".");
    }
}
