# Warnings apply to our own targets only; kiv_warnings(target) turns them on.
function(kiv_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(KIV_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
option(KIV_WERROR "Treat warnings as errors" OFF)
