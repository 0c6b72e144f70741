#pragma once
// Answers the program's message boxes in a test: while it lives, every box
// that opens is ended with the answer given for its text (IDNO for any other)
// from a timer inside the box's own modal loop; the texts asked are kept. The
// text is the one shown, or the one the program gave before the box laid it
// out into lines.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "core/Global.h"
#include "frame/MessageDlg.h"

class ScriptedAnswers {
public:
    enum Match { ShownText, GivenText };
    explicit ScriptedAnswers(std::map<std::wstring, int> answers, Match match = ShownText)
        : m_answers(std::move(answers)), m_match(match)
    {
        s_current = this;
        m_timer = ::SetTimer(nullptr, 0, 30, &Tick);
    }
    ~ScriptedAnswers()
    {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    ScriptedAnswers(const ScriptedAnswers&) = delete;
    ScriptedAnswers& operator=(const ScriptedAnswers&) = delete;
    std::vector<std::wstring> asked;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        ScriptedAnswers* self = s_current;
        CPtrArray& stack = theGlobal.m_dialogStack;
        if (!self || stack.GetSize() == 0)
            return;
        auto* box = dynamic_cast<CMessageDlg*>(static_cast<CDialog*>(stack[stack.GetSize() - 1]));
        if (!box || !box->m_hWnd || !box->ContinueModal())
            return;
        const std::wstring text(self->m_match == GivenText ? box->GetText() : box->GetShownText());
        self->asked.push_back(text);
        auto it = self->m_answers.find(text);
        box->EndDialog(it != self->m_answers.end() ? it->second : IDNO);
    }
    static inline ScriptedAnswers* s_current = nullptr;
    std::map<std::wstring, int> m_answers;
    Match m_match;
    UINT_PTR m_timer = 0;
};
