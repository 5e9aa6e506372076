# Lays the sample distribution out afresh in DIST: the committed files of SOURCE, the built
# programs, a database placeholder, the fonts from Debian's packages, and the read-only updater
# settings. Run with cmake -P and -D SOURCE= DIST= INSTALL_EXE= DRIVER_EXE= FONTS_LIST=.
foreach(var SOURCE DIST INSTALL_EXE DRIVER_EXE FONTS_LIST)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "AssembleDistribution: ${var} is not set")
    endif()
endforeach()

# Starting empty keeps files of an earlier layout from lingering; a read-only file is no
# obstacle to removal on Linux.
file(REMOVE_RECURSE ${DIST})
file(COPY ${SOURCE}/ DESTINATION ${DIST})
file(COPY ${INSTALL_EXE} DESTINATION ${DIST})
file(COPY ${DRIVER_EXE} DESTINATION ${DIST}/FTDIDriverInstall)

# 64 KiB database placeholder whose every line says what it is.
set(line "Sontira sample distribution placeholder: DTAfb\\R47.FDB, not a real database.\r\n")
string(LENGTH "${line}" line_length)
math(EXPR count "65536 / ${line_length}")
math(EXPR rest "65536 - ${count} * ${line_length}")
string(REPEAT "${line}" ${count} body)
string(REPEAT "." ${rest} padding)
file(WRITE ${DIST}/DTAfb/R47.FDB "${body}${padding}")

file(MAKE_DIRECTORY ${DIST}/fonts)
file(STRINGS ${FONTS_LIST} font_lines REGEX "^[^#]")
foreach(font_line IN LISTS font_lines)
    string(REGEX MATCH "^([^ ]+) +([^ ]+)$" matched "${font_line}")
    set(name ${CMAKE_MATCH_1})
    set(origin ${CMAKE_MATCH_2})
    if(NOT EXISTS ${origin})
        message(FATAL_ERROR "Font ${origin} is missing; install fonts-dejavu-core and "
                            "fonts-freefont-ttf (scripts/install-deps does).")
    endif()
    file(COPY_FILE ${origin} ${DIST}/fonts/${name})
endforeach()

# Shipped read-only: without write bits on the Linux side the file is read-only to Wine.
file(CHMOD ${DIST}/Updater/Updater.exe.cfg PERMISSIONS OWNER_READ GROUP_READ WORLD_READ)
