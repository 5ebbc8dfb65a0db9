# Measures that cut the CPU time of a cold build (CI builds three variants
# from nothing): the layers compile as unity builds, batches of their files
# in one translation unit, and the test programs share one precompiled
# header of GoogleTest and the runtime's core headers. Neither changes what
# is built or tested. docs/status.md ("Build time") has the figures.
#
# Both can be switched off, e.g. to check that every file of a layer
# compiles on its own (-DJME_UNITY_BUILD=OFF).
option(JME_UNITY_BUILD "Compile the layers in batches of files (unity build)" ON)
option(JME_PRECOMPILED_HEADERS "Share one precompiled header among the test programs" ON)
set(JME_UNITY_BATCH_SIZE 16 CACHE STRING "Files in one unity batch of a layer")

# jme_speed_up_build(): applies the measures to the targets of the top-level
# folder; runs once they all exist (deferred to the end of CMakeLists.txt),
# so that test folders added later get them too.
function(jme_speed_up_build)
  if(JME_UNITY_BUILD)
    # The stand-in keeps each file's state under one name (State, state()),
    # and the game, small against the rest, is in heavy change: both compile
    # file by file.
    foreach(layer jme_runtime jme_platform jme_engine)
      if(TARGET ${layer})
        set_target_properties(${layer} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${JME_UNITY_BATCH_SIZE})
      endif()
    endforeach()
    # The test layers.no_platform_calls tells the engine's bridge to the
    # platform by its object file's name: it keeps an object of its own.
    file(GLOB bridge ${CMAKE_SOURCE_DIR}/src/engine/tq_platform_brume_*.cpp)
    set_source_files_properties(${bridge} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
  endif()

  if(JME_PRECOMPILED_HEADERS)
    # The header is made in a target of its own with the same usage
    # requirements (and so the same macros) as every test program; a test
    # program whose flags made it unusable would fail on -Winvalid-pch.
    # Headers that read a test program's own macros (JavaTestSupport.h reads
    # JME_TEST_DATA_DIR) stay out of it.
    set(stub ${CMAKE_BINARY_DIR}/jme_test_pch.cpp)
    file(CONFIGURE OUTPUT ${stub} CONTENT "// The precompiled header's own translation unit.\n")
    add_library(jme_test_pch OBJECT ${stub})
    target_link_libraries(jme_test_pch PRIVATE jme_test_support ${JME_LAYERS} Threads::Threads
      GTest::gtest GTest::gmock)
    target_precompile_headers(jme_test_pch PRIVATE
      <gtest/gtest.h> <algorithm> <atomic> <chrono> <cstdint> <cstdio> <cstring> <fstream>
      <functional> <map> <memory> <mutex> <string> <thread> <vector>
      ${CMAKE_SOURCE_DIR}/lib_src/vm/VMJava.h
      ${CMAKE_SOURCE_DIR}/lib_src/vm/VMClassKit.h
      ${CMAKE_SOURCE_DIR}/target/winmo/pb_src/vm/VMContext.h
      ${CMAKE_SOURCE_DIR}/target/winmo/pb_src/j2me/java_lang_String.h
      ${CMAKE_SOURCE_DIR}/target/winmo/pb_src/j2me/java_lang_Throwable.h
      ${CMAKE_SOURCE_DIR}/tests/support/VMTestEnv.h)
    get_property(targets DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
      if(target MATCHES "^test_")
        target_precompile_headers(${target} REUSE_FROM jme_test_pch)
        # With <string> from a precompiled header g++ 12 no longer holds
        # back its known false bounds warnings on std::string's inlined
        # copies (they point into the library's own headers).
        if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
          target_compile_options(${target} PRIVATE -Wno-array-bounds -Wno-stringop-overflow -Wno-stringop-overread)
        endif()
      endif()
    endforeach()
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL jme_speed_up_build)
