// Text elements: the fixed text label, the mark-up text box that lays out a small tag language with word
// wrap, and the labelled button that opens a stored destination.
#pragma once

#include "graphics/graphics.h"
#include "gui/GUI.h"

#include <cstdint>
#include <memory>

class TTextButton;

// One or more lines (split at line feeds) in one format. With Shorten, lines wider than the label end in
// "..." and the full text becomes the tool tip. A label never takes the mouse.
class TTextLabel : public TLeafComponent {
public:
    TTextLabel(int32_t x, int32_t y, int32_t width, int32_t height, int32_t Font, int32_t Red, int32_t Green,
               int32_t Blue, int32_t Alignment, const char* _Text, bool Shorten);
    // Sized to the widest line and the line count.
    TTextLabel(int32_t x, int32_t y, int32_t Font, int32_t Red, int32_t Green, int32_t Blue,
               int32_t Alignment, const char* _Text);
    TTextLabel(int32_t Font, int32_t Red, int32_t Green, int32_t Blue, int32_t Alignment, const char* _Text);

    bool mouseMove(int32_t X, int32_t Y) override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override;
    void getToolTip(int32_t X, int32_t Y) override;
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    // The label keeps its size.
    virtual void setText(const char* _Text, bool Shorten);

    const char* getText() const { return FullText.get(); }
    const char* getLine(int32_t Line) const { return Lines[Line]; }

    std::unique_ptr<char[]> LineBuffer; // the text, line feeds replaced by terminators
    std::unique_ptr<char[]> FullText;
    TTextFormat Format;
    int32_t LineCount = 0;
    std::unique_ptr<char*[]> Lines; // into LineBuffer
    bool Shortened = false;
};

// Token types of the mark-up tags.
enum : int32_t {
    TAG_BOLD = 1,
    TAG_NORMAL = 2,
    TAG_HIGHLIGHT = 3,
    TAG_FONT = 10,
    TAG_HSPACE,
    TAG_INDENT,
    TAG_BR,
    TAG_COLOR,
    TAG_SKIN,
    TAG_RED,
    TAG_GREEN,
    TAG_BLUE
};

// Reads a tag "<name>" or "<name=digits>" at Text; the tag's length, or 0 when Text starts no tag. A name
// matches the first keyword it is a case-blind prefix of.
int32_t ScanMarkupTag(const char* Text, int32_t& TokenType, int32_t& TokenData);

// Lays out mark-up as labels and skin images, wrapping at its width (none while the width is automatic).
class TMarkupTextBox : public TParentComponent {
public:
    explicit TMarkupTextBox(const char* _Text);

    // A width or height of 0 or less is automatic.
    void setSize(int32_t _Width, int32_t _Height) override;
    void arrange() override;
    virtual void setText(const char* _Text, bool Arrange);

    std::unique_ptr<char[]> Text;
    std::unique_ptr<char[]> WorkBuffer; // one run's text while its label is made
    bool AutoWidth = true;
    bool AutoHeight = true;
};

// A label and, at its right, a text button that hands the destination to OpenFunction.
class TLabelledButton : public TParentComponent {
public:
    using TOpenFunction = void (*)(const char* Destination);
    TLabelledButton(const char* _Text, const char* ButtonText, const char* _Destination,
                    TOpenFunction OpenFunction, int32_t Font, int32_t Red, int32_t Green, int32_t Blue,
                    int32_t Alignment);

    int32_t getMinimumWidth() const override;
    int32_t getMinimumHeight() const override;
    void setSize(int32_t _Width, int32_t _Height) override;
    void arrange() override;
    void handleEvent(int32_t Identifier) override;

    TOpenFunction OpenFunction;
    std::unique_ptr<char[]> _Destination;
    TTextButton* Button;
    TTextLabel* Label;
};
