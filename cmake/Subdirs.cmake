# kiv_add_subdirs(): adds every direct subfolder of the current source
# folder that holds a CMakeLists.txt, in name order, so that each area's
# tests and benchmarks live in a folder of their own.
function(kiv_add_subdirs)
  file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  list(SORT children)
  foreach(child ${children})
    get_filename_component(dir ${child} DIRECTORY)
    add_subdirectory(${dir})
  endforeach()
endfunction()
