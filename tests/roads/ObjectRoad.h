// What the roads of objects and trade share: the road with a world the test can look into, the model of a
// client's open container and trade windows (so that the layout code says where their cells lie), the
// places of the map's fields, the equipment slots, container cells and window buttons, the context menu's
// entries, and the patterns of counts, object pictures and window titles.
#pragma once

#include "gui/GUI.h"
#include "tests/roads/Road.h"
#include "tools/testserver/Village.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// An object of a container window as the model holds it.
struct TModelItem {
    uint16_t Type = 0;
    uint8_t Data = 0;
};

// A container window as the client shows it: what the open message told it.
struct TModelWindow {
    int32_t Number = 0;
    uint16_t Type = 0;
    std::string Name;
    int32_t Capacity = 0;
    bool HasParent = false;
    std::vector<TModelItem> Items;
    // Objects the window showed when it was made: its height stays fitted to them while the same number
    // is shown again; -1 for as many as Items.
    int32_t Shown = -1;
};

// The side windows one client has open besides those its options open, in the order they opened.
struct TClientModel {
    std::vector<TModelWindow> Windows;
    bool Trading = false; // the trade window, with offers of OwnCount and CounterCount objects
    int32_t OwnCount = 0, CounterCount = 0;

    TModelWindow& window(int32_t Number);
    // The server opened a container: a new window, or the same window showing another container.
    void open(TModelWindow Window);
    void close(int32_t Number);
};

// The road with the village, its players started at Start, and helpers that wait for the world.
class TObjectRoad {
public:
    explicit TObjectRoad(testserver::TPosition Start);

    TRoad& road() { return *Road; }
    // The client's screen as the layout code builds it, with the model's windows open as in the client.
    TMainWindow& screen(const TClient& Client, const TClientModel& Model);
    // Chooses an entry of the context menu the client shows: waits for its text and clicks it.
    bool choose(TClient& Client, const std::string& Entry);
    // "Use with ..." from the menu of the object at Tool, then the cursor released at Target.
    bool useWith(TClient& Client, TPoint Tool, TPoint Target);
    // Polls the live world until Condition holds; false, with the test failed, when it does not in time.
    bool waitForWorld(const std::string& Name, const std::function<bool(testserver::TGameWorld&)>& Condition);
    // The player's creature stands on the field.
    bool waitUntilStanding(const std::string& Character, testserver::TPosition Where);
    // Where the player's creature stands now.
    testserver::TPosition positionOf(const std::string& Character);
    // A thing of Type (with the count Data, for a cumulative type) lies on the field.
    bool waitUntilLying(testserver::TPosition Where, uint16_t Type, uint8_t Data);

private:
    std::shared_ptr<const testserver::TWorldSetup> Setup;
    std::unique_ptr<TRoad> Road;
};

// The first component below Parent (depth first) that is a T.
template <typename T> T* Find(const TComponent* Parent) {
    if (dynamic_cast<const TParentComponent*>(Parent) == nullptr) return nullptr;
    for (TComponent* Child = Parent->getFirstChild(); Child != nullptr; Child = Child->getNext()) {
        if (auto* Found = dynamic_cast<T*>(Child)) return Found;
        if (T* Found = Find<T>(Child)) return Found;
    }
    return nullptr;
}

// The player's field for the map helpers below; the view is centred on it.
testserver::TPosition Beside(testserver::TPosition Where, int32_t dx, int32_t dy);
TRect FieldAreaOf(TMainWindow& Screen, testserver::TPosition Player, testserver::TPosition Where);
TPoint FieldCentreOf(TMainWindow& Screen, testserver::TPosition Player, testserver::TPosition Where);

// A client that draws the map at its own scale, so that fields are whole squares.
TClientSetup NoStretching();

// Places of the side bar and the side windows, from the layout model.
TRect BodySlotArea(TMainWindow& Screen, int32_t Position);
TPoint BodySlotCentre(TMainWindow& Screen, int32_t Position);
TRect CellArea(TMainWindow& Screen, int32_t Window, int32_t Index);
TPoint CellCentre(TMainWindow& Screen, int32_t Window, int32_t Index);
TPoint UpButtonCentre(TMainWindow& Screen, int32_t Window);
TPoint CloseButtonCentre(TMainWindow& Screen, int32_t Window);
// The trade window's cell of an offered object: Side 0 the own offer, 1 the partner's.
TRect OfferArea(TMainWindow& Screen, int32_t Side, int32_t Index);

// Patterns: a count written over an object, an object's picture in a cell, a container window's title as
// the model shows it.
TPattern Count(int32_t Pieces);
TPattern ObjectPicture(uint16_t Type, uint8_t Data);
TPattern WindowTitle(TMainWindow& Screen, int32_t Window);
