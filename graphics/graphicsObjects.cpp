// Objects and outfits drawn scaled into square boxes: pattern by count or liquid, animation by the tick
// counter, the count of a stackable object, and the outfit colours through the mask sprites.
#include "graphics/graphics.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "state/Objects.h"
#include "state/Status.h"

#include <cstdio>

void DrawObject(int32_t Surface, int32_t x, int32_t y, int32_t Size, TObject Object, int32_t BackgroundRed,
                int32_t BackgroundGreen, int32_t BackgroundBlue, int32_t ClipX, int32_t ClipY,
                int32_t ClipWidth, int32_t ClipHeight, TTextFormat CountFormat, bool AlwaysShowCount) try {
    const int32_t Type = Object.Type;
    if (Type == 0) return;
    int32_t PatternX = 1, PatternY = 1;
    const bool Cumulative = GetObjectFlag(Type, CUMULATIVE);
    if (Cumulative) GetCumulativePattern(Object, PatternX, PatternY);
    if (GetObjectFlag(Type, LIQUIDCONTAINER) || GetObjectFlag(Type, LIQUIDPOOL))
        GetLiquidPattern(Object, PatternX, PatternY);
    // A type from the file without phases or size has no picture to scale.
    const int32_t Phases = GetObjectPhases(Type), TypeSize = GetObjectSize(Type);
    if (Phases > 0 && TypeSize > 0) {
        const int32_t Phase = (GetTickCounter() / 5) % Phases + 1;
        const int32_t Cell = Size * 32 / TypeSize;
        for (int32_t Layer = 1; Layer <= GetObjectLayers(Type); Layer++)
            for (int32_t X = 1; X <= GetObjectWidth(Type); X++)
                for (int32_t Y = 1; Y <= GetObjectHeight(Type); Y++)
                    DrawSpriteStretched(Surface, x + Size - X * Cell, y + Size - Y * Cell, Cell, Cell,
                                        GetObjectSprite(Type, X, Y, Layer, PatternX, PatternY, 1, Phase),
                                        BackgroundRed, BackgroundGreen, BackgroundBlue, ClipX, ClipY,
                                        ClipWidth, ClipHeight);
    }
    if ((Cumulative && Object.Data > 1) || AlwaysShowCount) {
        char Text[16];
        snprintf(Text, sizeof(Text), "%d", Object.Data);
        PrintFormattedTextClipped(Surface, x + Size - 1, y + Size - 1 - GetTextHeight(CountFormat.Font, Text),
                                  CountFormat, Text, ClipX, ClipY, ClipWidth, ClipHeight);
    }
}
CATCH_FRAME(Surface)

void DrawOutfit(int32_t Surface, int32_t x, int32_t y, int32_t Size, int32_t OutfitType,
                const int32_t* Colors, int32_t BackgroundRed, int32_t BackgroundGreen, int32_t BackgroundBlue,
                int32_t ClipX, int32_t ClipY, int32_t ClipWidth, int32_t ClipHeight,
                TTextFormat CountFormat) try {
    CHECK_TEXT(Colors != nullptr, "Colors!=NULL");
    if (OutfitType == 0) {
        if (Colors[0] != 0)
            DrawObject(Surface, x, y, Size, TObject{Colors[0], 0, 0}, BackgroundRed, BackgroundGreen,
                       BackgroundBlue, ClipX, ClipY, ClipWidth, ClipHeight, CountFormat, false);
        return;
    }
    int32_t Rgb[12];
    for (int32_t Part = 0; Part < 4; Part++)
        GetOutfitColor(Colors[Part], Rgb[3 * Part], Rgb[3 * Part + 1], Rgb[3 * Part + 2]);
    const int32_t TypeSize = GetOutfitSize(OutfitType);
    if (TypeSize <= 0) return;
    const int32_t Cell = Size * 32 / TypeSize;
    const bool Masked = GetOutfitLayers(OutfitType) == 2;
    for (int32_t X = 1; X <= GetOutfitWidth(OutfitType); X++)
        for (int32_t Y = 1; Y <= GetOutfitHeight(OutfitType); Y++) {
            const int32_t Sprite = GetOutfitSprite(OutfitType, X, Y, 1, 2, 1);
            const int32_t Mask = Masked ? GetOutfitSprite(OutfitType, X, Y, 2, 2, 1) : 0;
            DrawOutfitSpriteStretched(Surface, x + Size - X * Cell, y + Size - Y * Cell, Cell, Cell, Sprite,
                                      Mask, Rgb, BackgroundRed, BackgroundGreen, BackgroundBlue, ClipX, ClipY,
                                      ClipWidth, ClipHeight);
        }
}
CATCH_FRAME(Surface)
