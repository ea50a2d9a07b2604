// Entry of the end-to-end run: no run value may be left behind by a
// scenario, whatever its outcome.
#include <gtest/gtest.h>

#include "driver.h"

namespace {

class RunValueCleanup : public ::testing::Environment {
public:
    void SetUp() override { zelvar::e2e::RemoveRunValues(); }
    void TearDown() override { zelvar::e2e::RemoveRunValues(); }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new RunValueCleanup);
    return RUN_ALL_TESTS();
}
