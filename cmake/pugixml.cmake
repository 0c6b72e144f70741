# pugixml from Debian's pugixml source package, built once per build folder as a
# static library with the build's own cross compiler, in wide-character mode (its
# strings are the program's UTF-16 texts) and without exceptions (every failure
# is a status). Nothing of it lives in git: the sources are fetched with
# apt-get source. Result: the imported target mirovale_pugixml.
set(PUGIXML_ROOT ${CMAKE_BINARY_DIR}/_deps/pugixml)
set(PUGIXML_BUILD ${PUGIXML_ROOT}/build)
set(PUGIXML_LIB ${PUGIXML_BUILD}/libpugixml.a)
set(PUGIXML_DEFINES PUGIXML_WCHAR_MODE PUGIXML_NO_EXCEPTIONS)

if(NOT EXISTS ${PUGIXML_LIB})
  file(MAKE_DIRECTORY ${PUGIXML_ROOT})
  file(GLOB PUGIXML_SRC LIST_DIRECTORIES true ${PUGIXML_ROOT}/pugixml-*)
  if(NOT PUGIXML_SRC)
    message(STATUS "pugixml: fetching the pugixml source package")
    execute_process(COMMAND apt-get source -qq pugixml
                    WORKING_DIRECTORY ${PUGIXML_ROOT} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
    file(GLOB PUGIXML_SRC LIST_DIRECTORIES true ${PUGIXML_ROOT}/pugixml-*)
    if(NOT rc EQUAL 0 OR NOT PUGIXML_SRC)
      message(FATAL_ERROR "pugixml: 'apt-get source pugixml' failed (needs deb-src, see tools/install-deps.sh)")
    endif()
  endif()
  list(FILTER PUGIXML_SRC EXCLUDE REGEX "\\.(gz|xz|dsc)$")
  list(GET PUGIXML_SRC 0 PUGIXML_SRC)
  message(STATUS "pugixml: building ${PUGIXML_SRC}")
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${PUGIXML_SRC} -B ${PUGIXML_BUILD} -G Ninja
                          -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
                          -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DPUGIXML_BUILD_TESTS=OFF
                          -DPUGIXML_WCHAR_MODE=ON -DPUGIXML_NO_EXCEPTIONS=ON
                  RESULT_VARIABLE rc OUTPUT_VARIABLE log ERROR_VARIABLE log)
  if(rc EQUAL 0)
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${PUGIXML_BUILD} --target pugixml-static
                    RESULT_VARIABLE rc OUTPUT_VARIABLE log ERROR_VARIABLE log)
  endif()
  if(NOT rc EQUAL 0 OR NOT EXISTS ${PUGIXML_LIB})
    message(FATAL_ERROR "pugixml: building the static library failed:\n${log}")
  endif()
  file(WRITE ${PUGIXML_ROOT}/source-dir.txt ${PUGIXML_SRC})
endif()

file(READ ${PUGIXML_ROOT}/source-dir.txt PUGIXML_SRC)
add_library(mirovale_pugixml STATIC IMPORTED GLOBAL)
set_target_properties(mirovale_pugixml PROPERTIES
  IMPORTED_LOCATION ${PUGIXML_LIB}
  INTERFACE_INCLUDE_DIRECTORIES ${PUGIXML_SRC}/src
  INTERFACE_COMPILE_DEFINITIONS "${PUGIXML_DEFINES}")
