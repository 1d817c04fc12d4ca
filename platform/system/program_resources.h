#pragma once

#include <optional>
#include <string_view>

// The resources compiled into the program: blocks of bytes known by a type and a name, found as
// a program finds its own resources, without regard to the letter case of either. The build
// makes them from files (rv_resource in cmake/Reelvault.cmake).
namespace rv {

// Registers a resource for as long as the program runs; the sources rv_resource makes hold one
// each. `bytes` must live as long.
class ProgramResource {
public:
    ProgramResource(std::string_view type, std::string_view name, std::string_view bytes);
};

// The bytes of the resource, or nothing when the program has no such resource.
std::optional<std::string_view> FindProgramResource(std::string_view type, std::string_view name);

}  // namespace rv
