// The automap panel, its map view and its compass rose.

#include "screen/AutomapWindow.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "graphics/Engine.h"
#include "graphics/graphics.h"
#include "gui/GUIServices.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "network/CommunicationSend.h"
#include "screen/ContextMenus.h"
#include "screen/Help.h"
#include "screen/MessageTexts.h"
#include "state/CreaturesPlayer.h"
#include "state/Events.h"
#include "state/Map.h"
#include "state/Preferences.h"
#include "state/Status.h"

#include <cstdlib>

namespace {

constexpr int32_t MAP_SIZE = 106; // pixels of the map image, both ways
constexpr int32_t MAP_MIDDLE = MAP_SIZE / 2;
constexpr int32_t MARK_ICON = 11;  // pixels of a mark icon, both ways
constexpr int32_t MARK_TYPES = 14; // icons of the skin table; other types come from damaged files
constexpr int32_t MARK_REACH = 5;  // pixels from a mark's point that still hit it

// Module state, set for the program's life: the walk of a map click and the tool-tip text of a mark (shown
// by pointer, so it must outlive the call).
struct {
    TAutomapWalk Walk = nullptr;
    char ToolTip[MAPMARK_TEXT] = {};
} Automap;

// The panel's Alt shortcuts and their commands.
constexpr int32_t SHORTCUTS[8][2] = {
    {KEY_ALT | KEY_UP, AUTOMAP_NORTH},         {KEY_ALT | KEY_LEFT, AUTOMAP_WEST},
    {KEY_ALT | KEY_RIGHT, AUTOMAP_EAST},       {KEY_ALT | KEY_DOWN, AUTOMAP_SOUTH},
    {KEY_ALT | KEY_HOME, AUTOMAP_ZOOM_OUT},    {KEY_ALT | KEY_END, AUTOMAP_ZOOM_IN},
    {KEY_ALT | KEY_PAGE_UP, AUTOMAP_FLOOR_UP}, {KEY_ALT | KEY_PAGE_DOWN, AUTOMAP_FLOOR_DOWN}};

void PlanAndSendWalk(int32_t x, int32_t y, int32_t z) {
    const int32_t Result = GoToField(x, y, z, false, false);
    if (Result == 1) SendWalkPath();
    if (Result == 2) SendStopWalk();
}

bool IsEmptyMark(const TMapMark& Mark) { return Mark.x == 0 && Mark.y == 0; }

struct TField {
    int32_t x, y, z;
};

TField PlayerField() {
    TField P;
    GetViewPosition(P.x, P.y, P.z);
    return P;
}

// Where the marks of the map go: the field at pixel 0, 0 and the zoom.
struct TMarkFrame {
    int32_t Left, Top, Zoom;
    int32_t pixelX(const TMapMark& Mark) const { return (Mark.x - Left) * Zoom / 2; }
    int32_t pixelY(const TMapMark& Mark) const { return (Mark.y - Top) * Zoom / 2; }
    bool shows(const TMapMark& Mark) const {
        return !IsEmptyMark(Mark) && In(pixelX(Mark), 0, MAP_SIZE - 1) && In(pixelY(Mark), 0, MAP_SIZE - 1);
    }
};

TMarkFrame MarkFrame(int32_t Cx, int32_t Cy, int32_t Zoom) {
    const int32_t Half = MAP_SIZE / Zoom;
    return {Cx - Half, Cy - Half, Zoom};
}

// Calls Visit(Mark) for the marks of the four blocks around the frame on floor z, block by block, each
// block's marks first to last (or last to first with Backwards); stops when Visit answers true.
template <typename Visitor>
void VisitMarks(const TMarkFrame& Frame, int32_t z, bool Backwards, Visitor&& Visit) {
    TDynamicArray<TMapMark> Marks(0, 0, 10);
    for (int32_t bx = Frame.Left / 256; bx <= Frame.Left / 256 + 1; bx++)
        for (int32_t by = Frame.Top / 256; by <= Frame.Top / 256 + 1; by++) {
            int32_t Count = 0;
            GetAutomapMarks(bx, by, z, Marks, Count);
            for (int32_t n = 0; n < Count; n++)
                if (Visit(Marks.at(Backwards ? Count - 1 - n : n))) return;
        }
}

// The map image of the fields around (Cx, Cy) on floor Cz, onto AUTOMAP_SURFACE.
void BuildMapImage(int32_t Cx, int32_t Cy, int32_t Cz, int32_t Zoom) {
    uint8_t Image[MAP_SIZE * MAP_SIZE * 3];
    uint8_t* Pixel = Image;
    TRGBColor Color;
    for (int32_t j = 0; j < MAP_SIZE; j++) {
        const int32_t y = (Zoom * Cy + Zoom / 2 + 2 * j - MAP_SIZE) / Zoom;
        for (int32_t i = 0; i < MAP_SIZE; i++) {
            const int32_t x = (Zoom * Cx + Zoom / 2 + 2 * i - MAP_SIZE) / Zoom;
            GetAutomapColor(Color, x, y, Cz);
            *Pixel++ = static_cast<uint8_t>(Color.Red);
            *Pixel++ = static_cast<uint8_t>(Color.Green);
            *Pixel++ = static_cast<uint8_t>(Color.Blue);
        }
    }
    GetSurface()->WritePixels(AUTOMAP_SURFACE, 0, 0, MAP_SIZE, MAP_SIZE, Image);
}

void CrossPixel(int32_t x, int32_t y) {
    if (In(x, 0, MAP_SIZE - 1) && In(y, 0, MAP_SIZE - 1))
        GetSurface()->SetPixel(AUTOMAP_SURFACE, x, y, 255, 255, 255);
}

// The player's white cross at pixel (mx, my): five pixels at zoom 1 and 2, two pixels thick and six long
// at zoom 4 and 8. Pixels off the image are left out.
void DrawPlayerCross(int32_t mx, int32_t my, int32_t Zoom) {
    if (Zoom <= 2) {
        CrossPixel(mx, my);
        CrossPixel(mx - 1, my);
        CrossPixel(mx + 1, my);
        CrossPixel(mx, my - 1);
        CrossPixel(mx, my + 1);
        return;
    }
    for (int32_t d = -3; d <= 2; d++) {
        CrossPixel(mx + d, my);
        CrossPixel(mx + d, my - 1);
        CrossPixel(mx, my + d);
        CrossPixel(mx - 1, my + d);
    }
}

void DrawMarks(const TMarkFrame& Frame, int32_t z) {
    VisitMarks(Frame, z, false, [&](const TMapMark& Mark) {
        if (Frame.shows(Mark) && In(Mark.Type, 0, MARK_TYPES - 1))
            DrawSkinClipped(AUTOMAP_SURFACE, Frame.pixelX(Mark) - MARK_REACH, Frame.pixelY(Mark) - MARK_REACH,
                            MARK_ICON, MARK_ICON, SkinProperties.Automap.MarkSkin + Mark.Type, 0, 0, MAP_SIZE,
                            MAP_SIZE, 0, 0);
        return false;
    });
}

// The field under the point of the view, on the shown floor; centreOnPlayer has run when Centred.
TField FieldAt(const TAutomapWindow& W, int32_t X, int32_t Y, int32_t Width, int32_t Height) {
    return {(X - Width / 2) * 2 / W.Zoom + W.CentreX, (Y - Height / 2) * 2 / W.Zoom + W.CentreY, W.CentreZ};
}

} // namespace

