# Settings shared by every target of the project.

if(TALLYFOLD_FUZZ)
  # Coverage for libFuzzer in every library; the fuzz programs link the fuzzer itself.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

if(TALLYFOLD_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
if(TALLYFOLD_SANITIZE_THREAD)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# The hardening a distribution expects of a program (and lintian looks for): stack protection,
# checked string and memory functions, and relocations read-only and bound at start. Not with
# the sanitizers, which bring their own checks.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND NOT TALLYFOLD_FUZZ AND NOT TALLYFOLD_SANITIZE AND
   NOT TALLYFOLD_SANITIZE_THREAD)
  add_compile_options(-fstack-protector-strong $<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE>
                      $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()

# Windows: the Unicode forms of the Windows API, Windows 7 and later, and libgcc, libstdc++ and
# the thread library linked in, so that every program runs without DLLs beside it. Tests run
# under Wine through scripts/wine-run.
if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run)
endif()

# Strict warnings for our own code; third-party code never goes through here. The presets make
# them errors; a package or downstream build with another compiler is not stopped by a new one.
function(tallyfold_strict_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                         -Wsign-conversion -Wformat=2)
  # GCC 12 warns of overlapping copies in std::string's operator+ once it inlines deeply (an
  # optimised build); the warning is the compiler's own fault (GCC bug 105329).
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(TALLYFOLD_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# One static library per folder; includes are written from the repository root ("box/card.h").
function(tallyfold_add_library target)
  add_library(${target} STATIC ${ARGN})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  tallyfold_strict_warnings(${target})
endfunction()
