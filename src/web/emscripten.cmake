# The browser build (emscripten's toolchain, scripts/build-web): the layers below the front ends
# and the page's module (src/web), no window and no command line.
#
# - emscripten 3.1.6 bundles libc++ 13, which lacks the floating-point to_chars and from_chars
#   and bit_cast: src/web/compat supplies them on the C library, found before libc++'s headers.
# - Exceptions carry every StepError to the step frame: WebAssembly's own exceptions
#   (-fwasm-exceptions, in every browser since 2021 and in node), about twice as fast on a big
#   survey as emscripten's exceptions through JavaScript, which wrap every call that may throw.
# - The tests are those of the desktop builds, on GoogleTest built from Debian's sources with
#   emscripten, run under node with the machine's files (NODERAWFS).
# - There is no cairo in the browser: the plot library is built without its PDF writer; the page
#   draws SVG sheets and the browser prints them to PDF.

set(QORVEL_BUILD_GUI OFF CACHE BOOL "Build the desktop program (needs Qt 6 Widgets)" FORCE)
set(QORVEL_PDF_SHEETS OFF CACHE BOOL "Draw section sheets as PDF (needs cairo)" FORCE)
include_directories(BEFORE ${PROJECT_SOURCE_DIR}/src/web/compat)
add_compile_options(-fwasm-exceptions)
add_link_options(-fwasm-exceptions -sALLOW_MEMORY_GROWTH=1 -sMAXIMUM_MEMORY=4GB)

if(QORVEL_BUILD_TESTS)
  set(QORVEL_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources (Debian's googletest package)")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${QORVEL_GOOGLETEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # GoogleTest asks for emscripten's JavaScript exceptions (-fexceptions): its libraries take
  # the build's WebAssembly exceptions instead, as everything they link with does.
  foreach(library IN ITEMS gtest gtest_main gmock gmock_main)
    set_target_properties(${library} PROPERTIES COMPILE_FLAGS "")
  endforeach()
  foreach(library IN ITEMS gtest gtest_main gmock)
    if(NOT TARGET GTest::${library})
      add_library(GTest::${library} ALIAS ${library})
    endif()
  endforeach()

  # The test programs read and write the machine's files under node.
  function(qorvel_web_test_programs)
    foreach(test IN ITEMS qorvel_unit_tests qorvel_plot_tests qorvel_equivalence_tests)
      if(TARGET ${test})
        target_link_options(${test} PRIVATE -sNODERAWFS=1 -sEXIT_RUNTIME=1)
      endif()
    endforeach()
    # The number conversions of this build against the desktop library's.
    target_sources(qorvel_unit_tests PRIVATE ${PROJECT_SOURCE_DIR}/src/web/compat/charconv_test.cpp)
  endfunction()
  cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL qorvel_web_test_programs)
endif()
