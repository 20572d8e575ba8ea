/* Read before every file of the project's own targets with MSVC
   (POINT_EDITOR_ASSERTS, cmake/BuildFlags.cmake): the internal checks stay
   on in every build type, whatever NDEBUG the build type defines. */
#undef NDEBUG
