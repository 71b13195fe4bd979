# Warnings and sanitizers applied to every target of the project (not to
# third-party code, which comes from the system).
add_library(orvella_options INTERFACE)
target_compile_options(orvella_options INTERFACE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
if(ORVELLA_WERROR)
  target_compile_options(orvella_options INTERFACE -Werror)
endif()

if(ORVELLA_SANITIZE)
  set(_orvella_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${_orvella_san})
  add_link_options(${_orvella_san})
endif()

if(ORVELLA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "The fuzz targets need clang (use the fuzz preset)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
