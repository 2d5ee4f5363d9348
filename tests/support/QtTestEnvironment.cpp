#include "QtTestEnvironment.h"

#include <gtest/gtest.h>

#include <memory>

namespace velloran::testing {

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override { application_ = std::make_unique<platform::GuardedApplication>(argc_, argv_); }
    void TearDown() override { application_.reset(); }
    platform::GuardedApplication& application() { return *application_; }

private:
    int argc_ = 1;
    char name_[16] = "velloran_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<platform::GuardedApplication> application_;
};

QtEnvironment* const environment =
    static_cast<QtEnvironment*>(::testing::AddGlobalTestEnvironment(new QtEnvironment));

}  // namespace

platform::GuardedApplication& testApplication() { return environment->application(); }

}  // namespace velloran::testing
