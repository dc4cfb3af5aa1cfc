# The warnings every target of the tree is built with, all of them errors: link zelmora_warnings.
add_library(zelmora_warnings INTERFACE)
target_compile_options(zelmora_warnings INTERFACE -Wall -Wextra -Wpedantic -Wconversion -Wshadow -Werror)
