#pragma once
// Decodes picture files into thumbnails on two worker threads, taking them in
// the order they were queued, so that a folder of large photos never stalls the
// window. The window polls for finished pictures (Take) from its timer; Reset
// drops the queue and whatever is still being decoded for the old folder.
#include <windows.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/DibImage.h"

class CThumbLoader {
public:
    struct Result {
        int index;         // as queued
        BOOL loaded;       // FALSE: neither decoder could read it
        DIB_IMAGE image;   // owned by whoever takes the result
    };

    CThumbLoader(int boxWidth, int boxHeight) : m_boxWidth(boxWidth), m_boxHeight(boxHeight) {}
    int BoxWidth() const { return m_boxWidth; }
    int BoxHeight() const { return m_boxHeight; }
    ~CThumbLoader();
    CThumbLoader(const CThumbLoader&) = delete;
    CThumbLoader& operator=(const CThumbLoader&) = delete;

    void Queue(int index, const std::wstring& path);
    // Forgets every queued job and every result not taken yet.
    void Reset();
    // The next finished picture, in the order they were finished (nearly the
    // queue's); FALSE when none is ready.
    BOOL Take(Result& result);

    // The decoding itself (also used by the window's tests): the picture fitted
    // into the box keeping its proportions, near-black lifted off black. FALSE,
    // with the image empty, when no decoder can read the file.
    static BOOL LoadThumbnail(const wchar_t* path, int boxWidth, int boxHeight, DIB_IMAGE* image);

private:
    struct Job {
        int index;
        unsigned generation;
        std::wstring path;
    };
    // Two: decoding is the whole cost of a folder of photos, and one decoder
    // leaves the rest of the machine idle.
    static constexpr int kWorkers = 2;
    void Run();
    const int m_boxWidth, m_boxHeight;
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    std::deque<Result> m_done;
    unsigned m_generation = 0;
    bool m_stop = false;
    std::vector<std::thread> m_workers;
};
