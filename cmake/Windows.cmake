# The Windows build (the win32 and win64 presets, cross-compiled with MinGW-w64):
# the two plug-in DLLs, qrhost.exe, Karvel_Prefs.exe and the tests that run
# under Wine. The scene, settings, import, export and host folders are the Linux
# build's own; only platform/ differs (platform/win32/).

# No DLL beside the system's: libgcc, libstdc++ and winpthread linked in.
# (The C runtime is msvcrt.dll, which every Windows has.)
add_link_options(-static -static-libgcc -static-libstdc++)
# The system headers as of Windows 7 (the tests use its registry calls). The
# platform code calls the ANSI functions: the application object's texts and
# the paths the plug-ins are handed are narrow strings in the system's code
# page, as the host gives them.
add_compile_definitions(WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)

# qr_add_plugin for Windows (replaces the one in QrHelpers.cmake): NAME.dll
# exporting exactly ExecutePlugin (platform/win32/plugin.def), with a version
# resource made from the module's QR_PLUGIN_VERSION_INFO line.
function(qr_add_plugin name)
  set(sources ${ARGN})
  list(GET sources 0 entry_source)
  file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/${entry_source} version_line
       REGEX "^QR_PLUGIN_VERSION_INFO\\(")
  if(NOT version_line MATCHES "^QR_PLUGIN_VERSION_INFO\\(\"([^\"]*)\", \"([^\"]*)\", \"([^\"]*)\"\\)")
    message(FATAL_ERROR "${entry_source}: no QR_PLUGIN_VERSION_INFO(\"company\", \"version\", \"description\") line")
  endif()
  set(QR_RC_MODULE ${name})
  set(QR_RC_COMPANY ${CMAKE_MATCH_1})
  set(QR_RC_VERSION ${CMAKE_MATCH_2})
  set(QR_RC_DESCRIPTION ${CMAKE_MATCH_3})
  string(REPLACE "." "," QR_RC_VERSION_COMMAS "${QR_RC_VERSION}")
  string(REGEX MATCHALL "," commas "${QR_RC_VERSION_COMMAS}")
  list(LENGTH commas count)
  while(count LESS 3)
    string(APPEND QR_RC_VERSION_COMMAS ",0")
    math(EXPR count "${count} + 1")
  endwhile()
  configure_file(${PROJECT_SOURCE_DIR}/platform/win32/plugin_version.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${name}_version.rc @ONLY)
  add_library(${name} SHARED ${sources} ${CMAKE_CURRENT_BINARY_DIR}/${name}_version.rc
              ${PROJECT_SOURCE_DIR}/platform/win32/plugin.def)
  set_target_properties(${name} PROPERTIES PREFIX "" IMPORT_PREFIX "" IMPORT_SUFFIX ".dll.a")
  target_link_options(${name} PRIVATE -Wl,--no-undefined)
endfunction()

add_subdirectory(platform/win32)
add_subdirectory(scene)
add_subdirectory(settings)
add_subdirectory(import)
add_subdirectory(export)
add_subdirectory(host)
add_subdirectory(prefs/win32)

if(NOT QR_TESTS)
  return()
endif()
# GoogleTest from Debian's sources (package googletest), built with MinGW; its
# code is not ours to keep free of our warnings.
enable_testing()
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
set_target_properties(gtest gtest_main PROPERTIES COMPILE_OPTIONS "-w")
add_subdirectory(tests/win32)
