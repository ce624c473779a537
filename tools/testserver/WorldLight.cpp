// Light: the ambient light follows the world's time of day, bright by day, dark at night, fading between.
#include "tools/testserver/GameWorld.h"
#include "tools/testserver/WorldRoads.h"

namespace testserver {

namespace {

struct TLightAt {
    int Minute; // of the day
    uint8_t Brightness;
    uint8_t Color; // of the 6 x 6 x 6 colour cube
};
// The brightness runs straight from one entry to the next; the colour is the earlier entry's.
constexpr uint8_t DAYLIGHT = 215, MOONLIGHT = 173; // white; pale blue
const TLightAt DAY[] = {{0, 40, MOONLIGHT},       {4 * 60, 40, MOONLIGHT},  {6 * 60, 250, DAYLIGHT},
                        {19 * 60, 250, DAYLIGHT}, {21 * 60, 40, MOONLIGHT}, {24 * 60, 40, MOONLIGHT}};

TLightAt LightAt(int Minute) {
    for (size_t i = 1; i < std::size(DAY); ++i) {
        const TLightAt &From = DAY[i - 1], &To = DAY[i];
        if (Minute >= To.Minute) continue;
        const int Span = To.Minute - From.Minute, Into = Minute - From.Minute;
        const int Brightness = From.Brightness + (To.Brightness - From.Brightness) * Into / Span;
        return {Minute, static_cast<uint8_t>(Brightness), From.Color};
    }
    return DAY[0];
}

} // namespace

void ShineOn(TGameWorld& World, TPlayer& Player) {
    const TLightAt Light = LightAt(World.timeOfDay());
    const int Sent = Light.Brightness << 8 | Light.Color;
    if (Sent == Player.LightSent) return;
    Player.LightSent = Sent;
    Player.send(AmbientLightMessage(Light.Brightness, Light.Color));
}

} // namespace testserver
