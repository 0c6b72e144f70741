# The parts of a mingw-w64 cross build both widths share; the toolchain file of
# a width sets MIROVALE_MINGW (the compiler's prefix) and CMAKE_SYSTEM_PROCESSOR,
# then includes this. POSIX-threads flavour of the compilers.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER   ${MIROVALE_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MIROVALE_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER  ${MIROVALE_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MIROVALE_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Static runtime: no libstdc++/libgcc/winpthread DLLs to ship beside the program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
# The emulator (Wine with the build's prefix and loader) is set by the top-level CMakeLists.