void SetAutomapWalk(TAutomapWalk Walk) { Automap.Walk = Walk; }

// ---- The map view ----

TAutomapWindow& TAutomapView::window() const {
    CHECK_TEXT(Parent != nullptr, "Parent!=NULL");
    return *static_cast<TAutomapWindow*>(Parent);
}

void TAutomapView::draw(int32_t Surface, int32_t X, int32_t Y) try {
    TAutomapWindow& W = window();
    const TField P = PlayerField();
    TField C = P;
    if (!W.Centred) {
        if (P.x == W.LastPlayerX && P.y == W.LastPlayerY && P.z == W.LastPlayerZ)
            C = {W.CentreX, W.CentreY, W.CentreZ};
        else
            W.Centred = W.Dirty = true;
    }
    // Every flag is read, so that each is cleared.
    const bool Changed = GetAutomapChanged() != 0;
    const bool Renewed = GetSurface()->SurfacesRenewed(0);
    if (Changed || W.Dirty || Renewed) {
        if (W.Zoom == 1) {
            C.x = C.x / 2 * 2;
            C.y = C.y / 2 * 2;
        }
        BuildMapImage(C.x, C.y, C.z, W.Zoom);
        if (W.Centred)
            DrawPlayerCross(MAP_MIDDLE, MAP_MIDDLE, W.Zoom);
        else if (P.z == W.CentreZ)
            DrawPlayerCross((P.x - W.CentreX) * W.Zoom / 2 + MAP_MIDDLE,
                            (P.y - W.CentreY) * W.Zoom / 2 + MAP_MIDDLE, W.Zoom);
        const TField M = W.Centred ? C : TField{W.CentreX, W.CentreY, W.CentreZ};
        DrawMarks(MarkFrame(M.x, M.y, W.Zoom), M.z);
        W.Dirty = false;
    }
    GetSurface()->Blit(Surface, X, Y, AUTOMAP_SURFACE, 0, 0, MAP_SIZE, MAP_SIZE);
}
CATCH_FRAME(Surface)

