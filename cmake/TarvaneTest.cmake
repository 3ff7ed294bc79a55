include(GoogleTest)

# Debian 12 has the Liberation fonts (Arial's widths) in liberation2/, Debian 13 in liberation/.
set(TARVANE_POLICES_LIBERATION /usr/share/fonts/truetype/liberation2)
foreach(_dossier /usr/share/fonts/truetype/liberation /usr/share/fonts/truetype/liberation2)
    if(EXISTS ${_dossier}/LiberationSans-Regular.ttf)
        set(TARVANE_POLICES_LIBERATION ${_dossier})
    endif()
endforeach()

# Every test carries one of the labels unit, gui, e2e, stress, and windows too when it runs
# under Wine, so that a run may pick its kinds (ctest -L gui); scripts/suite.sh fails on a test
# that has none.
set(TARVANE_ETIQUETTE_SYSTEME "")
if(CMAKE_CROSSCOMPILING AND WIN32)
    set(TARVANE_ETIQUETTE_SYSTEME windows)
endif()

# A test that cannot run on this machine is still listed, and CTest reports it skipped; the
# reason is in its output (scripts/test.sh prints it after the run).
function(tarvane_test_saute name raison etiquette)
    add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -E echo "skipped: ${raison}")
    set(_etiquettes ${etiquette} ${TARVANE_ETIQUETTE_SYSTEME})
    set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "skipped: "
        LABELS "${_etiquettes}")
endfunction()

# Cross-built for Windows, every test program runs under Wine (tests/windows/wine.sh), which
# hands the program only the variables whose names it prefixes with WINE.
if(CMAKE_CROSSCOMPILING AND WIN32)
    set(TARVANE_WINE bash ${PROJECT_SOURCE_DIR}/tests/windows/wine.sh)
    string(REPLACE ";" ":" _chemins "${TARVANE_CHEMINS_DLL}")
    set(TARVANE_WINE_ENV "TARVANE_WINE_PATH=${_chemins}"
        "WINEQT_PLUGIN_PATH=Z:${TARVANE_QT_PLUGINS}" "WINEPREFIX=${CMAKE_BINARY_DIR}/wine"
        # The offscreen platform reads its fonts from one folder: Arial's widths.
        "WINEQT_QPA_FONTDIR=Z:${TARVANE_POLICES_LIBERATION}")
endif()

# tarvane_add_test(<name> SOURCES ... [LIBS ...] [GUI [NATIF]])
# GUI tests get a QApplication on the offscreen platform and Qt Test's key and mouse events;
# NATIF ones the system's own platform, whose windows the system knows.
function(tarvane_add_test name)
    cmake_parse_arguments(T "GUI;NATIF" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock tarvane_options)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    set(_env "LC_ALL=C.UTF-8" "TARVANE_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output")
    if(NOT CMAKE_CROSSCOMPILING)
        # Run from a desktop's terminal as from a bare shell: none of the caller's displays, buses
        # or settings for the toolkit reach the tests.
        foreach(_variable DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
                XDG_CURRENT_DESKTOP XDG_SESSION_TYPE QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE
                QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI
                QT_IM_MODULE QT_ACCESSIBILITY QT_LINUX_ACCESSIBILITY_ALWAYS_ON QT_LOGGING_RULES)
            list(PREPEND _env "--unset=${_variable}")
        endforeach()
    endif()
    if(T_GUI)
        target_link_libraries(${name} PRIVATE tarvane_test_qtmain Qt6::Test)
        if(T_NATIF)
            list(APPEND _env "QT_QPA_PLATFORM=" "WINEQT_QPA_PLATFORM=windows")
        else()
            list(APPEND _env "QT_QPA_PLATFORM=offscreen" "WINEQT_QPA_PLATFORM=offscreen")
        endif()
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    # gtest_discover_tests keeps only the first entry of an ENVIRONMENT list, so the variables
    # are set by running each test through `cmake -E env`, at discovery and at run time alike.
    set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR
                 ${CMAKE_COMMAND} -E env ${_env} ${TARVANE_WINE_ENV} ${TARVANE_WINE})
    # Tests on the system's own windows share one shell (Wine's tray): one at a time, or an icon
    # added while another test's shell starts is refused.
    set(_etiquettes unit ${TARVANE_ETIQUETTE_SYSTEME})
    if(T_GUI)
        set(_etiquettes gui ${TARVANE_ETIQUETTE_SYSTEME})
    endif()
    set(_verrou "")
    if(T_NATIF)
        set(_verrou RESOURCE_LOCK shell_natif)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES TIMEOUT 120 LABELS "${_etiquettes}" ${_verrou})
endfunction()
