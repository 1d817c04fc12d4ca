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

# rv_library(<name> [SOURCES ...] [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# One library per folder; headers are included by their path from the project root.
function(rv_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  if(ARG_SOURCES)
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_compile_options(${name} PRIVATE ${RV_WARNINGS})
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_PUBLIC_LIBS})
  endif()
endfunction()

# rv_test(<name> LABEL <label> SOURCES ... [LIBS ...])
# One test program; every GoogleTest case becomes a ctest test carrying the label.
function(rv_test name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${RV_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} rv_testsupport)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS "${ARG_LABEL}"
    DISCOVERY_TIMEOUT 60)
endfunction()

# Fuzzing instruments every library for coverage; the fuzz targets add libFuzzer's main.
if(RV_BUILD_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
