#pragma once

#include "platform/Outcome.h"

#include <gtest/gtest.h>

// The value of an outcome the test expects to succeed; a failure is reported
// with its reason and an empty value stands in.
template <class T>
T Succeeded(Outcome<T> outcome) {
    if (!outcome) {
        ADD_FAILURE() << outcome.Reason();
        return T{};
    }
    return std::move(*outcome);
}
