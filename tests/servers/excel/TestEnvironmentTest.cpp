// What CTest sets for each test reaches it whole: the window tests' runtime
// folder beside their display, and in the ThreadSanitizer build the options
// naming the suppressions file. (Given to the test discovery as a list, all
// but the first variable were once lost on the way.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

TEST(TestEnvironment, EveryVariableCTestSetsReachesTheTest) {
    if (!std::getenv("QT_QPA_PLATFORM")) GTEST_SKIP() << "run by hand, not by CTest";
    EXPECT_NE(std::getenv("XDG_RUNTIME_DIR"), nullptr);
#if defined(__SANITIZE_THREAD__)
    const char* options = std::getenv("TSAN_OPTIONS");
    ASSERT_NE(options, nullptr);
    const std::string text(options), key = "suppressions=";
    const std::size_t at = text.find(key);
    ASSERT_NE(at, std::string::npos) << text;
    const std::size_t from = at + key.size();
    EXPECT_TRUE(std::filesystem::is_regular_file(text.substr(from, text.find(':', from) - from))) << text;
#endif
}
