#include "controls/ThumbLoader.h"

#include <objbase.h>

#include "classlib/CImage.h"
#include "common/JpegThumbnail.h"

CThumbLoader::~CThumbLoader()
{
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_stop = true;
        m_jobs.clear();
    }
    m_wake.notify_all();
    for (std::thread& worker : m_workers)
        if (worker.joinable())
            worker.join();
    for (Result& r : m_done)
        FreeDibImage(&r.image);
}

void CThumbLoader::Queue(int index, const std::wstring& path)
{
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_jobs.push_back({index, m_generation, path});
        if (m_workers.empty())
            for (int i = 0; i < kWorkers; ++i)
                m_workers.emplace_back([this] { Run(); });
    }
    m_wake.notify_one();
}

void CThumbLoader::Reset()
{
    std::lock_guard<std::mutex> hold(m_lock);
    ++m_generation;  // a picture being decoded now is dropped when it is done
    m_jobs.clear();
    for (Result& r : m_done)
        FreeDibImage(&r.image);
    m_done.clear();
}

BOOL CThumbLoader::Take(Result& result)
{
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_done.empty())
        return FALSE;
    result = m_done.front();
    m_done.pop_front();
    return TRUE;
}

BOOL CThumbLoader::LoadThumbnail(const wchar_t* path, int boxWidth, int boxHeight, DIB_IMAGE* image)
{
    // A JPEG is decoded scaled down by libjpeg itself: a camera photo in a
    // tenth of the time the full-size decoders take.
    if (LoadJpegThumbnail(path, boxWidth, boxHeight, image)) {
        AvoidPureBlack(image);
        return TRUE;
    }
    // Then GDI+, drawing straight at the thumbnail's size. Wine's system
    // picture loader (OleLoadPicture) never frees the decoded picture: about
    // 7 MB lost per camera photo, which ends a 32-bit process after a few
    // hundred. It stays as the fallback for what GDI+ cannot read.
    BOOL ok = FALSE;
    CImage picture;
    if (SUCCEEDED(picture.Load(path))) {
        // Fitted into the box keeping the proportions, as the system loader does.
        const SIZE size = FitThumbnailSize(picture.GetWidth(), picture.GetHeight(), boxWidth, boxHeight);
        if (CreateDib(image, size.cx, size.cy)) {
            HDC dc = CreateCompatibleDC(nullptr);
            HGDIOBJ old = SelectObject(dc, image->bitmap);
            ok = picture.Draw(dc, 0, 0, image->width, image->height);
            SelectObject(dc, old);
            DeleteDC(dc);
            GdiFlush();
        }
        if (!ok)
            FreeDibImage(image);
    }
    if (!ok)
        ok = LoadPictureFile(image, path, boxWidth, boxHeight);
    if (ok)
        AvoidPureBlack(image);
    else
        FreeDibImage(image);
    return ok;
}

void CThumbLoader::Run()
{
    // The picture loader goes through COM.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> hold(m_lock);
            m_wake.wait(hold, [this] { return m_stop || !m_jobs.empty(); });
            if (m_stop)
                break;
            job = m_jobs.front();
            m_jobs.pop_front();
        }
        Result result{job.index, FALSE, {}};
        result.loaded = LoadThumbnail(job.path.c_str(), m_boxWidth, m_boxHeight, &result.image);
        std::lock_guard<std::mutex> hold(m_lock);
        if (job.generation == m_generation && !m_stop)
            m_done.push_back(result);
        else
            FreeDibImage(&result.image);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
}
