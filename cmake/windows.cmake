# The Windows program, cross-built with mingw-w64 (the windows preset): the same conversions/
# and window/ sources on the Win32 backend of the forms engine. Included by the top-level
# CMakeLists.txt in place of the Linux build.
enable_language(RC)

# Wide-character Win32, no min/max macros; Windows 10 is the oldest system it targets.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
# The executables stand alone: libstdc++, libgcc and winpthread linked in, only system DLLs
# imported.
add_link_options(-static -static-libgcc -static-libstdc++)

if(TSRL_TESTS)
    enable_testing()
endif()

add_subdirectory(conversions)
add_subdirectory(platform)
add_subdirectory(window)
add_subdirectory(app/win32)
add_subdirectory(packaging/windows)

if(TSRL_TESTS)
    # GoogleTest from Debian's sources, built with the cross compiler; it names its targets
    # GTest::gtest and GTest::gtest_main itself.
    set(tsrl_googletest_source /usr/src/googletest CACHE PATH "GoogleTest sources to build")
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(${tsrl_googletest_source} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    add_subdirectory(tests/windows)
endif()
