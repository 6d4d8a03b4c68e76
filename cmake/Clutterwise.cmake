# Build settings shared by every target of the project.

# The version is written once, in project(): the resource scripts' version block (app/version.h)
# and the manifest are made from it here, into the build tree's app/, where the resource scripts
# find them as "app/...", like the files of the source tree.
set(_cw_numbers "")
foreach(part MAJOR MINOR PATCH TWEAK)
    if("${PROJECT_VERSION_${part}}" STREQUAL "")
        list(APPEND _cw_numbers 0)
    else()
        list(APPEND _cw_numbers ${PROJECT_VERSION_${part}})
    endif()
endforeach()
list(JOIN _cw_numbers ", " CLUTTERWISE_VERSION_NUMBERS)
list(JOIN _cw_numbers "." CLUTTERWISE_VERSION_NUMBERS_DOTTED)
configure_file(${CMAKE_SOURCE_DIR}/app/version.h.in ${CMAKE_BINARY_DIR}/app/version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/app/clutterwise.manifest.in
               ${CMAKE_BINARY_DIR}/app/clutterwise.manifest @ONLY)
set(CLUTTERWISE_MANIFEST ${CMAKE_BINARY_DIR}/app/clutterwise.manifest)

if(MSVC)
    set(CLUTTERWISE_WARNINGS /W4 /permissive- /utf-8)
else()
    set(CLUTTERWISE_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
    # One self-contained executable: no runtime DLLs beside it.
    add_link_options(-static -static-libgcc -static-libstdc++)
    # The same sources give the same bytes wherever they are built: no build path in the program
    # (__FILE__, debugging information) and no link time in its header.
    add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.)
    add_link_options(-Wl,--no-insert-timestamp)
endif()

# The checking build (the clang preset) fails on any of those warnings.
option(CLUTTERWISE_WERROR "Treat the project's compiler warnings as errors" OFF)
if(CLUTTERWISE_WERROR)
    list(APPEND CLUTTERWISE_WARNINGS $<IF:$<CXX_COMPILER_ID:MSVC>,/WX,-Werror>)
endif()

# Narrow (...A) Win32 entry points; the manifest makes them UTF-8.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00 STRICT)

# Every include names its layer from the source tree's root ("win32/Handles.h"); what the
# configure step makes is found the same way from the build tree's root.
include_directories(${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})

# Fails the configure step when a file of `name` includes a header of a project folder that is
# not its own nor one of its (transitive) project dependencies: the layers point downward only.
function(clutterwise_check_layers name folder)
    set(allowed ${folder})
    set(pending ${ARGN})
    while(pending)
        list(POP_FRONT pending dep)
        # A layer is added after the layers it stands on: one not made yet is a layer above.
        if(NOT TARGET ${dep})
            message(FATAL_ERROR "${name} depends on ${dep}, which is not made before it: "
                                "add the lower layer's folder first")
        endif()
        get_target_property(dep_folder ${dep} CLUTTERWISE_LAYER)
        if(dep_folder AND NOT dep_folder IN_LIST allowed)
            list(APPEND allowed ${dep_folder})
            get_target_property(dep_deps ${dep} CLUTTERWISE_DEPENDS)
            if(dep_deps)
                list(APPEND pending ${dep_deps})
            endif()
        endif()
    endwhile()
    file(GLOB files ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    foreach(file ${files})
        file(STRINGS ${file} includes REGEX "^#include \"[a-z0-9]+/")
        foreach(line ${includes})
            string(REGEX REPLACE "^#include \"(.*)/[^/]*\".*" "\\1" layer "${line}")
            if(NOT layer IN_LIST allowed)
                message(FATAL_ERROR "${file}: ${line} reaches a layer that ${name} may not use "
                                    "(allowed: ${allowed})")
            endif()
        endforeach()
    endforeach()
endfunction()

# clutterwise_library(<name> SOURCES ... DEPENDS ... SYSLIBS ...)
function(clutterwise_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;SYSLIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    # The library's folder ("controls/statusbar") and project dependencies, for the layer check.
    set_target_properties(${name} PROPERTIES CLUTTERWISE_LAYER "${folder}"
                                             CLUTTERWISE_DEPENDS "${ARG_DEPENDS}")
    clutterwise_check_layers(${name} ${folder} ${ARG_DEPENDS})
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
