// The skills window: the player's values, level and skills with their progress bars.
#pragma once

#include "screen/ContentWindowsSide.h"

#include <cstdint>

class TSkillsWindow : public TScrolledListBody {
public:
    TSkillsWindow();
    ~TSkillsWindow() override { ReleaseTooltip(ToolTipText); }

    // Line 1 to Lines (checks "In(NumberOfLine,1,Lines)"): false for the separator (line 8), else true with
    // the label copied into Text (at least 32 bytes). Progress -1: the line shows no bar.
    bool getLine(int32_t NumberOfLine, char* Text, int32_t& Value, int32_t& Progress) const;
    // The options' bars changed: the content height follows, the window keeps its height.
    void arrangeBars() { arrange(); }

    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override; // asks for the skills menu
    void getToolTip(int32_t X, int32_t Y) override;
    bool getHelpContext(int32_t X, int32_t Y) override;
    int32_t getDefaultHeight() const override;
    int32_t getMaximumHeight() const override; // the whole list plus the margins
    int32_t getContentHeight() const override; // the 15 lines with their bars

    int32_t Lines = 15;

protected:
    int32_t getPageHeight() const override;

private:
    // The text width: the body less the margins and the scroll box.
    int32_t textWidth() const;
    void drawLine(int32_t Surface, int32_t X, int32_t Y, int32_t Line, int32_t Top, int32_t Height) const;

    char ToolTipText[256] = {};
};

// The framed skills window (identifier 6).
TDialogWindow* CreateSkillsWindow();
