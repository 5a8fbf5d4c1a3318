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
# current folder; every test case is registered with CTest on its own, and the whole program
# once more as NAME.shuffled, its cases in a random order (the seed is in its output), so that
# no case can come to rely on what an earlier one left behind.
function(kelvo_add_test name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} TestSupport GTest::gtest GTest::gmock
                          GTest::gtest_main)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES TIMEOUT 120)
    add_test(NAME ${name}.shuffled COMMAND ${name} --gtest_shuffle --gtest_brief=1)
    set_tests_properties(${name}.shuffled PROPERTIES TIMEOUT 900)
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

# kelvo_add_resources(TARGET MANIFEST): compiles the resources that MANIFEST (a resources.txt)
# lists into TARGET, as its exported KelvoResourceTable(). The resource compiler runs again
# whenever the manifest or any file it names changes.
function(kelvo_add_resources target manifest)
    get_target_property(kind ${target} TYPE)
    if(kind STREQUAL "STATIC_LIBRARY")
        # Nothing references the table, so a static library's copy would be dropped at link
        # time: resources belong to the shared library or program that is the module.
        message(FATAL_ERROR "kelvo_add_resources(${target}): give resources to the shared "
                            "library or executable that carries them, not to a ${kind}")
    endif()
    get_filename_component(manifest_path ${manifest} ABSOLUTE)
    set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
    add_custom_command(
        OUTPUT ${output}
        COMMAND kelvo_rescomp ${manifest_path} ${output} ${output}.d
        DEPENDS kelvo_rescomp ${manifest_path}
        DEPFILE ${output}.d
        COMMENT "Compiling the resources of ${target}"
        VERBATIM)
    target_sources(${target} PRIVATE ${output})
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/Source/Platform/include)
    if(kind STREQUAL "EXECUTABLE")
        # The platform finds the table with dlsym, so a program must export it.
        set_property(TARGET ${target} PROPERTY ENABLE_EXPORTS ON)
    endif()
endfunction()
