# 64-bit Windows cross build: the width the tests run at where the kernel runs
# no 32-bit code.
set(MIROVALE_MINGW x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-cross.cmake)
