// The settings replicator's decisions: region groups, regional defaults,
// controls by model type, the illumination levels and the write check.
#include <gtest/gtest.h>

#include "views/device/CloningRules.h"

TEST(CloningRules, RegionGroupComesFromTheFirstTwoLettersExactly)
{
    const struct {
        const wchar_t* file;
        int group;
    } cases[] = {{L"US_KV410.dat", CLONE_GROUP_A}, {L"EU_KV820D.dat", CLONE_GROUP_A}, {L"AU_KV410.dat", CLONE_GROUP_B},
                 {L"RU_KV410.dat", CLONE_GROUP_B}, {L"BR_KV410.dat", CLONE_GROUP_C}, {L"us_KV410.dat", CLONE_GROUP_NONE},
                 {L"JP_KV410.dat", CLONE_GROUP_NONE}, {L"U", CLONE_GROUP_NONE},        {L"", CLONE_GROUP_NONE}};
    for (const auto& c : cases)
        EXPECT_EQ(CloneRegionGroupOf(c.file), c.group) << c.file;
    EXPECT_EQ(CloneRegionGroupOf(nullptr), CLONE_GROUP_NONE);
}

TEST(CloningRules, RegionalDefaultsByModelType)
{
    const struct {
        int model, group;
        BOOL refreshes;
        int program, voice;
    } cases[] = {
        {0, CLONE_GROUP_A, TRUE, 366, 374},  {0, CLONE_GROUP_B, TRUE, 370, 378},  {1, CLONE_GROUP_A, TRUE, 368, 376},
        {1, CLONE_GROUP_B, TRUE, 372, 380},  {2, CLONE_GROUP_A, TRUE, 367, 375},  {2, CLONE_GROUP_B, TRUE, 371, 379},
        {3, CLONE_GROUP_A, TRUE, 369, 377},  {3, CLONE_GROUP_B, TRUE, 373, 381},  {4, CLONE_GROUP_A, TRUE, 388, 393},
        {6, CLONE_GROUP_B, TRUE, 390, 395},  {5, CLONE_GROUP_A, TRUE, 389, 394},  {12, CLONE_GROUP_B, TRUE, 391, 396},
        {4, CLONE_GROUP_C, TRUE, 392, 397},  {0, CLONE_GROUP_C, FALSE, -1, -1},   {7, CLONE_GROUP_C, FALSE, -1, -1},
        {0, CLONE_GROUP_NONE, TRUE, -1, -1}, {9, CLONE_GROUP_NONE, TRUE, -1, -1},
    };
    for (const auto& c : cases) {
        int program = 0, voice = 0;
        EXPECT_EQ(CloneDefaultProgramVoice(c.model, c.group, &program, &voice), c.refreshes)
            << "model " << c.model << " group " << c.group;
        EXPECT_EQ(program, c.program) << "model " << c.model << " group " << c.group;
        EXPECT_EQ(voice, c.voice) << "model " << c.model << " group " << c.group;
    }
}

TEST(CloningRules, ControlsShownByModelType)
{
    const struct {
        int model;
        bool mapColours, road, date, usb, savePc, illumination;
    } cases[] = {
        {0, true, false, true, true, true, true},    {2, true, false, true, true, true, true},
        {4, false, true, false, false, false, false}, {5, false, true, false, false, false, true},
        {7, false, true, false, true, false, true},   {12, false, true, false, false, false, true},
    };
    for (const auto& c : cases) {
        const CLONE_VISIBILITY v = CloneVisibilityOf(c.model);
        EXPECT_EQ(v.mapColours, c.mapColours) << c.model;
        EXPECT_EQ(v.roadColour, c.road) << c.model;
        EXPECT_EQ(v.dateFormat, c.date) << c.model;
        EXPECT_EQ(v.usb, c.usb) << c.model;
        EXPECT_EQ(v.savePc, c.savePc) << c.model;
        EXPECT_EQ(v.illumination, c.illumination) << c.model;
    }
}

TEST(CloningRules, IlluminationLevelsFollowTheTable)
{
    const int expected[32] = {0,   90,  95,  100, 105, 110, 115, 120, 125, 130, 135, 140, 145, 150, 155, 160,
                              165, 171, 177, 183, 189, 195, 201, 207, 213, 219, 225, 231, 237, 243, 249, 255};
    for (int n = 0; n < 32; ++n)
        EXPECT_EQ(IlluminationIntensity(n), expected[n]) << n;
    EXPECT_EQ(IlluminationIntensity(-3), 0);
    EXPECT_EQ(IlluminationIntensity(40), 255);
}

TEST(CloningRules, AllLevelsZeroWriteNothingOnlyWhereTheUnitNeedsAColour)
{
    EXPECT_TRUE(CloneWriteAllowed(0, 0, 0, 0));
    EXPECT_TRUE(CloneWriteAllowed(4, 0, 0, 0));
    EXPECT_FALSE(CloneWriteAllowed(1, 0, 0, 0));
    EXPECT_FALSE(CloneWriteAllowed(7, 0, 0, 0));
    EXPECT_TRUE(CloneWriteAllowed(1, 0, 0, 1));
    EXPECT_TRUE(CloneWriteAllowed(7, 31, 0, 0));
}
