#pragma once

#include <string>

namespace rv::save_target {

// The folder and the name of a path ("." for a bare name).
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

// The file a save through `path` replaces: symbolic links followed to the file they lead to,
// which need not exist yet. Gives false, with errno ELOOP, for links that lead round in a circle.
bool Resolve(const std::string& path, std::string& target);

// The start of the names of temporary files made while saving `target`, in its folder; the
// rest of such a name is decimal digits.
std::string TemporaryPrefix(const std::string& target);

// Removes the temporary files earlier saves of `target` left behind when they were cut short.
// One whose save still runs is locked by it, and stays.
void RemoveStaleTemporaries(const std::string& target);

}  // namespace rv::save_target
