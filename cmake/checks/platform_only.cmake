# Reports every Qt or Linux system header, and every locale- or system-bound call, in the
# sources of the given folders outside platform/; tests may use them.
#   cmake -DROOT=<tree> -DFOLDERS=<a,b,...> [-DEXPECT=<file,file,...>] -P platform_only.cmake
# Fails when it reports anything; with EXPECT, passes when it reports exactly those files.

set(system_header "#[ \t]*include[ \t]*(<|\")(Q[A-Za-z]+|qt[a-z]*/|sys/|linux/|netinet/|arpa/|\
netdb\\.h|unistd\\.h|fcntl\\.h|dirent\\.h|x?locale\\.h|pthread\\.h|poll\\.h|dlfcn\\.h|termios\\.h|\
iconv\\.h|langinfo\\.h|alsa/|pulse/|libav)|#[ \t]*include[ \t]*<(net|scsi)/")
set(system_call "(^|[^A-Za-z0-9_])(newlocale|uselocale|duplocale|freelocale|localeconv|strtod_l|\
strtof_l|towlower_l|towupper_l|strcoll_l|strxfrm_l|ioctl|getaddrinfo)[ \t]*\\(")

string(REPLACE "," ";" folders "${FOLDERS}")
set(reported "")
foreach(folder IN LISTS folders)
  if(folder STREQUAL "platform" OR NOT IS_DIRECTORY "${ROOT}/${folder}")
    continue()
  endif()
  file(GLOB_RECURSE sources "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/*.h"
       "${ROOT}/${folder}/*.hpp")
  foreach(source IN LISTS sources)
    file(RELATIVE_PATH name "${ROOT}" "${source}")
    if(name MATCHES "(^|/)tests/")
      continue()
    endif()
    file(STRINGS "${source}" hits REGEX "${system_header}|${system_call}")
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
  message(FATAL_ERROR "Only platform/ may include Qt or system headers and make system calls")
endif()
