# Build settings shared by every target of the project.

set(CLUTTERWISE_MANIFEST ${CMAKE_SOURCE_DIR}/app/clutterwise.manifest)

if(MSVC)
    set(CLUTTERWISE_WARNINGS /W4 /permissive- /utf-8)
else()
    set(CLUTTERWISE_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
    # One self-contained executable: no runtime DLLs beside it.
    add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# Narrow (...A) Win32 entry points; the manifest makes them UTF-8.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00 STRICT)

# clutterwise_library(<name> SOURCES ... DEPENDS ... SYSLIBS ...)
function(clutterwise_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;SYSLIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_compile_options(${name} PRIVATE ${CLUTTERWISE_WARNINGS})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} ${ARG_SYSLIBS})
endfunction()

# Gives a Windows executable the program's manifest (common controls 6, UTF-8 code page).
function(clutterwise_manifest target)
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest.rc)
    file(WRITE ${rc} "1 24 \"${CLUTTERWISE_MANIFEST}\"\n")
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${CLUTTERWISE_MANIFEST})
endfunction()

# clutterwise_test(<name> SOURCES ... DEPENDS ... [LOCKS ...] [RESOURCES ...] [ARGS ...])
# One GoogleTest program per test folder, run by CTest under Wine as one test.
function(clutterwise_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;DEPENDS;LOCKS;RESOURCES;ARGS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES} ${ARG_RESOURCES})
    target_compile_options(${name} PRIVATE ${CLUTTERWISE_WARNINGS})
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} gmock_main)
    if(NOT ARG_RESOURCES)
        clutterwise_manifest(${name})
    endif()
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no ${ARG_ARGS})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} FIXTURES_REQUIRED wineprefix
        ENVIRONMENT "CLUTTERWISE_BUILD_DIR=${CMAKE_BINARY_DIR}")
    if(ARG_LOCKS)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${ARG_LOCKS}")
    endif()
endfunction()