TMapMark TAutomapView::getMarkAt(int32_t X, int32_t Y) try {
    TAutomapWindow& W = window();
    if (W.Centred) W.centreOnPlayer();
    const TMarkFrame Frame = MarkFrame(W.CentreX, W.CentreY, W.Zoom);
    TMapMark Found{};
    VisitMarks(Frame, W.CentreZ, true, [&](const TMapMark& Mark) {
        if (!Frame.shows(Mark) || std::abs(X - Frame.pixelX(Mark)) > MARK_REACH ||
            std::abs(Y - Frame.pixelY(Mark)) > MARK_REACH)
            return false;
        Found = Mark;
        return true;
    });
    return Found;
}
CATCH_FRAME(X, Y)

bool TAutomapView::leftButtonUp(int32_t X, int32_t Y, uint32_t /*Flags*/) try {
    const TMapMark Mark = getMarkAt(X, Y);
    TAutomapWindow& W = window();
    if (W.Centred) W.centreOnPlayer();
    TField Goal = FieldAt(W, X, Y, Width, Height);
    if (!IsEmptyMark(Mark)) {
        Goal.x = Mark.x;
        Goal.y = Mark.y;
    }
    (Automap.Walk != nullptr ? Automap.Walk : PlanAndSendWalk)(Goal.x, Goal.y, Goal.z);
    return true;
}
CATCH_FRAME(X, Y)

bool TAutomapView::rightClick(int32_t X, int32_t Y, uint32_t /*Flags*/) try {
    const TMapMark Mark = getMarkAt(X, Y);
    TAutomapWindow& W = window();
    const TField Field = FieldAt(W, X, Y, Width, Height);
    auto* Request = static_cast<TMarkMenuData*>(NewMessageBlock(sizeof(TMarkMenuData)));
    Request->x = Field.x;
    Request->y = Field.y;
    Request->z = Field.z;
    Request->Mark = Mark;
    AddMessage(MESSAGE_MAPMARKMENU, reinterpret_cast<intptr_t>(Request), 0);
    return true;
}
CATCH_FRAME(X, Y)

// ---- The compass rose ----

TCompassRose::TCompassRose(int32_t _RoseSkin) : _RoseSkin(_RoseSkin) {
    const int32_t NumberOfSkins = LASTSKIN;
    CHECK(_RoseSkin < NumberOfSkins, _RoseSkin, NumberOfSkins);
}

