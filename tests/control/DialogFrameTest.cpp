// The modal dialog frame: its size around the body, the places of its buttons, what Enter and Escape fire,
// the drag by the title bar within the screen, and its checks.
#include "DialogFixture.h"

#include "foundation/Exception.h"
#include "gui/DialogElements.h"
#include "gui/KeyCodes.h"
#include "state/Status.h"

#include <string>

namespace {

int BodiesAlive = 0;
std::vector<int32_t> KeysSeen; // by any probe body, also one deleted since

// A body of a given size that counts its instances and records what reaches it.
class TProbeBody : public TLeafComponent {
public:
    TProbeBody(int32_t Width, int32_t Height) {
        TComponent::setSize(Width, Height);
        BodiesAlive++;
    }
    ~TProbeBody() override { BodiesAlive--; }
    void keyPressed(int32_t Key) override {
        Keys.push_back(Key);
        KeysSeen.push_back(Key);
    }
    void handleEvent(int32_t Identifier) override { Events.push_back(Identifier); }

    std::vector<int32_t> Keys, Events;
};

class DialogFrame : public DialogTest {
protected:
    // Shows Frame as the open dialog at (x, y), as the dispatch does.
    static void Show(TModalDialog* Frame, int32_t x, int32_t y) {
        SetModalWindow(Frame);
        SetActionState(ACTIONSTATE_DIALOG);
        Frame->setPosition(x, y);
    }
};

} // namespace

TEST_F(DialogFrame, SizeIsTheBodyWithItsMarginsButNotBelowTheMinimum) {
    struct {
        int32_t BodyWidth, BodyHeight, Width, Height;
    } Cases[] = {{20, 10, 162, 102}, {200, 86, 236, 178}, {100, 0, 162, 92}};
    for (const auto& Case : Cases) {
        TModalDialog Frame("Size", new TProbeBody(Case.BodyWidth, Case.BodyHeight));
        EXPECT_EQ(Frame.Width, Case.Width) << Case.BodyWidth;
        EXPECT_EQ(Frame.Height, Case.Height) << Case.BodyHeight;
        EXPECT_EQ(Frame._Dialog->X, 18);
        EXPECT_EQ(Frame._Dialog->Y, 32);
    }
    EXPECT_EQ(BodiesAlive, 0);
}

TEST_F(DialogFrame, ButtonsStandFromTheRightCancelFirst) {
    TModalDialog Frame("Buttons", new TProbeBody(200, 86));
    const int32_t W = Frame.Width, H = Frame.Height;
    EXPECT_EQ(Frame.CancelButton->X, W - 56);
    EXPECT_EQ(Frame.OkButton->X, W - 109);
    EXPECT_EQ(Frame.OkButton->Y, H - 30);
    EXPECT_EQ(Frame.OkButton->Width, 43);
    EXPECT_EQ(Frame.OkButton->Height, 20);
    Frame.setExtraButton("Help", TNotification(&Frame, DIALOG_HELP));
    EXPECT_EQ(Frame.ExtraButton->X, W - 162);
    Frame.setCancelButton(nullptr, EmptyNotification);
    EXPECT_EQ(Frame.OkButton->X, W - 56) << "without Cancel, OK stands at the far right";
    EXPECT_EQ(Frame.ExtraButton->X, W - 109);
    EXPECT_THROW(Frame.setCancelButton(nullptr, EmptyNotification), TMyException) << "no Cancel to remove";
}

TEST_F(DialogFrame, EscapeStillEndsWithoutCancelAndEnterUsesTheFramesOwnOk) {
    auto* Body = new TProbeBody(50, 20);
    auto* Frame = new TModalDialog("Keys", Body);
    Frame->setCancelButton(nullptr, EmptyNotification);
    Frame->setOkButton("Ok", EmptyNotification);
    Show(Frame, 100, 100);
    // The button fires nothing, so a click leaves the dialog open.
    Click(Frame->OkButton);
    EXPECT_EQ(GetModalWindow(), Frame);
    KeyPressed('a');
    EXPECT_EQ(Body->Keys, std::vector<int32_t>{'a'}) << "other keys reach the body";
    KeyPressed(KEY_ENTER);
    EXPECT_EQ(GetModalWindow(), nullptr) << "Enter fires the frame's own 1";

    Body = new TProbeBody(50, 20);
    Frame = new TModalDialog("Keys", Body);
    Frame->setCancelButton(nullptr, EmptyNotification);
    Show(Frame, 100, 100);
    KeysSeen.clear();
    KeyPressed(KEY_ESCAPE);
    EXPECT_EQ(GetModalWindow(), nullptr) << "Escape fires the frame's own 2";
    EXPECT_TRUE(KeysSeen.empty()) << "Escape never reaches the body";
}

TEST_F(DialogFrame, TitleBarDragStaysOnTheScreen) {
    auto* Frame = new TModalDialog("Drag", new TProbeBody(200, 86));
    Show(Frame, 100, 100);
    // Below the 17-pixel title bar the frame does not move.
    LeftButtonDown(100 + 60, 100 + 17, 0);
    MouseMove(300, 300);
    LeftButtonUp(300, 300, 0);
    EXPECT_EQ(Frame->X, 100);
    EXPECT_EQ(Frame->Y, 100);

    LeftButtonDown(100 + 60, 100 + 16, 0);
    MouseMove(160 + 50, 116 + 20);
    EXPECT_EQ(Frame->X, 150);
    EXPECT_EQ(Frame->Y, 120);
    MouseMove(2000, -500);
    EXPECT_EQ(Frame->X, 800 - Frame->Width) << "flush with the right edge";
    EXPECT_EQ(Frame->Y, 0);
    LeftButtonUp(2000, -500, 0);
    MouseMove(100, 100);
    EXPECT_EQ(Frame->X, 800 - Frame->Width) << "the release ended the drag";
    DeleteModalWindow();

    // A frame wider than the screen keeps its left edge on it, where its frame can be drawn.
    Frame = new TModalDialog("Large", new TProbeBody(900, 100));
    Show(Frame, 0, 10);
    LeftButtonDown(10, 10 + 5, 0);
    MouseMove(-500, 15);
    EXPECT_EQ(Frame->X, 0);
    MouseMove(500, 300);
    EXPECT_EQ(Frame->X, 0);
    EXPECT_EQ(Frame->Y, 295) << "moved by the pointer, grabbed 5 pixels below the top";
    LeftButtonUp(500, 300, 0);
    DrawFrame(false);
}

TEST_F(DialogFrame, CaptionAndBodyChecksKeepNothingBehind) {
    auto Text = [](const char* Caption, TComponent* Body) {
        try {
            TModalDialog Frame(Caption, Body);
        } catch (const TMyException& Error) {
            return std::string(Error.getText());
        }
        return std::string();
    };
    EXPECT_NE(Text(nullptr, new TProbeBody(1, 1)).find("_Caption!=NULL"), std::string::npos);
    EXPECT_NE(Text(std::string(100, 'c').c_str(), new TProbeBody(1, 1)).find("strlen(_Caption)<100"),
              std::string::npos);
    EXPECT_NE(Text("Caption", nullptr).find("_Dialog!=NULL"), std::string::npos);
    EXPECT_NE(Text("Caption", nullptr).find("DialogsFrame.cpp "), std::string::npos);
    EXPECT_EQ(Text(std::string(99, 'c').c_str(), new TProbeBody(1, 1)), "");
    EXPECT_EQ(BodiesAlive, 0) << "a refused body is deleted with the frame";
}
