# Fails when docs/object-model.md no longer matches what typelib-print
# prints from the type library. Run as
#   cmake -DTOOL=<typelib-print> -DDOC=<docs/object-model.md> -DFRESH=<file> -DBUILD_DIR=<dir> -P this-file
execute_process(COMMAND ${TOOL} --markdown --output ${FRESH} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "typelib-print failed (${rc}): ${err}")
endif()
if(NOT EXISTS ${DOC})
  message(FATAL_ERROR "${DOC} is missing. Generate it with:\n  cmake --build ${BUILD_DIR} --target object-model-doc")
endif()
file(READ ${DOC} committed)
file(READ ${FRESH} fresh)
if(NOT committed STREQUAL fresh)
  message(FATAL_ERROR
    "${DOC} is out of date with the type library (the current text is in ${FRESH}). Regenerate it with:\n"
    "  cmake --build ${BUILD_DIR} --target object-model-doc")
endif()
message(STATUS "${DOC} matches the type library")