void TCompassRose::draw(int32_t Surface, int32_t X, int32_t Y) {
    const TSkin& S = GetSkin(_RoseSkin);
    DrawPicturePart(Surface, X, Y, SKIN_PICTURE, S.x, S.y, S.Width, S.Height);
}

bool TCompassRose::leftButtonUp(int32_t X, int32_t Y, uint32_t /*Flags*/) try {
    CHECK_TEXT(Parent != nullptr, "Parent!=NULL");
    TAutomapWindow& W = *static_cast<TAutomapWindow*>(Parent);
    const int32_t MidX = Width / 2, MidY = Height / 2, R = MARK_REACH;
    int32_t Direction = -1;
    if (In(X, MidX - R, MidX + R) && In(Y, MidY - R, MidY + R)) Direction = SCROLL_CENTRE;
    if (In(X, MidX - R, MidX + R)) {
        if (In(Y, 0, MidY - R)) Direction = SCROLL_NORTH;
        if (In(Y, MidY + R, Height)) Direction = SCROLL_SOUTH;
    }
    if (In(X, 0, MidX - R) && In(Y, MidY - R, MidY + R)) Direction = SCROLL_WEST;
    if (In(X, MidX + R, Width) && In(Y, MidY - R, MidY + R)) {
        W.scroll(SCROLL_EAST);
        return true;
    }
    if (Direction != -1) W.scroll(Direction);
    return true;
}
CATCH_FRAME(X, Y)

void TCompassRose::getToolTip(int32_t X, int32_t Y) try { SetTooltip(MessageTexts[TEXT_TIP_SCROLL_AUTOMAP]); }
CATCH_FRAME(X, Y)

// ---- The panel ----

TAutomapWindow::TAutomapWindow() try : TContentWindow(AUTOMAP_WINDOW, true) {
    const auto& A = SkinProperties.Automap;
    setSize(SkinProperties.SidePanel.Width, A.Height);
    const int32_t Stored = GetAutomapZoom();
    Zoom = Stored == 1 || Stored == 2 || Stored == 4 || Stored == 8 ? Stored : 2;
    allocateDrawingList(4);
    // Each child is linked as soon as it is made, so that a failure leaves nothing unowned.
    View = adopt(new TAutomapView);
    CentreButton = adopt(new TTextButton(A.CentreButton.x, A.CentreButton.y, "Centre", this, AUTOMAP_CENTRE,
                                         MessageTexts[TEXT_TIP_CENTRE_AUTOMAP]));
    FloorUpButton = adopt(new TButton(A.FloorUp.x, A.FloorUp.y, A.FloorUpSkins[0], A.FloorUpSkins[1], this,
                                      AUTOMAP_FLOOR_UP, MessageTexts[TEXT_TIP_FLOOR_UP], false));
    FloorDownButton =
        adopt(new TButton(A.FloorDown.x, A.FloorDown.y, A.FloorDownSkins[0], A.FloorDownSkins[1], this,
                          AUTOMAP_FLOOR_DOWN, MessageTexts[TEXT_TIP_FLOOR_DOWN], false));
    ZoomInButton = adopt(new TButton(A.ZoomIn.x, A.ZoomIn.y, A.ZoomInSkins[0], A.ZoomInSkins[1], this,
                                     AUTOMAP_ZOOM_IN, MessageTexts[TEXT_TIP_ZOOM_IN], false));
    ZoomOutButton = adopt(new TButton(A.ZoomOut.x, A.ZoomOut.y, A.ZoomOutSkins[0], A.ZoomOutSkins[1], this,
                                      AUTOMAP_ZOOM_OUT, MessageTexts[TEXT_TIP_ZOOM_OUT], false));
    Rose = adopt(new TCompassRose(A.RoseSkin));
    placeChild(View, A.View.x, A.View.y, A.View.width, A.View.height);
    placeChild(Rose, A.Rose.x, A.Rose.y, GetSkin(A.RoseSkin).Width, GetSkin(A.RoseSkin).Height);
    arrange();
    for (const auto& Shortcut : SHORTCUTS)
        SetShortcut(Shortcut[0], this, Shortcut[1]);
}
CATCH_FRAME()

