# Warnings and sanitizers shared by every target of the project.
add_library(tarvane_options INTERFACE)
target_compile_options(tarvane_options INTERFACE -Wall -Wextra -Wpedantic)
if(TARVANE_WERROR)
    target_compile_options(tarvane_options INTERFACE -Werror)
    # GCC 12 reports impossible overlaps inside std::string at -O2 and above (GCC bug 105651).
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(tarvane_options INTERFACE -Wno-error=restrict)
    endif()
endif()

if(TARVANE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# libFuzzer's coverage and the sanitizers on every target; only the fuzzers link libFuzzer's main.
if(TARVANE_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "TARVANE_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
