# One place for the compiler settings that every target of ours shares.
add_library(rufmon_settings INTERFACE)
target_compile_features(rufmon_settings INTERFACE cxx_std_20)
target_compile_options(rufmon_settings INTERFACE -Wall -Wextra -Wpedantic)
target_compile_definitions(rufmon_settings INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_CONTEXTLESS_CONNECT
  QT_NO_URL_CAST_FROM_STRING
  RUFMON_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
  RUFMON_VERSION_MINOR=${PROJECT_VERSION_MINOR}
  RUFMON_VERSION_PATCH=${PROJECT_VERSION_PATCH}
  RUFMON_VERSION_TEXT="${PROJECT_VERSION}"
  RUFMON_DESKTOP_ID="${RUFMON_DESKTOP_ID}")

# Adds a library of ours with the shared settings. LIBS are what its headers
# need (handed on to its users), PRIVATE_LIBS what only its sources use.
function(rufmon_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC rufmon_settings ${ARG_LIBS})
  if(ARG_PRIVATE_LIBS)
    target_link_libraries(${name} PRIVATE ${ARG_PRIVATE_LIBS})
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  set(quellen ${ARG_SOURCES})
  list(FILTER quellen INCLUDE REGEX "\\.cpp$")
  list(LENGTH quellen anzahl)
  if(anzahl GREATER_EQUAL 3)
    rufmon_vorkompilieren(${name})
  endif()
endfunction()

# Precompiled headers pay on a build from nothing (CI, a fresh clone) and
# cost on one with a compiler cache, which then could not reuse its entries;
# so they are on only without a compiler launcher. Fuzzers build few files.
option(RUFMON_VORKOMPILIERT "Precompiled headers (off with a compiler launcher)" ON)
if(CMAKE_CXX_COMPILER_LAUNCHER OR RUFMON_FUZZ)
  set(RUFMON_VORKOMPILIERT OFF)
endif()

# Gives the target its own precompiled headers, or with REUSE those of
# another target built with the same flags (the tests).
function(rufmon_vorkompilieren name)
  cmake_parse_arguments(ARG "" "REUSE" "" ${ARGN})
  if(NOT RUFMON_VORKOMPILIERT)
    return()
  endif()
  if(ARG_REUSE)
    target_precompile_headers(${name} REUSE_FROM ${ARG_REUSE})
  else()
    target_precompile_headers(${name} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/Vorkompiliert.h)
  endif()
  target_compile_options(${name} PRIVATE -Winvalid-pch)
endfunction()
