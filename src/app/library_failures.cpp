// The C++ library reports its own failures (a length past max_size(), an index out of range) through these
// functions. Its own versions throw its exception classes, whose texts live in a second string implementation
// that would be a fifth of the program: these throw the program's Failure, which the event dispatch reports
// as any other.

#include <bits/functexcept.h>

#include <new>

#include "base/failure.h"

namespace std {

void __throw_bad_alloc() {
    throw bad_alloc();
}

void __throw_bad_array_new_length() {
    throw bad_array_new_length();
}

void __throw_length_error(const char* what) {
    throw zelmora::Failure(what);
}

void __throw_logic_error(const char* what) {
    throw zelmora::Failure(what);
}

void __throw_out_of_range(const char* what) {
    throw zelmora::Failure(what);
}

void __throw_out_of_range_fmt(const char* format, ...) {
    throw zelmora::Failure(format);
}

}  // namespace std
