# Compares every file generated from version.cmake with it, reading the build tree as it is:
# each file must hold each of its lines below (leading blanks aside), and no template may spell
# an identity out instead of naming its variable.
#   cmake -D BUILD_DIR=... -D SOURCE_DIR=... -P generated.cmake
include(${SOURCE_DIR}/packaging/version.cmake)
set(V ${TSRL_PRODUCT_VERSION})
set(EXE ${TSRL_EXECUTABLE_NAME})
set(ID ${TSRL_APP_ID})

# kind (line: a whole line; part: anywhere) | file in the build tree | text
set(checks
    "line|CMakeCache.txt|CMAKE_PROJECT_VERSION:STATIC=${V}"
    "line|CMakeCache.txt|CMAKE_PROJECT_DESCRIPTION:STATIC=${TSRL_SUMMARY}"
    "line|CMakeCache.txt|CMAKE_PROJECT_HOMEPAGE_URL:STATIC=${TSRL_HOMEPAGE}"
    "line|app/generated/tsrl_version.h|inline constexpr char kApplicationName[] = \"${EXE}\"\;"
    "line|app/generated/tsrl_version.h|inline constexpr char kProductVersion[] = \"${V}\"\;"
    "line|app/generated/tsrl_version.h|inline constexpr char kDesktopFileName[] = \"${ID}\"\;"
    "part|app/generated/package_note.cpp|\"name\":\"${EXE}\""
    "part|app/generated/package_note.cpp|\"version\":\"${V}\""
    "part|app/generated/package_note.cpp|\"productName\":\"${TSRL_PRODUCT_NAME}\""
    "part|app/generated/package_note.cpp|\"fileVersion\":\"${TSRL_FILE_VERSION}\""
    "part|app/generated/package_note.cpp|\"description\":\"${TSRL_FILE_DESCRIPTION}\""
    "line|packaging/tessoral.rc|FILEVERSION ${TSRL_FILE_VERSION_COMMAS}"
    "line|packaging/tessoral.rc|PRODUCTVERSION ${TSRL_PRODUCT_VERSION_COMMAS}"
    "line|packaging/tessoral.rc|BLOCK \"${TSRL_LANGUAGE}\""
    "line|packaging/tessoral.rc|VALUE \"FileDescription\", \"${TSRL_FILE_DESCRIPTION}\""
    "line|packaging/tessoral.rc|VALUE \"FileVersion\", \"${TSRL_FILE_VERSION}\""
    "line|packaging/tessoral.rc|VALUE \"ProductName\", \"${TSRL_PRODUCT_NAME}\""
    "line|packaging/tessoral.rc|VALUE \"ProductVersion\", \"${V}\""
    "line|packaging/tessoral.rc|VALUE \"OriginalFilename\", \"${EXE}.exe\""
    "line|packaging/tessoral.rc|VALUE \"Translation\", ${TSRL_LANGUAGE_ID}, ${TSRL_CODE_PAGE}"
    "line|packaging/${ID}.desktop|Name=${TSRL_PRODUCT_NAME}"
    "line|packaging/${ID}.desktop|Comment=${TSRL_SUMMARY}"
    "line|packaging/${ID}.desktop|Exec=${EXE}"
    "line|packaging/${ID}.desktop|Icon=${ID}"
    "line|packaging/${ID}.desktop|StartupWMClass=${EXE}"
    "line|packaging/${ID}.metainfo.xml|<id>${ID}</id>"
    "line|packaging/${ID}.metainfo.xml|<name>${TSRL_PRODUCT_NAME}</name>"
    "line|packaging/${ID}.metainfo.xml|<summary>${TSRL_SUMMARY}</summary>"
    "line|packaging/${ID}.metainfo.xml|<p>${TSRL_LONG_DESCRIPTION}</p>"
    "line|packaging/${ID}.metainfo.xml|<launchable type=\"desktop-id\">${ID}.desktop</launchable>"
    "line|packaging/${ID}.metainfo.xml|<binary>${EXE}</binary>"
    "line|packaging/${ID}.metainfo.xml|<release version=\"${V}\" date=\"${TSRL_RELEASE_DATE}\">"
    "line|packaging/${EXE}.1|.TH ${TSRL_MAN_TITLE} 1 \"${TSRL_RELEASE_DATE}\" \"${TSRL_PRODUCT_NAME} ${V}\" \"User Commands\""
    "line|packaging/${EXE}.1|${EXE} \\- ${TSRL_SYNOPSIS}"
    "line|packaging/${EXE}.1|${TSRL_LONG_DESCRIPTION}"
    "part|packaging/changelog|${EXE} (${V}) unstable"
    "line|packaging/changelog|-- ${TSRL_MAINTAINER}  ${TSRL_RELEASE_DATE_RFC5322}"
    "line|CPackConfig.cmake|set(CPACK_PACKAGE_NAME \"${EXE}\")"
    "line|CPackConfig.cmake|set(CPACK_PACKAGE_VERSION \"${V}\")"
    "line|CPackConfig.cmake|set(CPACK_PACKAGE_DESCRIPTION_SUMMARY \"${TSRL_SYNOPSIS}\")"
    "line|CPackConfig.cmake|set(CPACK_DEBIAN_PACKAGE_MAINTAINER \"${TSRL_MAINTAINER}\")")

set(failures 0)
foreach(check IN LISTS checks)
    string(REGEX MATCH "^([a-z]+)\\|([^|]+)\\|(.*)$" parts "${check}")
    set(kind ${CMAKE_MATCH_1})
    set(file ${BUILD_DIR}/${CMAKE_MATCH_2})
    set(text "${CMAKE_MATCH_3}")
    if(NOT EXISTS ${file})
        message(SEND_ERROR "${file} was not generated")
        math(EXPR failures "${failures} + 1")
        continue()
    endif()
    file(READ ${file} content)
    string(REGEX REPLACE "\n[ \t]+" "\n" content "\n${content}\n")
    if(kind STREQUAL "line")
        set(text "\n${text}\n")
    endif()
    string(FIND "${content}" "${text}" at)
    if(at EQUAL -1)
        string(STRIP "${text}" text)
        message(SEND_ERROR "${CMAKE_MATCH_2} does not hold: ${text}")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()

file(GLOB templates ${SOURCE_DIR}/packaging/*.in)
foreach(template IN LISTS templates)
    file(READ ${template} content)
    foreach(identity V EXE ID TSRL_PRODUCT_NAME TSRL_SUMMARY TSRL_RELEASE_DATE TSRL_MAINTAINER)
        string(FIND "${content}" "${${identity}}" at)
        if(NOT at EQUAL -1)
            message(SEND_ERROR "${template} spells out '${${identity}}'; name its variable")
            math(EXPR failures "${failures} + 1")
        endif()
    endforeach()
endforeach()

list(LENGTH checks count)
if(failures GREATER 0)
    message(FATAL_ERROR "generated: ${failures} differences from version.cmake")
endif()
message(STATUS "generated: ${count} lines in the generated files agree with version.cmake")
