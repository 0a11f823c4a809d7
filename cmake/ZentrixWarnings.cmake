# Warnings are errors for every target of this project (and only for ours, not for
# third-party code pulled in through find_package).
add_library(zentrix_warnings INTERFACE)
if(MSVC)
    target_compile_options(zentrix_warnings INTERFACE /W4 /WX /utf-8)
else()
    target_compile_options(zentrix_warnings INTERFACE -Wall -Wextra -Werror)
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 at -O3 (the Release and benchmark builds) reports overlapping copies inside
    # libstdc++'s std::string for plain `"." + name` concatenations (GCC bug 105651). The warning
    # stays on, as an error, with GCC 13 and later and in every other build type.
    target_compile_options(zentrix_warnings INTERFACE "$<$<CONFIG:Release>:-Wno-restrict>")
endif()

# Optional sanitizer build: -DZENTRIX_SANITIZE=ON (AddressSanitizer + UBSan, no recovery).
option(ZENTRIX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(ZENTRIX_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        # GCC's flow analysis gives false "may be used uninitialized" warnings inside libstdc++
        # (std::regex, std::function) once ASan instruments optimised code. The normal build keeps
        # the warning, so real cases are still caught there.
        target_compile_options(zentrix_warnings INTERFACE -Wno-maybe-uninitialized)
    endif()
endif()

# Hardened binaries, as Debian builds its own packages: checked string and memory functions where
# the code is optimised, a stack protector, and a read-only global offset table. The sanitizer and
# fuzz builds check memory their own way.
if(NOT MSVC AND NOT ZENTRIX_SANITIZE AND NOT ZENTRIX_FUZZ)
    add_compile_options(-fstack-protector-strong
                        "$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
    add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
