#pragma once
// Temporary wrapper objects for handles that no object owns (FromHandle on a
// window, menu or image list made elsewhere). They live until the next idle
// pass of the application (AfxDeleteTempObjects), so a caller must not keep them.
#include <windows.h>

#include <memory>
#include <unordered_map>

namespace afx {

template <class T, class H>
class TempMap {
public:
    // make(h) builds a wrapper that does not own h; release(obj) unhooks it again.
    template <class Make>
    T* Get(H h, Make make)
    {
        auto it = m_objects.find(h);
        if (it != m_objects.end())
            return it->second.get();
        T* obj = make(h);
        m_objects.emplace(h, std::unique_ptr<T>(obj));
        return obj;
    }
    template <class Release>
    void Clear(Release release)
    {
        for (auto& [h, obj] : m_objects)
            release(obj.get());
        m_objects.clear();
    }
private:
    std::unordered_map<H, std::unique_ptr<T>> m_objects;
};

}  // namespace afx
