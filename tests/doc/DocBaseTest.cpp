#include <gtest/gtest.h>

#include "DocTestSupport.h"
#include "doc/DocPi.h"

namespace {

struct ErrorTextCase {
    int code;
    const wchar_t* text;
};

TEST(DocBase, PoiDocumentErrorTextsByCode)
{
    doctest::FillUiStrings();
    CDocPi doc;
    doc.InitErrorStrings();
    const ErrorTextCase cases[] = {
        {0, L""}, {1, L"S7"}, {2, L"S8"}, {3, L"S10"}, {4, L"S17"}, {5, L"S18"}, {6, L"S11"}, {7, L"S14"},
        {8, L"S13"}, {9, L"S20"}, {10, L"S19"}, {11, L"S21"}, {12, L"S36  (S178)"}, {13, L"S36  (S182,S183)"},
    };
    for (const auto& c : cases) {
        doc.SetErrorCode(c.code);
        CString out;
        EXPECT_STREQ(c.text, doc.GetErrorString(out).GetString()) << "code " << c.code;
    }
}

TEST(DocBase, FreshDocumentReportsNoErrorAndIsUnmodified)
{
    doctest::FillUiStrings();
    CDocPi doc;
    doc.InitErrorStrings();
    CString out = L"x";
    EXPECT_EQ(0, doc.GetErrorCode());
    EXPECT_STREQ(L"", doc.GetErrorString(out).GetString());
    EXPECT_EQ(0, doc.IsModified());
}

TEST(DocBase, ShortLanguageFileOrUnknownCodeGivesEmptyTextNotACrash)
{
    doctest::FillUiStrings(12);  // texts 13 and up are missing
    CDocPi doc;
    doc.InitErrorStrings();
    CString out = L"x";
    doc.SetErrorCode(8);
    EXPECT_STREQ(L"", doc.GetErrorString(out).GetString());
    doc.SetErrorCode(6);
    EXPECT_STREQ(L"S11", doc.GetErrorString(out).GetString());
    doc.SetErrorCode(99);
    EXPECT_STREQ(L"", doc.GetErrorString(out).GetString());
    doctest::FillUiStrings();
}

}  // namespace
