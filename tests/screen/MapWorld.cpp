// The modules that the map view draws from, and creatures placed in the map box.
#include "tests/screen/MapWorld.h"

#include "graphics/graphics.h"
#include "gui/GUIServices.h"
#include "gui/SkinProperties.h"
#include "state/CreaturesPlayer.h"
#include "state/EventHints.h"
#include "state/Events.h"
#include "state/Map.h"
#include "state/MapLight.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/Talk.h"

#include <cstdio>

void InitMapViewModules(int32_t MemoryCacheBytes, int32_t X, int32_t Y, int32_t Z, uint32_t PlayerID) {
    InitGraphics(MemoryCacheBytes);
    InitVideoCache();
    InitSkins();
    InitSkinProperties();
    ResetOptions();
    ResetShortcuts();
    ResetEventHelps();
    ClearMessages();
    ResetTalkboxes();
    SetActionState(ACTIONSTATE_NONE);
    InitCreatures();
    InitMap(nullptr);
    SetViewPosition(X, Y, Z);
    SetAmbientLight(-1, 0);
    SetAmbientLight(255, 215);
    SetPlayerID(PlayerID);
}

void ExitMapViewModules() {
    ClearMessages();
    ClearMap();
    SetPlayerID(0);
    InitCreatures();
    ExitSkins();
    ExitGraphics();
}

TCreature& PlaceCreature(uint32_t ID, int32_t rx, int32_t ry, const char* Name) {
    TCreature* C = NewCreature(0, ID);
    int32_t x = rx, y = ry, z = GetViewLayer();
    LocalToWorld(x, y, z);
    C->X = x;
    C->Y = y;
    C->Z = z;
    snprintf(C->Name, sizeof C->Name, "%s", Name);
    C->HealthPercent = 100;
    C->Visible = 1;
    AppendMapObject(rx, ry, GetViewLayer(), {CREATURE, static_cast<int32_t>(ID), 0});
    return *C;
}
