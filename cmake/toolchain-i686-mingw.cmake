# 32-bit Windows cross build: the width users install.
set(MIROVALE_MINGW i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
# Doubles computed in SSE registers, as at 64 bits: the x87 unit's wider
# intermediates round some results twice, so the widths would read and write
# different last digits.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-cross.cmake)
