#include <cstdio>

#include "common/DibImage.h"
#include "common/FileReplace.h"
#include "common/HttpClient.h"
#include "common/HttpDownload.h"
#include "common/LogWriter.h"
#include "common/XmlDocument.h"
#include "doc/DocAp.h"
#include "doc/WorkFolder.h"

namespace {

const wchar_t kAgent[] = L"10KRTVX/1.000000";
constexpr DWORD kHttpForbidden = CHttpClient::RESULT_HTTP_STATUS + 403;

int MapServiceCode(int code)
{
    switch (code) {
    case 400: return APERR_SERVICE_400;
    case 401: return APERR_SERVICE_401;
    case 402: return APERR_SERVICE_402;
    case 403: return APERR_SERVICE_403;
    case 501: return APERR_SERVICE_501;
    case 502: return APERR_SERVICE_502;
    case 503: return APERR_SERVICE_503;
    default: return DOCERR_FILE_NOT_FOUND;
    }
}

CString ChildText(XmlNode node, const wchar_t* name)
{
    CString text;
    if (!XmlGetChildText(name, node, 0, text))
        text.Empty();
    return text;
}

// An item whose id or file names would not stay inside the app's own folder.
bool IsUnsafeApp(const CDocApRecord& app)
{
    CStringArray names;
    return !IsSafeAppFileName(app.m_id) || !app.GetFileNames(names);
}

}  // namespace

CString CDocAp::GetModelClassCode(int modelType)
{
    return (modelType == 1 || modelType == 4 || modelType == 6) ? L"48205716" : L"";
}

CString CDocAp::GetDeviceNumberText() const
{
    CString text;
    for (BYTE digit : m_deviceNumber) {
        CString d;
        d.Format(L"%01X", digit);
        text += d;
    }
    return text;
}

std::string CDocAp::BuildPostBody(int modelType, int country) const
{
    CStringA devno(GetDeviceNumberText());
    CStringA ccid(GetModelClassCode(modelType));
    char body[128];
    int n = snprintf(body, sizeof body, "devno=%s&ccid=%s&country=%03d", devno.GetString(), ccid.GetString(), country);
    return std::string(body, n > 0 && n < static_cast<int>(sizeof body) ? n : 0);
}

BOOL CDocAp::PostRequest(const wchar_t* localPath, const wchar_t* url, int country, int modelType)
{
    std::string body = BuildPostBody(modelType, country);
    CHttpClient client;
    // A request that cannot even be set up is a failure of the service call.
    if (!localPath || !url || !client.Initialize(url, nullptr) || !client.OpenRequest(CHttpClient::VERB_POST)) {
        m_errorCode = APERR_HTTP;
        return FALSE;
    }
    HANDLE cancel = CreateEventW(nullptr, FALSE, FALSE, L"EventRegistrationCancel");
    HANDLE done = client.StartPost(reinterpret_cast<const BYTE*>(body.data()), static_cast<DWORD>(body.size()));
    if (!done || !cancel) {
        if (cancel)
            CloseHandle(cancel);
        m_errorCode = APERR_HTTP;
        return FALSE;
    }
    HANDLE waits[2] = {done, cancel};
    DWORD woke = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    CloseHandle(cancel);
    if (woke != WAIT_OBJECT_0) {
        client.Abort();
        m_errorCode = APERR_HTTP;
        return FALSE;
    }
    DWORD result = client.GetResult();
    if (result == 0) {
        if (!client.GetBody() || client.GetBodySize() == 0) {
            m_errorCode = APERR_HTTP;
            return FALSE;
        }
        // The reply's bytes as they came: the XML parser reads their encoding.
        if (!WriteFileReplacing(localPath, client.GetBody(), client.GetBodySize())) {
            m_errorCode = DOCERR_WRITE;
            return FALSE;
        }
        return TRUE;
    }
    m_errorCode = result == kHttpForbidden ? APERR_SERVICE_400 : APERR_HTTP;
    return FALSE;
}

