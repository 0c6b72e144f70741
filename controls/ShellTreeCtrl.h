#pragma once
// The shell namespace as a folder tree rooted at the Desktop: folders are
// listed when a node is opened, each listed folder is watched for changes
// (shell change registration sent to the main window), and the tree keeps the
// folders visited for Back, can go Up, and can open the way to any folder.
#include "common/ShellServices.h"
#include "controls/CustomTreeCtrl.h"
#include "core/RegisteredMessages.h"

class CShellTreeCtrl : public CCustomTreeCtrl {
public:
    enum { TimerKeySelect = 200, KeySelectDelay = 50 };
    // Events of a folder watch: rename, create, delete, make and remove folder, rename folder.
    static constexpr LONG kWatchedEvents = 0x2001F;

    ~CShellTreeCtrl() override;

    void Initialize();
    BOOL SelectPidl(LPCITEMIDLIST pidl);
    void GoBack();
    BOOL GoUp();
    BOOL Populate(HTREEITEM node);
    void DeleteShellItem(HTREEITEM node);

    const CPidlArray& GetHistory() const { return m_history; }
    // The shell item of a node (NULL for an expand-box placeholder).
    CPidl* GetNodePidl(HTREEITEM node) const;

protected:
    BOOL OnItemExpanding(NMHDR* nm, LRESULT* result);
    BOOL OnSelChanged(NMHDR* nm, LRESULT* result);
    void OnTimer(UINT_PTR id);
    void OnShowWindow(BOOL show, UINT status);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    enum class Pass { Found, Ancestor, Failed };
    Pass SearchPass(LPCITEMIDLIST pidl, int& removed);
    // TRUE found, FALSE failed; stuck is set when a pass made no progress.
    BOOL SearchPasses(LPCITEMIDLIST pidl, bool& stuck);
    HTREEITEM FindVisible(LPCITEMIDLIST pidl);
    void AddHistory(LPCITEMIDLIST pidl);
    void ClearHistory();
    bool NodeExists(HTREEITEM node);
    void Watch(CPidl& folder);

    BOOL m_initialized = FALSE;
    bool m_searching = false;  // the ancestors opened on the way are not visits
    CPidlArray m_history;
    NMTREEVIEWW m_pendingSelChange{};
};
