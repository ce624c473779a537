// Test components that record what reaches them, for the tree, routing and widget tests.
#pragma once

#include "gui/GUI.h"

#include <string>
#include <vector>

// A shared log of "<name>:<event> x,y" lines.
using TEventLog = std::vector<std::string>;

// A leaf that logs pointer events and answers with Consume.
class TProbeLeaf : public TLeafComponent {
public:
    TProbeLeaf(TEventLog& Log, std::string Name, bool Consume = true)
        : Log(Log), Name(std::move(Name)), Consume(Consume) {}
    ~TProbeLeaf() override { Log.push_back(Name + ":deleted"); }

    bool mouseMove(int32_t X, int32_t Y) override { return record("move", X, Y); }
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t) override { return record("down", X, Y); }
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t) override { return record("up", X, Y); }
    bool rightClick(int32_t X, int32_t Y, uint32_t) override { return record("right", X, Y); }
    bool mouseScroll(int32_t X, int32_t Y, uint32_t Kind) override {
        return record("scroll" + std::to_string(Kind), X, Y);
    }
    void getToolTip(int32_t X, int32_t Y) override { record("tip", X, Y); }
    void handleEvent(int32_t Identifier) override {
        Log.push_back(Name + ":event " + std::to_string(Identifier));
    }
    void parentMoved() override { Log.push_back(Name + ":parentMoved"); }

    TEventLog& Log;
    std::string Name;
    bool Consume;

private:
    bool record(const std::string& Event, int32_t X, int32_t Y) {
        Log.push_back(Name + ":" + Event + " " + std::to_string(X) + "," + std::to_string(Y));
        return Consume;
    }
};

// A container that logs the events told to it and, with LogSizes, its own setSize calls.
class TProbeParent : public TParentComponent {
public:
    TProbeParent(TEventLog& Log, std::string Name) : Log(Log), Name(std::move(Name)) {}
    ~TProbeParent() override { Log.push_back(Name + ":deleted"); }

    void handleEvent(int32_t Identifier) override {
        Log.push_back(Name + ":event " + std::to_string(Identifier));
    }
    void setSize(int32_t W, int32_t H) override {
        if (LogSizes) Log.push_back(Name + ":setSize " + std::to_string(W) + "x" + std::to_string(H));
        TParentComponent::setSize(W, H);
    }
    int32_t getMinimumWidth() const override { return MinimumWidth; }
    int32_t getMinimumHeight() const override { return MinimumHeight; }

    TEventLog& Log;
    std::string Name;
    bool LogSizes = false;
    int32_t MinimumWidth = 0;
    int32_t MinimumHeight = 0;
};

// Places and sizes a component in its parent's coordinates.
inline void Place(TComponent* Component, int32_t X, int32_t Y, int32_t Width, int32_t Height) {
    Component->setPosition(X, Y);
    Component->setSize(Width, Height);
}

// The children of Parent in list order, by their probe names.
inline std::string ChildNames(const TComponent* Parent) {
    std::string Names;
    for (TComponent* Child = Parent->getFirstChild(); Child != nullptr; Child = Child->getNext()) {
        if (!Names.empty()) Names += " ";
        if (auto* Leaf = dynamic_cast<TProbeLeaf*>(Child))
            Names += Leaf->Name;
        else if (auto* Inner = dynamic_cast<TProbeParent*>(Child))
            Names += Inner->Name;
        else
            Names += "?";
    }
    return Names;
}
