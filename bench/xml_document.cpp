// Builds, saves and loads documents of 10,000 and 40,000 elements in each
// encoding, printing the time of each step and the peak memory. The save should
// grow linearly with the size.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "common/XmlDocument.h"

namespace {

// elements: every element counts (placemarks with a name and coordinates each).
void Run(int elements, int encoding, const std::wstring& path)
{
    static const char* const names[] = {"Shift_JIS", "UTF-8", "UTF-16"};
    double t0 = 1000.0 * Now();
    CXmlDocument doc;
    XmlElementPtr root = doc.Create(L"kml", encoding);
    XmlElementPtr folder = doc.AppendElement(L"Document", root);
    wchar_t text[64];
    for (int made = 2; made + 3 <= elements; made += 3) {
        XmlElementPtr mark = doc.AppendElement(L"Placemark", folder);
        swprintf(text, 64, L"\x6771\x4EAC point %d & more", made);
        doc.AppendTextElement(L"name", mark, text);
        swprintf(text, 64, L"139.%06d,35.%06d,0", made, made * 7 % 1000000);
        doc.AppendTextElement(L"coordinates", mark, text);
    }
    double t1 = 1000.0 * Now();
    BOOL saved = doc.Save(path.c_str());
    double t2 = 1000.0 * Now();
    CXmlDocument back;
    XmlElementPtr loaded = back.Load(path.c_str());
    double t3 = 1000.0 * Now();
    WIN32_FILE_ATTRIBUTE_DATA fa{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &fa);
    std::printf("%6d elements %-9s build %8.1f ms  save %8.1f ms  load %8.1f ms  file %8lu bytes  %s  peak %.1f MiB\n",
                elements, names[encoding], t1 - t0, t2 - t1, t3 - t2, fa.nFileSizeLow,
                saved && loaded ? "ok" : "FAILED", PeakWorkingSetMegabytes());
}

}  // namespace

int main()
{
    std::wstring path = TempPath(L"bench_xml_document.xml");
    for (int elements : {10000, 40000})
        for (int encoding : {XML_UTF8, XML_SHIFT_JIS, XML_UTF16})
            Run(elements, encoding, path);
    DeleteFileW(path.c_str());
    return 0;
}
