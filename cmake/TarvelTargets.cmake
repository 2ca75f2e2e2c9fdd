# The build's house rules, in one place.
#
# tarvel_add_library(NAME SOURCES ... [USES lib ...] [QT module ...])
#   One library per source folder. Its include path is its own folder only;
#   the folders below it arrive through USES, so a file can include exactly
#   the headers of the layers it is allowed to use, and no others.
#
# tarvel_apply_warnings()
#   Called once at the end of the top-level list file: every C++ target
#   defined in this tree gets the same warnings; with TARVEL_WERROR they are
#   errors. Qt's and SUNDIALS' headers come in as system headers, so only our
#   own code is judged.

option(TARVEL_WERROR "Treat compiler warnings as errors" OFF)
option(TARVEL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TARVEL_FUZZ "Build the fuzz targets as libFuzzer programs (clang), with both sanitizers" OFF)

function(tarvel_add_library name)
    cmake_parse_arguments(L "" "" "SOURCES;USES;QT" ${ARGN})
    add_library(${name} STATIC ${L_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    foreach(module ${L_QT})
        target_link_libraries(${name} PUBLIC Qt6::${module})
    endforeach()
    target_link_libraries(${name} PUBLIC ${L_USES})
endfunction()

function(_tarvel_targets_in dir out)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(sub ${subdirs})
        _tarvel_targets_in(${sub} sub_targets)
        list(APPEND targets ${sub_targets})
    endforeach()
    set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(tarvel_apply_warnings)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        return()
    endif()
    _tarvel_targets_in(${PROJECT_SOURCE_DIR} targets)
    foreach(target ${targets})
        get_target_property(type ${target} TYPE)
        if(NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
            continue()
        endif()
        # Qt's generated resource objects are not ours.
        if(target MATCHES "_resources_[0-9]+$")
            continue()
        endif()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
        if(TARVEL_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    endforeach()
endfunction()

if(TARVEL_SANITIZE OR TARVEL_FUZZ)
    # Whole-program: the libraries, the programs the tests start and the tests.
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

if(TARVEL_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "TARVEL_FUZZ needs clang for libFuzzer: configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    # Coverage feedback from every library a reader runs through, not from
    # the target alone; libFuzzer's main() goes into the targets only.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
