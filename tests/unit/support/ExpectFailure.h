// Checks that a call raises exactly the framework exception class and message
// given.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

#include "base/Exceptions.h"

namespace automenu::testing {

template <typename F>
void ExpectFailure(F&& f, const std::type_info& type, const std::string& message) {
    try {
        f();
        ADD_FAILURE() << "expected " << type.name() << " \"" << message << "\", nothing was raised";
    } catch (const Exception& e) {
        EXPECT_TRUE(typeid(e) == type) << "raised " << typeid(e).name() << ", expected " << type.name();
        EXPECT_EQ(e.Message(), message);
    }
}

}  // namespace automenu::testing
