# Reports every Qt or Linux system header, and every locale- or system-bound call, in the
# sources of the given folders outside platform/ (tests may use them), and every include that
# climbs out of its folder with "../", past the include roots that keep the layers apart.
#   cmake -DROOT=<tree> -DFOLDERS=<a,b,...> [-DEXPECT=<file,file,...>] -P platform_only.cmake
# Fails when it reports anything; with EXPECT, passes when it reports exactly those files.

set(system_header "#[ \t]*include[ \t]*(<|\")(Q[A-Za-z]+|qt[a-z]*/|sys/|linux/|netinet/|arpa/|\
netdb\\.h|unistd\\.h|fcntl\\.h|dirent\\.h|x?locale\\.h|pthread\\.h|poll\\.h|dlfcn\\.h|termios\\.h|\
iconv\\.h|langinfo\\.h|alsa/|pulse/|libav)|#[ \t]*include[ \t]*<(net|scsi)/")
set(system_call "(^|[^A-Za-z0-9_])(newlocale|uselocale|duplocale|freelocale|localeconv|strtod_l|\
strtof_l|towlower_l|towupper_l|strcoll_l|strxfrm_l|ioctl|getaddrinfo)[ \t]*\\(")
set(climbing_include "#[ \t]*include[ \t]*\"\\.\\./")

string(REPLACE "," ";" folders "${FOLDERS}")
set(reported "")
foreach(folder IN LISTS folders)
  file(GLOB_RECURSE sources "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/*.h"
       "${ROOT}/${folder}/*.hpp")
  foreach(source IN LISTS sources)
    file(RELATIVE_PATH name "${ROOT}" "${source}")
    if(folder STREQUAL "platform" OR name MATCHES "(^|/)tests/")
      file(STRINGS "${source}" hits REGEX "${climbing_include}")
    else()
      file(STRINGS "${source}" hits REGEX "${system_header}|${system_call}|${climbing_include}")
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
  message(FATAL_ERROR "Only platform/ may include Qt or system headers and make system calls, "
                      "and no include climbs out of its folder")
endif()
