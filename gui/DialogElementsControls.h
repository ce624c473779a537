// Passive and simple controls: the check box with its caption, the progress bar and the separator line.
#pragma once

#include "gui/GUI.h"

#include <cstdint>

class TTextLabel;

// An on/off option with a caption of fewer than 50 characters; it fires nothing, its owner reads it. A
// disabled box greys its caption, shows the empty box and ignores clicks but keeps its state.
class TCheckBox : public TParentComponent {
public:
    explicit TCheckBox(const char* _Text);

    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    void arrange() override;
    virtual void setChecked(bool Flag) { Checked = Flag; }
    virtual bool isChecked() const { return Checked; }
    void setEnabled(bool Flag);

    TTextLabel* Caption;
    bool Checked = false;
    bool Enabled = true;
};

// A value of 0..Maximum shown as the filled part of a trough.
class TProgressBar : public TLeafComponent {
public:
    TProgressBar();

    int32_t getMinimumWidth() const override;
    int32_t getMinimumHeight() const override;
    void setSize(int32_t _Width, int32_t _Height) override;
    void arrange() override;
    // Also limits the value to the new maximum.
    void setMaximum(int32_t Maximum);
    void setValue(int32_t Value); // limited to 0..Maximum
    void fill();

    int32_t Maximum = 100;
    int32_t Value = 0;
};

// A two-skin line, horizontal or vertical, over its whole size.
class TSeparator : public TLeafComponent {
public:
    explicit TSeparator(bool Horizontal);

    void setSize(int32_t _Width, int32_t _Height) override;
    void arrange() override;

    bool Horizontal;
};
