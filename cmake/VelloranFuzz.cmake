# VELLORAN_FUZZ: libFuzzer targets (tests/fuzz). Every library they link is
# built with the fuzzer's coverage instrumentation and with AddressSanitizer
# and UndefinedBehaviorSanitizer, so a fault deep in a library is found and
# reported where it happens. libFuzzer comes with clang only.
if(VELLORAN_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VELLORAN_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++-14")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
