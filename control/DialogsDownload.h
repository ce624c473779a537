// The progress of a data-file download, which stays at least two seconds; its factory.
#pragma once

#include "control/DialogsFrame.h"

#include <cstdint>

class TProgressBar;

class TDownloadDialog : public TParentComponent {
public:
    TDownloadDialog(const char* Name, int32_t Number);
    void draw(int32_t Surface, int32_t X, int32_t Y) override; // advances the display
    void handleEvent(int32_t Identifier) override;             // 2 aborts a running download and ends

    int32_t StartTime;
    int32_t ShownProgress = 0;
    bool Finished = false;
    int32_t Number;
    TTextLabel* Label;
    TProgressBar* ProgressBar;
};

TModalDialog* CreateDownloadDialog(const char* Name, int32_t Number);
