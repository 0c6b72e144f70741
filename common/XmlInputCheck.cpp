#include "common/XmlInputCheck.h"

#include <cstring>
#include <string_view>

namespace {

// One pass over the markup. Only ASCII delimiters matter, and in the byte
// encodings the program reads no multi-byte character contains one of them
// (Shift_JIS trail bytes start at 0x40).
template <class Ch>
bool WithinBounds(const Ch* p, const Ch* end)
{
    auto startsWith = [&](const Ch* at, const char* text) {
        const size_t n = std::strlen(text);
        if (static_cast<size_t>(end - at) < n)
            return false;
        for (size_t i = 0; i < n; ++i)
            if (at[i] != static_cast<Ch>(text[i]))
                return false;
        return true;
    };
    // The position just after the first occurrence of text at or after from; null when none.
    auto after = [&](const Ch* from, const char* text) -> const Ch* {
        const size_t n = std::strlen(text);
        for (const Ch* q = from; end - q >= static_cast<ptrdiff_t>(n); ++q)
            if (startsWith(q, text))
                return q + n;
        return nullptr;
    };
    int depth = 0;
    while (p < end) {
        if (*p != Ch('<')) {
            ++p;
            continue;
        }
        if (startsWith(p, "<!--")) {
            p = after(p + 4, "-->");
        } else if (startsWith(p, "<![CDATA[")) {
            p = after(p + 9, "]]>");
        } else if (startsWith(p, "<?")) {
            p = after(p + 2, "?>");
        } else if (startsWith(p, "<!")) {
            // A declaration, with an internal subset in brackets.
            int brackets = 0;
            const Ch* q = p + 2;
            for (; q < end; ++q) {
                if (*q == Ch('['))
                    ++brackets;
                else if (*q == Ch(']'))
                    --brackets;
                else if (*q == Ch('>') && brackets <= 0)
                    break;
            }
            p = q < end ? q + 1 : nullptr;
        } else {
            // A tag: attributes counted by their '=' outside quoted values.
            const bool closing = p + 1 < end && p[1] == Ch('/');
            int attributes = 0;
            Ch quote = 0;
            const Ch* q = p + 1;
            for (; q < end; ++q) {
                if (quote) {
                    if (*q == quote)
                        quote = 0;
                } else if (*q == Ch('"') || *q == Ch('\'')) {
                    quote = *q;
                } else if (*q == Ch('=')) {
                    if (++attributes > kXmlMaxAttributes)
                        return false;
                } else if (*q == Ch('>')) {
                    break;
                }
            }
            if (q >= end)
                return false;
            if (closing)
                --depth;
            else if (q[-1] != Ch('/') && ++depth > kXmlMaxDepth)
                return false;
            p = q + 1;
        }
        if (!p)
            return false;
    }
    return true;
}

}  // namespace

bool XmlTextWithinBounds(const wchar_t* text, size_t length)
{
    return text && WithinBounds(text, text + length);
}

bool XmlBytesWithinBounds(const std::string& bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    const bool le = (n >= 2 && b[0] == 0xFF && b[1] == 0xFE) || (n >= 2 && b[0] == '<' && b[1] == 0);
    const bool be = (n >= 2 && b[0] == 0xFE && b[1] == 0xFF) || (n >= 2 && b[0] == 0 && b[1] == '<');
    if (le || be) {
        std::u16string units(n / 2, u'\0');
        for (size_t i = 0; i < units.size(); ++i)
            units[i] = le ? static_cast<char16_t>(b[2 * i] | b[2 * i + 1] << 8)
                          : static_cast<char16_t>(b[2 * i] << 8 | b[2 * i + 1]);
        return WithinBounds(units.data(), units.data() + units.size());
    }
    return WithinBounds(bytes.data(), bytes.data() + n);
}
