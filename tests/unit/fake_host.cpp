#include "tests/unit/fake_host.h"

#include <cstring>
#include <stdexcept>

void FakeHost::enterExecutableDirectory() {
    calls.push_back("enterExecutableDirectory");
}

void FakeHost::takeGuiThread() {
    calls.push_back("takeGuiThread");
}

bool FakeHost::buildWindow(ResolvedLayout layout) {
    calls.push_back("buildWindow");
    parents = layout.parents;
    if (whileBuilding) whileBuilding();
    exists = buildSucceeds;
    return buildSucceeds;
}

bool FakeHost::windowExists() const {
    return exists;
}

void FakeHost::showWindow() {
    calls.push_back("showWindow");
}

void FakeHost::runMessageLoop() {
    calls.push_back("runMessageLoop");
    if (whileLooping) whileLooping();
    exists = false;
}

std::string FakeHost::readText(std::size_t entry, Property property) {
    ++reads[entry];
    auto it = texts.find({entry, property});
    return it != texts.end() ? it->second : std::string();
}

void FakeHost::writeText(std::size_t entry, Property property, const char* text) {
    texts[{entry, property}] = text;
    writes.emplace_back(entry, text);
}

void FakeHost::showErrorBox(const char* text) {
    calls.push_back("showErrorBox");
    errorText = text;
    ++errorBoxes;
}

void FakeHost::releaseResources() {
    calls.push_back("releaseResources");
    exists = false;
}

void FakeHost::endProcess(int code) {
    calls.push_back("endProcess " + std::to_string(code));
    throw ProcessEnded{code};
}

void* FakeHost::obtainMemory(std::size_t bytes) {
    ++obtained;
    lastRequest = static_cast<long>(bytes);
    if (failObtainAt != 0 && obtained >= failObtainAt) return nullptr;
    return Host::obtainMemory(bytes);
}

std::size_t entryIndex(const char* name) {
    for (std::size_t i = 0; i < kMainWindow.count; ++i) {
        if (std::strcmp(kMainWindow.entries[i].name, name) == 0) return i;
    }
    throw std::invalid_argument(name);
}
