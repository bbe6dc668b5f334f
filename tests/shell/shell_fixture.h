// Fresh process-wide state for each test of the shell.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/render_window.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/presentation_doubles.h"
#include "tests/fakes/scripted_win32.h"

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetScript();
        ResetPresentationDoubles();
        FullscreenMode = true;
        WindowActive = true;
        std::memset(KeyTable, 0, sizeof(KeyTable));
        WindowHandle = nullptr;
        DeviceContext = nullptr;
        RenderContext = nullptr;
        InstanceHandle = nullptr;
    }

    // The message boxes shown, as "CAPTION|text|type".
    static std::vector<std::string> Boxes() {
        std::vector<std::string> boxes;
        for (const auto& entry : CallLog()) {
            if (entry.rfind("MessageBoxA ", 0) == 0) {
                boxes.push_back(entry.substr(12));
            }
        }
        return boxes;
    }

    static bool CreateProgramWindow() {
        return CreateRenderWindow("KX 2007 Zandrel - Dwip This", 800, 600, 32, FullscreenMode);
    }
};
