# libjpeg (the 6b API) from Debian's libjpeg-turbo source package, built once per
# build folder as a static library with the build's own cross compiler (SIMD off).
# Nothing of it lives in git: the sources are fetched with apt-get source.
# Result: the imported target mirovale_jpeg.
set(JPEG_ROOT ${CMAKE_BINARY_DIR}/_deps/libjpeg)
set(JPEG_BUILD ${JPEG_ROOT}/build)
set(JPEG_LIB ${JPEG_BUILD}/libjpeg.a)

if(NOT EXISTS ${JPEG_LIB})
  file(MAKE_DIRECTORY ${JPEG_ROOT})
  file(GLOB JPEG_SRC LIST_DIRECTORIES true ${JPEG_ROOT}/libjpeg-turbo-*)
  if(NOT JPEG_SRC)
    message(STATUS "libjpeg: fetching the libjpeg-turbo source package")
    execute_process(COMMAND apt-get source -qq libjpeg-turbo
                    WORKING_DIRECTORY ${JPEG_ROOT} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
    file(GLOB JPEG_SRC LIST_DIRECTORIES true ${JPEG_ROOT}/libjpeg-turbo-*)
    if(NOT rc EQUAL 0 OR NOT JPEG_SRC)
      message(FATAL_ERROR "libjpeg: 'apt-get source libjpeg-turbo' failed (needs deb-src, see tools/install-deps.sh)")
    endif()
  endif()
  list(FILTER JPEG_SRC EXCLUDE REGEX "\\.(gz|xz|dsc)$")
  list(GET JPEG_SRC 0 JPEG_SRC)
  message(STATUS "libjpeg: building ${JPEG_SRC}")
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${JPEG_SRC} -B ${JPEG_BUILD} -G Ninja
                          -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
                          -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=${JPEG_ROOT}/install -DWITH_SIMD=OFF -DENABLE_SHARED=OFF -DENABLE_STATIC=ON
                          -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -DWITH_JPEG7=OFF
                  RESULT_VARIABLE rc OUTPUT_VARIABLE log ERROR_VARIABLE log)
  if(rc EQUAL 0)
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${JPEG_BUILD} --target jpeg-static
                    RESULT_VARIABLE rc OUTPUT_VARIABLE log ERROR_VARIABLE log)
  endif()
  if(NOT rc EQUAL 0 OR NOT EXISTS ${JPEG_LIB})
    message(FATAL_ERROR "libjpeg: building the static library failed:\n${log}")
  endif()
  file(WRITE ${JPEG_ROOT}/source-dir.txt ${JPEG_SRC})
endif()

file(READ ${JPEG_ROOT}/source-dir.txt JPEG_SRC)
add_library(mirovale_jpeg STATIC IMPORTED GLOBAL)
set_target_properties(mirovale_jpeg PROPERTIES
  IMPORTED_LOCATION ${JPEG_LIB}
  INTERFACE_INCLUDE_DIRECTORIES "${JPEG_SRC};${JPEG_BUILD}")
