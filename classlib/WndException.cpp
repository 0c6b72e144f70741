#include "classlib/WndException.h"

#include "classlib/CWinApp.h"
#include "classlib/Exceptions.h"

CString AfxExceptionText(const std::exception& e)
{
    if (auto* ce = dynamic_cast<const CException*>(&e)) {
        CString text = ce->GetErrorText();
        if (!text.IsEmpty())
            return text;
    }
    return CString(e.what());
}

LRESULT AfxProcessWndProcException(const std::exception& e, const MSG* msg)
{
    CWinApp* app = AfxGetApp();
    LRESULT result = app ? app->ProcessWndProcException(e, msg) : CWinApp::DefaultWndProcException(e, msg);
    if (msg && msg->message == WM_CREATE)
        return -1;  // the creation fails instead of leaving a half-made window
    if (msg && msg->message == WM_PAINT)
        ::ValidateRect(msg->hwnd, nullptr);  // or the window is asked to paint forever
    return result;
}
