# Warning and sanitizer flags for the project's own targets (not for the
# third-party test frameworks built alongside).
add_library(tavisko_warnings INTERFACE)
if(MSVC)
  target_compile_options(tavisko_warnings INTERFACE /W4 /WX /utf-8 /permissive-)
  # The C runtime's wide file and format functions are used with explicit
  # bounds; the _s variants would not be portable to MinGW.
  target_compile_definitions(tavisko_warnings INTERFACE _CRT_SECURE_NO_WARNINGS)
else()
  # -Wshadow: a name that hides a global, a parameter or a member is an
  # error under MSVC's /W4 /WX (C4456 to C4459); GCC catches it here first.
  target_compile_options(tavisko_warnings INTERFACE -Wall -Wextra -Wshadow -Werror)
endif()

if(TAVISKO_SANITIZE)
  set(tavisko_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${tavisko_sanitizers})
  add_link_options(${tavisko_sanitizers})
endif()

if(MINGW)
  # One self-contained executable: no MinGW runtime DLLs beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()
