#include "tree/tree_errors.h"

#include <string_view>

namespace rv {

const char* VirtualTreeErrorText(int helpContext) {
    switch (helpContext) {
        case hcTFEditLinkIsNil:
            return "Edit link must not be nil.";
        case hcTFWrongMoveError:
            return "Target node cannot be a child node of the node to be moved.";
        case hcTFWrongStreamFormat:
            return "Unable to load tree structure, the format is wrong.";
        case hcTFWrongStreamVersion:
            return "Unable to load tree structure, the version is unknown.";
        case hcTFStreamTooSmall:
            return "Unable to load tree structure, not enough data available.";
        case hcTFCorruptStreamFormat:
            return "Stream data corrupt. A node's anchor chunk is missing.";
        case hcTFCorruptStreamData:
            return "Stream data corrupt. Unexpected data after node's end position.";
        case hcTFClipboardFailed:
            return "Clipboard operation failed.";
        case hcTFCannotSetUserData:
            return "Cannot set initial user data because there is not enough user data space "
                   "allocated.";
        default:
            return "";
    }
}

void RaiseVirtualTreeError(int helpContext) {
    throw EVirtualTreeError(helpContext, VirtualTreeErrorText(helpContext));
}

void RaiseTreeAssertion(const char* message, const char* path, int line) {
    std::string_view file = path;
    if (const auto slash = file.rfind('/'); slash != std::string_view::npos)
        file.remove_prefix(slash + 1);
    throw EAssertionFailed(std::string(message) + " (" + std::string(file) + ", line " +
                           std::to_string(line) + ")");
}

}  // namespace rv
