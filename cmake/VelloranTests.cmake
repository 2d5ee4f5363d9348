find_package(GTest REQUIRED)
include(GoogleTest)

# Window tests draw offscreen and Qt wants a private runtime folder.
set(VELLORAN_TEST_RUNTIME_DIR ${CMAKE_BINARY_DIR}/test-runtime)
file(MAKE_DIRECTORY ${VELLORAN_TEST_RUNTIME_DIR})
file(CHMOD ${VELLORAN_TEST_RUNTIME_DIR} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

# velloran_add_test(<name> SOURCES ... LIBS ...)
function(velloran_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE VELLORAN_STAGE_DIR="${VELLORAN_STAGE_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT
      "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${VELLORAN_TEST_RUNTIME_DIR};ASAN_OPTIONS=detect_leaks=1:detect_odr_violation=0")
endfunction()
