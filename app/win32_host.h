// The Win32 host of the runtime layer: the main window, the message loop, the
// error box and the end of the process.
#pragma once

#include "app/runtime_core.h"
#include "ui/main_window.h"

#include <memory>

class Win32Host : public Host, private WindowEvents {
public:
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

private:
    void raise(std::size_t entry, Event event) override;
    void destroyed() override;

    std::unique_ptr<MainWindow> window_;
    bool looping_ = false;  // the quit request is posted only once the loop runs
    DWORD guiThread_ = 0;  // the window and its keyboard hook belong to it
};

// Keeps DLLs from being loaded from the current directory, which start-up makes
// the executable's: only the system directory is searched.
void restrictDllSearch();
