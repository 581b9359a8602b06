# Warnings apply to our own targets only; kiv_warnings(target) turns them on.
function(kiv_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  # NOTE: GCC 12 at -O3 reports impossible overlaps in inlined std::string
  # concatenation ("a" + std::string(b)); GCC 13 no longer does.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(KIV_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
option(KIV_WERROR "Treat warnings as errors" OFF)
