#include "platform/system/program_resources.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "platform/text/ascii_case.h"

namespace rv {

namespace {

struct Resources {
    std::mutex lock;
    std::map<std::pair<std::string, std::string>, std::string_view> byTypeAndName;
};

// Made on first use: resources register while the program's static objects are made.
Resources& TheResources() {
    static Resources resources;
    return resources;
}

std::pair<std::string, std::string> Key(std::string_view type, std::string_view name) {
    return {UpperCase(type), UpperCase(name)};
}

}  // namespace

ProgramResource::ProgramResource(std::string_view type, std::string_view name,
                                 std::string_view bytes) {
    Resources& resources = TheResources();
    const std::lock_guard<std::mutex> hold(resources.lock);
    resources.byTypeAndName[Key(type, name)] = bytes;
}

std::optional<std::string_view> FindProgramResource(std::string_view type, std::string_view name) {
    Resources& resources = TheResources();
    const std::lock_guard<std::mutex> hold(resources.lock);
    const auto found = resources.byTypeAndName.find(Key(type, name));
    if (found == resources.byTypeAndName.end()) return std::nullopt;
    return found->second;
}

}  // namespace rv
