# Compiler and linker flags for every target, googletest included: a 32-bit x86
# build with real IEEE single and double rounding (SSE scalar maths), a stack
# that generated code may leave 4-byte aligned, and no fast-math.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS ON)
set(CMAKE_C_STANDARD 11)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

# -m32 itself comes from cmake/i386-linux.cmake.
# 64-bit file offsets and inode numbers: a 32-bit program on a 64-bit kernel
# (or under qemu-i386) otherwise fails stat and readdir on large inode numbers.
add_compile_definitions(_FILE_OFFSET_BITS=64)
add_compile_options(-msse2 -mfpmath=sse -mincoming-stack-boundary=2 -fno-strict-aliasing
                    -fvisibility=hidden)

# Where the kernel runs no 32-bit program, binfmt_misc hands them to qemu-i386
# (tools/setup.sh). There valgrind's 32-bit tools cannot run (no DRD tests),
# and AddressSanitizer's fixed shadow region overlaps where the emulator puts
# the guest's stack and mappings, so the sanitizer build checks undefined
# behaviour only.
set(VLX_I386_EMULATED OFF)
file(GLOB vlx_binfmt_entries /proc/sys/fs/binfmt_misc/*)
foreach(entry IN LISTS vlx_binfmt_entries)
  if(NOT entry MATCHES "/(register|status)$")
    file(READ ${entry} text)
    if(text MATCHES "^enabled" AND text MATCHES "interpreter [^\n]*qemu-i386"
       AND text MATCHES "magic 7f454c46010101")
      set(VLX_I386_EMULATED ON)
    endif()
  endif()
endforeach()
if(VLX_I386_EMULATED)
  message(STATUS "32-bit programs run under qemu-i386 here: no DRD tests, no AddressSanitizer")
endif()

option(VLX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(VLX_LONG_TESTS "Register the long forms of the path-agreement tests (label long)" OFF)
if(VLX_SANITIZE)
  if(VLX_I386_EMULATED)
    set(vlx_sanitizers undefined)
  else()
    set(vlx_sanitizers address,undefined)
  endif()
  add_compile_options(-fsanitize=${vlx_sanitizers} -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${vlx_sanitizers})
endif()

# The checking build (Debug) adds run-time checks that cost time, such as
# page-protecting system-memory surfaces while they are unlocked.
add_compile_definitions($<$<CONFIG:Debug>:VLX_CHECKING>)

# Warnings for our own code only (googletest keeps its own).
set(VLX_WARNINGS -Wall -Wextra -Wno-unused-parameter)
