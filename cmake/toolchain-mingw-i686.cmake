# The toolchain for i686 Windows; the presets name this file (see toolchain-mingw.cmake).
set(MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
