#pragma once

// A headless window system for a test: unanswered modal calls fail the test by name, and
// everything prepared must have been used by the end of it.

#include <gtest/gtest.h>

#include "platform/headless/headless_backend.h"

namespace tallyfold::testing {

/// A plain window to own the dialogs a test runs.
class OwnerWindow : public platform::Window {
  public:
    explicit OwnerWindow(platform::Backend& backend) : Window(backend) {}
};

class HeadlessTest : public ::testing::Test {
  protected:
    HeadlessTest() {
        backend.SetFailureHandler([](const std::string& message) { ADD_FAILURE() << message; });
    }
    void TearDown() override { backend.VerifyAllUsed(); }

    platform::headless::HeadlessBackend backend;
};

}  // namespace tallyfold::testing
