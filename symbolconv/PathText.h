#pragma once
// Path texts as the converter builds them: '/' and '\' both separate, and
// paths are joined with '/' (Windows accepts the mix).
#include <string>

namespace runemark {

// The text before the last '/' or '\'; the whole path when it has neither.
std::string ParentFolder(const std::string& path);
// The text after the last '/' or '\'; the whole path when it has neither.
std::string LastPathComponent(const std::string& path);
// A drive letter path ("C:...") or one that starts at a root ("\dir", "\\server\share").
bool IsAbsolutePath(const std::string& path);

}  // namespace runemark
