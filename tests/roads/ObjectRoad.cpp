// The shared pieces of the roads of objects and trade.
#include "tests/roads/ObjectRoad.h"

#include "foundation/Exception.h"
#include "gui/DialogElementsViews.h"
#include "gui/SkinProperties.h"
#include "screen/ContentWindowsContainer.h"
#include "screen/ContentWindowsInventory.h"
#include "screen/ContentWindowsTrade.h"
#include "screen/MainWindow.h"
#include "state/Inventory.h"
#include "state/Objects.h"
#include "state/Preferences.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

using namespace testserver;

namespace {

// The bounding box, in the client area, of the points of Component for which Hit holds.
TRect Where(const TComponent* Component, const std::function<bool(int32_t, int32_t)>& Hit,
            const std::string& What) {
    const TRect Area = RectOf(Component);
    int32_t Left = INT32_MAX, Top = INT32_MAX, Right = -1, Bottom = -1;
    for (int32_t y = 0; y < Area.Height; y++)
        for (int32_t x = 0; x < Area.Width; x++)
            if (Hit(x, y)) {
                Left = std::min(Left, x), Top = std::min(Top, y);
                Right = std::max(Right, x), Bottom = std::max(Bottom, y);
            }
    if (Right < 0) throw std::out_of_range("no place for " + What);
    return {Area.x + Left, Area.y + Top, Right - Left + 1, Bottom - Top + 1};
}

TDialogWindow& ContainerFrame(TMainWindow& Screen, int32_t Window) {
    auto* Frame = dynamic_cast<TDialogWindow*>(Screen.DialogWindow->findWindow(CONTAINER_WINDOW + Window));
    if (Frame == nullptr) throw std::out_of_range("no container window " + std::to_string(Window));
    return *Frame;
}

} // namespace

TModelWindow& TClientModel::window(int32_t Number) {
    for (TModelWindow& Window : Windows)
        if (Window.Number == Number) return Window;
    throw std::out_of_range("the model has no window " + std::to_string(Number));
}

void TClientModel::open(TModelWindow Window) {
    for (TModelWindow& Open : Windows)
        if (Open.Number == Window.Number) {
            Window.Shown = Open.Shown;
            Open = std::move(Window);
            return;
        }
    Window.Shown = static_cast<int32_t>(Window.Items.size());
    Windows.push_back(std::move(Window));
}

void TClientModel::close(int32_t Number) {
    std::erase_if(Windows, [&](const TModelWindow& Window) { return Window.Number == Number; });
}

TObjectRoad::TObjectRoad(TPosition Start)
    : Setup(LoadWorld(DefaultDatFile(), {.Start = Start})), Road(std::make_unique<TRoad>()) {
    Road->server().setPlan(TRole::Game, WorldPlan(Setup));
}

TMainWindow& TObjectRoad::screen(const TClient& Client, const TClientModel& Model) try {
    TMainWindow& Screen = Road->layout(Client);
    for (const TModelWindow& Window : Model.Windows) {
        // Made for the objects it first showed, then holding what it holds now.
        const size_t First = Window.Shown < 0 ? Window.Items.size() : static_cast<size_t>(Window.Shown);
        for (size_t Shown : {First, Window.Items.size()}) {
            if (IsContainerOpen(Window.Number)) CloseContainer(Window.Number);
            OpenContainer(Window.Number, {Window.Type, 0, 0}, Window.Name.c_str(), Window.Capacity,
                          Window.HasParent);
            for (size_t i = 0; i < Shown; i++)
                AppendContainerObject(Window.Number, {Window.Type, 0, 0});
            if (!Screen.DialogWindow->hasContentWindow(CONTAINER_WINDOW + Window.Number))
                Screen.openContainerWindow(Window.Number);
        }
    }
    if (Model.Trading) {
        StartOwnOffer("own");
        for (int32_t i = 0; i < Model.OwnCount; i++)
            AddOwnOfferObject({village::SWORD, 0, 0});
        Screen.openTradeWindow();
        if (StartCounterOffer("partner"))
            for (int32_t i = 0; i < Model.CounterCount; i++)
                AddCounterOfferObject({village::SWORD, 0, 0});
        if (Model.CounterCount > 0) Screen.refreshTradeWindow();
    }
    return Screen;
} catch (const TMyException& Error) {
    throw std::runtime_error("the layout model failed: " + Error.getText());
}

bool TObjectRoad::choose(TClient& Client, const std::string& Entry) {
    const std::optional<TRect> Shown = Client.waitUntilShown(MenuEntry(Entry));
    if (Shown) Client.click(Shown->centre());
    return Shown.has_value();
}

bool TObjectRoad::useWith(TClient& Client, TPoint Tool, TPoint Target) {
    Client.rightClick(Tool);
    if (!choose(Client, "Use with ...")) return false;
    Client.click(Target);
    return true;
}

