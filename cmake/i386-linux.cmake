# Targets 32-bit x86 Linux with the host's multilib compilers. Set before the
# compilers are probed, so CMake's own checks and library searches are 32-bit
# (Debian's multilib libraries live in /usr/lib32).
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-m32")
