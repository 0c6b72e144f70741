#include <gtest/gtest.h>

#include <cwchar>

#include "DocTestSupport.h"
#include "doc/DocPi.h"

using doctest::MakePoi;

namespace {

CString Repeat(wchar_t c, int n) { return CString(c, n); }

TEST(PoiRecord, ToDocPiRecordCutsEachTextToItsField)
{
    CDocPiRecord r;
    r.m_name = Repeat(L'n', 70);
    r.m_address = Repeat(L'a', 200);
    r.m_telephone = Repeat(L't', 65);
    r.m_description = Repeat(L'd', 64);
    DOCPI_RECORD rec;
    r.ToDocPiRecord(rec);
    EXPECT_EQ(64u, wcsnlen(rec.name, 65));
    EXPECT_EQ(128u, wcsnlen(rec.address, 129));
    EXPECT_EQ(64u, wcsnlen(rec.telephone, 65));
    EXPECT_EQ(64u, wcsnlen(rec.description, 65));
    EXPECT_EQ(-255.0, rec.longitude);
}

TEST(PoiRecord, FromDocPiRecordStopsAtTheFieldEvenWithoutTerminator)
{
    DOCPI_RECORD rec;
    memset(&rec, 'x', sizeof(rec));  // no NUL anywhere
    rec.longitude = 1.5;
    rec.latitude = 2.5;
    CDocPiRecord r;
    r.FromDocPiRecord(rec);
    EXPECT_EQ(65, r.m_name.GetLength());
    EXPECT_EQ(129, r.m_address.GetLength());
    EXPECT_EQ(1.5, r.m_longitude);
    DOCPI_RECORD copy;
    CopyPoiRecord(&rec, &copy);
    EXPECT_EQ(64u, wcsnlen(copy.name, 65));
    EXPECT_EQ(2.5, copy.latitude);
}

TEST(PoiRecord, CopyByValueKeepsTextsAndPosition)
{
    DOCPI_RECORD src = MakePoi(L"Tower", 139.7454, 35.6586, L"4-2-8 Shibakoen", L"03-1234", L"red");
    DOCPI_RECORD dst;
    CopyPoiRecordByValue(src, &dst);
    EXPECT_STREQ(L"Tower", dst.name);
    EXPECT_STREQ(L"4-2-8 Shibakoen", dst.address);
    EXPECT_STREQ(L"03-1234", dst.telephone);
    EXPECT_STREQ(L"red", dst.description);
    EXPECT_EQ(139.7454, dst.longitude);
    EXPECT_EQ(35.6586, dst.latitude);
}

TEST(PoiDocument, MaxPoiPerFileByModelType)
{
    const int expected[][2] = {{-1, 0}, {0, 300}, {1, 100}, {2, 1000}, {3, 100}, {5, 100}, {12, 100}, {13, 0}};
    for (auto& e : expected)
        EXPECT_EQ(e[1], GetMaxPoiPerFile(e[0])) << "model " << e[0];
}

TEST(PoiDocument, RecordAccessByIndex)
{
    doctest::SetModel(5);
    CDocPi doc;
    doc.AddRecord(MakePoi(L"A", 1, 1));
    doc.AddRecord(MakePoi(L"C", 3, 3));
    doc.InsertRecord(1, MakePoi(L"B", 2, 2));
    doc.InsertRecord(3, MakePoi(L"D", 4, 4));  // index = count appends
    ASSERT_EQ(4, doc.GetRecordCount());
    EXPECT_EQ(5, doc.m_records[0].m_modelType);
    DOCPI_RECORD out = MakePoi(L"untouched", 9, 9);
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(doc.GetRecord(i, &out));
        EXPECT_EQ(wchar_t(L'A' + i), out.name[0]);
    }
    out = MakePoi(L"untouched", 9, 9);
    EXPECT_FALSE(doc.GetRecord(4, &out));
    EXPECT_FALSE(doc.GetRecord(-1, &out));
    EXPECT_STREQ(L"untouched", out.name);
    EXPECT_TRUE(doc.SetRecord(2, MakePoi(L"C2", 3.5, 3.5)));
    EXPECT_FALSE(doc.SetRecord(4, MakePoi(L"X", 0, 0)));
    doc.GetRecord(2, &out);
    EXPECT_STREQ(L"C2", out.name);
    EXPECT_THROW(doc.InsertRecord(-1, MakePoi(L"X", 0, 0)), CInvalidArgException);
    EXPECT_THROW(doc.InsertRecord(9, MakePoi(L"X", 0, 0)), CInvalidArgException);
}

