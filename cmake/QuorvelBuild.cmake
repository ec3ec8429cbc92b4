# Compiler settings shared by every target of the project.

# Warnings are errors in every build.
function(qv_target_warnings target)
  if(MSVC)
    # C4251: members of exported classes use the standard library (one compiler builds all modules).
    # C4190: the exported utility functions return std::string with C linkage, as they are named.
    target_compile_options(${target} PRIVATE /W4 /WX /wd4251 /wd4190)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                             -Werror)
  endif()
endfunction()

# Narrow string literals are written in UTF-8 and stored as code page 932 bytes.
function(qv_target_charset target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /source-charset:utf-8 /execution-charset:.932)
  elseif(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=CP932)
  endif()
  # clang cannot convert literals; it is only used for the fuzz build, which compares no text.
endfunction()

function(qv_target_defaults target)
  qv_target_warnings(${target})
  qv_target_charset(${target})
  if(WIN32)
    target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                 _WIN32_WINNT=0x0601)
  endif()
  if(QV_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=all)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  if(QV_TSAN)
    target_compile_options(${target} PRIVATE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=thread)
  endif()
endfunction()

# The binaries that users get: without the debug sections, which the loader would otherwise
# read into the process's private memory (Wine loads every section of a MinGW image).
function(qv_shipped_binary target)
  if(MINGW)
    target_link_options(${target} PRIVATE -s)
  endif()
endfunction()

# Programs whose entry is wmain or wWinMain.
function(qv_wide_entry_point target)
  if(NOT MSVC)
    target_link_options(${target} PRIVATE -municode)
  endif()
endfunction()

# A portable part of the window program: a library on the settings store (the DLL on Windows,
# the native core elsewhere). Its sources are also kept in <VARIABLE> with full paths, since the
# Windows tests build them into themselves beside the library's static variant.
function(qv_window_program_core target variable)
  set(sources)
  foreach(source IN LISTS ARGN)
    list(APPEND sources ${CMAKE_CURRENT_SOURCE_DIR}/${source})
  endforeach()
  set(${variable} ${sources} CACHE INTERNAL "")
  add_library(${target} STATIC ${sources})
  qv_target_defaults(${target})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  if(WIN32)
    target_link_libraries(${target} PUBLIC QuorvelL)
  else()
    target_link_libraries(${target} PUBLIC quorvel_core)
  endif()
endfunction()
