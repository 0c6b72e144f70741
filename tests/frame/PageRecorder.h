#pragma once
// The pages a test program's windows open: none reaches a browser. While a
// recorder lives, each becomes a UTF-8 line of its file; otherwise it is dropped.
#include <string>

class PageRecorder {
public:
    explicit PageRecorder(const std::wstring& file);
    ~PageRecorder();
    PageRecorder(const PageRecorder&) = delete;
    PageRecorder& operator=(const PageRecorder&) = delete;
    // The lines written so far.
    std::string Text() const;

private:
    std::wstring m_file;
};

// For the test of the hand-over itself: while it lives, pages go to the system.
class SystemBrowser {
public:
    SystemBrowser();
    ~SystemBrowser();
    SystemBrowser(const SystemBrowser&) = delete;
    SystemBrowser& operator=(const SystemBrowser&) = delete;
};
