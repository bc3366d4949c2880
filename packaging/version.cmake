# The program's version record, kept here only: the build header, the ELF package note, the
# desktop files' checks, the Debian package and a Windows resource file all read it.
set(TSRL_FILE_VERSION "1.00.0001")
set(TSRL_PRODUCT_VERSION "1.00.0001")
set(TSRL_FILE_DESCRIPTION "A simple calculator for decimal or hex numbers.")
set(TSRL_PRODUCT_NAME "Tessoral (TSRL)")
set(TSRL_LANGUAGE "040904B0")  # US English, Unicode code page
set(TSRL_APP_ID "io.github.tessoral.Tessoral")
set(TSRL_EXECUTABLE_NAME "tessoral")
set(TSRL_ORGANIZATION_DOMAIN "tessoral.github.io")
set(TSRL_COPYRIGHT "Copyright 2026 The Tessoral developers")

# Windows wants four numbers, major.minor.0.revision, and the language split in two.
foreach(tsrl_kind FILE PRODUCT)
    if(NOT TSRL_${tsrl_kind}_VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
        message(FATAL_ERROR
                "${tsrl_kind} version ${TSRL_${tsrl_kind}_VERSION} is not major.minor.revision")
    endif()
    math(EXPR tsrl_major "${CMAKE_MATCH_1}")
    math(EXPR tsrl_minor "${CMAKE_MATCH_2}")
    math(EXPR tsrl_revision "${CMAKE_MATCH_3}")
    set(TSRL_${tsrl_kind}_VERSION_COMMAS "${tsrl_major},${tsrl_minor},0,${tsrl_revision}")
endforeach()
set(tsrl_hex4 "[0-9A-F][0-9A-F][0-9A-F][0-9A-F]")
if(NOT TSRL_LANGUAGE MATCHES "^(${tsrl_hex4})(${tsrl_hex4})$")
    message(FATAL_ERROR "language ${TSRL_LANGUAGE} is not eight hex digits")
endif()
set(TSRL_LANGUAGE_ID "0x${CMAKE_MATCH_1}")
set(TSRL_CODE_PAGE "0x${CMAKE_MATCH_2}")
