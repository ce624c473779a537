// Ambient light: the target the server sends and the shown value that fades toward it once a second.
#include "state/MapLight.h"

#include "foundation/Exception.h"

namespace {

// Zero at program start; entering the game sets the target to -1 and keeps the shown light.
int32_t AmbienteTargetBrightness = 0;
TRGBColor AmbienteTargetColor;
int32_t AmbienteActualBrightness = 0;
TRGBColor AmbienteActualColor;

void StepToward(int32_t& Shown, int32_t Target) {
    if (Shown < Target) Shown++;
    if (Shown > Target) Shown--;
}

} // namespace

// A second "no light yet" (entering the game twice without a light message) is not taken over as shown.
void SetAmbientLight(int32_t Brightness, int32_t Color) {
    bool FirstLight = AmbienteTargetBrightness == -1;
    AmbienteTargetBrightness = Brightness;
    AmbienteTargetColor = TRGBColor(Color);
    if (!FirstLight || Brightness < 0) return;
    AmbienteActualBrightness = AmbienteTargetBrightness;
    AmbienteActualColor = AmbienteTargetColor;
}

// Fading toward the -1 of "no light yet" would drive the shown brightness negative, which the map view
// refuses; the last game's light is kept instead until the server's first light arrives.
void FadeAmbientLight() {
    if (AmbienteTargetBrightness < 0) return;
    StepToward(AmbienteActualBrightness, AmbienteTargetBrightness);
    StepToward(AmbienteActualColor.Red, AmbienteTargetColor.Red);
    StepToward(AmbienteActualColor.Green, AmbienteTargetColor.Green);
    StepToward(AmbienteActualColor.Blue, AmbienteTargetColor.Blue);
}

int32_t GetAmbientBrightness() {
    CHECK(AmbienteActualBrightness >= 0, AmbienteActualBrightness);
    return AmbienteActualBrightness;
}

void GetAmbientLightColor(TRGBColor& Color) { Color = AmbienteActualColor; }
