# The program's identity, kept here only: CMake's project version, the build header, the ELF
# package note, the Windows resource file, the desktop entry, the AppStream metadata, the manual
# page, the changelog and the Debian package are all generated from it.
set(TSRL_FILE_VERSION "1.00.0001")
set(TSRL_PRODUCT_VERSION "1.00.0001")
set(TSRL_RELEASE_DATE "2026-12-07")  # of TSRL_PRODUCT_VERSION, year-month-day
set(TSRL_RELEASE_NOTE "First release.")
set(TSRL_FILE_DESCRIPTION "A simple calculator for decimal or hex numbers.")
set(TSRL_PRODUCT_NAME "Tessoral (TSRL)")
set(TSRL_LANGUAGE "040904B0")  # US English, Unicode code page
set(TSRL_APP_ID "io.github.tessoral.Tessoral")
set(TSRL_EXECUTABLE_NAME "tessoral")
set(TSRL_ORGANIZATION_DOMAIN "tessoral.github.io")
set(TSRL_HOMEPAGE "https://${TSRL_ORGANIZATION_DOMAIN}")
set(TSRL_DEVELOPERS "The Tessoral developers")
set(TSRL_MAINTAINER "${TSRL_DEVELOPERS} <tessoral@users.noreply.github.com>")
set(TSRL_COPYRIGHT "Copyright 2026 ${TSRL_DEVELOPERS}")
# One paragraph, as lines short enough for a Debian control file.
set(TSRL_LONG_DESCRIPTION_LINES
    "Tessoral is an exact desktop calculator for 32-bit signed integers. An operand"
    "typed in decimal or hex is shown at once in decimal, hex and binary. It adds,"
    "subtracts, multiplies and divides, reports overflow instead of wrapping, and"
    "applies And, Or, Xor and Not to the bits.")
list(JOIN TSRL_LONG_DESCRIPTION_LINES " " TSRL_LONG_DESCRIPTION)

# A summary is the description without its full stop; a Debian synopsis also drops the article.
string(REGEX REPLACE "\\.$" "" TSRL_SUMMARY "${TSRL_FILE_DESCRIPTION}")
string(REGEX REPLACE "^(A|An|The) " "" TSRL_SYNOPSIS "${TSRL_SUMMARY}")
string(TOUPPER "${TSRL_EXECUTABLE_NAME}" TSRL_MAN_TITLE)

# The changelog dates the release as RFC 5322 does, weekday included (Zeller's congruence).
if(NOT TSRL_RELEASE_DATE MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
    message(FATAL_ERROR "release date ${TSRL_RELEASE_DATE} is not year-month-day")
endif()
set(tsrl_date_digits ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3})
math(EXPR tsrl_year "${CMAKE_MATCH_1}")
math(EXPR tsrl_month "${CMAKE_MATCH_2}")
math(EXPR tsrl_day "${CMAKE_MATCH_3}")
set(tsrl_month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
math(EXPR tsrl_month_index "${tsrl_month} - 1")
list(GET tsrl_month_names ${tsrl_month_index} tsrl_month_name)
if(tsrl_month LESS 3)
    math(EXPR tsrl_month "${tsrl_month} + 12")
    math(EXPR tsrl_year "${tsrl_year} - 1")
endif()
math(EXPR tsrl_weekday "(${tsrl_day} + 13 * (${tsrl_month} + 1) / 5 + ${tsrl_year} \
    + ${tsrl_year} / 4 - ${tsrl_year} / 100 + ${tsrl_year} / 400) % 7")
set(tsrl_weekday_names Sat Sun Mon Tue Wed Thu Fri)
list(GET tsrl_weekday_names ${tsrl_weekday} tsrl_weekday_name)
list(GET tsrl_date_digits 0 tsrl_year)
list(GET tsrl_date_digits 2 tsrl_day)
set(TSRL_RELEASE_DATE_RFC5322
    "${tsrl_weekday_name}, ${tsrl_day} ${tsrl_month_name} ${tsrl_year} 12:00:00 +0000")

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
