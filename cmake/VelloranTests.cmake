find_package(GTest REQUIRED)
include(GoogleTest)

# Window tests draw offscreen and Qt wants a private runtime folder.
set(VELLORAN_TEST_RUNTIME_DIR ${CMAKE_BINARY_DIR}/test-runtime)
file(MAKE_DIRECTORY ${VELLORAN_TEST_RUNTIME_DIR})
file(CHMOD ${VELLORAN_TEST_RUNTIME_DIR} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

# What the sanitizer builds read at run time: AddressSanitizer reports
# leaks; ThreadSanitizer stops at the first race and shows both stacks of a
# lock-order inversion, with races inside Debian's uninstrumented libraries
# suppressed (tests/tsan.supp says why, entry by entry). Each build reads
# only its own variable.
set(VELLORAN_SANITIZER_ENVIRONMENT
  "ASAN_OPTIONS=detect_leaks=1:detect_odr_violation=0"
  "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=${CMAKE_SOURCE_DIR}/tests/tsan.supp")

# velloran_add_test(<name> SOURCES ... LIBS ...)
function(velloran_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE VELLORAN_STAGE_DIR="${VELLORAN_STAGE_DIR}")
  # The environment goes in through `cmake -E env`, which runs the listing
  # of the tests and each test: an ENVIRONMENT list given to the discovery
  # is passed on as separate arguments, and all but its first variable are
  # lost.
  set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env
    QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=${VELLORAN_TEST_RUNTIME_DIR} ${VELLORAN_SANITIZER_ENVIRONMENT})
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60)
endfunction()
