#pragma once
// Owning COM pointer for the XML nodes handed out by CXmlDocument and the node
// helpers. It converts to the raw interface, so an element can be passed where a
// node is expected; a NULL pointer is the failure value of every helper.
#include <windows.h>
#include <ole2.h>

#include <type_traits>
#include <utility>

template <typename T>
class XmlPtr {
public:
    XmlPtr() = default;
    // Takes its own reference.
    XmlPtr(T* p) : m_p(p) { if (m_p) m_p->AddRef(); }
    XmlPtr(const XmlPtr& o) : XmlPtr(o.m_p) {}
    XmlPtr(XmlPtr&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    // An element pointer becomes a node pointer (derived to base).
    template <typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    XmlPtr(const XmlPtr<U>& o) : XmlPtr(static_cast<T*>(o.Get())) {}
    ~XmlPtr() { Release(); }

    XmlPtr& operator=(XmlPtr o) noexcept { std::swap(m_p, o.m_p); return *this; }

    T* Get() const { return m_p; }
    operator T*() const { return m_p; }
    T* operator->() const { return m_p; }

    // Out-parameter for a COM call: releases what is held and returns the slot.
    T** Receive() { Release(); return &m_p; }
    void Release() { if (m_p) { m_p->Release(); m_p = nullptr; } }

    // The same object as interface U, or NULL when it has none.
    template <typename U>
    XmlPtr<U> As(REFIID iid) const
    {
        XmlPtr<U> r;
        if (m_p && FAILED(m_p->QueryInterface(iid, reinterpret_cast<void**>(r.Receive()))))
            r.Release();
        return r;
    }

private:
    T* m_p = nullptr;
};
