// The roots of the program's failure types: every failure it throws is a std::exception underneath.
#pragma once

#include <exception>

namespace kelvane {

class project_exception : public std::exception {
public:
    project_exception() = default;
    ~project_exception() override = default;
    const char* what() const noexcept override { return "project failure"; }
};

// A failure reported by the operating system.
class os_exception : public project_exception {
public:
    os_exception() = default;
    ~os_exception() override = default;
    const char* what() const noexcept override { return "operating system failure"; }
};

}  // namespace kelvane
