#include <gtest/gtest.h>

#include <windows.h>

#include "IconTestSupport.h"
#include "core/Global.h"
#include "doc/DocIcon.h"

namespace {

using imagetest::Rgb;

// The picture of icon index drawn by the document, at (x, y).
Rgb IconPixel(const CDocIcon& doc, int index, int x = 1, int y = 1)
{
    HBITMAP bitmap = doc.CreateIconBitmap(index);
    if (!bitmap)
        return Rgb{0, 0, 0};
    DIBSECTION ds{};
    GetObjectW(bitmap, sizeof(ds), &ds);
    DIB_IMAGE dib{static_cast<BYTE*>(ds.dsBm.bmBits), bitmap, -DibRowSize(ds.dsBm.bmWidth), ds.dsBm.bmWidth,
                  ds.dsBm.bmHeight};
    Rgb c = imagetest::PixelOf(dib, x, y);
    DeleteObject(bitmap);
    return c;
}

class IconDoc : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(icontest::OpenStockPack(packDir));
        theGlobal.m_iconFolder = iconDir.Path().c_str();
    }
    testsupport::TempDir packDir, iconDir;
};

TEST_F(IconDoc, StockSetsAndPickerByModelType)
{
    struct Case {
        int model, size, stock, picker, set;
    } cases[] = {{0, 32, 74, 58, 0}, {2, 32, 74, 58, 0}, {1, 24, 30, 31, 1}, {4, 24, 30, 31, 1},
                 {6, 24, 30, 31, 1}, {3, 32, 30, 31, 2}, {5, 32, 30, 31, 2}, {12, 32, 30, 31, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "model " << c.model);
        doctest::SetModel(c.model);
        CDocIcon doc;
        EXPECT_TRUE(doc.LoadIcons());
        SIZE size;
        doc.GetIconSize(&size);
        EXPECT_EQ(c.size, size.cx);
        EXPECT_EQ(c.stock, doc.GetStockCount());
        EXPECT_EQ(c.stock, ImageList_GetImageCount(doc.m_allIcons));
        EXPECT_EQ(c.picker, ImageList_GetImageCount(doc.m_pickerIcons));
        // Stock icon 3 is the set's fourth entry (the 007 set starts at 501).
        EXPECT_EQ(icontest::StockColour(c.set, c.set == 2 ? 4 : 3), IconPixel(doc, 3));
    }
}

TEST_F(IconDoc, MissingSkinEntryKeepsTheLaterStockNumbers)
{
    testsupport::TempDir dir;
    ASSERT_TRUE(icontest::OpenStockPack(dir, "746_POI_010.bmp"));
    doctest::SetModel(0);
    CDocIcon doc;
    doc.LoadIcons();
    EXPECT_EQ(74, doc.GetStockCount());
    EXPECT_EQ(icontest::StockColour(0, 11), IconPixel(doc, 11));
    EXPECT_EQ(icontest::StockColour(0, 73), IconPixel(doc, 73));
}

TEST_F(IconDoc, UserIconsMustBeUncompressed24BitOfTheIconSize)
{
    doctest::SetModel(4);  // 24 x 24
    icontest::WriteUserIcons(iconDir.Path(), 2, 24);
    testsupport::WriteBytes(iconDir.File(L"big.bmp"), icontest::SolidBmp(32, {1, 1, 1}));
    testsupport::WriteBytes(iconDir.File(L"text.bmp"), std::string("not a bitmap"));
    testsupport::Bytes deep = icontest::SolidBmp(24, {1, 1, 1});
    deep[28] = 32;  // bit count
    testsupport::WriteBytes(iconDir.File(L"deep.bmp"), deep);
    testsupport::Bytes rle = icontest::SolidBmp(24, {1, 1, 1});
    rle[30] = 1;  // compression
    testsupport::WriteBytes(iconDir.File(L"rle.bmp"), rle);
    CDocIcon doc;
    doc.LoadIcons();
    ASSERT_EQ(2, doc.GetUserCount());
    EXPECT_EQ(L"u00.bmp", doc.GetUserIconName(0));
    EXPECT_EQ(L"u01.bmp", doc.GetUserIconName(1));
    EXPECT_EQ(32, ImageList_GetImageCount(doc.m_allIcons));
    EXPECT_EQ((Rgb{1, 100, 50}), IconPixel(doc, 31));
    EXPECT_THROW(doc.GetUserIconName(2), CInvalidArgException);
}

TEST_F(IconDoc, AtMostFiftyUserIcons)
{
    doctest::SetModel(5);
    icontest::WriteUserIcons(iconDir.Path(), 60, 32);
    CDocIcon doc;
    doc.LoadIcons();
    EXPECT_EQ(50, doc.GetUserCount());
    EXPECT_EQ(80, ImageList_GetImageCount(doc.m_allIcons));
}

