# Cross-building for 64-bit Windows with Debian's mingw-w64 (its POSIX thread model, which the
# standard library's threads and Qt 6 need). TARVANE_QT_WINDOWS names the Qt built for Windows
# (scripts/windows.sh); the build machine's own Qt gives the tools (moc, rcc, uic).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${_triplet}-windres)

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${_triplet})
if(DEFINED ENV{TARVANE_QT_WINDOWS})
    list(APPEND CMAKE_FIND_ROOT_PATH $ENV{TARVANE_QT_WINDOWS})
endif()
if(DEFINED ENV{TARVANE_GTEST_WINDOWS})
    list(APPEND CMAKE_FIND_ROOT_PATH $ENV{TARVANE_GTEST_WINDOWS})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
