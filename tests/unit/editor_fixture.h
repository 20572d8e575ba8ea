// A fresh editor state for each test, and a way to read what it printed.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "editor/editor_state.h"

class EditorStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        editor = EditorState{};
        initEditorState();
    }

    // Runs `action` and returns everything it wrote to standard output.
    template <typename Action>
    static std::string printed(Action action)
    {
        ::testing::internal::CaptureStdout();
        action();
        return ::testing::internal::GetCapturedStdout();
    }

    static void addPoints(int n)
    {
        for (int i = 0; i < n; i++) {
            addPoint(static_cast<float>(10 * i), static_cast<float>(-5 * i), 10.0f);
        }
    }
};
