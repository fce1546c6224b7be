# Helpers that give every project target the same warnings, and give the
# toolkit-free core a second, sanitized build for its tests.

set(ZR_WARNINGS -Wall -Wextra -Wpedantic -Werror)
set(ZR_SANITIZERS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)

function(zr_warnings target)
    target_compile_options(${target} PRIVATE ${ZR_WARNINGS})
endfunction()

# zr_core_library(NAME SOURCES ... [DEPS ...])
# Builds NAME and NAME_san (the same sources under ASan and UBSan). DEPS are
# other core libraries; the sanitized variant links their sanitized variants.
function(zr_core_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;SYSTEM_LIBS" ${ARGN})
    foreach(variant "" "_san")
        set(t ${name}${variant})
        add_library(${t} STATIC ${ARG_SOURCES})
        target_include_directories(${t} PUBLIC ${PROJECT_SOURCE_DIR})
        target_compile_features(${t} PUBLIC cxx_std_20)
        zr_warnings(${t})
        foreach(dep ${ARG_DEPS})
            target_link_libraries(${t} PUBLIC ${dep}${variant})
        endforeach()
        target_link_libraries(${t} PUBLIC ${ARG_SYSTEM_LIBS})
        if(variant STREQUAL "_san")
            target_compile_options(${t} PUBLIC ${ZR_SANITIZERS})
            target_link_options(${t} PUBLIC ${ZR_SANITIZERS})
        endif()
    endforeach()
endfunction()

# zr_core_test(NAME SOURCES ... LIBS ...)
# One GoogleTest executable per folder, run twice by ctest: plain and sanitized.
function(zr_core_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    foreach(variant "" "_san")
        set(t ${name}${variant})
        add_executable(${t} ${ARG_SOURCES})
        zr_warnings(${t})
        foreach(lib ${ARG_LIBS})
            target_link_libraries(${t} PRIVATE ${lib}${variant})
        endforeach()
        target_link_libraries(${t} PRIVATE GTest::gtest GTest::gtest_main)
        if(variant STREQUAL "_san")
            set(prefix "san.")
        else()
            set(prefix "")
        endif()
        gtest_discover_tests(${t} TEST_PREFIX "${prefix}${name}." DISCOVERY_TIMEOUT 60
            PROPERTIES ENVIRONMENT "LC_ALL=C.UTF-8;ZR_TEST_BINARY_DIR=${CMAKE_BINARY_DIR}")
    endforeach()
endfunction()

# zr_qt_test(NAME SOURCES ... LIBS ...)
# One Qt Test executable per folder; every test class in it registers itself with
# ZR_REGISTER_QTEST. It runs on the offscreen platform with a fixed locale.
function(zr_qt_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/common/QtTestMain.cpp)
    zr_warnings(${name})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test Qt6::Widgets)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8;LC_ALL=C.UTF-8;XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/${name}-config"
        TIMEOUT 300)
endfunction()
