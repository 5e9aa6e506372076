# The toolchain for x86_64 Windows; the presets name this file (see toolchain-mingw.cmake).
set(MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
