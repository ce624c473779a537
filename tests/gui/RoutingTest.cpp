// Tests of pointer routing by capture and position, the capture chain, notifications, help-context
// routing and the deferred end of components that close themselves.
#include "gui/GUI.h"
#include "gui/GUIServices.h"
#include "tests/foundation/Thrown.h"
#include "tests/gui/Probes.h"

#include <gtest/gtest.h>

namespace {

class RoutingTest : public ::testing::Test {
protected:
    RoutingTest() { Place(&Root, 0, 0, 300, 200); }

    TProbeLeaf* addLeaf(TParentComponent* Parent, const std::string& Name, int32_t X, int32_t Y, int32_t W,
                        int32_t H, bool Consume = true) {
        auto* Leaf = new TProbeLeaf(Log, Name, Consume);
        Parent->appendChild(Leaf);
        Place(Leaf, X, Y, W, H);
        return Leaf;
    }

    TEventLog Log;
    TProbeParent Root{Log, "root"};
};

TEST_F(RoutingTest, PointsArriveRelativeToEachLevel) {
    auto* Panel = new TProbeParent(Log, "panel");
    Root.appendChild(Panel);
    Place(Panel, 100, 50, 100, 100);
    addLeaf(Panel, "a", 10, 20, 30, 30);
    EXPECT_TRUE(Root.leftButtonDown(115, 75, 0));
    EXPECT_TRUE(Root.rightClick(139, 99, 0));
    EXPECT_TRUE(Root.mouseScroll(110, 70, 2));
    EXPECT_FALSE(Root.leftButtonUp(5, 5, 0));
    EXPECT_TRUE(Root.leftDoubleClick(111, 71, 0)); // a plain leaf takes it as a second press
    EXPECT_EQ(Log, (TEventLog{"a:down 5,5", "a:right 29,29", "a:scroll2 0,0", "a:down 1,1"}));
}

TEST_F(RoutingTest, TheLastColumnAndRowHitButTheEdgeBeyondDoesNot) {
    addLeaf(&Root, "a", 10, 10, 20, 20);
    EXPECT_TRUE(Root.mouseMove(29, 29));
    EXPECT_FALSE(Root.mouseMove(30, 15));
    EXPECT_FALSE(Root.mouseMove(15, 30));
    EXPECT_FALSE(Root.mouseMove(9, 15));
    addLeaf(&Root, "flat", 50, 50, 0, 10);
    EXPECT_FALSE(Root.mouseMove(50, 55));
    EXPECT_EQ(Log, (TEventLog{"a:move 19,19"}));
}

TEST_F(RoutingTest, OverlappingChildrenAreAskedHeadFirstUntilOneConsumes) {
    addLeaf(&Root, "first", 0, 0, 50, 50, false);
    addLeaf(&Root, "second", 0, 0, 50, 50);
    addLeaf(&Root, "third", 0, 0, 50, 50);
    EXPECT_TRUE(Root.leftButtonDown(5, 5, 0));
    EXPECT_EQ(Log, (TEventLog{"first:down 5,5", "second:down 5,5"}));
}

TEST_F(RoutingTest, TheCapturingWidgetGetsEveryEventWhereverThePointerIs) {
    auto* Panel = new TProbeParent(Log, "panel");
    Root.appendChild(Panel);
    Place(Panel, 100, 100, 50, 50);
    TProbeLeaf* A = addLeaf(Panel, "a", 10, 10, 10, 10);
    addLeaf(&Root, "other", 0, 0, 50, 50);
    A->setCapture(A);
    EXPECT_EQ(Root.getCapture(), Panel);
    EXPECT_EQ(Panel->getCapture(), A);
    EXPECT_TRUE(Root.mouseMove(5, 5));
    EXPECT_TRUE(Root.leftButtonUp(1000, 900, 0));
    EXPECT_EQ(Log, (TEventLog{"a:move -105,-105", "a:up 890,790"}));

    A->releaseCapture(A);
    EXPECT_EQ(Root.getCapture(), nullptr);
    EXPECT_EQ(Panel->getCapture(), nullptr);
}

TEST_F(RoutingTest, CaptureChainFailuresAndCancelFromTheTop) {
    auto* Panel = new TProbeParent(Log, "panel");
    Root.appendChild(Panel);
    TProbeLeaf* A = addLeaf(Panel, "a", 0, 0, 10, 10);
    TProbeLeaf* B = addLeaf(Panel, "b", 10, 0, 10, 10);
    A->setCapture(A);
    EXPECT_NE(ThrownText([&] { B->setCapture(B); }).find("Capture==NULL"), std::string::npos);
    EXPECT_EQ(Panel->getCapture(), A);
    EXPECT_NE(ThrownText([&] { B->releaseCapture(B); }).find("Capture==Component"), std::string::npos);
    EXPECT_EQ(Panel->getCapture(), A);
    Root.cancelCapture();
    EXPECT_EQ(Root.getCapture(), nullptr);
    EXPECT_EQ(Panel->getCapture(), nullptr);
    B->setCapture(B);
    EXPECT_EQ(Root.getCapture(), Panel);
}

TEST_F(RoutingTest, RemovingTheCapturingChildClearsTheChainAbove) {
    auto* Panel = new TProbeParent(Log, "panel");
    Root.appendChild(Panel);
    TProbeLeaf* A = addLeaf(Panel, "a", 0, 0, 10, 10);
    A->setCapture(A);
    Panel->deleteChild(A);
    EXPECT_EQ(Panel->getCapture(), nullptr);
    EXPECT_EQ(Root.getCapture(), nullptr);
    // Removing a container on the path works the same way.
    TProbeLeaf* B = addLeaf(Panel, "b", 0, 0, 10, 10);
    B->setCapture(B);
    Root.deleteChild(Panel);
    EXPECT_EQ(Root.getCapture(), nullptr);
}

TEST_F(RoutingTest, NotificationsCallTheTargetAndAnEmptyOneNothing) {
    TNotification(&Root, 42).fire();
    EmptyNotification.fire();
    TNotification(nullptr, 7).fire();
    EXPECT_EQ(Log, (TEventLog{"root:event 42"}));
}

TEST_F(RoutingTest, ToolTipGoesToTheFirstChildUnderThePointOnly) {
    addLeaf(&Root, "a", 0, 0, 50, 50, false);
    addLeaf(&Root, "b", 0, 0, 50, 50);
    TProbeLeaf* C = addLeaf(&Root, "c", 100, 100, 10, 10);
    C->setCapture(C); // capture is not consulted
    Root.getToolTip(20, 30);
    EXPECT_EQ(Log, (TEventLog{"a:tip 20,30"}));
    Root.cancelCapture();
}

// A leaf with a help text of its own.
class THelpLeaf : public TLeafComponent {
public:
    bool getHelpContext(int32_t, int32_t) override {
        SetHelpContext(17);
        SetHelpExtent(getWidth(), getHeight());
        return true;
    }
};

TEST_F(RoutingTest, HelpContextAddsEachLevelsOffsetOrSetsZero) {
    auto* Panel = new TProbeParent(Log, "panel");
    Root.appendChild(Panel);
    Place(Panel, 100, 50, 100, 100);
    auto* Help = new THelpLeaf;
    Panel->appendChild(Help);
    Place(Help, 10, 20, 30, 40);
    addLeaf(Panel, "plain", 60, 60, 10, 10);

    SetHelpOrigin(0, 0);
    SetHelpExtent(0, 0);
    EXPECT_TRUE(Root.getHelpContext(115, 75));
    int32_t X, Y, W, H;
    GetHelpRectangle(&X, &Y, &W, &H);
    EXPECT_EQ(X, 110);
    EXPECT_EQ(Y, 70);
    EXPECT_EQ(W, 30);
    EXPECT_EQ(H, 40);
    EXPECT_EQ(GetHelpContext(), 17);

    EXPECT_FALSE(Root.getHelpContext(165, 115)); // over the plain leaf
    EXPECT_EQ(GetHelpContext(), 0);
    SetHelpContext(5);
    EXPECT_FALSE(Root.getHelpContext(250, 190)); // empty space
    EXPECT_EQ(GetHelpContext(), 0);
}

// A close button: tells its window, which ends itself, and then reads its own state again.
class TCloser : public TLeafComponent {
public:
    bool leftButtonUp(int32_t, int32_t, uint32_t) override {
        TNotification(Parent, 1).fire();
        Clicks++; // touches this after the window is gone from the tree
        return true;
    }
    int32_t Clicks = 0;
};

class TClosingWindow : public TProbeParent {
public:
    using TProbeParent::TProbeParent;
    void handleEvent(int32_t) override {
        DeleteLater(this);
        Log.push_back(Name + ":closing");
    }
};

TEST_F(RoutingTest, AWindowThatEndsItselfInItsHandlerGoesAfterTheHandlerReturns) {
    auto* Window = new TClosingWindow(Log, "window");
    Root.appendChild(Window);
    Place(Window, 10, 10, 50, 50);
    auto* Closer = new TCloser;
    Window->appendChild(Closer);
    Place(Closer, 0, 0, 10, 10);
    Closer->setCapture(Closer);

    EXPECT_TRUE(Root.leftButtonUp(12, 12, 0));
    EXPECT_EQ(Log, (TEventLog{"window:closing", "window:deleted"}));
    EXPECT_EQ(Root.getFirstChild(), nullptr);
    EXPECT_EQ(Root.getCapture(), nullptr);
}

TEST_F(RoutingTest, DeleteLaterOutsideAnyHandlerIsImmediateAndDeleteChildStaysImmediate) {
    auto* Window = new TProbeParent(Log, "window");
    Root.appendChild(Window);
    DeleteLater(Window);
    EXPECT_EQ(Log, (TEventLog{"window:deleted"}));
    Log.clear();
    {
        TEventScope Scope;
        TProbeLeaf* A = addLeaf(&Root, "a", 0, 0, 1, 1);
        TProbeLeaf* B = addLeaf(&Root, "b", 0, 0, 1, 1);
        DeleteLater(A);
        DeleteLater(A); // a second request changes nothing
        EXPECT_EQ(ChildNames(&Root), "b");
        Root.deleteChild(B);
        EXPECT_EQ(Log, (TEventLog{"b:deleted"}));
    }
    EXPECT_EQ(Log, (TEventLog{"b:deleted", "a:deleted"}));
}

} // namespace
