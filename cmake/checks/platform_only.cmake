# The layer check. Outside platform/ and outside tests, a source includes the C++ standard
# library's headers and the project's own ("readers/flac.h") and nothing else: no Qt, no POSIX
# or Linux header, no compiler intrinsics, no C-style <name.h> form of a standard header. Of the
# standard headers, those whose only use is the environment, the file system, signals or the
# locale (<filesystem>, <fstream>, <csignal>, <clocale>, <locale>) go through platform/ too, and
# so do the calls that reach them through other headers: the environment (getenv, setenv…),
# processes (system, popen, exit…), signals (signal, raise…), the file system (fopen, remove of
# a file, rename, std::filesystem, file streams…), the locale (setlocale, newlocale, strtod_l…)
# and devices and names (ioctl, getaddrinfo). Comments and string literals are not read as calls.
# Threads, clocks, standard streams and std::abort are plain C++ and stay allowed.
# Tests may use what they need, and platform/ is where all of it lives. Everywhere, no include
# climbs out of its folder with "../", past the include roots that keep the layers apart.
# The one exception: tree/node_pool.cpp includes the address sanitizer's interface, behind a
# guard, to mark the nodes it frees.
#   cmake -DROOT=<tree> -DFOLDERS=<a,b,...> [-DEXPECT=<file,file,...>] -P platform_only.cmake
# Fails when it reports anything; with EXPECT, passes when it reports exactly those files.

cmake_minimum_required(VERSION 3.25)

set(standard_headers
  algorithm any array atomic barrier bit bitset charconv chrono codecvt compare complex concepts
  condition_variable coroutine deque exception execution format forward_list functional future
  initializer_list iomanip ios iosfwd iostream istream iterator latch limits list map memory
  memory_resource mutex new numbers numeric optional ostream queue random ranges ratio regex
  scoped_allocator semaphore set shared_mutex source_location span sstream stack stdexcept
  stop_token streambuf string string_view strstream syncstream system_error thread tuple
  type_traits typeindex typeinfo unordered_map unordered_set utility valarray variant vector
  version
  cassert cctype cerrno cfenv cfloat cinttypes climits cmath csetjmp cstdarg cstddef cstdint
  cstdio cstdlib cstring ctime cuchar cwchar cwctype)
set(exceptions "tree/node_pool.cpp:sanitizer/asan_interface.h")

set(include_line "^[ \t]*#[ \t]*include")
set(climbing_include "#[ \t]*include[ \t]*\"\\.\\./")
set(system_call "(^|[^A-Za-z0-9_.>])(getenv|secure_getenv|setenv|unsetenv|putenv|clearenv|\
system|popen|pclose|fork|vfork|execl|execlp|execle|execv|execvp|execvpe|posix_spawnp?|exit|_Exit|\
quick_exit|atexit|at_quick_exit|signal|sigaction|raise|kill|fopen|freopen|tmpfile|tmpnam|rename|\
setlocale|newlocale|uselocale|duplocale|freelocale|localeconv|strtod_l|strtof_l|towlower_l|\
towupper_l|strcoll_l|strxfrm_l|ioctl|getaddrinfo)[ \t]*\\(|\
(^|[^A-Za-z0-9_.>])remove[ \t]*\\(([^,()]|\\([^()]*\\))*\\)|\
std::(filesystem|[io]?fstream|filebuf|locale)([^A-Za-z0-9_]|$)|(^|[^A-Za-z0-9_])environ([^A-Za-z0-9_]|$)")

# The include lines of a source that name neither a standard header nor one of the project's.
function(forbidden_includes source name project_folders out_var)
  file(STRINGS "${source}" lines REGEX "${include_line}")
  set(bad "")
  foreach(line IN LISTS lines)
    if(line MATCHES "${include_line}[ \t]*<([^>]*)>")
      set(header "${CMAKE_MATCH_1}")
      if(header IN_LIST standard_headers OR "${name}:${header}" IN_LIST exceptions)
        continue()
      endif()
    elseif(line MATCHES "${include_line}[ \t]*\"([^/\"]+)/[^\"]*\"")
      if(CMAKE_MATCH_1 IN_LIST project_folders)
        continue()
      endif()
    endif()
    list(APPEND bad "${line}")
  endforeach()
  set(${out_var} "${bad}" PARENT_SCOPE)
endfunction()

# The lines of a source that make one of the calls above, read without comments and strings.
function(forbidden_calls source out_var)
  file(STRINGS "${source}" lines REGEX "${system_call}")
  set(bad "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "\"([^\"\\\\]|\\\\.)*\"" "\"\"" code "${line}")
    string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/" "" code "${code}")
    string(REGEX REPLACE "//.*" "" code "${code}")
    if(code MATCHES "${system_call}")
      list(APPEND bad "${line}")
    endif()
  endforeach()
  set(${out_var} "${bad}" PARENT_SCOPE)
endfunction()

string(REPLACE "," ";" folders "${FOLDERS}")
set(reported "")
foreach(folder IN LISTS folders)
  file(GLOB_RECURSE sources "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/*.h"
       "${ROOT}/${folder}/*.hpp")
  foreach(source IN LISTS sources)
    file(RELATIVE_PATH name "${ROOT}" "${source}")
    file(STRINGS "${source}" hits REGEX "${climbing_include}")
    if(NOT folder STREQUAL "platform" AND NOT name MATCHES "(^|/)tests/")
      forbidden_includes("${source}" "${name}" "${folders}" includes)
      forbidden_calls("${source}" calls)
      list(APPEND hits ${includes} ${calls})
      list(REMOVE_DUPLICATES hits)
    endif()
    if(hits)
      list(APPEND reported "${name}")
      foreach(hit IN LISTS hits)
        message("${name}: ${hit}")
      endforeach()
    endif()
  endforeach()
endforeach()

if(DEFINED EXPECT)
  string(REPLACE "," ";" expected "${EXPECT}")
  list(SORT expected)
  list(SORT reported)
  if(NOT reported STREQUAL expected)
    message(FATAL_ERROR "Reported [${reported}], expected [${expected}]")
  endif()
elseif(reported)
  message(FATAL_ERROR "Above platform/, sources include only standard and project headers and "
                      "reach the system only through platform/; no include climbs out of its folder")
endif()
