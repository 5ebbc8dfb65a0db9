# Helpers that turn the folder layout into targets. A new source file is
# picked up by re-running the build; no list of files is kept by hand.

# The include folders of each layer. A layer sees its own folders and those
# of the layers below it, so an include that reaches upwards does not
# compile: the stand-in sees only itself; the platform layer sees the
# stand-in and, of the runtime, only its one header of services
# (target/winmo/src/vm); the runtime sees the platform layer (not the
# stand-in under it), the engine and the game see the runtime too.
set(JME_CE_INCLUDE_DIRS ${CMAKE_SOURCE_DIR}/target/winmo/ce)
set(JME_PLATFORM_INCLUDE_DIRS
  ${CMAKE_SOURCE_DIR}/target/winmo/platform
  ${CMAKE_SOURCE_DIR}/target/winmo/src/vm
  ${JME_CE_INCLUDE_DIRS})
set(JME_RUNTIME_INCLUDE_DIRS
  ${CMAKE_SOURCE_DIR}/lib_src/vm
  ${CMAKE_SOURCE_DIR}/target/winmo/pb_src/vm
  ${CMAKE_SOURCE_DIR}/target/winmo/pb_src/j2me
  ${CMAKE_SOURCE_DIR}/target/winmo/platform
  ${CMAKE_SOURCE_DIR}/target/winmo/src/vm)
set(JME_ENGINE_INCLUDE_DIRS ${JME_RUNTIME_INCLUDE_DIRS} ${CMAKE_SOURCE_DIR}/src/engine)
set(JME_GAME_INCLUDE_DIRS ${JME_ENGINE_INCLUDE_DIRS} ${CMAKE_SOURCE_DIR}/src/game)
set(JME_INCLUDE_DIRS ${JME_GAME_INCLUDE_DIRS} ${JME_CE_INCLUDE_DIRS})

# Programs, tests, benchmarks and fuzz targets link this with the layers and
# see every folder.
add_library(jme_all_includes INTERFACE)
target_include_directories(jme_all_includes INTERFACE ${JME_INCLUDE_DIRS})

# jme_layer(<target> INCLUDES <folder>... SOURCES <dir>...): an object
# library of every .cpp in the source dirs, compiled with only the include
# folders given.
function(jme_layer target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "INCLUDES;SOURCES")
  set(sources)
  foreach(dir ${arg_SOURCES})
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(sources)
    add_library(${target} OBJECT ${sources})
    target_include_directories(${target} PRIVATE ${arg_INCLUDES})
  endif()
endfunction()

