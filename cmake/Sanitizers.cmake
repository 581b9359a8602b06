# KIV_SANITIZE: empty, "address,undefined" or "thread". Applied to every
# target of the tree so that the plug-in, the host and the tests agree.
set(KIV_SANITIZE "" CACHE STRING "Sanitizers to build with (address,undefined | thread)")
if(KIV_SANITIZE)
  add_compile_options(-fsanitize=${KIV_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=${KIV_SANITIZE})
endif()
