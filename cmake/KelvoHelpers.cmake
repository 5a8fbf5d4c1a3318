# Helpers shared by the folders: adding every sub-folder that has a CMakeLists.txt, tests,
# fuzz targets and benchmarks.

# Adds each direct sub-folder of the current folder that has its own CMakeLists.txt.
function(kelvo_add_subfolders)
    file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
         ${CMAKE_CURRENT_SOURCE_DIR}/*)
    list(SORT children)
    foreach(child ${children})
        if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child}
           AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()

# kelvo_add_test(NAME LIBS lib...): a GoogleTest executable from the *.cpp files of the
# current folder; every test case is registered with CTest on its own.
function(kelvo_add_test name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} TestSupport GTest::gtest GTest::gmock
                          GTest::gtest_main)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES TIMEOUT 120)
endfunction()

# kelvo_add_fuzz(NAME SOURCES src... LIBS lib...): a libFuzzer target when KELVO_FUZZ is on;
# otherwise an executable that replays the regression inputs kept in the folder's corpus/
# (registered with CTest).
function(kelvo_add_fuzz name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    if(KELVO_FUZZ)
        add_executable(${name} ${ARG_SOURCES})
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    else()
        add_executable(${name} ${ARG_SOURCES} ${CMAKE_SOURCE_DIR}/Fuzz/Support/ReplayMain.cpp)
        add_test(NAME ${name}.corpus
                 COMMAND ${name} ${CMAKE_CURRENT_SOURCE_DIR}/corpus)
    endif()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
endfunction()

# kelvo_add_bench(NAME SOURCES src... LIBS lib...): a Google Benchmark executable (not a test).
function(kelvo_add_bench name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    find_package(benchmark REQUIRED)
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
endfunction()
