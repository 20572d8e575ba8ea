# Finds OpenGL (OpenGL::GL, OpenGL::GLU) and a GLUT, and defines GLUT::GLUT,
# the one target everything links for GLUT. Says which GLUT it took:
#   - macOS: Apple's GLUT framework, or, with POINT_EDITOR_FREEGLUT=ON, a
#     freeglut from a package manager (Homebrew, MacPorts): its CMake
#     package FreeGLUT, else its header GL/glut.h and library glut. Apple
#     marks every GL and GLUT call deprecated, so GL_SILENCE_DEPRECATION is
#     defined for whatever uses GLUT; with freeglut, FREEGLUT is defined
#     too, so that the editor's gl.h and glui.h take <GL/glut.h> there;
#   - Windows: freeglut's own CMake package (FreeGLUT, as freeglut's install
#     and vcpkg's port give it), else FindGLUT (freeglut.lib, glut32.lib or
#     vcpkg's GLUT), else a static freeglut by its name, freeglut_static.
#     A static freeglut needs FREEGLUT_STATIC and the system libraries it
#     calls; its CMake package says so itself, the rest is said here;
#   - elsewhere (Linux): FindGLUT, freeglut on Debian (freeglut3-dev).
# Included by the top-level CMakeLists.txt and by glui/CMakeLists.txt when
# the panel library is built on its own.
option(POINT_EDITOR_FREEGLUT "On macOS, use an installed freeglut instead of Apple's GLUT framework" OFF)

set(OpenGL_GL_PREFERENCE LEGACY)
find_package(OpenGL REQUIRED)

# GLUT::GLUT as a target of our own that links `what`.
function(point_editor_glut_target what)
  add_library(GLUT::GLUT INTERFACE IMPORTED)
  target_link_libraries(GLUT::GLUT INTERFACE ${what})
endfunction()

# freeglut's CMake package, if there is one: GLUT::GLUT links its static
# library when it has one, else its shared one.
function(point_editor_glut_from_freeglut_package)
  find_package(FreeGLUT CONFIG QUIET)
  if(TARGET FreeGLUT::freeglut_static)
    point_editor_glut_target(FreeGLUT::freeglut_static)
  elseif(TARGET FreeGLUT::freeglut)
    point_editor_glut_target(FreeGLUT::freeglut)
  else()
    return()
  endif()
  set(POINT_EDITOR_GLUT_USED "freeglut's CMake package (${FreeGLUT_DIR})" PARENT_SCOPE)
endfunction()

# Whether the GLUT library found by its file (GLUT_glut_LIBRARY) is a static
# library rather than a DLL's import library: named so (freeglut_static), a
# MinGW archive that is not a .dll.a, or a .lib with no DLL of its name
# beside it or in ../bin, where an install puts a DLL.
function(point_editor_is_static_library result)
  set(library "${GLUT_glut_LIBRARY_RELEASE}")
  if(NOT library)
    set(library "${GLUT_glut_LIBRARY}")
  endif()
  get_filename_component(name "${library}" NAME_WE)
  get_filename_component(dir "${library}" DIRECTORY)
  string(REGEX REPLACE "^lib" "" bare_name "${name}")
  set(static FALSE)
  if(library MATCHES "_static" OR (library MATCHES "\\.a$" AND NOT library MATCHES "\\.dll\\.a$"))
    set(static TRUE)
  elseif(library MATCHES "\\.lib$")
    file(GLOB dlls "${dir}/${name}*.dll" "${dir}/../bin/${name}*.dll" "${dir}/../bin/lib${bare_name}*.dll")
    if(NOT dlls)
      set(static TRUE)
    endif()
  endif()
  set(${result} ${static} PARENT_SCOPE)
endfunction()

if(APPLE AND NOT POINT_EDITOR_FREEGLUT)
  # Only a framework: not a libglut a package manager put on the search path.
  set(saved_find_framework ${CMAKE_FIND_FRAMEWORK})
  set(CMAKE_FIND_FRAMEWORK ONLY)
  find_library(POINT_EDITOR_GLUT_FRAMEWORK GLUT DOC "Apple's GLUT framework")
  set(CMAKE_FIND_FRAMEWORK ${saved_find_framework})
  if(NOT POINT_EDITOR_GLUT_FRAMEWORK)
    message(FATAL_ERROR "Apple's GLUT framework was not found. Install the command line tools "
      "(xcode-select --install), or use a freeglut: -DPOINT_EDITOR_FREEGLUT=ON")
  endif()
  point_editor_glut_target("${POINT_EDITOR_GLUT_FRAMEWORK}")
  set(POINT_EDITOR_GLUT_USED "Apple's GLUT framework (${POINT_EDITOR_GLUT_FRAMEWORK})")