BOOL CDocAp::ParseDownloadList(const wchar_t* path)
{
    CXmlDocument xml;
    XmlElementPtr root = path ? xml.Load(path) : XmlElementPtr();
    CString rootName;
    if (!root || !XmlGetNodeName(root, rootName)) {
        m_errorCode = APERR_HTTP;
        return FALSE;
    }
    if (rootName == L"Error") {
        int code = 0;
        if (!XmlGetChildInt(root, L"code", 0, &code)) {
            m_errorCode = APERR_HTTP;
            return FALSE;
        }
        m_errorCode = MapServiceCode(code);
        return FALSE;
    }
    int version = 0;
    XmlGetChildInt(root, L"MirovaleVersion", 0, &version);
    int count = XmlCountChildElements(root, L"item");
    for (int i = 0; i < count; ++i) {
        XmlElementPtr item = XmlGetChildElement(root, L"item", i);
        XmlElementPtr image = item ? XmlGetChildElement(item, L"imageURL", 0) : XmlElementPtr();
        if (!image) {
            m_errorCode = APERR_HTTP;
            return FALSE;
        }
        CDocApRecord app;
        app.m_id = ChildText(item, L"name");
        int value = 0;
        if (XmlGetChildInt(item, L"applicationId", 0, &value)) {
            app.m_applicationId = value;
            static const wchar_t* const builtIn[] = {L"Photo", L"Video", L"Clock"};
            app.m_name = value >= 1 && value <= 3 ? CString(builtIn[value - 1]) : app.m_id;
        }
        app.m_urls[AP_URL_DESCRIPTION] = ChildText(item, L"descriptionURL");
        app.m_urls[AP_URL_IMAGE_NORMAL] = ChildText(image, L"Normal");
        app.m_urls[AP_URL_IMAGE_PUSH] = ChildText(image, L"Push");
        app.m_urls[AP_URL_IMAGE_DISABLE] = ChildText(image, L"Disable");
        app.m_urls[AP_URL_EXE] = ChildText(item, L"exefileURL");
        app.m_urls[AP_URL_REG] = ChildText(item, L"regfileURL");
        if (XmlElementPtr dll = XmlGetChildElement(item, L"dllURL", 0)) {
            int urls = XmlCountChildElements(dll, L"URL");
            for (int k = 0; k < urls; ++k) {
                CString url;
                if (!XmlGetNodeText(XmlGetChildElement(dll, L"URL", k), url))
                    url.Empty();
                app.m_dllUrls.Add(url);
            }
        }
        if (XmlGetChildInt(item, L"filesize", 0, &value))
            app.m_size = value;
        app.m_version = ChildText(item, L"version");
        if (XmlGetChildInt(item, L"reguration", 0, &value))
            app.m_flag = value == 1;
        if (IsUnsafeApp(app)) {
            WriteLogF(L"AP Refused App Id:%s", app.m_id.GetString());
            continue;
        }
        m_serverApps.Add(app);
    }
    return TRUE;
}

BOOL CDocAp::DownloadList(int country, int modelType)
{
    CWorkFolder work;
    if (!work.Create(L"list")) {
        m_errorCode = DOCERR_WRITE;
        return FALSE;
    }
    CString reply = work.Path() + L"DownloadList.xml";
    return PostRequest(reply, m_serviceBase + AP_SERVICE_PATH, country, modelType) && ParseDownloadList(reply);
}

BOOL CDocAp::LoadRowIcons(int list)
{
    if (list < 0 || list > 1)
        return FALSE;
    CImageList& icons = Icons(list);
    icons.DeleteImageList();
    if (!icons.Create(AP_ICON_WIDTH, AP_ICON_HEIGHT, ILC_COLOR32, 0, 0))
        return FALSE;
    CWorkFolder work;
    if (!work.Create(L"icons")) {
        m_errorCode = DOCERR_WRITE;
        return FALSE;
    }
    for (CDocApRecord& app : List(list)) {
        app.m_iconIndex = -1;
        CString name = app.GetImageFileName(0);
        if (name.IsEmpty())
            continue;
        CString path = work.SubPath() + name;
        DeleteFileW(path);
        DIB_IMAGE image;
        InitDibImage(&image);
        if (GetHttpFile(app.GetUrl(AP_URL_IMAGE_NORMAL), kAgent, path, m_downloadTimeout, m_downloadRetries) &&
            LoadBmpFile(path, &image) && icons.Add(image.bitmap, static_cast<HBITMAP>(nullptr)) >= 0)
            app.m_iconIndex = icons.GetImageCount() - 1;
        FreeDibImage(&image);
    }
    return TRUE;
}
