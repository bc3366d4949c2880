# The Windows program, cross-built with mingw-w64 (the windows preset): the same conversions/
# and window/ sources on the Win32 backend of the forms engine. Included by the top-level
# CMakeLists.txt before the shared sources: the compile and link settings of the cross build.
enable_language(RC)

# Wide-character Win32, no min/max macros; Windows 10 is the oldest system it targets.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
# The executables stand alone: libstdc++, libgcc and winpthread linked in, only system DLLs
# imported.
add_link_options(-static -static-libgcc -static-libstdc++)
