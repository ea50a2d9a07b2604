#pragma once
// The fixture of scenarios that start helper programs: no run value of the
// program and no titled helper window is left from before or after them.
#include <gtest/gtest.h>

#include "driver.h"

namespace zelvar::e2e {

// The caption of the helper program the start-up lists and the closing of
// applications start.
constexpr wchar_t kTitledHelper[] = L"Zelvar titled helper";

class CleanScenario : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveRunValues();
        EndProcessesTitled(kTitledHelper);
    }
    void TearDown() override {
        RemoveRunValues();
        EndProcessesTitled(kTitledHelper);
    }
};

}  // namespace zelvar::e2e
