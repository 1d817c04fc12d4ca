#include "platform/dirs/file_names.h"

namespace rv {

namespace {

// Where the name proper starts: just after the last "/".
std::size_t NameStart(std::string_view fileName) {
    const std::size_t slash = fileName.rfind('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

// Where the extension starts, or the end of the text when there is none.
std::size_t ExtensionStart(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos || dot < NameStart(fileName) ? fileName.size() : dot;
}

}  // namespace

std::string ExtractFileName(std::string_view fileName) {
    return std::string(fileName.substr(NameStart(fileName)));
}

std::string ExtractFilePath(std::string_view fileName) {
    return std::string(fileName.substr(0, NameStart(fileName)));
}

std::string ExtractFileDir(std::string_view fileName) {
    const std::size_t start = NameStart(fileName);
    if (start == 0) return {};
    return std::string(fileName.substr(0, start == 1 ? 1 : start - 1));
}

std::string ExtractFileExt(std::string_view fileName) {
    return std::string(fileName.substr(ExtensionStart(fileName)));
}

std::string ChangeFileExt(std::string_view fileName, std::string_view extension) {
    std::string changed(fileName.substr(0, ExtensionStart(fileName)));
    changed += extension;
    return changed;
}

}  // namespace rv