# jme_test_support(): the shared helpers of tests/support as one object
# library, compiled once and linked into every test, benchmark and fuzz
# program (each used to compile its own copy).
function(jme_test_support)
  file(GLOB support CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
  add_library(jme_test_support OBJECT ${support})
  target_include_directories(jme_test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests/support)
  target_link_libraries(jme_test_support PUBLIC jme_all_includes Threads::Threads)
endfunction()

# jme_test_dirs(<root>): one test program per folder under tests/, named
# after the folder; every test case runs in its own process (one VM per
# process). Tests are labelled with their folder name, so `ctest -L threads`
# runs the thread tests only.
function(jme_test_dirs root)
  file(GLOB dirs LIST_DIRECTORIES true ${root}/*)
  foreach(dir ${dirs})
    get_filename_component(name ${dir} NAME)
    if(NOT IS_DIRECTORY ${dir} OR name STREQUAL "support" OR name STREQUAL "programs")
      continue()
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(NOT sources)
      continue()
    endif()
    add_executable(test_${name} ${sources})
    target_link_libraries(test_${name} PRIVATE jme_test_support ${JME_LAYERS} Threads::Threads GTest::gtest GTest::gmock GTest::gtest_main)
    target_compile_definitions(test_${name} PRIVATE JME_TEST_DATA_DIR="${dir}/data")
    gtest_discover_tests(test_${name}
      PROPERTIES LABELS ${name}
      DISCOVERY_TIMEOUT 60)
    jme_test_apps(${dir} test_${name})
  endforeach()
endfunction()

# jme_test_apps(<test folder> <test program>): each <Name>MIDlet.cpp in the
# folder's app/ is a program jme_<name>_app (the name in lower case): the
# product's entry with that MIDlet and the test-app driver, which the
# folder's tests run as a child process from the build folder. Benchmarks
# may run them too (JME_TEST_APPS).
function(jme_test_apps dir tests)
  file(GLOB midlets CONFIGURE_DEPENDS ${dir}/app/*MIDlet.cpp)
  foreach(midlet ${midlets})
    get_filename_component(file ${midlet} NAME_WE)
    string(REGEX REPLACE "MIDlet$" "" name ${file})
    string(TOLOWER ${name} name)
    set(program jme_${name}_app)
    add_executable(${program} ${CMAKE_SOURCE_DIR}/target/winmo/app/main.cpp ${midlet}
      ${CMAKE_SOURCE_DIR}/tests/support/TestAppDriver.cpp)
    target_include_directories(${program} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
    target_link_libraries(${program} PRIVATE ${JME_LAYERS} Threads::Threads)
    set_target_properties(${program} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
    add_dependencies(${tests} ${program})
    target_compile_definitions(${tests} PRIVATE JME_BINARY_DIR="${CMAKE_BINARY_DIR}")
    set_property(GLOBAL APPEND PROPERTY JME_TEST_APPS ${program})
  endforeach()
endfunction()

# jme_link_content(<target>...): links the content writers and fixtures
# (the jme_content library, tools/content) into each target that exists,
# for test folders, fuzz targets and tools that build content.
function(jme_link_content)
  foreach(target ${ARGN})
    if(TARGET ${target})
      target_link_libraries(${target} PRIVATE jme_content)
    endif()
  endforeach()
endfunction()

# jme_content_tool(): the program jme_content_tool (tools/content/tool, the
# validator in tools/content/check and the generators of tools/content/game,
# compiled in so that no generator registration is dropped), beside the
# program in the build folder. test_contentcheck gets the validator too.
# When tools/content/game/manifest.txt exists, the target jme_rsc (part of
# all) builds the game's resource folder rsc/ beside the program from it
# and checks it (a fault fails the build), and the test content.game_rsc
# checks that folder.
function(jme_content_tool)
  set(dir ${CMAKE_SOURCE_DIR}/tools/content)
  file(GLOB check_sources CONFIGURE_DEPENDS ${dir}/check/*.cpp)
  file(GLOB tool_sources CONFIGURE_DEPENDS ${dir}/tool/*.cpp ${dir}/game/*.cpp)
  add_executable(jme_content_tool ${tool_sources} ${check_sources} ${CMAKE_SOURCE_DIR}/tests/support/VMTestEnv.cpp)
  target_include_directories(jme_content_tool PRIVATE ${dir}/check ${CMAKE_SOURCE_DIR}/tests/support)
  target_link_libraries(jme_content_tool PRIVATE ${JME_LAYERS} Threads::Threads jme_content)
  set_target_properties(jme_content_tool PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  if(TARGET test_contentcheck)
    target_sources(test_contentcheck PRIVATE ${check_sources})
    target_include_directories(test_contentcheck PRIVATE ${dir}/check)
    target_link_libraries(test_contentcheck PRIVATE jme_content jme_gamecontent)
    add_dependencies(test_contentcheck jme_content_tool)
    target_compile_definitions(test_contentcheck PRIVATE JME_CONTENT_TOOL="$<TARGET_FILE:jme_content_tool>")
  endif()
  # Globbed whether or not the manifest exists, so that adding it re-runs
  # the configuration.
  file(GLOB_RECURSE game_content CONFIGURE_DEPENDS ${dir}/game/*)
  set(manifest ${dir}/game/manifest.txt)
  if(EXISTS ${manifest})
    set(stamp ${CMAKE_BINARY_DIR}/rsc.stamp)
    add_custom_command(OUTPUT ${stamp}
      COMMAND jme_content_tool build ${manifest} ${CMAKE_BINARY_DIR}/rsc
      COMMAND jme_content_tool check ${CMAKE_BINARY_DIR}/rsc ${manifest}
      COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
      DEPENDS jme_content_tool ${game_content}
      COMMENT "Building rsc/ from tools/content/game/manifest.txt")
    add_custom_target(jme_rsc ALL DEPENDS ${stamp})
    add_test(NAME content.game_rsc COMMAND jme_content_tool check ${CMAKE_BINARY_DIR}/rsc ${manifest})
    set_tests_properties(content.game_rsc PROPERTIES LABELS contentcheck TIMEOUT 120)
  endif()
endfunction()

# jme_bench_dir(<dir>): one benchmark program per .cpp file in bench/.
function(jme_bench_dir dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  foreach(src ${sources})
    get_filename_component(name ${src} NAME_WE)
    add_executable(bench_${name} ${src})
    target_link_libraries(bench_${name} PRIVATE jme_test_support ${JME_LAYERS} Threads::Threads benchmark::benchmark benchmark::benchmark_main)
    # Benchmarks that run whole programs find them in the build folder.
    target_compile_definitions(bench_${name} PRIVATE JME_BINARY_DIR="${CMAKE_BINARY_DIR}")
    if(TARGET vm_boot)
      add_dependencies(bench_${name} vm_boot)
    endif()
    get_property(apps GLOBAL PROPERTY JME_TEST_APPS)
    if(apps)
      add_dependencies(bench_${name} ${apps})
    endif()
    # Peer libraries, when installed: each benchmark tests JME_HAVE_<NAME>.
    if(PIXMAN_FOUND)
      target_link_libraries(bench_${name} PRIVATE PkgConfig::PIXMAN)
      target_compile_definitions(bench_${name} PRIVATE JME_HAVE_PIXMAN=1)
    endif()
    if(SQLITE3_FOUND)
      target_link_libraries(bench_${name} PRIVATE PkgConfig::SQLITE3)
      target_compile_definitions(bench_${name} PRIVATE JME_HAVE_SQLITE3=1)
    endif()
    # Benchmarks may compare against the Boehm collector when it is installed.
    if(JME_BOEHM_GC)
      target_link_libraries(bench_${name} PRIVATE ${JME_BOEHM_GC})
      target_compile_definitions(bench_${name} PRIVATE JME_HAVE_BOEHM_GC=1)
    endif()
  endforeach()
endfunction()

# jme_fuzz_dir(<dir>): one fuzz target per .cpp file in fuzz/, named
# fuzz_<file>. With JME_FUZZ the target is a libFuzzer program; otherwise a
# plain main (fuzz/support/ReplayMain.cpp) runs it on every file of the
# folders given, so the corpus replays with any compiler. A corpus folder
# fuzz/corpus/<file>/ becomes a test labelled "fuzz" that replays it.
function(jme_fuzz_dir dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  foreach(src ${sources})
    get_filename_component(name ${src} NAME_WE)
    add_executable(fuzz_${name} ${src})
    target_link_libraries(fuzz_${name} PRIVATE jme_test_support ${JME_LAYERS} Threads::Threads)
    if(JME_FUZZ)
      target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
      set(replay_args -runs=0)
    else()
      if(NOT TARGET jme_fuzz_replay)
        add_library(jme_fuzz_replay OBJECT ${dir}/support/ReplayMain.cpp)
      endif()
      target_link_libraries(fuzz_${name} PRIVATE jme_fuzz_replay)
      set(replay_args)
    endif()
    if(IS_DIRECTORY ${dir}/corpus/${name})
      add_test(NAME fuzz_${name}_corpus COMMAND fuzz_${name} ${replay_args} ${dir}/corpus/${name})
      set_tests_properties(fuzz_${name}_corpus PROPERTIES LABELS fuzz)
    endif()
  endforeach()
endfunction()

# jme_test_programs(<dir>): each .cpp in the folder is a whole program that
# runs as one test and must exit with code 0 (label "vm").
function(jme_test_programs dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  foreach(src ${sources})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE ${JME_LAYERS} Threads::Threads)
    add_test(NAME program.${name} COMMAND ${name})
    set_tests_properties(program.${name} PROPERTIES LABELS vm TIMEOUT 60)
  endforeach()
endfunction()

# jme_compile_fail_tests(<dir> <label> [<include folder>...]): each .cpp in
# the folder must fail to compile, with the include folders given (all of
# them when none is), with the message that its line
# "// error: <regular expression>" names.
function(jme_compile_fail_tests dir label)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  set(dirs ${ARGN})
  if(NOT dirs)
    set(dirs ${JME_INCLUDE_DIRS})
  endif()
  set(includes)
  foreach(inc ${dirs})
    list(APPEND includes -I${inc})
  endforeach()
  foreach(src ${sources})
    get_filename_component(name ${src} NAME_WE)
    file(STRINGS ${src} expected REGEX "^// error: ")
    string(REGEX REPLACE "^// error: " "" expected "${expected}")
    # "// compiler: GNU": a check only that compiler can make.
    file(STRINGS ${src} compiler REGEX "^// compiler: ")
    string(REGEX REPLACE "^// compiler: " "" compiler "${compiler}")
    if(compiler AND NOT CMAKE_CXX_COMPILER_ID STREQUAL compiler)
      continue()
    endif()
    add_test(NAME compile_fail.${name}
      COMMAND ${CMAKE_CXX_COMPILER} -std=c++20 -fsyntax-only ${includes} ${src})
    set_tests_properties(compile_fail.${name} PROPERTIES LABELS ${label}
      PASS_REGULAR_EXPRESSION "${expected}")
  endforeach()
endfunction()

# jme_no_platform_calls_test(<label> <layer>...): a test that no object file
# of the layers names a HAL_ function, except the engine's bridge to the
# platform (tq_platform_brume_*). Include folders cannot show this: MIDP
# headers include platform headers, so every layer above the runtime sees
# them.
function(jme_no_platform_calls_test label)
  set(objects)
  foreach(layer ${ARGN})
    if(TARGET ${layer})
      list(APPEND objects $<TARGET_OBJECTS:${layer}>)
    endif()
  endforeach()
  if(NOT objects)
    return()
  endif()
  add_test(NAME layers.no_platform_calls
    COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} "-DOBJECTS=$<JOIN:${objects},|>"
      -P ${CMAKE_SOURCE_DIR}/tests/layers/NoPlatformCalls.cmake)
  set_tests_properties(layers.no_platform_calls PROPERTIES LABELS ${label})
endfunction()
