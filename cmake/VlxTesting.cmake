# GoogleTest from the system's sources, built with our flags, and the helper
# that declares one test program.
enable_testing()

set(VLX_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT EXISTS ${VLX_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${VLX_GTEST_SOURCE}: run tools/setup.sh")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${VLX_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL)

find_program(VLX_QEMU_I386 qemu-i386)
find_program(VLX_VALGRIND valgrind)


# vlx_add_test(name SOURCES ... [LIBS ...] [LABELS ...] [ENVIRONMENT ...] [SLOW] [QEMU]
#              [NO_SANITIZER] [DRD_FILTER gtest-filter])
#   Every test is labelled "unit". Unless NO_SANITIZER is given it is also
#   labelled "sanitizer", the set that the sanitizer build runs. SLOW adds the
#   label "slow". QEMU adds a second test, NAME_qemu (label "qemu"), that runs the
#   same program under qemu-i386 emulating a processor with 3DNow! (less the
#   long-mode features it cannot emulate for a 32-bit program). DRD_FILTER adds
#   NAME_drd (labels "drd" and "slow"): the tests the filter selects, under
#   valgrind's DRD thread checker (helgrind does not run on 32-bit programs here).
function(vlx_add_test name)
  cmake_parse_arguments(T "SLOW;QEMU;NO_SANITIZER" "DRD_FILTER" "SOURCES;LIBS;LABELS;ENVIRONMENT"
                        ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_compile_options(${name} PRIVATE ${VLX_WARNINGS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gtest_main)
  set(labels unit ${T_LABELS})
  if(NOT T_NO_SANITIZER)
    list(APPEND labels sanitizer)
  endif()
  if(T_SLOW)
    list(APPEND labels slow)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS "${labels}")
  if(T_ENVIRONMENT)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENVIRONMENT}")
  endif()
  if(T_QEMU AND VLX_QEMU_I386 AND NOT VLX_SANITIZE)
    add_test(NAME ${name}_qemu COMMAND ${VLX_QEMU_I386} -cpu phenom,-syscall,-fxsr-opt,-lm $<TARGET_FILE:${name}>)
    set_tests_properties(${name}_qemu PROPERTIES LABELS "qemu")
    if(T_ENVIRONMENT)
      set_tests_properties(${name}_qemu PROPERTIES ENVIRONMENT "${T_ENVIRONMENT}")
    endif()
  endif()
  if(T_DRD_FILTER AND VLX_VALGRIND AND NOT VLX_SANITIZE AND NOT VLX_I386_EMULATED)
    add_test(NAME ${name}_drd
             COMMAND ${VLX_VALGRIND} --tool=drd --error-exitcode=1 -q $<TARGET_FILE:${name}>
                     --gtest_filter=${T_DRD_FILTER})
    set_tests_properties(${name}_drd PROPERTIES LABELS "drd;slow")
    if(T_ENVIRONMENT)
      set_tests_properties(${name}_drd PROPERTIES ENVIRONMENT "${T_ENVIRONMENT}")
    endif()
  endif()
endfunction()
