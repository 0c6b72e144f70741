#include "views/device/ApWnd.h"

#include <objbase.h>
#include <process.h>

#include "core/Global.h"
#include "frame/ProgressDlg.h"

namespace {

struct TaskContext {
    const std::function<void()>* work;
};

unsigned __stdcall TaskThread(void* argument)
{
    auto* context = static_cast<TaskContext*>(argument);
    // The documents' readers may use COM on this thread as on the window's.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    try {
        (*context->work)();
    } catch (...) {
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}

}  // namespace

// The document's downloads block for as long as the network takes: they run
// here on a worker while the progress dialog keeps the window answering and
// offers Cancel. The lists show no rows meanwhile, so nothing reads the
// document while the worker changes it.
BOOL CApWnd::RunTask(const std::function<void()>& work)
{
    CDocAp& doc = theGlobal.m_docAp;
    doc.ResetCancel();
    m_cardBeforeTask = !doc.GetCardRoot().IsEmpty();
    m_busy = TRUE;
    m_webList.m_items.SetSize(0);
    m_cardList.m_items.SetSize(0);
    m_webList.UpdateScrollBars();
    m_cardList.UpdateScrollBars();
    Repaint();

    TaskContext context{&work};
    HANDLE thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, TaskThread, &context, 0, nullptr));
    if (!thread) {
        work();  // no thread to be had: the old way, on this thread
    } else {
        CProgressDlg progress;
        CWnd* main = AfxGetMainWnd();
        const BOOL shown = progress.Start(main ? main : this);
        if (shown) {
            progress.m_message.SetWindowText(theGlobal.m_uiStrings.GetSize() > 406 ? theGlobal.UiString(406) : CString());
            progress.SetRange(1);
            progress.UpdatePercent(0);
        }
        while (::WaitForSingleObject(thread, 0) == WAIT_TIMEOUT) {
            ::MsgWaitForMultipleObjects(1, &thread, FALSE, 50, QS_ALLINPUT);
            if (shown) {
                progress.PumpMessages();
                if (progress.m_cancel) {
                    progress.m_cancel = 0;
                    doc.Cancel();
                }
            }
        }
        ::CloseHandle(thread);
        if (shown) {
            progress.UpdatePercent(1);
            progress.DestroyWindow();
        }
    }
    m_busy = FALSE;
    return !doc.IsCancelled();
}
