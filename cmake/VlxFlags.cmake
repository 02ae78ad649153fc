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

option(VLX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(VLX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# The checking build (Debug) adds run-time checks that cost time, such as
# page-protecting system-memory surfaces while they are unlocked.
add_compile_definitions($<$<CONFIG:Debug>:VLX_CHECKING>)

# Warnings for our own code only (googletest keeps its own).
set(VLX_WARNINGS -Wall -Wextra -Wno-unused-parameter)
