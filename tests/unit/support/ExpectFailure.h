// Checks that a call raises exactly the framework exception class and message
// given.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "base/Exceptions.h"

namespace automenu::testing {

template <typename F>
void ExpectFailure(F&& f, const std::string& class_name, const std::string& message) {
    try {
        f();
        ADD_FAILURE() << "expected " << class_name << " \"" << message << "\", nothing was raised";
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.ClassName()), class_name);
        EXPECT_EQ(e.Message(), message);
    }
}

}  // namespace automenu::testing
