// The registered window messages: one number per name, as any other part of
// the process (or another process) registers it.
#include <gtest/gtest.h>

#include "core/RegisteredMessages.h"

namespace {

TEST(RegisteredMessages, EachNameGivesItsOwnNumberAsRegisteredElsewhere)
{
    const struct {
        const UINT* message;
        const wchar_t* name;
    } cases[] = {
        {&WM_USER_IDLE, L"WM_USER_IDLE "},
        {&WM_DRAW_ALPHA_IMAGE, L"WM_DRAW_ALPHA_IMAGE"},
        {&WM_BUTTON_BEGIN_MOUSE_TRACK, L"WM_BUTTON_BEGIN_MOUSE_TRACK"},
        {&WM_BUTTON_LEAVE_MOUSE_TRACK, L"WM_BUTTON_LEAVE_MOUSE_TRACK"},
        {&WM_END_EDIT_LABEL, L"WM_END_EDIT_LABEL"},
        {&WM_SPIN_VALUE_CHANGE, L"WM_SPIN_VALUE_CHANGE"},
        {&WM_SPIN_FOCUS_MOVE, L"WM_SPIN_FOCUS_MOVE"},
        {&WM_SHELL_CHANGE_NOTIFY, L"WM_SHELL_CHANGE_NOTIFY"},
        {&WM_ADD_GOOGLE_DATA, L"WM_ADD_GOOGLE_DATA"},
        {&WM_ERROR_GOOGLE_DATA, L"WM_ERROR_GOOGLE_DATA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        EXPECT_GE(*c.message, 0xC000u);  // the registered range
        EXPECT_EQ(*c.message, RegisterWindowMessageW(c.name));
        for (const auto& other : cases)
            if (&other != &c)
                EXPECT_NE(*c.message, *other.message);
    }
    // The idle message's name ends in a blank: it is not the name without it.
    EXPECT_NE(WM_USER_IDLE, RegisterWindowMessageW(L"WM_USER_IDLE"));
}

}  // namespace
