# Warnings and sanitizers shared by every target of the project.
add_library(tarvane_options INTERFACE)
target_compile_options(tarvane_options INTERFACE -Wall -Wextra -Wpedantic)
if(TARVANE_WERROR)
    target_compile_options(tarvane_options INTERFACE -Werror)
endif()

if(TARVANE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
