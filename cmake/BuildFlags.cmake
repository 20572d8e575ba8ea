# The compiler and linker flags of the project's own targets, handed to each
# of them through one interface library, editor_build_flags, rather than set
# for the whole tree (so GoogleTest and other imported code keep theirs):
#   - warnings per compiler (GCC and Clang, MinGW-w64 too; MSVC), and warnings
#     as errors with POINT_EDITOR_WERROR;
#   - assert() kept in every build type with POINT_EDITOR_ASSERTS (the
#     default): the editor's and the panel library's internal checks are on
#     wherever they run, tests included;
#   - on Windows, the DLLs a program links (a shared freeglut's, a shared
#     GLUI's) copied beside it: point_editor_copy_runtime_dlls(target);
#   - AddressSanitizer and UndefinedBehaviorSanitizer with POINT_EDITOR_SANITIZE;
#   - on Windows, <windows.h> without min/max macros and its rarely used
#     parts; with MinGW-w64, the C and C++ runtimes linked in.
# Every target of the project links it: target_link_libraries(T PRIVATE editor_build_flags).
add_library(editor_build_flags INTERFACE)
set(POINT_EDITOR_CMAKE_DIR ${CMAKE_CURRENT_LIST_DIR})

if(MSVC)
  target_compile_options(editor_build_flags INTERFACE /W4 /utf-8 /permissive- /Zc:__cplusplus)
  # The C library's plain functions (fopen, strerror, getenv) are used on purpose.
  target_compile_definitions(editor_build_flags INTERFACE _CRT_SECURE_NO_WARNINGS)
  if(POINT_EDITOR_WERROR)
    target_compile_options(editor_build_flags INTERFACE /WX)
  endif()
  # A header read before every file takes NDEBUG back: /UNDEBUG after the
  # build type's /DNDEBUG would draw warning D9025 on every file.
  if(POINT_EDITOR_ASSERTS)
    target_compile_options(editor_build_flags INTERFACE "/FI${POINT_EDITOR_CMAKE_DIR}/keep_asserts.h")
  endif()
else()
  target_compile_options(editor_build_flags INTERFACE -Wall -Wextra)
  if(POINT_EDITOR_WERROR)
    target_compile_options(editor_build_flags INTERFACE -Werror)
  endif()
  # Comes after the build type's -DNDEBUG on the command line.
  if(POINT_EDITOR_ASSERTS)
    target_compile_options(editor_build_flags INTERFACE -UNDEBUG)
  endif()
endif()

if(WIN32)
  target_compile_definitions(editor_build_flags INTERFACE NOMINMAX WIN32_LEAN_AND_MEAN)
endif()
if(MINGW)
  # One executable that runs on any Windows machine as it is: the C and C++
  # runtimes and the thread library are linked in, not looked for as DLLs.
  target_link_options(editor_build_flags INTERFACE -static)
endif()

if(POINT_EDITOR_SANITIZE)
  message(STATUS "Sanitizers: AddressSanitizer and UndefinedBehaviorSanitizer")
  target_compile_options(editor_build_flags INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(editor_build_flags INTERFACE -fsanitize=address,undefined)
endif()

# Copies the DLLs that `target` links beside it after each build, so that it
# runs from the build folder (on Windows; elsewhere nothing). Needs CMake 3.21
# for the list; older ones say so once and copy nothing. A target that links
# only static libraries, as the MinGW-w64 build does, has none to copy.
function(point_editor_copy_runtime_dlls target)
  if(NOT WIN32)
    return()
  endif()
  if(CMAKE_VERSION VERSION_LESS 3.21)
    if(NOT POINT_EDITOR_DLL_COPY_WARNED)
      message(STATUS "DLLs: not copied beside the programs (needs CMake 3.21); "
        "put a shared freeglut's or GLUI's DLL on the PATH")
      set(POINT_EDITOR_DLL_COPY_WARNED ON CACHE INTERNAL "")
    endif()
    return()
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} "-DDLLS=$<TARGET_RUNTIME_DLLS:${target}>"
            "-DDESTINATION=$<TARGET_FILE_DIR:${target}>" -P ${POINT_EDITOR_CMAKE_DIR}/CopyDlls.cmake
    VERBATIM)
endfunction()
