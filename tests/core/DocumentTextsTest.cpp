// Start-up gives every document its error texts, in the loaded language.
#include "core/Global.h"

#include <gtest/gtest.h>

#include "TestFiles.h"

namespace {

TEST(DocumentTexts, EveryDocumentGetsItsErrorTexts)
{
    // The shipped language file, beside this test program for the loader.
    const std::wstring name = L"English_US.dat", to = testsupport::ExeDir() + L"language\\";
    ::CreateDirectoryW(to.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileW((testsupport::ExeDir() + L"..\\bin\\language\\" + name).c_str(), (to + name).c_str(), FALSE));
    ASSERT_TRUE(theGlobal.LoadLanguageFile(name.c_str()));
    ::DeleteFileW((to + name).c_str());
    theGlobal.InitDocumentErrorTexts();
    struct Doc { const char* name; CDoc* doc; } docs[] = {
        {"POI CSV", &theGlobal.m_docPiCsv}, {"POI KML", &theGlobal.m_docPiKml},
        {"POI map", &theGlobal.m_docPiMap}, {"POI received", &theGlobal.m_docPiReceived},
        {"feeds", &theGlobal.m_docRssPoi},  {"settings replicator", &theGlobal.m_docCl},
        {"pictures", &theGlobal.m_docIg},   {"address book", &theGlobal.m_docAb},
        {"drive reports", &theGlobal.m_docDr}, {"fuel", &theGlobal.m_docFe},
        {"icons", &theGlobal.m_docIcon},    {"apps", &theGlobal.m_docAp},
    };
    for (const Doc& d : docs) {
        CString text;
        d.doc->SetErrorCode(1);
        EXPECT_STREQ(theGlobal.UiString(7), d.doc->GetErrorString(text)) << d.name;
        d.doc->SetErrorCode(3);
        EXPECT_STREQ(theGlobal.UiString(10), d.doc->GetErrorString(text)) << d.name;
        d.doc->SetErrorCode(0);
    }
    // The fuel log's own codes follow the shared ones.
    CString text;
    theGlobal.m_docFe.SetErrorCode(FEERR_LIMIT);
    EXPECT_STREQ(theGlobal.UiString(19), theGlobal.m_docFe.GetErrorString(text));
    theGlobal.m_docFe.SetErrorCode(0);
}

}  // namespace
