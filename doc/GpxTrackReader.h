#pragma once
// Reads the track points of a GPX file (1.0 or 1.1): a track of a day holds tens
// of thousands of points, handed out one by one in file order.
#include <windows.h>

#include <functional>

#include "classlib/Afx.h"

struct GPX_TRACK_POINT {
    double latitude;
    double longitude;
    CString time;  // the text of the point's one "time" element
};

// Calls point for every "trkpt" of every "trkseg" of every "trk" of the root
// "gpx" (any case), in document order; elements of other namespaces (extensions)
// are passed over. FALSE when the file cannot be read or is not GPX, when a
// point lacks a readable "lat" or "lon" or has no or several "time" elements,
// or when point returns false.
BOOL ReadGpxTrackPoints(const wchar_t* path, const std::function<bool(const GPX_TRACK_POINT&)>& point);
