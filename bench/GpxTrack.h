#pragma once
// The long drive the drive-report and XML benchmarks read: a GPX track of one
// point a second from 2009-05-01T00:00:00Z in stop-and-go traffic.
#include <cstdio>
#include <ctime>
#include <string>

// Speed in km/h of point i: stop-and-go traffic with standing starts.
inline int SpeedAt(int i)
{
    const int phase = i % 120;
    if (phase < 10)
        return 0;
    if (phase < 20)
        return (phase - 10) * 5;
    return 50 + (i / 120 % 3) * 5;
}

inline void WriteGpxTrack(const std::wstring& path, int points)
{
    FILE* f = _wfopen(path.c_str(), L"wb");
    std::fprintf(f, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<gpx version=\"1.1\" creator=\"bench\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
                    "  <trk>\n    <name>Long drive</name>\n    <trkseg>\n");
    double lat = 35.0;
    const __int64 start = 1241136000;  // 2009-05-01T00:00:00Z
    for (int i = 0; i < points; ++i) {
        lat += SpeedAt(i) / 3.6 / 111000.0;
        __int64 t = start + i;
        tm u{};
        _gmtime64_s(&u, &t);
        std::fprintf(f,
                     "      <trkpt lat=\"%.7f\" lon=\"%.7f\">\n        <ele>%.1f</ele>\n"
                     "        <time>%04d-%02d-%02dT%02d:%02d:%02dZ</time>\n      </trkpt>\n",
                     lat, 139.0 + (i % 1000) * 1e-6, 10.0 + i % 50, u.tm_year + 1900, u.tm_mon + 1, u.tm_mday,
                     u.tm_hour, u.tm_min, u.tm_sec);
    }
    std::fprintf(f, "    </trkseg>\n  </trk>\n</gpx>\n");
    std::fclose(f);
}
