#include "symbolconv/PathText.h"

namespace runemark {

std::string ParentFolder(const std::string& path)
{
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(0, cut);
}

std::string LastPathComponent(const std::string& path)
{
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool IsAbsolutePath(const std::string& path)
{
    // A UNC or rooted path joined behind the current folder would name a
    // different folder, so those count as absolute too.
    if (path.size() >= 2 && path[1] == ':')
        return true;
    return !path.empty() && path[0] == '\\';
}

}  // namespace runemark
