# One interface target carries the project's warning flags; every target links it.
add_library(velmarix_warnings INTERFACE)
target_compile_options(velmarix_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow)
if(VELMARIX_WERROR)
  target_compile_options(velmarix_warnings INTERFACE -Werror)
endif()
