find_package(GTest REQUIRED)
include(GoogleTest)

# kiv_thread_test(NAME): a test program with cases labelled "threads", which
# the target thread_tests builds (./test --tsan builds only that).
function(kiv_thread_test name)
  set_property(GLOBAL APPEND PROPERTY KIV_THREAD_TESTS ${name})
endfunction()

# kiv_test(NAME SOURCES a.cpp ... LIBS lib ... [LABELS l ...]): one
# GoogleTest binary, its cases registered with CTest. Tests run with a pinned
# font configuration so that results do not depend on the machine; the
# source, build and binary folders are compiled in as KIV_SOURCE_DIR,
# KIV_BINARY_DIR and KIV_BIN_DIR.
function(kiv_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if("threads" IN_LIST T_LABELS)
    kiv_thread_test(${name})
  endif()
  if(KIV_SANITIZE STREQUAL "thread")
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/sanitizer/tsan_suppressions.cpp)
  endif()
  kiv_warnings(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
    KIV_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    KIV_BINARY_DIR="${CMAKE_BINARY_DIR}"
    KIV_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
  # NOTE: gtest_discover_tests flattens list-valued properties, so the
  # environment holds one variable and labels are passed on their own.
  if(T_LABELS)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
      PROPERTIES LABELS "${T_LABELS}" ENVIRONMENT "FONTCONFIG_FILE=${PROJECT_SOURCE_DIR}/tests/support/fonts.conf")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "FONTCONFIG_FILE=${PROJECT_SOURCE_DIR}/tests/support/fonts.conf")
  endif()
endfunction()
