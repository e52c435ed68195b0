// Every settings test runs on a fresh headless handset, whose virtual clock
// lets the tests measure the store's pauses without waiting for them. (Naming
// the headless handset here also brings its back end into the link.)
#include <gtest/gtest.h>

#include "platform/headless/headless.h"

namespace {

class FreshHandset : public ::testing::Environment {
public:
    void SetUp() override { plat::headless::reset(); }
};

const ::testing::Environment* const kFreshHandset = ::testing::AddGlobalTestEnvironment(new FreshHandset);

}  // namespace
