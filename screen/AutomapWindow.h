// The automap panel of the side bar: a small map of every field the player has seen, with the player's cross
// and the map marks, which follows the player or shows a scrolled centre, and its compass rose.
#pragma once

#include "gui/DialogElements.h"
#include "gui/DialogWindow.h"
#include "state/MapAutomap.h"

#include <cstdint>

class TAutomapWindow;

// The map: 106 x 106 pixels, cached on AUTOMAP_SURFACE and rebuilt only when something changed. Its parent
// is always the automap window, whose state it reads and updates.
class TAutomapView : public TLeafComponent {
public:
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override; // walks to the field or mark
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override;   // posts the mark menu request
    // The mark drawn last within 5 pixels of the point, or an empty mark (x and y 0).
    virtual TMapMark getMarkAt(int32_t X, int32_t Y);

private:
    TAutomapWindow& window() const;
};

// Scrolls the parent automap window by where it is clicked: north, south, west, east or back to the player.
class TCompassRose : public TLeafComponent {
public:
    // Checks "_RoseSkin<NumberOfSkins".
    explicit TCompassRose(int32_t _RoseSkin);

    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    void getToolTip(int32_t X, int32_t Y) override;

    int32_t _RoseSkin;
};

// Commands fired to the panel by its buttons and keyboard shortcuts.
enum : int32_t {
    AUTOMAP_FLOOR_UP = 3,
    AUTOMAP_FLOOR_DOWN = 4,
    AUTOMAP_CENTRE = 106,
    AUTOMAP_ZOOM_IN = 107,
    AUTOMAP_ZOOM_OUT = 108,
    AUTOMAP_NORTH = 109,
    AUTOMAP_EAST = 110,
    AUTOMAP_SOUTH = 111,
    AUTOMAP_WEST = 112,
};

// Where the compass rose and the Alt shortcuts move the map: back to the player, or a step that way.
enum AUTOMAP_DIRECTION : int32_t {
    SCROLL_CENTRE = 0,
    SCROLL_NORTH = 1,
    SCROLL_SOUTH = 2,
    SCROLL_WEST = 3,
    SCROLL_EAST = 4,
};

class TAutomapWindow : public TContentWindow {
public:
    // Kind 3, 176 x 117, following the player at the zoom of the options; registers the Alt shortcuts.
    TAutomapWindow();
    // Keeps the zoom in the options and removes the shortcuts.
    ~TAutomapWindow() override;

    void arrange() override;
    void handleEvent(int32_t Identifier) override;
    // Over the map: the text of the mark under the point; elsewhere the buttons' tips.
    void getToolTip(int32_t X, int32_t Y) override;
    bool getHelpContext(int32_t X, int32_t Y) override;
    // An AUTOMAP_DIRECTION; a step is 24 / Zoom fields.
    virtual void scroll(int32_t Direction);

    TAutomapView* View;
    TTextButton* CentreButton;
    TButton* FloorUpButton;
    TButton* FloorDownButton;
    TButton* ZoomInButton;
    TButton* ZoomOutButton;
    TCompassRose* Rose;
    bool Dirty = true;   // the map image must be rebuilt at the next drawing
    bool Centred = true; // the map follows the player
    int32_t CentreX = 0; // the middle field and floor while not Centred
    int32_t CentreY = 0;
    int32_t CentreZ = 0;
    int32_t LastPlayerX = 0; // where the player stood when the map was scrolled away
    int32_t LastPlayerY = 0;
    int32_t LastPlayerZ = 0;
    int32_t Zoom = 2; // half the pixels per field: 1, 2, 4 or 8

    // Stops following: centre and last player position become the player's field. Nothing while scrolled.
    void leaveCentre();
    // Centre fields = the player's field, without changing any flag.
    void centreOnPlayer();

private:
    template <typename T> T* adopt(T* Child) {
        addChild(Child);
        return Child;
    }
};

// How a click on the map walks: plans the way to the field and sends the path or the stop. Tests put a
// recorder in its place; nullptr restores the planner and the sender.
using TAutomapWalk = void (*)(int32_t x, int32_t y, int32_t z);
void SetAutomapWalk(TAutomapWalk Walk);
