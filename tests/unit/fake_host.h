// A host for driving the runtime core without a platform: it records what the
// core asks of it, keeps control texts in memory and turns the end of the process
// into an exception the test can catch.
#pragma once

#include "app/runtime_core.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Thrown by FakeHost::endProcess.
struct ProcessEnded {
    int code;
};

class FakeHost : public Host {
public:
    // Calls in order: "enterExecutableDirectory", "takeGuiThread", "buildWindow",
    // "showWindow", "runMessageLoop", "showErrorBox", "releaseResources",
    // "endProcess -1", plus whatever the hooks below add.
    std::vector<std::string> calls;

    bool buildSucceeds = true;
    bool exists = false;
    // Run inside buildWindow (e.g. to raise an event while building) and inside
    // runMessageLoop (to play the user's input).
    std::function<void()> whileBuilding;
    std::function<void()> whileLooping;
    // The layout the core handed to buildWindow.
    std::vector<int> parents;

    // Control texts by entry index and property; reads and writes are counted.
    std::map<std::pair<std::size_t, Property>, std::string> texts;
    std::map<std::size_t, int> reads;
    std::vector<std::pair<std::size_t, std::string>> writes;

    std::string errorText;
    int errorBoxes = 0;

    // obtainMemory fails on its n-th call (1-based) from now on; 0: never.
    long failObtainAt = 0;
    long obtained = 0;
    long lastRequest = -1;

    void enterExecutableDirectory() override;
    void takeGuiThread() override;
    bool buildWindow(ResolvedLayout layout) override;
    bool windowExists() const override;
    void showWindow() override;
    void runMessageLoop() override;
    std::string readText(std::size_t entry, Property property) override;
    void writeText(std::size_t entry, Property property, const char* text) override;
    void showErrorBox(const char* text) override;
    void releaseResources() override;
    [[noreturn]] void endProcess(int code) override;
    void* obtainMemory(std::size_t bytes) override;
};

// Index of the entry with this (GBK) name in the main window's description.
std::size_t entryIndex(const char* name);