bool TObjectRoad::waitForWorld(const std::string& Name, const std::function<bool(TGameWorld&)>& Condition) {
    return Road->waitForWorld(*Road->server().world(Setup), Name, Condition);
}

bool TObjectRoad::waitUntilStanding(const std::string& Character, TPosition Where) {
    return waitForWorld(Character + " on the field", [&](TGameWorld& World) {
        TPlayer* Player = World.player(Character);
        return Player && World.creature(*Player).Position == Where;
    });
}

TPosition TObjectRoad::positionOf(const std::string& Character) {
    TPosition Where{};
    waitForWorld(Character + " in the world", [&](TGameWorld& World) {
        TPlayer* Player = World.player(Character);
        if (Player) Where = World.creature(*Player).Position;
        return Player != nullptr;
    });
    return Where;
}

bool TObjectRoad::waitUntilLying(TPosition Where, uint16_t Type, uint8_t Data) {
    return waitForWorld("a thing on the field", [&](TGameWorld& World) {
        const TField* Field = World.world().field(Where);
        if (!Field) return false;
        return std::any_of(Field->stack().begin(), Field->stack().end(), [&](const TThing& Thing) {
            return Thing.Type == Type &&
                   (!World.world().types().hasFlag(Type, FLAG_CUMULATIVE) || Thing.Data == Data);
        });
    });
}

TPosition Beside(TPosition Where, int32_t dx, int32_t dy) { return {Where.X + dx, Where.Y + dy, Where.Z}; }

TRect FieldAreaOf(TMainWindow& Screen, TPosition Player, TPosition Where) {
    return FieldArea(Screen, Where.X - Player.X, Where.Y - Player.Y);
}

TPoint FieldCentreOf(TMainWindow& Screen, TPosition Player, TPosition Where) {
    return FieldAreaOf(Screen, Player, Where).centre();
}

TClientSetup NoStretching() {
    TClientSetup Setup;
    Setup.Options = [] { SetNoStretching(true); };
    return Setup;
}

TRect BodySlotArea(TMainWindow& Screen, int32_t Position) {
    const TInventoryWindow* Slots = Find<TInventoryWindow>(Screen.SideBar);
    if (Slots == nullptr) throw std::out_of_range("no equipment window");
    return Where(
        Slots, [&](int32_t x, int32_t y) { return Slots->getSlotAt(x, y) == Position; }, "a body slot");
}

TPoint BodySlotCentre(TMainWindow& Screen, int32_t Position) {
    return BodySlotArea(Screen, Position).centre();
}

TRect CellArea(TMainWindow& Screen, int32_t Window, int32_t Index) {
    const auto* Body = static_cast<const TContainerWindow*>(ContainerFrame(Screen, Window).Body);
    return Where(
        Body, [&](int32_t x, int32_t y) { return Body->getIndexAt(x, y, false) == Index; }, "a cell");
}

TPoint CellCentre(TMainWindow& Screen, int32_t Window, int32_t Index) {
    return CellArea(Screen, Window, Index).centre();
}

TPoint UpButtonCentre(TMainWindow& Screen, int32_t Window) {
    return RectOf(ContainerFrame(Screen, Window).Button1).centre();
}

TPoint CloseButtonCentre(TMainWindow& Screen, int32_t Window) {
    return RectOf(ContainerFrame(Screen, Window).Button2).centre();
}

TRect OfferArea(TMainWindow& Screen, int32_t Side, int32_t Index) {
    const TTradeOffers* Offers = Find<TTradeOffers>(Screen.DialogWindow);
    if (Offers == nullptr) throw std::out_of_range("no trade window");
    return Where(
        Offers,
        [&](int32_t x, int32_t y) {
            int32_t HitSide = -1, HitIndex = -1;
            Offers->getObjectAt(x, y, HitSide, HitIndex);
            return HitSide == Side && HitIndex == Index;
        },
        "an offered object");
}

TPattern Count(int32_t Pieces) { return Text(std::to_string(Pieces), SkinProperties.ObjectView.CountFormat); }

TPattern ObjectPicture(uint16_t Type, uint8_t Data) {
    // The drawing reads the object types, which the layout model does not need.
    static const bool TypesRead = [] {
        InDirectory(EBRUN_DATA_DIR, [] { InitObjects(); });
        return true;
    }();
    (void)TypesRead;
    const int32_t Black[3] = {0, 0, 0};
    TObjectView View({Type, Data, 0}, Black, false);
    View.setSize(32, 32);
    return TReference::get().component(View, "object " + std::to_string(Type));
}

TPattern WindowTitle(TMainWindow& Screen, int32_t Window) {
    // The title label is lower than its font: what shows is what the label draws.
    TDialogWindow& Frame = ContainerFrame(Screen, Window);
    return TReference::get().component(*Frame.Button5, "the title of window " + std::to_string(Window));
}