TEST(PoiDocument, LongNameHeldWholeAndCutWhenRead)
{
    CDocPi doc;
    doc.AddRecord(MakePoi(L"x", 0, 0));
    doc.m_records[0].m_name = Repeat(L'n', 70);
    DOCPI_RECORD out;
    doc.GetRecord(0, &out);
    EXPECT_EQ(70, doc.m_records[0].m_name.GetLength());
    EXPECT_EQ(64u, wcsnlen(out.name, 65));
}

TEST(PoiDocument, DeleteCheckedRecordsRemovesFromTheEnd)
{
    CDocPi doc;
    doc.AddRecord(MakePoi(L"0", 0, 0));
    doc.AddRecord(MakePoi(L"1", 0, 0));
    doc.AddRecord(MakePoi(L"2", 0, 0));
    doc.ResetCheckFlags();
    doc.m_checkFlags[0] = 1;
    doc.m_checkFlags[2] = 1;
    EXPECT_TRUE(doc.DeleteCheckedRecords());
    ASSERT_EQ(1, doc.GetRecordCount());
    EXPECT_EQ(L"1", doc.m_records[0].m_name);
    ASSERT_EQ(2, doc.m_removedIndices.GetSize());
    EXPECT_EQ(2, doc.m_removedIndices[0]);
    EXPECT_EQ(0, doc.m_removedIndices[1]);
    EXPECT_EQ(3, doc.m_checkFlags.GetSize());  // the caller rebuilds it
}

TEST(PoiDocument, ResetSetsDefaultIconByModelType)
{
    CDocPi doc;
    doc.SetFolderName(L"Trip");
    const int icons[][2] = {{0, 2}, {2, 2}, {1, 1}, {5, 1}, {12, 1}};
    for (auto& e : icons) {
        doctest::SetModel(e[0]);
        doc.AddRecord(MakePoi(L"x", 0, 0));
        doc.ResetDocument();
        EXPECT_EQ(0, doc.GetRecordCount());
        EXPECT_EQ(e[1], doc.m_defaultIcon) << "model " << e[0];
        doc.m_defaultIcon = 7;
        doc.ResetDefaultIcon();
        EXPECT_EQ(e[1], doc.m_defaultIcon);
    }
    EXPECT_EQ(L"Trip", doc.GetFolderName());
    doc.SetFolderName(nullptr);
    EXPECT_EQ(L"", doc.GetFolderName());
}

TEST(PoiDocument, ValidateNeedsNameAndPositionInRange)
{
    struct Case {
        const wchar_t* name;
        double lon, lat;
        int error;  // 0 = passes
    } cases[] = {
        {L"ok", 180.0, -90.0, 0}, {L"ok", -180.0, 90.0, 0}, {L"", 10, 10, 12}, {L"far", 180.1, 0, 13},
        {L"far", 0, -90.5, 13}, {L"unset", -255.0, -255.0, 13},
    };
    for (const auto& c : cases) {
        CDocPi doc;
        doc.AddRecord(MakePoi(L"first", 1, 1));
        doc.AddRecord(MakePoi(c.name, c.lon, c.lat));
        EXPECT_EQ(c.error == 0, doc.Validate() != 0) << c.lon << "," << c.lat;
        EXPECT_EQ(c.error, doc.GetErrorCode());
    }
}

}  // namespace
