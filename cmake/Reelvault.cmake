# Build rules shared by every folder of the project.

set(RV_WARNINGS -Wall -Wextra)
if(RV_WERROR)
  list(APPEND RV_WARNINGS -Werror)
endif()

if(RV_SANITIZE)
  string(REPLACE "," ";" _rv_sanitizers "${RV_SANITIZE}")
  foreach(_s IN LISTS _rv_sanitizers)
    add_compile_options(-fsanitize=${_s})
    add_link_options(-fsanitize=${_s})
  endforeach()
  add_compile_options(-fno-omit-frame-pointer -fno-sanitize-recover=all)
endif()

# The layers of the program, bottom up, one row each: the platform services; the network, CD and
# system facts; the catalogue, the audio readers and the folder search; the controls; file import;
# the player; the program on top. The top-level CMakeLists.txt builds the folders in this order; a
# library may link libraries of its own row or of a row below, never above, and only libraries of
# platform/ link Qt.
set(RV_LAYERS
  "platform"
  "net cd sysinfo"
  "medialib readers search"
  "tree widgets"
  "import"
  "player"
  "app")

# Layering is enforced by the include path. A library's headers are included by their path from
# the project root ("readers/flac.h"), but no library sees the root itself: each gets an include
# root of its own in the build tree, holding a link to its own folder alone, and passes it on to
# whatever links it. So a library sees its own headers and those of the libraries it links
# (PUBLIC links pass theirs on), and an include of anything else fails to compile.
#
# A folder declares what it links in its one rv_library call; a new folder (tree/, net/, cd/,
# sysinfo/, app/, player/) needs nothing more, e.g. in tree/CMakeLists.txt:
#   rv_library(tree SOURCES tree_view.cpp PUBLIC_LIBS platform_framework platform_text)
# Its tests link it with rv_test(tree_tests LABEL tree SOURCES ... LIBS tree).
function(_rv_include_root name out_var)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${PROJECT_BINARY_DIR}/include_roots/${name})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  set(${out_var} ${root} PARENT_SCOPE)
endfunction()

# rv_library(<name> [SOURCES ...] [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# One library per folder: PUBLIC_LIBS are the libraries its headers need, PRIVATE_LIBS those
# only its sources need.
function(rv_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  _rv_include_root(${name} root)
  if(ARG_SOURCES)
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${root})
    target_compile_options(${name} PRIVATE ${RV_WARNINGS})
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${root})
    target_link_libraries(${name} INTERFACE ${ARG_PUBLIC_LIBS})
  endif()
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  string(REGEX REPLACE "/.*" "" top ${folder})
  set_property(GLOBAL APPEND PROPERTY RV_LIBRARIES ${name})
  set_property(GLOBAL PROPERTY RV_FOLDER_OF_${name} ${top})
  set_property(GLOBAL PROPERTY RV_LINKS_OF_${name} ${ARG_PUBLIC_LIBS} ${ARG_PRIVATE_LIBS})
  get_property(deferred GLOBAL PROPERTY RV_LAYER_CHECK_DEFERRED)
  if(NOT deferred)
    set_property(GLOBAL PROPERTY RV_LAYER_CHECK_DEFERRED TRUE)
    cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL _rv_check_layers)
  endif()
endfunction()

# The row of RV_LAYERS that holds a folder.
function(_rv_row_of folder out_var)
  set(row 0)
  foreach(folders IN LISTS RV_LAYERS)
    string(REPLACE " " ";" folders "${folders}")
    if(folder IN_LIST folders)
      set(${out_var} ${row} PARENT_SCOPE)
      return()
    endif()
    math(EXPR row "${row} + 1")
  endforeach()
  message(FATAL_ERROR "The folder ${folder} has no row in RV_LAYERS (cmake/Reelvault.cmake)")
endfunction()

# Once every folder is read: no library links one of a layer above its own, and only platform/
# links Qt.
function(_rv_check_layers)
  get_property(libraries GLOBAL PROPERTY RV_LIBRARIES)
  foreach(library IN LISTS libraries)
    get_property(folder GLOBAL PROPERTY RV_FOLDER_OF_${library})
    get_property(links GLOBAL PROPERTY RV_LINKS_OF_${library})
    _rv_row_of(${folder} row)
    foreach(link IN LISTS links)
      if(link MATCHES "^Qt" AND NOT folder STREQUAL "platform")
        message(FATAL_ERROR "${library} links ${link}: only platform/ may use Qt")
      endif()
      if(link IN_LIST libraries)
        get_property(link_folder GLOBAL PROPERTY RV_FOLDER_OF_${link})
        _rv_row_of(${link_folder} link_row)
        if(link_row GREATER row)
          message(FATAL_ERROR "${library} links ${link}, a layer above it (RV_LAYERS)")
        endif()
      endif()
    endforeach()
  endforeach()
endfunction()

# rv_test(<name> LABEL <label> SOURCES ... [LIBS ...] [ALSO_AT_SCALE <factor>])
# One test program; every GoogleTest case becomes a ctest test carrying the label. The target
# tests_<label> builds the test programs of a label alone. ALSO_AT_SCALE runs the program once
# more, whole in one process, with the toolkit scaled as on a screen at that many times 100 %
# (the test <name>.AtScale<factor>, same label).
function(rv_test name)
  cmake_parse_arguments(ARG "" "LABEL;ALSO_AT_SCALE" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${RV_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} rv_testsupport)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS "${ARG_LABEL}"
    DISCOVERY_TIMEOUT 60)
  if(ARG_ALSO_AT_SCALE)
    add_test(NAME ${name}.AtScale${ARG_ALSO_AT_SCALE} COMMAND ${name})
    set_tests_properties(${name}.AtScale${ARG_ALSO_AT_SCALE} PROPERTIES
      LABELS "${ARG_LABEL}" ENVIRONMENT "QT_SCALE_FACTOR=${ARG_ALSO_AT_SCALE}")
  endif()
  if(NOT TARGET tests_${ARG_LABEL})
    add_custom_target(tests_${ARG_LABEL})
  endif()
  add_dependencies(tests_${ARG_LABEL} ${name})
endfunction()

# rv_test_on_screens(<name> LABEL <label> FILTER <gtest filter> SCALE <factor> SCREENS <WxH>...)
# Runs the cases of a test program that FILTER picks once more for each screen of that many
# device pixels, with the toolkit scaled by the factor (the test <name>.Screen<WxH>At<factor>).
function(rv_test_on_screens name)
  cmake_parse_arguments(ARG "" "LABEL;FILTER;SCALE" "SCREENS" ${ARGN})
  foreach(screen ${ARG_SCREENS})
    add_test(NAME ${name}.Screen${screen}At${ARG_SCALE}
      COMMAND ${name} --gtest_filter=${ARG_FILTER})
    set_tests_properties(${name}.Screen${screen}At${ARG_SCALE} PROPERTIES
      LABELS "${ARG_LABEL}"
      ENVIRONMENT "QT_SCALE_FACTOR=${ARG_SCALE};RV_TEST_SCREEN=${screen}")
  endforeach()
endfunction()

# rv_test_kit(<name> SOURCES ... [LIBS ...])
# Helpers shared by the tests of several folders. Like a library, a kit passes on the include
# root of its own folder and those of what it links (LIBS, public), and no more.
function(rv_test_kit name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  _rv_include_root(${name} root)
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${root})
  target_compile_options(${name} PRIVATE ${RV_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# Fuzzing instruments every library for coverage; the fuzz targets add libFuzzer's main.
if(RV_BUILD_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