elseif(APPLE)
  point_editor_glut_from_freeglut_package()
  if(NOT TARGET GLUT::GLUT)
    set(saved_find_framework ${CMAKE_FIND_FRAMEWORK})
    set(CMAKE_FIND_FRAMEWORK NEVER)
    find_path(POINT_EDITOR_FREEGLUT_INCLUDE_DIR GL/glut.h)
    find_library(POINT_EDITOR_FREEGLUT_LIBRARY NAMES glut freeglut)
    set(CMAKE_FIND_FRAMEWORK ${saved_find_framework})
    if(NOT POINT_EDITOR_FREEGLUT_INCLUDE_DIR OR NOT POINT_EDITOR_FREEGLUT_LIBRARY)
      message(FATAL_ERROR "POINT_EDITOR_FREEGLUT=ON, but no freeglut was found (GL/glut.h and "
        "libglut). Install one (brew install freeglut) and point CMAKE_PREFIX_PATH at it "
        "(-DCMAKE_PREFIX_PATH=$(brew --prefix)), or configure without POINT_EDITOR_FREEGLUT "
        "for Apple's GLUT framework.")
    endif()
    point_editor_glut_target("${POINT_EDITOR_FREEGLUT_LIBRARY}")
    target_include_directories(GLUT::GLUT INTERFACE "${POINT_EDITOR_FREEGLUT_INCLUDE_DIR}")
    set(POINT_EDITOR_GLUT_USED "freeglut (${POINT_EDITOR_FREEGLUT_LIBRARY})")
  endif()
  target_compile_definitions(GLUT::GLUT INTERFACE FREEGLUT)
else()
  if(WIN32)
    point_editor_glut_from_freeglut_package()
  endif()
  if(NOT TARGET GLUT::GLUT)
    find_package(GLUT QUIET)
    if(GLUT_FOUND)
      set(POINT_EDITOR_GLUT_USED "${GLUT_glut_LIBRARY}")
    endif()
  endif()
  if(WIN32 AND NOT TARGET GLUT::GLUT)
    find_path(POINT_EDITOR_FREEGLUT_INCLUDE_DIR GL/glut.h)
    find_library(POINT_EDITOR_FREEGLUT_LIBRARY NAMES freeglut_static)
    if(POINT_EDITOR_FREEGLUT_INCLUDE_DIR AND POINT_EDITOR_FREEGLUT_LIBRARY)
      point_editor_glut_target("${POINT_EDITOR_FREEGLUT_LIBRARY}")
      target_include_directories(GLUT::GLUT INTERFACE "${POINT_EDITOR_FREEGLUT_INCLUDE_DIR}")
      set(GLUT_glut_LIBRARY "${POINT_EDITOR_FREEGLUT_LIBRARY}")
      set(POINT_EDITOR_GLUT_USED "${POINT_EDITOR_FREEGLUT_LIBRARY}")
    endif()
  endif()
  if(NOT TARGET GLUT::GLUT)
    if(WIN32)
      message(FATAL_ERROR "GLUT was not found. Install freeglut (vcpkg install freeglut) and point "
        "CMAKE_PREFIX_PATH at it, or use vcpkg's toolchain file")
    else()
      message(FATAL_ERROR "GLUT was not found. Install freeglut: apt-get install freeglut3-dev")
    endif()
  endif()
  # Found by its file: freeglut's header makes every call a DLL import
  # unless told that the library is a static one.
  if(WIN32 AND NOT TARGET FreeGLUT::freeglut_static AND NOT TARGET FreeGLUT::freeglut)
    point_editor_is_static_library(glut_is_static)
    if(glut_is_static)
      set_property(TARGET GLUT::GLUT APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS FREEGLUT_STATIC)
      set_property(TARGET GLUT::GLUT APPEND PROPERTY INTERFACE_LINK_LIBRARIES winmm gdi32)
      set(POINT_EDITOR_GLUT_USED "${POINT_EDITOR_GLUT_USED}, a static library: FREEGLUT_STATIC")
    endif()
  endif()
endif()

if(APPLE)
  set_property(TARGET GLUT::GLUT APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS GL_SILENCE_DEPRECATION)
endif()
message(STATUS "GLUT: ${POINT_EDITOR_GLUT_USED}")
