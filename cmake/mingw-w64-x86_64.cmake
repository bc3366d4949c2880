# Cross-builds the Windows program on Linux with Debian's mingw-w64 (the POSIX thread model,
# whose libstdc++ has std::thread and std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(tsrl_mingw_prefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${tsrl_mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${tsrl_mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${tsrl_mingw_prefix}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${tsrl_mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs run under Wine on this machine (see scripts/wine-run.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
