#pragma once

#include <exception>
#include <string>

namespace zelmora {

// A failure and what it concerns, as the event dispatch reports it. Derived from std::exception alone: the
// library's exception classes keep their texts in a second string implementation of their own, which would
// be a fifth of the program's size.
class Failure : public std::exception {
public:
    explicit Failure(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

}  // namespace zelmora