TEST_F(IconDoc, IdTextsAndTheirParsing)
{
    doctest::SetModel(5);
    icontest::WriteUserIcons(iconDir.Path(), 11, 32);
    CDocIcon doc;
    doc.LoadIcons();
    EXPECT_EQ(L"0x4102000A", doc.GetIconIdString(10));
    EXPECT_EQ(L"0x7101000a", doc.GetIconIdString(40));
    struct Case {
        const wchar_t* text;
        int stock, user;
    } cases[] = {
        {L"0x4102001D", 29, -1}, {L"0x4102001E", -1, -1}, {L"0x41020000", 0, -1}, {L"0x41030001", -1, -1},
        {L"0x71010000", -1, 30}, {L"icon0x7101000a", -1, 40}, {L"0x7101000b", -1, -1}, {L"", -1, -1},
        {L"nonsense", -1, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.stock, doc.ParseStockIconId(c.text)) << c.text;
        EXPECT_EQ(c.user, doc.ParseUserIconId(c.text)) << c.text;
    }
    doctest::SetModel(0);
    EXPECT_EQ(-1, doc.ParseStockIconId(L"0x4102001D"));
}

TEST_F(IconDoc, PickerImagesOfSharedStockIcons)
{
    doctest::SetModel(0);
    CDocIcon doc;
    EXPECT_EQ(2, doc.FindIconByImage(2));
    for (int shared : {14, 28, 29, 32, 37, 67}) {
        EXPECT_EQ(doc.m_groupTable[2].pickerIndex, doc.m_groupTable[shared].pickerIndex) << shared;
        EXPECT_EQ(0, doc.m_groupTable[shared].isFirst);
    }
    EXPECT_EQ(57, doc.m_groupTable[73].pickerIndex);
    EXPECT_EQ(0, doc.FindIconByImage(99));
    doctest::SetModel(5);
    EXPECT_EQ(17, doc.FindIconByImage(17));
}

TEST_F(IconDoc, DeleteUserIcon)
{
    doctest::SetModel(5);
    doctest::FillUiStrings();
    icontest::WriteUserIcons(iconDir.Path(), 2, 32);
    CDocIcon doc;
    doc.InitErrorStrings();
    doc.LoadIcons();
    EXPECT_TRUE(doc.DeleteUserIcon(1));
    EXPECT_FALSE(testsupport::FileExists(iconDir.File(L"u01.bmp")));
    EXPECT_TRUE(doc.DeleteUserIcon(1));  // already gone
    EXPECT_FALSE(doc.DeleteUserIcon(2));
    EXPECT_EQ(8, doc.GetErrorCode());
    CString text;
    EXPECT_STREQ(L"S15", doc.GetErrorString(text).GetString());
    doc.LoadIcons();
    EXPECT_EQ(1, doc.GetUserCount());
}

}  // namespace

namespace {

// The program's own icon document, POI documents and feed document: a default
// user icon keeps its picture when an icon before it is deleted, and falls
// back to the model's default stock icon when its own picture is deleted.
TEST_F(IconDoc, DefaultIconsFollowTheirPicturesWhenAUserIconIsDeleted)
{
    doctest::SetModel(5);
    icontest::WriteUserIcons(iconDir.Path(), 3, 32);
    CDocIcon& icons = theGlobal.m_docIcon;
    ASSERT_TRUE(icons.LoadIcons());
    ASSERT_EQ(3, icons.GetUserCount());
    const int stock = icons.GetStockCount();
    auto userIndex = [&](const wchar_t* name) {
        for (int n = 0; n < icons.GetUserCount(); ++n)
            if (icons.GetUserIconName(n) == name)
                return stock + n;
        return -1;
    };
    theGlobal.m_docPiMap.m_defaultIcon = userIndex(L"u02.bmp");
    theGlobal.m_docPiCsv.m_defaultIcon = userIndex(L"u01.bmp");
    theGlobal.m_docPiKml.m_defaultIcon = 5;  // a stock icon
    theGlobal.m_docPiReceived.m_defaultIcon = userIndex(L"u00.bmp");
    theGlobal.m_docRssPoi.m_defaultIcon = userIndex(L"u02.bmp");
    ASSERT_TRUE(icons.DeleteUserIcon(userIndex(L"u01.bmp") - stock));
    ASSERT_TRUE(icons.LoadIcons());
    ASSERT_EQ(2, icons.GetUserCount());
    EXPECT_EQ(userIndex(L"u02.bmp"), theGlobal.m_docPiMap.m_defaultIcon);
    EXPECT_EQ(1, theGlobal.m_docPiCsv.m_defaultIcon);  // the model's default stock icon
    EXPECT_EQ(5, theGlobal.m_docPiKml.m_defaultIcon);
    EXPECT_EQ(userIndex(L"u00.bmp"), theGlobal.m_docPiReceived.m_defaultIcon);
    EXPECT_EQ(userIndex(L"u02.bmp"), theGlobal.m_docRssPoi.m_defaultIcon);
    // The feed document's own picture deleted: the model's default stock icon.
    ASSERT_TRUE(icons.DeleteUserIcon(userIndex(L"u02.bmp") - stock));
    ASSERT_TRUE(icons.LoadIcons());
    EXPECT_EQ(1, theGlobal.m_docRssPoi.m_defaultIcon);
    theGlobal.m_docRssPoi.ResetDefaultIcon();
    for (CDocPi* doc : {&theGlobal.m_docPiMap, &theGlobal.m_docPiCsv, &theGlobal.m_docPiKml, &theGlobal.m_docPiReceived})
        doc->ResetDefaultIcon();
}

}  // namespace
