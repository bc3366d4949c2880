# Compares every file generated from version.cmake with it, as the build tree holds them: each
# must hold its lines below (leading blanks aside), and no template may spell an identity out.
#   cmake -D BUILD_DIR=... -D SOURCE_DIR=... -P generated.cmake
include(${SOURCE_DIR}/packaging/version.cmake)
set(V ${TSRL_PRODUCT_VERSION})
set(EXE ${TSRL_EXECUTABLE_NAME})
set(ID ${TSRL_APP_ID})
set(NAME ${TSRL_PRODUCT_NAME})

string(CONCAT note "#define TSRL_PACKAGE_METADATA R\"json({\"type\":\"deb\",\"name\":\"${EXE}\""
    ",\"version\":\"${V}\",\"productName\":\"${NAME}\""
    ",\"fileVersion\":\"${TSRL_FILE_VERSION}\",\"productVersion\":\"${V}\""
    ",\"description\":\"${TSRL_FILE_DESCRIPTION}\",\"language\":\"${TSRL_LANGUAGE}\"})json\"")
# file in the build tree | a whole line it holds
set(checks
    "CMakeCache.txt|CMAKE_PROJECT_VERSION:STATIC=${V}"
    "CMakeCache.txt|CMAKE_PROJECT_DESCRIPTION:STATIC=${TSRL_SUMMARY}"
    "app/generated/tsrl_version.h|inline constexpr char kProductVersion[] = \"${V}\"\;"
    "app/generated/tsrl_version.h|inline constexpr char kDesktopFileName[] = \"${ID}\"\;"
    "app/generated/package_note.cpp|${note}"
    "packaging/tessoral.rc|FILEVERSION ${TSRL_FILE_VERSION_COMMAS}"
    "packaging/tessoral.rc|VALUE \"ProductName\", \"${NAME}\""
    "packaging/tessoral.rc|VALUE \"ProductVersion\", \"${V}\""
    "packaging/${ID}.desktop|Name=${NAME}"
    "packaging/${ID}.desktop|Icon=${ID}"
    "packaging/${ID}.desktop|StartupWMClass=${EXE}"
    "packaging/${ID}.metainfo.xml|<id>${ID}</id>"
    "packaging/${ID}.metainfo.xml|<summary>${TSRL_SUMMARY}</summary>"
    "packaging/${ID}.metainfo.xml|<release version=\"${V}\" date=\"${TSRL_RELEASE_DATE}\">"
    "packaging/${EXE}.1|.TH ${TSRL_MAN_TITLE} 1 \"${TSRL_RELEASE_DATE}\" \"${NAME} ${V}\" \"User\
 Commands\""
    "packaging/${EXE}.1|${EXE} \\- ${TSRL_SYNOPSIS}"
    "packaging/changelog|${EXE} (${V}) unstable\; urgency=medium"
    "packaging/changelog|-- ${TSRL_MAINTAINER}  ${TSRL_RELEASE_DATE_RFC5322}"
    "CPackConfig.cmake|set(CPACK_PACKAGE_VERSION \"${V}\")"
    "CPackConfig.cmake|set(CPACK_DEBIAN_PACKAGE_MAINTAINER \"${TSRL_MAINTAINER}\")")

set(failures 0)
foreach(check IN LISTS checks)
    string(REGEX MATCH "^([^|]+)\\|(.*)$" parts "${check}")
    set(file ${CMAKE_MATCH_1})
    set(line "${CMAKE_MATCH_2}")
    file(READ ${BUILD_DIR}/${file} content)
    string(REGEX REPLACE "\n[ \t]+" "\n" content "\n${content}\n")
    string(FIND "${content}" "\n${line}\n" at)
    if(at EQUAL -1)
        message(SEND_ERROR "${file} does not hold: ${line}")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()
file(GLOB templates ${SOURCE_DIR}/packaging/*.in)
foreach(template IN LISTS templates)
    file(READ ${template} content)
    foreach(identity IN ITEMS "${V}" "${EXE}" "${ID}" "${NAME}" "${TSRL_SUMMARY}")
        string(FIND "${content}" "${identity}" at)
        if(NOT at EQUAL -1)
            message(SEND_ERROR "${template} spells out '${identity}' instead of naming it")
            math(EXPR failures "${failures} + 1")
        endif()
    endforeach()
endforeach()
if(failures GREATER 0)
    message(FATAL_ERROR "${failures} differences from version.cmake")
endif()
