find_package(GTest REQUIRED)
include(GoogleTest)

# kiv_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2): one GoogleTest binary,
# its cases registered with CTest. Tests run with a pinned font
# configuration and a private home, so results do not depend on the machine.
function(kiv_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  kiv_warnings(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "${KIV_TEST_ENV}")
endfunction()

set(KIV_TEST_ENV
  "FONTCONFIG_FILE=${PROJECT_SOURCE_DIR}/tests/support/fonts.conf"
  "KIV_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
  "KIV_BINARY_DIR=${CMAKE_BINARY_DIR}"
  "KIV_BIN_DIR=${CMAKE_BINARY_DIR}/bin")
