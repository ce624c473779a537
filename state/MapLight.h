// Ambient light: the target the server sends and the shown value that fades toward it once a second.
#pragma once

#include "foundation/Utils.h"

#include <cstdint>


// Brightness -1 marks that no light has arrived since entering the game; the next light is shown at once.
void SetAmbientLight(int32_t Brightness, int32_t Color);
// One unit toward the target for the brightness and each colour component; nothing while the target is -1.
void FadeAmbientLight();
int32_t GetAmbientBrightness();
void GetAmbientLightColor(TRGBColor& Color);
