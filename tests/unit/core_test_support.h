// What the unit tests of the core share: the handler table the main window is
// bound to, a host with two more probes, and a fixture that starts every test
// from empty formation tables with the core running on its own host.
#pragma once

#include "app/runtime_core.h"
#include "lookup/formation_query.h"
#include "lookup/formation_table.h"
#include "tests/unit/fake_host.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <iterator>
#include <optional>
#include <string>

inline void doNothing() {}

// The program's handler names, bound to the real lookup routines; the web-page
// routines do nothing here.
inline constexpr HandlerName kTestHandlerNames[] = {
    {"fillFormationTables", fillFormationTables},
    {"queryFormation", queryFormation},
    {"openMoreToolsPage", doNothing},
    {"openForumPage", doNothing},
    {"openGuidesPage", doNothing},
};
inline constexpr HandlerTable kTestHandlers{kTestHandlerNames, std::size(kTestHandlerNames)};

// A fake host that can also look at the core when the window is shown and when
// the host's resources are released.
class ProbeHost : public FakeHost {
public:
    std::function<void()> atShow;
    std::function<void()> atRelease;

    void showWindow() override {
        FakeHost::showWindow();
        if (atShow) atShow();
    }
    void releaseResources() override {
        FakeHost::releaseResources();
        if (atRelease) atRelease();
    }
};

// The exit code the process ended with while `body` ran; none when it did not end.
template <class Body>
std::optional<int> exitCodeOf(Body&& body) {
    try {
        body();
    } catch (const ProcessEnded& ended) {
        return ended.code;
    }
    return std::nullopt;
}

// A GBK text for trace messages: bytes outside printable ASCII as \xHH.
inline std::string printable(const char* text) {
    if (text == nullptr) return "(absent)";
    std::string out = "\"";
    for (const char* p = text; *p != '\0'; ++p) {
        auto byte = static_cast<unsigned char>(*p);
        if (byte >= 0x20 && byte < 0x7F) {
            out += *p;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        }
    }
    return out + "\"";
}

class CoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        useRuntime(host, kMainWindow, kTestHandlers);
        releaseTables();
        baseline = liveBlockCount();
    }
    void TearDown() override {
        host.failObtainAt = 0;
        useRuntime(host, kMainWindow, kTestHandlers);
        releaseTables();
    }

    // Blocks in the ledger beyond those at the start of the test.
    long extraBlocks() const { return static_cast<long>(liveBlockCount()) - static_cast<long>(baseline); }

    void setText(const char* control, Property property, const char* text) {
        if (text == nullptr) host.texts.erase({entryIndex(control), property});
        else host.texts[{entryIndex(control), property}] = text;
    }

    // The text the host holds for a control's property ("" when none).
    std::string textOf(const char* control, Property property) {
        auto it = host.texts.find({entryIndex(control), property});
        return it != host.texts.end() ? it->second : std::string();
    }

    ProbeHost host;
    std::size_t baseline = 0;
};
