#pragma once
// A language table of the test's own, handed to the services for the test's
// life: line n is "ui<n>" unless set.
#include <string>
#include <vector>

#include "common/UiTextSource.h"

namespace testsupport {

class UiTexts {
public:
    explicit UiTexts(int count)
    {
        Lines().clear();
        for (int i = 0; i < count; ++i)
            Lines().push_back(L"ui" + std::to_wstring(i));
        SetUiTextLookup(&Lookup);
    }
    ~UiTexts()
    {
        SetUiTextLookup(nullptr);
        Lines().clear();
    }
    UiTexts(const UiTexts&) = delete;
    UiTexts& operator=(const UiTexts&) = delete;
    void Set(int n, const std::wstring& text) { Lines().at(n) = text; }

private:
    static std::vector<std::wstring>& Lines()
    {
        static std::vector<std::wstring> lines;
        return lines;
    }
    static const wchar_t* Lookup(int n)
    {
        return n >= 0 && n < static_cast<int>(Lines().size()) ? Lines()[n].c_str() : nullptr;
    }
};

}  // namespace testsupport