TAutomapWindow::~TAutomapWindow() {
    SetAutomapZoom(Zoom);
    for (const auto& Shortcut : SHORTCUTS)
        RemoveShortcut(Shortcut[0]);
}

void TAutomapWindow::arrange() try {
    TContentWindow::arrange();
    Dirty = true;
    const TSkinRectangle& F = SkinProperties.Automap.MapFrame;
    DrawingList[0] = {9, F.x, F.y, F.width, GetSkin(9).Height};
    DrawingList[1] = {11, F.x, F.y, GetSkin(11).Width, F.height};
    DrawingList[2] = {10, F.x + F.width - 1, F.y, GetSkin(10).Width, F.height};
    DrawingList[3] = {8, F.x, F.y + F.height - 1, F.width, GetSkin(8).Height};
}
CATCH_FRAME()

void TAutomapWindow::centreOnPlayer() { GetViewPosition(CentreX, CentreY, CentreZ); }

void TAutomapWindow::leaveCentre() {
    if (!Centred) return;
    centreOnPlayer();
    GetViewPosition(LastPlayerX, LastPlayerY, LastPlayerZ);
    Centred = false;
}

void TAutomapWindow::scroll(int32_t Direction) try {
    if (Direction != SCROLL_CENTRE) leaveCentre();
    const int32_t Step = 24 / Zoom;
    switch (static_cast<AUTOMAP_DIRECTION>(Direction)) {
    case SCROLL_CENTRE:
        Centred = true;
        break;
    case SCROLL_NORTH:
        CentreY -= Step;
        break;
    case SCROLL_SOUTH:
        CentreY += Step;
        break;
    case SCROLL_WEST:
        CentreX -= Step;
        break;
    case SCROLL_EAST:
        CentreX += Step;
        break;
    }
    Dirty = true;
}
CATCH_FRAME(Direction)

void TAutomapWindow::handleEvent(int32_t Identifier) try {
    switch (Identifier) {
    case AUTOMAP_FLOOR_UP:
        leaveCentre();
        if (CentreZ > 0) CentreZ--;
        break;
    case AUTOMAP_FLOOR_DOWN:
        leaveCentre();
        if (CentreZ < 15) CentreZ++;
        break;
    case AUTOMAP_CENTRE:
        Centred = true;
        break;
    case AUTOMAP_ZOOM_IN:
        if (Zoom < 8) Zoom *= 2;
        break;
    case AUTOMAP_ZOOM_OUT:
        if (Zoom >= 2) Zoom /= 2;
        break;
    case AUTOMAP_NORTH:
        scroll(SCROLL_NORTH);
        break;
    case AUTOMAP_EAST:
        scroll(SCROLL_EAST);
        break;
    case AUTOMAP_SOUTH:
        scroll(SCROLL_SOUTH);
        break;
    case AUTOMAP_WEST:
        scroll(SCROLL_WEST);
        break;
    default:
        return;
    }
    Dirty = true;
}
CATCH_FRAME(Identifier)

void TAutomapWindow::getToolTip(int32_t X, int32_t Y) try {
    if (!HitsChild(View, X, Y)) {
        TContentWindow::getToolTip(X, Y);
        return;
    }
    const TMapMark Mark = View->getMarkAt(X - View->X, Y - View->Y);
    if (IsEmptyMark(Mark) || Mark.Text[0] == 0) return;
    CopyString(Automap.ToolTip, Mark.Text, MAPMARK_TEXT);
    SetTooltip(Automap.ToolTip);
}
CATCH_FRAME(X, Y)

bool TAutomapWindow::getHelpContext(int32_t X, int32_t Y) try {
    SetHelpContext(HELP_AUTOMAP);
    SetHelpExtent(Width, Height);
    return true;
}
CATCH_FRAME(X, Y)
