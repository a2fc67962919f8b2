include(GoogleTest)

# tolvex_add_test(<name> SOURCES ... LIBS ... [APP core|gui|widgets] [LABELS ...] [ENV ...]
#                 [TIMEOUT s] [SERIAL])
# One GoogleTest executable whose main creates the Qt application object named by APP;
# every test case becomes a CTest test.
function(tolvex_add_test name)
    cmake_parse_arguments(T "SERIAL" "TIMEOUT;APP" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
    if(NOT T_APP)
        set(T_APP core)
    endif()
    add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/common/TestMain.cpp)
    string(TOUPPER "${T_APP}" app)
    target_compile_definitions(${name} PRIVATE TOLVEX_TEST_APP_${app})
    # Only the modules the application object needs: a core-only test links QtCore alone, as
    # the libraries it tests do (folders that use Qt Test name Qt6::Test in LIBS).
    if(T_APP STREQUAL "widgets")
        set(qt_libs Qt6::Widgets Qt6::Gui Qt6::Test)
    elseif(T_APP STREQUAL "gui")
        set(qt_libs Qt6::Gui Qt6::Test)
    endif()
    target_link_libraries(${name} PRIVATE ${T_LIBS} tolvex_testcommon GTest::gtest GTest::gmock
        ${qt_libs} Qt6::Core)
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    # Paths reach the tests through TestMain (which exports them when unset): a list of
    # several variables in ENVIRONMENT does not survive the discovery step intact.
    target_compile_definitions(${name} PRIVATE
        TOLVEX_SOURCE_DIR_DEFAULT="${PROJECT_SOURCE_DIR}"
        TOLVEX_BINARY_DIR_DEFAULT="${PROJECT_BINARY_DIR}")
    set(props TIMEOUT ${T_TIMEOUT})
    if(T_ENV)
        list(APPEND props ENVIRONMENT "${T_ENV}")
    endif()
    if(T_LABELS)
        list(APPEND props LABELS "${T_LABELS}")
    endif()
    if(T_SERIAL)
        list(APPEND props RUN_SERIAL TRUE)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ${props})
endfunction()

# Globbed sources of one test folder: <dir>/*.cpp form the ordinary test executable,
# <dir>/netns/*.cpp one labelled "netns" (run serially, they build network namespaces),
# <dir>/x11/*.cpp one labelled "x11".
function(tolvex_add_test_folder prefix)
    cmake_parse_arguments(T "" "APP" "LIBS" ${ARGN})
    if(NOT T_APP)
        set(T_APP core)
    endif()
    file(GLOB plain CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    file(GLOB netns CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/netns/*.cpp)
    file(GLOB x11 CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/x11/*.cpp)
    if(plain)
        tolvex_add_test(${prefix}_tests SOURCES ${plain} LIBS ${T_LIBS} APP ${T_APP})
    endif()
    if(netns)
        tolvex_add_test(${prefix}_netns_tests SOURCES ${netns} LIBS ${T_LIBS} APP ${T_APP}
            LABELS netns SERIAL TIMEOUT 300)
    endif()
    if(x11)
        tolvex_add_test(${prefix}_x11_tests SOURCES ${x11} LIBS ${T_LIBS} APP ${T_APP}
            LABELS x11 SERIAL TIMEOUT 300)
    endif()
endfunction()
